#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/serial/serial_port.h"
#include "protocol/link_frame.h"
#include "protocol/scale_codes.h"
#include "tests/support/scale_sim.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::FromHex;
using scalesim::Hex;
using scalesim::SerialFrame;
using scalesim::SerialReply;

namespace {

constexpr UINT kPort = 2;

struct Captured {
    LinkReceiver::Event kind;
    ByteBuffer bytes; // join reply as captured, frame unstuffed
};

// A COM port on the simulated scale's line, its received bytes decoded by the
// link receiver on the monitoring thread.
class LinkLineTest : public ::testing::Test {
protected:
    void StartScale(scalesim::SerialScript script)
    {
        ASSERT_TRUE(m_scale.Start(std::move(script)));
        SetSerialDevicePath(kPort, m_scale.DevicePath());
        m_port.SetByteHandler([this](BYTE b) {
            const LinkReceiver::Event e = m_receiver.Feed(b);
            if (e == LinkReceiver::Event::None)
                return;
            Captured c { e,
                e == LinkReceiver::Event::Frame
                    ? UnstuffFrame(m_receiver.Captured())
                    : ByteBuffer(m_receiver.Captured().begin(), m_receiver.Captured().end()) };
            std::lock_guard<std::mutex> guard(m_lock);
            m_captured.push_back(std::move(c));
            m_changed.notify_all();
        });
        ASSERT_TRUE(m_port.InitPort(kPort));
        ASSERT_TRUE(m_port.StartMonitoring());
    }
    void TearDown() override
    {
        m_port.Close();
        m_scale.Stop();
        SetSerialDevicePath(kPort, "");
    }
    bool Next(Captured& out, int timeoutMs = 2000)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        if (!m_changed.wait_for(
                guard, std::chrono::milliseconds(timeoutMs), [&] { return !m_captured.empty(); }))
            return false;
        out = std::move(m_captured.front());
        m_captured.pop_front();
        return true;
    }
    void SendFrame(std::uint16_t command, const ByteBuffer& payload, std::uint16_t sequence = 1)
    {
        LinkFrameHeader h;
        h.scaleId = TwoCharId("07");
        h.sequence = sequence;
        h.command = command;
        ByteBuffer frame;
        ASSERT_TRUE(BuildLinkFrame(h, payload, frame).ok());
        ASSERT_TRUE(m_port.WriteToPort(StuffFrame(frame)));
    }

    scalesim::SerialScale m_scale;
    CSerialPort m_port;
    LinkReceiver m_receiver;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Captured> m_captured;
};

TEST_F(LinkLineTest, JoinReplyWithTheSameVersionIsAccepted)
{
    StartScale(scalesim::JoinAndAckEverything);
    const ByteBuffer join = BuildJoinFrame("07");
    ASSERT_TRUE(m_port.WriteToPort(join));
    Captured reply;
    ASSERT_TRUE(Next(reply));
    ASSERT_EQ(reply.kind, LinkReceiver::Event::JoinReply);
    EXPECT_EQ(CheckJoinReply(join, reply.bytes), JoinCheck::Accepted) << Hex(reply.bytes);
    ASSERT_TRUE(m_scale.WaitForFrames(1, 2000));
    EXPECT_TRUE(m_scale.Received()[0].join);
    EXPECT_EQ(m_scale.Received()[0].scaleId, "07");
}

TEST_F(LinkLineTest, NewerScaleVersionIsAVersionError)
{
    StartScale([](const SerialFrame& f, std::size_t) { return SerialReply::JoinReply(f, '3'); });
    const ByteBuffer join = BuildJoinFrame("7");
    ASSERT_TRUE(m_port.WriteToPort(join));
    Captured reply;
    ASSERT_TRUE(Next(reply));
    EXPECT_EQ(CheckJoinReply(join, reply.bytes), JoinCheck::VersionError);
}

TEST_F(LinkLineTest, FramesCrossTheLineAndAreAcknowledged)
{
    StartScale(scalesim::JoinAndAckEverything);
    const ByteBuffer payload = FromHex("00 01 c0 c0 db db dc dd 02 03");
    SendFrame(ToWord(ScaleCommand::Record), payload, 5);
    ASSERT_TRUE(m_scale.WaitForFrames(1, 2000));
    const SerialFrame sent = m_scale.Received()[0];
    EXPECT_TRUE(sent.sumOk);
    EXPECT_EQ(sent.sequence, 5);
    EXPECT_EQ(sent.command, 3);
    EXPECT_EQ(Hex(sent.payload), Hex(payload));
    Captured ack;
    ASSERT_TRUE(Next(ack));
    ASSERT_EQ(ack.kind, LinkReceiver::Event::Frame);
    LinkFrame parsed;
    ASSERT_TRUE(ParseLinkFrame(ack.bytes, parsed).ok());
    EXPECT_EQ(parsed.header.command, ToWord(ScaleCommand::Ack));
    EXPECT_EQ(parsed.header.source[1], '7');
}

TEST_F(LinkLineTest, WrongSumFromTheScaleIsRefused)
{
    StartScale([](const SerialFrame&, std::size_t) {
        return SerialReply::Raw(SerialReply::Frame("07", 0x0101, {}, 0, 0, true));
    });
    SendFrame(ToWord(ScaleCommand::TaskReset), {});
    Captured reply;
    ASSERT_TRUE(Next(reply));
    LinkFrame parsed;
    EXPECT_EQ(ParseLinkFrame(reply.bytes, parsed).Code(), IoCode::BadChecksum);
}

TEST_F(LinkLineTest, LongPayloadGoesInPiecesEachAcknowledged)
{
    StartScale(scalesim::JoinAndAckEverything);
    ByteBuffer payload(414);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i);
    LinkFrameHeader h;
    h.scaleId = TwoCharId("07");
    h.command = ToWord(ScaleCommand::Record);
    ByteBuffer whole;
    ASSERT_TRUE(BuildLinkFrame(h, payload, whole).ok());
    const std::size_t count = PieceCount(payload.size());
    ASSERT_EQ(count, 3u);
    for (std::size_t k = 1; k <= count; ++k) {
        ByteBuffer piece;
        ASSERT_TRUE(BuildPiece(whole, k, piece).ok());
        ASSERT_TRUE(m_port.WriteToPort(StuffFrame(piece)));
        Captured ack;
        ASSERT_TRUE(Next(ack)) << "piece " << k << " acknowledged";
    }
    const std::vector<SerialFrame> frames = m_scale.Received();
    ASSERT_EQ(frames.size(), 3u);
    ByteBuffer joined;
    const std::size_t lengths[] = { 200, 200, 14 };
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_TRUE(frames[k].sumOk);
        EXPECT_EQ(frames[k].pieceCount, 3);
        EXPECT_EQ(frames[k].pieceNumber, k + 1);
        EXPECT_EQ(frames[k].payload.size(), lengths[k]);
        joined.insert(joined.end(), frames[k].payload.begin(), frames[k].payload.end());
    }
    EXPECT_EQ(joined, payload);
}

TEST_F(LinkLineTest, RecordFromTheScaleInPiecesIsJoined)
{
    ByteBuffer record(450);
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(0xC0 + i % 32);
    StartScale([record](const SerialFrame&, std::size_t) {
        SerialReply r;
        for (std::uint8_t k = 1; k <= 3; ++k) {
            const std::size_t at = 200u * (k - 1);
            const ByteBuffer part(record.begin() + static_cast<std::ptrdiff_t>(at),
                record.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(at + 200, record.size())));
            r.writes.push_back(SerialReply::Frame("07", 0x0005, part, 3, k));
        }
        return r;
    });
    SendFrame(ToWord(ScaleCommand::RequestOne), FromHex("01 01 05 00 00 00"));
    RecordAssembly assembly;
    for (int i = 0; i < 3; ++i) {
        Captured piece;
        ASSERT_TRUE(Next(piece));
        LinkFrame parsed;
        ASSERT_TRUE(ParseLinkFrame(piece.bytes, parsed).ok());
        const auto result = assembly.Add(parsed.header.pieceCount, parsed.header.pieceNumber, parsed.payload);
        EXPECT_EQ(result, i == 2 ? RecordAssembly::Result::Whole : RecordAssembly::Result::Partial);
    }
    EXPECT_EQ(Hex(assembly.Record()), Hex(record));
}

TEST_F(LinkLineTest, SilentScaleLeavesNothingToRead)
{
    StartScale([](const SerialFrame&, std::size_t) { return SerialReply::Silence(); });
    SendFrame(ToWord(ScaleCommand::EndJoin), {});
    ASSERT_TRUE(m_scale.WaitForFrames(1, 2000));
    Captured none;
    EXPECT_FALSE(Next(none, 200));
}

} // namespace
