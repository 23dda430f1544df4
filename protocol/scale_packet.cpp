#include "protocol/scale_packet.h"

#include <algorithm>
#include <cstring>
#include <string_view>

IoStatus EncodePacket(std::uint16_t command, std::span<const std::uint8_t> payload, ByteBuffer& out)
{
    out.clear();
    if (payload.size() > kMaxPacketPayload)
        return IoStatus::Error(IoCode::InvalidArgument,
            "packet payload of " + std::to_string(payload.size()) + " bytes over "
                + std::to_string(kMaxPacketPayload));
    out.reserve(kPacketHeaderSize + payload.size());
    PutU16LE(out, command);
    PutU16LE(out, static_cast<std::uint16_t>(payload.size()));
    PutBytes(out, payload);
    return IoStatus::Ok();
}

ByteBuffer EncodePacket(ScaleCommand command, std::span<const std::uint8_t> payload)
{
    ByteBuffer out;
    // An oversize payload leaves out empty, which LastSentPacket::Keep refuses.
    static_cast<void>(EncodePacket(ToWord(command), payload, out));
    return out;
}

ByteBuffer EncodeClear(TableCode table, std::uint8_t second)
{
    const std::uint8_t payload[] = { ToByte(table), second };
    return EncodePacket(ScaleCommand::Clear, payload);
}

ByteBuffer EncodeRequestOne(TableCode table, std::uint32_t number)
{
    ByteBuffer payload { ToByte(table), 1 };
    PutU32LE(payload, number);
    return EncodePacket(ScaleCommand::RequestOne, payload);
}

ByteBuffer EncodeRequestAll(TableCode table)
{
    const std::uint8_t payload[] = { ToByte(table), 1 };
    return EncodePacket(ScaleCommand::RequestAll, payload);
}

ByteBuffer EncodeNak(std::uint16_t code)
{
    ByteBuffer payload;
    PutU16LE(payload, code);
    return EncodePacket(ScaleCommand::Nak, payload);
}

IoStatus DecodePacket(std::span<const std::uint8_t> block, ScalePacket& out)
{
    ByteReader reader(block);
    std::uint16_t command = 0;
    std::uint16_t length = 0;
    if (!reader.GetU16LE(command) || !reader.GetU16LE(length))
        return IoStatus::Error(
            IoCode::BadLength, "packet of " + std::to_string(block.size()) + " bytes has no header");
    if (length > kMaxPacketPayload)
        return IoStatus::Error(
            IoCode::BadLength, "packet length " + std::to_string(length) + " over the limit");
    if (reader.Remaining() != length)
        return IoStatus::Error(IoCode::BadLength,
            "packet length " + std::to_string(length) + " but " + std::to_string(reader.Remaining())
                + " payload bytes");
    std::span<const std::uint8_t> payload;
    reader.GetBytes(length, payload);
    out.command = command;
    out.payload.assign(payload.begin(), payload.end());
    return IoStatus::Ok();
}

namespace {

// A refusal or an end of data: the packets the scale sends that begin with 0.
bool BeginsZeroLedPacket(std::span<const std::uint8_t> bytes)
{
    ByteReader reader(bytes);
    std::uint16_t command = 0, length = 0;
    if (!reader.GetU16LE(command) || !reader.GetU16LE(length))
        return false;
    return (command == ToWord(ScaleCommand::Nak) && length == 2)
        || (command == ToWord(ScaleCommand::EndOfData) && length == 0);
}

} // namespace

std::size_t GreetingLength(std::span<const std::uint8_t> block)
{
    const std::size_t text = sizeof kScaleGreeting - 1;
    if (block.size() < text || std::memcmp(block.data(), kScaleGreeting, text) != 0)
        return 0;
    std::size_t end = text;
    while (end < block.size() && block[end] == 0 && !BeginsZeroLedPacket(block.subspan(end)))
        ++end;
    return end;
}

bool IsGreeting(std::span<const std::uint8_t> block)
{
    return GreetingLength(block) > 0;
}

ScalePacketFramer::ScalePacketFramer(Start start)
    : m_awaitingGreeting(start == Start::AwaitGreeting)
{ }

void ScalePacketFramer::Feed(std::span<const std::uint8_t> bytes, std::vector<Event>& out)
{
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    if (!m_awaitingGreeting || FindGreeting(out))
        while (Step(out)) { }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start));
    m_start = 0;
}

// Before the greeting nothing has been asked: every byte before "welcome" is
// dropped, wherever in the reads the greeting stands. The NULs that pad it are
// judged on the bytes at hand; those of a later read, before the first packet,
// are judged by Step. Bytes that may begin the greeting wait for the next read.
bool ScalePacketFramer::FindGreeting(std::vector<Event>& out)
{
    const std::string_view text(kScaleGreeting, sizeof kScaleGreeting - 1);
    const std::span<const std::uint8_t> data = std::span<const std::uint8_t>(m_buffer).subspan(m_start);
    const std::string_view held(reinterpret_cast<const char*>(data.data()), data.size());
    std::size_t at = held.find(text);
    if (at == std::string_view::npos) {
        // Keep the longest tail that begins the greeting.
        std::size_t keep = std::min(held.size(), text.size() - 1);
        while (keep > 0 && !text.starts_with(held.substr(held.size() - keep)))
            --keep;
        if (held.size() > keep)
            Drop(held.size() - keep, "bytes before the greeting", out);
        return false;
    }
    if (at > 0)
        Drop(at, "bytes before the greeting", out);
    out.push_back(Event { Kind::Greeting, {}, 0, {} });
    m_awaitingGreeting = false;
    m_padding = true;
    m_start += GreetingLength(data.subspan(at));
    return true;
}

void ScalePacketFramer::DiscardPending(std::vector<Event>& out)
{
    if (Pending() > 0)
        Drop(Pending(), "unfinished packet discarded", out);
    m_buffer.clear();
    m_start = 0;
}

void ScalePacketFramer::Drop(std::size_t count, std::string reason, std::vector<Event>& out)
{
    Event e;
    e.kind = Kind::Dropped;
    e.dropped = count;
    e.reason = std::move(reason);
    out.push_back(std::move(e));
    m_start += count;
}

// Consumes one whole packet from the front of the buffer; false when more bytes
// are needed.
bool ScalePacketFramer::Step(std::vector<Event>& out)
{
    const std::span<const std::uint8_t> data = std::span<const std::uint8_t>(m_buffer).subspan(m_start);
    ByteReader reader(data);
    std::uint16_t command = 0, length = 0;
    if (!reader.GetU16LE(command) || !reader.GetU16LE(length))
        return false;
    if (m_padding && data[0] == 0 && !BeginsZeroLedPacket(data)) {
        ++m_start; // the greeting's padding, come in a later read
        return true;
    }
    m_padding = false;
    if (length > kMaxPacketPayload) {
        Drop(data.size(), "packet length " + std::to_string(length) + " over the limit", out);
        return false;
    }
    std::span<const std::uint8_t> payload;
    if (!reader.GetBytes(length, payload))
        return false;
    Event e;
    e.kind = Kind::Packet;
    e.packet.command = command;
    e.packet.payload.assign(payload.begin(), payload.end());
    out.push_back(std::move(e));
    m_start += kPacketHeaderSize + length;
    return true;
}
