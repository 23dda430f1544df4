#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "protocol/link_frame.h"
#include "protocol/scale_codes.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::BytesOf;
using scalesim::FromHex;
using scalesim::Hex;

namespace {

ByteBuffer Frame(std::uint16_t command, std::span<const std::uint8_t> payload, std::uint16_t sequence = 1,
    const char* scale = "07")
{
    LinkFrameHeader h;
    h.scaleId = TwoCharId(scale);
    h.sequence = sequence;
    h.command = command;
    ByteBuffer out;
    EXPECT_TRUE(BuildLinkFrame(h, payload, out).ok());
    return out;
}

// Rewrites the sum so that a frame with altered fields passes the sum check.
void FixChecksum(ByteBuffer& frame)
{
    const std::size_t body = frame.size() - kLinkSumSize;
    StoreU32LE(frame, body, ByteSum32(std::span(frame).first(body)));
}

TEST(LinkSumTest, SumsAddUnsignedBytes)
{
    EXPECT_EQ(ByteSum8(FromHex("ff 02")), 1);
    EXPECT_EQ(ByteSum32(FromHex("ff ff 02")), 0x200u);
    const ByteBuffer big(65536 + 3, 1);
    EXPECT_EQ(ByteSum32(big), 3u) << "the count is taken modulo 65536";
}

TEST(JoinFrameTest, GoldenBytes)
{
    EXPECT_EQ(Hex(BuildJoinFrame("7")), "02 49 44 43 46 4d 30 30 30 37 30 32 8c 03");
    EXPECT_EQ(Hex(BuildJoinFrame("07")), Hex(BuildJoinFrame("7")));
    EXPECT_EQ(Hex(BuildJoinFrame("12")).substr(24, 5), "31 32");
}

TEST(JoinFrameTest, ReplyChecks)
{
    const ByteBuffer sent = BuildJoinFrame("07");
    ByteBuffer reply = sent;
    std::swap_ranges(reply.begin() + 6, reply.begin() + 8, reply.begin() + 8);
    reply[12] = 0x55; // the reply's sum is not checked
    EXPECT_EQ(CheckJoinReply(sent, reply), JoinCheck::Accepted);

    ByteBuffer newer = reply;
    newer[11] = '3';
    EXPECT_EQ(CheckJoinReply(sent, newer), JoinCheck::VersionError);
    ByteBuffer older = reply;
    older[11] = '1';
    EXPECT_EQ(CheckJoinReply(sent, older), JoinCheck::Mismatch);
    EXPECT_EQ(CheckJoinReply(sent, sent), JoinCheck::Mismatch) << "fields 6-7 and 8-9 must be exchanged";
    for (const std::size_t at : { std::size_t(1), std::size_t(10) }) {
        ByteBuffer changed = reply;
        ++changed[at];
        EXPECT_EQ(CheckJoinReply(sent, changed), JoinCheck::Mismatch) << "byte " << at;
    }
    ByteBuffer otherScale = reply;
    otherScale[7] = '8';
    EXPECT_EQ(CheckJoinReply(sent, otherScale), JoinCheck::Mismatch);
    otherScale[11] = '3';
    EXPECT_EQ(CheckJoinReply(sent, otherScale), JoinCheck::VersionError)
        << "a newer version is told even when the reply differs elsewhere";
    EXPECT_EQ(CheckJoinReply(sent, std::span(reply).first(13)), JoinCheck::BadLength);
    ByteBuffer longer = reply;
    longer.push_back(3);
    EXPECT_EQ(CheckJoinReply(sent, longer), JoinCheck::BadLength);
}

TEST(JoinFrameTest, ReplyOfATwoDigitScaleIsAccepted)
{
    for (const char* id : { "12", "90", "7" }) {
        const ByteBuffer sent = BuildJoinFrame(id);
        ByteBuffer reply = sent; // the scale's ID at 6-7, "00" at 8-9
        std::swap_ranges(reply.begin() + 6, reply.begin() + 8, reply.begin() + 8);
        EXPECT_EQ(CheckJoinReply(sent, reply), JoinCheck::Accepted) << id;
        ByteBuffer swapped = reply;
        std::swap(swapped[6], swapped[7]);
        EXPECT_EQ(CheckJoinReply(sent, swapped), JoinCheck::Mismatch)
            << id << ": the ID's digits in the wrong order";
    }
}

TEST(JoinFrameTest, VersionErrorIsToldByLanguage)
{
    EXPECT_STREQ(VersionErrorText(1), "저울버전이 상위버전입니다. 통신 불가능");
    EXPECT_STREQ(VersionErrorText(2), "Version Error");
    EXPECT_STREQ(VersionErrorText(3), "Version Error");
}

TEST(LinkFrameTest, GoldenAckFrame)
{
    const ByteBuffer frame = Frame(ToWord(ScaleCommand::Ack), {});
    EXPECT_EQ(Hex(frame), "30 30 30 37 32 30 01 00 01 01 00 00 00 00 2c 01 00 00");
    EXPECT_EQ(frame.size(), kMinLinkFrameSize);
}

TEST(LinkFrameTest, StuffingEscapesDelimiterAndEscape)
{
    EXPECT_EQ(Hex(StuffFrame(FromHex("01 c0 db 02"))), "c0 c0 c0 c0 01 db dc db dd 02 c0 c0 c0 c0");
    EXPECT_EQ(Hex(UnstuffFrame(FromHex("01 db dc db dd 02"))), "01 c0 db 02");
    struct Case {
        const char* stuffed;
        const char* frame;
    } cases[] = {
        { "db 41", "db 41" },
        { "41 db", "41 db" },
        { "db db dc", "db db dc" }, // the first escape takes the second: nothing is left to escape dc
        { "db db dd 42", "db db dd 42" },
        { "db dd dc", "db dc" },
        { "db 41 db dc", "db 41 c0" },
        { "db", "db" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hex(UnstuffFrame(FromHex(c.stuffed))), c.frame) << c.stuffed;
}

TEST(LinkFrameTest, FramesSurviveTheLineWhateverTheirBytes)
{
    std::mt19937 random(11);
    const std::uint8_t special[] = { 0xC0, 0xDB, 0xDC, 0xDD, 0x02, 0x03 };
    std::vector<ByteBuffer> frames;
    ByteBuffer line = FromHex("55 66"); // noise before the first frame is dropped
    for (int i = 0; i < 300; ++i) {
        ByteBuffer payload(random() % 201);
        for (std::uint8_t& b : payload)
            b = random() % 2 ? special[random() % 6] : static_cast<std::uint8_t>(random());
        frames.push_back(Frame(static_cast<std::uint16_t>(random()), payload, static_cast<std::uint16_t>(i)));
        const ByteBuffer stuffed = StuffFrame(frames.back());
        EXPECT_EQ(Hex(UnstuffFrame(std::span(stuffed).subspan(4, stuffed.size() - 8))), Hex(frames.back()));
        line.insert(line.end(), stuffed.begin(), stuffed.end());
    }
    LinkReceiver receiver;
    std::size_t next = 0;
    for (std::uint8_t b : line) {
        if (receiver.Feed(b) != LinkReceiver::Event::Frame)
            continue;
        ASSERT_LT(next, frames.size());
        const ByteBuffer frame = UnstuffFrame(receiver.Captured());
        EXPECT_EQ(Hex(frame), Hex(frames[next])) << "frame " << next;
        LinkFrame parsed;
        EXPECT_TRUE(ParseLinkFrame(frame, parsed).ok());
        EXPECT_EQ(parsed.header.sequence, next);
        ++next;
    }
    EXPECT_EQ(next, frames.size());
}

TEST(LinkFrameTest, EveryHeaderFieldHasItsOwnPlace)
{
    LinkFrameHeader h;
    h.source = { '1', '2' };
    h.scaleId = { '3', '4' };
    h.pcId = { '5', '6' };
    h.sequence = 0x0708;
    h.command = 0x090A;
    h.pieceCount = 0x0B;
    h.pieceNumber = 0x0C;
    ByteBuffer frame;
    ASSERT_TRUE(BuildLinkFrame(h, FromHex("0d 0e 0f"), frame).ok());
    EXPECT_EQ(Hex(frame), "31 32 33 34 35 36 08 07 0a 09 0b 0c 03 00 0d 0e 0f 9b 01 00 00");
    LinkFrame parsed;
    ASSERT_TRUE(ParseLinkFrame(frame, parsed).ok());
    EXPECT_EQ(std::string(parsed.header.source.data(), 2), "12");
    EXPECT_EQ(std::string(parsed.header.scaleId.data(), 2), "34");
    EXPECT_EQ(std::string(parsed.header.pcId.data(), 2), "56");
    EXPECT_EQ(parsed.header.sequence, 0x0708);
    EXPECT_EQ(parsed.header.command, 0x090A);
    EXPECT_EQ(parsed.header.pieceCount, 0x0B);
    EXPECT_EQ(parsed.header.pieceNumber, 0x0C);
    EXPECT_EQ(parsed.header.length, 3);
    EXPECT_EQ(Hex(parsed.payload), "0d 0e 0f");
}

TEST(LinkFrameTest, SumOfFewerThanFourBytesFails)
{
    for (std::size_t n = 0; n < 4; ++n)
        EXPECT_FALSE(CheckFrameSum(ByteBuffer(n, 0))) << n << " bytes";
    EXPECT_TRUE(CheckFrameSum(ByteBuffer(4, 0))) << "no bytes sum to 0";
    EXPECT_TRUE(CheckFrameSum(FromHex("ff 02 01 01 00 00")));
    LinkFrameHeader h;
    EXPECT_FALSE(LinkFrameHeader::Decode(ByteBuffer(kLinkHeaderSize - 1, 0x30), h));
}

TEST(LinkFrameTest, ParseRefusesShortFramesAndWrongSums)
{
    const ByteBuffer payload = FromHex("05 01 c0 db");
    ByteBuffer frame = Frame(ToWord(ScaleCommand::Data), payload);
    LinkFrame parsed;
    ASSERT_TRUE(ParseLinkFrame(frame, parsed).ok());
    EXPECT_EQ(Hex(parsed.payload), "05 01 c0 db");
    EXPECT_EQ(parsed.header.command, ToWord(ScaleCommand::Data));
    EXPECT_EQ(parsed.header.scaleId[1], '7');
    for (std::size_t n = 0; n < frame.size(); ++n) {
        const IoStatus s = ParseLinkFrame(std::span(frame).first(n), parsed);
        EXPECT_FALSE(s.ok()) << "prefix " << n;
        EXPECT_EQ(s.Code(), n < kMinLinkFrameSize ? IoCode::BadLength : IoCode::BadChecksum)
            << "prefix " << n;
    }
    frame[15] ^= 0x01; // payload byte changed, sum kept
    EXPECT_EQ(ParseLinkFrame(frame, parsed).Code(), IoCode::BadChecksum);
    FixChecksum(frame);
    EXPECT_TRUE(ParseLinkFrame(frame, parsed).ok());
    frame.back() ^= 0x80;
    EXPECT_EQ(ParseLinkFrame(frame, parsed).Code(), IoCode::BadChecksum);
}

TEST(LinkFrameTest, BuildRefusesPayloadsThatOverflowTheTransmitBuffer)
{
    ByteBuffer out { 1 };
    const ByteBuffer fits(kMaxFramePayload, 0x11);
    ASSERT_TRUE(BuildLinkFrame({}, fits, out).ok());
    EXPECT_EQ(out.size(), kTransmitBufferSize);
    const ByteBuffer tooLong(kMaxFramePayload + 1, 0x11);
    EXPECT_EQ(BuildLinkFrame({}, tooLong, out).Code(), IoCode::InvalidArgument);
    EXPECT_TRUE(out.empty());
}

// ---- the receiver ------------------------------------------------------------

TEST(LinkReceiverTest, JoinReplyIsCapturedFromStxToEtx)
{
    LinkReceiver receiver;
    std::string events;
    const ByteBuffer line = FromHex("41 02 49 44 43 46 4d 30 37 30 30 30 32 8c 03 42");
    for (std::uint8_t b : line) {
        if (receiver.Feed(b) == LinkReceiver::Event::JoinReply)
            events += Hex(receiver.Captured());
    }
    EXPECT_EQ(events, "02 49 44 43 46 4d 30 37 30 30 30 32 8c 03");
}

// A C0 ends a frame only when more than four bytes are stored; with fewer it is
// dropped as part of a delimiter run and the bytes stored so far stay.
TEST(LinkReceiverTest, ShortRunsBetweenDelimitersStayInTheFrame)
{
    struct Case {
        const char* line;
        std::vector<std::string> frames;
    } cases[] = {
        { "c0 c0 c0 c0 01 02 03 04 05 c0 c0 c0 c0", { "01 02 03 04 05" } },
        { "c0 01 02 03 04 c0 05 c0", { "01 02 03 04 05" } },
        { "c0 01 c0 c0 02 03 c0 04 05 c0 c0", { "01 02 03 04 05" } },
        { "c0 c0 01 02 03 04 c0 c0 c0 01 02 03 04 05 c0", { "01 02 03 04 01 02 03 04 05" } },
        { "c0 01 02 03 04 c0", {} },
        { "01 02 03 04 05 06 c0 c0", {} },
        { "c0 01 02 03 04 05 c0 c0 c0 c0 06 07 08 09 0a c0", { "01 02 03 04 05", "06 07 08 09 0a" } },
    };
    for (const Case& c : cases) {
        LinkReceiver receiver;
        std::vector<std::string> frames;
        for (std::uint8_t b : FromHex(c.line)) {
            if (receiver.Feed(b) == LinkReceiver::Event::Frame)
                frames.push_back(Hex(receiver.Captured()));
        }
        EXPECT_EQ(frames, c.frames) << c.line;
    }
}

TEST(LinkReceiverTest, BytesPastTheCaptureBufferAreDroppedAndTheFrameFails)
{
    LinkReceiver receiver;
    ASSERT_EQ(receiver.Feed(kFrameEnd), LinkReceiver::Event::None);
    const ByteBuffer frame = Frame(3, ByteBuffer(1100, 0x20));
    for (std::uint8_t b : frame)
        ASSERT_EQ(receiver.Feed(b), LinkReceiver::Event::None);
    ASSERT_EQ(receiver.Feed(kFrameEnd), LinkReceiver::Event::Frame);
    EXPECT_EQ(receiver.Captured().size(), kCaptureSize);
    EXPECT_EQ(receiver.Overflow(), frame.size() - kCaptureSize);
    LinkFrame parsed;
    EXPECT_EQ(ParseLinkFrame(UnstuffFrame(receiver.Captured()), parsed).Code(), IoCode::BadChecksum);
    EXPECT_EQ(receiver.Feed(0x41), LinkReceiver::Event::None);
    EXPECT_EQ(receiver.Overflow(), 0u) << "the next capture starts clean";
}

// ---- pieces ------------------------------------------------------------------

struct PieceCase {
    std::size_t payload;
    std::vector<std::size_t> pieces; // empty: sent whole
};

TEST(LinkPieceTest, PayloadsSplitIntoPiecesOf200)
{
    const PieceCase cases[] = { { 0, {} }, { 200, {} }, { 201, { 200, 1 } }, { 414, { 200, 200, 14 } } };
    for (const PieceCase& c : cases) {
        ByteBuffer payload(c.payload);
        for (std::size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<std::uint8_t>(i * 7);
        const ByteBuffer whole = Frame(ToWord(ScaleCommand::Record), payload, 9);
        const std::size_t count = PieceCount(c.payload);
        if (c.pieces.empty()) {
            EXPECT_LE(count, 1u) << c.payload;
            continue;
        }
        ASSERT_EQ(count, c.pieces.size()) << c.payload;
        RecordAssembly assembly;
        for (std::size_t k = 1; k <= count; ++k) {
            ByteBuffer piece;
            ASSERT_TRUE(BuildPiece(whole, k, piece).ok());
            LinkFrame parsed;
            ASSERT_TRUE(ParseLinkFrame(piece, parsed).ok()) << "a fresh sum per piece";
            EXPECT_EQ(Hex(std::span(piece).first(kLinkHeaderSize)).substr(0, 35),
                "30 30 30 37 32 30 09 00 03 00 0" + std::to_string(count) + " 0" + std::to_string(k));
            EXPECT_EQ(parsed.header.length, c.pieces[k - 1]);
            EXPECT_EQ(parsed.payload.size(), c.pieces[k - 1]);
            const auto result
                = assembly.Add(parsed.header.pieceCount, parsed.header.pieceNumber, parsed.payload);
            EXPECT_EQ(result, k == count ? RecordAssembly::Result::Whole : RecordAssembly::Result::Partial);
        }
        EXPECT_EQ(Hex(assembly.Record()), Hex(payload));
        ByteBuffer none;
        EXPECT_FALSE(BuildPiece(whole, 0, none).ok());
        EXPECT_FALSE(BuildPiece(whole, count + 1, none).ok());
        EXPECT_FALSE(BuildPiece(std::span(whole).first(kLinkHeaderSize + c.payload - 1), 1, none).ok())
            << "a frame shorter than its header says";
    }
}

TEST(RecordAssemblyTest, PiecesOutOfBoundsAreRefusedAndAnEmptyOneIsEmpty)
{
    RecordAssembly assembly;
    const ByteBuffer piece(200, 0x61);
    EXPECT_EQ(assembly.Add(0, 0, ByteBuffer(1000, 1)), RecordAssembly::Result::Whole);
    EXPECT_EQ(assembly.Add(0, 0, ByteBuffer(1001, 1)), RecordAssembly::Result::Refused);
    EXPECT_EQ(assembly.Add(6, 6, piece), RecordAssembly::Result::Refused) << "bytes 1000-1199";
    EXPECT_EQ(assembly.Add(2, 0, piece), RecordAssembly::Result::Refused);
    EXPECT_EQ(assembly.Add(2, 3, piece), RecordAssembly::Result::Refused);
    EXPECT_EQ(assembly.Add(255, 255, piece), RecordAssembly::Result::Refused);
    EXPECT_EQ(assembly.Add(5, 5, piece), RecordAssembly::Result::Whole) << "bytes 800-999 fit";
    EXPECT_EQ(assembly.Add(1, 1, {}), RecordAssembly::Result::Whole);
    EXPECT_TRUE(assembly.Record().empty()) << "an empty piece makes no bytes";
}

TEST(LinkPieceTest, APayloadGoesInAtMost255Pieces)
{
    auto frameOf = [](std::size_t payload) {
        LinkFrameHeader h;
        h.length = static_cast<std::uint16_t>(payload);
        ByteBuffer frame;
        h.EncodeTo(frame);
        frame.resize(kLinkHeaderSize + payload, 0x44);
        return frame;
    };
    ByteBuffer piece;
    const ByteBuffer most = frameOf(255 * kPieceSize);
    ASSERT_TRUE(BuildPiece(most, 255, piece).ok());
    EXPECT_EQ(Hex(std::span(piece).subspan(10, 4)), "ff ff c8 00");
    EXPECT_EQ(BuildPiece(frameOf(255 * kPieceSize + 1), 1, piece).Code(), IoCode::InvalidArgument)
        << "256 pieces cannot be numbered";
}

// Each record starts afresh at its first piece: nothing of the record before
// it shows, neither its length nor its bytes where a piece was lost.
TEST(RecordAssemblyTest, EachRecordStartsAfreshAtItsFirstPiece)
{
    RecordAssembly assembly;
    EXPECT_EQ(assembly.Add(3, 1, ByteBuffer(200, 0x61)), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(3, 2, ByteBuffer(200, 0x62)), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(3, 3, ByteBuffer(50, 0x63)), RecordAssembly::Result::Whole);
    EXPECT_EQ(assembly.Record().size(), 450u);

    EXPECT_EQ(assembly.Add(2, 1, ByteBuffer(200, 0x71)), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(2, 2, ByteBuffer(10, 0x72)), RecordAssembly::Result::Whole);
    ByteBuffer expected(200, 0x71);
    expected.resize(210, 0x72);
    EXPECT_EQ(Hex(assembly.Record()), Hex(expected)) << "a shorter record after a longer one";

    EXPECT_EQ(assembly.Add(3, 1, ByteBuffer(200, 0x81)), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(3, 3, ByteBuffer(5, 0x83)), RecordAssembly::Result::Whole);
    expected.assign(200, 0x81);
    expected.resize(400, 0x00);
    expected.resize(405, 0x83);
    EXPECT_EQ(Hex(assembly.Record()), Hex(expected)) << "a lost piece leaves zeros";
}

TEST(RecordAssemblyTest, APieceSentTwiceDoesNotGrowTheRecord)
{
    RecordAssembly assembly;
    const ByteBuffer first(200, 0x61);
    const ByteBuffer last = FromHex("62 62");
    EXPECT_EQ(assembly.Add(2, 1, first), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(2, 1, first), RecordAssembly::Result::Partial);
    EXPECT_EQ(assembly.Add(2, 2, last), RecordAssembly::Result::Whole);
    EXPECT_EQ(assembly.Record().size(), 202u);
    EXPECT_EQ(assembly.Add(0, 0, BytesOf("next")), RecordAssembly::Result::Whole);
    EXPECT_EQ(Hex(assembly.Record()), Hex(BytesOf("next")));
}

// ---- sequence numbers --------------------------------------------------------

TEST(FrameSequenceTest, StartsAtOneWrapsToOneAndRestartsAtZero)
{
    FrameSequence sequence;
    EXPECT_EQ(sequence.Take(), 1);
    EXPECT_EQ(sequence.Take(), 2);
    sequence.RestartAtZero();
    EXPECT_EQ(sequence.Take(), 0);
    EXPECT_EQ(sequence.Take(), 1);
    for (int n = 2; n < 65535; ++n)
        sequence.Take();
    EXPECT_EQ(sequence.Take(), 65535);
    EXPECT_EQ(sequence.Take(), 1);
    EXPECT_EQ(sequence.Take(), 2);
}

} // namespace
