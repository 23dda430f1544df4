#include "tests/support/scale_sim.h"

#include <unistd.h>

#include <array>
#include <chrono>

namespace scalesim {

namespace {

// Short waits inside the simulator's own loops, so that Stop is seen even if a
// wake-up is missed; they never delay an answer.
constexpr int kLoopWaitMs = 200;

void PutU16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint16_t U16At(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

template <typename Pred>
bool WaitUntil(std::mutex& lock, std::condition_variable& changed, int timeoutMs, Pred ready)
{
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), ready);
}

} // namespace

// ---- TCP replies -------------------------------------------------------------

Bytes TcpReply::Packet(std::uint16_t command, const Bytes& payload)
{
    Bytes out;
    PutU16(out, command);
    PutU16(out, static_cast<std::uint16_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

TcpReply TcpReply::Ack()
{
    return { { Packet(0x0101) } };
}

TcpReply TcpReply::Nak(std::uint16_t code)
{
    Bytes payload;
    PutU16(payload, code);
    return { { Packet(0x0100, payload) } };
}

TcpReply TcpReply::Data(const Bytes& payload)
{
    return { { Packet(0x0005, payload) } };
}
TcpReply TcpReply::EndOfData()
{
    return { { Packet(0x0600) } };
}
TcpReply TcpReply::Silence()
{
    return {};
}

TcpReply TcpReply::Merged(const std::vector<Bytes>& packets)
{
    Bytes all;
    for (const Bytes& p : packets)
        all.insert(all.end(), p.begin(), p.end());
    return { { all } };
}

TcpReply TcpReply::Split(const Bytes& bytes, std::size_t at)
{
    TcpReply r;
    r.writes.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    r.writes.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    r.holdAfterFirst = true;
    return r;
}

TcpReply AckEverything(const TcpPacket&, std::size_t)
{
    return TcpReply::Ack();
}

// ---- TCP scale ---------------------------------------------------------------

TcpScale::~TcpScale()
{
    Stop();
}

namespace {

// The first 127.0.0.x, x from 2 to 253, that take() takes, or "". Test
// processes run side by side: each begins at an address of its own (plus
// offset, so switched-off scales keep apart from live ones).
template <typename Take> std::string FreeAddress(unsigned offset, Take take)
{
    const unsigned first = static_cast<unsigned>(getpid()) % 200 + offset;
    for (unsigned i = 0; i < 250; ++i) {
        const std::string address = "127.0.0." + std::to_string(2 + (first + i) % 252);
        if (take(address))
            return address;
    }
    return "";
}

} // namespace

bool TcpScale::Start(TcpScript script, Greeting greeting)
{
    Stop();
    m_script = std::move(script);
    m_greeting = greeting;
    m_stopping = false;
    m_address = FreeAddress(0,
        [this](const std::string& address) { return m_listener.Listen(address.c_str(), kScalePort).ok(); });
    if (m_address.empty())
        return false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

bool OffScale::Start()
{
    m_address = FreeAddress(
        97, [this](const std::string& address) { return m_holder.Bind(address.c_str(), kScalePort).ok(); });
    return !m_address.empty();
}

bool TcpScale::StartAt(const std::string& address, unsigned port, TcpScript script, Greeting greeting)
{
    Stop();
    m_script = std::move(script);
    m_greeting = greeting;
    m_stopping = false;
    if (!m_listener.Listen(address.c_str(), port).ok())
        return false;
    m_address = address;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void TcpScale::Stop()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
        if (m_connection != nullptr)
            m_connection->ShutDown();
    }
    m_listener.ShutDown();
    if (m_thread.joinable())
        m_thread.join();
    m_listener.Close();
}

void TcpScale::Serve()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_stopping)
                return;
        }
        CSocket connection;
        const IoStatus s = m_listener.Accept(connection, kLoopWaitMs);
        if (s.Code() == IoCode::Timeout)
            continue;
        if (!s.ok())
            return;
        Converse(connection);
    }
}

void TcpScale::Converse(CSocket& connection)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stopping)
            return;
        m_connection = &connection;
        ++m_connections;
        m_held.clear();
        m_releaseEarly = false;
    }
    m_changed.notify_all();
    if (m_greeting != Greeting::None) {
        Bytes hello { 'w', 'e', 'l', 'c', 'o', 'm', 'e' };
        if (m_greeting == Greeting::WelcomeNul)
            hello.push_back(0);
        if (m_greeting == Greeting::WelcomeNuls)
            hello.insert(hello.end(), 9, 0);
        hello.insert(hello.end(), m_greetingTail.begin(), m_greetingTail.end());
        hello.insert(hello.begin(), m_greetingHead.begin(), m_greetingHead.end());
        std::lock_guard<std::mutex> guard(m_lock);
        // A scale does not care whether its greeting arrived.
        static_cast<void>(connection.Send(hello, 1000));
    }
    Bytes pending;
    std::array<std::uint8_t, 4096> chunk;
    bool open = true;
    while (open) {
        std::size_t got = 0;
        const IoStatus s = connection.Receive(chunk, got, kLoopWaitMs);
        if (s.Code() == IoCode::Timeout) {
            std::lock_guard<std::mutex> guard(m_lock);
            open = !m_stopping;
            continue;
        }
        if (!s.ok())
            break;
        pending.insert(pending.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_receivedBytes.insert(
                m_receivedBytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        }
        while (open && pending.size() >= 4 && pending.size() >= 4u + U16At(pending, 2)) {
            const std::size_t length = 4u + U16At(pending, 2);
            TcpPacket packet { U16At(pending, 0),
                Bytes(pending.begin() + 4, pending.begin() + static_cast<std::ptrdiff_t>(length)) };
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
            std::size_t index;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                index = m_received.size();
                m_received.push_back(packet);
            }
            m_changed.notify_all();
            const TcpReply reply = m_script ? m_script(packet, index) : TcpReply::Silence();
            std::lock_guard<std::mutex> guard(m_lock);
            // A Release() that came before this reply was ready frees its writes at once.
            const bool hold = reply.holdAfterFirst && !m_releaseEarly;
            if (reply.holdAfterFirst)
                m_releaseEarly = false;
            for (std::size_t i = 0; i < reply.writes.size(); ++i) {
                if (i > 0 && hold)
                    m_held.push_back(reply.writes[i]);
                else
                    static_cast<void>(connection.Send(reply.writes[i], 1000)); // a gone client is the test's
            }
            if (reply.reset)
                connection.Abort();
            if (reply.close || reply.reset)
                open = false;
        }
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_connection = nullptr;
    }
    connection.Close();
    m_changed.notify_all();
}

void TcpScale::Release()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_held.empty())
        m_releaseEarly = true;
    if (m_connection != nullptr) {
        for (const Bytes& b : m_held)
            static_cast<void>(m_connection->Send(b, 1000)); // a gone client is the test's
    }
    m_held.clear();
}

bool TcpScale::SendNow(const Bytes& bytes)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_connection != nullptr && m_connection->Send(bytes, 1000).ok();
}

void TcpScale::Disconnect()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_connection != nullptr)
        m_connection->ShutDown();
}

std::vector<TcpPacket> TcpScale::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return { m_received.begin(), m_received.end() };
}

Bytes TcpScale::ReceivedBytes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return { m_receivedBytes.begin(), m_receivedBytes.end() };
}

std::size_t TcpScale::Connections() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_connections;
}

bool TcpScale::WaitForPackets(std::size_t count, int timeoutMs) const
{
    return WaitUntil(m_lock, m_changed, timeoutMs, [&] { return m_received.size() >= count; });
}

bool TcpScale::WaitForConnections(std::size_t count, int timeoutMs) const
{
    return WaitUntil(m_lock, m_changed, timeoutMs, [&] { return m_connections >= count; });
}

std::vector<std::uint16_t> Commands(const TcpScale& scale)
{
    std::vector<std::uint16_t> out;
    for (const TcpPacket& p : scale.Received())
        out.push_back(p.command);
    return out;
}

// ---- serial replies ----------------------------------------------------------

namespace {

constexpr std::uint8_t kEnd = 0xC0;
constexpr std::uint8_t kEsc = 0xDB;

Bytes Stuff(const Bytes& frame)
{
    Bytes out(4, kEnd);
    for (std::uint8_t b : frame) {
        if (b == kEnd || b == kEsc) {
            out.push_back(kEsc);
            out.push_back(b == kEnd ? 0xDC : 0xDD);
        } else {
            out.push_back(b);
        }
    }
    out.insert(out.end(), 4, kEnd);
    return out;
}

Bytes Unstuff(const Bytes& line)
{
    Bytes out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kEsc && i + 1 < line.size() && (line[i + 1] == 0xDC || line[i + 1] == 0xDD)) {
            out.push_back(line[++i] == 0xDC ? kEnd : kEsc);
        } else {
            out.push_back(line[i]);
        }
    }
    return out;
}

std::uint32_t Sum32(const Bytes& bytes, std::size_t count)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return sum;
}

std::string Id(const std::string& id)
{
    return id.size() >= 2 ? id.substr(0, 2) : "0" + (id.empty() ? "0" : id);
}

} // namespace

SerialReply SerialReply::Silence()
{
    return {};
}
SerialReply SerialReply::Raw(Bytes bytes)
{
    return { { std::move(bytes) } };
}

SerialReply SerialReply::JoinReply(const SerialFrame& join, char version)
{
    Bytes r = join.bytes;
    if (r.size() != 14)
        return {};
    std::swap(r[6], r[8]);
    std::swap(r[7], r[9]);
    r[11] = static_cast<std::uint8_t>(version);
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i <= 11; ++i)
        sum = static_cast<std::uint8_t>(sum + r[i]);
    r[12] = sum;
    return { { r } };
}

Bytes SerialReply::Frame(const std::string& scaleId, std::uint16_t command, const Bytes& payload,
    std::uint8_t pieceCount, std::uint8_t pieceNumber, bool badSum)
{
    const std::string id = Id(scaleId);
    Bytes frame { static_cast<std::uint8_t>(id[0]), static_cast<std::uint8_t>(id[1]), '0', '0', '2', '0' };
    PutU16(frame, 0);
    PutU16(frame, command);
    frame.push_back(pieceCount);
    frame.push_back(pieceNumber);
    PutU16(frame, static_cast<std::uint16_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    std::uint32_t sum = Sum32(frame, frame.size()) + (badSum ? 1 : 0);
    for (int i = 0; i < 4; ++i)
        frame.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    return Stuff(frame);
}

SerialReply SerialReply::Ack(const std::string& scaleId)
{
    return { { Frame(scaleId, 0x0101, {}) } };
}

SerialReply SerialReply::Nak(const std::string& scaleId, std::uint16_t code)
{
    Bytes payload;
    PutU16(payload, code);
    return { { Frame(scaleId, 0x0100, payload) } };
}

SerialReply SerialReply::Data(
    const std::string& scaleId, const Bytes& payload, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    return { { Frame(scaleId, 0x0005, payload, pieceCount, pieceNumber) } };
}

SerialReply JoinAndAckEverything(const SerialFrame& frame, std::size_t)
{
    return frame.join ? SerialReply::JoinReply(frame) : SerialReply::Ack("07");
}

// ---- serial scale ------------------------------------------------------------

SerialScale::~SerialScale()
{
    Stop();
}

bool SerialScale::Start(SerialScript script)
{
    Stop();
    m_script = std::move(script);
    m_state = State::Idle;
    m_capture.clear();
    if (!m_line.Open().ok())
        return false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void SerialScale::Stop()
{
    m_line.Interrupt();
    if (m_thread.joinable())
        m_thread.join();
    m_line.Close();
}

void SerialScale::Serve()
{
    std::array<std::uint8_t, 1024> chunk;
    for (;;) {
        std::size_t got = 0;
        const IoStatus s = m_line.Read(chunk, got, kLoopWaitMs);
        if (s.Code() == IoCode::Timeout)
            continue;
        if (!s.ok())
            return;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_receivedBytes.insert(
                m_receivedBytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        }
        m_changed.notify_all();
        for (std::size_t i = 0; i < got; ++i)
            Decode(chunk[i]);
    }
}

void SerialScale::Decode(std::uint8_t byte)
{
    switch (m_state) {
    case State::Idle:
        if (byte == 0x02) {
            m_state = State::Join;
            m_capture.assign(1, byte);
        } else if (byte == kEnd) {
            m_state = State::Frame;
            m_capture.clear();
        }
        return;
    case State::Join:
        m_capture.push_back(byte);
        if (m_capture.size() == 14) { // a join frame has its fixed length
            m_state = State::Idle;
            SerialFrame f;
            f.join = true;
            f.bytes = m_capture;
            f.scaleId = std::string(m_capture.begin() + 8, m_capture.begin() + 10);
            Finish(std::move(f));
        }
        return;
    case State::Frame:
        if (byte == 0x02 && m_capture.empty()) {
            // Between frames (after a delimiter run) a join frame starts.
            m_state = State::Join;
            m_capture.assign(1, byte);
            return;
        }
        if (byte != kEnd) {
            if (m_capture.size() < 8192)
                m_capture.push_back(byte);
            return;
        }
        if (m_capture.empty())
            return; // delimiter run
        SerialFrame f;
        f.bytes = Unstuff(m_capture);
        m_capture.clear();
        m_state = State::Idle;
        const Bytes& b = f.bytes;
        if (b.size() >= 18) {
            const std::size_t body = b.size() - 4;
            const std::uint32_t sent = b[body] | b[body + 1] << 8 | b[body + 2] << 16
                | static_cast<std::uint32_t>(b[body + 3]) << 24;
            f.sumOk = sent == Sum32(b, body);
            f.scaleId = std::string(b.begin() + 2, b.begin() + 4);
            f.sequence = U16At(b, 6);
            f.command = U16At(b, 8);
            f.pieceCount = b[10];
            f.pieceNumber = b[11];
            f.payload.assign(b.begin() + 14, b.begin() + static_cast<std::ptrdiff_t>(body));
        }
        Finish(std::move(f));
        return;
    }
}

void SerialScale::Finish(SerialFrame frame)
{
    std::size_t index;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        index = m_received.size();
        m_received.push_back(frame);
    }
    m_changed.notify_all();
    const SerialReply reply = m_script ? m_script(frame, index) : SerialReply::Silence();
    for (const Bytes& w : reply.writes)
        static_cast<void>(m_line.Write(w, 1000)); // a closed line is the test's
}

bool SerialScale::SendNow(const Bytes& bytes)
{
    return m_line.Write(bytes, 1000).ok();
}

std::vector<SerialFrame> SerialScale::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

Bytes SerialScale::ReceivedBytes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_receivedBytes;
}

bool SerialScale::WaitForFrames(std::size_t count, int timeoutMs) const
{
    return WaitUntil(m_lock, m_changed, timeoutMs, [&] { return m_received.size() >= count; });
}

bool SerialScale::WaitForBytes(std::size_t count, int timeoutMs) const
{
    return WaitUntil(m_lock, m_changed, timeoutMs, [&] { return m_receivedBytes.size() >= count; });
}

} // namespace scalesim
