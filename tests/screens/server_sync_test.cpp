// The Synchronization buttons: each screen's rows into the server database,
// inserted and then updated, quotes intact, failures counted; then a
// simulated scale asks the results server for what was written.

#include "platform/base/exception.h"
#include "protocol/scale_records.h"
#include "protocol/server_messages.h"
#include "resources/calvorn_ids.h"
#include "results/result_server.h"
#include "screens/table_bridge.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"
#include "shell/scale_dialogs.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/db_lock.h"
#include "tests/support/scale_sim_bytes.h"
#include "tests/support/server_client.h"

namespace {

using Texts = std::vector<CString>;

class ServerSyncTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        m_db = MakeItemDatabase();
        ASSERT_TRUE(ProvisionDatabaseFile(kServerTemplateId, kServerDatabase));
        // No user door sets server mode without a listening socket.
        LeftPane()->ServerStarted(kServerDatabase, "");
    }

    // Clicks a Synchronization button where the user sees it: the click
    // reaches whatever window lies on top there.
    void Press(int id)
    {
        ASSERT_TRUE(Visible(id) && Enabled(id)) << id;
        ASSERT_TRUE(ClickAtControl(*m_screen, id)) << id;
    }
    CString LastBox() const
    {
        const auto records = m_boxes.Records();
        return records.empty() ? CString() : records.back().text;
    }
    Texts Server(const char* sql) { return Column(m_root.Native(kServerDatabase).c_str(), sql); }
    void ExpectIdle()
    {
        EXPECT_FALSE(Locked());
        for (int id : { IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL })
            EXPECT_TRUE(Enabled(id)) << id;
    }

    CString m_db;
};

const char* const kItems
    = "SELECT [item_num] || '|' || [item_name] || '|' || [item_name2] || '|' || [unitprice] "
      "|| '|' || [mg_id] FROM [Item] ORDER BY [ID]";

} // namespace

// Every manager's rows go in under vexo; a second run updates them; quotes
// and empty names arrive as the grid holds them.
TEST_F(ServerSyncTest, ItemsAreInsertedThenUpdated)
{
    Execute(m_db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Kim''s', '1500', "
          "'m1')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('8', 'Pear', 'm2')" });
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(LastBox(), "Sync ok");
    EXPECT_EQ(Server(kItems), (Texts { "7|Kim's|NULL|1500|vexo", "8|Pear|NULL|0|vexo" }));
    ExpectIdle();

    EditCell(1, 4, "1800");
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(Server(kItems), (Texts { "7|Kim's|NULL|1800|vexo", "8|Pear|NULL|0|vexo" }));
}

// Keys are found as the engine compares text: every stored row of the key
// under the manager is updated, another manager's is not; a key twice in the
// grid is inserted once and then updated.
TEST_F(ServerSyncTest, KeysAreFoundAsTheEngineComparesThem)
{
    Execute(m_root.Native(kServerDatabase).c_str(),
        { "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('ab', 'old', 'vexo')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('ab', 'old', 'VEXO')",
            "INSERT INTO [Item]([item_num], [item_name], [item_name2], [unitprice], [mg_id]) VALUES('AB', "
            "'other', 'NULL', '5', 'm2')" });
    Execute(m_db,
        { "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('AB', 'new', 'm1')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('x', 'first', 'm1')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('x', 'second', 'm2')" });
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(LastBox(), "Sync ok");
    EXPECT_EQ(Server(kItems),
        (Texts { "ab|new|NULL|0|vexo", "ab|new|NULL|0|vexo", "AB|other|NULL|5|m2", "x|second|NULL|0|vexo" }));
}

// An empty key is written as "0" and found again as "0": no duplicate.
TEST_F(ServerSyncTest, EmptyKeyIsNotDuplicated)
{
    Execute(m_db, { "INSERT INTO [Add]([num], [str1], [mg_id]) VALUES('', 'x', 'vexo')" });
    Switch(Screen::Ingredient, "Add_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_TABLES);
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(Server("SELECT [num] || '|' || [str1] || '|' || [str2] FROM [Add]"), (Texts { "0|x|NULL" }));
}

TEST_F(ServerSyncTest, TextScreensKeepTheirQuotes)
{
    struct Case {
        Screen hint;
        const char* query;
        const char* insert;
        const char* read;
        const char* expected;
    } cases[] = {
        { Screen::Ingredient, "Add_Read",
            "INSERT INTO [Add]([num], [str2], [str3], [mg_id]) VALUES('3', 'O''Neil', 'b', 'vexo')",
            "SELECT [num] || '|' || [str1] || '|' || [str2] || '|' || [str3] FROM [Add]", "3|NULL|O'Neil|b" },
        { Screen::Advertisement, "Adv_Read",
            "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('9', 'it''s', 'vexo')",
            "SELECT [adv_num] || '|' || [str1] || '|' || [str2] FROM [AdvT]", "9|it's|NULL" },
        { Screen::LandAddition, "Land_Add_Read",
            "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('5', '''국산''', 'vexo')",
            "SELECT [land_num] || '|' || [land_str] || '|' || [mg_id] FROM [Land_Add]", "5|'국산'|vexo" },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        Execute(m_db, { c.insert });
        Switch(c.hint, c.query, "vexo", m_db);
        Press(IDC_WORK_SYNC_TABLES);
        Press(IDC_WORK_SYNC_TABLES);
        EXPECT_EQ(LastBox(), "Sync ok") << c.query;
        EXPECT_EQ(Server(c.read), (Texts { c.expected })) << c.query;
    }
}

// Each key decides for itself: a page of which one key is stored gets that
// key updated and the others inserted; first lines only, at most nine
// characters, "0" for an empty key.
TEST_F(ServerSyncTest, PresetKeysDecideOneByOne)
{
    Execute(m_root.Native(kServerDatabase).c_str(),
        { "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '1', '5', 'vexo')" });
    Execute(m_db,
        { "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '1', '123' || char(13) || "
          "char(10) "
          "|| 'Apple', 'vexo')",
            "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '2', '1234567890123', "
            "'vexo')" });
    Switch(Screen::Preset, "Pre_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_PRESET_LABEL);
    EXPECT_EQ(LastBox(), "Sync ok");
    const Texts rows
        = Server("SELECT [page_num] || '|' || [num] || '|' || [str] FROM [Preset] ORDER BY [ID]");
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[0], "1|1|123");
    EXPECT_EQ(rows[1], "1|2|123456789");
    EXPECT_EQ(rows[59], "1|60|0");
    ExpectIdle();
}

TEST_F(ServerSyncTest, UserLabelsAreInsertedThenUpdated)
{
    Execute(m_db, { "INSERT INTO [UserLabel]([file_num], [item_nameX], [mg_id]) VALUES('3', '10', 'vexo')" });
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", m_db);
    ClickControl(IDC_WORK_SYNC_PRESET_LABEL);
    EditCell(1, 2, "20");
    ClickControl(IDC_WORK_SYNC_PRESET_LABEL);
    EXPECT_EQ(LastBox(), "Sync ok");
    EXPECT_EQ(Server("SELECT [file_num] || '|' || [item_nameX] || '|' || [item_nameY] || '|' || [mg_id] FROM "
                     "[UserLabel]"),
        (Texts { "3|20|0|vexo" }));
}

// With the manager's default values on, rows come from the item database;
// an item it no longer holds is not written and the message counts it.
TEST_F(ServerSyncTest, DefaultValuesTakeTheStoredItems)
{
    TempDataRoot::WriteAll(
        m_root.Native(ManagerSettingsPath(kDefaultValueFile, "vexo").GetString()), "vexo\r\nTRUE");
    Execute(m_db,
        { "INSERT INTO [Item]([item_num], [item_name], [item_name2], [unitprice], [mg_id]) VALUES('7', 'A', "
          "'NULL', "
          "'1500', 'm1')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('8', 'B', 'm2')",
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('', 'C', 'm2')" });
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    Execute(m_db, { "DELETE FROM [Item] WHERE [item_num] = '8'" });
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(LastBox(), "Sync failed : 1 of 3 rows were not written.");
    // An empty key goes as "0".
    EXPECT_EQ(Server(kItems), (Texts { "7|A|NULL|1500|vexo", "0|C|NULL|NULL|vexo" }));
    ExpectIdle();
}

// A database that does not open, or a row that is refused: shown, counted,
// and the screen is released.
TEST_F(ServerSyncTest, FailuresAreShownAndReleaseTheScreen)
{
    Execute(m_db,
        { "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('1', 'same', 'vexo')",
            "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('2', 'same', 'vexo')" });
    Execute(m_root.Native(kServerDatabase).c_str(), { "CREATE UNIQUE INDEX [one] ON [AdvT] ([str1])" });
    LeftPane()->ServerStarted("C:\\missing.mdb", "");
    Switch(Screen::Advertisement, "Adv_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_TRUE(LastBox().Find("Sync") < 0);
    EXPECT_EQ(m_boxes.Records().back().type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    ExpectIdle();

    // While the refusal is shown, the row before it is in the file and the
    // file takes another writer (a scale's report).
    LeftPane()->ServerStarted(kServerDatabase, "");
    Switch(Screen::Advertisement, "Adv_Read", "vexo", m_db);
    MessageBoxScript::Reset();
    Texts whileShown;
    bool written = false;
    MessageBoxScript::PushAnswerWhen(IDOK, [&] {
        whileShown = Server("SELECT [adv_num] FROM [AdvT]");
        CDaoDatabase other;
        try {
            other.Open(m_root.Native(kServerDatabase).c_str(), FALSE, FALSE, kStoreDatabaseConnect);
            other.Execute("INSERT INTO [Server_DB]([code_gds]) VALUES('1')");
            written = true;
        } catch (CException* e) {
            e->Delete();
        }
        return true;
    });
    Press(IDC_WORK_SYNC_TABLES);
    EXPECT_EQ(whileShown, (Texts { "1" }));
    EXPECT_TRUE(written);
    ASSERT_EQ(m_boxes.Records().size(), 2u) << "the refusal, then the outcome";
    EXPECT_EQ(m_boxes.Records()[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(LastBox(), "Sync failed : 1 of 2 rows were not written.");
    EXPECT_EQ(Server("SELECT [adv_num] || [str1] FROM [AdvT]"), (Texts { "1same" }));
    ExpectIdle();

    // A table the stored keys cannot be read from: one error, nothing written.
    MessageBoxScript::Reset();
    Execute(m_root.Native(kServerDatabase).c_str(), { "DROP TABLE [AdvT]" });
    Switch(Screen::Advertisement, "Adv_Read", "vexo", m_db);
    Press(IDC_WORK_SYNC_TABLES);
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_NE(boxes[0].text.Find("AdvT"), -1) << boxes[0].text.GetString();
    EXPECT_EQ(boxes[1].text, "Sync failed : 2 of 2 rows were not written.");
    ExpectIdle();
}

// With the server database held by another program every row is refused:
// one box says why, then the outcome counts them all.
TEST_F(ServerSyncTest, ALockIsShownOncePerRun)
{
    Execute(m_db,
        { "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('1', 'a', 'vexo')",
            "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('2', 'b', 'vexo')" });
    Switch(Screen::Advertisement, "Adv_Read", "vexo", m_db);
    DbLockHolder holder;
    ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase), DbLockHolder::Kind::Write));
    Press(IDC_WORK_SYNC_TABLES);
    holder.Release();
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Couldn't update; currently locked by another session.");
    EXPECT_EQ(boxes[1].text, "Sync failed : 2 of 2 rows were not written.");
    EXPECT_TRUE(Server("SELECT [adv_num] FROM [AdvT]").empty());
    ExpectIdle();
}

// After a synchronisation a scale asks the results server for the rows: the
// records equal the transfers' builders' for the grid's values, and the page
// of the stored keys is the transfers' preset page.
TEST_F(ServerSyncTest, TheScaleGetsWhatWasSynchronised)
{
    Execute(m_db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [pos_flg], [pos_code], [pos_kind], "
          "[mg_id]) "
          "VALUES('7', 'Kim''s', '1500', '1', '123', '1', 'vexo')",
            "INSERT INTO [Add]([num], [str1], [str3], [mg_id]) VALUES('3', 'a', 'b', 'vexo')",
            "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '2', '77', 'vexo')" });
    Execute(kManagerDatabase,
        { "INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [mg_id]) VALUES('1', 'S', '127.0.0.1', "
          "'m1')" });
    RecordRow itemRow;
    RecordRow addRow;
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    for (const CString& text : RowTexts(1))
        itemRow.push_back(text.Str());
    itemRow.insert(itemRow.begin(), "");
    Press(IDC_WORK_SYNC_TABLES);
    Switch(Screen::Ingredient, "Add_Read", "vexo", m_db);
    for (const CString& text : RowTexts(1))
        addRow.push_back(text.Str());
    addRow.insert(addRow.begin(), "");
    Press(IDC_WORK_SYNC_TABLES);
    Switch(Screen::Preset, "Pre_Read", "vexo", m_db);
    std::vector<std::string> keys;
    for (const CString& text : m_screen->GetPresetKeys().GetKeyTexts())
        keys.push_back(text.Str());
    Press(IDC_WORK_SYNC_PRESET_LABEL);

    const unsigned port = scalesim::FreeServerPort("127.0.0.1");
    TempDataRoot::WriteAll(m_root.Native(kServerPortFile), std::to_string(port));
    CResultServer server(*LeftPane());
    server.SetListenAddress("127.0.0.1");
    ASSERT_TRUE(server.StartResultServer());
    scalesim::ServerClient scale;
    ASSERT_TRUE(scale.Connect("127.0.0.1", port));
    const ByteBuffer expected[] = {
        BuildDataReply(TableCode::Plu, 7, BuildPluRecord(itemRow).Payload()),
        BuildDataReply(TableCode::Add, 3, BuildTextRecord(TableCode::Add, addRow).Encode()),
        BuildDataReply(TableCode::Preset, 1, BuildPresetPage(1, keys)),
    };
    const std::pair<std::uint16_t, std::uint32_t> requests[] = { { 0, 7 }, { 1, 3 }, { 3, 1 } };
    for (const auto& [kind, number] : requests)
        ASSERT_TRUE(scale.Send(scalesim::DataRequest(kind, number)));
    ASSERT_TRUE(PumpUntil([&] { return scale.ReplyCount() == 3; }));
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(scalesim::Hex(scale.Replies()[i]), scalesim::Hex(expected[i])) << i;
}
