// Threads and the UI thread: cross-thread sends, timers and message boxes from
// workers, events, and suspended thread start.

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/thread.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/test_thread.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr UINT kQuery = WM_USER + 4;

class TargetWnd : public CWnd {
public:
    std::atomic<int> handled { 0 };
    std::atomic<DWORD> handlerThread { 0 };
    std::vector<UINT_PTR> timers;
    std::vector<DWORD> timerThreads;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&TargetWnd::OnQuery>(kQuery),
                OnTimerMsg<&TargetWnd::OnTimer>(),
            });
        return &kMap;
    }

    BOOL Create() { return CreateEx(0, nullptr, "target", WS_POPUP, 0, 0, 100, 100, nullptr, 0); }

private:
    LRESULT OnQuery(WPARAM wParam, LPARAM)
    {
        handlerThread = GetCurrentThreadId();
        ++handled;
        return static_cast<LRESULT>(wParam) * 2;
    }
    void OnTimer(UINT_PTR id)
    {
        timers.push_back(id);
        timerThreads.push_back(GetCurrentThreadId());
    }
};

using Worker = TestThread;

// A hidden target window for each test.
class WndSend : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(wnd.Create()); }
    TargetWnd wnd;
};
using WndTimer = WndSend;

// ---- SendMessage ------------------------------------------------------------------------------

TEST_F(WndSend, SameThreadSendCallsTheHandlerAtOnce)
{
    EXPECT_EQ(wnd.SendMessage(kQuery, 21), 42);
    EXPECT_EQ(wnd.handled.load(), 1);
    EXPECT_EQ(wnd.handlerThread.load(), GetCurrentThreadId());
}

TEST_F(WndSend, CrossThreadSendRunsOnTheUiThreadAndBlocksTheSender)
{
    const HWND hwnd = wnd.GetSafeHwnd();
    std::atomic<LRESULT> result { 0 };
    DWORD workerId = 0;
    Worker worker([&] {
        workerId = GetCurrentThreadId();
        result = SendMessage(hwnd, kQuery, 5);
    });
    // Without the UI thread pumping the sender stays blocked.
    EXPECT_FALSE(worker.FinishedWithin(50));
    EXPECT_EQ(wnd.handled.load(), 0);
    ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(result.load(), 10);
    EXPECT_EQ(wnd.handlerThread.load(), AfxGetUiThreadId());
    EXPECT_NE(workerId, AfxGetUiThreadId());
}

TEST_F(WndSend, SendToADestroyedWindowFailsFast)
{
    const HWND hwnd = wnd.GetSafeHwnd();
    wnd.DestroyWindow();
    std::atomic<LRESULT> result { -1 };
    Worker worker([&] { result = SendMessage(hwnd, kQuery, 5); });
    // No pumping: the send must not wait for the UI thread.
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(result.load(), 0);
}

TEST_F(WndSend, SendToAWindowBeingDestroyedFailsFast)
{
    struct DyingWnd : TargetWnd {
        std::atomic<LRESULT> sentDuringDestroy { -1 };
        bool workerReturned = false;
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap kMap(
                TargetWnd::GetMessageMap(), { OnWm<WM_DESTROY, &DyingWnd::OnDestroy>() });
            return &kMap;
        }
        void OnDestroy()
        {
            const HWND self = GetSafeHwnd();
            Worker worker([&] { sentDuringDestroy = ::SendMessage(self, kQuery, 1); });
            workerReturned = worker.FinishedWithin(5000);
        }
    } dying;
    ASSERT_TRUE(dying.Create());
    dying.DestroyWindow();
    EXPECT_TRUE(dying.workerReturned);
    EXPECT_EQ(dying.sentDuringDestroy.load(), 0);
    EXPECT_EQ(dying.handled.load(), 0);
}

TEST_F(WndSend, BlockedSenderIsReleasedWhenItsWindowIsDestroyed)
{
    const HWND hwnd = wnd.GetSafeHwnd();
    CEvent sending;
    std::atomic<LRESULT> result { -1 };
    Worker worker([&] {
        sending.SetEvent();
        result = SendMessage(hwnd, kQuery, 9);
    });
    // The UI thread does not pump, so the send cannot be served; destroy the window.
    ASSERT_EQ(WaitForSingleObject(sending, 5000), WAIT_OBJECT_0);
    EXPECT_FALSE(worker.FinishedWithin(20));
    wnd.DestroyWindow();
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(wnd.handled.load(), 0);
    AfxPumpMessage(); // the released request is skipped
    EXPECT_EQ(wnd.handled.load(), 0);
}

TEST_F(WndSend, CrossThreadSendIsServedWhileAMessageBoxIsOpen)
{
    ScopedMessageBoxScript script;
    const HWND hwnd = wnd.GetSafeHwnd();
    CEvent start;
    std::atomic<LRESULT> result { 0 };
    Worker worker([&] {
        if (WaitForSingleObject(start, 5000) == WAIT_OBJECT_0)
            result = SendMessage(hwnd, kQuery, 4);
    });
    // The box stays open until the worker's send has been served inside it.
    MessageBoxScript::PushAnswerWhen(IDOK, [&] { return wnd.handled.load() == 1; });
    start.SetEvent();
    EXPECT_EQ(AfxMessageBox("Wait", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxScript::TimedOutCount(), 0u);
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(result.load(), 8);
}

TEST_F(WndSend, LayoutCallsFromAWorkerRunOnTheUiThread)
{
    std::atomic<bool> done { false };
    Worker worker([&] {
        wnd.ShowWindow(SW_SHOWNA);
        wnd.MoveWindow(5, 6, 70, 80);
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    EXPECT_TRUE(wnd.IsWindowVisible());
    CRect rect;
    wnd.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(5, 6, 75, 86));
}

// ---- Timers ------------------------------------------------------------------------------------

TEST_F(WndTimer, TimerSetFromAWorkerFiresOnTheUiThread)
{
    const HWND hwnd = wnd.GetSafeHwnd();
    UINT_PTR returned = 0;
    Worker worker([&] { returned = SetTimer(hwnd, 150, 10); });
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(returned, 150u);
    ASSERT_TRUE(PumpUntil([&] { return wnd.timers.size() >= 2; }));
    EXPECT_EQ(wnd.timers[0], 150u);
    EXPECT_EQ(wnd.timerThreads[0], AfxGetUiThreadId());

    // Killed from a worker: nothing more arrives.
    Worker killer([&] { EXPECT_TRUE(KillTimer(hwnd, 150)); });
    ASSERT_TRUE(killer.FinishedWithin(5000));
    const size_t count = wnd.timers.size();
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(wnd.timers.size(), count);
    EXPECT_FALSE(KillTimer(hwnd, 150));
}

TEST_F(WndTimer, SettingAnIdAgainRestartsItsTimer)
{
    wnd.SetTimer(200, 10);
    wnd.SetTimer(200, 60000); // replaces the 10 ms timer
    wnd.SetTimer(201, 10);
    ASSERT_TRUE(PumpUntil([&] { return wnd.timers.size() >= 3; }));
    for (UINT_PTR id : wnd.timers)
        EXPECT_EQ(id, 201u);
}

TEST_F(WndTimer, TimersEndWithTheirWindow)
{
    auto* own = new TargetWnd;
    ASSERT_TRUE(own->Create());
    const HWND hwnd = own->GetSafeHwnd();
    own->SetTimer(1, 5);
    own->DestroyWindow();
    delete own;
    PumpFor(std::chrono::milliseconds(30)); // a stray WM_TIMER would hit freed memory
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

// ---- Message boxes ------------------------------------------------------------------------

TEST(WndMessageBox, WorkerBoxRunsOnTheUiThreadAndReturnsTheScriptedAnswer)
{
    ScopedMessageBoxScript script;
    std::atomic<DWORD> boxThread { 0 };
    // The condition runs inside the open box, on the thread that shows it.
    MessageBoxScript::PushAnswerWhen(IDNO, [&] {
        boxThread = GetCurrentThreadId();
        return true;
    });
    std::atomic<int> answer { 0 };
    DWORD workerId = 0;
    Worker worker([&] {
        workerId = GetCurrentThreadId();
        answer = AfxMessageBox("Right db read ok", MB_YESNO | MB_ICONQUESTION);
    });
    ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), IDNO);
    EXPECT_EQ(boxThread.load(), AfxGetUiThreadId());
    const auto records = MessageBoxScript::Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text, "Right db read ok");
    EXPECT_EQ(records[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(records[0].threadId, workerId);
    EXPECT_EQ(records[0].caption, AfxGetAppName());
}

TEST(WndMessageBox, UiThreadWaitingForAWorkerStillAnswersItsBox)
{
    ScopedMessageBoxScript script;
    MessageBoxScript::PushAnswer(IDRETRY);
    std::atomic<int> answer { 0 };
    Worker worker([&] { answer = AfxMessageBox("Connection Failed", MB_RETRYCANCEL); });
    // The UI thread does not pump: it waits for the worker, which waits for its box.
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(answer.load(), IDRETRY);
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
}

TEST(WndMessageBox, UnscriptedBoxesTakeTheirDefaultButton)
{
    ScopedMessageBoxScript script;
    EXPECT_EQ(AfxMessageBox("a", MB_OK), IDOK);
    EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    EXPECT_EQ(owner.MessageBox("d", "Caption", MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(MessageBoxScript::Records().back().caption, "Caption");
    owner.DestroyWindow();
}

// ---- Events and waits -----------------------------------------------------------------------

TEST(WndEvent, AutoResetEventReleasesOneWait)
{
    CEvent event; // auto-reset, not signalled
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    event.SetEvent();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT); // consumed
    event.SetEvent();
    event.ResetEvent();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

TEST(WndEvent, ManualResetEventStaysSignalledUntilReset)
{
    CEvent event(FALSE, TRUE);
    event.SetEvent();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(event.Lock(0));
    event.ResetEvent();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CEvent initially(TRUE, TRUE);
    EXPECT_EQ(WaitForSingleObject(initially, 0), WAIT_OBJECT_0);
}

TEST(WndEvent, WaitForMultipleObjectsReportsTheLowestSignalledIndex)
{
    HANDLE events[3] = { CreateEvent(nullptr, TRUE, FALSE, nullptr),
        CreateEvent(nullptr, TRUE, FALSE, nullptr), CreateEvent(nullptr, FALSE, FALSE, nullptr) };
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 5), WAIT_TIMEOUT);
    SetEvent(events[2]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    ResetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT); // index 2 was auto-reset
    SetEvent(events[0]);
    SetEvent(events[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_TIMEOUT); // index 1 is not set
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[2], 0), WAIT_TIMEOUT); // consumed by the wait for all
    EXPECT_EQ(WaitForMultipleObjects(0, events, FALSE, 0), WAIT_FAILED);
    for (HANDLE e : events)
        CloseHandle(e);
}

TEST(WndEvent, EventWakesAThreadWaitingWithoutTimeLimit)
{
    CEvent go;
    std::atomic<DWORD> waited { 0 };
    Worker worker([&] { waited = WaitForSingleObject(go, INFINITE); });
    EXPECT_FALSE(worker.FinishedWithin(20));
    go.SetEvent();
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_EQ(waited.load(), WAIT_OBJECT_0);
}

TEST(WndLock, CriticalSectionIsRecursiveAndSingleLockReleases)
{
    CCriticalSection section;
    {
        CSingleLock outer(&section, TRUE);
        EXPECT_TRUE(outer.IsLocked());
        CSingleLock inner(&section, TRUE); // same thread: no deadlock
        EXPECT_TRUE(inner.IsLocked());
    }
    std::atomic<bool> got { false };
    Worker worker([&] {
        CSingleLock lock(&section, TRUE);
        got = lock.IsLocked();
    });
    ASSERT_TRUE(worker.FinishedWithin(5000));
    EXPECT_TRUE(got.load());
}

// ---- CWinThread -------------------------------------------------------------------------------

struct ProbeContext {
    CEvent started;
    std::atomic<int> runs { 0 };
};

UINT ProbeProc(void* param)
{
    auto* context = static_cast<ProbeContext*>(param);
    ++context->runs;
    context->started.SetEvent();
    return 7;
}

TEST(WndThread, SuspendedThreadRunsOnlyAfterResume)
{
    ProbeContext context;
    CWinThread* thread = AfxBeginThread(&ProbeProc, &context, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_IDLE);
    EXPECT_NE(thread->m_nThreadID, 0u);
    EXPECT_EQ(WaitForSingleObject(context.started, 30), WAIT_TIMEOUT);
    EXPECT_EQ(context.runs.load(), 0);
    EXPECT_EQ(thread->ResumeThread(), 1u);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(context.runs.load(), 1);
    EXPECT_EQ(thread->GetExitCode(), 7u);
    EXPECT_EQ(thread->ResumeThread(), 0xFFFFFFFFu); // ended
    delete thread;
}

TEST(WndThread, NeverResumedThreadIsAbandonedSafely)
{
    ProbeContext context;
    CWinThread* thread = AfxBeginThread(&ProbeProc, &context, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    delete thread; // the waiting thread leaves without running the function
    EXPECT_EQ(WaitForSingleObject(context.started, 30), WAIT_TIMEOUT);
    EXPECT_EQ(context.runs.load(), 0);
}

class LoopThread : public CWinThread {
public:
    static std::atomic<int> s_deleted;
    static CEvent s_deletedEvent;
    std::atomic<int> initCount { 0 };
    std::atomic<int> exitCount { 0 };
    std::atomic<int> tasks { 0 };

    ~LoopThread() override
    {
        ++s_deleted;
        s_deletedEvent.SetEvent();
    }
    BOOL InitInstance() override
    {
        ++initCount;
        return TRUE;
    }
    int ExitInstance() override
    {
        ++exitCount;
        return 3;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_APP + 1)
            ++tasks;
        if (msg->message == WM_APP + 2)
            AfxEndThread(11, FALSE);
        return TRUE;
    }
};
std::atomic<int> LoopThread::s_deleted { 0 };
CEvent LoopThread::s_deletedEvent;

TEST(WndThread, ThreadClassRunsItsMessageLoopUntilQuit)
{
    LoopThread* thread = AfxBeginThread<LoopThread>(THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    EXPECT_TRUE(thread->PostThreadMessage(WM_APP + 1, 0, 0)); // queued before the start
    thread->ResumeThread();
    EXPECT_TRUE(PostThreadMessage(thread->m_nThreadID, WM_APP + 1, 0, 0));
    EXPECT_TRUE(thread->PostThreadMessage(WM_QUIT, 0, 0));
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(thread->initCount.load(), 1);
    EXPECT_EQ(thread->tasks.load(), 2);
    EXPECT_EQ(thread->exitCount.load(), 1);
    EXPECT_EQ(thread->GetExitCode(), 3u);
    EXPECT_FALSE(thread->PostThreadMessage(WM_APP + 1, 0, 0)); // ended
    delete thread;
}

TEST(WndThread, EndThreadStopsAtOnceAndAutoDeleteFreesTheObject)
{
    LoopThread::s_deleted = 0;
    LoopThread::s_deletedEvent.ResetEvent();
    LoopThread* thread = AfxBeginThread<LoopThread>();
    ASSERT_NE(thread, nullptr);
    const DWORD id = thread->m_nThreadID;
    EXPECT_TRUE(PostThreadMessage(id, WM_QUIT, 0, 0));
    // m_bAutoDelete (the default): the thread frees its object when it ends.
    ASSERT_EQ(WaitForSingleObject(LoopThread::s_deletedEvent, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(LoopThread::s_deleted.load(), 1);
    EXPECT_FALSE(PostThreadMessage(id, WM_QUIT, 0, 0));

    LoopThread* ending = AfxBeginThread<LoopThread>();
    ending->m_bAutoDelete = FALSE;
    ASSERT_TRUE(ending->PostThreadMessage(WM_APP + 2, 0, 0));
    ASSERT_EQ(WaitForSingleObject(ending->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ending->GetExitCode(), 11u);
    EXPECT_EQ(ending->exitCount.load(), 0); // AfxEndThread skips ExitInstance
    delete ending;
}

TEST(WndThread, SuspendedRunningThreadStopsAtItsNextWait)
{
    struct Context {
        CEvent tick;
        CEvent passed;
        std::atomic<bool> stop { false };
    } context;
    CWinThread* thread = AfxBeginThread(
        [](void* p) -> UINT {
            auto* c = static_cast<Context*>(p);
            while (!c->stop) {
                WaitForSingleObject(c->tick, INFINITE);
                c->passed.SetEvent();
            }
            return 0;
        },
        &context);
    thread->m_bAutoDelete = FALSE;
    context.tick.SetEvent();
    ASSERT_EQ(WaitForSingleObject(context.passed, 5000), WAIT_OBJECT_0);

    EXPECT_EQ(thread->SuspendThread(), 0u);
    context.tick.SetEvent(); // the suspended thread does not come out of its wait
    EXPECT_EQ(WaitForSingleObject(context.passed, 50), WAIT_TIMEOUT);
    context.stop = true;
    EXPECT_EQ(thread->ResumeThread(), 1u);
    EXPECT_EQ(WaitForSingleObject(context.passed, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
    delete thread;
}

} // namespace
