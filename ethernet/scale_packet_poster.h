#pragma once
// Hands a scale connection's events to the user-interface thread. The reader
// thread queues each event under its job and, when the job's queue was empty,
// posts `message` (wParam = job) to the target window; the window's handler, on
// the user-interface thread, takes all of the job's events with Take, in
// arrival order (a handler that leaves events queued takes them later itself). Nothing is lost when a window
// is gone before delivery: the queue is only freed by Forget or with the poster.

#include <atomic>
#include <deque>
#include <map>
#include <mutex>

#include "platform/wnd/core/wnd.h"
#include "protocol/scale_stream.h"

class CScalePacketPoster : public IScalePacketSink {
public:
    struct Item {
        bool closed = false; // the connection ended: why says how
        ScalePacketFramer::Event event; // when not closed
        IoStatus why;
    };

    CScalePacketPoster(HWND target, UINT message);

    // Reader thread.
    void OnScaleEvent(UINT_PTR job, ScalePacketFramer::Event event) override;
    void OnScaleClosed(UINT_PTR job, const IoStatus& why) override;

    // The job's next item; false when its queue is empty. Any thread.
    bool Take(UINT_PTR job, Item& out);
    // Drops what is queued for a job that has ended.
    void Forget(UINT_PTR job);
    // The jobs that have items waiting to be taken. Any thread; a snapshot.
    int WaitingJobs() const { return m_waitingJobs.load(std::memory_order_relaxed); }

private:
    void Queue(UINT_PTR job, Item item);

    const HWND m_target;
    const UINT m_message;
    std::mutex m_lock;
    std::map<UINT_PTR, std::deque<Item>> m_queues;
    std::atomic<int> m_waitingJobs { 0 }; // queues that are not empty
};
