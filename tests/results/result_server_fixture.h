#pragma once
// The results server on a private data root, listening on a free loopback
// port of 1500-8000, with scale 127.0.0.1 registered as "Front" of manager m1
// and the clock at 3 May 2006, 9:07. The left pane is a stand-in holding what
// the server told it, with m1 logged in.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <thread>

#include "db/checked_dao_helper.h"
#include "db/general_dao_helper.h"
#include "platform/base/datetime.h"
#include "results/result_server.h"
#include "shell/calvorn_view.h" // kManagerFolder, kManagerTemplateId
#include "shell/file_helpers.h"
#include "shell/scale_dialogs.h"
#include "tests/support/server_client.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

// The left pane as the results server sees it.
class FakeServerPane : public CResultServerHost {
public:
    void ServerStarted(const CString& database, const CString&) override
    {
        serverMode = TRUE;
        databasePath = database;
    }
    void ServerStopped() override { serverMode = FALSE; }
    const CString& UserId() const override { return userId; }

    BOOL serverMode = FALSE;
    CString databasePath;
    CString userId = "m1";
};

// Connections from the address from ("" for any) that never speak and open
// again as soon as the server closes them.
class ReopeningCrowd {
public:
    ReopeningCrowd(unsigned port, std::size_t size, std::string from)
        : m_thread([this, port, size, from = std::move(from)] { Run(port, size, from); })
    { }
    ~ReopeningCrowd()
    {
        m_bStop = true;
        m_thread.join();
    }
    ReopeningCrowd(const ReopeningCrowd&) = delete;
    ReopeningCrowd& operator=(const ReopeningCrowd&) = delete;
    int Opened() const { return m_opened.load(); }

private:
    void Run(unsigned port, std::size_t size, const std::string& from)
    {
        std::vector<std::unique_ptr<CSocket>> silent(size);
        std::mutex lock;
        std::condition_variable pause;
        while (!m_bStop) {
            for (auto& socket : silent) {
                std::uint8_t byte = 0;
                std::size_t got = 0;
                if (socket && socket->Receive(std::span(&byte, 1), got, 0).Code() == IoCode::Timeout)
                    continue;
                socket = std::make_unique<CSocket>();
                if (socket->Connect("127.0.0.1", port, 1000, from.empty() ? nullptr : from.c_str()).ok())
                    ++m_opened;
            }
            std::unique_lock<std::mutex> guard(lock);
            pause.wait_for(guard, std::chrono::milliseconds(5), [&] { return m_bStop.load(); });
        }
    }

    std::atomic<bool> m_bStop { false };
    std::atomic<int> m_opened { 0 };
    std::thread m_thread;
};

class ResultServerFixture : public testing::Test {
protected:
    void SetUp() override
    {
        std::tm t {};
        t.tm_year = 2006 - 1900;
        t.tm_mon = 4;
        t.tm_mday = 3;
        t.tm_hour = 9;
        t.tm_min = 7;
        t.tm_isdst = -1;
        const std::time_t when = std::mktime(&t);
        AfxSetClock([when] { return std::chrono::system_clock::from_time_t(when); });
        MakeDirectoryPath(kManagerFolder);
        ASSERT_TRUE(ProvisionDatabaseFile(kManagerTemplateId, kManagerDatabase));
        ASSERT_TRUE(ProvisionDatabaseFile(kServerTemplateId, kServerDatabase));
        Register("127.0.0.1", "m1");
        m_port = scalesim::FreeServerPort("127.0.0.1");
        TempDataRoot::WriteAll(m_root.Native(kServerPortFile), std::to_string(m_port));
    }

    void TearDown() override
    {
        m_server.reset();
        AfxSetClock(nullptr);
    }

    // Starts the server on loopback; the "Server Start" box is answered.
    void Start()
    {
        m_server = std::make_unique<CResultServer>(m_pane);
        m_server->SetListenAddress("127.0.0.1");
        ASSERT_TRUE(m_server->StartResultServer());
    }

    void Register(const char* ip, const char* mgId)
    {
        CString sql;
        sql.Format("INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port], [mg_id]) VALUES('1', "
                   "'Front', '%s', '1', '%s')",
            ip, mgId);
        Execute(kManagerDatabase, sql);
    }

    // Item 77, "Pear" (POS code 9), of manager m1 in Server_Store.mdb.
    static void StorePear()
    {
        Execute(kServerDatabase,
            "INSERT INTO [Item]([item_num], [item_name], [pos_code], [mg_id]) VALUES('77', 'Pear', '9', "
            "'m1')");
    }

    static void Execute(const char* path, const CString& sql)
    {
        CCheckedDaoHelper dao;
        dao.OpenDatabase(path);
        ASSERT_TRUE(dao.ExecuteChecked(sql)) << sql.GetString();
        dao.CloseDatabase();
    }

    static CCheckedDaoHelper::Rows Select(const char* path, const CString& sql)
    {
        CCheckedDaoHelper dao;
        dao.OpenDatabase(path);
        CCheckedDaoHelper::Rows rows;
        EXPECT_NE(dao.Select(sql, &rows), CCheckedDaoHelper::Lookup::Failed) << sql.GetString();
        dao.CloseDatabase();
        return rows;
    }

    // A client connected to the server, its connection accepted.
    std::unique_ptr<scalesim::ServerClient> Connect()
    {
        auto client = std::make_unique<scalesim::ServerClient>();
        const std::size_t before = m_server->GetConnectionCount();
        EXPECT_TRUE(client->Connect("127.0.0.1", m_port));
        EXPECT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() > before; }));
        return client;
    }

    // Sends bytes and pumps until the client holds count replies in all.
    static bool Exchange(scalesim::ServerClient& client, const scalesim::Bytes& bytes, std::size_t count)
    {
        return client.Send(bytes) && PumpUntil([&] { return client.ReplyCount() >= count; });
    }

    std::vector<std::string> LogLines() const
    {
        return TempDataRoot::ReadCrLfLines(m_root.Native("C:\\Zuvar\\Server log\\2006_5_3\\Calvorn_log.txt"));
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    unsigned m_port = 0;
    FakeServerPane m_pane;
    std::unique_ptr<CResultServer> m_server;
};
