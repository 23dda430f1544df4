// The results server under load it does not choose: a box that lets messages
// in, a store held by another process, a scale that never reads its replies,
// more connections than it keeps, and accepts that keep failing.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "tests/results/result_server_fixture.h"
#include "tests/support/db_lock.h"
#include "tests/support/store_fault.h"

using scalesim::DataRequest;
using scalesim::SaleMessage;

namespace {

class ServerRobustnessTest : public ResultServerFixture {
protected:
    void SetUp() override
    {
        ResultServerFixture::SetUp();
        StorePear();
    }
    CCheckedDaoHelper::Rows Stored()
    {
        return Select(kServerDatabase, "SELECT [code_gds], [item_name] FROM [Server_DB] ORDER BY [ID]");
    }
    std::size_t LogCount(const char* part) const
    {
        const auto log = LogLines();
        return static_cast<std::size_t>(std::count_if(log.begin(), log.end(),
            [&](const std::string& line) { return line.find(part) != std::string::npos; }));
    }
};

} // namespace

// A request that arrives while the box of a refused report is open is
// handled once the box is gone, and so is everything after it.
TEST_F(ServerRobustnessTest, MessagesDuringARefusalBoxAreHandled)
{
    Execute(kServerDatabase, "CREATE UNIQUE INDEX [one_sale] ON [Server_DB] ([code_gds])");
    Execute(kServerDatabase, "INSERT INTO [Server_DB]([code_gds]) VALUES('13')");
    Start();
    auto client = Connect();
    bool sent = false;
    auto deadline = std::chrono::steady_clock::now();
    MessageBoxScript::PushAnswerWhen(IDOK, [&] {
        if (!sent) {
            sent = client->Send(DataRequest(0, 77));
            deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        }
        return std::chrono::steady_clock::now() >= deadline;
    });
    ASSERT_TRUE(client->Send(SaleMessage(false, 13, 5, 5)));
    ASSERT_TRUE(PumpUntil([&] { return client->ReplyCount() >= 1; }));
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 5, 5), 2));
    EXPECT_EQ(client->Replies()[0][0], 0x1F);
    EXPECT_EQ(Stored(), (CCheckedDaoHelper::Rows { { "13", "NULL" }, { "77", "Pear" } }));
}

// A lookup that fails because another process holds the store neither stores
// nor acknowledges the sale, and the log says why; sent again once the store
// is free, it is stored with its item's name.
TEST_F(ServerRobustnessTest, SaleIsRefusedWhileTheStoreIsHeld)
{
    Start();
    auto client = Connect();
    DbLockHolder holder;
    ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase)));
    // The holder lets go when the first box is shown.
    MessageBoxScript::PushAnswerWhen(IDOK, [&] {
        holder.Release();
        return true;
    });
    ASSERT_TRUE(client->Send(SaleMessage(false, 77, 5, 5)));
    ASSERT_TRUE(PumpUntil([&] { return LogCount("||Result Not Stored : ") == 1; }, std::chrono::seconds(10)));
    EXPECT_NE(LogLines().back().find("||Cause : "), std::string::npos);
    EXPECT_EQ(client->ReplyCount(), 0u);
    // The log line may be written before the second box is shown.
    ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() >= 2; }, std::chrono::seconds(10)));
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_EQ(m_boxes.Records().back().type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(Stored().empty());
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 5, 5), 1));
    EXPECT_EQ(Stored(), (CCheckedDaoHelper::Rows { { "77", "Pear" } }));
}

// With the disk full a report is neither stored nor acknowledged, and one
// box gives the store's own cause, no second one about a transaction; with
// room again the scale's report is stored once.
TEST_F(ServerRobustnessTest, AFullDiskGivesOneBoxWithItsOwnCause)
{
    // The data folder's files, on a small disk mounted over it.
    const std::string folder = m_root.Native(kManagerFolder);
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().string()] = TempDataRoot::ReadAll(entry.path().string());
    FullDisk disk;
    if (!disk.Mount(folder, 4 << 20))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    for (const auto& [path, bytes] : files)
        TempDataRoot::WriteAll(path, bytes);
    Start();
    auto client = Connect();
    ASSERT_TRUE(disk.Fill());
    ASSERT_TRUE(client->Send(SaleMessage(false, 77, 5, 5)));
    ASSERT_TRUE(PumpUntil([&] { return LogCount("||Result Not Stored : ") == 1; }, std::chrono::seconds(10)));
    ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() >= 2; }));
    PumpFor(std::chrono::milliseconds(200)); // a second box would come now
    ASSERT_EQ(m_boxes.Records().size(), 2u) << m_boxes.Records().back().text.GetString();
    EXPECT_EQ(m_boxes.Records()[1].text, "Not enough space on disk.");
    EXPECT_EQ(client->ReplyCount(), 0u);
    disk.Free();
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 5, 5), 1));
    EXPECT_EQ(Stored(), (CCheckedDaoHelper::Rows { { "77", "Pear" } }));
}

// With the log's disk full every report is still stored and acknowledged;
// one box says the log cannot be written, again only once writing has worked
// and failed anew.
TEST_F(ServerRobustnessTest, AFullLogFolderIsToldOnceAndHoldsNoReport)
{
    FullDisk disk;
    if (!disk.Mount(m_root.Native("C:\\Zuvar\\Server log"), 1 << 20))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    Start();
    auto client = Connect();
    // More lines than the last page of the log holds.
    scalesim::Bytes sales;
    for (int i = 0; i < 20; ++i) {
        const scalesim::Bytes sale = SaleMessage(false, 77, 5, 5);
        sales.insert(sales.end(), sale.begin(), sale.end());
    }
    for (std::size_t round = 1; round <= 2; ++round) {
        // Replies go before log lines: the box is waited for while the
        // disk is full, and a line written again once it is free.
        ASSERT_TRUE(disk.Fill());
        ASSERT_TRUE(Exchange(*client, sales, 21 * round - 1));
        ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() == round + 1; }));
        disk.Free();
        const std::size_t logged = LogCount("||Result Value : ");
        ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 5, 5), 21 * round));
        ASSERT_TRUE(PumpUntil([&] { return LogCount("||Result Value : ") > logged; }));
    }
    PumpFor(std::chrono::milliseconds(100)); // a third box would come now
    ASSERT_EQ(m_boxes.Records().size(), 3u);
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_EQ(m_boxes.Records()[i].text.Find(
                      "The server log cannot be written: C:\\Zuvar\\Server log\\2006_5_3\\Calvorn_log.txt"),
            0)
            << m_boxes.Records()[i].text.GetString();
    EXPECT_EQ(Stored().size(), 42u);
}

// A scale that sends and never reads is let go once a reply cannot be
// written; the others are served at once.
TEST_F(ServerRobustnessTest, ScaleThatNeverReadsIsDisconnected)
{
    Start();
    CSocket deaf;
    ASSERT_TRUE(deaf.Connect("127.0.0.1", m_port, 5000).ok());
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 1; }));
    scalesim::Bytes flood;
    for (int i = 0; i < 20000; ++i) {
        const scalesim::Bytes request = DataRequest(0, 77);
        flood.insert(flood.end(), request.begin(), request.end());
    }
    // The scale hangs up by itself only if the server has not let it go
    // within the deadline.
    std::mutex lock;
    std::condition_variable wake;
    bool done = false;
    bool hungUp = false;
    std::thread scale([&] {
        (void)deaf.Send(flood, 20000);
        std::unique_lock<std::mutex> guard(lock);
        if (!wake.wait_for(guard, TestDeadline(std::chrono::seconds(10)), [&] { return done; })) {
            hungUp = true;
            deaf.Close(); // unread replies: the peer is reset
        }
    });
    EXPECT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 0; }, std::chrono::seconds(30)));
    {
        std::lock_guard<std::mutex> guard(lock);
        done = true;
    }
    wake.notify_all();
    scale.join();
    ASSERT_FALSE(hungUp);
    auto client = Connect();
    EXPECT_TRUE(Exchange(*client, DataRequest(0, 77), 1));
    EXPECT_EQ(LogCount("||Disconnect Time : "), 1u);
}

// Connections beyond the limit are closed at once while every place is taken
// by a scale that spoke; a place that comes free takes the next one.
TEST_F(ServerRobustnessTest, ConnectionsBeyondTheLimitAreRefused)
{
    m_server = std::make_unique<CResultServer>(m_pane);
    m_server->SetListenAddress("127.0.0.1");
    m_server->SetConnectionLimit(2);
    ASSERT_TRUE(m_server->StartResultServer());
    auto first = Connect();
    auto second = Connect();
    ASSERT_TRUE(Exchange(*first, DataRequest(0, 77), 1));
    ASSERT_TRUE(Exchange(*second, DataRequest(0, 77), 1));
    scalesim::ServerClient third;
    ASSERT_TRUE(third.Connect("127.0.0.1", m_port));
    EXPECT_TRUE(PumpUntil([&] { return third.PeerClosed(); }));
    EXPECT_EQ(m_server->GetConnectionCount(), 2u);
    first->Close();
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 1; }));
    auto fourth = Connect();
    EXPECT_TRUE(Exchange(*fourth, DataRequest(0, 77), 1));
}

// Accepts that fail again and again (no descriptor left) give one box; the
// listener waits between tries and serves again once descriptors are back.
TEST_F(ServerRobustnessTest, RepeatedAcceptFailureIsShownOnce)
{
    Start();
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit low = saved;
    low.rlim_cur = static_cast<rlim_t>(lowestFree + 1); // the client's socket, no more
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    scalesim::ServerClient client;
    const bool connected = client.Connect("127.0.0.1", m_port);
    const bool failed = PumpUntil([&] { return m_server->GetAcceptFailureCount() >= 3; });
    ::setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_TRUE(connected);
    ASSERT_TRUE(failed);
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_EQ(m_boxes.Records()[1].text, "접속 허용 실패");
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 1; }));
    EXPECT_TRUE(Exchange(client, DataRequest(0, 77), 1));
}

// 200 connections that never speak (scales switched off without a goodbye)
// take every place; a scale that speaks, connecting again when it is turned
// away, is served within the idle time-out and 5 s more. The silent ones are
// closed and logged, the speaking one kept.
TEST_F(ServerRobustnessTest, SilentConnectionsNeverShutOutAScaleThatSpeaks)
{
    constexpr auto kIdle = std::chrono::milliseconds(3000);
    m_server = std::make_unique<CResultServer>(m_pane);
    m_server->SetListenAddress("127.0.0.1");
    m_server->SetIdleTimeout(kIdle);
    ASSERT_TRUE(m_server->StartResultServer());
    std::vector<std::unique_ptr<CSocket>> silent(200);
    for (auto& socket : silent) {
        socket = std::make_unique<CSocket>();
        ASSERT_TRUE(socket->Connect("127.0.0.1", m_port, 5000).ok());
    }
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == kServerConnectionLimit; }));
    const auto start = std::chrono::steady_clock::now();
    auto scale = std::make_unique<scalesim::ServerClient>();
    const auto served = [&] {
        if (scale->ReplyCount() > 0)
            return true;
        if (scale->PeerClosed()) {
            scale = std::make_unique<scalesim::ServerClient>();
            EXPECT_TRUE(scale->Connect("127.0.0.1", m_port));
            EXPECT_TRUE(scale->Send(DataRequest(0, 77)));
        }
        return false;
    };
    ASSERT_TRUE(scale->Connect("127.0.0.1", m_port));
    ASSERT_TRUE(scale->Send(DataRequest(0, 77)));
    ASSERT_TRUE(PumpUntil(served, kIdle + std::chrono::seconds(5)));
    EXPECT_LE(std::chrono::steady_clock::now() - start, TestDeadline(kIdle + std::chrono::seconds(5)));
    EXPECT_EQ(scale->Replies()[0][0], 0x1F);
    // The scale keeps speaking, twice a second; the silent ones go.
    std::size_t sent = 1;
    auto lastSent = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (scale->ReplyCount() == sent && std::chrono::steady_clock::now() - lastSent > kIdle / 6) {
                EXPECT_TRUE(scale->Send(DataRequest(0, 77)));
                ++sent;
                lastSent = std::chrono::steady_clock::now();
            }
            return m_server->GetConnectionCount() == 1;
        },
        kIdle * 2));
    EXPECT_FALSE(scale->PeerClosed());
    EXPECT_EQ(m_server->GetConnectionCount(), 1u);
    EXPECT_GE(LogCount("||Idle Time Out : ") + LogCount("||Closed For A New Connection : "), 180u);
}

// Silent connections that reopen as soon as they are closed take every free
// place beside scales that report over held connections: no scale's
// connection is closed for them, each report is acknowledged within the
// scale's wait and stored once; the silent ones go, oldest first, logged as
// such.
TEST_F(ServerRobustnessTest, ASilentCrowdNeverClosesAReportingScale)
{
    constexpr auto kIdle = std::chrono::milliseconds(1200);
    m_server = std::make_unique<CResultServer>(m_pane);
    m_server->SetListenAddress("127.0.0.1");
    m_server->SetIdleTimeout(kIdle);
    m_server->SetConnectionLimit(40);
    ASSERT_TRUE(m_server->StartResultServer());
    std::vector<std::unique_ptr<scalesim::PacedScale>> scales;
    const int wait = static_cast<int>(TestDeadline(std::chrono::milliseconds(1000)).count());
    for (int i = 0; i < 20; ++i)
        scales.push_back(std::make_unique<scalesim::PacedScale>(m_port, 100000 * (i + 1), 300, wait));
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 20; }));
    auto crowd = std::make_unique<ReopeningCrowd>(m_port, 60, "");
    const bool crowded = PumpUntil(
        [&] {
            for (const auto& scale : scales)
                if (scale->AckedPrices().size() < 6)
                    return false;
            return LogCount("||Closed For A New Connection : ") >= 20;
        },
        std::chrono::seconds(20));
    crowd.reset();
    for (const auto& scale : scales)
        scale->Stop();
    std::map<std::string, int> stored;
    for (const auto& row : Select(kServerDatabase, "SELECT [Totalprice] FROM [Server_DB]"))
        ++stored[row.front().Str()];
    std::size_t acknowledged = 0;
    for (const auto& scale : scales) {
        EXPECT_EQ(scale->Resends(), 0);
        EXPECT_EQ(scale->Reconnects(), 0);
        for (const std::int32_t price : scale->AckedPrices()) {
            ++acknowledged;
            EXPECT_EQ(stored[std::to_string(price)], 1) << "price " << price;
        }
    }
    ASSERT_TRUE(crowded);
    EXPECT_EQ(stored.size(), acknowledged) << "no sale stored that was not acknowledged";
    EXPECT_EQ(LogCount("||Idle Time Out : "), 0u);
}

// With every place taken by connections that never spoke, a newcomer from an
// address outside the scale register closes the oldest from such an address,
// never one from a registered address. A registered newcomer closes one from
// another address at once, young as it is; among registered ones only, the
// oldest that never spoke.
TEST_F(ServerRobustnessTest, ARegisteredAddressKeepsItsPlaceAgainstAnUnregisteredOne)
{
    m_server = std::make_unique<CResultServer>(m_pane);
    m_server->SetListenAddress("127.0.0.1");
    m_server->SetIdleTimeout(std::chrono::milliseconds(3000));
    m_server->SetConnectionLimit(2);
    ASSERT_TRUE(m_server->StartResultServer());
    scalesim::ServerClient registered;
    ASSERT_TRUE(registered.Connect("127.0.0.1", m_port));
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 1; }));
    scalesim::ServerClient unregistered;
    ASSERT_TRUE(unregistered.Connect("127.0.0.1", m_port, 5000, "127.0.0.2"));
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 2; }));
    // A newcomer turned away (none has waited long enough) comes again.
    std::vector<std::unique_ptr<scalesim::ServerClient>> newcomers;
    const auto comeUntil = [&](const char* from, const scalesim::ServerClient& closed) {
        const std::size_t kept = newcomers.size();
        return PumpUntil([&] {
            if (closed.PeerClosed())
                return true;
            if (newcomers.size() == kept || newcomers.back()->PeerClosed()) {
                newcomers.push_back(std::make_unique<scalesim::ServerClient>());
                EXPECT_TRUE(newcomers.back()->Connect("127.0.0.1", m_port, 5000, from));
            }
            return false;
        });
    };
    ASSERT_TRUE(comeUntil("127.0.0.2", unregistered));
    EXPECT_FALSE(registered.PeerClosed());
    EXPECT_EQ(LogCount("127.0.0.2||Closed For A New Connection : "), 1u);
    scalesim::ServerClient scale;
    ASSERT_TRUE(scale.Connect("127.0.0.1", m_port));
    ASSERT_TRUE(PumpUntil([&] { return newcomers.back()->PeerClosed(); }));
    EXPECT_FALSE(registered.PeerClosed());
    EXPECT_EQ(LogCount("127.0.0.2||Closed For A New Connection : "), 2u);
    scalesim::ServerClient second;
    ASSERT_TRUE(second.Connect("127.0.0.1", m_port));
    ASSERT_TRUE(PumpUntil([&] { return registered.PeerClosed(); }));
    EXPECT_FALSE(scale.PeerClosed());
    EXPECT_EQ(LogCount("127.0.0.1||Closed For A New Connection : "), 1u);
}

// A peer that sends refused requests again and again writes one log line a
// minute, then their count when it goes; its good requests are served.
TEST_F(ServerRobustnessTest, RefusedRequestsOfAPeerAreLoggedOnceAMinute)
{
    Start();
    auto client = Connect();
    scalesim::Bytes garbage;
    for (int i = 0; i < 500; ++i) {
        const scalesim::Bytes request = DataRequest(0, 77, 1);
        garbage.insert(garbage.end(), request.begin(), request.end());
    }
    ASSERT_TRUE(client->Send(garbage));
    ASSERT_TRUE(Exchange(*client, DataRequest(0, 77), 1));
    EXPECT_EQ(LogCount("||Request Time : "), 2u);
    client->Close();
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 0; }));
    EXPECT_EQ(LogCount("||Refused Requests Not Logged : 499"), 1u);
}

// While another program holds the store, requests for an item it holds get
// no reply (the scale asks again) and one box for the lock, not one each;
// once it lets go, the item is answered, and a new lock is boxed again.
TEST_F(ServerRobustnessTest, ALockedStoreAnswersNothingAndIsBoxedOnce)
{
    Start();
    auto client = Connect();
    for (std::size_t round = 1; round <= 2; ++round) {
        // Its box tells that the requests before it were handled.
        scalesim::ServerClient stranger;
        ASSERT_TRUE(stranger.Connect("127.0.0.1", m_port, 5000, "127.0.0." + std::to_string(round + 1)));
        DbLockHolder holder;
        ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase)));
        const std::size_t boxes = m_boxes.Records().size();
        ASSERT_TRUE(client->Send(DataRequest(0, 77)));
        ASSERT_TRUE(client->Send(DataRequest(0, 77)));
        ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() > boxes; }, std::chrono::seconds(10)));
        ASSERT_TRUE(stranger.Send(DataRequest(0, 77)));
        ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().back().text == "Unregistered Scale Request."; },
            std::chrono::seconds(10)));
        holder.Release();
        EXPECT_EQ(client->ReplyCount(), round - 1) << "no reply during the lock";
        ASSERT_TRUE(Exchange(*client, DataRequest(0, 77), round));
        EXPECT_EQ(client->Replies().back()[6], 1) << "found";
        const auto records = m_boxes.Records();
        ASSERT_EQ(records.size(), boxes + 2);
        EXPECT_NE(records[boxes].text.Find("Server_Store.mdb"), -1) << records[boxes].text.GetString();
    }
}

// A report's reply goes out before its log line is written: with the log's
// writer held (a pipe nobody reads yet), the scale has its acknowledgement.
TEST_F(ServerRobustnessTest, TheReplyGoesBeforeTheLogLine)
{
    Start();
    auto client = Connect();
    const std::string log = m_root.Native("C:\\Zuvar\\Server log\\2006_5_3\\Calvorn_log.txt");
    ASSERT_EQ(::unlink(log.c_str()), 0);
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    ASSERT_TRUE(client->Send(SaleMessage(false, 77, 5, 5)));
    const bool replied = PumpUntil([&] { return client->ReplyCount() == 1; });
    const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK); // lets the log's writer go on
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(replied);
    ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() >= 2; }, std::chrono::seconds(10)));
    m_server.reset();
    ::close(reader);
    EXPECT_EQ(Stored(), (CCheckedDaoHelper::Rows { { "77", "Pear" } }));
}
