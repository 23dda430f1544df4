#include "tests/support/server_client.h"

#include <chrono>

#include <unistd.h>

namespace scalesim {

namespace {

void Put16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

} // namespace

Bytes DataRequest(std::uint16_t tableKind, std::uint32_t number, std::uint16_t direction)
{
    Bytes out;
    Put16(out, 0x001F);
    Put16(out, tableKind);
    Put16(out, direction);
    Put16(out, 0);
    out.insert(out.end(), 6, 0);
    Put32(out, number);
    Put16(out, 0);
    return out;
}

Bytes SaleMessage(bool cancel, std::uint32_t itemNumber, std::int32_t price, std::int32_t weight)
{
    Bytes out;
    Put16(out, cancel ? 0x003D : 0x0031);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    for (std::uint8_t b = 1; b <= 6; ++b) // reserved bytes the reply must echo
        out.push_back(b);
    Put32(out, 0);
    Put16(out, 22);
    out.push_back(0xEE);
    out.push_back(0xEE);
    Put32(out, itemNumber);
    out.insert(out.end(), 8, 0xEE);
    Put32(out, static_cast<std::uint32_t>(price));
    Put32(out, static_cast<std::uint32_t>(weight));
    return out;
}

unsigned FreeServerPort(const char* address)
{
    unsigned port = 1500 + static_cast<unsigned>(getpid()) % 6000;
    for (CSocket probe; !probe.Listen(address, port).ok(); probe.Close())
        port = port >= 8000 ? 1500 : port + 1;
    return port;
}

int ReportUntilAcknowledged(
    const std::string& address, unsigned port, const Bytes& sale, int waitMs, int tries, bool& acknowledged)
{
    acknowledged = false;
    int sends = 0;
    while (sends < tries && !acknowledged) {
        ServerClient scale;
        if (!scale.Connect(address, port) || !scale.Send(sale))
            return sends;
        ++sends;
        acknowledged = scale.WaitForReplies(1, waitMs);
    }
    return sends;
}

ServerClient::~ServerClient()
{
    Close();
}

bool ServerClient::Connect(const std::string& address, unsigned port, int timeoutMs, const std::string& from)
{
    if (!m_socket.Connect(address.c_str(), port, timeoutMs, from.empty() ? nullptr : from.c_str()).ok())
        return false;
    m_thread = std::thread([this] { Collect(); });
    return true;
}

bool ServerClient::Send(const Bytes& bytes)
{
    return m_socket.Send(bytes, 5000).ok();
}

void ServerClient::Close()
{
    m_socket.ShutDown();
    if (m_thread.joinable())
        m_thread.join();
    m_socket.Close();
}

void ServerClient::Collect()
{
    std::uint8_t buffer[2048];
    for (;;) {
        std::size_t received = 0;
        const IoStatus status = m_socket.Receive(buffer, received, -1);
        std::lock_guard<std::mutex> guard(m_lock);
        if (!status.ok() || received == 0) {
            m_peerClosed = true;
            m_changed.notify_all();
            return;
        }
        m_received.insert(m_received.end(), buffer, buffer + received);
        m_changed.notify_all();
    }
}

std::size_t ServerClient::ReplyCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received.size() / kServerReplyBytes;
}

std::vector<Bytes> ServerClient::Replies() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<Bytes> replies;
    for (std::size_t at = 0; at + kServerReplyBytes <= m_received.size(); at += kServerReplyBytes)
        replies.emplace_back(m_received.begin() + static_cast<std::ptrdiff_t>(at),
            m_received.begin() + static_cast<std::ptrdiff_t>(at + kServerReplyBytes));
    return replies;
}

std::size_t ServerClient::ReceivedByteCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received.size();
}

bool ServerClient::PeerClosed() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_peerClosed;
}

bool ServerClient::WaitForReplies(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_received.size() / kServerReplyBytes >= count || m_peerClosed;
    }) && m_received.size() / kServerReplyBytes >= count;
}

PacedScale::PacedScale(unsigned port, std::int32_t firstPrice, int pauseMs, int waitMs)
    : m_port(port)
    , m_pauseMs(pauseMs)
    , m_waitMs(waitMs)
    , m_price(firstPrice)
    , m_thread([this] { Run(); })
{ }

PacedScale::~PacedScale()
{
    Stop();
}

void PacedScale::Stop()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void PacedScale::Run()
{
    auto client = std::make_unique<ServerClient>();
    bool connected = client->Connect("127.0.0.1", m_port);
    for (bool first = true;; first = false) {
        if (!first) {
            std::unique_lock<std::mutex> guard(m_lock);
            if (m_wake.wait_for(guard, std::chrono::milliseconds(m_pauseMs), [this] { return m_bStop; }))
                return;
        }
        const Bytes sale = SaleMessage(false, 77, m_price, 1);
        for (bool again = false;; again = true) {
            if (!connected || client->PeerClosed()) {
                client = std::make_unique<ServerClient>();
                connected = client->Connect("127.0.0.1", m_port);
                std::lock_guard<std::mutex> guard(m_lock);
                ++m_reconnects;
            }
            if (again) {
                std::lock_guard<std::mutex> guard(m_lock);
                ++m_resends;
            }
            const std::size_t before = client->ReplyCount();
            if (connected && client->Send(sale) && client->WaitForReplies(before + 1, m_waitMs))
                break;
            connected = false; // a scale that got no reply tries a new connection
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_bStop)
                return;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_acked.push_back(m_price++);
    }
}

std::vector<std::int32_t> PacedScale::AckedPrices() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_acked;
}

int PacedScale::Resends() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_resends;
}

int PacedScale::Reconnects() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_reconnects;
}

} // namespace scalesim
