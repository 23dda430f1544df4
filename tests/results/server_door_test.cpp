// The results server's door and its end: a crowd of connections that reopen as
// soon as they are closed never keeps a registered scale out, and Exit
// acknowledges every report it stored.

#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "tests/results/result_server_fixture.h"

using scalesim::DataRequest;
using scalesim::SaleMessage;

namespace {

std::int32_t AcknowledgedPrice(const scalesim::Bytes& reply)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | reply[34 + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(value);
}

class ServerDoorTest : public ResultServerFixture {
protected:
    void SetUp() override
    {
        ResultServerFixture::SetUp();
        StorePear();
    }
    std::map<std::string, int> StoredPrices()
    {
        std::map<std::string, int> stored;
        for (const auto& row : Select(kServerDatabase, "SELECT [Totalprice] FROM [Server_DB]"))
            ++stored[row.front().Str()];
        return stored;
    }
};

} // namespace

// A crowd above every place and spare place, reopening as it is closed,
// beside registered scales that connect anew for each report and each data
// request, and two that report over held connections: each report is
// acknowledged on its first send within the scale's wait of 10 s and stored
// once, each request answered, no held connection closed; a registered scale
// whose quiet connection the idle rule closed comes back in the storm.
TEST_F(ServerDoorTest, ARegisteredScaleIsLetInThroughAReopeningCrowd)
{
    constexpr auto kIdle = std::chrono::milliseconds(2000);
    constexpr int kScales = 10;
    constexpr int kReports = 4;
    m_server = std::make_unique<CResultServer>(m_pane);
    m_server->SetListenAddress("127.0.0.1");
    m_server->SetIdleTimeout(kIdle);
    m_server->SetConnectionLimit(40);
    ASSERT_TRUE(m_server->StartResultServer());
    scalesim::ServerClient quiet;
    ASSERT_TRUE(quiet.Connect("127.0.0.1", m_port));
    std::vector<std::unique_ptr<scalesim::PacedScale>> held;
    for (int i = 0; i < 2; ++i)
        held.push_back(std::make_unique<scalesim::PacedScale>(m_port, 500000 * (i + 1), 300, 10000));
    ASSERT_TRUE(
        PumpUntil([&] { return held[0]->AckedPrices().size() + held[1]->AckedPrices().size() >= 4; }));
    ReopeningCrowd crowd(m_port, 40 + kServerSpareConnections + 20, "127.0.0.2");
    ASSERT_TRUE(PumpUntil([&] { return crowd.Opened() > 200; }, std::chrono::seconds(10)));
    std::atomic<int> done { 0 };
    std::atomic<int> answered { 0 };
    std::mutex lock;
    std::vector<std::string> faults;
    std::set<std::int32_t> acknowledged;
    const auto fault = [&](const std::string& text) {
        std::lock_guard<std::mutex> guard(lock);
        faults.push_back(text);
    };
    const auto report = [&](std::int32_t price) {
        bool acked = false;
        const int sends = scalesim::ReportUntilAcknowledged(
            "127.0.0.1", m_port, SaleMessage(false, 77, price, 1), 10000, 3, acked);
        if (sends != 1 || !acked)
            fault("price " + std::to_string(price) + ": " + std::to_string(sends) + " sends");
        std::lock_guard<std::mutex> guard(lock);
        if (acked)
            acknowledged.insert(price);
    };
    std::vector<std::thread> scales;
    for (int s = 0; s < kScales; ++s)
        scales.emplace_back([&, s] {
            for (int r = 0; r < kReports; ++r) {
                report(1000 * (s + 1) + r);
                scalesim::ServerClient asking;
                if (asking.Connect("127.0.0.1", m_port) && asking.Send(DataRequest(0, 77))
                    && asking.WaitForReplies(1, 10000) && asking.Replies()[0][6] == 1)
                    ++answered;
            }
            ++done;
        });
    const bool served = PumpUntil([&] { return done == kScales; }, std::chrono::seconds(60));
    // The quiet scale, closed by the idle rule, reports in the storm.
    const bool closed = PumpUntil([&] { return quiet.PeerClosed(); }, kIdle * 3);
    std::thread back([&] { report(99); });
    EXPECT_TRUE(PumpUntil([&] { return acknowledged.count(99) > 0 || !faults.empty(); }));
    back.join();
    for (std::thread& scale : scales)
        scale.join();
    for (const auto& scale : held) {
        scale->Stop();
        EXPECT_EQ(scale->Reconnects(), 0);
        EXPECT_EQ(scale->Resends(), 0);
        for (const std::int32_t price : scale->AckedPrices())
            acknowledged.insert(price);
    }
    ASSERT_TRUE(served);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(faults.empty()) << faults.front();
    EXPECT_EQ(answered.load(), kScales * kReports);
    const auto stored = StoredPrices();
    EXPECT_EQ(stored.size(), acknowledged.size());
    for (const std::int32_t price : acknowledged)
        EXPECT_EQ(stored.count(std::to_string(price)) ? stored.at(std::to_string(price)) : 0, 1) << price;
}

// Exit while scales report at full speed: every row in the file was
// acknowledged to its scale, every acknowledged report is in the file.
TEST_F(ServerDoorTest, ExitAcknowledgesEveryReportItStored)
{
    std::set<std::string> acknowledged;
    for (int round = 0; round < 3; ++round) {
        Start();
        std::vector<std::unique_ptr<scalesim::ServerClient>> scales;
        for (int s = 0; s < 4; ++s) {
            scales.push_back(Connect());
            scalesim::Bytes flood;
            for (int i = 0; i < 400; ++i) {
                const scalesim::Bytes sale = SaleMessage(false, 77, 100000 * round + 1000 * s + i + 1, 1);
                flood.insert(flood.end(), sale.begin(), sale.end());
            }
            ASSERT_TRUE(scales.back()->Send(flood));
        }
        ASSERT_TRUE(PumpUntil([&] { return scales.front()->ReplyCount() >= 20; }));
        m_server.reset(); // File > Exit
        for (const auto& scale : scales) {
            ASSERT_TRUE(PumpUntil([&] { return scale->PeerClosed(); }));
            for (const scalesim::Bytes& reply : scale->Replies())
                acknowledged.insert(std::to_string(AcknowledgedPrice(reply)));
        }
        const auto stored = StoredPrices();
        std::set<std::string> storedPrices;
        for (const auto& [price, count] : stored) {
            EXPECT_EQ(count, 1) << price;
            storedPrices.insert(price);
        }
        ASSERT_EQ(storedPrices, acknowledged) << "round " << round;
    }
}
