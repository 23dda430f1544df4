#include <array>
#include <chrono>

#include "protocol/scale_stream.h"

CScalePacketPump::CScalePacketPump(IScalePacketSink& sink, ScalePacketFramer::Start start)
    : m_sink(sink)
    , m_framer(start)
{ }

void CScalePacketPump::OnSocketBytes(UINT_PTR job, std::span<const std::uint8_t> bytes)
{
    std::vector<ScalePacketFramer::Event> events;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_framer.Feed(bytes, events);
    }
    for (ScalePacketFramer::Event& e : events)
        m_sink.OnScaleEvent(job, std::move(e));
}

void CScalePacketPump::OnSocketClosed(UINT_PTR job, const IoStatus& why)
{
    std::vector<ScalePacketFramer::Event> events;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_framer.DiscardPending(events);
    }
    for (ScalePacketFramer::Event& e : events)
        m_sink.OnScaleEvent(job, std::move(e));
    m_sink.OnScaleClosed(job, why);
}

void CScalePacketPump::DiscardPending(UINT_PTR job)
{
    std::vector<ScalePacketFramer::Event> events;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_framer.DiscardPending(events);
    }
    for (ScalePacketFramer::Event& e : events)
        m_sink.OnScaleEvent(job, std::move(e));
}

IoStatus ReceiveScaleEvent(CSocket& socket, ScalePacketFramer& framer,
    std::vector<ScalePacketFramer::Event>& backlog, ScalePacketFramer::Event& out, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::array<std::uint8_t, kMaxPacketSize> buffer;
    while (backlog.empty()) {
        int left = -1;
        if (timeoutMs >= 0) {
            const auto spent
                = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            left = spent >= timeoutMs ? 0 : static_cast<int>(timeoutMs - spent);
        }
        std::size_t got = 0;
        if (IoStatus s = socket.Receive(buffer, got, left); !s.ok())
            return s;
        framer.Feed(std::span(buffer.data(), got), backlog);
    }
    out = std::move(backlog.front());
    backlog.erase(backlog.begin());
    return IoStatus::Ok();
}
