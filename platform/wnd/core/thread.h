#pragma once
// Threads in the class library's shape: CWinThread objects with
// InitInstance/Run/ExitInstance, started running or suspended, and
// AfxBeginThread for a plain function. A thread's message loop (the default
// Run) serves messages posted to the thread with PostThreadMessage.

#include <functional>
#include <memory>

#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"
#include "platform/wnd/core/sync.h"

// Priorities are accepted and recorded; scheduling is left to the system.
inline constexpr int THREAD_PRIORITY_IDLE = -15;
inline constexpr int THREAD_PRIORITY_LOWEST = -2;
inline constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
inline constexpr int THREAD_PRIORITY_NORMAL = 0;
inline constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
inline constexpr int THREAD_PRIORITY_HIGHEST = 2;
inline constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
inline constexpr DWORD CREATE_SUSPENDED = 0x00000004;
inline constexpr DWORD STILL_ACTIVE = 0x00000103;

using AFX_THREADPROC = UINT (*)(void* param);

class CWinThread {
public:
    // For classes that override InitInstance/Run; start with CreateThread.
    CWinThread();
    // Runs proc(param) on the thread; start with CreateThread.
    CWinThread(AFX_THREADPROC proc, void* param);
    // The object must not be destroyed while its thread runs, unless the
    // thread deletes it itself (m_bAutoDelete) when it ends.
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread; with CREATE_SUSPENDED it waits for ResumeThread before
    // running anything. stackSize is accepted and ignored. FALSE when a thread
    // was already created or cannot be started.
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0);
    // Decrements the suspend count; the thread runs when it reaches 0. Returns
    // the previous count, or 0xFFFFFFFF when there is no thread.
    DWORD ResumeThread();
    // Increments the suspend count and returns the previous one. A created,
    // not yet started thread stays unstarted; a running thread stops at its next
    // wait, sleep or message-loop turn (it is never stopped in the middle of
    // other work, so it never holds a lock while suspended).
    DWORD SuspendThread();
    // Recorded; any value is accepted. Any thread.
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority() const;
    // Posts a message to the thread's loop (see Run). FALSE when there is no
    // thread or it has ended.
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Called on the new thread: InitInstance; when it returns TRUE, Run;
    // otherwise ExitInstance at once. The thread's exit code is Run's result
    // (or ExitInstance's when InitInstance fails).
    virtual BOOL InitInstance();
    // Default: the thread's message loop. Returns ExitInstance()'s result when
    // WM_QUIT arrives (PostThreadMessage or PostQuitMessage on the thread).
    virtual int Run();
    virtual int ExitInstance();
    // Called for each message of the loop before it is dispatched; a TRUE result
    // stops the default handling (thread messages have no default handling).
    // On the UI thread (the application object) the default offers window
    // messages to CWnd::WalkPreTranslateTree.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Exit code of the ended thread, or STILL_ACTIVE while it runs.
    DWORD GetExitCode() const;

    HANDLE m_hThread = nullptr; // signalled when the thread has ended
    DWORD m_nThreadID = 0;
    // The thread deletes this object when it ends (default TRUE, as for
    // AfxBeginThread). Set it FALSE to wait on m_hThread and delete yourself.
    BOOL m_bAutoDelete = TRUE;
    // Parameter given to the thread function.
    void* m_pThreadParams = nullptr;
    AFX_THREADPROC m_pfnThreadProc = nullptr;

    struct Impl;

private:
    std::shared_ptr<Impl> m_impl;
};

// Creates a thread for proc(param) at the given priority and starts it (or
// leaves it suspended with CREATE_SUSPENDED). nullptr on failure.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, void* param, int priority = THREAD_PRIORITY_NORMAL,
    UINT stackSize = 0, DWORD createFlags = 0);

// Creates an object of a CWinThread class T (default-constructed) and starts
// its thread the same way: the stand-in for creation by run-time class.
template <class T>
T* AfxBeginThread(int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0, DWORD createFlags = 0)
{
    T* thread = new T;
    thread->SetThreadPriority(priority);
    if (!thread->CreateThread(createFlags, stackSize)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

// Ends the calling CWinThread at once with exitCode (its objects on the stack
// are unwound; ExitInstance is not called, as with the class library). Must be
// called on a thread made by CWinThread.
[[noreturn]] void AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);

// The CWinThread of the calling thread, or nullptr (e.g. the UI thread before
// the application object exists, or a foreign thread).
CWinThread* AfxGetThread();

// Makes app the UI thread's CWinThread (the application object): AfxGetThread
// on the UI thread returns it, and its PreTranslateMessage sees the UI thread's
// input and posted messages first. nullptr removes it.
void AfxSetAppThread(CWinThread* app);

// Posts WM_QUIT to the calling CWinThread's message loop (exitCode in wParam);
// on the UI thread it ends AfxRunMessageLoop, which returns exitCode.
void PostQuitMessage(int exitCode);

// Posts to a thread by id. FALSE when no live CWinThread has that id.
BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
