// Writes while the item worker streams a load: each is refused with a
// message, nothing is stored, and the load still ends whole.

#include <functional>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/store_paths.h"
#include "resources/calvorn_ids.h"
#include "results/server_store.h"
#include "shell/file_helpers.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/command.h"

namespace {

constexpr int kItems = 1500;
constexpr const char* kBusyText
    = "The work screen is still reading its table.\nTry again when it has finished.";
constexpr const char* kSettingsDb = "C:\\Windows\\system\\Manager\\Manager_ScaleInfo.mdb";

// Scales to register: each takes a line in the shown communication dialog.
constexpr int kScales = 200;

// count rows of a table, numbered from 1, in one statement.
CString Numbered(const char* table, const char* columns, const char* values, int count = kItems)
{
    return CString::Formatted("INSERT INTO [%s](%s) WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                              "FROM n WHERE x < %d) SELECT %s FROM n",
        table, columns, count, values);
}

class WorkScreenBusyTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        m_db = MakeItemDatabase();
        Execute(m_db, { Numbered("Item", "[item_num], [unitprice], [mg_id]", "x, '100', 'vexo'") });
        ASSERT_TRUE(ProvisionDatabaseFile(kServerTemplateId, kServerDatabase));
        // No user door sets server mode without a listening socket.
        LeftPane()->ServerStarted(kServerDatabase, "");
    }
    // Starts the item screen's load and returns while its rows stream.
    void StartItemLoad()
    {
        LeftPane()->Mailbox().SetText(IDC_MAILBOX_NAME, "Item_Read");
        LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, "vexo");
        CString path = m_db;
        LeftPane()->SendHint(Screen::Item, &path);
        // The heading and two item rows are in.
        ASSERT_TRUE(PumpUntil([this] { return Grid().GetRowCount() >= 4; }));
        ASSERT_TRUE(m_screen->GetItemWorker()->IsRequestInFlight());
    }
    std::vector<CString> BoxTexts() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& box : m_boxes.Records())
            texts.push_back(box.text);
        return texts;
    }

    CString m_db;
};

} // namespace

TEST_F(WorkScreenBusyTest, ItemWritesDuringTheLoadAreRefusedAndTheLoadEndsWhole)
{
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        { "cell edit", [this] { EditCell(1, 4, "5"); } },
        { "insert",
            [this] {
                ModalDialogScript::Push([](CDialog& dialog) {
                    dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "1");
                    AfxClickDlgButton(dialog, IDOK);
                });
                ClickControl(IDC_WORK_INSERT);
            } },
        { "delete", [this] { ClickControl(IDC_WORK_DELETE); } },
        { "synchronization", [this] { ClickControl(IDC_WORK_SYNC_TABLES); } },
        { "column fill",
            [this] {
                ClickCell(1, 1);
                ClickToolbar(ID_AUTO_VALUE);
            } },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        ModalDialogScript::Reset();
        StartItemLoad();
        c.act();
        EXPECT_EQ(BoxTexts(), std::vector<CString> { kBusyText }) << c.name;
        EXPECT_TRUE(ModalDialogScript::Records().empty()) << c.name;
        ASSERT_TRUE(WaitForLoad()) << c.name;
        EXPECT_EQ(Grid().GetRowCount(), kItems + 2) << c.name;
        EXPECT_EQ(Grid().GetItemText(kItems, 1), CString::Formatted("%d", kItems)) << c.name;
        EXPECT_EQ(Column(m_db, "SELECT COUNT(*) || '/' || SUM([unitprice]) FROM [Item]"),
            std::vector<CString> { CString::Formatted("%d/%d", kItems, kItems * 100) })
            << c.name;
        EXPECT_EQ(Column(m_root.Native(kServerDatabase).c_str(), "SELECT COUNT(*) FROM [Item]"),
            std::vector<CString> { "0" })
            << c.name;
    }
}

TEST_F(WorkScreenBusyTest, ScaleWritesAndTheScaleListWaitForTheLoadToEnd)
{
    Execute(kManagerDatabase,
        { "DELETE FROM [ScaleMG]",
            Numbered("ScaleMG", "[scale_name], [ip], [mg_id]", "x, '10.0.0.1', 'vexo'", kScales) });
    Execute(kSettingsDb, { "INSERT INTO [Scale_Root_Info]([MyID]) VALUES('7')" });
    Switch(Screen::ScaleRootInfo, "Scale_Root_Info_Read", "vexo", m_db);
    ClickCell(1, 1);
    m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    // Communication Setup reads the register; a second one meanwhile is told.
    ASSERT_TRUE(Command(*GetMainFrame(), ID_COMM_SETUP)); // Communication Setup > Setup
    ASSERT_TRUE(PumpUntil([this] { return m_screen->Scales().CommSettings().GetRegistered().size() >= 3; }));
    for (const int id : { IDC_WORK_SCALE_INFO_INSERT, IDC_WORK_SCALE_INFO_TRANS, IDC_WORK_SCALE_INFO_UPDATE,
             IDC_WORK_SCALE_INFO_DELETE }) {
        ASSERT_TRUE(m_screen->GetItemWorker()->IsRequestInFlight()) << id;
        ClickControl(id);
    }
    ASSERT_TRUE(Command(*GetMainFrame(), ID_COMM_SETUP)); // Communication Setup > Setup
    EXPECT_EQ(BoxTexts(), std::vector<CString>(5, kBusyText));
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    EXPECT_TRUE(m_port.m_ethernet.empty());
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(m_screen->Scales().CommSettings().GetRegistered().size(), static_cast<std::size_t>(kScales));
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info]"), std::vector<CString> { "7" });
    EXPECT_EQ(Grid().GetRowCount(), 3);
}
