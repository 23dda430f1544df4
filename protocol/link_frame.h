#pragma once
// Frames of the RS-232 scale link.
//
//   JoinFrame (14, sent as is):  STX "IDCFM" '0' '0' id[2] '0' '2' sum8(bytes 1-11) ETX
//     the scale's reply has the same shape with bytes 6-7 and 8-9 exchanged;
//     its byte 11 is the scale's version character.
//   LinkFrame:  header[14] payload[length] sum32(header and payload)
//     header := source[2] scale_id[2] pc_id[2] ("20") sequence:u16 command:u16
//               piece_count:u8 piece_number:u8 length:u16
//   On the line: C0 C0 C0 C0, the frame with C0 -> DB DC and DB -> DB DD, C0 C0 C0 C0.
//
// Payloads over 200 bytes go in numbered pieces of 200 (BuildPiece); the
// receiver joins them in a RecordAssembly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/bytes.h"
#include "platform/base/io_status.h"

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kFrameEnd = 0xC0;
inline constexpr std::uint8_t kFrameEscape = 0xDB;
inline constexpr std::uint8_t kEscapedEnd = 0xDC;
inline constexpr std::uint8_t kEscapedEscape = 0xDD;
inline constexpr std::size_t kJoinFrameSize = 14;
inline constexpr std::size_t kLinkHeaderSize = 14;
inline constexpr std::size_t kLinkSumSize = 4;
inline constexpr std::size_t kMinLinkFrameSize = kLinkHeaderSize + kLinkSumSize;
inline constexpr std::size_t kPieceSize = 200;
inline constexpr std::size_t kCaptureSize = 1024; // receiver's capture buffer
inline constexpr std::size_t kTransmitBufferSize = 2048; // an unpieced frame waiting to be sent
inline constexpr std::size_t kMaxFramePayload = kTransmitBufferSize - kMinLinkFrameSize;
inline constexpr std::size_t kAssemblySize = 1000; // a received record, joined from pieces

// Bytes added as unsigned values modulo 256.
std::uint8_t ByteSum8(std::span<const std::uint8_t> bytes);
// Bytes added into an unsigned 32-bit total; only the first count mod 65536 bytes count.
std::uint32_t ByteSum32(std::span<const std::uint8_t> bytes);

// Two ID characters: "" -> "00", "7" -> "07", longer texts keep their first two.
std::array<char, 2> TwoCharId(std::string_view id);

// ---- join --------------------------------------------------------------------

ByteBuffer BuildJoinFrame(std::string_view scaleId);

enum class JoinCheck {
    Accepted,
    BadLength, // not 14 bytes
    Mismatch, // differs from the sent frame
    VersionError, // the scale's version character is above ours (whatever else differs)
};
const char* ToString(JoinCheck check);

// What the user is told of a VersionError, by language index: 1 Korean, 2 and
// 3 English.
const char* VersionErrorText(int language);

// The reply as captured from STX to ETX against the join frame that was sent:
// bytes 0-11 must match with 6-7 and 8-9 exchanged; bytes 12-13 are not checked.
JoinCheck CheckJoinReply(std::span<const std::uint8_t> sent, std::span<const std::uint8_t> reply);

// ---- link frames -------------------------------------------------------------

struct LinkFrameHeader {
    std::array<char, 2> source { '0', '0' }; // "00" from the PC; the replying scale's ID
    std::array<char, 2> scaleId { '0', '0' }; // "99" addresses every scale of a broadcast
    std::array<char, 2> pcId { '2', '0' };
    std::uint16_t sequence = 0;
    std::uint16_t command = 0;
    std::uint8_t pieceCount = 0;
    std::uint8_t pieceNumber = 0;
    std::uint16_t length = 0;

    void EncodeTo(ByteBuffer& out) const;
    static bool Decode(std::span<const std::uint8_t> bytes, LinkFrameHeader& out);
};

// Header (its length set to the payload's), payload and sum, unstuffed. A payload
// over kMaxFramePayload is refused (InvalidArgument) and out left empty.
IoStatus BuildLinkFrame(LinkFrameHeader header, std::span<const std::uint8_t> payload, ByteBuffer& out);

// The line bytes of a frame: delimiters and escapes.
ByteBuffer StuffFrame(std::span<const std::uint8_t> frame);

// Undoes the escapes: DB DC -> C0, DB DD -> DB; DB and any other byte stay as
// they are, both (that byte escapes nothing after it); a DB at the end stays.
ByteBuffer UnstuffFrame(std::span<const std::uint8_t> stuffed);

// True when the last four bytes hold the sum of those before them.
bool CheckFrameSum(std::span<const std::uint8_t> frame);

struct LinkFrame {
    LinkFrameHeader header;
    std::span<const std::uint8_t> payload; // into the frame it was parsed from
};

// An unstuffed frame: BadLength under 18 bytes, BadChecksum on a wrong sum. The
// payload is everything between header and sum; the header's length field is
// kept as received and not relied on.
IoStatus ParseLinkFrame(std::span<const std::uint8_t> frame, LinkFrame& out);

// ---- pieces ------------------------------------------------------------------

// Pieces of a payload: its length / 200 rounded up; 0 or 1 means it goes whole.
std::size_t PieceCount(std::size_t payloadLength);

// Piece k (1-based) of an unpieced frame as built by BuildLinkFrame: its header
// with command 3, piece count and number and the piece's length, the piece's
// bytes and a fresh sum. InvalidArgument when k is out of range or the frame
// does not hold the payload its header announces.
IoStatus BuildPiece(std::span<const std::uint8_t> frame, std::size_t k, ByteBuffer& out);

// ---- sequence numbers --------------------------------------------------------

// One counter per scale link: starts at 1, wraps from 65535 to 1; the clears of
// items, user labels and totals restart it at 0.
class FrameSequence {
public:
    // The number for the next frame.
    std::uint16_t Take();
    void RestartAtZero() { m_next = 0; }

private:
    std::uint32_t m_next = 1;
};

// ---- receiving ---------------------------------------------------------------

// The line decoder, fed one byte at a time: join replies (STX ... ETX) and
// frames between runs of C0. A C0 ends a frame once more than four bytes are
// stored; with four or fewer it is dropped and the stored bytes stay (such a
// fragment then fails the sum of the frame it joins).
class LinkReceiver {
public:
    enum class Event { None, JoinReply, Frame };

    Event Feed(std::uint8_t byte);

    // After JoinReply: the reply from STX to ETX. After Frame: the frame's line
    // bytes, still stuffed (UnstuffFrame). Valid until the next Feed.
    std::span<const std::uint8_t> Captured() const { return { m_capture.data(), m_count }; }
    // Bytes of the current or last capture dropped past kCaptureSize.
    std::size_t Overflow() const { return m_overflow; }
    void Reset();

private:
    enum class State { Idle, Join, Frame };

    void Store(std::uint8_t byte);

    State m_state = State::Idle;
    std::array<std::uint8_t, kCaptureSize> m_capture {};
    std::size_t m_count = 0;
    std::size_t m_overflow = 0;
    bool m_finished = false;
};

// A received record joined from its pieces, at most kAssemblySize bytes.
class RecordAssembly {
public:
    enum class Result {
        Whole, // the record is complete: Record()
        Partial, // a piece was kept; more follow
        Refused, // piece numbers or length out of bounds; nothing kept
    };

    // One data frame's payload with the piece count and number of its header.
    Result Add(std::uint8_t pieceCount, std::uint8_t pieceNumber, std::span<const std::uint8_t> payload);
    std::span<const std::uint8_t> Record() const { return { m_buffer.data(), m_length }; }
    void Clear();

private:
    std::array<std::uint8_t, kAssemblySize> m_buffer {};
    std::size_t m_length = 0;
};
