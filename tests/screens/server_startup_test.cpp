// The program starts the results server when Server_Start_Ok.bin says TRUE;
// the Server Prog commands store their setting and end the program.

#include "resources/calvorn_ids.h"
#include "results/result_server.h"
#include "results/server_settings.h"
#include "shell/file_helpers.h"
#include "shell/scale_dialogs.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/command.h"
#include "tests/support/server_client.h"

namespace {

class ServerStartupTest : public WorkScreenFixture {
protected:
    void SetUp() override { }

    void StartProgram(const char* startSetting)
    {
        MakeDirectoryPath(kManagerFolder);
        if (startSetting)
            TempDataRoot::WriteAll(m_root.Native(kServerStartFile), startSetting);
        TempDataRoot::WriteAll(m_root.Native(kServerPortFile), std::to_string(scalesim::FreeServerPort("")));
        RegisterResultServer();
        WorkScreenFixture::SetUp();
    }

    void TearDown() override
    {
        WorkScreenFixture::TearDown();
        SetResultServerFactory(nullptr);
        for (UINT id : { ID_SERVER_START, ID_SERVER_STOP, ID_SERVER_PORT })
            SetServerCommandHandler(id, nullptr);
    }

    std::vector<CString> BoxTexts() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& record : m_boxes.Records())
            texts.push_back(record.text);
        return texts;
    }
};

} // namespace

TEST_F(ServerStartupTest, StartsOnlyWhenTheSettingSaysSo)
{
    struct Case {
        const char* setting;
        int running;
    } cases[] = { { nullptr, 0 }, { "FALSE", 0 }, { "TRUE", 1 } };
    for (const Case& c : cases) {
        StartProgram(c.setting);
        EXPECT_EQ(LeftPane()->IsServerMode(), c.running) << (c.setting ? c.setting : "(no file)");
        const std::vector<CString> boxes = BoxTexts();
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), CString("Server Start")), c.running);
        Switch(Screen::Item, "Item_Read", "vexo", MakeItemDatabase());
        EXPECT_EQ(Visible(IDC_WORK_SYNC_TABLES), c.running == 1);
        // The server database the screen took from the left pane (shown nowhere).
        EXPECT_EQ(m_screen->Context().ServerDbPath(), c.running ? CString(kServerDatabase) : CString());
        WorkScreenFixture::TearDown();
        MessageBoxScript::Reset();
    }
}

// Server Start and Server Stop, routed from the work screen to the left
// pane: greyed, so the user's choice does nothing; their handlers, which
// only a command sent past the menu reaches, store the setting, ask for the
// restart and end the program.
TEST_F(ServerStartupTest, StartAndStopCommandsStoreTheSettingAndEnd)
{
    const std::pair<UINT, const char*> cases[] = { { ID_SERVER_START, "TRUE" }, { ID_SERVER_STOP, "FALSE" } };
    for (const auto& [id, stored] : cases) {
        StartProgram(nullptr);
        const std::string before = TempDataRoot::ReadAll(m_root.Native(kServerStartFile));
        EXPECT_FALSE(Command(*m_screen, id)) << id;
        EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kServerStartFile)), before);
        ASSERT_NE(GetMainFrame(), nullptr);
        m_screen->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kServerStartFile)), stored);
        EXPECT_EQ(BoxTexts().back(), kRestartText);
        EXPECT_EQ(GetMainFrame(), nullptr) << "the program ends";
        WorkScreenFixture::TearDown();
        MessageBoxScript::Reset();
    }
}
