#include <gtest/gtest.h>

#include <thread>

#include "ethernet/scale_packet_poster.h"
#include "tests/support/scale_sim.h"
#include "tests/support/scale_sim_bytes.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr UINT kScaleMessage = WM_APP + 24;

// A window that takes the poster's events when it is told they are there.
class ReceivingWnd : public CWnd {
public:
    CScalePacketPoster* poster = nullptr;
    std::vector<std::string> seen;
    bool offThread = false;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(
            CWnd::GetMessageMap(), { OnMessage<&ReceivingWnd::OnScaleData>(kScaleMessage) });
        return &kMap;
    }

private:
    LRESULT OnScaleData(WPARAM job, LPARAM)
    {
        offThread |= std::this_thread::get_id() != m_uiThread;
        CScalePacketPoster::Item item;
        while (poster->Take(job, item)) {
            std::string text = std::to_string(job) + ":";
            if (item.closed)
                text += std::string("closed ") + ToString(item.why.Code());
            else if (item.event.kind == ScalePacketFramer::Kind::Greeting)
                text += "greeting";
            else if (item.event.kind == ScalePacketFramer::Kind::Packet)
                text += ToString(static_cast<ScaleCommand>(item.event.packet.command));
            else
                text += "dropped";
            seen.push_back(text);
        }
        return 0;
    }

    std::thread::id m_uiThread = std::this_thread::get_id();
};

TEST(ScalePacketPosterTest, EventsReachTheWindowOnTheUiThreadInOrderPerJob)
{
    ReceivingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "scale", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    CScalePacketPoster poster(wnd.GetSafeHwnd(), kScaleMessage);
    wnd.poster = &poster;

    scalesim::TcpScale scale;
    ASSERT_TRUE(scale.Start([](const scalesim::TcpPacket&, std::size_t) {
        return scalesim::TcpReply::Merged(
            { scalesim::TcpReply::Packet(0x0101), scalesim::TcpReply::Packet(0x0600) });
    }));
    CSocket socket;
    ASSERT_TRUE(socket.Connect(scale.Address().c_str(), scalesim::kScalePort, 2000).ok());
    CScalePacketPump pump(poster);
    CSocketReader reader;
    ASSERT_TRUE(reader.Start(socket, pump, 9).ok());
    ASSERT_TRUE(PumpUntil([&] { return wnd.seen.size() >= 1; }));
    ASSERT_TRUE(socket.Send(EncodePacket(ScaleCommand::TaskReset), 1000).ok());
    ASSERT_TRUE(PumpUntil([&] { return wnd.seen.size() >= 3; }));
    scale.Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return wnd.seen.size() >= 4; }));
    reader.Stop();
    const std::vector<std::string> expected { "9:greeting", "9:ACK", "9:END_OF_DATA",
        "9:closed PEER_CLOSED" };
    EXPECT_EQ(wnd.seen, expected);
    EXPECT_FALSE(wnd.offThread);
    wnd.DestroyWindow();
}

TEST(ScalePacketPosterTest, QueueOutlivesAWindowThatIsGoneAndCountsTheJobsThatWait)
{
    CScalePacketPoster poster(nullptr, kScaleMessage);
    ScalePacketFramer::Event e;
    e.kind = ScalePacketFramer::Kind::Greeting;
    poster.OnScaleEvent(1, e);
    poster.OnScaleEvent(1, e);
    poster.OnScaleClosed(2, IoStatus::Ok());
    poster.OnScaleClosed(3, IoStatus::Ok());
    EXPECT_EQ(poster.WaitingJobs(), 3);
    CScalePacketPoster::Item item;
    ASSERT_TRUE(poster.Take(1, item));
    EXPECT_FALSE(item.closed);
    EXPECT_EQ(poster.WaitingJobs(), 3) << "job 1 has another item";
    ASSERT_TRUE(poster.Take(1, item));
    EXPECT_FALSE(poster.Take(1, item));
    EXPECT_EQ(poster.WaitingJobs(), 2);
    poster.Forget(2);
    EXPECT_FALSE(poster.Take(2, item));
    EXPECT_EQ(poster.WaitingJobs(), 1);
    ASSERT_TRUE(poster.Take(3, item));
    poster.Forget(3);
    EXPECT_EQ(poster.WaitingJobs(), 0);
}

} // namespace
