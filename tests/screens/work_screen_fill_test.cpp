// The column fill: a rising sequence from the clicked cell down to the last
// data row, each value checked and stored as if typed; the columns it refuses
// and the dialog's own checks.

#include "db/db_messages.h"
#include "resources/calvorn_ids.h"
#include "screens/row_dialogs.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/db_lock.h"

namespace {

class WorkScreenFillTest : public WorkScreenFixture {
protected:
    void LoadItems(int count)
    {
        m_db = MakeItemDatabase();
        std::vector<CString> sql;
        for (int i = 1; i <= count; ++i)
            sql.push_back(CString::Formatted(
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('%d', 'Item %d', 'vexo')", i,
                i));
        Execute(m_db, sql);
        Switch(Screen::Item, "Item_Read", "vexo", m_db);
        ASSERT_EQ(Grid().GetRowCount(), count + 2);
    }
    // Fills the column titled title from row with the dialog's two texts.
    void Fill(int row, const char* title, const char* start, const char* increment)
    {
        ClickCell(row, ColumnOf(title, 1));
        ModalDialogScript::Push([start, increment](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_AUTO_VALUE_START, start);
            dialog.SetDlgItemText(IDC_AUTO_VALUE_INCREMENT, increment);
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickToolbar(ID_AUTO_VALUE);
    }
    std::vector<CString> GridColumn(const char* title) const
    {
        std::vector<CString> texts;
        const int column = ColumnOf(title, 1);
        for (int r = 1; r < Grid().GetRowCount(); ++r)
            texts.push_back(Grid().GetItemText(r, column));
        return texts;
    }
    std::vector<CString> Stored(const char* column)
    {
        return Column(m_db, CString::Formatted("SELECT [%s] FROM [Item] ORDER BY [ID]", column));
    }

    CString m_db;
};

TEST_F(WorkScreenFillTest, FillsFromTheClickedRowToTheLastDataRow)
{
    struct Case {
        const char* start;
        const char* increment;
        std::vector<CString> stored;
    };
    const Case cases[] = {
        { "10", "5", { "1", "2", "10", "15", "20", "25" } },
        { "7", "0", { "1", "2", "7", "7", "7", "7" } },
        { "30", "-3", { "1", "2", "30", "27", "24", "21" } },
        { "12abc", "x", { "1", "2", "12", "12", "12", "12" } },
    };
    LoadItems(6);
    for (const Case& c : cases) {
        Fill(3, "ITEM_NUM", c.start, c.increment);
        EXPECT_EQ(Stored("item_num"), c.stored) << c.start << " " << c.increment;
        std::vector<CString> shown = c.stored;
        shown.push_back(""); // the trailing row stays empty
        EXPECT_EQ(GridColumn("ITEM_NUM"), shown) << c.start;
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkScreenFillTest, EachFilledValueIsCheckedAsIfTyped)
{
    LoadItems(5);
    Fill(1, "ITEM_NUM", "99998", "1");
    // The rows past 99999 are refused, and the refusal is told once.
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, " Item number is a 1 - 99999.");
    EXPECT_EQ(Stored("item_num"), (std::vector<CString> { "99998", "99999", "3", "4", "5" }));
}

TEST_F(WorkScreenFillTest, AFillUnderAnotherProgramsLockShowsWhatTheFileHolds)
{
    LoadItems(5);
    Fill(1, "ITEM_NUM", "101", "1");
    // The first cell typed over before: the fill, not that edit, put back.
    EditCell(1, ColumnOf("ITEM_NUM", 1), "111");
    const std::vector<CString> held { "111", "102", "103", "104", "105" };
    for (const DbLockHolder::Kind kind : { DbLockHolder::Kind::Exclusive, DbLockHolder::Kind::Write }) {
        const int label = static_cast<int>(kind);
        DbLockHolder lock;
        ASSERT_TRUE(lock.Hold(m_root.Native(m_db.Str()), kind));
        ClickCell(2, 2); // a click on the focused cell would start an edit
        MessageBoxScript::Reset();
        Fill(1, "ITEM_NUM", "900", "1");
        const auto boxes = m_boxes.Records();
        ASSERT_EQ(boxes.size(), 1u) << label;
        EXPECT_EQ(boxes[0].text, "Couldn't update; currently locked by another session.") << label;
        std::vector<CString> shown = held;
        shown.push_back("");
        EXPECT_EQ(GridColumn("ITEM_NUM"), shown) << label;
        lock.Release();
        EXPECT_EQ(Stored("item_num"), held) << label;
        EXPECT_EQ(GridColumn("ITEM_NUM"), shown) << label;
    }
}

TEST_F(WorkScreenFillTest, TextColumnsAreRefusedBeforeTheDialog)
{
    LoadItems(2);
    for (const char* title : { "UNITPRICE", "ITEM_NAME", "ITEM_NAME2", "FIX_PRICE" }) {
        MessageBoxScript::Reset();
        Fill(1, title, "1", "1");
        const auto boxes = m_boxes.Records();
        ASSERT_EQ(boxes.size(), 1u) << title;
        EXPECT_EQ(boxes[0].text, "This Column is not using ") << title;
    }
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    ModalDialogScript::Reset();
    // A Korean title is refused with the Korean text.
    Grid().SetItemText(0, 2, "상품명");
    MessageBoxScript::Reset();
    Fill(1, "상품명", "1", "1");
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "해당항목은 사용할수 없습니다");
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    EXPECT_EQ(Stored("item_name"), (std::vector<CString> { "Item 1", "Item 2" }));
}

TEST_F(WorkScreenFillTest, ClicksOutsideTheDataCellsFillNothing)
{
    LoadItems(2);
    const int idColumn = ColumnOf("ID", 1);
    const int columns = Grid().GetColumnCount();
    const std::pair<int, int> clicks[] = { { 0, 1 }, { 3, 1 }, { 1, 0 }, { 1, idColumn }, { 1, columns } };
    // Mouse clicks; the last cell lies beyond the grid, where only a notice
    // reaches.
    for (const auto& [row, column] : clicks) {
        if (column < columns)
            ClickCell(row, column);
        else
            Grid().SendNotify(row, column, GRIDNOTIFY_CLICK);
        ClickToolbar(ID_AUTO_VALUE);
    }
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    // The last data row is the last one filled.
    ClickCell(2, 1);
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_AUTO_VALUE_START, "50");
        AfxClickDlgButton(dialog, IDOK);
    });
    ClickToolbar(ID_AUTO_VALUE);
    EXPECT_EQ(Stored("item_num"), (std::vector<CString> { "1", "50" }));
    EXPECT_EQ(Grid().GetItemText(3, 1), "");
    // The column before ID is the last one filled.
    Fill(1, "INGREDIENT", "7", "1");
    EXPECT_EQ(Stored("additem"), (std::vector<CString> { "7", "8" }));
}

TEST_F(WorkScreenFillTest, DialogNeedsBothValuesAndStartsWithIncrementOne)
{
    LoadItems(2);
    CString shownIncrement;
    ModalDialogScript::Push([&shownIncrement](CDialog& dialog) {
        dialog.GetDlgItemText(IDC_AUTO_VALUE_INCREMENT, shownIncrement);
        AfxClickDlgButton(dialog, IDOK); // start empty
        dialog.SetDlgItemText(IDC_AUTO_VALUE_START, "5");
        dialog.SetDlgItemText(IDC_AUTO_VALUE_INCREMENT, "");
        AfxClickDlgButton(dialog, IDOK);
        AfxClickDlgButton(dialog, IDCANCEL);
    });
    ClickCell(1, 1);
    ClickToolbar(ID_AUTO_VALUE);
    EXPECT_EQ(shownIncrement, "1");
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Input Error");
    EXPECT_EQ(boxes[1].text, "Input Error");
    EXPECT_EQ(Stored("item_num"), (std::vector<CString> { "1", "2" }));
}

TEST_F(WorkScreenFillTest, IngredientAdvertisementAndLandColumnsFillToo)
{
    struct Case {
        Screen screen;
        const char* query;
        const char* table;
        const char* column;
        const char* start;
        const char* increment;
        std::vector<CString> stored;
        std::size_t boxes;
    };
    const Case cases[] = {
        { Screen::Ingredient, "Add_Read", "Add", "num", "5", "10", { "5", "15", "25" }, 0 },
        { Screen::Advertisement, "Adv_Read", "AdvT", "adv_num", "7", "10", { "7", "17", "27" }, 0 },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_num", "301", "10", { "301", "311", "321" },
            0 },
        // Past the largest long the number stays there: refused, told once.
        { Screen::Ingredient, "Add_Read", "Add", "num", "9223372036854775806", "1", { "201", "202", "203" },
            1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        m_db = MakeItemDatabase();
        for (int i = 0; i < 3; ++i)
            Execute(m_db,
                { CString::Formatted(
                    "INSERT INTO [%s]([%s], [mg_id]) VALUES('%d', 'vexo')", c.table, c.column, 201 + i) });
        Switch(c.screen, c.query, "vexo", m_db);
        MessageBoxScript::Reset();
        Fill(1, Grid().GetItemText(0, 1).GetString(), c.start, c.increment);
        EXPECT_EQ(Column(m_db, CString::Formatted("SELECT [%s] FROM [%s] ORDER BY [ID]", c.column, c.table)),
            c.stored);
        EXPECT_EQ(MessageBoxScript::Count(), c.boxes);
    }
}

TEST_F(WorkScreenFillTest, OtherScreensHaveNoFill)
{
    LoadItems(1);
    Switch(Screen::Preset, "Pre_Read", "vexo", m_db);
    // The preset screen hides the grid: only a notice reaches it.
    Grid().SendNotify(1, 1, GRIDNOTIFY_CLICK);
    ClickToolbar(ID_AUTO_VALUE);
    EXPECT_TRUE(ModalDialogScript::Records().empty());
}

} // namespace
