#pragma once
// Kernel-style synchronisation: events, critical sections, waits with time
// limits, and the thread/time calls that go with them. Waitable objects (events,
// threads) are reached through HANDLE values; every call here may be made from
// any thread.

#include <memory>

#include "platform/base/types.h"

// A waitable kernel object. Handles stay valid as long as the object that
// created them (CEvent, CWinThread) or until CloseHandle for CreateEvent's.
struct KernelObject;
using HANDLE = KernelObject*;

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
inline constexpr DWORD WAIT_ABANDONED = 0x00000080;
inline constexpr DWORD WAIT_TIMEOUT = 0x00000102;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// Waits until the object is signalled or timeoutMs passes. An auto-reset event
// is reset by the wait that it releases. WAIT_OBJECT_0, WAIT_TIMEOUT, or
// WAIT_FAILED for a null handle. A thread that was asked to suspend itself
// (CWinThread::SuspendThread) stops here until it is resumed.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);

// Waits for any (waitAll FALSE) or all of count objects. Returns WAIT_OBJECT_0 +
// index of the lowest signalled object (any), WAIT_OBJECT_0 (all), WAIT_TIMEOUT,
// or WAIT_FAILED for a bad count or a null handle. Auto-reset events are reset
// only for the objects that satisfy the wait.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs);

// Free-standing events, as the kernel calls make them. CreateEvent returns a
// handle the caller frees with CloseHandle; name and attributes are ignored.
HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initialState, LPCTSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Frees a handle from CreateEvent. Handles owned by objects are left alone
// (TRUE). Waiting on a closed handle is undefined, as on Windows.
BOOL CloseHandle(HANDLE handle);

// Suspends the calling thread. Sleep(0) yields.
void Sleep(DWORD ms);
// Milliseconds since an arbitrary start, wrapping at 2^32 (steady clock).
DWORD GetTickCount();
// Small, stable, nonzero id of the calling thread (never reused in a run).
DWORD GetCurrentThreadId();

// Base of the lockable objects.
class CSyncObject {
public:
    CSyncObject() = default;
    virtual ~CSyncObject() = default;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when acquired (for an event: signalled) within timeoutMs.
    virtual BOOL Lock(DWORD timeoutMs = INFINITE) = 0;
    virtual BOOL Unlock() = 0;
    // The kernel handle, or nullptr for objects that cannot be waited on.
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject = nullptr;
};

// An event: auto-reset (one wait consumes it) or manual-reset (stays signalled
// until ResetEvent).
class CEvent : public CSyncObject {
public:
    // name and attributes are accepted and ignored.
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCTSTR name = nullptr,
        void* attributes = nullptr);
    ~CEvent() override;

    BOOL SetEvent();
    BOOL ResetEvent();
    // Lock waits for the event (consuming it when auto-reset).
    BOOL Lock(DWORD timeoutMs = INFINITE) override;
    // Nothing to release for an event; TRUE.
    BOOL Unlock() override { return TRUE; }
};

// A recursive lock, as a critical section is.
class CCriticalSection : public CSyncObject {
public:
    CCriticalSection();
    ~CCriticalSection() override;

    BOOL Lock() { return Lock(INFINITE); }
    // timeoutMs is ignored: a critical section always waits.
    BOOL Lock(DWORD timeoutMs) override;
    BOOL Unlock() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Scoped lock over a CSyncObject; unlocks in its destructor when locked.
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD timeoutMs = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
