// The results server while another program holds its database longer than
// a statement waits: scales that report all the while are served again as
// soon as the lock ends, and nothing acknowledged is lost or stored twice.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

#include "platform/wnd/controls/button.h"
#include "tests/results/result_server_fixture.h"
#include "tests/support/db_lock.h"
#include "tests/support/input_feeder.h"

using scalesim::SaleMessage;

namespace {

// The price of the sale a reply acknowledges.
std::int32_t PriceOf(const scalesim::Bytes& reply)
{
    return static_cast<std::int32_t>(
        reply[34] | reply[35] << 8 | reply[36] << 16 | static_cast<std::uint32_t>(reply[37]) << 24);
}

// A scale that reports sale after sale, each with its own price, and sends a
// sale again when no reply came within its wait.
class ReportingScale {
public:
    ReportingScale(unsigned port, int firstPrice)
        : m_price(firstPrice)
    {
        m_connected = m_client.Connect("127.0.0.1", port);
        if (m_connected)
            m_thread = std::thread([this] { Run(); });
    }
    ~ReportingScale() { Stop(); }

    bool Connected() const { return m_connected; }
    std::size_t AckCount() const { return m_client.ReplyCount(); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        m_client.Close();
    }
    // The prices of the sales acknowledged, read from the replies.
    std::vector<std::int32_t> AckedPrices() const
    {
        std::vector<std::int32_t> prices;
        for (const scalesim::Bytes& reply : m_client.Replies())
            prices.push_back(PriceOf(reply));
        return prices;
    }

private:
    static constexpr int kScaleWaitMs = 10000;

    void Run()
    {
        std::size_t acked = 0;
        while (!m_stop) {
            if (!m_client.Send(scalesim::SaleMessage(false, 77, m_price, 1)))
                return;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kScaleWaitMs);
            while (!m_stop && !m_client.WaitForReplies(acked + 1, 50)
                && std::chrono::steady_clock::now() < giveUp) { }
            if (m_client.ReplyCount() > acked) {
                acked = m_client.ReplyCount();
                ++m_price;
            }
        }
    }

    scalesim::ServerClient m_client;
    bool m_connected = false;
    std::int32_t m_price;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

class ServerLockTest : public ResultServerFixture { };

// A window of the program's, with a button.
class CClickTarget : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_logLinesAtClick.push_back(m_countLines());
        return LOWORD(wParam) == 11;
    }
    std::function<std::size_t()> m_countLines;
    std::vector<std::size_t> m_logLinesAtClick;
};

} // namespace

// Three times another program holds the database, a row written, for longer
// than the engine's busy wait: within 5 s of each release every scale is
// acknowledged again, no box calls the file corrupt, and every acknowledged
// sale is stored exactly once.
TEST_F(ServerLockTest, ServerServesAgainAfterEachLock)
{
    Execute(kServerDatabase,
        "INSERT INTO [Item]([item_num], [item_name], [pos_code], [mg_id]) VALUES('77', 'Pear', '9', 'm1')");
    Start();
    std::vector<std::unique_ptr<ReportingScale>> scales;
    for (int i = 0; i < 4; ++i) {
        scales.push_back(std::make_unique<ReportingScale>(m_port, 100000 * (i + 1)));
        ASSERT_TRUE(scales.back()->Connected());
    }
    const auto allAcknowledgedAfter = [&](const std::vector<std::size_t>& before) {
        for (std::size_t i = 0; i < scales.size(); ++i)
            if (scales[i]->AckCount() <= before[i])
                return false;
        return true;
    };
    ASSERT_TRUE(PumpUntil([&] { return allAcknowledgedAfter(std::vector<std::size_t>(scales.size(), 2)); }));
    auto probe = Connect();
    // Another program takes the lock three times, each for longer than a
    // statement waits; it lets go by itself, whatever the server does.
    std::atomic<int> released { 0 };
    std::atomic<bool> heldEachTime { true };
    std::atomic<bool> abandon { false };
    std::thread other([&] {
        std::mutex lock;
        std::condition_variable never;
        std::unique_lock<std::mutex> guard(lock);
        for (int round = 0; round < 3 && !abandon; ++round) {
            DbLockHolder holder;
            if (!holder.Hold(m_root.Native(kServerDatabase), DbLockHolder::Kind::Write, 5000,
                    "INSERT INTO Server_DB(code_gds) VALUES('lockrow')"))
                heldEachTime = false;
            never.wait_for(guard, std::chrono::milliseconds(4000), [] { return false; });
            holder.Release();
            ++released;
            while (released.load() > 0 && !abandon) // until the server is seen serving again
                never.wait_for(guard, std::chrono::milliseconds(20), [] { return false; });
        }
    });
    for (int round = 0; round < 3 && !abandon; ++round) {
        const bool ended = PumpUntil([&] { return released.load() == 1; }, std::chrono::seconds(60));
        // A scale that reports after the lock is answered at once.
        const bool served = ended && probe->Send(scalesim::SaleMessage(false, 77, 900000 + round, 1))
            && PumpUntil([&] { return probe->ReplyCount() > static_cast<std::size_t>(round); });
        EXPECT_TRUE(served) << "round " << round;
        abandon = !served;
        released = 0;
    }
    abandon = true;
    other.join();
    EXPECT_TRUE(heldEachTime);
    for (const auto& scale : scales)
        scale->Stop();
    PumpFor(std::chrono::milliseconds(200));
    const auto boxes = m_boxes.Records();
    EXPECT_LE(boxes.size(), 4u) << "Server Start, then one box a lock at most";
    for (const MessageBoxRecord& box : boxes)
        EXPECT_EQ(box.text.Find("corrupt"), -1) << box.text.GetString();
    std::map<std::string, int> stored;
    for (const auto& row : Select(kServerDatabase, "SELECT [Totalprice] FROM [Server_DB]"))
        ++stored[row.front().Str()];
    EXPECT_EQ(stored.count("lockrow"), 0u);
    std::size_t acknowledged = 0;
    for (const auto& scale : scales) {
        for (const std::int32_t price : scale->AckedPrices()) {
            ++acknowledged;
            EXPECT_EQ(stored[std::to_string(price)], 1) << "price " << price;
        }
    }
    for (const scalesim::Bytes& reply : probe->Replies())
        EXPECT_EQ(stored[std::to_string(PriceOf(reply))], 1) << "price " << PriceOf(reply);
    EXPECT_GT(acknowledged, 12u);
}

// While another program holds the database, a click on the window is carried
// out at once, before the server gives up on the report that waits for the
// lock; the report is then neither stored nor acknowledged, one box says why,
// and sent again after the lock it is stored once.
TEST_F(ServerLockTest, TheWindowAnswersAClickWhileAReportWaitsForTheLock)
{
    Start();
    auto client = Connect();
    CClickTarget window;
    window.m_countLines = [&] { return LogLines().size(); };
    ASSERT_TRUE(
        window.CreateEx(0, nullptr, "window", WS_POPUP | WS_VISIBLE, CRect(30, 30, 330, 230), nullptr, 0));
    CButton button;
    ASSERT_TRUE(button.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 35), &window, 11));
    InputFeeder feeder;
    ASSERT_TRUE(feeder.Create());
    DbLockHolder holder;
    ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase), DbLockHolder::Kind::Write, 5000,
        "INSERT INTO Server_DB(code_gds) VALUES('lockrow')"));
    const std::size_t linesBefore = LogLines().size();
    ASSERT_TRUE(client->Send(SaleMessage(false, 77, 5, 5)));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(feeder.Run(
            button.GetSafeHwnd(), { { WM_LBUTTONDOWN, CPoint(3, 3) }, { WM_LBUTTONUP, CPoint(3, 3), 0 } }));
    ASSERT_EQ(window.m_logLinesAtClick.size(), 3u);
    EXPECT_EQ(window.m_logLinesAtClick.back(), linesBefore) << "clicked before the report was given up";
    ASSERT_TRUE(PumpUntil([&] { return LogLines().size() > linesBefore; }, std::chrono::seconds(10)));
    EXPECT_NE(LogLines().back().find("||Result Not Stored : "), std::string::npos);
    holder.Release();
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 5, 5), 1));
    EXPECT_EQ(client->Replies()[0], BuildResultReply(SaleMessage(false, 77, 5, 5)));
    EXPECT_EQ(Select(kServerDatabase, "SELECT [Totalprice] FROM [Server_DB]"),
        (CCheckedDaoHelper::Rows { { "5" } }));
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_EQ(m_boxes.Records()[1].text, "Couldn't update; currently locked by another session.");
    window.DestroyWindow();
}
