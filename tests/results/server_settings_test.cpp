// The server's start setting, its port, and its start and stop.

#include "results/server_settings.h"
#include "tests/results/result_server_fixture.h"

namespace {

class ServerSettingsTest : public ResultServerFixture { };

} // namespace

TEST_F(ServerSettingsTest, StartFlagIsTheLastLine)
{
    struct Case {
        const char* content; // nullptr: no file
        BOOL expected;
    } cases[] = {
        { nullptr, FALSE },
        { "", FALSE },
        { "FALSE", FALSE },
        { "TRUE", TRUE },
        { "yes", TRUE },
        { "FALSE\r\nTRUE", TRUE },
        { "TRUE\r\nFALSE", FALSE },
        { "TRUE\r\n\r\n", FALSE },
    };
    const std::string file = m_root.Native(kServerStartFile);
    for (const Case& c : cases) {
        std::remove(file.c_str());
        if (c.content)
            TempDataRoot::WriteAll(file, c.content);
        EXPECT_EQ(ReadServerStartFlag(), c.expected) << (c.content ? c.content : "(missing)");
    }
}

// A port outside 1500-8000, or one already taken, is shown and the server
// does not run.
TEST_F(ServerSettingsTest, StartFailuresAreShown)
{
    CSocket taken;
    ASSERT_TRUE(taken.Listen("127.0.0.1", m_port).ok());
    const std::string portFile = m_root.Native(kServerPortFile);
    struct Case {
        std::string port;
        const char* shown;
    } cases[] = {
        { "1499", "Port Number : 1500 ~8000" },
        { "8001", "Port Number : 1500 ~8000" },
        { "port", "Port Number : 1500 ~8000" },
        { std::to_string(m_port), "Server Start Failed" },
        { std::string("\x9c\x01"
                      "3000\xff\x07",
              8),
            "Server Start Failed : C:\\Windows\\system\\Manager\\Server_Port.bin\nIts content is not "
            "understood." },
    };
    for (const Case& c : cases) {
        TempDataRoot::WriteAll(portFile, c.port);
        MessageBoxScript::Reset();
        CResultServer server(m_pane);
        server.SetListenAddress("127.0.0.1");
        EXPECT_FALSE(server.StartResultServer()) << c.port;
        EXPECT_FALSE(server.IsRunning());
        EXPECT_EQ(m_pane.serverMode, FALSE);
        ASSERT_EQ(m_boxes.Records().size(), 1u) << c.port;
        EXPECT_NE(m_boxes.Records()[0].text.Str().find(c.shown), std::string::npos) << c.port;
    }
}

// A start setting of random bytes is not taken for TRUE: the server does not
// start, and the box names the file instead of showing its bytes.
TEST_F(ServerSettingsTest, AStartSettingNotUnderstoodIsNamed)
{
    TempDataRoot::WriteAll(m_root.Native(kServerStartFile), std::string("\x81TRUE\x00\xfe", 7));
    CResultServer server(m_pane);
    server.SetListenAddress("127.0.0.1");
    server.StartAtStartUp();
    EXPECT_FALSE(server.IsRunning());
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text,
        "Server Start Failed : C:\\Windows\\system\\Manager\\Server_Start_Ok.bin\nIts content is not "
        "understood.");
}

// A start sets the pane's server mode and paths and logs; a stop closes the
// connections, clears the mode and logs.
TEST_F(ServerSettingsTest, StartAndStop)
{
    TempDataRoot::WriteAll(m_root.Native(kServerPortFile), "x\r\n" + std::to_string(m_port));
    Start();
    EXPECT_EQ(m_boxes.Records().back().text, "Server Start");
    EXPECT_EQ(m_pane.serverMode, TRUE);
    EXPECT_EQ(m_pane.databasePath, kServerDatabase);
    auto client = Connect();
    m_server->StopResultServer();
    EXPECT_EQ(m_boxes.Records().back().text, "Server Stop");
    EXPECT_EQ(m_pane.serverMode, FALSE);
    EXPECT_EQ(m_server->GetConnectionCount(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return client->PeerClosed(); }));
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "Server Start Time : 2006/ 5/ 3: 9H- 7M");
    EXPECT_EQ(log[2], "Server Stop Time : 2006/ 5/ 3: 9H- 7M");
}
