#include <gtest/gtest.h>

#include <random>

#include "protocol/scale_packet.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::BytesOf;
using scalesim::FromHex;
using scalesim::Hex;

namespace {

struct GoldenPacket {
    const char* name;
    ByteBuffer bytes;
    const char* hex;
};

TEST(ScalePacketTest, FixedPacketsHaveTheirWireBytes)
{
    const GoldenPacket cases[] = {
        { "ack", EncodePacket(ScaleCommand::Ack), "01 01 00 00" },
        { "task reset", EncodePacket(ScaleCommand::TaskReset), "20 41 00 00" },
        { "reset scale", EncodePacket(ScaleCommand::ResetScale), "30 41 00 00" },
        { "clear items", EncodeClear(TableCode::Plu), "02 00 02 00 00 01" },
        { "serial item clear", EncodeClear(TableCode::Plu, 0), "02 00 02 00 00 00" },
        { "clear totals", EncodeClear(TableCode::TotalResult), "02 00 02 00 3d 01" },
        { "result all read", EncodeRequestOne(TableCode::TotalResult, 1), "04 00 06 00 3d 01 01 00 00 00" },
        { "request item 70000", EncodeRequestOne(TableCode::Plu, 70000), "04 00 06 00 00 01 70 11 01 00" },
        { "item day totals", EncodeRequestAll(TableCode::TotalItemDay), "06 00 02 00 3f 01" },
        { "all add texts", EncodeRequestAll(TableCode::Add), "06 00 02 00 01 01" },
        { "nak memory full", EncodeNak(0x2025), "00 01 02 00 25 20" },
    };
    for (const GoldenPacket& c : cases)
        EXPECT_EQ(Hex(c.bytes), c.hex) << c.name;
}

TEST(ScalePacketTest, EncodeRefusesPayloadOverTheLimit)
{
    ByteBuffer out { 9 };
    const ByteBuffer fits(kMaxPacketPayload, 0xAA);
    ASSERT_TRUE(EncodePacket(3, fits, out).ok());
    EXPECT_EQ(out.size(), kMaxPacketSize);
    const ByteBuffer tooLong(kMaxPacketPayload + 1, 0xAA);
    const IoStatus s = EncodePacket(3, tooLong, out);
    EXPECT_EQ(s.Code(), IoCode::InvalidArgument) << s.ToString();
    EXPECT_TRUE(out.empty());
}

TEST(ScalePacketTest, DecodeTakesExactlyOneWholePacket)
{
    ScalePacket p;
    ASSERT_TRUE(DecodePacket(FromHex("00 01 02 00 28 20"), p).ok());
    EXPECT_TRUE(p.Is(ScaleCommand::Nak));
    EXPECT_EQ(Hex(p.payload), "28 20");

    const ByteBuffer data = FromHex("05 00 03 00 01 01 07");
    for (std::size_t n = 0; n < data.size(); ++n) {
        const IoStatus s = DecodePacket(std::span(data).first(n), p);
        EXPECT_EQ(s.Code(), IoCode::BadLength) << "prefix " << n;
    }
    ByteBuffer longer = data;
    longer.push_back(0);
    EXPECT_EQ(DecodePacket(longer, p).Code(), IoCode::BadLength);
    EXPECT_EQ(DecodePacket(FromHex("05 00 fd 07"), p).Code(), IoCode::BadLength);
}

ByteBuffer Concat(std::initializer_list<ByteBuffer> parts)
{
    ByteBuffer out;
    for (const ByteBuffer& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The greeting is "welcome" at the front with its padding NULs; a NUL that
// begins a refusal or an end of data is the packet's.
TEST(ScalePacketTest, GreetingIsTakenFromTheFront)
{
    const struct {
        ByteBuffer block;
        std::size_t length;
    } cases[] = {
        { BytesOf("welcome"), 7 },
        { FromHex("77 65 6c 63 6f 6d 65 00 00"), 9 },
        { BytesOf("welcome!"), 7 },
        { BytesOf("welcom"), 0 },
        { BytesOf("xwelcome"), 0 },
        { Concat({ BytesOf("welcome"), EncodePacket(ScaleCommand::Ack) }), 7 },
        { Concat({ BytesOf("welcome"), EncodeNak(0x2028) }), 7 },
        { Concat({ BytesOf(std::string("welcome\0\0", 9)), EncodeNak(0x2028) }), 9 },
        { Concat({ BytesOf(std::string("welcome\0", 8)), EncodePacket(ScaleCommand::EndOfData) }), 8 },
        { Concat({ BytesOf(std::string("welcome\0", 8)), FromHex("00 01 01 00 00") }), 9 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GreetingLength(c.block), c.length) << Hex(c.block);
        EXPECT_EQ(IsGreeting(c.block), c.length > 0) << Hex(c.block);
    }
}

// ---- the stream framer -------------------------------------------------------

std::string Describe(const std::vector<ScalePacketFramer::Event>& events)
{
    std::string out;
    for (const auto& e : events) {
        if (!out.empty())
            out += " | ";
        switch (e.kind) {
        case ScalePacketFramer::Kind::Greeting:
            out += "greeting";
            break;
        case ScalePacketFramer::Kind::Packet:
            out += ToString(static_cast<ScaleCommand>(e.packet.command));
            if (!e.packet.payload.empty())
                out += " " + Hex(e.packet.payload);
            break;
        case ScalePacketFramer::Kind::Dropped:
            out += "dropped " + std::to_string(e.dropped) + " (" + e.reason + ")";
            break;
        }
    }
    return out;
}

std::string FeedAll(const ByteBuffer& stream, std::span<const std::size_t> cuts,
    ScalePacketFramer::Start start = ScalePacketFramer::Start::AwaitGreeting)
{
    ScalePacketFramer framer(start);
    std::vector<ScalePacketFramer::Event> events;
    std::size_t at = 0;
    for (std::size_t cut : cuts) {
        framer.Feed(std::span(stream).subspan(at, cut - at), events);
        at = cut;
    }
    framer.Feed(std::span(stream).subspan(at), events);
    return Describe(events);
}

TEST(ScalePacketFramerTest, SameEventsWhateverTheReadsHold)
{
    const ByteBuffer greeting = FromHex("77 65 6c 63 6f 6d 65 00 00");
    const ByteBuffer stream = Concat({ greeting, EncodePacket(ScaleCommand::Ack),
        FromHex("05 00 03 00 00 01 09"), EncodeNak(0x2025), EncodePacket(ScaleCommand::EndOfData) });
    const std::string expected = "greeting | ACK | DATA 00 01 09 | NAK 25 20 | END_OF_DATA";
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::size_t> cuts { greeting.size() }; // the greeting comes in a read of its own
        for (std::size_t i = greeting.size() + 1; i < stream.size(); ++i) {
            if (random() % 3 == 0)
                cuts.push_back(i);
        }
        EXPECT_EQ(FeedAll(stream, cuts), expected) << "round " << round;
    }
}

TEST(ScalePacketFramerTest, HalfAPacketWaitsForTheRest)
{
    ScalePacketFramer framer(ScalePacketFramer::Start::Packets);
    std::vector<ScalePacketFramer::Event> events;
    framer.Feed(FromHex("05 00 03"), events);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(framer.Pending(), 3u);
    framer.Feed(FromHex("00 00 01 09 01 01"), events);
    EXPECT_EQ(Describe(events), "DATA 00 01 09");
    EXPECT_EQ(framer.Pending(), 2u);
    events.clear();
    framer.DiscardPending(events);
    EXPECT_EQ(Describe(events), "dropped 2 (unfinished packet discarded)");
    EXPECT_EQ(framer.Pending(), 0u);
}

TEST(ScalePacketFramerTest, OversizeLengthDropsTheBufferedBytes)
{
    const ByteBuffer stream = Concat({ FromHex("05 00 fd 07 aa bb"), EncodePacket(ScaleCommand::Ack) });
    EXPECT_EQ(FeedAll(stream, {}, ScalePacketFramer::Start::Packets),
        "dropped 10 (packet length 2045 over the limit)");
    const std::size_t cut[] = { 6 };
    EXPECT_EQ(FeedAll(stream, cut, ScalePacketFramer::Start::Packets),
        "dropped 6 (packet length 2045 over the limit) | ACK");
}

// The greeting is found wherever it stands, with its NULs; what came before it
// is dropped; a reply in the next read is whole, also one that begins with a
// zero byte (NAK, end of data).
TEST(ScalePacketFramerTest, GreetingIsFoundWhereverItStands)
{
    const ByteBuffer ack = EncodePacket(ScaleCommand::Ack);
    const ByteBuffer nak = EncodeNak(0x2025);
    const ByteBuffer end = EncodePacket(ScaleCommand::EndOfData);
    const char* const overLimit = "(packet length 25452 over the limit)";
    struct Case {
        const char* name;
        std::vector<ByteBuffer> reads;
        std::string expected;
        ScalePacketFramer::Start start = ScalePacketFramer::Start::AwaitGreeting;
    } cases[] = {
        { "three NULs, then an ack", { BytesOf(std::string("welcome\0\0\0", 10)), ack }, "greeting | ACK" },
        { "a NUL, then a nak", { BytesOf(std::string("welcome\0", 8)), nak }, "greeting | NAK 25 20" },
        { "no NUL, then a nak", { BytesOf("welcome"), nak }, "greeting | NAK 25 20" },
        { "no NUL, then end of data", { BytesOf("welcome"), end }, "greeting | END_OF_DATA" },
        { "two NULs, then end of data", { BytesOf(std::string("welcome\0\0", 9)), end },
            "greeting | END_OF_DATA" },
        { "an ack after the NULs of the same read",
            { Concat({ BytesOf(std::string("welcome\0\0", 9)), ack }) }, "greeting | ACK" },
        { "text after welcome", { BytesOf("welcomeX"), BytesOf("welcome") },
            "greeting | dropped 8 (packet length 27749 over the limit)" },
        { "a greeting cut over two reads", { BytesOf("wel"), BytesOf("come"), ack }, "greeting | ACK" },
        { "an ack glued to the text", { Concat({ BytesOf("welcome"), ack }) }, "greeting | ACK" },
        { "a nak glued to the text", { Concat({ BytesOf("welcome"), nak }) }, "greeting | NAK 25 20" },
        { "a NUL, then a nak in the same read", { Concat({ BytesOf(std::string("welcome\0", 8)), nak }) },
            "greeting | NAK 25 20" },
        { "NULs, then end of data in the same read",
            { Concat({ BytesOf(std::string("welcome\0\0\0", 10)), end }) }, "greeting | END_OF_DATA" },
        { "a NUL of the padding with the next ack", { BytesOf("welcome"), Concat({ FromHex("00"), ack }) },
            "greeting | ACK" },
        { "three NULs of the padding with the next ack",
            { BytesOf("welcome"), Concat({ FromHex("00 00 00"), ack }) }, "greeting | ACK" },
        { "padding over two later reads, then a nak",
            { BytesOf(std::string("welcome\0", 8)), FromHex("00"), Concat({ FromHex("00"), nak }) },
            "greeting | NAK 25 20" },
        { "padding ends at the first packet", { BytesOf("welcome"), Concat({ ack, FromHex("00 00 00 00") }) },
            "greeting | ACK | UNKNOWN" },
        { "a packet before the greeting", { ack, BytesOf("welcome"), ack },
            "dropped 4 (bytes before the greeting) | greeting | ACK" },
        { "an ack glued in front of the greeting", { Concat({ ack, BytesOf("welcome"), ack }) },
            "dropped 4 (bytes before the greeting) | greeting | ACK" },
        { "a byte of a packet before the greeting", { FromHex("05"), BytesOf("welcome") },
            "dropped 1 (bytes before the greeting) | greeting" },
        { "a packet, then half the text", { Concat({ ack, BytesOf("welc") }), BytesOf("ome"), nak },
            "dropped 4 (bytes before the greeting) | greeting | NAK 25 20" },
        { "a second welcome", { BytesOf("welcome"), BytesOf("welcome") },
            std::string("greeting | dropped 7 ") + overLimit },
        { "no greeting awaited", { BytesOf("welcome") }, std::string("dropped 7 ") + overLimit,
            ScalePacketFramer::Start::Packets },
    };
    for (const Case& c : cases) {
        ScalePacketFramer framer(c.start);
        std::vector<ScalePacketFramer::Event> events;
        for (const ByteBuffer& read : c.reads)
            framer.Feed(read, events);
        EXPECT_EQ(Describe(events), c.expected) << c.name;
        EXPECT_EQ(framer.Pending(), 0u) << c.name;
    }
}

TEST(ScalePacketFramerTest, StreamWithoutGreetingIsDropped)
{
    EXPECT_EQ(FeedAll(Concat({ EncodePacket(ScaleCommand::Ack), EncodePacket(ScaleCommand::EndOfData) }), {}),
        "dropped 8 (bytes before the greeting)");
    // "welcomi" is no greeting; "welcom" may still become one.
    EXPECT_EQ(FeedAll(BytesOf("welcoming"), {}), "dropped 9 (bytes before the greeting)");
    ScalePacketFramer framer;
    std::vector<ScalePacketFramer::Event> events;
    framer.Feed(BytesOf("xxwelcom"), events);
    EXPECT_EQ(Describe(events), "dropped 2 (bytes before the greeting)");
    EXPECT_EQ(framer.Pending(), 6u);
}

} // namespace
