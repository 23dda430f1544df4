// The grid's table at its edges: ranges that reach past the last row or
// column, the focus cell when the counts shrink onto it, the cell setters as
// a host calls them, sorting that clears the selection, numbers after any
// white space, and the default cell's font.

#include <gtest/gtest.h>

#include <sstream>

#include "grid/compare.h"
#include "grid/grid_ctrl.h"
#include "grid/inplace_editor.h"
#include "grid_test_util.h"

namespace {

TEST(GridEdges, RangesAreValidOnlyInsideTheGrid)
{
    CGridCtrl grid(20, 6, 1, 1);
    struct Case {
        CGridCellRange range;
        bool valid;
    } const cases[] = {
        { { 0, 0, 19, 5 }, true },
        { { 3, 2, 3, 2 }, true },
        { { 1, 1, 20, 3 }, false }, // past the last row
        { { 1, 1, 3, 6 }, false }, // past the last column
        { { 1, 1, 20, 6 }, false },
        { { -1, 1, 3, 3 }, false },
        { { 1, -1, 3, 3 }, false },
        { { 4, 1, 3, 3 }, false }, // upside down
        { { 1, 4, 3, 3 }, false },
        { { -1, -1, -1, -1 }, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.IsValid(c.range) != FALSE, c.valid)
            << c.range.GetMinRow() << "," << c.range.GetMinCol() << " " << c.range.GetMaxRow() << ","
            << c.range.GetMaxCol();
}

TEST(GridEdges, ShrinkingOntoTheFocusCellClearsIt)
{
    struct Case {
        const char* name;
        CGridCellCoord focus;
        int rows, cols;
        bool kept;
    } const cases[] = {
        { "last column goes", { 3, 5 }, 20, 5, false },
        { "column before the last stays", { 3, 4 }, 20, 5, true },
        { "last row goes", { 19, 2 }, 19, 6, false },
        { "row before the last stays", { 18, 2 }, 19, 6, true },
        { "growing keeps it", { 19, 5 }, 25, 8, true },
        { "no rows", { 3, 3 }, 0, 6, false },
        { "no columns", { 3, 3 }, 20, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(20, 6, 1, 1);
        EXPECT_FALSE(grid.SetRowCount(-1));
        EXPECT_FALSE(grid.SetColumnCount(-1));
        grid.SetFocusCell(c.focus);
        ASSERT_EQ(grid.GetFocusCell(), c.focus);
        EXPECT_TRUE(grid.SetRowCount(c.rows));
        EXPECT_TRUE(grid.SetColumnCount(c.cols));
        EXPECT_EQ(grid.GetRowCount(), c.rows);
        EXPECT_EQ(grid.GetColumnCount(), c.cols);
        EXPECT_EQ(grid.GetFocusCell(), c.kept ? c.focus : CGridCellCoord(-1, -1));
        EXPECT_TRUE(SelectionConsistent(grid));
    }
}

TEST(GridEdges, SettersReachTheCellTheHostNames)
{
    CGridCtrl grid(5, 5, 1, 1);
    LOGFONT lf {};
    lf.lfHeight = -17;
    // Each setter on (2, 3) only: the transposed cell (3, 2) keeps its defaults.
    EXPECT_TRUE(grid.SetItemData(2, 3, 77));
    EXPECT_TRUE(grid.SetItemImage(2, 3, 4));
    EXPECT_TRUE(grid.SetItemFormat(2, 3, DT_LEFT | DT_SINGLELINE));
    EXPECT_TRUE(grid.SetItemBkColour(2, 3, RGB(1, 2, 3)));
    EXPECT_TRUE(grid.SetItemFgColour(2, 3, RGB(4, 5, 6)));
    EXPECT_TRUE(grid.SetItemFont(2, 3, &lf));
    EXPECT_TRUE(grid.SetItemState(2, 3, GRIDSTATE_READONLY));
    EXPECT_EQ(grid.GetItemData(2, 3), 77);
    EXPECT_EQ(grid.GetItemImage(2, 3), 4);
    EXPECT_EQ(grid.GetItemFormat(2, 3), static_cast<UINT>(DT_LEFT | DT_SINGLELINE));
    EXPECT_EQ(grid.GetItemBkColour(2, 3), RGB(1, 2, 3));
    EXPECT_EQ(grid.GetItemFgColour(2, 3), RGB(4, 5, 6));
    ASSERT_NE(grid.GetItemFont(2, 3), nullptr);
    EXPECT_EQ(grid.GetItemFont(2, 3)->lfHeight, -17);
    EXPECT_FALSE(grid.IsCellEditable(2, 3));

    EXPECT_EQ(grid.GetItemData(3, 2), 0);
    EXPECT_EQ(grid.GetItemImage(3, 2), -1);
    EXPECT_EQ(grid.GetItemFormat(3, 2), grid.GetDefaultCell(FALSE, FALSE)->GetFormat());
    EXPECT_EQ(grid.GetItemBkColour(3, 2), CLR_DEFAULT);
    EXPECT_EQ(grid.GetItemFgColour(3, 2), CLR_DEFAULT);
    EXPECT_NE(grid.GetItemFont(3, 2)->lfHeight, -17);
    EXPECT_TRUE(grid.IsCellEditable(3, 2));

    // Outside the grid every setter refuses.
    EXPECT_FALSE(grid.SetItemData(5, 1, 1));
    EXPECT_FALSE(grid.SetItemImage(1, 5, 1));
    EXPECT_FALSE(grid.SetItemFormat(-1, 1, 0));
    EXPECT_FALSE(grid.SetItemBkColour(1, -1, 0));
    EXPECT_FALSE(grid.SetItemFgColour(9, 9, 0));
    EXPECT_FALSE(grid.SetItemFont(5, 5, &lf));
    EXPECT_FALSE(grid.SetItemState(5, 0, 0));

    EXPECT_FALSE(grid.SetItem(nullptr));
    EXPECT_FALSE(grid.GetItem(nullptr));
}

// What GetItem reads back of (1, 4) for every field, by mask bit.
std::string ItemFields(CGridCtrl& grid)
{
    GRIDITEM item {};
    item.row = 1;
    item.col = 4;
    item.mask = 0x1FF;
    if (!grid.GetItem(&item))
        return "<none>";
    return CString::Formatted("text=%s data=%d image=%d state=%x format=%x bk=%x fg=%x font=%d margin=%u",
        item.strText.GetString(), static_cast<int>(item.lParam), item.iImage, item.nState & 0x0F,
        item.nFormat, static_cast<unsigned>(item.crBkClr), static_cast<unsigned>(item.crFgClr),
        item.lfFont.lfHeight, item.nMargin)
        .Str();
}

TEST(GridEdges, SetItemAppliesOnlyTheMaskedFieldsToItsCell)
{
    GRIDITEM full {};
    full.row = 1;
    full.col = 4;
    full.strText = "set";
    full.lParam = 9;
    full.iImage = 2;
    full.nState = GRIDSTATE_READONLY;
    full.nFormat = DT_LEFT;
    full.crBkClr = RGB(1, 2, 3);
    full.crFgClr = RGB(7, 8, 9);
    full.lfFont.lfHeight = -33;
    full.nMargin = 11;
    struct Case {
        UINT mask;
        const char* changed; // the field that differs from a fresh grid
    } const cases[] = {
        { GRIDITEM_TEXT, "text=set" },
        { GRIDITEM_DATA, "data=9" },
        { GRIDITEM_IMAGE, "image=2" },
        { GRIDITEM_STATE, "state=8" },
        { GRIDITEM_FORMAT, "format=0" },
        { GRIDITEM_BKCLR, "bk=30201" },
        { GRIDITEM_FGCLR, "fg=90807" },
        { GRIDITEM_FONT, "font=-33" },
        { GRIDITEM_MARGIN, "margin=11" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changed);
        CGridCtrl grid(5, 5, 1, 1);
        grid.SetModified(FALSE);
        const std::string before = ItemFields(grid);
        GRIDITEM item = full;
        item.mask = c.mask;
        ASSERT_TRUE(grid.SetItem(&item));
        const std::string after = ItemFields(grid);
        EXPECT_NE(after.find(c.changed), std::string::npos) << after;
        // Exactly one field differs.
        std::istringstream a(before), b(after);
        std::string fa, fb;
        int differing = 0;
        while (a >> fa && b >> fb)
            differing += fa != fb;
        EXPECT_EQ(differing, 1) << before << " / " << after;
        // Marked modified first; a state word given replaces that mark.
        EXPECT_EQ(grid.GetModified(1, 4) != FALSE, c.mask != GRIDITEM_STATE);
        EXPECT_FALSE(grid.GetModified(4, 1));
        EXPECT_EQ(grid.GetItemText(4, 1), "");
    }
    CGridCtrl grid(5, 5, 1, 1);
    GRIDITEM outside = full;
    outside.mask = GRIDITEM_TEXT;
    outside.row = 5;
    EXPECT_FALSE(grid.SetItem(&outside));
    EXPECT_FALSE(grid.GetItem(&outside));
    // In virtual mode the owner holds the cells: SetItem refuses.
    grid.SetVirtualMode(TRUE);
    grid.SetRowCount(5);
    grid.SetColumnCount(5);
    outside.row = 1;
    EXPECT_FALSE(grid.SetItem(&outside));
}

TEST(GridEdges, SortingClearsTheSelectionAndTheFocus)
{
    CGridCtrl grid(6, 3, 1, 1);
    const char* keys[] = { "", "c", "a", "b", "d", "end" };
    for (int r = 0; r < 6; ++r)
        grid.SetItemText(r, 1, keys[r]);
    grid.SetSelectedRange(2, 1, 3, 2);
    grid.SetFocusCell(2, 1);
    ASSERT_EQ(grid.GetSelectedCount(), 4);
    ASSERT_TRUE(grid.SortTextItems(1, TRUE));
    EXPECT_EQ(ColumnTexts(grid, 1), (std::vector<std::string> { "", "a", "b", "c", "d", "end" }));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST(GridEdges, ClearingTheModifiedFlagClearsEveryCellsMark)
{
    CGridCtrl grid(5, 4, 1, 1);
    const CGridCellCoord cells[] = { { 0, 0 }, { 0, 3 }, { 3, 0 }, { 2, 2 }, { 4, 3 } };
    for (const CGridCellCoord& cell : cells)
        grid.SetItemText(cell.row, cell.col, "x");
    for (const CGridCellCoord& cell : cells)
        ASSERT_TRUE(grid.GetModified(cell.row, cell.col));
    EXPECT_FALSE(grid.GetModified(1, 1));
    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.GetModified());
    for (const CGridCellCoord& cell : cells)
        EXPECT_FALSE(grid.GetModified(cell.row, cell.col)) << cell.row << "," << cell.col;
    // A cell's mark sets the grid's flag; clearing a cell leaves the others.
    grid.SetModified(TRUE, 2, 2);
    grid.SetModified(TRUE, 3, 0);
    EXPECT_TRUE(grid.GetModified());
    grid.SetModified(FALSE, 2, 2);
    EXPECT_FALSE(grid.GetModified(2, 2));
    EXPECT_TRUE(grid.GetModified(3, 0));
}

TEST(GridEdges, TypedCodePointsBecomeUtf8)
{
    struct Case {
        UINT codePoint;
        const char* utf8;
    } const cases[] = {
        { 'A', "A" },
        { 0x7F, "\x7F" },
        { 0x80, "\xC2\x80" },
        { 0xE9, "\xC3\xA9" },
        { 0x7FF, "\xDF\xBF" },
        { 0x800, "\xE0\xA0\x80" },
        { 0xD55C, "\xED\x95\x9C" },
        { 0xFFFF, "\xEF\xBF\xBF" },
        { 0x10000, "\xF0\x90\x80\x80" },
        { 0x1F600, "\xF0\x9F\x98\x80" },
        { 0x10FFFF, "\xF4\x8F\xBF\xBF" },
        { 0x110000, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8OfCodePoint(c.codePoint), c.utf8) << std::hex << c.codePoint;
}

TEST(GridEdges, NumbersAfterAnyWhiteSpace)
{
    for (const char* text : { " 15", "\t15", "\n15", "\r15", "\f15", "\v15", " \t\r\n\f\v15" })
        EXPECT_EQ(LeadingInteger64(text), 15) << static_cast<int>(text[0]);
    EXPECT_EQ(LeadingInteger64("\x01"
                               "15"),
        0);
}

TEST(GridEdges, DefaultCellFontSetsItsSizeAndItsDrawingFont)
{
    CGridCtrl grid(3, 3, 1, 1);
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    const int height = def->GetHeight();
    const int width = def->GetWidth();
    LOGFONT lf = *def->GetFont();
    lf.lfHeight = -48;
    def->SetFont(&lf);
    EXPECT_GT(def->GetHeight(), height * 2);
    EXPECT_GT(def->GetWidth(), width * 2);
    LOGFONT made {};
    ASSERT_NE(def->GetFontObject(), nullptr);
    ASSERT_TRUE(def->GetFontObject()->GetLogFont(&made));
    EXPECT_EQ(made.lfHeight, -48);
    // A cell without a font of its own measures with it.
    CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_EQ(cell->GetFont()->lfHeight, -48);
    // Null changes nothing.
    def->SetFont(nullptr);
    EXPECT_EQ(def->GetFont()->lfHeight, -48);
}

TEST(GridEdges, WindowFontReachesHeadingsAndBody)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    CGridCtrl grid(3, 3, 1, 1);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 200, 100), &owner, 1005, WS_CHILD));
    LOGFONT lf = *grid.GetDefaultCell(FALSE, FALSE)->GetFont();
    lf.lfHeight = -37;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), 0);
    for (const auto& [r, c] : { std::pair(0, 0), std::pair(0, 1), std::pair(1, 0), std::pair(1, 1) })
        EXPECT_EQ(grid.GetItemFont(r, c)->lfHeight, -37) << r << "," << c;
    grid.DestroyWindow();
    owner.DestroyWindow();
}

} // namespace
