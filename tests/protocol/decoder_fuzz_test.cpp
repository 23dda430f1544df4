#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "db/record_sql.h"
#include "protocol/scale_packet.h"
#include "protocol/scale_records.h"
#include "protocol/server_messages.h"
#include "tests/support/scale_sim_bytes.h"

// Random and mutated bytes for every decoder and parser of the TCP protocol. The
// loop is bounded; under AddressSanitizer a read past any buffer fails it.

namespace {

constexpr int kRounds = 4000;

class Mutator {
public:
    explicit Mutator(unsigned seed)
        : m_random(seed)
    { }

    std::uint8_t Byte()
    {
        static constexpr std::uint8_t kInteresting[]
            = { 0x00, 0x01, 0x0D, 0x0A, 0x27, 0x20, 0x7F, 0x80, 0x81, 0xB0, 0xC0, 0xDB, 0xFE, 0xFF };
        return m_random() % 3 == 0 ? kInteresting[m_random() % sizeof kInteresting]
                                   : static_cast<std::uint8_t>(m_random());
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : m_random() % n; }
    ByteBuffer Random(std::size_t maxLength)
    {
        ByteBuffer out(Below(maxLength + 1));
        for (std::uint8_t& b : out)
            b = Byte();
        return out;
    }
    // Flips, truncates, extends or overwrites a length field of a valid block.
    ByteBuffer Mutate(ByteBuffer b)
    {
        const int edits = 1 + static_cast<int>(Below(4));
        for (int i = 0; i < edits; ++i) {
            switch (Below(5)) {
            case 0:
                if (!b.empty())
                    b[Below(b.size())] = Byte();
                break;
            case 1:
                b.resize(Below(b.size() + 1));
                break;
            case 2: {
                const ByteBuffer tail = Random(64);
                b.insert(b.end(), tail.begin(), tail.end());
                break;
            }
            case 3:
                if (b.size() >= 4) {
                    b[2] = Byte();
                    b[3] = Byte();
                }
                break;
            default:
                if (b.size() > 1)
                    b.erase(b.begin() + static_cast<std::ptrdiff_t>(Below(b.size())));
                break;
            }
        }
        return b;
    }

private:
    std::mt19937 m_random;
};

bool QuotesBalanced(const std::string& sql)
{
    return std::count(sql.begin(), sql.end(), '\'') % 2 == 0;
}

TEST(DecoderFuzzTest, PacketDecoderAndFramerTakeAnyBytes)
{
    Mutator m(1);
    const ByteBuffer valid[] = { EncodePacket(ScaleCommand::Ack), EncodeNak(0x2025),
        EncodeRequestOne(TableCode::Plu, 9), scalesim::BytesOf("welcome") };
    for (int round = 0; round < kRounds; ++round) {
        const ByteBuffer block = round % 2 ? m.Random(80) : m.Mutate(valid[m.Below(4)]);
        ScalePacket packet;
        if (DecodePacket(block, packet).ok()) {
            ByteBuffer again;
            ASSERT_TRUE(EncodePacket(packet.command, packet.payload, again).ok());
            EXPECT_EQ(again, block);
        }
        IsGreeting(block);
        ScalePacketFramer framer(
            round % 3 ? ScalePacketFramer::Start::AwaitGreeting : ScalePacketFramer::Start::Packets);
        std::vector<ScalePacketFramer::Event> events;
        std::size_t at = 0;
        while (at < block.size()) {
            const std::size_t n = 1 + m.Below(block.size() - at);
            framer.Feed(std::span(block).subspan(at, n), events);
            at += n;
        }
        std::size_t accounted = framer.Pending();
        bool greeted = false;
        for (const auto& e : events) {
            if (e.kind == ScalePacketFramer::Kind::Packet)
                accounted += kPacketHeaderSize + e.packet.payload.size();
            else if (e.kind == ScalePacketFramer::Kind::Dropped)
                accounted += e.dropped;
            else
                greeted = true;
        }
        if (greeted)
            EXPECT_LE(accounted + 7, block.size()) << "no byte is counted twice";
        else
            EXPECT_EQ(accounted, block.size()) << "every byte is a packet's, dropped or pending";
    }
}

TEST(DecoderFuzzTest, RecordParsersTakeAnyPayload)
{
    Mutator m(2);
    RecordRow itemRow { "", "1", "사과's", "x", "100", "0", "1", "2", "123", "1", "1", "1", "1", "1", "1",
        "1" };
    RecordRow labelRow(50, "7");
    std::vector<std::string> keys(60, "12");
    const std::pair<RecordKind, ByteBuffer> valid[] = {
        { RecordKind::Item, BuildPluRecord(itemRow).Payload() },
        { RecordKind::UserLabel, BuildUserLabelRecord(labelRow).Encode() },
        { RecordKind::Add, BuildTextRecord(TableCode::Add, { "", "1", "a'b", "가나" }).Encode() },
        { RecordKind::AdvT, BuildTextRecord(TableCode::AdvT, { "", "1", "a", "b" }).Encode() },
        { RecordKind::LandAdd, BuildTextRecord(TableCode::LandAdd, { "", "1", "국산" }).Encode() },
        { RecordKind::Preset, BuildPresetPage(1, keys) },
        { RecordKind::TotalResult,
            ByteBuffer { 0x3D, 1, 0, 0, 0, 0, 1, 0, 0xE8, 7, 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0,
                3, 0, 4, 0 } },
        { RecordKind::TotalItemResult, ByteBuffer(22, 0x3E) },
        { RecordKind::TotalItemDay, ByteBuffer(22, 0x3F) },
        { RecordKind::TotalDayResult, ByteBuffer(22, 0x40) },
    };
    const RecordContext context { "m'1", "2024-01-01", "10.0.0.1" };
    for (int round = 0; round < kRounds; ++round) {
        const auto& [kind, bytes] = valid[m.Below(std::size(valid))];
        ByteBuffer payload = m.Mutate(bytes);
        if (round % 4 == 0)
            payload = m.Random(400);
        if (!payload.empty() && round % 2)
            payload[0] = bytes[0]; // keep the table code, so the parsers run
        std::vector<std::string> statements;
        if (ReceivedRecordSql(kind, payload, context, RecordCarriage(round % 2), statements).ok()) {
            EXPECT_FALSE(statements.empty() && kind != RecordKind::Preset);
            for (const std::string& sql : statements)
                EXPECT_TRUE(QuotesBalanced(sql)) << sql;
        } else {
            EXPECT_TRUE(statements.empty());
        }
        PluRecord p;
        PluRecord::Decode(payload, p);
        UserLabelRecord u;
        UserLabelRecord::Decode(payload, u);
        SplitReceivedLines(payload, 1 + m.Below(12), 1 + m.Below(120));
        FromScaleText(payload, m.Below(payload.size() + 2));
    }
}

TEST(DecoderFuzzTest, ServerMessagesTakeAnyBytes)
{
    Mutator m(3);
    const ByteBuffer valid[]
        = { EncodeDataRequest(2, 5), EncodeSaleMessage(ServerCommand::ResultReport, { 1, 2, 3 }) };
    for (int round = 0; round < kRounds; ++round) {
        const ByteBuffer block = round % 3 ? m.Mutate(valid[m.Below(2)]) : m.Random(64);
        ServerMessage message;
        if (DecodeServerMessage(block, message).ok() && message.kind != ServerMessageKind::Ignored
            && message.kind != ServerMessageKind::DataRequest) {
            EXPECT_EQ(BuildResultReply(block).size(), kServerReplySize);
        }
        EXPECT_EQ(BuildDataReply(static_cast<TableCode>(m.Below(6)), 1, block).size(), kServerReplySize);
    }
}

TEST(DecoderFuzzTest, BuildersTakeAnyCells)
{
    Mutator m(4);
    for (int round = 0; round < 500; ++round) {
        RecordRow row(m.Below(55));
        for (std::string& cell : row) {
            const ByteBuffer bytes = m.Random(40);
            cell.assign(bytes.begin(), bytes.end());
        }
        EXPECT_EQ(BuildPluRecord(row).Payload().size(), kPluPayloadSize);
        EXPECT_EQ(BuildScaleInfoRecord(row).size(), kScaleInfoRecordSize);
        EXPECT_EQ(BuildScaleRootInfoRecord(row).size(), kScaleRootInfoRecordSize);
        EXPECT_EQ(BuildUserLabelRecord(row).Encode().size(), kUserLabelRecordSize);
        EXPECT_LE(
            BuildTextRecord(TableCode::Add, row).Encode().size(), kTextRecordHeadSize + kMaxTextRecordText);
        EXPECT_EQ(BuildPresetPage(1, row).size(), kPresetPageSize);
    }
}

} // namespace
