#include "results/server_events.h"

#include "protocol/server_messages.h"

std::vector<ByteBuffer> CutServerMessages(ByteBuffer& pending)
{
    std::vector<ByteBuffer> messages;
    std::size_t used = 0;
    while (pending.size() - used >= 2) {
        const std::size_t length = ServerMessageLength(pending[used] | pending[used + 1] << 8);
        if (length == 0) {
            pending.clear();
            return messages;
        }
        if (pending.size() - used < length)
            break;
        messages.emplace_back(pending.begin() + static_cast<std::ptrdiff_t>(used),
            pending.begin() + static_cast<std::ptrdiff_t>(used + length));
        used += length;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
    return messages;
}

CServerEventQueue::~CServerEventQueue()
{
    Clear();
}

void CServerEventQueue::Push(ServerEvent event)
{
    event.arrival = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_events.push_back(std::move(event));
        m_bSignalled = true;
    }
    m_signal.notify_one();
}

void CServerEventQueue::PushAccepted(UINT_PTR connection, std::unique_ptr<CSocket> socket)
{
    ServerEvent event;
    event.kind = ServerEvent::Kind::Accepted;
    event.connection = connection;
    event.socket = std::move(socket);
    event.reader = std::make_unique<CSocketReader>();
    event.arrival = std::chrono::steady_clock::now();
    {
        // The reader's first bytes wait for the lock: they follow the accept.
        std::lock_guard<std::mutex> guard(m_lock);
        ServerEvent& queued = m_events.emplace_back(std::move(event));
        queued.readerStarted = queued.reader->Start(*queued.socket, *this, connection).ok() ? TRUE : FALSE;
        m_bSignalled = true;
    }
    m_signal.notify_one();
}

void CServerEventQueue::PushAcceptFailed()
{
    ServerEvent event;
    event.kind = ServerEvent::Kind::AcceptFailed;
    Push(std::move(event));
}

void CServerEventQueue::OnSocketBytes(UINT_PTR connection, std::span<const std::uint8_t> bytes)
{
    std::vector<ByteBuffer> messages;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ByteBuffer& pending = m_pending[connection];
        pending.insert(pending.end(), bytes.begin(), bytes.end());
        messages = CutServerMessages(pending);
    }
    for (ByteBuffer& message : messages) {
        ServerEvent event;
        event.connection = connection;
        event.bytes = std::move(message);
        Push(std::move(event));
    }
}

void CServerEventQueue::OnSocketClosed(UINT_PTR connection, const IoStatus&)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pending.erase(connection);
    }
    ServerEvent event;
    event.kind = ServerEvent::Kind::Closed;
    event.connection = connection;
    Push(std::move(event));
}

bool CServerEventQueue::Take(ServerEvent& out)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_events.empty())
        return false;
    out = std::move(m_events.front());
    m_events.pop_front();
    return true;
}

void CServerEventQueue::Wait(std::chrono::steady_clock::time_point until)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_signal.wait_until(guard, until, [this] { return m_bSignalled; });
    m_bSignalled = false;
}

void CServerEventQueue::Wake()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bSignalled = true;
    }
    m_signal.notify_one();
}

void CServerEventQueue::Clear()
{
    // A reader stopped here queues its close: again until none is left.
    for (;;) {
        std::deque<ServerEvent> dropped;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            dropped.swap(m_events);
        }
        if (dropped.empty())
            return;
        for (ServerEvent& event : dropped) {
            if (event.reader)
                event.reader->Stop();
        }
    }
}
