#include "ethernet/scale_packet_sender.h"

#include <algorithm>

CScalePacketSender::~CScalePacketSender()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CScalePacketSender::Send(UINT_PTR job, CSocket& socket, ByteBuffer packet, int timeoutMs, bool direct)
{
    Item item { job, &socket, std::move(packet), timeoutMs, false };
    if (!Queue(item, direct))
        Write(item);
}

void CScalePacketSender::ShutDown(UINT_PTR job, CSocket& socket)
{
    Item item { job, &socket, {}, 0, true };
    if (!Queue(item, true))
        Write(item);
}

bool CScalePacketSender::Queue(Item& item, bool direct)
{
    bool wake;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stopping)
            return true; // dropped
        const bool behind = item.shutDown ? m_writing == item.job
                || std::any_of(
                    m_queue.begin(), m_queue.end(), [&](const Item& i) { return i.job == item.job; })
                                          : m_writing != 0 || !m_queue.empty();
        if (direct && !behind)
            return false;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
        m_queue.push_back(std::move(item));
        // A thread that is still writing finds the item without a wake-up.
        wake = m_waiting;
    }
    if (wake)
        m_wake.notify_one();
    return true;
}

void CScalePacketSender::Write(Item& item)
{
    if (item.shutDown)
        item.socket->ShutDown();
    else
        item.socket->Send(item.packet, item.timeoutMs); // a failure ends in the resends
}

void CScalePacketSender::Forget(UINT_PTR job)
{
    std::unique_lock<std::mutex> guard(m_lock);
    std::erase_if(m_queue, [job](const Item& item) { return item.job == job; });
    m_written.wait(guard, [&] { return m_writing != job; });
}

std::size_t CScalePacketSender::Pending()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_queue.size() + (m_writing != 0 ? 1 : 0);
}

void CScalePacketSender::Run()
{
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_waiting = true;
        m_wake.wait(guard, [&] { return m_stopping || !m_queue.empty(); });
        m_waiting = false;
        if (m_stopping)
            return;
        Item item = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = item.job;
        guard.unlock();
        Write(item);
        guard.lock();
        m_writing = 0;
        m_written.notify_all();
    }
}
