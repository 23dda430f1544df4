#include "ethernet/scale_packet_sender.h"

#include <algorithm>

CScalePacketSender::~CScalePacketSender()
{
    for (Lane& lane : m_lanes) {
        {
            std::lock_guard<std::mutex> guard(lane.lock);
            lane.stopping = true;
            lane.queue.clear();
        }
        lane.wake.notify_all();
    }
    for (Lane& lane : m_lanes) {
        if (lane.thread.joinable())
            lane.thread.join();
    }
}

void CScalePacketSender::Send(UINT_PTR job, CSocket& socket, ByteBuffer packet, int timeoutMs, bool direct)
{
    Item item { job, &socket, std::move(packet), timeoutMs, false };
    if (Queue(item, direct))
        return;
    // Written here only as far as the connection takes it now: the rest goes
    // to the job's thread, so a scale that stops reading never holds the caller.
    std::size_t sent = 0;
    if (!socket.SendSome(item.packet, sent).ok() || sent == item.packet.size())
        return; // a failure ends in the resends
    item.packet.erase(item.packet.begin(), item.packet.begin() + static_cast<std::ptrdiff_t>(sent));
    Queue(item, false);
}

void CScalePacketSender::ShutDown(UINT_PTR job, CSocket& socket)
{
    Item item { job, &socket, {}, 0, true };
    if (!Queue(item, true))
        Write(item);
}

bool CScalePacketSender::Queue(Item& item, bool direct)
{
    Lane& lane = LaneOf(item.job);
    bool wake;
    {
        std::lock_guard<std::mutex> guard(lane.lock);
        if (lane.stopping)
            return true; // dropped
        const bool behind = item.shutDown ? lane.writing == item.job
                || std::any_of(
                    lane.queue.begin(), lane.queue.end(), [&](const Item& i) { return i.job == item.job; })
                                          : lane.writing != 0 || !lane.queue.empty();
        if (direct && !behind)
            return false;
        if (!lane.thread.joinable())
            lane.thread = std::thread([&lane] { Run(lane); });
        lane.queue.push_back(std::move(item));
        // A thread that is still writing finds the item without a wake-up.
        wake = lane.waiting;
    }
    if (wake)
        lane.wake.notify_one();
    return true;
}

void CScalePacketSender::Write(Item& item)
{
    if (item.shutDown)
        item.socket->ShutDown();
    else
        static_cast<void>(item.socket->Send(item.packet, item.timeoutMs)); // a failure ends in the resends
}

void CScalePacketSender::Forget(UINT_PTR job)
{
    Lane& lane = LaneOf(job);
    std::unique_lock<std::mutex> guard(lane.lock);
    std::erase_if(lane.queue, [job](const Item& item) { return item.job == job; });
    lane.written.wait(guard, [&] { return lane.writing != job; });
}

std::size_t CScalePacketSender::Pending()
{
    std::size_t pending = 0;
    for (Lane& lane : m_lanes) {
        std::lock_guard<std::mutex> guard(lane.lock);
        pending += lane.queue.size() + (lane.writing != 0 ? 1 : 0);
    }
    return pending;
}

void CScalePacketSender::Run(Lane& lane)
{
    std::unique_lock<std::mutex> guard(lane.lock);
    for (;;) {
        lane.waiting = true;
        lane.wake.wait(guard, [&] { return lane.stopping || !lane.queue.empty(); });
        lane.waiting = false;
        if (lane.stopping)
            return;
        Item item = std::move(lane.queue.front());
        lane.queue.pop_front();
        lane.writing = item.job;
        guard.unlock();
        Write(item);
        guard.lock();
        lane.writing = 0;
        lane.written.notify_all();
    }
}
