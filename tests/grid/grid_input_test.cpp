// Keyboard navigation and selection, the mouse and the pick list, header
// sorting, clipboard and drop.

#include "grid_window_fixture.h"
#include "platform/wnd/core/input_seam.h"

namespace {

using E = GridEvent;

TEST_F(GridWindowTest, PlainMoveSelectsTheNewCellAndShiftExtends)
{
    grid.SetFocusCell(2, 1);
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(3, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(3, 1, 3, 1));
    EXPECT_TRUE(SelectionConsistent(grid));
    EXPECT_EQ(
        owner.events, (std::vector<E> { { GRIDNOTIFY_SELCHANGING, 3, 1 }, { GRIDNOTIFY_SELCHANGED, 3, 1 } }));

    grid.SetFocusCell(2, 1);
    Key(VK_UP);
    Key(VK_DOWN);
    SetKeyStateOverride(VK_SHIFT, TRUE);
    Key(VK_DOWN);
    EXPECT_TRUE(SelectionConsistent(grid));
    Key(VK_DOWN);
    SetKeyStateOverride(VK_SHIFT, FALSE);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(2, 1, 4, 1));
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_TRUE(SelectionConsistent(grid));
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(5, 1, 5, 1));
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST_F(GridWindowTest, ListModeArrowSelectsTheWholeRow)
{
    grid.SetListMode(TRUE);
    grid.SetFocusCell(2, 2);
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(3, 1, 3, 5));
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST_F(GridWindowTest, EdgesStayAndHiddenRowsAndColumnsAreSkipped)
{
    grid.SetFocusCell(19, 5);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(19, 5));
    EXPECT_TRUE(owner.events.empty());
    grid.SetRowHeight(4, 0);
    grid.SetColumnWidth(3, 0);
    grid.SetFocusCell(3, 2);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(5, 4));
    grid.SetFocusCell(1, 1);
    Key(VK_UP);
    Key(VK_LEFT);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(1, 1));
}

TEST_F(GridWindowTest, TabWrapsToTheNextRowAndShiftTabBack)
{
    grid.SetFocusCell(2, 5);
    Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(3, 1));
    KeyWith(VK_SHIFT, VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 5));
    grid.SetFocusCell(19, 5);
    Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(19, 5));
}

TEST_F(GridWindowTest, PageDownHomeEndMoveAndScroll)
{
    grid.SetFocusCell(1, 2);
    Key(VK_NEXT);
    EXPECT_GT(grid.GetFocusCell().row, 1);
    EXPECT_GT(grid.GetScrollPos32(SB_VERT), 0);
    KeyWith(VK_CONTROL, VK_HOME);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(1, 1));
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    KeyWith(VK_CONTROL, VK_END);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(19, 5));
    EXPECT_TRUE(grid.IsCellVisible(19, 5));
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST_F(GridWindowTest, RandomKeysKeepSelectionConsistent)
{
    const UINT keys[] = { VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT, VK_TAB, VK_NEXT, VK_PRIOR, VK_HOME, VK_END };
    unsigned seed = 7;
    grid.SetFocusCell(2, 2);
    for (int step = 0; step < 300; ++step) {
        seed = seed * 1103515245u + 12345u;
        SetKeyStateOverride(VK_SHIFT, (seed >> 20) & 1);
        SetKeyStateOverride(VK_CONTROL, ((seed >> 21) & 7) == 0);
        Key(keys[(seed >> 8) % std::size(keys)]);
        ASSERT_TRUE(SelectionConsistent(grid)) << "step " << step;
    }
}

// ---- Mouse and pick list ----

TEST_F(GridWindowTest, CtrlClicksInListModeBuildThePickList)
{
    grid.SetListMode(TRUE);
    Click(7, 2);
    Click(3, 2, MK_CONTROL);
    Click(12, 2, MK_CONTROL);
    Click(5, 2, MK_CONTROL);
    EXPECT_EQ(grid.Picks().listFlag, 1);
    EXPECT_EQ(grid.Picks().rangeFlag, 0);
    EXPECT_EQ(grid.Picks().pickedRows, (std::vector<int> { 12, 7, 5, 3 }));
    EXPECT_TRUE(SelectionConsistent(grid));
    // A Ctrl-click that deselects row 7 takes it out of the list, which
    // closes up; deleting "the picked rows" then spares row 7.
    Click(7, 3, MK_CONTROL);
    EXPECT_FALSE(grid.IsCellSelected(7, 3));
    EXPECT_EQ(grid.Picks().pickedRows, (std::vector<int> { 12, 5, 3 }));
    EXPECT_EQ(grid.Picks().listFlag, 1);
}

TEST_F(GridWindowTest, CtrlClickInCellModeNeverRepeatsARow)
{
    Click(4, 2);
    Click(4, 3, MK_CONTROL);
    EXPECT_EQ(grid.Picks().pickedRows, (std::vector<int> { 4 }));
}

TEST_F(GridWindowTest, ShiftClickAnchorsAlternate)
{
    Click(5, 1);
    Click(9, 1);
    Click(2, 1, MK_SHIFT);
    EXPECT_EQ(grid.Picks().rangeFlag, 1);
    EXPECT_EQ(grid.Picks().listFlag, 0);
    EXPECT_EQ(std::min(grid.Picks().rangeA, grid.Picks().rangeB), 2);
    EXPECT_EQ(std::max(grid.Picks().rangeA, grid.Picks().rangeB), 9);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(2, 1, 9, 1));
}

// ForgetPickAnchors keeps the picked rows and starts the anchors over;
// ClearPicks drops the rows too but not which anchor the next click sets.
TEST_F(GridWindowTest, PickResetsForgetAnchorsAndPicks)
{
    Click(7, 2);
    Click(3, 2, MK_CONTROL);
    grid.ForgetPickAnchors();
    GridPicks picks = grid.Picks();
    EXPECT_EQ(picks.listFlag + picks.rangeFlag + picks.rangeA + picks.rangeB, 0);
    EXPECT_EQ(picks.firstRow + picks.lastRow, 0);
    EXPECT_EQ(picks.pickedRows, (std::vector<int> { 7, 3 }));
    Click(5, 2, MK_CONTROL);
    EXPECT_EQ(grid.Picks().rangeA, 5);
    EXPECT_EQ(grid.Picks().rangeB, 0);
    grid.ClearPicks();
    picks = grid.Picks();
    EXPECT_EQ(picks.listFlag + picks.rangeA + picks.firstRow, 0);
    EXPECT_TRUE(picks.pickedRows.empty());
    Click(6, 2);
    EXPECT_EQ(grid.Picks().rangeA, 0);
    EXPECT_EQ(grid.Picks().rangeB, 6);
}

TEST_F(GridWindowTest, DownAndUpRowsOfADrag)
{
    Drag(Centre(4, 2), Centre(6, 2));
    EXPECT_EQ(grid.Picks().firstRow, 4);
    EXPECT_EQ(grid.Picks().clickRow, 4);
    EXPECT_EQ(grid.Picks().lastRow, 6);
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(4, 2, 6, 2));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_CLICK }), (std::vector<E> { { GRIDNOTIFY_CLICK, 4, 2 } }));
}

TEST_F(GridWindowTest, APressThatEndsARefusedEditIsSwallowed)
{
    owner.onCellEdited = [&](int row, int col) {
        grid.HoldFocus(true);
        grid.SetFocusCell(row, col);
    };
    grid.SetFocusCell(2, 2);
    Key(VK_F2);
    ASSERT_TRUE(grid.IsItemEditing(2, 2));
    Click(5, 3);
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    EXPECT_FALSE(grid.IsFocusHeld());
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 2));
}

TEST_F(GridWindowTest, KeepFocusEndsAtTheNextPressWhichStillSelectsItsCell)
{
    Click(3, 3);
    owner.events.clear();
    grid.HoldFocus(true);
    Click(6, 2);
    EXPECT_FALSE(grid.IsFocusHeld());
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(6, 2));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_CLICK }), (std::vector<E> { { GRIDNOTIFY_CLICK, 6, 2 } }));
}

TEST_F(GridWindowTest, ClickOnFocusCellTextStartsEditing)
{
    Click(10, 2); // a row past the column count
    Click(10, 2);
    EXPECT_TRUE(grid.IsItemEditing(10, 2));
    FinishEdit(10, 2, nullptr, VK_ESCAPE);
    // A double click on a cell's text edits it too.
    const CPoint text = Centre(12, 3);
    for (UINT message : { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP })
        ASSERT_TRUE(
            AfxSimulateMouse(grid.GetSafeHwnd(), message, text, message == WM_LBUTTONUP ? 0 : MK_LBUTTON));
    EXPECT_TRUE(grid.IsItemEditing(12, 3));
    FinishEdit(12, 3, nullptr, VK_ESCAPE);
}

TEST_F(GridWindowTest, HeaderClicksSortColumnOneAscendingThenDescending)
{
    grid.SetHeaderSort(TRUE);
    grid.SetCompareFunction(CGridCtrl::CompareItemNumber);
    const char* keys[] = { "", "30", "4", "100", "7" };
    for (int r = 1; r < 5; ++r)
        grid.SetItemText(r, 1, keys[r]);
    for (int r = 5; r < 19; ++r)
        grid.SetItemText(r, 1, "1000");
    grid.SetItemText(19, 1, "-->");
    Click(0, 2);
    EXPECT_EQ(grid.GetItemText(1, 1), "30");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    Click(0, 1);
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_TRUE(grid.GetSortAscending());
    EXPECT_EQ(grid.GetItemText(1, 1), "4");
    EXPECT_EQ(grid.GetItemText(2, 1), "7");
    EXPECT_EQ(grid.GetItemText(19, 1), "-->");
    Click(0, 1);
    EXPECT_FALSE(grid.GetSortAscending());
    EXPECT_EQ(grid.GetItemText(1, 1), "1000");
    EXPECT_EQ(grid.GetItemText(18, 1), "4");
    EXPECT_EQ(grid.GetItemText(19, 1), "-->");
}

TEST_F(GridWindowTest, RightClickMovesFocusWithoutChangingSelection)
{
    grid.SetSelectedRange(2, 2, 3, 3);
    Mouse(WM_RBUTTONUP, Centre(5, 4));
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(5, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(2, 2, 3, 3));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_RCLICK }), (std::vector<E> { { GRIDNOTIFY_RCLICK, 5, 4 } }));
}

// ---- Clipboard and drop ----

TEST_F(GridWindowTest, CopyAndPasteThroughTheClipboard)
{
    grid.SetFocusCell(1, 1);
    grid.SetSelectedRange(1, 1, 2, 2);
    KeyWith(VK_CONTROL, 'C');
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(data.GetText(), "1,1\t1,2\n2,1\t2,2");

    grid.SetSelectedRange(-1, -1, -1, -1);
    grid.SetFocusCell(5, 3);
    owner.events.clear();
    KeyWith(VK_CONTROL, 'V');
    EXPECT_EQ(grid.GetItemText(5, 3), "1,1");
    EXPECT_EQ(grid.GetItemText(6, 4), "2,2");
    EXPECT_EQ(owner.Only({ kCellEdited }),
        (std::vector<E> {
            { kCellEdited, 5, 3 }, { kCellEdited, 5, 4 }, { kCellEdited, 6, 3 }, { kCellEdited, 6, 4 } }));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(5, 3, 6, 4));
}

TEST_F(GridWindowTest, PastedPiecesLoseTheBlanksAroundThem)
{
    const struct {
        const char* text;
        const char* cells[4]; // 2,1  2,2  3,1  3,2
    } pastes[] = {
        { " a \tb\r\nc\f\t\vd", { "a", "b", "c", "d" } }, // a spreadsheet's lines end in CR LF
        { "x y\t \n\t z", { "x y", "", "", "z" } }, // blank pieces clear their cells
    };
    for (const auto& paste : pastes) {
        SCOPED_TRACE(paste.text);
        FillCoordinates(grid);
        auto* source = new COleDataSource;
        source->CacheText(paste.text);
        source->SetClipboard();
        grid.SetFocusCell(2, 1);
        ASSERT_TRUE(AfxSimulateKey(grid.GetSafeHwnd(), 'V', "", FALSE, TRUE));
        const CString shown[] = { grid.GetItemText(2, 1), grid.GetItemText(2, 2), grid.GetItemText(3, 1),
            grid.GetItemText(3, 2) };
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shown[i], paste.cells[i]) << i;
    }
}

TEST_F(GridWindowTest, CtrlASelectsEveryCellButTheHeadings)
{
    grid.SetFocusCell(3, 3);
    ASSERT_TRUE(AfxSimulateKey(grid.GetSafeHwnd(), 'A', "", FALSE, TRUE));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 19, 5));
    EXPECT_EQ(grid.GetSelectedCount(), 19 * 5);
}

TEST_F(GridWindowTest, PasteAtLastColumnReportsOnlyCellsInsideTheGrid)
{
    auto* source = new COleDataSource;
    source->CacheText("a\tb\tc");
    source->SetClipboard();
    grid.SetFocusCell(3, 5);
    KeyWith(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(grid.GetItemText(3, 5), "a");
    EXPECT_EQ(owner.Only({ kCellEdited }), (std::vector<E> { { kCellEdited, 3, 5 } }));
}

TEST_F(GridWindowTest, DeleteKeyClearsSelectionAndReportsEveryCell)
{
    grid.SetItemState(2, 3, grid.GetItemState(2, 3) | GRIDSTATE_READONLY);
    grid.SetSelectedRange(2, 2, 2, 3);
    grid.SetFocusCell(2, 2);
    owner.events.clear();
    Key(VK_DELETE);
    EXPECT_EQ(grid.GetItemText(2, 2), "");
    EXPECT_EQ(grid.GetItemText(2, 3), "2,3");
    EXPECT_EQ(owner.Only({ kCellEdited }), (std::vector<E> { { kCellEdited, 2, 2 }, { kCellEdited, 2, 3 } }));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_BEGINEDIT, GRIDNOTIFY_ENDEDIT }),
        (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 2, 2 }, { GRIDNOTIFY_ENDEDIT, 2, 2 } }));
}

TEST_F(GridWindowTest, DropOfTextCopiesWithCtrlAndMovesWithout)
{
    grid.EnableDragAndDrop(TRUE);
    grid.SetSelectedRange(4, 4, 4, 4);
    grid.SetFocusCell(4, 4);
    EXPECT_EQ(DeliverTextDrop(grid.GetSafeHwnd(), "p\tq", MK_CONTROL, Centre(2, 2)), DROPEFFECT_COPY);
    EXPECT_EQ(grid.GetItemText(2, 2), "p");
    EXPECT_EQ(grid.GetItemText(2, 3), "q");
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_EQ(grid.GetItemState(2, 2) & GRIDSTATE_DROPHILITED, 0u);
    EXPECT_EQ(DeliverTextDrop(grid.GetSafeHwnd(), "m", 0, Centre(3, 1)), DROPEFFECT_MOVE);
    EXPECT_EQ(grid.GetItemText(3, 1), "m");
    grid.EnableDragAndDrop(FALSE);
    EXPECT_EQ(DeliverTextDrop(grid.GetSafeHwnd(), "n", 0, Centre(3, 1)), DROPEFFECT_NONE);
    EXPECT_EQ(grid.GetItemText(3, 1), "m");
}

TEST_F(GridWindowTest, DragToAnotherGridMovesTheCells)
{
    CGridCtrl other(5, 3, 1, 1);
    ASSERT_TRUE(other.Create(CRect(420, 10, 580, 200), &owner, 1006, WS_CHILD | WS_VISIBLE));
    for (int c = 0; c < 3; ++c)
        other.SetColumnWidth(c, kCellWidth);
    for (int r = 0; r < 5; ++r)
        other.SetRowHeight(r, kCellHeight);
    other.EnableDragAndDrop(TRUE);
    grid.EnableDragAndDrop(TRUE);
    SetDragLoopHook([&](COleDataSource& source, DROPEFFECT) {
        return DeliverTextDrop(other.GetSafeHwnd(), source.GetText(), 0, Centre(1, 1));
    });
    grid.SetSelectedRange(2, 2, 2, 3);
    Drag(Centre(2, 2), Centre(2, 2) + CPoint(5, 0));
    EXPECT_EQ(other.GetItemText(1, 1), "2,2");
    EXPECT_EQ(other.GetItemText(1, 2), "2,3");
    EXPECT_EQ(grid.GetItemText(2, 2), "");
    EXPECT_EQ(grid.GetItemText(2, 3), "");
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_BEGINDRAG }), (std::vector<E> { { GRIDNOTIFY_BEGINDRAG, 2, 2 } }));
    other.DestroyWindow();
}

TEST_F(GridWindowTest, WheelHalfNotchScrollsOneLine)
{
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    ASSERT_TRUE(PumpUntil([&] { return grid.GetScrollPos32(SB_VERT) == 20; }));
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    ASSERT_TRUE(PumpUntil([&] { return grid.GetScrollPos32(SB_VERT) == 0; }));
}

TEST_F(GridWindowTest, TitleTipOnlyForTextThatDoesNotFit)
{
    grid.SetFocus();
    grid.SetItemText(2, 2, "a text far too long for fifty pixels");
    Mouse(WM_MOUSEMOVE, Centre(2, 2));
    const CGridTitleTip* tip = grid.GetTitleTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsShown());
    EXPECT_EQ(tip->GetTipText(), " a text far too long for fifty pixels ");
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_FALSE(tip->IsShown());

    grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    grid.SetItemText(3, 2, "x");
    Mouse(WM_MOUSEMOVE, Centre(3, 2));
    EXPECT_FALSE(tip->IsShown());
}

TEST_F(GridWindowTest, SetCellTypeOfTheEditedCellCancelsTheEditor)
{
    const HWND hwnd = OpenEditor(2, 2, "stale");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(grid.SetCellType(2, 2, RUNTIME_CELL_CLASS(CGridCell)));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
    EXPECT_EQ(grid.GetItemText(2, 2), "2,2");
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    EXPECT_TRUE(owner.Only({ kCellEdited }).empty());
}

} // namespace
