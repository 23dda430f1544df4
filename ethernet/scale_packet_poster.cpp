#include "ethernet/scale_packet_poster.h"

CScalePacketPoster::CScalePacketPoster(HWND target, UINT message)
    : m_target(target)
    , m_message(message)
{ }

void CScalePacketPoster::Queue(UINT_PTR job, Item item)
{
    bool wasEmpty;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::deque<Item>& queue = m_queues[job];
        wasEmpty = queue.empty();
        queue.push_back(std::move(item));
        if (wasEmpty)
            m_waitingJobs.fetch_add(1, std::memory_order_relaxed);
    }
    // The handler takes all that is queued: a queue that already waits has
    // its message on the way.
    if (wasEmpty)
        ::PostMessage(m_target, m_message, job, 0);
}

void CScalePacketPoster::OnScaleEvent(UINT_PTR job, ScalePacketFramer::Event event)
{
    Item item;
    item.event = std::move(event);
    Queue(job, std::move(item));
}

void CScalePacketPoster::OnScaleClosed(UINT_PTR job, const IoStatus& why)
{
    Item item;
    item.closed = true;
    item.why = why;
    Queue(job, std::move(item));
}

bool CScalePacketPoster::Take(UINT_PTR job, Item& out)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_queues.find(job);
    if (it == m_queues.end() || it->second.empty())
        return false;
    out = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty())
        m_waitingJobs.fetch_sub(1, std::memory_order_relaxed);
    return true;
}

void CScalePacketPoster::Forget(UINT_PTR job)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_queues.find(job);
    if (it == m_queues.end())
        return;
    if (!it->second.empty())
        m_waitingJobs.fetch_sub(1, std::memory_order_relaxed);
    m_queues.erase(it);
}
