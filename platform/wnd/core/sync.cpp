// Kernel objects share one lock and one condition variable: every wait
// re-checks its objects whenever any object changes. The program has few
// waiters, so this keeps WaitForMultipleObjects simple and exact.

#include "platform/wnd/core/sync.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/kernel_object.h"
#include "platform/wnd/core/internal/thread_internal.h"

namespace {

using Clock = std::chrono::steady_clock;

// Never destroyed: detached threads may still signal while the program exits.
std::mutex& KernelMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
std::condition_variable& KernelCondition()
{
    static auto* cv = new std::condition_variable;
    return *cv;
}

std::optional<Clock::time_point> DeadlineFor(DWORD timeoutMs)
{
    if (timeoutMs == INFINITE)
        return std::nullopt;
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Waits on the kernel condition until ready() holds (TRUE) or the deadline
// passes (FALSE). The lock is held when ready() runs.
template <class Ready>
bool WaitLocked(
    std::unique_lock<std::mutex>& lock, const std::optional<Clock::time_point>& deadline, Ready ready)
{
    if (!deadline) {
        KernelCondition().wait(lock, ready);
        return true;
    }
    return KernelCondition().wait_until(lock, *deadline, ready);
}

} // namespace

namespace kernel_internal {

void SetSignalled(KernelObject* object, bool signalled)
{
    {
        std::lock_guard lock(KernelMutex());
        object->signalled = signalled;
    }
    if (signalled)
        KernelCondition().notify_all();
}

bool IsSignalled(const KernelObject* object)
{
    std::lock_guard lock(KernelMutex());
    return object->signalled;
}

} // namespace kernel_internal

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs)
{
    return WaitForMultipleObjects(1, &handle, FALSE, timeoutMs);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs)
{
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles)
        return WAIT_FAILED;
    for (DWORD i = 0; i < count; ++i)
        if (!handles[i])
            return WAIT_FAILED;

    thread_internal::WaitWhileSuspended();
    const auto deadline = DeadlineFor(timeoutMs);
    // The UI thread wakes every few milliseconds to answer message boxes that
    // other threads are waiting for (see dispatch_internal::ServeMessageBoxes).
    const bool uiThread = AfxIsUiThread() != FALSE;
    constexpr auto kUiSlice = std::chrono::milliseconds(5);
    DWORD result = WAIT_TIMEOUT;
    for (;;) {
        {
            std::unique_lock lock(KernelMutex());
            auto ready = [&] {
                if (waitAll) {
                    for (DWORD i = 0; i < count; ++i)
                        if (!handles[i]->signalled)
                            return false;
                    result = WAIT_OBJECT_0;
                    return true;
                }
                for (DWORD i = 0; i < count; ++i) {
                    if (handles[i]->signalled) {
                        result = WAIT_OBJECT_0 + i;
                        return true;
                    }
                }
                return false;
            };
            std::optional<Clock::time_point> until = deadline;
            if (uiThread) {
                const auto slice = Clock::now() + kUiSlice;
                until = deadline ? std::min(*deadline, slice) : slice;
            }
            if (WaitLocked(lock, until, ready)) {
                // Auto-reset objects are consumed by the wait they release.
                if (waitAll) {
                    for (DWORD i = 0; i < count; ++i)
                        if (!handles[i]->manualReset)
                            handles[i]->signalled = false;
                } else {
                    KernelObject* hit = handles[result - WAIT_OBJECT_0];
                    if (!hit->manualReset)
                        hit->signalled = false;
                }
                break;
            }
            if (deadline && Clock::now() >= *deadline) {
                result = WAIT_TIMEOUT;
                break;
            }
        }
        dispatch_internal::ServeMessageBoxes();
    }
    thread_internal::WaitWhileSuspended();
    return result;
}

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, LPCTSTR)
{
    auto* object = new KernelObject;
    object->kind = KernelObject::Kind::FreeEvent;
    object->manualReset = manualReset != FALSE;
    object->signalled = initialState != FALSE;
    return object;
}

BOOL SetEvent(HANDLE event)
{
    if (!event)
        return FALSE;
    kernel_internal::SetSignalled(event, true);
    return TRUE;
}

BOOL ResetEvent(HANDLE event)
{
    if (!event)
        return FALSE;
    kernel_internal::SetSignalled(event, false);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    if (!handle)
        return FALSE;
    if (handle->kind == KernelObject::Kind::FreeEvent)
        delete handle;
    return TRUE;
}

void Sleep(DWORD ms)
{
    thread_internal::WaitWhileSuspended();
    if (ms == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    thread_internal::WaitWhileSuspended();
}

DWORD GetTickCount()
{
    static const Clock::time_point start = Clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return static_cast<DWORD>(elapsed);
}

DWORD GetCurrentThreadId()
{
    static std::atomic<DWORD> next { 1 };
    thread_local const DWORD id = next.fetch_add(1);
    return id;
}

// ---- CEvent ---------------------------------------------------------------------------

CEvent::CEvent(BOOL initiallyOwn, BOOL manualReset, LPCTSTR, void*)
{
    auto* object = new KernelObject;
    object->kind = KernelObject::Kind::OwnedEvent;
    object->manualReset = manualReset != FALSE;
    object->signalled = initiallyOwn != FALSE;
    m_hObject = object;
}

CEvent::~CEvent()
{
    delete m_hObject;
}

BOOL CEvent::SetEvent()
{
    kernel_internal::SetSignalled(m_hObject, true);
    return TRUE;
}

BOOL CEvent::ResetEvent()
{
    kernel_internal::SetSignalled(m_hObject, false);
    return TRUE;
}

BOOL CEvent::Lock(DWORD timeoutMs)
{
    return WaitForSingleObject(m_hObject, timeoutMs) == WAIT_OBJECT_0;
}

// ---- CCriticalSection ------------------------------------------------------------------

struct CCriticalSection::Impl {
    std::recursive_mutex mutex;
};

CCriticalSection::CCriticalSection()
    : m_impl(std::make_unique<Impl>())
{ }
CCriticalSection::~CCriticalSection() = default;

BOOL CCriticalSection::Lock(DWORD)
{
    m_impl->mutex.lock();
    return TRUE;
}

BOOL CCriticalSection::Unlock()
{
    m_impl->mutex.unlock();
    return TRUE;
}

// ---- CSingleLock -----------------------------------------------------------------------

CSingleLock::CSingleLock(CSyncObject* object, BOOL initialLock)
    : m_pObject(object)
{
    if (initialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

BOOL CSingleLock::Lock(DWORD timeoutMs)
{
    if (!m_pObject || m_bAcquired)
        return m_bAcquired;
    m_bAcquired = m_pObject->Lock(timeoutMs);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_pObject && m_bAcquired) {
        m_pObject->Unlock();
        m_bAcquired = FALSE;
    }
    return TRUE;
}
