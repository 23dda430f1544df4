#include <functional>
// Row insertion and deletion on a real item database: placeholders with the
// key "-1" whose IDs come back into the grid, the rows chosen by Ctrl picks,
// Shift ranges, dragged ranges or dialog 153, and picks that touch the
// heading or trailing row.

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "resources/calvorn_ids.h"
#include "screens/row_dialogs.h"
#include "shell/manager_settings.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/command.h"
#include "tests/support/icon_check.h"

namespace {

class WorkScreenRowsTest : public WorkScreenFixture {
protected:
    // An item screen with items 1..count (IDs 1..count).
    void LoadItems(int count, const char* user = "vexo")
    {
        m_db = MakeItemDatabase();
        std::vector<CString> sql;
        for (int i = 1; i <= count; ++i)
            sql.push_back(CString::Formatted(
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('%d', 'Item %d', '%s')", i, i,
                user));
        Execute(m_db, sql);
        Switch(Screen::Item, "Item_Read", user, m_db);
        ASSERT_EQ(Grid().GetRowCount(), count + 2);
    }
    int IdColumn() const { return ColumnOf("ID", 1); }
    // The ID column of the grid's data rows, top down.
    std::vector<CString> GridIds() const
    {
        std::vector<CString> ids;
        for (int r = 1; r < Grid().GetRowCount() - 1; ++r)
            ids.push_back(Grid().GetItemText(r, IdColumn()));
        return ids;
    }
    std::vector<CString> GridHeadings() const
    {
        std::vector<CString> headings;
        for (int r = 1; r < Grid().GetRowCount(); ++r)
            headings.push_back(Grid().GetItemText(r, 0));
        return headings;
    }
    std::vector<CString> Stored(const char* sql) { return Column(m_db, sql); }
    // A mouse click on cell (row, 2) with the given keys held.
    void Click(int row, UINT keys = 0) { ClickCell(row, 2, keys); }
    // Answers dialog 153 with a count (nullptr: Cancel).
    static void AnswerLines(const char* count)
    {
        ModalDialogScript::Push([count](CDialog& dialog) {
            if (!count) {
                AfxClickDlgButton(dialog, IDCANCEL);
                return;
            }
            dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, count);
            AfxClickDlgButton(dialog, IDOK);
        });
    }

    CString m_db;
};

TEST_F(WorkScreenRowsTest, DialogCountInsertsPlaceholdersInFrontOfTheTrailingRow)
{
    LoadItems(2);
    AnswerLines("3");
    ClickControl(IDC_WORK_INSERT);
    ASSERT_EQ(ModalDialogScript::Records().size(), 1u);
    EXPECT_EQ(ModalDialogScript::Records()[0].templateId, IDD_GRID_LINE);
    EXPECT_EQ(Grid().GetRowCount(), 7);
    EXPECT_EQ(
        GridHeadings(), (std::vector<CString> { "List 1", "List 2", "List 3", "List 4", "List 5", "-->" }));
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "2", "3", "4", "5" }));
    EXPECT_EQ(Stored("SELECT [ID] FROM [Item] WHERE [item_num] = '-1' AND [mg_id] = 'vexo' ORDER BY [ID]"),
        (std::vector<CString> { "3", "4", "5" }));
    // The new rows show only their heading and ID, and take edits by ID.
    EXPECT_EQ(Grid().GetItemText(4, 1), "");
    EditCell(4, 1, "44");
    EXPECT_EQ(FirstRow(m_db, "SELECT [item_num] FROM [Item] WHERE [ID] = 4"), "44\tjo/");
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_FALSE(m_screen->GetItemWorker()->IsDatabaseOpen());
    EXPECT_TRUE(Enabled(IDC_WORK_INSERT));
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_ALL));
}

TEST_F(WorkScreenRowsTest, DialogRefusesCountsBelowOneAndCancelInsertsNothing)
{
    LoadItems(1);
    bool icons = false;
    ModalDialogScript::Push([&icons](CDialog& dialog) {
        icons = ShowsIcon(dialog, IDOK, 181) && ShowsIcon(dialog, IDCANCEL, 162);
        dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "0");
        AfxClickDlgButton(dialog, IDOK);
        dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "x");
        AfxClickDlgButton(dialog, IDOK);
        AfxClickDlgButton(dialog, IDCANCEL);
    });
    ClickControl(IDC_WORK_INSERT);
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Input Grid lines.");
    EXPECT_TRUE(icons);
    EXPECT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Stored("SELECT [ID] FROM [Item]"), (std::vector<CString> { "1" }));
}

TEST_F(WorkScreenRowsTest, DialogRefusesACountAboveWhatTheTableHolds)
{
    m_db = MakeItemDatabase();
    struct Case {
        Screen hint;
        const char* query;
        const char* count;
        const char* refusal;
    };
    const Case cases[] = {
        { Screen::Item, "Item_Read", "9001", "Grid lines is a 1 - 9000." },
        { Screen::Item, "Item_Read", "2147483648", "Grid lines is a 1 - 9000." },
        { Screen::Ingredient, "Add_Read", "601", "Grid lines is a 1 - 600." },
        { Screen::Advertisement, "Adv_Read", "211", "Grid lines is a 1 - 210." },
        { Screen::LandAddition, "Land_Add_Read", "301", "Grid lines is a 1 - 300." },
    };
    for (const Case& c : cases) {
        Switch(c.hint, c.query, "vexo", m_db);
        MessageBoxScript::Reset();
        ModalDialogScript::Push([&c](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, c.count);
            AfxClickDlgButton(dialog, IDOK);
            AfxClickDlgButton(dialog, IDCANCEL);
        });
        ClickControl(IDC_WORK_INSERT);
        ASSERT_EQ(m_boxes.Records().size(), 1u) << c.count;
        EXPECT_EQ(m_boxes.Records()[0].text, c.refusal) << c.count;
        EXPECT_EQ(Grid().GetRowCount(), 2) << c.count;
    }
    EXPECT_TRUE(Stored("SELECT [ID] FROM [Item] UNION ALL SELECT [ID] FROM [Add] UNION ALL SELECT [ID] FROM "
                       "[AdvT] UNION ALL SELECT [ID] FROM [Land_Add]")
                    .empty());
}

TEST_F(WorkScreenRowsTest, CtrlPicksInsertAtEachPickedRowHighestFirst)
{
    LoadItems(6);
    Click(2, MK_CONTROL);
    Click(5, MK_CONTROL);
    ASSERT_EQ(Grid().Picks().listFlag, 1);
    ClickControl(IDC_WORK_INSERT);
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    // Row 5 first (ID 7), then row 2 (ID 8): the old row 5 moved to 7.
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "8", "2", "3", "4", "7", "5", "6" }));
    // Headings count the rows before each insertion.
    EXPECT_EQ(Grid().GetItemText(6, 0), "List 7");
    EXPECT_EQ(Grid().GetItemText(2, 0), "List 8");
    EXPECT_EQ(Grid().Picks().listFlag, 0);
    EXPECT_EQ(Grid().Picks().rangeA, 0);
}

TEST_F(WorkScreenRowsTest, ShiftRangeInsertsOneRowPerRangeRow)
{
    LoadItems(5);
    Click(4);
    Click(2, MK_SHIFT);
    ASSERT_EQ(Grid().Picks().rangeFlag, 1);
    ClickControl(IDC_WORK_INSERT);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "6", "7", "8", "2", "3", "4", "5" }));
}

TEST_F(WorkScreenRowsTest, ShiftRangeDeletesFromTheHighestRowDown)
{
    LoadItems(5);
    Click(2);
    Click(4, MK_SHIFT);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "5" }));
    EXPECT_EQ(Stored("SELECT [ID] FROM [Item] ORDER BY [ID]"), (std::vector<CString> { "1", "5" }));
    EXPECT_EQ(Grid().Picks().rangeFlag, 0);
}

TEST_F(WorkScreenRowsTest, CtrlPicksDeleteTheirRowsOnly)
{
    LoadItems(5);
    Click(1, MK_CONTROL);
    Click(3, MK_CONTROL);
    Click(5, MK_CONTROL);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "2", "4" }));
    EXPECT_EQ(Stored("SELECT [ID] FROM [Item] ORDER BY [ID]"), (std::vector<CString> { "2", "4" }));
}

TEST_F(WorkScreenRowsTest, DeleteTakesTheClickedRowElseTheLastDataRow)
{
    LoadItems(3);
    Click(2);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "3" }));
    // Nothing clicked (a click on the heading corner): the last data row.
    ClickCell(0, 0);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1" }));
    ClickCell(0, 0);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_TRUE(GridIds().empty());
    // Only the trailing row is left: nothing to delete.
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 2);
    EXPECT_EQ(Grid().GetItemText(1, 0), "-->");
    EXPECT_TRUE(Stored("SELECT [ID] FROM [Item]").empty());
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkScreenRowsTest, PicksOfTheHeadingAndTrailingRowsNeitherDeleteNorInsertThere)
{
    LoadItems(3);
    // The heading row is clicked at its corner cell, which selects every cell:
    // a press on a selected cell only clears the selection, so each case
    // starts with one. Rows 1-3 hold data, then the trailing row (row 4, row
    // 3 once a row is deleted).
    struct Case {
        const char* name;
        std::function<void()> pick;
        std::vector<CString> idsLeft;
    };
    const Case cases[] = {
        { "heading only", [this] { ClickCell(0, 0), ClickCell(0, 0, MK_SHIFT); }, { "1", "2", "3" } },
        { "heading to row 1", [this] { Click(2), Click(1), ClickCell(0, 0, MK_SHIFT); }, { "2", "3" } },
        { "trailing row", [this] { Click(2), Click(3), ClickCell(3, 3, MK_SHIFT); }, { "2", "3" } },
        { "picked trailing row", [this] { Click(2), Click(3), ClickCell(3, 3, MK_CONTROL); }, { "2", "3" } },
    };
    for (const Case& c : cases) {
        c.pick();
        ClickControl(IDC_WORK_DELETE);
        EXPECT_EQ(GridIds(), c.idsLeft) << c.name;
        EXPECT_EQ(Stored("SELECT [ID] FROM [Item] ORDER BY [ID]"), c.idsLeft) << c.name;
        EXPECT_EQ(Grid().GetItemText(0, IdColumn()), "ID") << c.name;
    }
    // A Shift range from the heading inserts at data rows only.
    Click(2);
    Click(1);
    ClickCell(0, 0, MK_SHIFT);
    ClickControl(IDC_WORK_INSERT);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "4", "2", "3" }));
    EXPECT_EQ(Grid().GetItemText(0, 1), "ITEM_NUM");
}

TEST_F(WorkScreenRowsTest, RowsWithoutAnIntegerKeyAreNotDeleted)
{
    LoadItems(2);
    Grid().SetItemText(1, IdColumn(), "1 OR 1=1");
    Click(1);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Stored("SELECT [ID] FROM [Item] ORDER BY [ID]"), (std::vector<CString> { "1", "2" }));
}

TEST_F(WorkScreenRowsTest, DefaultValuesFillThePlaceholderButNeverItsKey)
{
    TempDataRoot::WriteAll(
        m_root.Native(ManagerSettingsPath(kDefaultValueFile, "kim").GetString()), "kim\r\nTRUE");
    TempDataRoot::WriteAll(
        m_root.Native(ManagerSettingsPath(kDefaultUncheckIndexFile, "kim").GetString()), "item_name\r\n");
    TempDataRoot::WriteAll(m_root.Native(ManagerSettingsPath(kDefaultCheckValueFile, "kim").GetString()),
        "item_num\r\n777\r\nunitprice\r\n1500\r\nland\r\nO'Hara\r\nadditem\r\n12\r\n");
    LoadItems(1, "kim");
    AnswerLines("2");
    ClickControl(IDC_WORK_INSERT);
    EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "2", "3" }));
    EXPECT_EQ(FirstRow(m_db,
                  "SELECT [item_num], [unitprice], [land], [item_name], [additem], [mg_id] FROM [Item] "
                  "WHERE [ID] = 3"),
        "-1\tjo/1500\tjo/O'Hara\tjo/NULL\tjo/12\tjo/kim\tjo/");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkScreenRowsTest, EachTableScreenInsertsIntoItsOwnTable)
{
    struct Case {
        Screen hint;
        const char* query;
        const char* table;
        const char* key;
    };
    const Case cases[] = {
        { Screen::Ingredient, "Add_Read", "Add", "num" },
        { Screen::Advertisement, "Adv_Read", "AdvT", "adv_num" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_num" },
    };
    m_db = MakeItemDatabase();
    for (const Case& c : cases) {
        Execute(m_db,
            { CString::Formatted("INSERT INTO [%s]([%s], [mg_id]) VALUES('9', 'lee')", c.table, c.key) });
        Switch(c.hint, c.query, "lee", m_db);
        ASSERT_EQ(Grid().GetRowCount(), 3) << c.table;
        AnswerLines("1");
        ClickControl(IDC_WORK_INSERT);
        const CString stored = FirstRow(
            m_db, CString::Formatted("SELECT [ID], [mg_id] FROM [%s] WHERE [%s] = '-1'", c.table, c.key));
        EXPECT_EQ(stored, "2\tjo/lee\tjo/") << c.table;
        EXPECT_EQ(GridIds(), (std::vector<CString> { "1", "2" })) << c.table;
        Click(1);
        ClickControl(IDC_WORK_DELETE);
        EXPECT_EQ(Column(m_db, CString::Formatted("SELECT [ID] FROM [%s]", c.table)),
            (std::vector<CString> { "2" }))
            << c.table;
    }
}

} // namespace
