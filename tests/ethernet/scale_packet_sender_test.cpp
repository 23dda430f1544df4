#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "ethernet/scale_packet_sender.h"
#include "platform/net/socket.h"
#include "tests/support/ui_pump.h"

// The sender thread writes packets in the order they were handed over, never
// lets a packet written on the caller's thread overtake queued ones, ends a
// connection only after its packets, and lets a job's socket go once the job
// is forgotten.

namespace {

using Clock = std::chrono::steady_clock;

// A connected pair on loopback: `client` is the job's side, `peer` the scale's.
struct Pair {
    CSocket listener;
    CSocket client;
    CSocket peer;

    bool Open()
    {
        if (!listener.Listen("127.0.0.1", 0).ok())
            return false;
        return client.Connect("127.0.0.1", listener.GetLocalPort(), 2000).ok()
            && listener.Accept(peer, 2000).ok();
    }

    // Reads until count bytes came, the peer closed, or 5 s passed.
    ByteBuffer Read(std::size_t count, bool* closed = nullptr)
    {
        ByteBuffer out;
        const auto deadline = Clock::now() + TestDeadline(std::chrono::seconds(20));
        std::uint8_t buffer[512];
        while (out.size() < count && Clock::now() < deadline) {
            std::size_t got = 0;
            const IoStatus s = peer.Receive(buffer, got, 100);
            if (s.Code() == IoCode::Timeout)
                continue;
            if (!s.ok()) {
                if (closed)
                    *closed = s.Code() == IoCode::PeerClosed;
                break;
            }
            out.insert(out.end(), buffer, buffer + got);
        }
        return out;
    }
};

ByteBuffer Numbered(int first, int count)
{
    ByteBuffer out;
    for (int i = first; i < first + count; ++i)
        out.push_back(static_cast<std::uint8_t>(i));
    return out;
}

TEST(ScalePacketSenderTest, KeepsTheOrderAndNeverLetsADirectWriteOvertake)
{
    Pair pair;
    ASSERT_TRUE(pair.Open());
    CScalePacketSender sender;

    // Nothing queued: a direct packet is on the wire when Send returns.
    sender.Send(1, pair.client, { 0xAA }, 1000, true);
    EXPECT_EQ(sender.Pending(), 0u);
    std::uint8_t first = 0;
    std::size_t got = 0;
    ASSERT_TRUE(pair.peer.Receive(std::span(&first, 1), got, 0).ok());
    EXPECT_EQ(first, 0xAA);

    // Queued packets, each a byte, then direct ones: all arrive in order.
    for (int i = 0; i < 200; ++i)
        sender.Send(1, pair.client, { static_cast<std::uint8_t>(i) }, 1000, i % 3 == 2);
    EXPECT_EQ(pair.Read(200), Numbered(0, 200));
    sender.Forget(1); // waits out the last write's bookkeeping
    EXPECT_EQ(sender.Pending(), 0u);
}

TEST(ScalePacketSenderTest, EndsAConnectionAfterItsPacketsAndForgetsAJob)
{
    Pair one;
    Pair two;
    ASSERT_TRUE(one.Open());
    ASSERT_TRUE(two.Open());
    CScalePacketSender sender;

    // A shut-down queued behind the job's packets comes after them.
    for (int i = 0; i < 50; ++i)
        sender.Send(1, one.client, { static_cast<std::uint8_t>(i) }, 1000, false);
    sender.ShutDown(1, one.client);
    bool closed = false;
    EXPECT_EQ(one.Read(51, &closed), Numbered(0, 50));
    EXPECT_TRUE(closed);

    // With nothing of the job queued, the end is at once.
    sender.Forget(1);
    sender.ShutDown(2, two.client);
    EXPECT_EQ(sender.Pending(), 0u);
    closed = false;
    EXPECT_TRUE(two.Read(1, &closed).empty());
    EXPECT_TRUE(closed);
}

TEST(ScalePacketSenderTest, AForgottenJobsSocketMayGo)
{
    auto gone = std::make_unique<Pair>();
    Pair kept;
    ASSERT_TRUE(gone->Open());
    ASSERT_TRUE(kept.Open());
    CScalePacketSender sender;
    const ByteBuffer big(4096, 0x55);
    for (int i = 0; i < 100; ++i) {
        sender.Send(7, gone->client, big, 1000, false);
        sender.Send(8, kept.client, { static_cast<std::uint8_t>(i) }, 1000, false);
    }
    sender.Forget(7);
    gone.reset(); // a write still queued for it would touch a closed socket
    EXPECT_EQ(kept.Read(100), Numbered(0, 100));
    sender.Forget(8);
    EXPECT_EQ(sender.Pending(), 0u);

    // A write under way when its job is forgotten is waited for: 32 MB that
    // the peer does not read keep the sender in it until its 300 ms are up.
    Pair stuck;
    ASSERT_TRUE(stuck.Open());
    sender.Send(9, stuck.client, ByteBuffer(32 << 20, 0x66), 300, false);
    ASSERT_FALSE(stuck.Read(1).empty()) << "the write is under way";
    sender.Forget(9);
    EXPECT_EQ(sender.Pending(), 0u);
}

TEST(ScalePacketSenderTest, ADirectWriteNeverWaitsForAPeerThatStopsReading)
{
    Pair pair;
    ASSERT_TRUE(pair.Open());
    CScalePacketSender sender;
    // Far more than the connection holds, each packet told to wait up to 30 s:
    // the caller is held by none of them, and every byte arrives in order.
    constexpr int kPackets = 8000;
    constexpr int kSize = 2048;
    ByteBuffer expected;
    for (int i = 0; i < kPackets; ++i) {
        ByteBuffer packet(kSize, static_cast<std::uint8_t>(i * 7));
        packet[0] = static_cast<std::uint8_t>(i >> 8);
        expected.insert(expected.end(), packet.begin(), packet.end());
        const auto start = Clock::now();
        sender.Send(1, pair.client, std::move(packet), 30000, true);
        ASSERT_LT(Clock::now() - start, std::chrono::milliseconds(1000)) << "packet " << i;
    }
    EXPECT_GT(sender.Pending(), 0u);
    EXPECT_EQ(pair.Read(expected.size()), expected);
    sender.Forget(1);
}

} // namespace
