#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>

#include "platform/net/socket.h"
#include "platform/net/socket_reader.h"
#include "tests/support/scale_sim.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::BytesOf;
using scalesim::Hex;

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Reads until count bytes came or the deadline passed.
std::vector<std::uint8_t> ReceiveExactly(CSocket& socket, std::size_t count, int timeoutMs)
{
    std::vector<std::uint8_t> out;
    const auto start = Clock::now();
    std::uint8_t buffer[256];
    while (out.size() < count) {
        const long long left = timeoutMs - MillisecondsSince(start);
        std::size_t got = 0;
        if (left <= 0
            || !socket
                    .Receive(std::span(buffer, std::min(sizeof buffer, count - out.size())), got,
                        static_cast<int>(left))
                    .ok())
            break;
        out.insert(out.end(), buffer, buffer + got);
    }
    return out;
}

TEST(SocketTest, ConnectsToTheScaleAndExchangesBytes)
{
    scalesim::TcpScale scale;
    ASSERT_TRUE(scale.Start());
    CSocket socket;
    const IoStatus connected = socket.Connect(scale.Address().c_str(), scalesim::kScalePort, 2000);
    ASSERT_TRUE(connected.ok()) << connected.ToString();
    EXPECT_TRUE(socket.IsOpen());
    EXPECT_EQ(socket.GetPeerAddress(), scale.Address());
    EXPECT_NE(socket.GetLocalPort(), 0u);
    EXPECT_EQ(Hex(ReceiveExactly(socket, 7, 2000)), Hex(BytesOf("welcome")));

    const std::uint8_t ack[] = { 0x01, 0x01, 0x00, 0x00 };
    ASSERT_TRUE(socket.Send(ack, 1000).ok());
    ASSERT_TRUE(scale.WaitForPackets(1, 2000));
    EXPECT_EQ(scale.Received()[0].command, 0x0101);
    EXPECT_EQ(Hex(ReceiveExactly(socket, 4, 2000)), "01 01 00 00");
}

TEST(SocketTest, RefusedConnectionIsReportedAtOnce)
{
    CSocket listener;
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0).ok());
    const UINT port = listener.GetLocalPort();
    listener.Close(); // nothing listens there now
    CSocket socket;
    const auto start = Clock::now();
    const IoStatus s = socket.Connect("127.0.0.1", port, 3000);
    EXPECT_EQ(s.Code(), IoCode::Refused) << s.ToString();
    EXPECT_LT(MillisecondsSince(start), 2000);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(SocketTest, SilentPeerIsReportedWithinTheDeadline)
{
    scalesim::TcpScale scale;
    ASSERT_TRUE(scale.Start(scalesim::AckEverything, scalesim::TcpScale::Greeting::None));
    CSocket socket;
    ASSERT_TRUE(socket.Connect(scale.Address().c_str(), scalesim::kScalePort, 2000).ok());
    std::uint8_t buffer[16];
    std::size_t got = 99;
    const auto start = Clock::now();
    const IoStatus s = socket.Receive(buffer, got, 300);
    const long long spent = MillisecondsSince(start);
    EXPECT_EQ(s.Code(), IoCode::Timeout) << s.ToString();
    EXPECT_EQ(got, 0u);
    EXPECT_GE(spent, 250);
    EXPECT_LT(spent, 2000);
}

TEST(SocketTest, BadArgumentsAreRefused)
{
    CSocket socket;
    std::uint8_t buffer[4];
    std::size_t got = 0;
    EXPECT_EQ(socket.Receive(buffer, got, 0).Code(), IoCode::InvalidArgument);
    EXPECT_EQ(socket.Send(buffer, 0).Code(), IoCode::InvalidArgument);
    EXPECT_EQ(socket.Connect("127.0.0.1", 70000, 100).Code(), IoCode::InvalidArgument);
    EXPECT_EQ(socket.Connect(nullptr, 1239, 100).Code(), IoCode::InvalidArgument);
    EXPECT_EQ(socket.Connect("", 1239, 100).Code(), IoCode::InvalidArgument);
}

TEST(SocketTest, PeerThatLeftIsReportedWithoutASignal)
{
    CSocket listener;
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0).ok());
    CSocket client;
    ASSERT_TRUE(client.Connect("127.0.0.1", listener.GetLocalPort(), 2000).ok());
    CSocket server;
    ASSERT_TRUE(listener.Accept(server, 2000).ok());
    EXPECT_EQ(server.GetPeerAddress(), "127.0.0.1");
    server.Close();
    std::uint8_t buffer[8];
    std::size_t got = 0;
    EXPECT_EQ(client.Receive(buffer, got, 2000).Code(), IoCode::PeerClosed);
    const std::vector<std::uint8_t> big(1 << 20, 0x55);
    IoStatus s = IoStatus::Ok();
    for (int i = 0; i < 8 && s.ok(); ++i) // the first sends may still be taken by the kernel
        s = client.Send(big, 2000);
    EXPECT_EQ(s.Code(), IoCode::PeerClosed) << s.ToString();
}

TEST(SocketTest, AcceptWaitsUntilItsDeadlineOrAShutDown)
{
    CSocket listener;
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0).ok());
    CSocket none;
    EXPECT_EQ(listener.Accept(none, 50).Code(), IoCode::Timeout);
    auto waiting = std::async(std::launch::async, [&] {
        CSocket connection;
        return listener.Accept(connection, -1);
    });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    listener.ShutDown();
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(waiting.get().ok());
}

// ---- the reader thread -------------------------------------------------------

class RecordingSink : public ISocketSink {
public:
    void OnSocketBytes(UINT_PTR job, std::span<const std::uint8_t> bytes) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_jobs.push_back(job);
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        m_threads.push_back(std::this_thread::get_id());
        if (m_onBytes)
            m_onBytes();
        m_changed.notify_all();
    }
    void OnSocketClosed(UINT_PTR job, const IoStatus& why) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_closed = true;
        ++m_closeCalls;
        m_why = why;
        m_jobs.push_back(job);
        m_changed.notify_all();
    }
    bool WaitForBytes(std::size_t count, int timeoutMs)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(
            guard, std::chrono::milliseconds(timeoutMs), [&] { return m_bytes.size() >= count; });
    }
    bool WaitForClose(int timeoutMs)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return m_closed; });
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_bytes;
    std::vector<UINT_PTR> m_jobs;
    std::vector<std::thread::id> m_threads;
    std::function<void()> m_onBytes;
    bool m_closed = false;
    int m_closeCalls = 0;
    IoStatus m_why;
};

// A connection to the simulated scale; each test starts its own reader.
class SocketReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scale.Start());
        ASSERT_TRUE(socket.Connect(scale.Address().c_str(), scalesim::kScalePort, 2000).ok());
    }

    scalesim::TcpScale scale;
    CSocket socket;
    RecordingSink sink;
    CSocketReader reader;
};

TEST_F(SocketReaderTest, DeliversEveryByteInOrderTaggedWithTheJob)
{
    ASSERT_TRUE(reader.Start(socket, sink, 42).ok());
    EXPECT_EQ(reader.Start(socket, sink, 43).Code(), IoCode::InvalidArgument);
    ASSERT_TRUE(sink.WaitForBytes(7, 2000));
    std::vector<std::uint8_t> expected = BytesOf("welcome");
    for (int i = 0; i < 200; ++i) {
        const std::vector<std::uint8_t> block(37, static_cast<std::uint8_t>(i));
        ASSERT_TRUE(scale.SendNow(block));
        expected.insert(expected.end(), block.begin(), block.end());
    }
    ASSERT_TRUE(sink.WaitForBytes(expected.size(), 5000));
    reader.Stop();
    std::lock_guard<std::mutex> guard(sink.m_lock);
    EXPECT_EQ(sink.m_bytes, expected);
    for (UINT_PTR job : sink.m_jobs)
        EXPECT_EQ(job, 42u);
    for (std::thread::id id : sink.m_threads)
        EXPECT_NE(id, std::this_thread::get_id());
    EXPECT_EQ(sink.m_closeCalls, 1);
    EXPECT_TRUE(sink.m_why.ok()) << "stopped, not failed: " << sink.m_why.ToString();
}

TEST_F(SocketReaderTest, ReportsThePeerClosing)
{
    ASSERT_TRUE(reader.Start(socket, sink, 7).ok());
    ASSERT_TRUE(sink.WaitForBytes(7, 2000));
    scale.Disconnect();
    ASSERT_TRUE(sink.WaitForClose(3000));
    EXPECT_EQ(sink.m_why.Code(), IoCode::PeerClosed);
    EXPECT_FALSE(reader.IsRunning());
    reader.Stop();
    EXPECT_EQ(sink.m_closeCalls, 1);
}

TEST_F(SocketReaderTest, StopFromTheSinkEndsTheReaderAfterTheCall)
{
    sink.m_onBytes = [&] { reader.Stop(); };
    ASSERT_TRUE(reader.Start(socket, sink, 1).ok());
    ASSERT_TRUE(sink.WaitForClose(3000));
    EXPECT_TRUE(sink.m_why.ok());
    EXPECT_EQ(reader.Start(socket, sink, 2).Code(), IoCode::Ok) << "a stopped reader starts again";
    reader.Stop();
}

TEST_F(SocketReaderTest, ReaderDestroyedFromItsSinkOutlivesTheCall)
{
    // A sink that ends the job owning the reader, on the reader's own thread.
    class OwningSink : public ISocketSink {
    public:
        void OnSocketBytes(UINT_PTR, std::span<const std::uint8_t>) override { }
        void OnSocketClosed(UINT_PTR, const IoStatus&) override
        {
            m_reader.reset();
            std::lock_guard<std::mutex> guard(m_lock);
            m_done = true;
            m_changed.notify_all();
        }
        std::unique_ptr<CSocketReader> m_reader = std::make_unique<CSocketReader>();
        std::mutex m_lock;
        std::condition_variable m_changed;
        bool m_done = false;
    } owner;
    ASSERT_TRUE(owner.m_reader->Start(socket, owner, 3).ok());
    ASSERT_TRUE(scale.WaitForConnections(1, 2000));
    scale.Disconnect();
    std::unique_lock<std::mutex> guard(owner.m_lock);
    EXPECT_TRUE(owner.m_changed.wait_for(guard, std::chrono::seconds(3), [&] { return owner.m_done; }));
}

} // namespace
