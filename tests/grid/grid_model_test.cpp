// The grid's table without a window: rows, columns, cells, selection, sorting
// and the clipboard text.

#include <gtest/gtest.h>

#include <random>

#include "grid/grid_ctrl.h"
#include "grid_test_util.h"

namespace {

struct CMarkedCell : public CGridCell {
    static constexpr const char* kClassName = "CMarkedCell";
};

class GridModel : public ::testing::Test {
protected:
    CGridCtrl grid { 6, 4, 1, 1 };
};

TEST_F(GridModel, EmptyGridHasNoFocusAndQuietAccess)
{
    std::unique_ptr<CGridCtrl> empty(CGridCtrl::CreateObject());
    EXPECT_EQ(empty->GetRowCount(), 0);
    EXPECT_EQ(empty->GetColumnCount(), 0);
    EXPECT_FALSE(empty->GetFocusCell().IsValid());
    EXPECT_EQ(empty->GetSelectedCount(), 0);
    EXPECT_EQ(empty->GetItemText(0, 0), "");
    EXPECT_FALSE(empty->SetItemText(0, 0, "x"));
    EXPECT_EQ(empty->GetItemState(3, 3), 0u);
    EXPECT_EQ(empty->GetItemImage(0, 0), -1);
}

TEST_F(GridModel, OutsideTheGridReadsEmptyAndChangesNothing)
{
    FillCoordinates(grid);
    grid.SetModified(FALSE);
    EXPECT_EQ(grid.GetItemText(-1, 0), "");
    EXPECT_EQ(grid.GetItemText(0, grid.GetColumnCount()), "");
    EXPECT_FALSE(grid.SetItemText(grid.GetRowCount(), 0, "x"));
    EXPECT_FALSE(grid.GetModified());
    EXPECT_EQ(grid.GetRowHeight(-1), -1);
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_FALSE(grid.SetRowHeight(grid.GetRowCount(), 10));
}

TEST_F(GridModel, HeadingCellsCarryFixedBits)
{
    EXPECT_EQ(grid.GetItemState(0, 0) & 0x70, 0x70u);
    EXPECT_EQ(grid.GetItemState(0, 2) & 0x70, 0x30u);
    EXPECT_EQ(grid.GetItemState(3, 0) & 0x70, 0x50u);
    EXPECT_EQ(grid.GetItemState(3, 2) & 0x70, 0u);
    grid.SetRowCount(8);
    EXPECT_EQ(grid.GetItemState(7, 0) & 0x70, 0x50u);
    EXPECT_FALSE(grid.IsCellFixed(1, 2));
    EXPECT_TRUE(grid.IsCellFixed(1, 0));
    EXPECT_TRUE(grid.IsCellFixed(0, 2));
    // A cell that becomes a heading, or a body cell again, takes the default
    // colours of its kind.
    struct Case {
        bool byRow;
        int r, c;
    } const cases[] = { { true, 1, 2 }, { false, 3, 1 } };
    grid.SetItemBkColour(2, 2, RGB(1, 2, 3));
    for (const Case& k : cases) {
        for (const int fixed : { 2, 1 }) {
            SCOPED_TRACE(testing::Message() << k.byRow << " " << fixed);
            grid.SetItemFgColour(k.r, k.c, RGB(255, 0, 0));
            grid.SetItemBkColour(k.r, k.c, RGB(0, 0, 255));
            if (k.byRow)
                grid.SetFixedRowCount(fixed);
            else
                grid.SetFixedColumnCount(fixed);
            EXPECT_EQ(grid.IsCellFixed(k.r, k.c), fixed == 2);
            EXPECT_EQ(grid.GetItemState(k.r, k.c) & 0x70, fixed == 2 ? (k.byRow ? 0x30u : 0x50u) : 0u);
            EXPECT_EQ(grid.GetItemFgColour(k.r, k.c), CLR_DEFAULT);
            EXPECT_EQ(grid.GetItemBkColour(k.r, k.c), CLR_DEFAULT);
        }
    }
    EXPECT_EQ(grid.GetItemBkColour(2, 2), RGB(1, 2, 3)) << "a body cell keeps its colour";
    EXPECT_EQ(grid.GetItemState(1, 2) & 0x70, 0u);
    EXPECT_EQ(grid.GetItemState(1, 0) & 0x70, 0x50u);
}

TEST(GridModelShape, ColumnInsertedAtTheFrontOfAGridWithoutHeadingColumns)
{
    CGridCtrl grid(3, 2, 1, 0);
    FillCoordinates(grid);
    EXPECT_EQ(grid.InsertColumn("first", DT_LEFT, 0), 0);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetItemText(0, 0), "first");
    EXPECT_EQ(grid.GetItemText(1, 1), "1,0");
}

TEST_F(GridModel, SettingTextMarksCellAndGridModifiedAndDropsSortColumn)
{
    grid.SetModified(FALSE);
    grid.SetSortColumn(2);
    ASSERT_TRUE(grid.SetItemText(2, 2, ""));
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.GetModified(2, 2));
    EXPECT_EQ(grid.GetSortColumn(), -1);
    grid.SetSortColumn(2);
    grid.SetItemFormat(2, 2, DT_LEFT);
    EXPECT_EQ(grid.GetSortColumn(), 2);
    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.GetModified(2, 2));
}

TEST_F(GridModel, RowCountBelowFixedCountLowersIt)
{
    grid.SetFixedRowCount(3);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.GetFixedRowCount(), 2);
    EXPECT_EQ(grid.GetRowCount(), 2);
}

struct ShapeCase {
    const char* name;
    int (*op)(CGridCtrl&);
    int result;
    int rows;
    int cols;
    int fixedRows;
    const char* cell11;
    bool clears; // the selection and the focus cell are gone afterwards
};

const ShapeCase kShapeCases[] = {
    { "InsertRowAppends", [](CGridCtrl& g) { return g.InsertRow("new"); }, 6, 7, 4, 1, "1,1", true },
    { "InsertRowInside", [](CGridCtrl& g) { return g.InsertRow("new", 1); }, 1, 7, 4, 1, "", true },
    { "InsertRowAtCountRefused", [](CGridCtrl& g) { return g.InsertRow("x", g.GetRowCount()); }, -1, 6, 4, 1,
        "1,1", false },
    { "InsertRowInFixedRefused", [](CGridCtrl& g) { return g.InsertRow("x", 0); }, -1, 6, 4, 1, "1,1",
        false },
    { "InsertColumnAtCountAppends",
        [](CGridCtrl& g) { return g.InsertColumn("c", DT_LEFT, g.GetColumnCount()); }, 4, 6, 5, 1, "1,1",
        true },
    { "InsertColumnInside", [](CGridCtrl& g) { return g.InsertColumn("c", DT_LEFT, 1); }, 1, 6, 5, 1, "",
        true },
    { "DeleteRow", [](CGridCtrl& g) { return static_cast<int>(g.DeleteRow(1)); }, 1, 5, 4, 1, "2,1", true },
    { "DeleteHeadingRow", [](CGridCtrl& g) { return static_cast<int>(g.DeleteRow(0)); }, 1, 5, 4, 0, "2,1",
        true },
    { "DeleteRowOutside", [](CGridCtrl& g) { return static_cast<int>(g.DeleteRow(6)); }, 0, 6, 4, 1, "1,1",
        false },
    { "DeleteColumn", [](CGridCtrl& g) { return static_cast<int>(g.DeleteColumn(1)); }, 1, 6, 3, 1, "1,2",
        true },
    { "DeleteNonFixedRows", [](CGridCtrl& g) { return static_cast<int>(g.DeleteNonFixedRows()); }, 1, 1, 4, 1,
        "", true },
    { "DeleteAllItems", [](CGridCtrl& g) { return static_cast<int>(g.DeleteAllItems()); }, 1, 0, 0, 0, "",
        true },
    { "ShrinkColumns", [](CGridCtrl& g) { return static_cast<int>(g.SetColumnCount(2)); }, 1, 6, 2, 1, "1,1",
        false },
};

class GridShape : public ::testing::TestWithParam<ShapeCase> { };

TEST_P(GridShape, ChangesCountsCellsAndClearsSelection)
{
    const ShapeCase& c = GetParam();
    CGridCtrl grid(6, 4, 1, 1);
    FillCoordinates(grid);
    grid.SetFocusCell(2, 2);
    grid.SetSelectedRange(1, 1, 2, 2);
    grid.SetModified(FALSE);
    EXPECT_EQ(c.op(grid), c.result);
    EXPECT_EQ(grid.GetRowCount(), c.rows);
    EXPECT_EQ(grid.GetColumnCount(), c.cols);
    EXPECT_EQ(grid.GetFixedRowCount(), c.fixedRows);
    EXPECT_EQ(grid.GetItemText(1, 1), c.cell11);
    EXPECT_TRUE(SelectionConsistent(grid));
    EXPECT_EQ(grid.GetModified(), c.rows != 6 || c.cols != 4 ? TRUE : FALSE);
    if (c.clears) {
        EXPECT_EQ(grid.GetSelectedCount(), 0);
        EXPECT_FALSE(grid.GetFocusCell().IsValid());
    } else {
        EXPECT_GT(grid.GetSelectedCount(), 0);
    }
    for (int r = 0; r < grid.GetRowCount(); ++r)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            ASSERT_NE(grid.GetCell(r, col), nullptr) << r << "," << col;
}

INSTANTIATE_TEST_SUITE_P(Table, GridShape, ::testing::ValuesIn(kShapeCases),
    [](const ::testing::TestParamInfo<ShapeCase>& param) { return std::string(param.param.name); });

TEST_F(GridModel, InsertRowHeightComesFromHeadingOrFixedRowDefault)
{
    const int empty = grid.InsertRow("");
    EXPECT_EQ(grid.GetRowHeight(empty), grid.GetDefaultCell(TRUE, FALSE)->GetHeight());
    const int texted = grid.InsertRow("H");
    EXPECT_GT(grid.GetRowHeight(texted), 0);
}

TEST_F(GridModel, SetCellTypeKeepsAttributes)
{
    grid.SetItemText(2, 2, "keep");
    grid.SetItemBkColour(2, 2, RGB(1, 2, 3));
    grid.SetItemFgColour(2, 2, RGB(4, 5, 6));
    grid.SetItemFormat(2, 2, DT_LEFT);
    grid.SetItemData(2, 2, 77);
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GRIDSTATE_READONLY);
    ASSERT_TRUE(grid.SetCellType(2, 2, RUNTIME_CELL_CLASS(CMarkedCell)));
    ASSERT_NE(dynamic_cast<CMarkedCell*>(grid.GetCell(2, 2)), nullptr);
    EXPECT_EQ(grid.GetItemText(2, 2), "keep");
    EXPECT_EQ(grid.GetItemBkColour(2, 2), RGB(1, 2, 3));
    EXPECT_EQ(grid.GetItemFgColour(2, 2), RGB(4, 5, 6));
    EXPECT_EQ(grid.GetItemFormat(2, 2), static_cast<UINT>(DT_LEFT));
    EXPECT_EQ(grid.GetItemData(2, 2), 77);
    EXPECT_TRUE(grid.GetItemState(2, 2) & GRIDSTATE_READONLY);
    EXPECT_FALSE(grid.SetCellType(9, 9, RUNTIME_CELL_CLASS(CGridCell)));
    EXPECT_FALSE(grid.SetCellType(1, 1, nullptr));
}

TEST_F(GridModel, DefaultCellIsReadOnlyAndIgnoresState)
{
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_TRUE(def->IsReadOnly());
    def->SetState(GRIDSTATE_SELECTED);
    EXPECT_FALSE(def->IsSelected());
    EXPECT_EQ(def->GetFormat(),
        static_cast<DWORD>(DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS));
}

TEST_F(GridModel, DefaultCellSizeIsTwelveXsAndAHalfLineMore)
{
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    CDC screen;
    screen.Attach(GdiCreateScreenDC());
    CFont* old = screen.SelectObject(def->GetFontObject());
    const CSize size = screen.GetTextExtent(CString(" XXXXXXXXXXXX "));
    const CSize blank = screen.GetTextExtent(CString(" "));
    screen.SelectObject(old);
    EXPECT_EQ(def->GetWidth(), size.cx);
    EXPECT_EQ(def->GetHeight(), size.cy * 3 / 2);
    EXPECT_EQ(static_cast<int>(def->GetMargin()), blank.cx);
}

TEST_F(GridModel, CellFallsBackToDefaultFormatMarginAndFont)
{
    CGridCellBase* cell = grid.GetCell(2, 2);
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell->GetMargin(), def->GetMargin());
    EXPECT_EQ(cell->GetFont(), def->GetFont());
    LOGFONT lf {};
    lf.lfHeight = -20;
    cell->SetFont(&lf);
    EXPECT_EQ(cell->GetFont()->lfHeight, -20);
    cell->SetFont(nullptr);
    EXPECT_EQ(cell->GetFont(), def->GetFont());
}

TEST_F(GridModel, SelectedRangeMovesOffHeadingsAndFocusSkipsThem)
{
    grid.SetSelectedRange(0, 0, 2, 2);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 2, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 4);
    grid.SetFocusCell(0, 0);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(1, 1));
    EXPECT_TRUE(SelectionConsistent(grid));
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
}

TEST(GridModelSort, NumericCompareKeepsTrailingRow)
{
    CGridCtrl grid(6, 2, 1, 1);
    const char* texts[] = { "", "10", "9", "abc", "12kg", "-->" };
    for (int r = 0; r < 6; ++r)
        grid.SetItemText(r, 1, texts[r]);
    grid.SetCompareFunction(CGridCtrl::CompareItemNumber);
    ASSERT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(ColumnTexts(grid, 1), (std::vector<std::string> { "", "abc", "9", "10", "12kg", "-->" }));
    EXPECT_EQ(grid.GetSortColumn(), 1);
    ASSERT_TRUE(grid.SortItems(1, FALSE));
    EXPECT_EQ(ColumnTexts(grid, 1), (std::vector<std::string> { "", "12kg", "10", "9", "abc", "-->" }));
}

TEST(GridModelSort, RowsTravelWholeWithHeightsAndTextCompareIsBytewise)
{
    CGridCtrl grid(5, 3, 1, 1);
    const char* keys[] = { "", "9", "10", "8", "end" };
    for (int r = 0; r < 5; ++r) {
        grid.SetItemText(r, 0, CString::Formatted("h%d", r));
        grid.SetItemText(r, 1, keys[r]);
        grid.SetItemText(r, 2, CString::Formatted("v%d", r));
        grid.SetRowHeight(r, 10 + r);
    }
    ASSERT_TRUE(grid.SortTextItems(1, TRUE));
    EXPECT_EQ(ColumnTexts(grid, 1), (std::vector<std::string> { "", "10", "8", "9", "end" }));
    EXPECT_EQ(ColumnTexts(grid, 0), (std::vector<std::string> { "h0", "h2", "h3", "h1", "h4" }));
    EXPECT_EQ(ColumnTexts(grid, 2), (std::vector<std::string> { "v0", "v2", "v3", "v1", "v4" }));
    EXPECT_EQ(grid.GetRowHeight(1), 12);
    EXPECT_EQ(grid.GetRowHeight(4), 14);
}

TEST(GridModelSort, TwoBodyRowsLeaveNothingToSort)
{
    CGridCtrl grid(3, 2, 1, 1);
    EXPECT_FALSE(grid.SortItems(CGridCtrl::CompareItemText, 1, TRUE, 0));
    EXPECT_FALSE(grid.SortItems(CGridCtrl::CompareItemText, 5, TRUE, 0, 1, -1));
}

TEST(GridModelSort, LongNumbersCompareWithoutOverflow)
{
    CGridCellBase* a = new CGridCell;
    CGridCellBase* b = new CGridCell;
    a->SetText("8801234567890");
    b->SetText("4294967297");
    EXPECT_GT(CGridCtrl::CompareItemNumber(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), 0), 0);
    EXPECT_EQ(CGridCtrl::CompareItemNumber(reinterpret_cast<LPARAM>(a), 0, 0), 0);
    a->SetText("8500000000000000000");
    b->SetText("9000000000000000000");
    EXPECT_LT(CGridCtrl::CompareItemNumber(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), 0), 0);
    delete a;
    delete b;
}

std::string CopiedText(CGridCtrl& grid)
{
    std::unique_ptr<COleDataSource> source(grid.CopyTextFromSelection());
    return source ? source->GetText().Str() : std::string("<null>");
}

TEST(GridModelClipboard, CopyOfBlockSeparatesCellsAndRows)
{
    CGridCtrl grid(4, 4, 1, 1);
    const char* texts[2][3] = { { "a", "b", "c" }, { "d", "e", "f" } };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            grid.SetItemText(r + 1, c + 1, texts[r][c]);
    EXPECT_EQ(CopiedText(grid), "<null>");
    grid.SetSelectedRange(1, 1, 2, 3);
    EXPECT_EQ(CopiedText(grid), "a\tb\tc\nd\te\tf");
}

TEST(GridModelClipboard, UnselectedCellsInsideTheRangeCopyEmptyAndHiddenColumnsVanish)
{
    CGridCtrl grid(4, 4, 1, 1);
    FillCoordinates(grid);
    grid.SetItemText(1, 1, "x");
    grid.SetItemText(2, 3, "y");
    grid.SetItemState(1, 1, GRIDSTATE_SELECTED);
    grid.SetItemState(2, 3, GRIDSTATE_SELECTED);
    EXPECT_EQ(CopiedText(grid), "x\t\t\n\t\ty");
    grid.SetColumnWidth(2, 0);
    EXPECT_EQ(CopiedText(grid), "x\t\n\ty");
}

BOOL Paste(CGridCtrl& grid, int row, int col, const char* text, BOOL select = TRUE)
{
    COleDataObject data;
    data.AttachText(text);
    return grid.PasteTextToSelection(CGridCellCoord(row, col), &data, select);
}

TEST(GridModelClipboard, PasteSplitsLinesAndPiecesAndTrimsCarriageReturn)
{
    CGridCtrl grid(5, 4, 1, 1);
    ASSERT_TRUE(Paste(grid, 1, 1, "1\t2\r\n3\t4"));
    EXPECT_EQ(grid.GetItemText(1, 1), "1");
    EXPECT_EQ(grid.GetItemText(1, 2), "2");
    EXPECT_EQ(grid.GetItemText(2, 1), "3");
    EXPECT_EQ(grid.GetItemText(2, 2), "4");
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 2, 2));
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST(GridModelClipboard, PasteEmptyPiecesClearAndEmptyLinesTakeARow)
{
    CGridCtrl grid(6, 4, 1, 1);
    FillCoordinates(grid);
    ASSERT_TRUE(Paste(grid, 1, 1, "a\t\tb\t\n\nz", FALSE));
    EXPECT_EQ(grid.GetItemText(1, 1), "a");
    EXPECT_EQ(grid.GetItemText(1, 2), "");
    EXPECT_EQ(grid.GetItemText(1, 3), "b");
    EXPECT_EQ(grid.GetItemText(2, 1), "2,1");
    EXPECT_EQ(grid.GetItemText(3, 1), "z");
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST(GridModelClipboard, PasteNeverWritesTheLastRowAndNotReadOnlyCells)
{
    CGridCtrl grid(4, 3, 1, 1);
    FillCoordinates(grid);
    ASSERT_TRUE(Paste(grid, 2, 1, "x\ny"));
    EXPECT_EQ(grid.GetItemText(2, 1), "x");
    EXPECT_EQ(grid.GetItemText(3, 1), "3,1");
    EXPECT_TRUE(Paste(grid, 3, 1, "z"));
    EXPECT_EQ(grid.GetItemText(3, 1), "3,1");
    grid.SetItemState(1, 1, GRIDSTATE_READONLY);
    EXPECT_FALSE(Paste(grid, 1, 1, "q"));
    grid.SetEditable(FALSE);
    EXPECT_FALSE(Paste(grid, 2, 2, "q"));
}

TEST(GridModelClipboard, PasteTakesTheWholeDataPastAnEmbeddedNul)
{
    CGridCtrl grid(4, 3, 1, 1);
    COleDataObject data;
    data.AttachText(CString(std::string("a\0x\nb", 5)));
    ASSERT_TRUE(grid.PasteTextToSelection(CGridCellCoord(1, 1), &data, FALSE));
    EXPECT_EQ(grid.GetItemText(1, 1), "a");
    EXPECT_EQ(grid.GetItemText(2, 1), "b");
}

// A random walk over structural and selection operations keeps the selected
// set equal to the cells that carry the selected bit.
TEST(GridModelRandom, SelectionInvariantHoldsOverRandomOperations)
{
    std::mt19937 rng(1234);
    CGridCtrl grid(8, 6, 1, 1);
    auto pick = [&](int n) { return n > 0 ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0; };
    for (int step = 0; step < 600; ++step) {
        const int rows = grid.GetRowCount();
        const int cols = grid.GetColumnCount();
        switch (pick(11)) {
        case 0:
            grid.InsertRow("r", rows > 1 ? 1 + pick(rows - 1) : -1);
            break;
        case 1:
            grid.DeleteRow(pick(rows + 1));
            break;
        case 2:
            grid.InsertColumn("c", DT_LEFT, cols > 1 ? 1 + pick(cols) : -1);
            break;
        case 3:
            grid.DeleteColumn(1 + pick(cols));
            break;
        case 4:
            grid.SetRowCount(1 + pick(12));
            break;
        case 5:
            grid.SetColumnCount(1 + pick(8));
            break;
        case 6:
            grid.SetSelectedRange(pick(rows), pick(cols), pick(rows + 1), pick(cols + 1));
            break;
        case 7: {
            const int r = pick(rows), c = pick(cols);
            const UINT state = grid.GetItemState(r, c) & ~GRIDSTATE_SELECTED;
            grid.SetItemState(r, c, pick(2) ? (state | GRIDSTATE_SELECTED) : state);
            break;
        }
        case 8:
            grid.SetFocusCell(pick(rows + 1) - 1, pick(cols + 1) - 1);
            break;
        case 9:
            grid.SortTextItems(1, pick(2));
            break;
        case 10:
            grid.SetFixedRowCount(pick(3));
            break;
        }
        if (grid.GetRowCount() == 0 || grid.GetColumnCount() == 0) {
            grid.SetRowCount(8);
            grid.SetColumnCount(6);
        }
        ASSERT_TRUE(SelectionConsistent(grid)) << "step " << step;
    }
}

TEST(GridModelFaults, EditorThatCannotOpenLeavesNoEditingCell)
{
    CGridCtrl grid(3, 3, 1, 1); // no window: the editor cannot be made
    CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_FALSE(cell->Edit(1, 1, CRect(0, 0, 10, 10), CPoint(0, 0), IDC_GRID_INPLACE, 'x'));
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(cell->GetEditWnd(), nullptr);
}

TEST(GridModelFaults, RowsSixtyFiveThousandApartAreDistinctSelections)
{
    CGridCtrl grid(65540, 2, 1, 1);
    grid.SetItemState(1, 1, GRIDSTATE_SELECTED);
    grid.SetItemState(65537, 1, GRIDSTATE_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 65537, 1));
    grid.SetItemState(1, 1, 0);
    EXPECT_TRUE(grid.IsCellSelected(65537, 1));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
}

} // namespace
