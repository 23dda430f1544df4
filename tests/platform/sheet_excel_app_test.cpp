// The Excel object model of the spreadsheet stand-in: workbooks, sheets,
// ranges, values, fonts, fitting, copying a recordset, saving and opening.

#include <gtest/gtest.h>

#include "platform/dao/dao_recordset.h"
#include "platform/sheet/excel_app.h"
#include "platform/wnd/desktop/shell_services.h"
#include "tests/platform/dao_test_util.h"
#include "tests/platform/sheet_test_util.h"

namespace {

// The error code of the automation error that action throws, 0 when none.
template <typename Action> LONG DispatchErrorOf(Action action)
{
    try {
        action();
    } catch (COleDispatchException* e) {
        const LONG code = e->m_scError;
        e->Delete();
        return code;
    }
    return 0;
}

class ExcelAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.CreateDispatch("Excel.Application"));
        m_book = m_app.GetWorkbooks().Add();
        m_sheet = m_book.GetWorksheets().GetItem(1);
    }

    CExcelApplication m_app;
    CExcelWorkbook m_book;
    CExcelWorksheet m_sheet;
    TempFolder m_folder;
};

} // namespace

TEST(ExcelApp, StartsOnlyForExcel)
{
    CExcelApplication app;
    EXPECT_FALSE(app.CreateDispatch("Word.Application"));
    EXPECT_FALSE(app.CreateDispatch(nullptr));
    EXPECT_EQ(DispatchErrorOf([&] { app.GetWorkbooks(); }), kErrorDisconnected);
    EXPECT_TRUE(app.CreateDispatch("Excel.Application"));
    EXPECT_EQ(app.GetWorkbooks().GetCount(), 0);
}

TEST_F(ExcelAppTest, NewWorkbooksHaveTheSheetsAsked)
{
    EXPECT_EQ(m_book.GetWorksheets().GetCount(), 3);
    EXPECT_EQ(m_sheet.GetName(), "Sheet1");
    m_app.SetSheetsInNewWorkbook(5);
    EXPECT_EQ(m_app.GetSheetsInNewWorkbook(), 5);
    CExcelWorkbook second = m_app.GetWorkbooks().Add();
    CExcelWorksheets sheets = second.GetWorksheets();
    ASSERT_EQ(sheets.GetCount(), 5);
    EXPECT_EQ(sheets.GetItem(5).GetName(), "Sheet5");
    EXPECT_EQ(m_app.GetWorkbooks().GetCount(), 2);
    for (long bad : { 0L, 6L, -1L })
        EXPECT_EQ(DispatchErrorOf([&] { sheets.GetItem(bad); }), kDispErrorBadIndex) << bad;
    for (long bad : { 0L, 256L })
        EXPECT_NE(DispatchErrorOf([&] { m_app.SetSheetsInNewWorkbook(bad); }), 0) << bad;
    EXPECT_EQ(m_app.GetSheetsInNewWorkbook(), 5);
    for (long good : { 1L, 255L }) {
        EXPECT_EQ(DispatchErrorOf([&] { m_app.SetSheetsInNewWorkbook(good); }), 0) << good;
        EXPECT_EQ(m_app.GetWorkbooks().Add().GetWorksheets().GetCount(), good);
    }
}

TEST_F(ExcelAppTest, SheetNamesFollowExcelsRules)
{
    m_sheet.SetName("Land_Add");
    EXPECT_EQ(m_sheet.GetName(), "Land_Add");
    m_sheet.SetName("상품 목록");
    EXPECT_EQ(m_sheet.GetName(), "상품 목록");
    const char* refused[] = { "", "a:b", "a/b", "a\\b", "a?", "a*", "[a]", "Sheet2", "SHEET3",
        "abcdefghijklmnopqrstuvwxyz123456" };
    for (const char* name : refused)
        EXPECT_NE(DispatchErrorOf([&] { m_sheet.SetName(name); }), 0) << name;
    EXPECT_EQ(m_sheet.GetName(), "상품 목록");
    m_sheet.SetName("abcdefghijklmnopqrstuvwxyz12345"); // 31 characters
}

TEST_F(ExcelAppTest, RangesByAddressOffsetAndSize)
{
    struct Case {
        const char* cell1;
        const char* cell2;
        long row, column, rows, columns;
    };
    const Case cases[] = {
        { "A1", nullptr, 1, 1, 1, 1 },
        { "b3", nullptr, 3, 2, 1, 1 },
        { "B2:D5", nullptr, 2, 2, 4, 3 },
        { "D5", "B2", 2, 2, 4, 3 },
        { "IV65536", nullptr, 65536, 256, 1, 1 },
        { "AA10", nullptr, 10, 27, 1, 1 },
    };
    for (const Case& c : cases) {
        const CExcelRange range = m_sheet.GetRange(c.cell1, c.cell2);
        EXPECT_EQ(range.GetRow(), c.row) << c.cell1;
        EXPECT_EQ(range.GetColumn(), c.column) << c.cell1;
        EXPECT_EQ(range.GetRows().GetCount(), c.rows) << c.cell1;
        EXPECT_EQ(range.GetColumns().GetCount(), c.columns) << c.cell1;
        EXPECT_EQ(range.GetCount(), c.rows * c.columns) << c.cell1;
    }
    for (const char* bad : { "", "A0", "1A", "IW1", "A65537", "A1:", "A1B", "ABCD1" })
        EXPECT_NE(DispatchErrorOf([&] { m_sheet.GetRange(bad); }), 0) << bad;

    const CExcelRange a1 = m_sheet.GetRange("A1");
    const CExcelRange moved = a1.GetOffset(1, 3);
    EXPECT_EQ(moved.GetRow(), 2);
    EXPECT_EQ(moved.GetColumn(), 4);
    const CExcelRange block = moved.GetResize(2, 5);
    EXPECT_EQ(block.GetRow(), 2);
    EXPECT_EQ(block.GetRows().GetCount(), 2);
    EXPECT_EQ(block.GetColumns().GetCount(), 5);
    EXPECT_EQ(DispatchErrorOf([&] { a1.GetOffset(-1, 0); }), kExcelErrorObjectDefined);
    EXPECT_EQ(DispatchErrorOf([&] { a1.GetOffset(0, 256); }), kExcelErrorObjectDefined);
    EXPECT_EQ(DispatchErrorOf([&] { a1.GetResize(0, 1); }), kExcelErrorObjectDefined);
    EXPECT_EQ(DispatchErrorOf([&] { a1.GetResize(1, 257); }), kExcelErrorObjectDefined);
    EXPECT_EQ(DispatchErrorOf([&] { a1.GetResize(65537, 1); }), kExcelErrorObjectDefined);
    const CExcelRange columns = block.GetEntireColumn();
    EXPECT_EQ(columns.GetRow(), 1);
    EXPECT_EQ(columns.GetRows().GetCount(), 65536);
    EXPECT_EQ(columns.GetColumn(), 4);
    EXPECT_EQ(columns.GetColumns().GetCount(), 5);
}

TEST_F(ExcelAppTest, ValuesComeBackAsATwoDimensionalArray)
{
    m_sheet.GetRange("B2").SetValue(COleVariant("00123"));
    m_sheet.GetRange("C3").SetValue(COleVariant(static_cast<LONG>(42)));
    m_sheet.GetRange("D2:D3").SetValue(COleVariant(static_cast<SHORT>(1), VT_BOOL));
    const CVariantArray values = m_sheet.GetRange("B2:D4").GetValue();
    ASSERT_EQ(values.GetUBound(1), 3);
    ASSERT_EQ(values.GetUBound(2), 3);
    EXPECT_EQ(values.GetElement(1, 1).bstrVal, "00123");
    EXPECT_EQ(values.GetElement(2, 2).vt, VT_R8);
    EXPECT_EQ(values.GetElement(2, 2).dblVal, 42.0);
    EXPECT_EQ(values.GetElement(1, 3).vt, VT_BOOL);
    EXPECT_EQ(values.GetElement(2, 3).vt, VT_BOOL);
    EXPECT_EQ(values.GetElement(3, 3).vt, VT_EMPTY);
    EXPECT_EQ(values.GetElement(1, 2).vt, VT_EMPTY);
    EXPECT_EQ(DispatchErrorOf([&] { values.GetElement(4, 1); }), kDispErrorBadIndex);
    EXPECT_EQ(DispatchErrorOf([&] { values.GetElement(1, 0); }), kDispErrorBadIndex);
    EXPECT_EQ(DispatchErrorOf([&] { values.GetUBound(3); }), kDispErrorBadIndex);

    // Clearing, and a value no cell holds.
    m_sheet.GetRange("B2").SetValue(COleVariant(""));
    EXPECT_EQ(m_sheet.GetRange("B2").GetValue().GetElement(1, 1).vt, VT_EMPTY);
    EXPECT_EQ(DispatchErrorOf([&] { m_sheet.GetRange("A1").SetValue(COleVariant(std::vector<BYTE> { 1 })); }),
        kDispErrorTypeMismatch);
}

TEST_F(ExcelAppTest, UsedRangeSpansTheFilledCells)
{
    const CExcelRange empty = m_sheet.GetUsedRange();
    EXPECT_EQ(empty.GetRow(), 1);
    EXPECT_EQ(empty.GetCount(), 1);
    m_sheet.GetRange("C2").SetValue(COleVariant("x"));
    m_sheet.GetRange("C5").SetValue(COleVariant(2.0));
    // One column filled: one column wide.
    const CExcelRange column = m_sheet.GetUsedRange();
    EXPECT_EQ(column.GetColumn(), 3);
    EXPECT_EQ(column.GetColumns().GetCount(), 1);
    EXPECT_EQ(column.GetRows().GetCount(), 4);
    m_sheet.GetRange("E7").SetValue(COleVariant(1.0));
    m_sheet.GetRange("B4").GetFont().SetBold(TRUE); // formatted, empty
    const CExcelRange used = m_sheet.GetUsedRange();
    EXPECT_EQ(used.GetRow(), 2);
    EXPECT_EQ(used.GetColumn(), 2);
    EXPECT_EQ(used.GetRows().GetCount(), 6);
    EXPECT_EQ(used.GetColumns().GetCount(), 4);
}

TEST_F(ExcelAppTest, BoldIsSetPerCell)
{
    const CExcelRange header = m_sheet.GetRange("A1").GetResize(1, 3);
    EXPECT_FALSE(header.GetFont().GetBold());
    header.GetFont().SetBold(TRUE);
    EXPECT_TRUE(header.GetFont().GetBold());
    EXPECT_TRUE(m_sheet.GetRange("C1").GetFont().GetBold());
    EXPECT_FALSE(m_sheet.GetRange("A1:A2").GetFont().GetBold());
    m_sheet.GetRange("B1").GetFont().SetBold(FALSE);
    EXPECT_FALSE(header.GetFont().GetBold());
    EXPECT_TRUE(m_sheet.GetRange("A1").GetFont().GetBold());
    // A cell without value or bold is gone again.
    EXPECT_EQ(m_sheet.GetUsedRange().GetColumns().GetCount(), 3);
    m_sheet.GetRange("C1").GetFont().SetBold(FALSE);
    m_sheet.GetRange("A1").GetFont().SetBold(FALSE);
    EXPECT_EQ(m_sheet.GetUsedRange().GetCount(), 1);
    EXPECT_EQ(m_sheet.GetUsedRange().GetRow(), 1);
}

TEST_F(ExcelAppTest, AutoFitSizesColumnsByTheirLongestText)
{
    m_sheet.GetRange("A1").SetValue(COleVariant("ID"));
    m_sheet.GetRange("A5").SetValue(COleVariant(123456.0));
    m_sheet.GetRange("B1").SetValue(COleVariant("item_name"));
    m_sheet.GetRange("B2").SetValue(COleVariant("사과 홍옥 대"));
    m_sheet.GetRange("D1").SetValue(COleVariant(CString(std::string(400, 'w'))));
    EXPECT_NE(DispatchErrorOf([&] { m_sheet.GetRange("A1:D1").AutoFit(); }), 0);
    m_sheet.GetRange("A1:D1").GetEntireColumn().AutoFit();
    const std::string path = m_folder.File("fit.xls");
    m_book.SaveAs(path.c_str());
    const std::string dump = XlrdDump(path);
    EXPECT_TRUE(HasLine(dump, "W 0 1792")); // "123456": 6 + 1
    EXPECT_TRUE(HasLine(dump, "W 1 3328")); // five syllables, two blanks, one more
    EXPECT_TRUE(HasLine(dump, "W 3 65280")); // at most 255 characters
    EXPECT_EQ(dump.find("W 2 "), std::string::npos) << dump; // empty: standard width
}

TEST_F(ExcelAppTest, CopyFromRecordsetKeepsTextsAndNumbers)
{
    CDaoDatabase database;
    database.Create(m_folder.File("items.mdb").c_str(), kStoreLocaleConnect);
    database.Execute(
        "CREATE TABLE [Preset] ([ID] COUNTER, [page_num] TEXT(50), [num] TEXT(50), [str] TEXT(20), "
        "[mg_id] TEXT(50), CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]))");
    database.Execute("INSERT INTO [Preset]([page_num],[num],[str],[mg_id]) VALUES('007','1','사과','vexo')");
    database.Execute("INSERT INTO [Preset]([page_num],[num],[str],[mg_id]) VALUES('2',NULL,'it''s','kim')");
    database.Execute("INSERT INTO [Preset]([page_num],[num],[str],[mg_id]) VALUES('3','3','c','lee')");
    CDaoRecordset recordset(&database);
    recordset.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT * FROM [Preset] ORDER BY [ID]");
    m_sheet.GetRange("B3").GetValue(); // nothing there yet
    m_sheet.GetRange("B4").SetValue(COleVariant("old"));
    EXPECT_EQ(m_sheet.GetRange("B2").CopyFromRecordset(recordset, 2), 2);
    EXPECT_FALSE(recordset.IsEOF()); // stopped by the row limit
    const CVariantArray values = m_sheet.GetRange("B2:F4").GetValue();
    EXPECT_EQ(values.GetElement(1, 1).vt, VT_R8); // ID
    EXPECT_EQ(values.GetElement(1, 1).dblVal, 1.0);
    EXPECT_EQ(values.GetElement(1, 2).bstrVal, "007");
    EXPECT_EQ(values.GetElement(1, 4).bstrVal, "사과");
    EXPECT_EQ(values.GetElement(2, 3).vt, VT_EMPTY); // NULL
    EXPECT_EQ(values.GetElement(2, 4).bstrVal, "it's");
    EXPECT_EQ(values.GetElement(2, 5).bstrVal, "kim");
    EXPECT_EQ(values.GetElement(3, 1).bstrVal, "old");
    // The rest, limited to two fields.
    EXPECT_EQ(m_sheet.GetRange("H1").CopyFromRecordset(recordset, -1, 2), 1);
    EXPECT_TRUE(recordset.IsEOF());
    const CVariantArray rest = m_sheet.GetRange("H1:J1").GetValue();
    EXPECT_EQ(rest.GetElement(1, 1).dblVal, 3.0);
    EXPECT_EQ(rest.GetElement(1, 2).bstrVal, "3");
    EXPECT_EQ(rest.GetElement(1, 3).vt, VT_EMPTY);
    recordset.Close();

    // More fields than columns to the right of the start.
    recordset.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT * FROM [Preset]");
    EXPECT_NE(DispatchErrorOf([&] { m_sheet.GetRange("IT1").CopyFromRecordset(recordset); }), 0);
    recordset.Close();
    database.Close();
}

TEST_F(ExcelAppTest, SavedWorkbookOpensWithItsSheetsAndValues)
{
    m_sheet.SetName("Item");
    m_sheet.GetRange("A1").SetValue(COleVariant("사과"));
    m_sheet.GetRange("B2").SetValue(COleVariant(12.9));
    const std::string path = m_folder.File("saved.xls");
    EXPECT_TRUE(m_book.GetFullName().IsEmpty());
    m_book.SaveAs(path.c_str());
    EXPECT_EQ(m_book.GetFullName(), path.c_str());

    CExcelWorkbook opened = m_app.GetWorkbooks().Open(path.c_str());
    EXPECT_EQ(opened.GetFullName(), path.c_str());
    CExcelWorksheets sheets = opened.GetWorksheets();
    ASSERT_EQ(sheets.GetCount(), 3);
    CExcelWorksheet sheet = sheets.GetItem(1);
    EXPECT_EQ(sheet.GetName(), "Item");
    EXPECT_EQ(sheets.GetItem(3).GetName(), "Sheet3");
    const CVariantArray values = sheet.GetUsedRange().GetValue();
    ASSERT_EQ(values.GetUBound(1), 2);
    ASSERT_EQ(values.GetUBound(2), 2);
    EXPECT_EQ(values.GetElement(1, 1).bstrVal, "사과");
    EXPECT_EQ(values.GetElement(2, 2).dblVal, 12.9);

    EXPECT_NE(DispatchErrorOf([&] { m_book.SaveAs(m_folder.File("no/such/folder.xls").c_str()); }), 0);
    EXPECT_EQ(m_book.GetFullName(), path.c_str());
    EXPECT_NE(DispatchErrorOf([&] { m_app.GetWorkbooks().Open(m_folder.File("none.xls").c_str()); }), 0);
    EXPECT_EQ(m_app.GetWorkbooks().GetCount(), 2);
}

TEST_F(ExcelAppTest, ClosedWorkbooksRefuseEveryCall)
{
    CExcelRange range = m_sheet.GetRange("A1");
    CExcelWorksheets sheets = m_book.GetWorksheets();
    m_book.Close();
    EXPECT_EQ(m_app.GetWorkbooks().GetCount(), 0);
    EXPECT_EQ(DispatchErrorOf([&] { range.SetValue(COleVariant(1.0)); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { range.GetValue(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { sheets.GetItem(1); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { m_sheet.GetName(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { m_book.Close(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([] { CExcelWorkbook().GetWorksheets(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([] { CExcelRange().GetCount(); }), kErrorDisconnected);
}

TEST_F(ExcelAppTest, QuitClosesEveryWorkbook)
{
    CExcelWorkbooks books = m_app.GetWorkbooks();
    CExcelWorkbook second = books.Add();
    m_app.Quit();
    EXPECT_EQ(DispatchErrorOf([&] { books.Add(); }), kErrorDisconnected) << "taken before the quit";
    EXPECT_EQ(DispatchErrorOf([&] { m_book.GetWorksheets(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { second.GetWorksheets(); }), kErrorDisconnected);
    EXPECT_EQ(DispatchErrorOf([&] { m_app.GetWorkbooks(); }), kErrorDisconnected);
}

TEST_F(ExcelAppTest, ShowingHandsSavedWorkbooksToTheDesktop)
{
    AfxClearShellRecords();
    m_app.GetWorkbooks().Add(); // never saved: nothing to open
    const std::string path = m_folder.File("shown.xls");
    m_book.SaveAs(path.c_str());
    EXPECT_FALSE(m_app.GetVisible());
    m_app.SetVisible(TRUE);
    EXPECT_TRUE(m_app.GetVisible());
    m_app.SetVisible(TRUE); // once per saved file
    m_app.SetUserControl(TRUE);
    EXPECT_TRUE(m_app.GetUserControl());
    const std::vector<ShellRecord> records = AfxGetShellRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, ShellRecord::Kind::Execute);
    EXPECT_EQ(records[0].verb, "open");
    EXPECT_EQ(records[0].name, path.c_str());
    AfxClearShellRecords();
}

TEST(ExcelApp, ReleasingTheApplicationQuitsUnlessTheUserHasIt)
{
    CExcelWorkbook kept, dropped;
    {
        CExcelApplication app;
        ASSERT_TRUE(app.CreateDispatch("Excel.Application"));
        dropped = app.GetWorkbooks().Add();
    }
    EXPECT_EQ(DispatchErrorOf([&] { dropped.GetWorksheets(); }), kErrorDisconnected);
    {
        CExcelApplication app;
        ASSERT_TRUE(app.CreateDispatch("Excel.Application"));
        kept = app.GetWorkbooks().Add();
        app.SetUserControl(TRUE);
    }
    EXPECT_EQ(kept.GetWorksheets().GetCount(), 3);
}
