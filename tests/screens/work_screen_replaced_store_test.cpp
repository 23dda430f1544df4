// Another program puts a new store in place of the one the work screen shows
// (an import onto it, a copy over it). No write of this screen reaches the new
// file: each is refused with one box, the file keeps what the other program
// wrote, and the screen shows the new file's rows; the next edit lands on the
// row it shows. An import onto the open store through this program's own
// File menu shows the new rows at once.

#include <cstdio>
#include <functional>

#include "platform/sheet/biff8_writer.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/command.h"
#include "tests/support/item_workbook.h"

namespace {

class WorkScreenReplacedStoreTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        m_db = MakeItemDatabase("C:\\Sample.mdb");
        Execute(m_db, Inserts({ "Apple Fuji", "Pear", "Plum", "Kiwi", "Salmon Fillet" }));
        Load();
    }
    void Load() { Switch(Screen::Item, "Item_Read", "vexo", m_db); }

    static std::vector<CString> Inserts(const std::vector<CString>& names)
    {
        std::vector<CString> sql;
        for (std::size_t i = 0; i < names.size(); ++i)
            sql.push_back(
                CString::Formatted("INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) "
                                   "VALUES('%zu', '%s', '1000', 'vexo')",
                    101 + i, names[i].GetString()));
        return sql;
    }
    // Another program builds a store of these items and renames it over the
    // screen's file, as an import does.
    void ReplaceStore(const std::vector<CString>& names)
    {
        const CString other = MakeItemDatabase("C:\\other.mdb");
        Execute(other, Inserts(names));
        ASSERT_EQ(std::rename(other.Str().c_str(), m_db.Str().c_str()), 0);
    }
    std::vector<CString> Stored()
    {
        return Column(
            m_db, "SELECT [item_num] || ' ' || [item_name] || ' ' || [unitprice] FROM [Item] ORDER BY [ID]");
    }
    std::vector<CString> GridNames() const
    {
        std::vector<CString> names;
        const int column = ColumnOf("ITEM_NAME", 1);
        for (int r = 1; r < Grid().GetRowCount() - 1; ++r)
            names.push_back(Grid().GetItemText(r, column));
        return names;
    }
    std::vector<std::vector<CString>> GridRows() const
    {
        std::vector<std::vector<CString>> rows;
        for (int r = 1; r < Grid().GetRowCount(); ++r)
            rows.push_back(RowTexts(r));
        return rows;
    }
    // Pumps until the screen shows names and its load has ended.
    bool ShowsNames(const std::vector<CString>& names)
    {
        return PumpUntil([&] { return !Locked() && GridNames() == names; }, std::chrono::seconds(15))
            && WaitForLoad();
    }
    void Fill(const char* start)
    {
        ClickCell(1, ColumnOf("ITEM_NUM", 1));
        ModalDialogScript::Push([start](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_AUTO_VALUE_START, start);
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickToolbar(ID_AUTO_VALUE);
    }

    CString m_db;
};

TEST_F(WorkScreenReplacedStoreTest, NoWriteReachesTheFileAnotherProgramPutInPlace)
{
    struct Action {
        const char* what;
        std::function<void()> run;
    };
    const Action actions[] = {
        { "price typed", [&] { EditCell(1, ColumnOf("UNITPRICE", 1), "2611"); } },
        // Refused by its own check: the cell shows no value of the new file.
        { "number out of range", [&] { EditCell(1, ColumnOf("ITEM_NUM", 1), "100000"); } },
        { "name typed", [&] { EditCell(2, ColumnOf("ITEM_NAME", 1), "Nashi"); } },
        { "row deleted",
            [&] {
                ClickCell(5, 2);
                ClickControl(IDC_WORK_DELETE);
            } },
        { "column filled", [&] { Fill("900"); } },
        { "row inserted",
            [&] {
                ModalDialogScript::Push([](CDialog& dialog) {
                    dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "2");
                    AfxClickDlgButton(dialog, IDOK);
                });
                ClickControl(IDC_WORK_INSERT);
            } },
    };
    int generation = 0;
    for (const Action& action : actions) {
        SCOPED_TRACE(action.what);
        std::vector<CString> names;
        for (int i = 0; i < 5; ++i)
            names.push_back(CString::Formatted("Item %d-%d", generation, i));
        ++generation;
        MessageBoxScript::Reset();
        ReplaceStore(names);
        const std::vector<CString> written = Stored();
        action.run();
        ASSERT_FALSE(MessageBoxScript::Records().empty());
        EXPECT_EQ(MessageBoxScript::Records().back().text, kStoreReplacedText);
        EXPECT_LE(MessageBoxScript::Count(), 2u); // a check's own box first
        EXPECT_EQ(Stored(), written);
        // The screen now shows the new file, as a load of it does.
        ASSERT_TRUE(ShowsNames(names));
        const auto shown = GridRows();
        Load();
        EXPECT_EQ(GridRows(), shown);
    }
    // The next edit lands on the row it shows.
    EditCell(1, ColumnOf("UNITPRICE", 1), "2611");
    EXPECT_EQ(Stored().front(), "101 Item 5-0 2611");
    EXPECT_EQ(Stored()[1], "102 Item 5-1 1000");
}

TEST_F(WorkScreenReplacedStoreTest, AnImportOntoTheOpenStoreShowsItsRows)
{
    const CString workbook(m_root.Native("C:\\items.xls").c_str());
    ASSERT_TRUE(WriteWorkbookFile(
        workbook, ItemWorkbook({ { "201", "Item 0" }, { "202", "Item 1" }, { "203", "Item 2" } })));
    // File > Open of the store, so that it is the left pane's too.
    FileDialogScript::PushPath(m_db);
    ASSERT_TRUE(Command(*LeftPane(), ID_FILE_OPEN));
    Load();
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES); // replace Sample.mdb
    FileDialogScript::PushPath(workbook);
    FileDialogScript::PushPath(m_db);
    ASSERT_TRUE(Command(*LeftPane(), ID_EXCEL_TO_ACCESS));
    ASSERT_FALSE(MessageBoxScript::Records().empty());
    EXPECT_EQ(MessageBoxScript::Records().back().text, "Convert OK");
    ASSERT_TRUE(ShowsNames({ "Item 0", "Item 1", "Item 2" }));
    EditCell(1, ColumnOf("ITEM_NAME", 1), "Apple Fuji");
    EXPECT_EQ(Column(m_db, "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "Apple Fuji", "Item 1", "Item 2" }));
}

} // namespace
