// The results server while another program holds its database longer than
// a statement waits: scales that report all the while are served again as
// soon as the lock ends, and nothing acknowledged is lost or stored twice.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>

#include "tests/results/result_server_fixture.h"
#include "tests/support/db_lock.h"

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
            if (m_client.WaitForReplies(acked + 1, kScaleWaitMs)) {
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
    for (const MessageBoxRecord& box : m_boxes.Records())
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
