#include <gtest/gtest.h>

#include "ethernet/scale_records.h"
#include "ethernet/server_messages.h"
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

TEST(ServerMessageTest, MessagesWithoutAReplyAreIgnored)
{
    struct Case {
        const char* name;
        std::size_t offset;
        std::uint8_t value;
    } cases[] = { { "direction 1", 4, 1 }, { "table kind 6", 2, 6 }, { "command 0x20", 0, 0x20 } };
    for (const Case& c : cases) {
        ByteBuffer block = FromHex(kRequestHex);
        block[c.offset] = c.value;
        ServerMessage m;
        EXPECT_TRUE(DecodeServerMessage(block, m).ok()) << c.name;
        EXPECT_EQ(m.kind, ServerMessageKind::Ignored) << c.name;
    }
}

TEST(ServerMessageTest, ShortMessagesAreRefused)
{
    const ByteBuffer report = FromHex(kReportHex);
    ServerMessage m;
    for (std::size_t n = 0; n < report.size(); ++n) {
        EXPECT_EQ(DecodeServerMessage(std::span(report).first(n), m).Code(), IoCode::BadLength) << "prefix " << n;
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
    ASSERT_TRUE(DecodeServerMessage(built, m).ok());
    EXPECT_EQ(m.sale.totalPrice, -1000);
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
    EXPECT_EQ(Hex(std::span(advReply).subspan(18, 2)), "0b 00") << "AdvT counts two bytes more than it carries";

    const ByteBuffer item = BuildPluRecord({ "", "77" }).Payload();
    const ByteBuffer itemReply = BuildDataReply(TableCode::Plu, 77, item);
    EXPECT_EQ(Hex(std::span(itemReply).subspan(14, 6)), "4d 00 00 00 72 00");
    EXPECT_EQ(Hex(std::span(itemReply).subspan(20, kPluPayloadSize)), Hex(item));
}

TEST(ServerReplyTest, LongRecordIsCutAtTheReplySizeButKeepsItsLength)
{
    const TextRecord add = BuildTextRecord(TableCode::Add, { "", "1", std::string(600, 'q') });
    const ByteBuffer reply = BuildDataReply(TableCode::Add, 1, add.Encode());
    ASSERT_EQ(reply.size(), kServerReplySize);
    EXPECT_EQ(Hex(std::span(reply).subspan(18, 2)), "60 02") << "608 bytes of data";
    EXPECT_EQ(reply.back(), 'q');
}

TEST(ServerReplyTest, KeepAliveIsTenA)
{
    EXPECT_EQ(Hex(BuildKeepAlive()), "41 41 41 41 41 41 41 41 41 41");
}

} // namespace
