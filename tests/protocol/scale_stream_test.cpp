#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "protocol/scale_stream.h"
#include "tests/support/scale_sim.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::FromHex;
using scalesim::Hex;
using scalesim::TcpReply;

namespace {

std::string Describe(const ScalePacketFramer::Event& e)
{
    switch (e.kind) {
    case ScalePacketFramer::Kind::Greeting:
        return "greeting";
    case ScalePacketFramer::Kind::Packet:
        return ToString(static_cast<ScaleCommand>(e.packet.command))
            + (e.packet.payload.empty() ? "" : " " + Hex(e.packet.payload));
    case ScalePacketFramer::Kind::Dropped:
        return "dropped " + std::to_string(e.dropped) + " (" + e.reason + ")";
    }
    return "?";
}

// Records the pump's events; counts the raw bytes the reader saw.
class Recorder : public IScalePacketSink, public ISocketSink {
public:
    Recorder()
        : m_pump(*this)
    { }

    void OnSocketBytes(UINT_PTR job, std::span<const std::uint8_t> bytes) override
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_rawBytes += bytes.size();
        }
        m_changed.notify_all();
        m_pump.OnSocketBytes(job, bytes);
    }
    void OnSocketClosed(UINT_PTR job, const IoStatus& why) override { m_pump.OnSocketClosed(job, why); }
    void OnScaleEvent(UINT_PTR job, ScalePacketFramer::Event event) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_events.push_back(Describe(event) + (job == 5 ? "" : " (wrong job)"));
        m_changed.notify_all();
    }
    void OnScaleClosed(UINT_PTR, const IoStatus& why) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_events.push_back(std::string("closed ") + ToString(why.Code()));
        m_changed.notify_all();
    }

    bool WaitForEvents(std::size_t count, int timeoutMs)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(
            guard, std::chrono::milliseconds(timeoutMs), [&] { return m_events.size() >= count; });
    }
    bool WaitForRawBytes(std::size_t count, int timeoutMs)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(
            guard, std::chrono::milliseconds(timeoutMs), [&] { return m_rawBytes >= count; });
    }
    std::string Events()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::string out;
        for (const std::string& e : m_events)
            out += (out.empty() ? "" : " | ") + e;
        return out;
    }

    CScalePacketPump m_pump;

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
    std::size_t m_rawBytes = 0;
};

// A connection to the simulated scale, read by a reader thread through the pump.
class ScaleStreamTest : public ::testing::Test {
protected:
    void Connect(scalesim::TcpScript script,
        scalesim::TcpScale::Greeting greeting = scalesim::TcpScale::Greeting::Welcome)
    {
        ASSERT_TRUE(m_scale.Start(std::move(script), greeting));
        const IoStatus s = m_socket.Connect(m_scale.Address().c_str(), scalesim::kScalePort, 2000);
        ASSERT_TRUE(s.ok()) << s.ToString();
        ASSERT_TRUE(m_reader.Start(m_socket, m_recorder, 5).ok());
    }
    void Send(const ByteBuffer& packet) { ASSERT_TRUE(m_socket.Send(packet, 1000).ok()); }
    void TearDown() override
    {
        m_reader.Stop();
        m_socket.Close();
        m_scale.Stop();
    }

    scalesim::TcpScale m_scale;
    CSocket m_socket;
    Recorder m_recorder;
    CSocketReader m_reader;
};

TEST_F(ScaleStreamTest, GreetingThenRepliesAreDecoded)
{
    Connect(scalesim::AckEverything);
    ASSERT_TRUE(m_recorder.WaitForEvents(1, 2000));
    Send(EncodeClear(TableCode::Plu));
    ASSERT_TRUE(m_recorder.WaitForEvents(2, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | ACK");
    ASSERT_TRUE(m_scale.WaitForPackets(1, 2000));
    EXPECT_EQ(m_scale.Received()[0].command, 0x0002);
    EXPECT_EQ(Hex(m_scale.Received()[0].payload), "00 01");
}

TEST_F(ScaleStreamTest, GreetingWithItsNulIsOneGreeting)
{
    Connect(scalesim::AckEverything, scalesim::TcpScale::Greeting::WelcomeNul);
    ASSERT_TRUE(m_recorder.WaitForRawBytes(8, 2000));
    Send(EncodePacket(ScaleCommand::TaskReset));
    ASSERT_TRUE(m_recorder.WaitForEvents(2, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | ACK");
}

TEST_F(ScaleStreamTest, PacketSplitOverTwoWritesIsDecodedOnceWhole)
{
    const ByteBuffer data = FromHex("05 00 04 00 00 01 2a 00");
    Connect([&](const scalesim::TcpPacket&, std::size_t) { return TcpReply::Split(data, 3); });
    ASSERT_TRUE(m_recorder.WaitForEvents(1, 2000));
    Send(EncodeRequestOne(TableCode::Plu, 42));
    ASSERT_TRUE(m_recorder.WaitForRawBytes(7 + 3, 2000)) << "the first part arrived";
    EXPECT_EQ(m_recorder.Events(), "greeting") << "half a packet is no packet";
    m_scale.Release();
    ASSERT_TRUE(m_recorder.WaitForEvents(2, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | DATA 00 01 2a 00");
}

TEST_F(ScaleStreamTest, PacketsMergedInOneWriteAreDecodedApart)
{
    Connect([](const scalesim::TcpPacket&, std::size_t) {
        return TcpReply::Merged({ TcpReply::Packet(0x0101), TcpReply::Packet(0x0005, { 0x01, 0x01, 0x09 }),
            TcpReply::Packet(0x0600) });
    });
    ASSERT_TRUE(m_recorder.WaitForEvents(1, 2000));
    Send(EncodeRequestAll(TableCode::Add));
    ASSERT_TRUE(m_recorder.WaitForEvents(4, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | ACK | DATA 01 01 09 | END_OF_DATA");
}

TEST_F(ScaleStreamTest, CorruptLengthIsDroppedAndReported)
{
    Connect([](const scalesim::TcpPacket&, std::size_t index) {
        return index == 0 ? TcpReply { { FromHex("05 00 ff ff 01 02") } } : TcpReply::Ack();
    });
    ASSERT_TRUE(m_recorder.WaitForEvents(1, 2000));
    Send(EncodeRequestAll(TableCode::Add));
    ASSERT_TRUE(m_recorder.WaitForEvents(2, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | dropped 6 (packet length 65535 over the limit)");
    Send(EncodePacket(ScaleCommand::TaskReset));
    ASSERT_TRUE(m_recorder.WaitForEvents(3, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | dropped 6 (packet length 65535 over the limit) | ACK")
        << "the stream goes on after the drop";
}

TEST_F(ScaleStreamTest, UnfinishedPacketAtCloseIsReportedDropped)
{
    Connect([](const scalesim::TcpPacket&, std::size_t) {
        return TcpReply { { FromHex("05 00 10 00 01") }, false, true };
    });
    ASSERT_TRUE(m_recorder.WaitForEvents(1, 2000));
    Send(EncodeRequestAll(TableCode::Add));
    ASSERT_TRUE(m_recorder.WaitForEvents(3, 2000));
    EXPECT_EQ(m_recorder.Events(), "greeting | dropped 5 (unfinished packet discarded) | closed PEER_CLOSED");
}

TEST(ScaleConnectionTest, RefusedConnectionIsReportedWithinTheDeadline)
{
    scalesim::OffScale scale;
    ASSERT_TRUE(scale.Start());
    const std::string address = scale.Address();
    CSocket socket;
    const auto start = std::chrono::steady_clock::now();
    const IoStatus s = socket.Connect(address.c_str(), scalesim::kScalePort, 3000);
    EXPECT_EQ(s.Code(), IoCode::Refused) << s.ToString();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
}

TEST(ScaleConnectionTest, SilentScaleIsReportedWithinTheDeadline)
{
    scalesim::TcpScale scale;
    ASSERT_TRUE(scale.Start([](const scalesim::TcpPacket&, std::size_t) { return TcpReply::Silence(); }));
    CSocket socket;
    ASSERT_TRUE(socket.Connect(scale.Address().c_str(), scalesim::kScalePort, 2000).ok());
    ScalePacketFramer framer;
    std::vector<ScalePacketFramer::Event> backlog;
    ScalePacketFramer::Event event;
    ASSERT_TRUE(ReceiveScaleEvent(socket, framer, backlog, event, 2000).ok());
    EXPECT_EQ(event.kind, ScalePacketFramer::Kind::Greeting);
    ASSERT_TRUE(socket.Send(EncodePacket(ScaleCommand::TaskReset), 1000).ok());
    const auto start = std::chrono::steady_clock::now();
    const IoStatus s = ReceiveScaleEvent(socket, framer, backlog, event, 300);
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(s.Code(), IoCode::Timeout) << s.ToString();
    EXPECT_GE(spent, std::chrono::milliseconds(250));
    EXPECT_LT(spent, std::chrono::milliseconds(2000));
}

} // namespace
