// Loads through the real item worker thread: each kind of table into the
// grid, with its titles, "List n" headings, the locked key column and trailing
// row, the value replacements, and a manager seeing only its own rows.

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"

namespace {

using Texts = std::vector<CString>;

class WorkScreenLoadTest : public WorkScreenFixture {
protected:
    void ExpectLockedKeyAndTrailingRow()
    {
        const int key = ColumnOf("ID");
        ASSERT_GT(key, 0);
        const int last = Grid().GetRowCount() - 1;
        EXPECT_EQ(Grid().GetItemText(last, 0), "-->");
        for (int r = 1; r <= last; ++r)
            EXPECT_TRUE(Grid().GetItemState(r, key) & GRIDSTATE_READONLY) << "row " << r;
        for (int c = 1; c < Grid().GetColumnCount(); ++c)
            EXPECT_TRUE(Grid().GetItemState(last, c) & GRIDSTATE_READONLY) << "column " << c;
        for (int c = 1; c < key; ++c)
            EXPECT_FALSE(Grid().GetItemState(1, c) & GRIDSTATE_READONLY) << "column " << c;
    }
    // A request word straight into the item worker's mailbox, as a load puts
    // it there: no screen sends a word the worker does not know.
    void Request(const CString& db, const char* name)
    {
        m_screen->GetItemWorker()->OpenDatabase(db);
        m_screen->Context().DbMailbox().SetText(IDC_MAILBOX_NAME, name);
        m_screen->Context().DbMailbox().SetText(IDC_MAILBOX_TEXT, "SELECT [item_num] FROM [Item]");
        m_screen->GetItemWorker()->SetEvent();
    }
};

} // namespace

TEST_F(WorkScreenLoadTest, ItemsLoadWithTitlesHeadingsAndReplacements)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [land], [additem], [fmark], [mg_id]) "
          "VALUES('7', 'Apple', '1500', '0', 'NULL', 'Picked this morning in the hills', 'vexo')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('-1', '사과', '0', "
            "'kim')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);

    EXPECT_EQ(Caption(), "Item Display");
    EXPECT_EQ(RowTexts(0),
        (Texts { "ITEM_NUM", "ITEM_NAME", "ITEM_NAME2", "UNITPRICE", "FIX_PRICE", "LAND", "POS_FLG",
            "POS_CODE", "PIECE", "WEIGHT", "FMARK", "POS_KIND", "DATEPRINT", "LIMIT_DAY", "INGREDIENT",
            "ID" }));
    ASSERT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Grid().GetItemText(1, 0), "List 1");
    EXPECT_EQ(Grid().GetItemText(2, 0), "List 2");
    const Texts first = RowTexts(1);
    EXPECT_EQ(first[0], "7");
    EXPECT_EQ(first[1], "Apple");
    EXPECT_EQ(first[2], ""); // NULL
    EXPECT_EQ(first[3], "1500");
    EXPECT_EQ(first[5], ""); // "0"
    EXPECT_EQ(first[14], ""); // "NULL" text
    EXPECT_EQ(first[15], "1");
    const Texts second = RowTexts(2);
    EXPECT_EQ(second[0], "0"); // a placeholder's "-1" key
    EXPECT_EQ(second[1], "사과");
    EXPECT_EQ(second[3], "");
    EXPECT_EQ(second[15], "2");
    ExpectLockedKeyAndTrailingRow();
    // Each column is as wide as its widest text.
    EXPECT_GT(Grid().GetColumnWidth(ColumnOf("FMARK")), Grid().GetColumnWidth(1));
    for (int c = 0; c < Grid().GetColumnCount(); ++c) {
        const int loaded = Grid().GetColumnWidth(c);
        Grid().AutoSizeColumn(c);
        EXPECT_EQ(Grid().GetColumnWidth(c), loaded) << c;
    }
    EXPECT_TRUE(PumpUntil([this] { return m_screen->GetItemWorker()->GetReportFlag() == 1; }));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenLoadTest, AnotherManagerSeesOnlyItsOwnRowsAndTheAdministratorSeesAll)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [mg_id]) VALUES('1', 'vexo')",
            "INSERT INTO [Item]([item_num], [mg_id]) VALUES('2', 'kim')",
            "INSERT INTO [Item]([item_num], [mg_id]) VALUES('3', 'kim')",
            "INSERT INTO [Add]([num], [mg_id]) VALUES('4', 'lee')" });
    struct Case {
        const char* user;
        int rows;
    };
    for (const Case& c : { Case { "kim", 2 }, Case { "vexo", 3 }, Case { "lee", 0 }, Case { "", 0 } }) {
        Switch(Screen::Item, "Item_Read", c.user, db);
        EXPECT_EQ(Grid().GetRowCount() - 2, c.rows) << c.user;
        EXPECT_EQ(m_screen->Context().UserId(), c.user); // the screen's manager shows nowhere
    }
    Switch(Screen::Item, "Item_Read", "kim", db);
    EXPECT_EQ(Grid().GetItemText(1, 1), "2");
    EXPECT_EQ(Grid().GetItemText(2, 1), "3");
    // A manager id with a quote is matched literally, not run as SQL.
    Switch(Screen::Item, "Item_Read", "x' OR '1'='1", db);
    EXPECT_EQ(Grid().GetRowCount(), 2);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenLoadTest, ShortTablesLoadWithTheirTitlesAndEmptyValues)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Add]([num], [str1], [str2], [str3], [mg_id]) VALUES('5', 'salt', '0', '-1', 'vexo')",
            "INSERT INTO [AdvT]([adv_num], [str1], [str2], [mg_id]) VALUES('3', 'Sale today', 'NULL', "
            "'vexo')",
            "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('201', 'Jeju', 'vexo')",
            "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('202', 'Busan', 'vexo')" });
    struct Case {
        Screen hint;
        const char* query;
        const char* caption;
        Texts titles;
        Texts firstRow;
        int rows;
    };
    const Case cases[] = {
        { Screen::Ingredient, "Add_Read", "Ingredient Display",
            { "NUM", "STR1", "STR2", "STR3", "STR4", "STR5", "STR6", "STR7", "STR8", "STR9", "STR10", "ID" },
            { "5", "salt", "", "", "", "", "", "", "", "", "", "1" }, 1 },
        { Screen::Advertisement, "Adv_Read", "Advertisement Display", { "ADV_NUM", "STR1", "STR2", "ID" },
            { "3", "Sale today", "", "1" }, 1 },
        { Screen::LandAddition, "Land_Add_Read", "Land Addition Dispaly", { "LAND_NUM", "LAND_STR", "ID" },
            { "201", "Jeju", "1" }, 2 },
    };
    for (const Case& c : cases) {
        Switch(c.hint, c.query, "vexo", db);
        EXPECT_EQ(Caption(), c.caption);
        EXPECT_EQ(RowTexts(0), c.titles) << c.query;
        ASSERT_EQ(Grid().GetRowCount(), c.rows + 2) << c.query;
        EXPECT_EQ(Grid().GetItemText(c.rows, 0), CString::Formatted("List %d", c.rows));
        EXPECT_EQ(RowTexts(1), c.firstRow) << c.query;
        ExpectLockedKeyAndTrailingRow();
    }
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenLoadTest, PresetsFillTheKeysOfTheChosenPage)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '1', 'Pork\r\nbelly', 'vexo')",
            "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '60', '42', 'vexo')",
            "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '61', 'lost', 'vexo')",
            "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('2', '2', 'page two', 'vexo')" });
    Switch(Screen::Preset, "Pre_Read", "vexo", db);
    auto key = [this](int k) {
        CString text;
        m_screen->GetDlgItem(599 + k)->GetWindowText(text);
        return text;
    };
    auto keyId = [this](int k) {
        CString text;
        m_screen->GetDlgItem(699 + k)->GetWindowText(text);
        return text;
    };
    EXPECT_EQ(m_screen->GetPresetKeys().GetPage(), 1);
    EXPECT_EQ(key(1), "Pork\r\nbelly");
    EXPECT_EQ(keyId(1), "1");
    EXPECT_EQ(key(60), "42");
    EXPECT_EQ(keyId(60), "2");
    EXPECT_EQ(key(2), ""); // page 2's key
    EXPECT_TRUE(m_screen->GetPresetKeys().HasSheetFrame());
    EXPECT_TRUE(PumpUntil([this] { return m_screen->GetItemWorker()->GetReportFlag() == 1; }));
}

TEST_F(WorkScreenLoadTest, UserLabelsLoadWithoutTheManagerColumn)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [UserLabel]([file_num], [item_nameX], [item_nameY], [mg_id]) VALUES('3', '10', "
          "'NULL', 'vexo')",
            "INSERT INTO [UserLabel]([file_num], [mg_id]) VALUES('-1', 'kim')" });
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    ASSERT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Grid().GetItemText(0, 1), "file_num");
    EXPECT_EQ(Grid().GetItemText(0, 2), "item_nameX");
    EXPECT_EQ(ColumnOf("mg_id"), -1);
    EXPECT_EQ(Grid().GetItemText(0, Grid().GetColumnCount() - 1), "ID");
    EXPECT_EQ(Grid().GetItemText(1, 1), "3");
    EXPECT_EQ(Grid().GetItemText(1, 2), "10");
    EXPECT_EQ(Grid().GetItemText(1, 3), "0"); // NULL shows 0
    EXPECT_EQ(Grid().GetItemText(2, 1), "0"); // a placeholder's -1
    ExpectLockedKeyAndTrailingRow();
}

TEST_F(WorkScreenLoadTest, EmptyResultsShowTheirMessageAndStillReleaseTheWorker)
{
    const CString db = MakeItemDatabase();
    struct Case {
        const char* name;
        const char* message; // nullptr: none
    };
    const Case cases[] = {
        { "Item_Read", nullptr },
        { "User_Label_Read", "Not Found User-label info." },
        { "Scale_Result_All_Read", "Not exist a Result Data" },
        { "Unknown_Read", nullptr },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        m_screen->Context().SetUpdateLock(1); // as the load's start sets it
        Request(db, c.name);
        ASSERT_TRUE(WaitForLoad()) << c.name;
        ASSERT_TRUE(PumpUntil([this] { return m_screen->GetItemWorker()->GetReportFlag() == 1; })) << c.name;
        ASSERT_EQ(MessageBoxScript::Count(), c.message ? 1u : 0u) << c.name;
        if (c.message) {
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
        }
    }
}

TEST_F(WorkScreenLoadTest, RowsOfAnUnknownRequestAreAnsweredSoTheWorkerGoesOn)
{
    const CString db = MakeItemDatabase();
    Execute(db, { "INSERT INTO [Item]([item_num], [mg_id]) VALUES('1', 'vexo')" });
    Request(db, "Nobody_Reads_This");
    ASSERT_TRUE(WaitForLoad());
    // The worker is free again: a real load runs to its end.
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_EQ(Grid().GetRowCount(), 3);
}

TEST_F(WorkScreenLoadTest, AFailedOpenClearsTheLockAndKeepsTheButtonsUsable)
{
    const CString missing(m_root.Native("C:\\missing.mdb").c_str());
    Switch(Screen::Item, "Item_Read", "vexo", missing);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_NE(MessageBoxScript::Records()[0].type & MB_ICONSTOP, 0u);
    for (int id : { IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT,
             IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT })
        EXPECT_TRUE(Enabled(id)) << id;
    // The next choice is not dropped.
    const CString db = MakeItemDatabase();
    Switch(Screen::Ingredient, "Add_Read", "vexo", db);
    EXPECT_EQ(Caption(), "Ingredient Display");
    EXPECT_EQ(Grid().GetItemText(0, 1), "NUM");
}
