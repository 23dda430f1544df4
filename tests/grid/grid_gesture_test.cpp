// Gestures at the grid's edges: divider drags from either side of a divider,
// right clicks inside and outside the cells, heading clicks on the first
// column and row, the pick-list anchors, a Ctrl-click deselect in a grid
// without heading columns, Home and End past hidden rows and columns.

#include "grid/inplace_edit.h"
#include "grid_window_fixture.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/desktop/oledata.h"

namespace {

using E = GridEvent;

using GridGestureTest = GridWindowTest;

TEST_F(GridGestureTest, DividerDragsSizeTheColumnOrRowBeforeTheDivider)
{
    struct Case {
        const char* name;
        CPoint down, up;
        bool column;
        int index; // the column or row that takes the new size
        int size;
        int clipFrom; // client x (column) or y (row) where the pointer is held from
    } const cases[] = {
        { "column 1, its right edge", { 99, 10 }, { 130, 10 }, true, 1, 80, 51 },
        { "column 1, from column 2's left edge", { 101, 10 }, { 130, 10 }, true, 1, 80, 51 },
        { "column 0, its right edge", { 48, 10 }, { 70, 10 }, true, 0, 70, 1 },
        { "column 0, from column 1's left edge", { 51, 10 }, { 70, 10 }, true, 0, 70, 1 },
        { "row 2, its bottom edge", { 10, 59 }, { 10, 80 }, false, 2, 40, 41 },
        { "row 2, from row 3's top edge", { 10, 61 }, { 10, 80 }, false, 2, 40, 41 },
        { "row 0, from row 1's top edge", { 10, 21 }, { 10, 33 }, false, 0, 33, 1 },
        { "last column, its right edge", { 298, 10 }, { 330, 10 }, true, 5, 80, 251 },
        { "a press and release in place", { 99, 10 }, { 99, 10 }, true, 1, kCellWidth, 51 },
        { "row 2, released at the left edge", { 10, 59 }, { 0, 80 }, false, 2, 40, 41 },
        { "column 1, released at the top edge", { 99, 10 }, { 130, 0 }, true, 1, 80, 51 },
        { "column 1, released at the corner", { 99, 10 }, { 0, 0 }, true, 1, kCellWidth, 51 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(20, 6);
        grid.SendMessage(WM_MOUSEMOVE, 0, At(c.down));
        EXPECT_EQ(grid.GetMouseMode(), c.column ? GRIDMOUSE_OVER_COL_DIVIDE : GRIDMOUSE_OVER_ROW_DIVIDE);
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(c.down));
        EXPECT_EQ(grid.GetMouseMode(), c.column ? GRIDMOUSE_SIZING_COL : GRIDMOUSE_SIZING_ROW);
        // The pointer is held right of (below) the sized column's (row's) start.
        RECT clip {};
        EXPECT_TRUE(GetClipCursor(&clip));
        CPoint from(c.column ? c.clipFrom : 0, c.column ? 0 : c.clipFrom);
        grid.ClientToScreen(&from);
        CRect client;
        grid.GetClientRect(client);
        if (c.column) {
            EXPECT_EQ(clip.left, from.x);
            EXPECT_EQ(clip.right - clip.left, client.Width() - grid.GetFixedColumnWidth());
        } else {
            EXPECT_EQ(clip.top, from.y);
            EXPECT_EQ(clip.bottom - clip.top, client.Height() - grid.GetFixedRowHeight());
        }
        if (c.up != c.down)
            grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(c.up));
        grid.SendMessage(WM_LBUTTONUP, 0, At(c.up));
        for (int i = 0; i < (c.column ? 6 : 20); ++i) {
            const int size = c.column ? grid.GetColumnWidth(i) : grid.GetRowHeight(i);
            EXPECT_EQ(size, i == c.index ? c.size : (c.column ? kCellWidth : kCellHeight)) << i;
        }
        EXPECT_EQ(grid.GetMouseMode(), GRIDMOUSE_NOTHING);
        EXPECT_FALSE(GetClipCursor(&clip));
    }
}

TEST_F(GridGestureTest, RightClicksMoveTheFocusIntoTheBodyAndTellTheOwner)
{
    struct Case {
        CPoint point;
        CGridCellCoord focus;
        GridEvent event;
    } const cases[] = {
        { Centre(3, 2), { 3, 2 }, { GRIDNOTIFY_RCLICK, 3, 2 } },
        { Centre(0, 3), { 1, 3 }, { GRIDNOTIFY_RCLICK, 0, 3 } },
        { Centre(4, 0), { 4, 1 }, { GRIDNOTIFY_RCLICK, 4, 0 } },
        // Right of the last column: the focus stays, the owner hears (-1, -1).
        { CPoint(380, 50), { 4, 1 }, { GRIDNOTIFY_RCLICK, -1, -1 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        owner.events.clear();
        grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(c.point));
        grid.SendMessage(WM_RBUTTONUP, 0, At(c.point));
        EXPECT_EQ(grid.GetFocusCell(), c.focus);
        EXPECT_EQ(owner.Only({ GRIDNOTIFY_RCLICK }), std::vector<E> { c.event });
        EXPECT_TRUE(SelectionConsistent(grid));
    }
}

TEST_F(GridGestureTest, HeadingClicksOnTheFirstColumnAndRowAndTheFocusTheyLeave)
{
    struct Case {
        int row, col;
        CGridCellRange selected;
    } const cases[] = {
        { 0, 1, CGridCellRange(1, 1, 19, 1) },
        { 0, 5, CGridCellRange(1, 5, 19, 5) },
        { 1, 0, CGridCellRange(1, 1, 1, 5) },
        { 19, 0, CGridCellRange(19, 1, 19, 5) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        Click(3, 3);
        ASSERT_EQ(grid.GetFocusCell(), CGridCellCoord(3, 3));
        Click(c.row, c.col);
        EXPECT_EQ(grid.GetSelectedCellRange(), c.selected);
        EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(-1, -1)) << "a heading click leaves no focus cell";
        EXPECT_TRUE(SelectionConsistent(grid));
    }
    // Shift-click on another column heading extends the column selection.
    Click(0, 2);
    Click(0, 4, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 2, 19, 4));
}

TEST_F(GridGestureTest, AnchorsAlternateWithEveryPress)
{
    const int rows[] = { 5, 9, 2, 7 };
    int a = 0, b = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        Click(rows[i], 2);
        (i % 2 == 0 ? a : b) = rows[i];
        EXPECT_EQ(grid.Picks().rangeA, a) << i;
        EXPECT_EQ(grid.Picks().rangeB, b) << i;
    }
}

TEST_F(GridGestureTest, CtrlClickDeselectKeepsARowThatStillHasACellInColumnZero)
{
    grid.SetFixedColumnCount(0);
    Click(4, 0);
    Click(4, 1, MK_CONTROL);
    Click(6, 1, MK_CONTROL);
    ASSERT_TRUE(grid.IsCellSelected(4, 0));
    ASSERT_TRUE(grid.IsCellSelected(4, 1));
    // Deselecting (4, 1) leaves (4, 0): row 4 stays picked.
    Click(4, 1, MK_CONTROL);
    EXPECT_FALSE(grid.IsCellSelected(4, 1));
    EXPECT_TRUE(grid.IsCellSelected(4, 0));
    EXPECT_EQ(grid.Picks().pickedRows, (std::vector<int> { 6, 4 }));
    // Deselecting (6, 1) empties row 6: it leaves the list.
    Click(6, 1, MK_CONTROL);
    EXPECT_EQ(grid.Picks().pickedRows, (std::vector<int> { 4 }));
}

TEST_F(GridGestureTest, KeysStopAtTheFirstAndLastShownCells)
{
    struct Case {
        const char* name;
        int fixedCols;
        int hiddenCol, hiddenRow; // -1: none
        CGridCellCoord from;
        UINT key;
        bool ctrl;
        CGridCellCoord to;
    } const cases[] = {
        { "down into the last row", 1, -1, -1, { 18, 3 }, VK_DOWN, false, { 19, 3 } },
        { "down past a hidden last row", 1, -1, 19, { 18, 3 }, VK_DOWN, false, { 18, 3 } },
        { "up into the first body row", 1, -1, -1, { 2, 3 }, VK_UP, false, { 1, 3 } },
        { "home", 1, -1, -1, { 5, 3 }, VK_HOME, false, { 5, 1 } },
        { "home without heading column", 0, -1, -1, { 5, 3 }, VK_HOME, false, { 5, 0 } },
        { "home past a hidden column", 1, 1, -1, { 5, 3 }, VK_HOME, false, { 5, 2 } },
        { "end", 1, -1, -1, { 5, 2 }, VK_END, false, { 5, 5 } },
        { "end before a hidden column", 1, 5, -1, { 5, 2 }, VK_END, false, { 5, 4 } },
        { "ctrl+home", 1, -1, -1, { 7, 3 }, VK_HOME, true, { 1, 1 } },
        { "ctrl+home past a hidden row", 1, -1, 1, { 7, 3 }, VK_HOME, true, { 2, 1 } },
        { "ctrl+end", 1, -1, -1, { 3, 3 }, VK_END, true, { 19, 5 } },
        { "ctrl+end before a hidden row", 1, -1, 19, { 3, 3 }, VK_END, true, { 18, 5 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(20, 6);
        grid.SetFixedColumnCount(c.fixedCols);
        if (c.hiddenCol >= 0)
            grid.SetColumnWidth(c.hiddenCol, 0);
        if (c.hiddenRow >= 0)
            grid.SetRowHeight(c.hiddenRow, 0);
        grid.SetFocusCell(c.from);
        SetKeyStateOverride(VK_CONTROL, c.ctrl);
        Key(c.key);
        SetKeyStateOverride(VK_CONTROL, FALSE);
        EXPECT_EQ(grid.GetFocusCell(), c.to);
        EXPECT_TRUE(c.to == c.from || grid.IsCellSelected(c.to));
        EXPECT_TRUE(grid.IsCellVisible(c.to));
    }
}

TEST_F(GridGestureTest, RowDividerDragWithTheFirstColumnScrolledOut)
{
    Shape(20, 14);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    CRect rect;
    ASSERT_FALSE(grid.GetCellRect(3, 1, rect));
    grid.SendMessage(WM_MOUSEMOVE, 0, At(CPoint(10, 59)));
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(CPoint(10, 59)));
    RECT clip {};
    EXPECT_TRUE(GetClipCursor(&clip)) << "the pointer is held below the row's top";
    grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(10, 75)));
    grid.SendMessage(WM_LBUTTONUP, 0, At(CPoint(10, 75)));
    EXPECT_EQ(grid.GetRowHeight(2), 35);
}

TEST_F(GridGestureTest, CursorShowsTheDividerUnderThePointer)
{
    struct Case {
        CPoint point;
        UINT_PTR cursor;
        int mode;
    } const cases[] = {
        { { 99, 10 }, IDC_SIZEWE, GRIDMOUSE_OVER_COL_DIVIDE }, { { 120, 10 }, IDC_ARROW, GRIDMOUSE_NOTHING },
        { { 10, 59 }, IDC_SIZENS, GRIDMOUSE_OVER_ROW_DIVIDE }, { { 25, 70 }, IDC_ARROW, GRIDMOUSE_NOTHING },
        { { 10, 39 }, IDC_SIZENS, GRIDMOUSE_OVER_ROW_DIVIDE },
        { { 149, 70 }, IDC_ARROW, GRIDMOUSE_NOTHING }, // a body cell's edge is no divider
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
        grid.SendMessage(WM_MOUSEMOVE, 0, At(c.point));
        EXPECT_EQ(grid.GetMouseMode(), c.mode);
        EXPECT_TRUE(c.mode == GRIDMOUSE_NOTHING || GetStandardCursorId(GetCursor()) == c.cursor);
    }
}

TEST_F(GridGestureTest, CtrlClickAfterADeselectDoesNotBringTheCellBack)
{
    Click(2, 2);
    Click(2, 2, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    Click(4, 4, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.IsCellSelected(4, 4));
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    Click(6, 3, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST_F(GridGestureTest, EnsureVisibleScrollsBackLeftAndUp)
{
    Shape(30, 14);
    grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_GT(grid.GetScrollPos32(SB_HORZ), 0);
    ASSERT_FALSE(grid.IsCellVisible(5, 1));
    grid.EnsureVisible(5, 1);
    EXPECT_TRUE(grid.IsCellVisible(5, 1));
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(5, 1, rect));
    EXPECT_EQ(rect.left, kCellWidth);
    EXPECT_EQ(rect.top, kCellHeight) << "the row comes in at the top";
}

// A cell type that keeps the cell-relative points of the clicks it gets.
struct CRecordingCell : public CGridCell {
    static constexpr const char* kClassName = "CRecordingCell";
    std::vector<std::pair<char, CPoint>> clicks;
    void OnClick(CPoint p) override { clicks.emplace_back('L', p); }
    void OnRClick(CPoint p) override { clicks.emplace_back('R', p); }
    void OnDblClick(CPoint p) override { clicks.emplace_back('D', p); }
};

TEST_F(GridGestureTest, CellsGetTheirClicksRelativeToTheirCorner)
{
    grid.SetEditable(FALSE);
    ASSERT_TRUE(grid.SetCellType(3, 2, RUNTIME_CELL_CLASS(CRecordingCell)));
    auto* cell = dynamic_cast<CRecordingCell*>(grid.GetCell(3, 2));
    ASSERT_NE(cell, nullptr);
    const CPoint p(112, 67); // cell (3, 2) starts at (100, 60)
    grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(p));
    grid.SendMessage(WM_RBUTTONUP, 0, At(p));
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(p));
    grid.SendMessage(WM_LBUTTONUP, 0, At(p));
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(p));
    grid.SendMessage(WM_LBUTTONUP, 0, At(p));
    std::string kinds;
    for (const auto& [kind, point] : cell->clicks) {
        kinds += kind;
        EXPECT_EQ(point, CPoint(12, 7)) << kind;
    }
    // A click at each release, the double click between.
    EXPECT_EQ(kinds, "RLDL");
}

TEST_F(GridGestureTest, TypingIntoTheGridWhileEditingGoesToTheEditor)
{
    const HWND hwnd = OpenEditor(3, 2, "ab");
    ASSERT_NE(hwnd, nullptr);
    auto* editor = dynamic_cast<CGridInPlaceEdit*>(EditorOf(3, 2));
    ASSERT_NE(editor, nullptr);
    editor->SetSel(2, 2);
    Char('c');
    CString text;
    editor->GetWindowText(text);
    EXPECT_EQ(text, "abc");
    FinishEdit(3, 2, nullptr, VK_RETURN);
    EXPECT_EQ(grid.GetItemText(3, 2), "abc");
}

TEST_F(GridGestureTest, DropsNeedDragAndDropAndAnEditableGrid)
{
    struct Case {
        BOOL dragAndDrop, editable;
        bool taken;
    } const cases[] = { { TRUE, TRUE, true }, { TRUE, FALSE, false }, { FALSE, TRUE, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dragAndDrop << c.editable);
        Shape(20, 6);
        grid.EnableDragAndDrop(c.dragAndDrop);
        grid.SetEditable(c.editable);
        const DROPEFFECT effect = DeliverTextDrop(grid.GetSafeHwnd(), "dropped", MK_CONTROL, Centre(4, 2));
        EXPECT_EQ(effect, c.taken ? DROPEFFECT_COPY : DROPEFFECT_NONE);
        EXPECT_EQ(grid.GetItemText(4, 2), c.taken ? "dropped" : "4,2");
    }
}

TEST_F(GridGestureTest, TitleTipStandsOverTheCellOnTheScreen)
{
    grid.SetFocus();
    grid.SetItemText(2, 2, "a text far too long for fifty pixels");
    grid.SendMessage(WM_MOUSEMOVE, 0, At(Centre(2, 2)));
    const CGridTitleTip* tip = grid.GetTitleTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsShown());
    CRect tipRect;
    const_cast<CGridTitleTip*>(tip)->GetWindowRect(tipRect);
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    grid.ClientToScreen(cell);
    EXPECT_NEAR(tipRect.left, cell.left, 2);
    EXPECT_NEAR(tipRect.top, cell.top, 2);
    EXPECT_GT(tipRect.right, cell.right) << "wider than the cell";

    // The tip holds the mouse: leaving the cell onto another long text moves
    // the tip there, onto a text that fits hides it.
    struct Case {
        int row;
        const char* text;
        bool shown;
    } const cases[] = { { 5, "another text far too long for fifty pixels", true }, { 7, "fits", false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        grid.SetItemText(c.row, 2, c.text);
        CPoint p = Centre(c.row, 2);
        grid.ClientToScreen(&p);
        CWnd& tipWnd = *const_cast<CGridTitleTip*>(tip);
        tipWnd.ScreenToClient(&p);
        tipWnd.SendMessage(WM_MOUSEMOVE, 0, At(p));
        EXPECT_FALSE(tip->IsShown());
        ASSERT_TRUE(PumpUntil([&] { return tip->IsShown() == c.shown; }));
        PumpFor(std::chrono::milliseconds(20));
        EXPECT_EQ(tip->IsShown(), c.shown);
        if (!c.shown)
            break;
        EXPECT_EQ(tip->GetTipText(), CString(" ") + c.text + " ");
        tipWnd.GetWindowRect(tipRect);
        ASSERT_TRUE(grid.GetCellRect(c.row, 2, cell));
        grid.ClientToScreen(cell);
        EXPECT_NEAR(tipRect.top, cell.top, 2);
    }
}

TEST_F(GridGestureTest, KeysScrollOnlyAlongTheirOwnAxis)
{
    Shape(30, 12);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    const CGridCellCoord topLeft = grid.GetTopleftNonFixedCell();
    ASSERT_EQ(topLeft, CGridCellCoord(1, 3));
    // Down from the last row shown, partly or whole.
    const int lastRow = grid.GetVisibleNonFixedCellRange().GetMaxRow();
    grid.SetFocusCell(lastRow, 5);
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(lastRow + 1, 5));
    EXPECT_TRUE(grid.IsCellVisible(lastRow + 1, 5));
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 3);
}

TEST_F(GridGestureTest, AutoScrollExtendsADragSelectionInEveryDirection)
{
    struct Case {
        const char* name;
        UINT hScroll, vScroll; // where the view starts
        CGridCellCoord start;
        CPoint outside; // client point, relative to the client rectangle's corner or edge
        CGridCellCoord reached;
    } const cases[] = {
        { "right", SB_LEFT, SB_TOP, { 3, 3 }, { 60, 0 }, { 3, 13 } },
        { "left", SB_RIGHT, SB_TOP, { 3, 12 }, { -60, 0 }, { 3, 1 } },
        { "up", SB_LEFT, SB_BOTTOM, { 25, 3 }, { 0, -60 }, { 1, 3 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(30, 14);
        grid.SetFocusCell(-1, -1);
        grid.SetSelectedRange(-1, -1, -1, -1);
        grid.SendMessage(WM_HSCROLL, c.hScroll, 0);
        grid.SendMessage(WM_VSCROLL, c.vScroll, 0);
        CRect cell, client;
        ASSERT_TRUE(grid.GetCellRect(c.start, cell));
        grid.GetClientRect(client);
        const CPoint down = cell.CenterPoint();
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(down));
        ASSERT_EQ(grid.GetAutoScrollTimer(), CGridCtrl::kAutoScrollTimerId);
        EXPECT_EQ(grid.GetFocusCell(), c.start);
        CPoint out = down;
        if (c.outside.x > 0)
            out.x = client.right + c.outside.x;
        if (c.outside.x < 0)
            out.x = c.outside.x;
        if (c.outside.y < 0)
            out.y = c.outside.y;
        grid.ClientToScreen(&out);
        SetCursorPos(out.x, out.y);
        EXPECT_TRUE(PumpUntil([&] { return grid.IsCellSelected(c.reached); }));
        grid.SendMessage(WM_LBUTTONUP, 0, At(down));
        EXPECT_EQ(grid.GetAutoScrollTimer(), 0u);
        EXPECT_TRUE(grid.IsCellVisible(c.reached));
        EXPECT_TRUE(SelectionConsistent(grid));
    }
}

TEST_F(GridGestureTest, LosingTheCaptureStopsTheAutoScroll)
{
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(3, 2)));
    ASSERT_EQ(grid.GetAutoScrollTimer(), CGridCtrl::kAutoScrollTimerId);
    owner.SetCapture();
    EXPECT_EQ(grid.GetAutoScrollTimer(), 0u);
    ReleaseCapture();
}

} // namespace
