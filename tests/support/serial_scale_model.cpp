#include "tests/support/serial_scale_model.h"

namespace scalesim {

namespace {

constexpr std::uint16_t kClear = 0x0002;
constexpr std::uint16_t kRecord = 0x0003;
constexpr std::uint16_t kRequestOne = 0x0004;
constexpr std::uint16_t kData = 0x0005;
constexpr std::uint16_t kRequestAll = 0x0006;
constexpr std::uint16_t kNak = 0x0100;
constexpr std::uint16_t kAck = 0x0101;
constexpr std::uint16_t kEndJoin = 0x0400;
constexpr std::uint16_t kBroadStart = 0x0500;
constexpr std::uint16_t kStatusRequest = 0x0501;
constexpr std::uint16_t kStatusReply = 0x0502;
constexpr std::uint16_t kEndOfData = 0x0600;
constexpr std::uint16_t kNoItem = 0x2028;
constexpr std::size_t kPiece = 200;
constexpr std::uint8_t kTotalsFirst = 0x3D;
constexpr std::uint8_t kTotalsLast = 0x40;

std::uint32_t NumberOf(const Bytes& payload)
{
    if (payload.size() < 6)
        return 0;
    return payload[2] | payload[3] << 8 | payload[4] << 16 | static_cast<std::uint32_t>(payload[5]) << 24;
}

Bytes U16Pair(std::uint16_t a, std::uint16_t b)
{
    return { static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(b),
        static_cast<std::uint8_t>(b >> 8) };
}

// A frame of SerialReply::Frame carrying number at header bytes 6-7, its sum
// kept as it was (right or spoiled).
Bytes Numbered(const Bytes& line, std::uint16_t number)
{
    constexpr std::uint8_t kEnd = 0xC0;
    constexpr std::uint8_t kEsc = 0xDB;
    Bytes frame;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kEnd)
            continue;
        if (line[i] == kEsc && i + 1 < line.size())
            frame.push_back(line[++i] == 0xDC ? kEnd : kEsc);
        else
            frame.push_back(line[i]);
    }
    if (frame.size() < 18)
        return line;
    const std::uint32_t added = (number & 0xFF) + (number >> 8) - frame[6] - frame[7];
    frame[6] = static_cast<std::uint8_t>(number);
    frame[7] = static_cast<std::uint8_t>(number >> 8);
    const std::size_t at = frame.size() - 4;
    std::uint32_t sum = frame[at] | frame[at + 1] << 8 | frame[at + 2] << 16
        | static_cast<std::uint32_t>(frame[at + 3]) << 24;
    sum += added;
    for (int i = 0; i < 4; ++i)
        frame[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sum >> (8 * i));
    Bytes out(4, kEnd);
    for (std::uint8_t b : frame)
        b == kEnd || b == kEsc
            ? out.insert(out.end(), { kEsc, b == kEnd ? std::uint8_t { 0xDC } : std::uint8_t { 0xDD } })
            : out.insert(out.end(), b);
    out.insert(out.end(), 4, kEnd);
    return out;
}

} // namespace

Bytes AnswerFrame(const std::string& id, std::uint16_t command, const Bytes& payload, const SerialFrame& to)
{
    return Numbered(SerialReply::Frame(id, command, payload), to.sequence);
}

SerialScaleCore::SerialScaleCore(std::set<std::string> ids)
{
    for (const std::string& id : ids)
        m_scales[id];
}

void SerialScaleCore::SetVersion(const std::string& id, char version)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_scales[id].version = version;
}

void SerialScaleCore::Put(const std::string& id, const Bytes& payload)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!payload.empty())
        m_scales[id].tables[payload[0]][NumberOf(payload)] = payload;
}

void SerialScaleCore::SetCorrupt(std::function<bool(const SerialFrame&)> corrupt)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_corrupt = std::move(corrupt);
}

void SerialScaleCore::SetDropped(std::function<bool(const std::string&, const SerialFrame&)> dropped)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_dropped = std::move(dropped);
}

void SerialScaleCore::SetRefusal(std::function<std::optional<std::uint16_t>(const SerialFrame&)> refusal)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_refusal = std::move(refusal);
}

SerialScaleCore::Tables SerialScaleCore::TablesOf(const std::string& id) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_scales.find(id);
    return it == m_scales.end() ? Tables {} : it->second.tables;
}

std::vector<std::string> SerialScaleCore::Joined() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_joined;
}

std::vector<std::uint16_t> SerialScaleCore::CommandsTo(const std::string& id) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_scales.find(id);
    return it == m_scales.end() ? std::vector<std::uint16_t> {} : it->second.commands;
}

Bytes SerialScaleCore::Reply(const std::string& id, std::uint16_t command, const Bytes& payload,
    const SerialFrame& to, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    const bool badSum = m_corrupt && m_corrupt(to);
    // Answers carry the number of the frame they answer.
    return Numbered(SerialReply::Frame(id, command, payload, pieceCount, pieceNumber, badSum), to.sequence);
}

SerialReply SerialScaleCore::Answer(const SerialFrame& frame)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (frame.join) {
        const auto it = m_scales.find(frame.scaleId);
        if (it == m_scales.end())
            return SerialReply::Silence();
        it->second.joined = true;
        it->second.outgoing.clear();
        m_joined.push_back(frame.scaleId);
        return SerialReply::JoinReply(frame, it->second.version);
    }
    if (!frame.sumOk)
        return SerialReply::Silence();
    if (frame.scaleId == "99") {
        SerialReply reply;
        for (auto& [id, scale] : m_scales) {
            if (!scale.joined)
                continue;
            SerialReply own = FromScale(id, scale, frame);
            if (id == m_first)
                reply = std::move(own);
        }
        return reply;
    }
    const auto it = m_scales.find(frame.scaleId);
    if (it == m_scales.end())
        return SerialReply::Silence();
    return FromScale(it->first, it->second, frame);
}

SerialReply SerialScaleCore::FromScale(const std::string& id, Scale& scale, const SerialFrame& frame)
{
    scale.commands.push_back(frame.command);
    if (m_refusal) {
        if (const std::optional<std::uint16_t> code = m_refusal(frame)) {
            Bytes payload { static_cast<std::uint8_t>(*code), static_cast<std::uint8_t>(*code >> 8) };
            return { { Reply(id, kNak, payload, frame) } };
        }
    }
    const Bytes ack = Reply(id, kAck, {}, frame);
    switch (frame.command) {
    case kClear:
        if (!frame.payload.empty()) {
            const std::uint8_t table = frame.payload[0];
            if (table == kTotalsFirst) {
                for (std::uint8_t t = kTotalsFirst; t <= kTotalsLast; ++t)
                    scale.tables.erase(t);
            } else {
                scale.tables.erase(table);
            }
        }
        return { { ack } };
    case kRecord:
        if (!m_dropped || !m_dropped(id, frame))
            Store(scale, frame);
        return { { ack } };
    case kEndJoin:
        scale.joined = false;
        scale.outgoing.clear();
        return { { ack } };
    case kBroadStart:
        if (!frame.payload.empty() && frame.payload[0] == 1)
            m_first = id;
        return { { ack } };
    case kStatusRequest: {
        std::size_t records = 0;
        for (const auto& [code, table] : scale.tables)
            records += table.size();
        return { { Reply(id, kStatusReply, U16Pair(static_cast<std::uint16_t>(records), 0), frame) } };
    }
    case kRequestAll:
    case kRequestOne: {
        scale.outgoing.clear();
        SerialReply reply { { ack } };
        const std::uint8_t table = frame.payload.empty() ? 0 : frame.payload[0];
        const Table& records = scale.tables[table];
        if (frame.command == kRequestAll) {
            for (const auto& [number, payload] : records)
                QueueRecord(id, scale, payload);
            scale.endAfterOutgoing = true;
        } else {
            const auto found = records.find(NumberOf(frame.payload));
            scale.endAfterOutgoing = false;
            if (found == records.end()) {
                reply.writes.push_back(Reply(id, kNak, { kNoItem & 0xFF, kNoItem >> 8 }, frame));
                return reply;
            }
            QueueRecord(id, scale, found->second);
        }
        if (!scale.outgoing.empty()) {
            reply.writes.push_back(scale.outgoing.front());
            scale.outgoing.pop_front();
        } else if (scale.endAfterOutgoing) {
            scale.endAfterOutgoing = false;
            reply.writes.push_back(Reply(id, kEndOfData, {}, frame));
        }
        return reply;
    }
    case kAck:
        if (!scale.outgoing.empty()) {
            Bytes next = scale.outgoing.front();
            scale.outgoing.pop_front();
            return { { next } };
        }
        if (scale.endAfterOutgoing) {
            scale.endAfterOutgoing = false;
            return { { Reply(id, kEndOfData, {}, frame) } };
        }
        return SerialReply::Silence();
    default:
        return { { ack } };
    }
}

void SerialScaleCore::Store(Scale& scale, const SerialFrame& frame)
{
    if (frame.pieceCount == 0) {
        if (!frame.payload.empty())
            scale.tables[frame.payload[0]][NumberOf(frame.payload)] = frame.payload;
        return;
    }
    if (frame.pieceNumber == 1)
        scale.assembly.clear();
    scale.assembly.insert(scale.assembly.end(), frame.payload.begin(), frame.payload.end());
    if (frame.pieceNumber == frame.pieceCount && !scale.assembly.empty()) {
        scale.tables[scale.assembly[0]][NumberOf(scale.assembly)] = scale.assembly;
        scale.assembly.clear();
    }
}

void SerialScaleCore::QueueRecord(const std::string& id, Scale& scale, const Bytes& payload)
{
    if (payload.size() <= kPiece) {
        scale.outgoing.push_back(SerialReply::Frame(id, kData, payload));
        return;
    }
    const std::size_t count = (payload.size() + kPiece - 1) / kPiece;
    for (std::size_t k = 0; k < count; ++k) {
        const auto begin = payload.begin() + static_cast<std::ptrdiff_t>(k * kPiece);
        const auto end = k + 1 == count ? payload.end() : begin + static_cast<std::ptrdiff_t>(kPiece);
        scale.outgoing.push_back(SerialReply::Frame(id, kData, Bytes(begin, end),
            static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(k + 1)));
    }
}

} // namespace scalesim
