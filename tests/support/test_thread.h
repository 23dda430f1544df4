#pragma once
// A worker thread for tests: runs a function on a CWinThread and lets the test
// wait for its end with a time limit, with or without pumping the UI thread.

#include <functional>
#include <utility>

#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/thread.h"

class TestThread {
public:
    explicit TestThread(std::function<void()> fn)
        : m_fn(std::move(fn))
    {
        m_thread = AfxBeginThread(&TestThread::Proc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        m_thread->m_bAutoDelete = FALSE;
        m_thread->ResumeThread();
    }
    ~TestThread()
    {
        WaitForSingleObject(m_thread->m_hThread, INFINITE);
        delete m_thread;
    }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

    // Waits for the end without pumping the UI thread.
    bool FinishedWithin(DWORD ms) { return WaitForSingleObject(m_thread->m_hThread, ms) == WAIT_OBJECT_0; }
    bool Finished() { return FinishedWithin(0); }
    DWORD ThreadId() const { return m_thread->m_nThreadID; }

private:
    static UINT Proc(void* self)
    {
        static_cast<TestThread*>(self)->m_fn();
        return 0;
    }

    std::function<void()> m_fn;
    CWinThread* m_thread;
};
