#pragma once
// The scale packet of the TCP protocol (all numbers little-endian):
//
//   packet  := command:u16 length:u16 payload[length]
//   greeting := "welcome" NUL*           (sent once by the scale after accept)
//
// A packet never exceeds kMaxPacketSize bytes in all. TCP gives a byte stream:
// ScalePacketFramer cuts it into whole packets, whatever the reads hold (half a
// packet, or a packet and the next). Before the greeting every byte is dropped;
// the greeting is found wherever it stands, with the NULs that pad it, and what
// follows it is packets.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/io_status.h"
#include "protocol/scale_codes.h"

inline constexpr std::size_t kPacketHeaderSize = 4;
inline constexpr std::size_t kMaxPacketSize = 2048;
inline constexpr std::size_t kMaxPacketPayload = kMaxPacketSize - kPacketHeaderSize;
inline constexpr char kScaleGreeting[] = "welcome";

struct ScalePacket {
    std::uint16_t command = 0;
    ByteBuffer payload;

    bool Is(ScaleCommand c) const { return command == ToWord(c); }
};

// Header and payload in one buffer. A payload over kMaxPacketPayload is refused
// (InvalidArgument) and out is left empty.
IoStatus EncodePacket(std::uint16_t command, std::span<const std::uint8_t> payload, ByteBuffer& out);
ByteBuffer EncodePacket(ScaleCommand command, std::span<const std::uint8_t> payload = {});

// Packets of the protocol's fixed shapes.
ByteBuffer EncodeClear(TableCode table, std::uint8_t second = 1);
ByteBuffer EncodeRequestOne(TableCode table, std::uint32_t number);
ByteBuffer EncodeRequestAll(TableCode table);
ByteBuffer EncodeNak(std::uint16_t code);

// Decodes exactly one packet that fills the whole block. BadLength when the
// block is shorter than a header, its length field disagrees with the block, or
// the length is over the limit.
IoStatus DecodePacket(std::span<const std::uint8_t> block, ScalePacket& out);

// Bytes of the greeting at the front of the block: "welcome" and the NULs
// that pad it; 0 when the block does not begin with "welcome". No command is
// 0, so a NUL is padding unless it begins a packet the scale sends with a
// zero first byte (a refusal, the end of data).
std::size_t GreetingLength(std::span<const std::uint8_t> block);
// True when the block begins with the greeting.
bool IsGreeting(std::span<const std::uint8_t> block);

// Cuts a TCP byte stream into the greeting and whole packets.
class ScalePacketFramer {
public:
    enum class Kind { Greeting, Packet, Dropped };
    struct Event {
        Kind kind = Kind::Packet;
        ScalePacket packet; // Kind::Packet
        std::size_t dropped = 0; // Kind::Dropped: bytes thrown away
        std::string reason; // Kind::Dropped: why
    };
    enum class Start { AwaitGreeting, Packets };

    explicit ScalePacketFramer(Start start = Start::AwaitGreeting);

    // Takes one read's bytes and adds one event per greeting, whole packet or
    // run of dropped bytes to out, in stream order. Until the greeting has come
    // (Start::AwaitGreeting), the bytes before "welcome" are dropped and the
    // greeting (GreetingLength bytes) is found wherever it stands, also across
    // reads; the bytes after it are packet bytes. A
    // packet whose length field is over the limit cannot be delimited: every
    // buffered byte is dropped.
    void Feed(std::span<const std::uint8_t> bytes, std::vector<Event>& out);

    // Bytes of an unfinished packet (or greeting) waiting for the rest.
    std::size_t Pending() const { return m_buffer.size() - m_start; }

    // Throws away an unfinished packet, e.g. when its reply time ran out; adds a
    // Dropped event when there was one.
    void DiscardPending(std::vector<Event>& out);

private:
    bool Step(std::vector<Event>& out);
    // True once the greeting has been taken from the buffer.
    bool FindGreeting(std::vector<Event>& out);
    void Drop(std::size_t count, std::string reason, std::vector<Event>& out);

    bool m_awaitingGreeting;
    bool m_padding = false; // NULs after the greeting, up to the first packet, pad it
    ByteBuffer m_buffer;
    std::size_t m_start = 0; // bytes of m_buffer already consumed during Feed
};
