// CWinThread over std::thread. The OS thread is always detached; its end is
// signalled through m_hThread. A created-suspended thread waits on its gate
// before touching the object; SuspendThread on a running thread takes effect
// at the thread's next wait, sleep or message-loop turn.

#include "platform/wnd/core/thread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <variant>

#include "platform/base/exception.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/kernel_object.h"
#include "platform/wnd/core/internal/thread_internal.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"

struct CWinThread::Impl {
    std::mutex mutex;
    std::condition_variable changed;
    DWORD suspendCount = 0;
    bool created = false;
    bool running = false;
    bool ended = false;
    bool abandoned = false; // object destroyed before the thread started
    int priority = THREAD_PRIORITY_NORMAL;
    DWORD exitCode = STILL_ACTIVE;
    DWORD threadId = 0;
    std::deque<std::variant<MSG, std::function<void()>>> queue;
    KernelObject handle;
    CWinThread* owner = nullptr;
};

namespace {

thread_local CWinThread::Impl* t_currentThread = nullptr;
thread_local CWinThread* t_currentObject = nullptr;
std::atomic<CWinThread*> g_appThread { nullptr };

std::mutex& RegistryMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
std::map<DWORD, std::shared_ptr<CWinThread::Impl>>& Registry()
{
    static auto* threads = new std::map<DWORD, std::shared_ptr<CWinThread::Impl>>;
    return *threads;
}

std::shared_ptr<CWinThread::Impl> FindThread(DWORD id)
{
    std::lock_guard lock(RegistryMutex());
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

bool Enqueue(const std::shared_ptr<CWinThread::Impl>& impl, std::variant<MSG, std::function<void()>> item)
{
    {
        std::lock_guard lock(impl->mutex);
        if (impl->ended)
            return false;
        impl->queue.push_back(std::move(item));
    }
    impl->changed.notify_all();
    return true;
}

MSG ThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

void ReportThreadException(const char* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

} // namespace

namespace thread_internal {

void WaitWhileSuspended()
{
    CWinThread::Impl* impl = t_currentThread;
    if (!impl)
        return;
    std::unique_lock lock(impl->mutex);
    impl->changed.wait(lock, [impl] { return impl->suspendCount == 0; });
}

} // namespace thread_internal

CWinThread::CWinThread()
    : m_impl(std::make_shared<Impl>())
{
    m_impl->handle.kind = KernelObject::Kind::Thread;
    m_impl->handle.manualReset = true;
    m_impl->owner = this;
    m_hThread = &m_impl->handle;
}

CWinThread::CWinThread(AFX_THREADPROC proc, void* param)
    : CWinThread()
{
    m_pfnThreadProc = proc;
    m_pThreadParams = param;
}

CWinThread::~CWinThread()
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->owner = nullptr;
    if (m_impl->created && !m_impl->running) {
        // Never resumed: let the waiting thread leave without running.
        m_impl->abandoned = true;
        m_impl->changed.notify_all();
    }
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT)
{
    std::shared_ptr<Impl> impl = m_impl;
    {
        std::lock_guard lock(impl->mutex);
        if (impl->created)
            return FALSE;
        impl->created = true;
        impl->suspendCount = (createFlags & CREATE_SUSPENDED) ? 1 : 0;
    }
    try {
        std::thread([impl] {
            const DWORD id = GetCurrentThreadId();
            {
                std::lock_guard lock(RegistryMutex());
                Registry()[id] = impl;
            }
            {
                std::lock_guard lock(impl->mutex);
                impl->threadId = id;
            }
            impl->changed.notify_all();

            CWinThread* self = nullptr;
            {
                std::unique_lock lock(impl->mutex);
                impl->changed.wait(lock, [&] { return impl->suspendCount == 0 || impl->abandoned; });
                if (!impl->abandoned) {
                    impl->running = true;
                    self = impl->owner;
                }
            }
            DWORD exitCode = 0;
            if (self) {
                t_currentThread = impl.get();
                t_currentObject = self;
                try {
                    if (self->m_pfnThreadProc)
                        exitCode = self->m_pfnThreadProc(self->m_pThreadParams);
                    else if (self->InitInstance())
                        exitCode = static_cast<DWORD>(self->Run());
                    else
                        exitCode = static_cast<DWORD>(self->ExitInstance());
                } catch (const thread_internal::ThreadExit& exit) {
                    exitCode = exit.exitCode;
                } catch (CException* e) {
                    ExceptionPtr hold(e);
                    ReportThreadException(e->GetErrorText());
                } catch (const std::exception& e) {
                    ReportThreadException(e.what());
                }
                t_currentThread = nullptr;
                t_currentObject = nullptr;
            }
            const bool deleteSelf = self && self->m_bAutoDelete;
            {
                std::lock_guard lock(RegistryMutex());
                Registry().erase(id);
            }
            {
                std::lock_guard lock(impl->mutex);
                impl->ended = true;
                impl->running = false;
                impl->exitCode = exitCode;
                impl->queue.clear();
            }
            impl->changed.notify_all();
            kernel_internal::SetSignalled(&impl->handle, true);
            if (deleteSelf)
                delete self;
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(impl->mutex);
        impl->created = false;
        return FALSE;
    }
    std::unique_lock lock(impl->mutex);
    impl->changed.wait(lock, [&] { return impl->threadId != 0; });
    m_nThreadID = impl->threadId;
    return TRUE;
}

DWORD CWinThread::ResumeThread()
{
    DWORD previous;
    {
        std::lock_guard lock(m_impl->mutex);
        if (!m_impl->created || m_impl->ended)
            return 0xFFFFFFFF;
        previous = m_impl->suspendCount;
        if (m_impl->suspendCount > 0)
            --m_impl->suspendCount;
    }
    m_impl->changed.notify_all();
    return previous;
}

DWORD CWinThread::SuspendThread()
{
    std::lock_guard lock(m_impl->mutex);
    if (!m_impl->created || m_impl->ended)
        return 0xFFFFFFFF;
    return m_impl->suspendCount++;
}

BOOL CWinThread::SetThreadPriority(int priority)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->priority = priority;
    return TRUE;
}

int CWinThread::GetThreadPriority() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->priority;
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard lock(m_impl->mutex);
        if (!m_impl->created)
            return FALSE;
    }
    return Enqueue(m_impl, ThreadMessage(message, wParam, lParam)) ? TRUE : FALSE;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    std::shared_ptr<Impl> impl = m_impl;
    for (;;) {
        thread_internal::WaitWhileSuspended();
        std::variant<MSG, std::function<void()>> item;
        {
            std::unique_lock lock(impl->mutex);
            impl->changed.wait(lock, [&] { return !impl->queue.empty() && impl->suspendCount == 0; });
            item = std::move(impl->queue.front());
            impl->queue.pop_front();
        }
        if (auto* task = std::get_if<std::function<void()>>(&item)) {
            try {
                (*task)();
            } catch (const thread_internal::ThreadExit&) {
                throw;
            } catch (CException* e) {
                ExceptionPtr hold(e);
                ReportThreadException(e->GetErrorText());
            } catch (const std::exception& e) {
                ReportThreadException(e.what());
            }
            continue;
        }
        MSG& msg = std::get<MSG>(item);
        if (msg.message == WM_QUIT)
            return ExitInstance();
        PreTranslateMessage(&msg);
    }
}

int CWinThread::ExitInstance()
{
    return 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (msg && msg->hwnd && AfxIsUiThread())
        return CWnd::WalkPreTranslateTree(nullptr, msg);
    return FALSE;
}

DWORD CWinThread::GetExitCode() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->exitCode;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, void* param, int priority, UINT stackSize, DWORD createFlags)
{
    auto* thread = new CWinThread(proc, param);
    thread->SetThreadPriority(priority);
    if (!thread->CreateThread(createFlags, stackSize)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

void AfxEndThread(UINT exitCode, BOOL deleteThread)
{
    if (t_currentObject && !deleteThread)
        t_currentObject->m_bAutoDelete = FALSE;
    throw thread_internal::ThreadExit { exitCode };
}

CWinThread* AfxGetThread()
{
    if (t_currentObject)
        return t_currentObject;
    return AfxIsUiThread() ? g_appThread.load() : nullptr;
}

void AfxSetAppThread(CWinThread* app)
{
    g_appThread = app;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<CWinThread::Impl> impl = FindThread(threadId);
    if (!impl)
        return FALSE;
    return Enqueue(impl, ThreadMessage(message, wParam, lParam)) ? TRUE : FALSE;
}

namespace wnd_internal {

BOOL PostThreadTask(DWORD threadId, std::function<void()> task)
{
    std::shared_ptr<CWinThread::Impl> impl = FindThread(threadId);
    if (!impl)
        return FALSE;
    return Enqueue(impl, std::move(task)) ? TRUE : FALSE;
}

} // namespace wnd_internal

bool thread_internal::PostQuitToCurrentWinThread(int exitCode)
{
    CWinThread::Impl* impl = t_currentThread;
    if (!impl)
        return false;
    {
        std::lock_guard lock(impl->mutex);
        impl->queue.push_back(ThreadMessage(WM_QUIT, static_cast<WPARAM>(exitCode), 0));
    }
    impl->changed.notify_all();
    return true;
}
