#include "tests/support/scale_memory.h"

#include <algorithm>
#include <thread>

namespace scalesim {

namespace {

constexpr std::uint16_t kClear = 0x0002;
constexpr std::uint16_t kRecord = 0x0003;
constexpr std::uint16_t kRequestOne = 0x0004;
constexpr std::uint16_t kData = 0x0005;
constexpr std::uint16_t kRequestAll = 0x0006;
constexpr std::uint16_t kAck = 0x0101;
constexpr std::uint16_t kEndOfData = 0x0600;
constexpr std::uint16_t kTaskReset = 0x4120;
constexpr std::uint16_t kResetScale = 0x4130;
constexpr std::uint16_t kNoItem = 0x2028;
constexpr std::uint8_t kTotalResult = 0x3D;

} // namespace

std::uint32_t RecordNumber(const Bytes& payload)
{
    if (payload.size() < 6 || payload[0] == 0x1F || payload[0] == 0x20)
        return 0;
    return static_cast<std::uint32_t>(payload[2] | payload[3] << 8 | payload[4] << 16)
        | static_cast<std::uint32_t>(payload[5]) << 24;
}

std::vector<Bytes> SampleTotals(int items)
{
    // table 1 num:u32 print_cnt:u16 year:u16 month:u8 day:u8 zero[2] price:u32 weight:u32
    auto total = [](std::uint8_t table, std::uint32_t number, std::uint16_t count, std::uint8_t day,
                     std::uint32_t price, std::uint32_t weight) {
        Bytes b { table, 1 };
        auto put = [&b](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        put(number, 4);
        put(count, 2);
        put(2026, 2);
        put(12, 1);
        put(day, 1);
        put(0, 2);
        put(price, 4);
        put(weight, 4);
        return b;
    };
    std::vector<Bytes> totals;
    Bytes whole
        = total(kTotalResult, 1, static_cast<std::uint16_t>(3 * items), 1, 4500u * items, 1200u * items);
    for (std::uint16_t memory : { 500, items, 90, 9 }) {
        whole.push_back(static_cast<std::uint8_t>(memory));
        whole.push_back(static_cast<std::uint8_t>(memory >> 8));
    }
    totals.push_back(whole);
    for (int n = 1; n <= items; ++n) {
        const auto number = static_cast<std::uint32_t>(n);
        totals.push_back(total(kTotalResult + 1, number, 3, 1, 1500 * number, 400 * number));
        totals.push_back(total(kTotalResult + 2, number, 3, 9, 1500 * number, 400 * number));
    }
    for (std::uint8_t day = 7; day <= 9; ++day)
        totals.push_back(
            total(kTotalResult + 3, day, static_cast<std::uint16_t>(items), day, 1500u * day, 400u * day));
    return totals;
}

ScaleMemory::ScaleMemory(Mode mode, std::uint16_t nakCode, std::chrono::microseconds delay)
    : m_mode(mode)
    , m_nakCode(nakCode)
    , m_delay(delay)
{ }

TcpScript ScaleMemory::Script()
{
    return [this](const TcpPacket& packet, std::size_t) {
        TcpReply reply = Answer(packet);
        if (m_mode == Mode::Slow && !reply.writes.empty())
            std::this_thread::sleep_for(m_delay); // the scale's own latency
        if (m_faults.lateNumber != 0 && !m_lateDone && packet.command == kRecord
            && RecordNumber(packet.payload) == m_faults.lateNumber) {
            m_lateDone = true;
            std::this_thread::sleep_for(m_faults.lateBy); // its resend waits in the connection
        }
        return reply;
    };
}

TcpReply ScaleMemory::Answer(const TcpPacket& packet)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_mode == Mode::Silent)
        return TcpReply::Silence();
    if (packet.command == kRecord)
        ++m_records;
    if (m_mode == Mode::Nak)
        return packet.command == kAck ? TcpReply::Silence() : TcpReply::Nak(m_nakCode);
    const Bytes& p = packet.payload;
    switch (packet.command) {
    case kClear:
        if (p.empty())
            return TcpReply::Nak(0x2023);
        ++m_clears[p[0]];
        m_tables[p[0]].clear();
        if (p[0] == kTotalResult) { // clears every total
            for (std::uint8_t t = kTotalResult; t <= kTotalResult + 3; ++t)
                m_tables[t].clear();
        }
        return TcpReply::Ack();
    case kRecord:
        if (p.empty())
            return TcpReply::Nak(0x2023);
        {
            auto& table = m_tables[p[0]];
            std::size_t held = 0;
            for (const auto& [code, records] : m_tables)
                held += code < 0x1F ? records.size() : 0;
            if (m_faults.capacity != 0 && held >= m_faults.capacity && !table.contains(RecordNumber(p)))
                return TcpReply::Nak(0x2025);
            table[RecordNumber(p)] = p;
            TcpReply reply = TcpReply::Ack();
            const auto& strays = m_faults.strayAfter;
            if (m_faults.ackTwice || std::find(strays.begin(), strays.end(), RecordNumber(p)) != strays.end())
                reply.writes.push_back(TcpReply::Packet(kAck));
            return reply;
        }
    case kRequestOne: {
        if (p.size() != 6)
            return TcpReply::Nak(0x2023);
        const auto& table = m_tables[p[0]];
        const std::uint32_t number
            = p[0] == kTotalResult && !table.empty() ? table.begin()->first : RecordNumber(p);
        const auto it = table.find(number);
        TcpReply reply = TcpReply::Ack();
        reply.writes.push_back(
            it == table.end() ? TcpReply::Nak(kNoItem).writes.front() : TcpReply::Packet(kData, it->second));
        return reply;
    }
    case kRequestAll: {
        if (p.size() != 2)
            return TcpReply::Nak(0x2023);
        m_stream.clear();
        for (const auto& [number, record] : m_tables[p[0]])
            m_stream.push_back(record);
        m_streamIndex = 0;
        m_streaming = true;
        TcpReply reply = TcpReply::Ack();
        reply.writes.push_back(NextStreamed());
        return reply;
    }
    case kAck:
        if (!m_streaming)
            return TcpReply::Silence();
        return { { NextStreamed() } };
    case kTaskReset:
        ++m_taskResets;
        return TcpReply::Ack();
    case kResetScale:
        ++m_scaleResets;
        return TcpReply::Ack();
    default:
        return TcpReply::Nak(0x2027);
    }
}

Bytes ScaleMemory::NextStreamed()
{
    if (m_streamIndex < m_stream.size())
        return TcpReply::Packet(kData, m_stream[m_streamIndex++]);
    m_streaming = false;
    return TcpReply::Packet(kEndOfData);
}

std::map<std::uint32_t, Bytes> ScaleMemory::Table(std::uint8_t table) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_tables.find(table);
    return it == m_tables.end() ? std::map<std::uint32_t, Bytes>() : it->second;
}

void ScaleMemory::Put(std::uint8_t table, std::uint32_t number, const Bytes& payload)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_tables[table][number] = payload;
}

int ScaleMemory::Clears(std::uint8_t table) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_clears.find(table);
    return it == m_clears.end() ? 0 : it->second;
}

int ScaleMemory::TaskResets() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_taskResets;
}

int ScaleMemory::ScaleResets() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_scaleResets;
}

std::size_t ScaleMemory::RecordsReceived() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_records;
}

} // namespace scalesim
