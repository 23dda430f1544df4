#include "protocol/link_frame.h"

#include <algorithm>
#include <cstring>

#include "protocol/scale_codes.h"

std::uint8_t ByteSum8(std::span<const std::uint8_t> bytes)
{
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes)
        sum = static_cast<std::uint8_t>(sum + b);
    return sum;
}

std::uint32_t ByteSum32(std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    for (std::uint8_t b : bytes.first(bytes.size() & 0xFFFF))
        sum += b;
    return sum;
}

std::array<char, 2> TwoCharId(std::string_view id)
{
    if (id.empty())
        return { '0', '0' };
    if (id.size() == 1)
        return { '0', id[0] };
    return { id[0], id[1] };
}

// ---- join --------------------------------------------------------------------

ByteBuffer BuildJoinFrame(std::string_view scaleId)
{
    const std::array<char, 2> id = TwoCharId(scaleId);
    ByteBuffer out { kStx, 'I', 'D', 'C', 'F', 'M', '0', '0' };
    out.push_back(static_cast<std::uint8_t>(id[0]));
    out.push_back(static_cast<std::uint8_t>(id[1]));
    out.push_back('0');
    out.push_back('2');
    out.push_back(ByteSum8(std::span(out).subspan(1, 11)));
    out.push_back(kEtx);
    return out;
}

const char* ToString(JoinCheck check)
{
    switch (check) {
    case JoinCheck::Accepted:
        return "ACCEPTED";
    case JoinCheck::BadLength:
        return "BAD_LENGTH";
    case JoinCheck::Mismatch:
        return "MISMATCH";
    case JoinCheck::VersionError:
        return "VERSION_ERROR";
    }
    return "UNKNOWN";
}

const char* VersionErrorText(int language)
{
    return language == 1 ? "저울버전이 상위버전입니다. 통신 불가능" : "Version Error";
}

JoinCheck CheckJoinReply(std::span<const std::uint8_t> sent, std::span<const std::uint8_t> reply)
{
    if (sent.size() != kJoinFrameSize || reply.size() != kJoinFrameSize)
        return JoinCheck::BadLength;
    if (reply[11] > sent[11]) // told whatever else differs
        return JoinCheck::VersionError;
    for (std::size_t i = 0; i < 11; ++i) {
        std::size_t from = i;
        if (i == 6 || i == 7)
            from = i + 2;
        else if (i == 8 || i == 9)
            from = i - 2;
        if (reply[i] != sent[from])
            return JoinCheck::Mismatch;
    }
    return reply[11] == sent[11] ? JoinCheck::Accepted : JoinCheck::Mismatch;
}

// ---- link frames -------------------------------------------------------------

void LinkFrameHeader::EncodeTo(ByteBuffer& out) const
{
    for (const std::array<char, 2>* pair : { &source, &scaleId, &pcId }) {
        out.push_back(static_cast<std::uint8_t>((*pair)[0]));
        out.push_back(static_cast<std::uint8_t>((*pair)[1]));
    }
    PutU16LE(out, sequence);
    PutU16LE(out, command);
    PutU8(out, pieceCount);
    PutU8(out, pieceNumber);
    PutU16LE(out, length);
}

bool LinkFrameHeader::Decode(std::span<const std::uint8_t> bytes, LinkFrameHeader& out)
{
    ByteReader r(bytes);
    LinkFrameHeader h;
    for (std::array<char, 2>* pair : { &h.source, &h.scaleId, &h.pcId }) {
        std::uint8_t a = 0, b = 0;
        if (!r.GetU8(a) || !r.GetU8(b))
            return false;
        *pair = { static_cast<char>(a), static_cast<char>(b) };
    }
    if (!r.GetU16LE(h.sequence) || !r.GetU16LE(h.command) || !r.GetU8(h.pieceCount) || !r.GetU8(h.pieceNumber)
        || !r.GetU16LE(h.length))
        return false;
    out = h;
    return true;
}

IoStatus BuildLinkFrame(LinkFrameHeader header, std::span<const std::uint8_t> payload, ByteBuffer& out)
{
    out.clear();
    if (payload.size() > kMaxFramePayload)
        return IoStatus::Error(IoCode::InvalidArgument,
            "frame payload of " + std::to_string(payload.size()) + " bytes over "
                + std::to_string(kMaxFramePayload));
    header.length = static_cast<std::uint16_t>(payload.size());
    header.EncodeTo(out);
    PutBytes(out, payload);
    PutU32LE(out, ByteSum32(out));
    return IoStatus::Ok();
}

ByteBuffer StuffFrame(std::span<const std::uint8_t> frame)
{
    ByteBuffer out(4, kFrameEnd);
    out.reserve(frame.size() * 2 + 8);
    for (std::uint8_t b : frame) {
        if (b == kFrameEnd) {
            out.push_back(kFrameEscape);
            out.push_back(kEscapedEnd);
        } else if (b == kFrameEscape) {
            out.push_back(kFrameEscape);
            out.push_back(kEscapedEscape);
        } else {
            out.push_back(b);
        }
    }
    out.insert(out.end(), 4, kFrameEnd);
    return out;
}

ByteBuffer UnstuffFrame(std::span<const std::uint8_t> stuffed)
{
    ByteBuffer out;
    out.reserve(stuffed.size());
    for (std::size_t i = 0; i < stuffed.size(); ++i) {
        const std::uint8_t b = stuffed[i];
        if (b != kFrameEscape || i + 1 == stuffed.size()) {
            out.push_back(b);
            continue;
        }
        const std::uint8_t next = stuffed[++i]; // an escape and its byte go together
        if (next == kEscapedEnd) {
            out.push_back(kFrameEnd);
        } else if (next == kEscapedEscape) {
            out.push_back(kFrameEscape);
        } else {
            out.push_back(b);
            out.push_back(next);
        }
    }
    return out;
}

bool CheckFrameSum(std::span<const std::uint8_t> frame)
{
    if (frame.size() < kLinkSumSize)
        return false;
    ByteReader r(frame.last(kLinkSumSize));
    std::uint32_t sent = 0;
    r.GetU32LE(sent);
    return sent == ByteSum32(frame.first(frame.size() - kLinkSumSize));
}

IoStatus ParseLinkFrame(std::span<const std::uint8_t> frame, LinkFrame& out)
{
    if (frame.size() < kMinLinkFrameSize)
        return IoStatus::Error(
            IoCode::BadLength, "frame of " + std::to_string(frame.size()) + " bytes, at least 18 expected");
    if (!CheckFrameSum(frame))
        return IoStatus::Error(
            IoCode::BadChecksum, "frame sum does not match its " + std::to_string(frame.size()) + " bytes");
    LinkFrameHeader::Decode(frame, out.header);
    out.payload = frame.subspan(kLinkHeaderSize, frame.size() - kMinLinkFrameSize);
    return IoStatus::Ok();
}

// ---- pieces ------------------------------------------------------------------

std::size_t PieceCount(std::size_t payloadLength)
{
    return (payloadLength + kPieceSize - 1) / kPieceSize;
}

IoStatus BuildPiece(std::span<const std::uint8_t> frame, std::size_t k, ByteBuffer& out)
{
    out.clear();
    LinkFrameHeader header;
    if (!LinkFrameHeader::Decode(frame, header) || frame.size() < kLinkHeaderSize + header.length)
        return IoStatus::Error(
            IoCode::InvalidArgument, "frame does not hold the payload its header announces");
    const std::size_t count = PieceCount(header.length);
    if (count > 255 || k < 1 || k > count)
        return IoStatus::Error(
            IoCode::InvalidArgument, "piece " + std::to_string(k) + " of " + std::to_string(count));
    const std::size_t offset = kPieceSize * (k - 1);
    const std::size_t length = std::min(kPieceSize, header.length - offset);
    header.command = ToWord(ScaleCommand::Record);
    header.pieceCount = static_cast<std::uint8_t>(count);
    header.pieceNumber = static_cast<std::uint8_t>(k);
    return BuildLinkFrame(header, frame.subspan(kLinkHeaderSize + offset, length), out);
}

// ---- sequence numbers --------------------------------------------------------

std::uint16_t FrameSequence::Take()
{
    if (m_next > 0xFFFF)
        m_next = 1;
    return static_cast<std::uint16_t>(m_next++);
}

// ---- receiving ---------------------------------------------------------------

void LinkReceiver::Reset()
{
    m_state = State::Idle;
    m_count = 0;
    m_overflow = 0;
    m_finished = false;
}

void LinkReceiver::Store(std::uint8_t byte)
{
    if (m_count < m_capture.size())
        m_capture[m_count++] = byte;
    else
        ++m_overflow;
}

LinkReceiver::Event LinkReceiver::Feed(std::uint8_t byte)
{
    if (m_finished) { // the last capture was handed out: start afresh
        m_count = 0;
        m_overflow = 0;
        m_finished = false;
    }
    switch (m_state) {
    case State::Idle:
        if (byte == kStx) {
            m_state = State::Join;
            Store(byte);
        } else if (byte == kFrameEnd) {
            m_state = State::Frame;
        }
        return Event::None;
    case State::Join:
        Store(byte);
        if (byte != kEtx)
            return Event::None;
        m_state = State::Idle;
        m_finished = true;
        return Event::JoinReply;
    case State::Frame:
        if (byte != kFrameEnd) {
            Store(byte);
            return Event::None;
        }
        if (m_count > 4) {
            m_state = State::Idle;
            m_finished = true;
            return Event::Frame;
        }
        return Event::None; // a delimiter of a run: dropped, the bytes stored stay
    }
    return Event::None;
}

// ---- assembly ----------------------------------------------------------------

void RecordAssembly::Clear()
{
    m_buffer.fill(0);
    m_length = 0;
}

RecordAssembly::Result RecordAssembly::Add(
    std::uint8_t pieceCount, std::uint8_t pieceNumber, std::span<const std::uint8_t> payload)
{
    if (pieceCount == 0) {
        if (payload.size() > m_buffer.size())
            return Result::Refused;
        Clear();
        std::copy(payload.begin(), payload.end(), m_buffer.begin());
        m_length = payload.size();
        return Result::Whole;
    }
    const std::size_t offset = kPieceSize * (pieceNumber - std::size_t { 1 });
    if (pieceNumber < 1 || pieceNumber > pieceCount || offset > m_buffer.size()
        || payload.size() > m_buffer.size() - offset)
        return Result::Refused;
    if (pieceNumber == 1)
        Clear();
    std::copy(payload.begin(), payload.end(), m_buffer.begin() + static_cast<std::ptrdiff_t>(offset));
    // A piece sent twice (its acknowledgement was lost) does not grow the record.
    m_length = std::max(m_length, offset + payload.size());
    return pieceNumber == pieceCount ? Result::Whole : Result::Partial;
}
