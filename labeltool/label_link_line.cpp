// The label tool's reading of the RS-232 line.

#include "labeltool/label_link_line.h"

#include <cstring>

#include "protocol/link_frame.h"

namespace {

constexpr std::size_t kJoinReplyLast = kJoinFrameSize - 1;

bool Holds(std::span<const std::uint8_t> bytes, std::size_t at, const char* text)
{
    return std::memcmp(bytes.data() + at, text, std::strlen(text)) == 0;
}

} // namespace

LabelLineDecoder::Event LabelLineDecoder::Feed(std::uint8_t byte, bool joined)
{
    return joined ? FeedFrame(byte) : FeedJoin(byte);
}

void LabelLineDecoder::Clear()
{
    m_count = 0;
    m_errors = 0;
    m_escape = false;
    m_framing = Framing::Waiting;
}

LabelLineDecoder::Event LabelLineDecoder::FeedJoin(std::uint8_t byte)
{
    if (byte == kStx) {
        m_count = 0;
        m_collecting = true;
    }
    if (!m_collecting)
        return Event::None;
    const bool closes = byte == kEtx && m_count == kJoinReplyLast;
    m_buffer[m_count++] = byte;
    if (m_count > kJoinReplyLast)
        m_count = 0;
    if (!closes)
        return Event::None;
    m_captured = kJoinFrameSize;
    return Event::JoinReply;
}

void LabelLineDecoder::Store(std::uint8_t byte)
{
    if (m_count >= kLabelLineCapacity) {
        ++m_errors;
        return;
    }
    m_buffer[m_count++] = byte;
}

LabelLineDecoder::Event LabelLineDecoder::FeedFrame(std::uint8_t byte)
{
    if (m_framing != Framing::Inside) {
        if (byte == kFrameEnd) {
            m_framing = Framing::Waiting;
            return Event::None;
        }
        if (m_framing == Framing::Ended)
            return Event::None;
        Clear();
        m_framing = Framing::Inside;
    }
    if (byte == kFrameEnd) {
        const bool taken = m_errors == 0 && m_count >= kMinLinkFrameSize;
        m_captured = taken ? m_count : 0;
        m_framing = Framing::Ended;
        m_count = 0;
        return taken ? Event::Frame : Event::None;
    }
    if (m_escape) {
        m_escape = false;
        if (byte == kEscapedEnd)
            byte = kFrameEnd;
        else if (byte == kEscapedEscape)
            byte = kFrameEscape;
        else
            ++m_errors;
    } else if (byte == kFrameEscape) {
        m_escape = true;
        return Event::None;
    }
    Store(byte);
    return Event::None;
}

JoinVerdict JudgeJoinReply(std::span<const std::uint8_t> reply, const std::array<char, 2>& digits, bool multi)
{
    if (reply.size() != kJoinFrameSize)
        return JoinVerdict::Ignored;
    if (multi
        && (reply[6] != static_cast<std::uint8_t>(digits[0])
            || reply[7] != static_cast<std::uint8_t>(digits[1])))
        return JoinVerdict::Ignored;
    if (!Holds(reply, 8, "00") || !Holds(reply, 1, "IDCFM"))
        return JoinVerdict::Ignored;
    return Holds(reply, 10, "02") ? JoinVerdict::Joined : JoinVerdict::VersionError;
}
