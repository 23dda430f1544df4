// The UI thread's application object, dispatcher queue and message pump.
//
// Other threads hand work to the UI thread through one queue (posted messages,
// sent messages, tasks). An enqueue posts a wake event to a dispatcher object
// on the UI thread unless one is already on its way, or the UI thread is
// between two items of the queue and will look at it again anyway; the wake
// drains the queue in order. Before each item runs, a wake is made sure of for
// the items behind it, so nested loops (modal dialogs, message boxes) deliver
// them and sends keep being served while they run.
//
// A thread that sends row after row waits for each answer and sends again at
// once: after serving a send the UI thread watches the queue for a moment
// before it goes back to its event loop, and the sender watches its record
// for a moment before it sleeps, so such a stream is handed over without a
// wake event or a sleep per message. The UI thread keeps this up for one slice
// at a time, then goes back to its event loop (painting, input, timers).

#include "platform/wnd/core/app.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolTip>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/base/exception.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/thread_internal.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_folder.h"
#include "platform/wnd/core/thread.h"

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x157);

using Clock = std::chrono::steady_clock;
// How long the UI thread watches the queue for the next send, and a sender
// its record for the answer, before sleeping.
constexpr auto kWatchTime = std::chrono::microseconds(200);
// How long the UI thread serves its queue before its event loop gets a turn.
constexpr auto kDrainSlice = std::chrono::milliseconds(2);

struct SendRecord {
    enum class State { Pending, Running, Done, Cancelled };
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<void()> task; // instead of a message when set
    bool messageBox = false; // the task shows a message box
    LRESULT result = 0;
    State state = State::Pending;
    std::atomic<bool> finished { false }; // Done or Cancelled (state says which)
};

struct QueueItem {
    enum class Kind { Post, Send, Task };
    Kind kind = Kind::Post;
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<void()> task;
    std::shared_ptr<SendRecord> send;
};

class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override;
};

struct AppState {
    std::mutex mutex; // guards queue, send states, alive
    std::condition_variable sendDone;
    std::deque<QueueItem> queue;
    std::atomic<unsigned> enqueued { 0 }; // items ever queued; watched without the lock
    bool alive = false;
    bool draining = false; // the UI thread is between two items of the queue
    Dispatcher* dispatcher = nullptr;
    std::atomic<bool> wakePending { false }; // a wake event is posted and not yet delivered
    // Release on post, acquire on delivery: makes the hand-off through Qt's
    // event queue visible to the thread sanitizer, which does not see inside Qt.
    std::atomic<unsigned> handoff { 0 };
    std::atomic<DWORD> uiThreadId { 0 };
    CString appName;
    bool quitRequested = false;
    int quitCode = 0;
};

AppState& App()
{
    static AppState* state = new AppState; // outlives every thread that may still post
    return *state;
}

thread_local std::vector<dispatch_internal::Frame> t_frames;

void Wake()
{
    AppState& app = App();
    if (app.dispatcher && !app.wakePending.exchange(true)) {
        auto* wake = new QEvent(kWakeEvent);
        app.handoff.fetch_add(1, std::memory_order_release);
        QCoreApplication::postEvent(app.dispatcher, wake);
    }
}

template <class Fn> void RunGuarded(Fn&& fn)
{
    try {
        fn();
    } catch (const thread_internal::ThreadExit&) {
        throw;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        if (!dynamic_cast<CUserException*>(e)) {
            CString text = e->GetErrorText();
            dispatch_internal::ReportHandlerFailure(
                text.IsEmpty() ? "No error message is available." : text.GetString());
        }
    } catch (const std::exception& e) {
        dispatch_internal::ReportHandlerFailure(e.what());
    } catch (...) {
        dispatch_internal::ReportHandlerFailure("No error message is available.");
    }
}

// Queues item (app.mutex held) and tells whether the UI thread needs a wake
// for it. false when the application is gone.
[[nodiscard]] bool EnqueueLocked(QueueItem item, bool& needsWake)
{
    AppState& app = App();
    if (!app.alive)
        return false;
    app.queue.push_back(std::move(item));
    app.enqueued.fetch_add(1, std::memory_order_release);
    needsWake = !app.draining;
    return true;
}

// Queues item and wakes the UI thread when needed; false when the
// application is gone.
[[nodiscard]] bool Enqueue(QueueItem item)
{
    bool needsWake = false;
    {
        std::lock_guard lock(App().mutex);
        if (!EnqueueLocked(std::move(item), needsWake))
            return false;
    }
    if (needsWake)
        Wake();
    return true;
}

// Watches for up to kWatchTime until done() holds, giving the processor
// away between looks; done() at the end.
template <class Done> bool WatchFor(Done&& done)
{
    const Clock::time_point end = Clock::now() + kWatchTime;
    while (!done() && Clock::now() < end)
        std::this_thread::yield();
    return done();
}

// Runs a send record taken for running, and releases its sender. fromQueue:
// run by DrainQueue, which looks at the queue again before anything else, so
// the sender's next item needs no wake.
void Serve(SendRecord& send, bool fromQueue = false)
{
    AppState& app = App();
    LRESULT result = 0;
    if (send.task)
        RunGuarded(send.task);
    else if (IsWindow(send.hwnd))
        result = dispatch_internal::Dispatch(send.hwnd, send.message, send.wParam, send.lParam);
    {
        std::lock_guard lock(app.mutex);
        send.result = result;
        send.state = SendRecord::State::Done;
        send.finished.store(true, std::memory_order_release);
        if (fromQueue)
            app.draining = true;
    }
    app.sendDone.notify_all();
}

// With the queue empty (lock held): after a send, and within the slice, waits
// a moment for the next item. true when one came.
bool AwaitNextItem(std::unique_lock<std::mutex>& lock, bool afterSend, Clock::time_point sliceEnd)
{
    AppState& app = App();
    if (!afterSend || Clock::now() >= sliceEnd)
        return false;
    const unsigned seen = app.enqueued.load(std::memory_order_relaxed);
    lock.unlock();
    WatchFor([&] { return app.enqueued.load(std::memory_order_acquire) != seen; });
    lock.lock();
    return !app.queue.empty();
}

void DrainQueue()
{
    AppState& app = App();
    const Clock::time_point sliceEnd = Clock::now() + kDrainSlice;
    bool afterSend = false;
    for (;;) {
        QueueItem item;
        bool more;
        {
            std::unique_lock lock(app.mutex);
            app.draining = true;
            if (app.queue.empty() && !AwaitNextItem(lock, afterSend, sliceEnd)) {
                app.draining = false;
                return;
            }
            // While the item runs, a nested loop must be woken for new items.
            app.draining = false;
            item = std::move(app.queue.front());
            app.queue.pop_front();
            more = !app.queue.empty();
            if (item.kind == QueueItem::Kind::Send) {
                if (item.send->state != SendRecord::State::Pending)
                    continue;
                item.send->state = SendRecord::State::Running;
            }
        }
        // The item may open a nested loop: the ones behind it need a wake there.
        if (more)
            Wake();
        afterSend = item.kind == QueueItem::Kind::Send;
        switch (item.kind) {
        case QueueItem::Kind::Post: {
            if (!IsWindow(item.hwnd))
                break;
            MSG msg;
            msg.hwnd = item.hwnd;
            msg.message = item.message;
            msg.wParam = item.wParam;
            msg.lParam = item.lParam;
            msg.time = GetTickCount();
            if (!dispatch_internal::PreTranslate(&msg) && IsWindow(item.hwnd))
                dispatch_internal::Dispatch(item.hwnd, item.message, item.wParam, item.lParam);
            break;
        }
        case QueueItem::Kind::Task:
            RunGuarded(item.task);
            break;
        case QueueItem::Kind::Send:
            Serve(*item.send, true);
            break;
        }
    }
}

bool Dispatcher::event(QEvent* e)
{
    App().handoff.load(std::memory_order_acquire);
    if (e->type() == kWakeEvent) {
        App().wakePending.store(false);
        DrainQueue();
        return true;
    }
    return QObject::event(e);
}

// Queues a send record and waits for it. false when it could not be queued or
// was cancelled.
bool SendAndWait(const std::shared_ptr<SendRecord>& record, LRESULT* result)
{
    AppState& app = App();
    bool needsWake = false;
    {
        std::lock_guard lock(app.mutex);
        if (!app.alive)
            return false;
        if (record->hwnd) {
            std::shared_ptr<WindowState> state = window_table::Find(record->hwnd);
            if (!state || state->destroying)
                return false;
        }
        QueueItem item;
        item.kind = QueueItem::Kind::Send;
        item.send = record;
        if (!EnqueueLocked(std::move(item), needsWake))
            return false;
    }
    if (needsWake)
        Wake();
    WatchFor([&] { return record->finished.load(std::memory_order_acquire); });
    std::unique_lock lock(app.mutex);
    app.sendDone.wait(lock, [&] {
        return record->state == SendRecord::State::Done || record->state == SendRecord::State::Cancelled
            || !app.alive;
    });
    if (record->state != SendRecord::State::Done)
        return false;
    if (result)
        *result = record->result;
    return true;
}

int ExceptionReporter(const char* text, UINT type)
{
    return AfxMessageBox(text, type);
}

} // namespace

// ---- Dispatch -------------------------------------------------------------------------------

namespace dispatch_internal {

Frame* CurrentFrame()
{
    return t_frames.empty() ? nullptr : &t_frames.back();
}

int Depth()
{
    return static_cast<int>(t_frames.size());
}

LRESULT DefaultWindowProcFor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* defaultReached)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return 0;
    t_frames.push_back(Frame { hwnd, message, wParam, lParam, false });
    LRESULT result = 0;
    bool failed = true;
    RunGuarded([&] {
        CWnd* object = state->object.load();
        result = object ? object->WindowProc(message, wParam, lParam)
                        : DefaultWindowProcFor(hwnd, message, wParam, lParam);
        failed = false;
    });
    if (failed && message == WM_CREATE)
        result = -1;
    if (defaultReached)
        *defaultReached = t_frames.back().defaultReached;
    t_frames.pop_back();
    return result;
}

LRESULT CrossThreadSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto record = std::make_shared<SendRecord>();
    record->hwnd = hwnd;
    record->message = message;
    record->wParam = wParam;
    record->lParam = lParam;
    LRESULT result = 0;
    return SendAndWait(record, &result) ? result : 0;
}

bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QueueItem item;
    item.kind = QueueItem::Kind::Post;
    item.hwnd = hwnd;
    item.message = message;
    item.wParam = wParam;
    item.lParam = lParam;
    return Enqueue(std::move(item));
}

void CancelSendsFor(HWND hwnd)
{
    AppState& app = App();
    {
        std::lock_guard lock(app.mutex);
        for (QueueItem& item : app.queue)
            if (item.kind == QueueItem::Kind::Send && item.send->hwnd == hwnd
                && item.send->state == SendRecord::State::Pending) {
                item.send->state = SendRecord::State::Cancelled;
                item.send->finished.store(true, std::memory_order_release);
            }
    }
    app.sendDone.notify_all();
}

bool PreTranslate(MSG* msg)
{
    bool eaten = false;
    RunGuarded([&] {
        CWinThread* app = AfxGetThread();
        eaten = app ? app->PreTranslateMessage(msg) != FALSE
                    : CWnd::WalkPreTranslateTree(nullptr, msg) != FALSE;
    });
    return eaten;
}

bool RunMessageBoxOnUiThread(const std::function<void()>& fn)
{
    if (AfxIsUiThread()) {
        fn();
        return true;
    }
    auto record = std::make_shared<SendRecord>();
    record->task = fn;
    record->messageBox = true;
    return SendAndWait(record, nullptr);
}

void ServeMessageBoxes()
{
    AppState& app = App();
    for (;;) {
        std::shared_ptr<SendRecord> box;
        {
            std::lock_guard lock(app.mutex);
            for (QueueItem& item : app.queue) {
                if (item.kind == QueueItem::Kind::Send && item.send->messageBox
                    && item.send->state == SendRecord::State::Pending) {
                    box = item.send;
                    box->state = SendRecord::State::Running; // the queue entry is skipped later
                    break;
                }
            }
        }
        if (!box)
            return;
        Serve(*box);
    }
}

void ReportHandlerFailure(const char* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

} // namespace dispatch_internal

namespace wnd_internal {

BOOL RunOnUiThread(const std::function<void()>& fn, HWND target)
{
    if (AfxIsUiThread()) {
        if (target && !IsWindow(target))
            return FALSE;
        fn();
        return TRUE;
    }
    auto record = std::make_shared<SendRecord>();
    record->hwnd = target;
    record->task = fn;
    return SendAndWait(record, nullptr) ? TRUE : FALSE;
}

void PostToUiThread(std::function<void()> fn)
{
    QueueItem item;
    item.kind = QueueItem::Kind::Task;
    item.task = std::move(fn);
    (void)Enqueue(std::move(item));
}

LRESULT DispatchMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return dispatch_internal::Dispatch(hwnd, message, wParam, lParam);
}

} // namespace wnd_internal

// ---- Application ---------------------------------------------------------------------------

namespace {

// Qt wants a private runtime folder and says so on the console when the
// session has none: give it one of ours.
void EnsureRuntimeFolder()
{
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current && *current)
        return;
    const std::string folder = "/tmp/calvorn-runtime-" + std::to_string(::getuid());
    if (AfxMakePrivateFolder(folder))
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

QColor SysColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The classic look of the frame for every toolkit-drawn window too: dialogs'
// own controls, message boxes, file dialogs and tooltips.
void ApplyClassicLook(QApplication& app)
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(style);
    QPalette palette;
    const struct {
        QPalette::ColorRole role;
        int index;
    } kRoles[] = {
        { QPalette::Window, COLOR_BTNFACE },
        { QPalette::WindowText, COLOR_WINDOWTEXT },
        { QPalette::Base, COLOR_WINDOW },
        { QPalette::AlternateBase, COLOR_BTNFACE },
        { QPalette::Text, COLOR_WINDOWTEXT },
        { QPalette::Button, COLOR_BTNFACE },
        { QPalette::ButtonText, COLOR_BTNTEXT },
        { QPalette::Light, COLOR_3DHILIGHT },
        { QPalette::Midlight, COLOR_3DLIGHT },
        { QPalette::Mid, COLOR_3DSHADOW },
        { QPalette::Dark, COLOR_3DSHADOW },
        { QPalette::Shadow, COLOR_3DDKSHADOW },
        { QPalette::Highlight, COLOR_HIGHLIGHT },
        { QPalette::HighlightedText, COLOR_HIGHLIGHTTEXT },
        { QPalette::ToolTipBase, COLOR_INFOBK },
        { QPalette::ToolTipText, COLOR_INFOTEXT },
    };
    for (const auto& entry : kRoles)
        palette.setColor(entry.role, SysColor(entry.index));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, SysColor(COLOR_GRAYTEXT));
    app.setPalette(palette);
    QToolTip::setPalette(palette);
}

} // namespace

BOOL AfxWinInit(int& argc, char** argv)
{
    AppState& app = App();
    if (app.dispatcher)
        return TRUE;
    if (!QApplication::instance()) {
        EnsureRuntimeFolder();
        auto* qtApp = new QApplication(argc, argv); // lives for the rest of the program
        ApplyClassicLook(*qtApp);
    }
    app.uiThreadId = GetCurrentThreadId();
    app.dispatcher = new Dispatcher;
    if (app.appName.IsEmpty() && argc > 0 && argv && argv[0])
        app.appName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName().toUtf8().constData();
    {
        std::lock_guard lock(app.mutex);
        app.alive = true;
    }
    AfxSetErrorReporter(&ExceptionReporter);
    return TRUE;
}

BOOL AfxIsUiThread()
{
    const DWORD ui = App().uiThreadId.load();
    return ui != 0 && ui == GetCurrentThreadId();
}

DWORD AfxGetUiThreadId()
{
    return App().uiThreadId.load();
}

void AfxPumpMessage(DWORD waitMs)
{
    if (!QCoreApplication::instance() || !AfxIsUiThread())
        return;
    if (waitMs == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
        QTimer waker;
        waker.setSingleShot(true);
        waker.start(static_cast<int>(waitMs));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    DrainQueue();
    // Widgets of destroyed windows go once no handler is on the stack.
    if (dispatch_internal::Depth() == 0)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

BOOL AfxPumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done())
            return TRUE;
        const auto now = Clock::now();
        if (now >= deadline)
            return done() ? TRUE : FALSE;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        AfxPumpMessage(static_cast<DWORD>(std::clamp<long long>(left, 1, 5)));
    }
}

int AfxRunMessageLoop()
{
    return AfxRunMessageLoop(nullptr);
}

int AfxRunMessageLoop(const std::function<void()>& onIdle)
{
    AppState& app = App();
    while (!app.quitRequested) {
        AfxPumpMessage(50);
        if (onIdle && !app.quitRequested)
            onIdle();
    }
    app.quitRequested = false;
    return app.quitCode;
}

void PostQuitMessage(int exitCode)
{
    if (thread_internal::PostQuitToCurrentWinThread(exitCode))
        return;
    if (AfxIsUiThread()) {
        App().quitRequested = true;
        App().quitCode = exitCode;
    }
}

const char* AfxGetAppName()
{
    return App().appName.GetString();
}

void AfxSetAppName(const char* name)
{
    App().appName = name ? name : "";
}
