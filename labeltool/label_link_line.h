#pragma once
// The label tool's reading of the RS-232 line, byte by byte.
//
// Before the join, replies are collected from STX: every byte is stored (the
// count wraps to 0 past 13) and an ETX that arrives with 13 bytes stored
// closes a 14-byte reply. After the join, a frame starts at the first byte
// other than C0 and ends at the next C0; DB DC stands for C0 and DB DD for
// DB. A frame is taken when it holds 18 to 218 bytes and no bad escape.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr std::size_t kLabelLineCapacity = 218;

class LabelLineDecoder {
public:
    enum class Event { None, JoinReply, Frame };

    // One byte of the line; joined tells which reading applies.
    Event Feed(std::uint8_t byte, bool joined);
    // After JoinReply the 14 reply bytes, after Frame the unstuffed frame;
    // valid until the next Feed.
    std::span<const std::uint8_t> Captured() const { return { m_buffer.data(), m_captured }; }
    // Forgets a reply or frame under way (before a send, after a refusal).
    void Clear();
    // Stops collecting join replies until the next STX.
    void StopCollecting() { m_collecting = false; }

private:
    Event FeedJoin(std::uint8_t byte);
    Event FeedFrame(std::uint8_t byte);
    void Store(std::uint8_t byte);

    enum class Framing { Waiting, Inside, Ended };

    std::array<std::uint8_t, kLabelLineCapacity> m_buffer {};
    std::size_t m_count = 0;
    std::size_t m_captured = 0;
    int m_errors = 0;
    bool m_escape = false;
    bool m_collecting = false;
    Framing m_framing = Framing::Waiting;
};

// What a closed join reply means for the join that was sent.
enum class JoinVerdict {
    Ignored, // another scale's (in Multi mode), not ours, or not a join reply
    VersionError, // the scale's PC-side version is not "02"
    Joined,
};

// multi: the reply must come from the scale with the two ID digits.
JoinVerdict JudgeJoinReply(
    std::span<const std::uint8_t> reply, const std::array<char, 2>& digits, bool multi);
