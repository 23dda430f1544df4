#include <gtest/gtest.h>

#include "protocol/scale_records.h"
#include "protocol/server_messages.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::FromHex;
using scalesim::Hex;

namespace {

const char* const kRequestHex = "1f 00 | 01 00 | 00 00 | 00 00 | 00 00 00 00 00 00 | 07 00 00 00 | 00 00";
const char* const kReportHex = "31 00 | 00 00 | 00 00 | 00 00 | 01 02 03 04 05 06 | 00 00 00 00 | 16 00 |"
                               "aa bb | 39 30 00 00 | 00 00 | 00 00 00 00 00 00 | 18 fc ff ff | f4 01 00 00";

TEST(ServerMessageTest, DataRequestDecodes)
{
    ServerMessage m;
    ASSERT_TRUE(DecodeServerMessage(FromHex(kRequestHex), m).ok());
    EXPECT_EQ(m.kind, ServerMessageKind::DataRequest);
    EXPECT_EQ(m.header.tableKind, 1);
    EXPECT_EQ(m.header.recordNumber, 7u);
    EXPECT_EQ(Hex(EncodeDataRequest(1, 7)), Hex(FromHex(kRequestHex)));
}

// Table kinds 0 to 5 of direction 0 are requests; any other kind, direction or
// command gets no reply.
TEST(ServerMessageTest, MessagesWithoutAReplyAreIgnored)
{
    struct Case {
        const char* name;
        std::size_t offset;
        std::uint8_t value;
        ServerMessageKind kind;
    } cases[] = {
        { "table kind 0", 2, 0, ServerMessageKind::DataRequest },
        { "table kind 5", 2, 5, ServerMessageKind::DataRequest },
        { "table kind 6", 2, 6, ServerMessageKind::Ignored },
        { "table kind 0x105", 3, 1, ServerMessageKind::Ignored },
        { "direction 1", 4, 1, ServerMessageKind::Ignored },
        { "direction 3", 4, 3, ServerMessageKind::Ignored },
        { "direction 0x100", 5, 1, ServerMessageKind::Ignored },
        { "command 0x20", 0, 0x20, ServerMessageKind::Ignored },
        { "command 0x11f", 1, 1, ServerMessageKind::Ignored },
    };
    for (const Case& c : cases) {
        ByteBuffer block = FromHex(kRequestHex);
        block[c.offset] = c.value;
        ServerMessage m;
        EXPECT_TRUE(DecodeServerMessage(block, m).ok()) << c.name;
        EXPECT_EQ(m.kind, c.kind) << c.name;
    }
}

TEST(ServerMessageTest, HeaderFieldsHaveTheirOwnPlaces)
{
    const char* const hex = "1f 00 | 05 00 | 00 00 | 34 12 | 0a 0b 0c 0d 0e 0f | 44 33 22 11 | 66 55";
    ServerMessage m;
    ASSERT_TRUE(DecodeServerMessage(FromHex(hex), m).ok());
    EXPECT_EQ(m.kind, ServerMessageKind::DataRequest);
    EXPECT_EQ(m.header.command, 0x1F);
    EXPECT_EQ(m.header.tableKind, 5);
    EXPECT_EQ(m.header.direction, 0);
    EXPECT_EQ(m.header.status, 0x1234);
    EXPECT_EQ(Hex(m.header.reserved), "0a 0b 0c 0d 0e 0f");
    EXPECT_EQ(m.header.recordNumber, 0x11223344u);
    EXPECT_EQ(m.header.dataLength, 0x5566);
    ByteBuffer again;
    m.header.EncodeTo(again);
    EXPECT_EQ(Hex(again), Hex(FromHex(hex)));
}

TEST(ServerMessageTest, ShortMessagesAreRefused)
{
    const ByteBuffer report = FromHex(kReportHex);
    ServerMessage m;
    for (std::size_t n = 0; n < report.size(); ++n) {
        EXPECT_EQ(DecodeServerMessage(std::span(report).first(n), m).Code(), IoCode::BadLength)
            << "prefix " << n;
        EXPECT_EQ(m.kind, ServerMessageKind::Ignored);
    }
}

TEST(ServerMessageTest, SaleMessagesDecode)
{
    ServerMessage m;
    ByteBuffer report = FromHex(kReportHex);
    ASSERT_TRUE(DecodeServerMessage(report, m).ok());
    EXPECT_EQ(m.kind, ServerMessageKind::ResultReport);
    EXPECT_EQ(m.sale.itemNumber, 12345u);
    EXPECT_EQ(m.sale.totalPrice, -1000);
    EXPECT_EQ(m.sale.totalWeight, 500);
    report[0] = 0x3D;
    ASSERT_TRUE(DecodeServerMessage(report, m).ok());
    EXPECT_EQ(m.kind, ServerMessageKind::ResultCancel);

    const ByteBuffer built = EncodeSaleMessage(ServerCommand::ResultCancel, { 12345, -1000, 500 });
    ASSERT_EQ(built.size(), kSaleMessageSize);
    EXPECT_EQ(Hex(built),
        Hex(FromHex("3d 00 | 00 00 | 00 00 | 00 00 | 00 00 00 00 00 00 | 00 00 00 00 | 16 00 |"
                    "00 00 | 39 30 00 00 | 00 00 | 00 00 00 00 00 00 | 18 fc ff ff | f4 01 00 00")));
    ASSERT_TRUE(DecodeServerMessage(built, m).ok());
    EXPECT_EQ(m.sale.totalPrice, -1000);
}

// A message's length follows from its command; a sale is a whole report or
// cancel.
TEST(ServerMessageTest, LengthFollowsFromTheCommand)
{
    EXPECT_EQ(ServerMessageLength(0x001F), 20u);
    EXPECT_EQ(ServerMessageLength(0x0031), 42u);
    EXPECT_EQ(ServerMessageLength(0x003D), 42u);
    EXPECT_EQ(ServerMessageLength(0x0020), 0u);
    EXPECT_EQ(ServerMessageLength(0x011F), 0u);
    EXPECT_TRUE(IsSaleMessage(FromHex(kReportHex)));
    EXPECT_FALSE(IsSaleMessage(FromHex(kRequestHex)));
    // A sale by its command: a message of the report's length but of another
    // command is none, nor a report cut short.
    ByteBuffer other = FromHex(kReportHex);
    other[0] = 0x20;
    EXPECT_FALSE(IsSaleMessage(other));
    const ByteBuffer cut = FromHex(kReportHex);
    EXPECT_FALSE(IsSaleMessage(std::span(cut).first(41)));
}

TEST(ServerReplyTest, ResultReplyEchoesTheMessage)
{
    const ByteBuffer report = FromHex(kReportHex);
    const ByteBuffer reply = BuildResultReply(report);
    ASSERT_EQ(reply.size(), kServerReplySize);
    ByteBuffer expected = report;
    expected[4] = 3;
    expected[5] = 0;
    expected[6] = 0x11;
    expected[7] = 0x01;
    expected.resize(kServerReplySize, 0);
    EXPECT_EQ(Hex(reply), Hex(expected));
}

TEST(ServerReplyTest, NotFoundReplyIsHeaderAndZeros)
{
    ByteBuffer expected = FromHex("1f 00 04 00 03 00 00 00");
    expected.resize(kServerReplySize, 0);
    EXPECT_EQ(Hex(BuildNotFoundReply(4)), Hex(expected));
}

TEST(ServerReplyTest, DataRepliesCarryTheRecordAndItsLength)
{
    const TextRecord add = BuildTextRecord(TableCode::Add, { "", "3", "A", "", "B" });
    const ByteBuffer addReply = BuildDataReply(TableCode::Add, add.number, add.Encode());
    ASSERT_EQ(addReply.size(), kServerReplySize);
    EXPECT_EQ(Hex(std::span(addReply).first(32)),
        "1f 00 01 00 03 00 01 00 00 00 00 00 00 00 03 00 00 00 0c 00 01 01 03 00 00 00 04 00 41 0d 0a 42");

    const TextRecord adv = BuildTextRecord(TableCode::AdvT, { "", "9", "x" });
    const ByteBuffer advReply = BuildDataReply(TableCode::AdvT, 9, adv.Encode());
    EXPECT_EQ(Hex(std::span(advReply).subspan(18, 2)), "0b 00")
        << "AdvT counts two bytes more than it carries";

    const ByteBuffer item = BuildPluRecord({ "", "77" }).Payload();
    const ByteBuffer itemReply = BuildDataReply(TableCode::Plu, 77, item);
    EXPECT_EQ(Hex(std::span(itemReply).subspan(14, 6)), "4d 00 00 00 72 00");
    EXPECT_EQ(Hex(std::span(itemReply).subspan(20, kPluPayloadSize)), Hex(item));
}

TEST(ServerReplyTest, LongDataIsCutToTheFrameAndSaysSo)
{
    const TextRecord add = BuildTextRecord(TableCode::Add, { "", "1", std::string(600, 'q') });
    const ByteBuffer reply = BuildDataReply(TableCode::Add, 1, add.Encode());
    ASSERT_EQ(reply.size(), kServerReplySize);
    EXPECT_EQ(Hex(std::span(reply).subspan(18, 2)), "00 02") << "512 of 608 bytes sent";
    EXPECT_EQ(reply.back(), 'q');
    const ByteBuffer adv = BuildDataReply(TableCode::AdvT, 1, add.Encode());
    EXPECT_EQ(Hex(std::span(adv).subspan(18, 2)), "02 02") << "AdvT keeps its two more";
}

// ---- replies built from the row the server read ---------------------------------

// Header bytes 14-19 (record number, data length) and the data that follows.
std::string NumberLengthAndData(const ByteBuffer& reply, std::size_t dataBytes)
{
    return Hex(std::span(reply).subspan(14, 6)) + " | " + Hex(std::span(reply).subspan(20, dataBytes));
}

TEST(ServerRecordReplyTest, TextRowsJoinTheirStrings)
{
    struct Case {
        const char* name;
        TableCode table;
        std::vector<std::string> fields;
        std::size_t dataBytes;
        const char* expected;
    } cases[] = {
        { "add: empty and NULL strings left out", TableCode::Add,
            { "3", "A", "", "NULL", "B", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL" }, 12,
            "03 00 00 00 0c 00 | 01 01 03 00 00 00 04 00 41 0d 0a 42" },
        { "add: nothing to say", TableCode::Add, { "4", "NULL", "", "NULL" }, 8,
            "04 00 00 00 08 00 | 01 01 04 00 00 00 00 00" },
        { "advertisement: NULL is no text", TableCode::AdvT, { "9", "NULL", "x" }, 9,
            "09 00 00 00 0b 00 | 02 01 09 00 00 00 01 00 78" },
        { "advertisement: columns after str2 are not read", TableCode::AdvT, { "9", "x", "y", "m1" }, 12,
            "09 00 00 00 0e 00 | 02 01 09 00 00 00 04 00 78 0d 0a 79" },
        { "add: ten strings, the columns after str10 not read", TableCode::Add,
            { "2", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "m1" }, 36,
            "02 00 00 00 24 00 | 01 01 02 00 00 00 1c 00 61 0d 0a 62 0d 0a 63 0d 0a 64 0d 0a 65 0d 0a 66 0d "
            "0a 67 0d 0a 68 0d 0a 69 0d 0a 6a" },
        { "origin: the columns after land_str not read", TableCode::LandAdd, { "5", "국산", "m1" }, 12,
            "05 00 00 00 0e 00 | 05 01 05 00 00 00 04 00 b1 b9 bb ea" },
    };
    for (const Case& c : cases) {
        ByteBuffer reply;
        ASSERT_TRUE(BuildRecordReply(c.table, 0, c.fields, reply)) << c.name;
        ASSERT_EQ(reply.size(), kServerReplySize) << c.name;
        EXPECT_EQ(
            Hex(std::span(reply).first(8)), "1f 00 0" + std::to_string(ToByte(c.table)) + " 00 03 00 01 00")
            << c.name;
        EXPECT_EQ(NumberLengthAndData(reply, c.dataBytes), c.expected) << c.name;
    }
}

TEST(ServerRecordReplyTest, EmptyAdvertisementOrOriginGetsNoReply)
{
    ByteBuffer reply { 1 };
    const std::vector<std::string> adv { "9", "", "NULL" };
    EXPECT_FALSE(BuildRecordReply(TableCode::AdvT, 9, adv, reply));
    EXPECT_TRUE(reply.empty());
    const std::vector<std::string> origin { "5", "NULL" };
    EXPECT_FALSE(BuildRecordReply(TableCode::LandAdd, 5, origin, reply));
    EXPECT_FALSE(BuildRecordReply(TableCode::ScaleInfo, 1, origin, reply));
}

// Texts are cut between CP949 characters to the 504 bytes the frame holds, and
// the header states what was sent.
TEST(ServerRecordReplyTest, LongTextsFillTheFrameWhole)
{
    std::string hangul;
    for (int i = 0; i < 300; ++i)
        hangul += "가"; // two bytes each
    const std::string odd = "x" + hangul; // 505 bytes would cut a character
    struct Case {
        TableCode table;
        std::vector<std::string> fields;
        const char* length;
        std::size_t textBytes;
    } cases[] = {
        { TableCode::Add, { "1", odd }, "ff 01", 503 },
        { TableCode::AdvT, { "1", hangul, "y" }, "02 02", 504 },
        { TableCode::LandAdd, { "1", odd }, "01 02", 503 },
    };
    for (const Case& c : cases) {
        ByteBuffer reply;
        ASSERT_TRUE(BuildRecordReply(c.table, 1, c.fields, reply));
        ASSERT_EQ(reply.size(), kServerReplySize);
        EXPECT_EQ(Hex(std::span(reply).subspan(18, 2)), c.length) << ToByte(c.table);
        const std::size_t text = reply[26] | (reply[27] << 8);
        EXPECT_EQ(text, c.textBytes) << ToByte(c.table);
        EXPECT_EQ(reply[28 + text - 1], 0xa1) << "ends on a whole character";
    }
}

TEST(ServerRecordReplyTest, PresetPageKeepsTheEntriesThatFit)
{
    std::vector<std::string> pairs;
    for (int key = 1; key <= 90; ++key) {
        pairs.push_back(std::to_string(key));
        pairs.push_back(std::to_string(key * 10));
    }
    ByteBuffer reply;
    ASSERT_TRUE(BuildRecordReply(TableCode::Preset, 1, pairs, reply));
    EXPECT_EQ(Hex(std::span(reply).subspan(18, 2)), "fe 01") << "84 entries, 510 bytes";
    EXPECT_EQ(Hex(std::span(reply).subspan(20 + 6 + 83 * 6, 6)), "48 03 00 00 54 00");
}

TEST(ServerRecordReplyTest, ItemNamesFollowTheTransfersRule)
{
    const std::vector<std::string> fields { "77", "NULL", "0", "1500", "0", "3", "27", "123", "2", "500", "1",
        "1", "1", "7", "12" };
    ByteBuffer reply;
    ASSERT_TRUE(BuildRecordReply(TableCode::Plu, 77, fields, reply));
    EXPECT_EQ(Hex(std::span(reply).subspan(14, 6)), "4d 00 00 00 72 00");
    PluRecord p;
    ASSERT_TRUE(PluRecord::Decode(std::span(reply).subspan(22, kPluRecordSize), p));
    EXPECT_EQ(p.itemName, "") << "NULL is no name";
    EXPECT_EQ(p.itemName2, "") << "nor is 0";
    EXPECT_EQ(p.posCode, "0000123");
    EXPECT_EQ(p.unitPrice, 1500u);
    EXPECT_EQ(p.additem, 12);
}

TEST(ServerRecordReplyTest, PresetPageHasOneEntryPerStoredKey)
{
    const std::vector<std::string> pairs { "1", "123", "60", "77", "7" }; // the odd value has no pair
    ByteBuffer reply;
    ASSERT_TRUE(BuildRecordReply(TableCode::Preset, 2, pairs, reply));
    EXPECT_EQ(NumberLengthAndData(reply, 18),
        "02 00 00 00 12 00 | 03 01 02 00 00 00 7b 00 00 00 01 00 4d 00 00 00 3c 00");
}

TEST(ServerRecordReplyTest, UserLabelRowInTableOrder)
{
    std::vector<std::string> fields(51, "0");
    fields[0] = "6"; // file_num
    fields[1] = "100"; // item_nameX: 80 dots
    fields[41] = "50"; // labelY
    fields[49] = "m1"; // mg_id, not read
    fields[50] = "12"; // ID, not read
    ByteBuffer reply;
    ASSERT_TRUE(BuildRecordReply(TableCode::UserLabel, 6, fields, reply));
    EXPECT_EQ(
        NumberLengthAndData(reply, 14), "06 00 00 00 6a 00 | 04 01 06 00 00 00 f4 01 00 00 00 00 50 00");
}

TEST(ServerReplyTest, KeepAliveIsTenA)
{
    EXPECT_EQ(Hex(BuildKeepAlive()), "41 41 41 41 41 41 41 41 41 41");
}

} // namespace

// Numbers past 2^31 come back as the table holds them, in the header and in
// the record; one past 32 bits and a negative one as the transfers read them.
TEST(ServerRecordReplyTest, RecordNumbersPast2To31AreKept)
{
    struct Case {
        TableCode table;
        std::size_t fields;
        const char* number;
        const char* expected; // the header's record number
    };
    const Case cases[] = {
        { TableCode::Plu, 15, "2147483648", "00 00 00 80" },
        { TableCode::Add, 11, "3000000000", "00 5e d0 b2" },
        { TableCode::AdvT, 3, "4294967295", "ff ff ff ff" },
        { TableCode::LandAdd, 2, "4294967296", "ff ff ff 7f" },
        { TableCode::UserLabel, 51, " +4294967295", "ff ff ff ff" },
        { TableCode::Plu, 15, "-1", "ff ff ff ff" },
    };
    for (const Case& c : cases) {
        std::vector<std::string> fields(c.fields, "1");
        fields[0] = c.number;
        ByteBuffer reply;
        ASSERT_TRUE(BuildRecordReply(c.table, 0, fields, reply)) << c.number;
        EXPECT_EQ(Hex(std::span(reply).subspan(14, 4)), c.expected) << c.number;
        EXPECT_EQ(Hex(std::span(reply).subspan(22, 4)), c.expected) << c.number;
    }
    const std::vector<std::string> pairs { "1", "4294967295" };
    ByteBuffer reply;
    ASSERT_TRUE(BuildRecordReply(TableCode::Preset, 2, pairs, reply));
    EXPECT_EQ(Hex(std::span(reply).subspan(26, 4)), "ff ff ff ff");
}
