// Mouse gestures a user makes on the grid: double clicks, divider work,
// heading clicks, drag selection with auto-scroll, clicks on selected cells,
// and what the owner hears of them; cut and paste from the keyboard and into
// an open editor; typing Korean into the list editor.

#include "grid/inplace_list.h"
#include "grid/title_tip.h"
#include "grid_window_fixture.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/reflect.h"
#include "platform/wnd/core/system_params.h"

namespace {

using E = GridEvent;

class GridMouseTest : public GridWindowTest {
protected:
    // What Windows sends for a double click: down, up, double click, up.
    void DoubleClick(CPoint p)
    {
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(p));
        grid.SendMessage(WM_LBUTTONUP, 0, At(p));
        grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(p));
        grid.SendMessage(WM_LBUTTONUP, 0, At(p));
    }
};

TEST_F(GridMouseTest, DoubleClickOnACellEditsItAndTellsTheOwner)
{
    DoubleClick(Centre(3, 1));
    EXPECT_TRUE(grid.IsItemEditing(3, 1));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_DBLCLK, GRIDNOTIFY_BEGINEDIT }),
        (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 3, 1 }, { GRIDNOTIFY_DBLCLK, 3, 1 } }));
    FinishEdit(3, 1, "typed", VK_RETURN);
    EXPECT_EQ(grid.GetItemText(3, 1), "typed");

    // A heading cell is not edited; the owner still hears the double click.
    owner.events.clear();
    DoubleClick(Centre(0, 3));
    EXPECT_FALSE(grid.IsItemEditing(0, 3));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_DBLCLK, GRIDNOTIFY_BEGINEDIT }),
        (std::vector<E> { { GRIDNOTIFY_DBLCLK, 0, 3 } }));
}

TEST_F(GridMouseTest, DoubleClickOnADividerFitsTheColumnOrRowToItsTexts)
{
    struct Case {
        CPoint point; // on the divider after the column or row of index
        bool column;
        int index;
    };
    const Case cases[] = {
        { CPoint(109, 10), true, 2 }, // right edge of column 2 (100..109)
        { CPoint(111, 10), true, 2 }, // left edge of column 3: still column 2's divider
        { CPoint(10, 44), false, 2 }, // bottom edge of row 2 (40..44)
        { CPoint(10, 46), false, 2 }, // top edge of row 3
        { CPoint(9, 10), true, 0 }, // right edge of the heading column (0..9)
        { CPoint(30, 4), false, 0 }, // bottom edge of the heading row (0..4)
    };
    grid.SetItemText(5, 2, "a text wider than ten pixels");
    grid.SetItemText(5, 0, "a heading wider than ten pixels");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        if (c.column)
            grid.SetColumnWidth(c.index, 10);
        else
            grid.SetRowHeight(c.index, 5);
        DoubleClick(c.point);
        const int fitted = c.column ? grid.GetColumnWidth(c.index) : grid.GetRowHeight(c.index);
        EXPECT_FALSE(grid.IsItemEditing(0, c.index));
        // What auto-sizing that column or row alone gives; the other stays.
        if (c.column) {
            grid.SetColumnWidth(c.index, 10);
            grid.AutoSizeColumn(c.index);
            EXPECT_GT(fitted, 100) << c.point.x;
            EXPECT_EQ(fitted, grid.GetColumnWidth(c.index)) << c.point.x;
            EXPECT_EQ(grid.GetRowHeight(c.index), kCellHeight);
        } else {
            grid.SetRowHeight(c.index, 5);
            grid.AutoSizeRow(c.index);
            EXPECT_GT(fitted, 5) << c.point.y;
            EXPECT_EQ(fitted, grid.GetRowHeight(c.index)) << c.point.y;
            EXPECT_EQ(grid.GetColumnWidth(c.index), kCellWidth);
        }
        grid.SetColumnWidth(c.index, kCellWidth);
        grid.SetRowHeight(c.index, kCellHeight);
    }
}

TEST_F(GridMouseTest, DraggingADividerShowsAnInvertedLineAndErasesIt)
{
    struct Case {
        bool column;
        CPoint divider; // where the drag starts
        int first, second; // the line's places along the drag
        int size; // column 1's width or row 2's height after the release
    } const cases[] = { { true, { 99, 10 }, 130, 140, 90 }, { false, { 10, 59 }, 70, 80, 40 } };
    const auto inverted
        = [](COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column ? "column" : "row");
        Shape(20, 6);
        grid.UpdateWindow();
        // The pixel at place along the drag, 150 across it.
        const auto pixel = [&](int place) {
            return CClientDC(&grid).GetPixel(c.column ? place : 150, c.column ? 150 : place);
        };
        const auto at = [&](int place) { return c.column ? CPoint(place, 10) : CPoint(10, place); };
        const COLORREF first = pixel(c.first), next = pixel(c.first + 1), past = pixel(c.first + 2);
        const COLORREF second = pixel(c.second);
        Mouse(WM_MOUSEMOVE, c.divider);
        EXPECT_EQ(grid.GetMouseMode(), c.column ? GRIDMOUSE_OVER_COL_DIVIDE : GRIDMOUSE_OVER_ROW_DIVIDE);
        Mouse(WM_LBUTTONDOWN, c.divider, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, at(c.first), MK_LBUTTON);
        EXPECT_EQ(pixel(c.first), inverted(first));
        // Two pixels wide.
        EXPECT_EQ(pixel(c.first + 1), inverted(next));
        EXPECT_EQ(pixel(c.first + 2), past);
        Mouse(WM_MOUSEMOVE, at(c.second), MK_LBUTTON);
        EXPECT_EQ(pixel(c.first), first);
        EXPECT_EQ(pixel(c.second), inverted(second));
        Mouse(WM_LBUTTONUP, at(c.second));
        EXPECT_EQ(c.column ? grid.GetColumnWidth(1) : grid.GetRowHeight(2), c.size);
        RECT clip;
        EXPECT_FALSE(GetClipCursor(&clip));
    }
}

TEST_F(GridMouseTest, ArrowPastTheLastVisibleRowScrollsOneLine)
{
    grid.SetFocusCell(14, 2);
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(15, 2));
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 20);
    EXPECT_TRUE(grid.IsCellVisible(15, 2));
    grid.SetFocusCell(2, 2);
    Key(VK_UP);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
}

TEST_F(GridMouseTest, HeadingClicksSelectAColumnARowOrEverything)
{
    struct Case {
        int row, col;
        CGridCellRange selected;
    };
    const Case cases[] = {
        { 0, 2, CGridCellRange(1, 2, 19, 2) },
        { 4, 0, CGridCellRange(4, 1, 4, 5) },
        { 0, 0, CGridCellRange(1, 1, 19, 5) },
    };
    for (const Case& c : cases) {
        Click(c.row, c.col);
        EXPECT_EQ(grid.GetSelectedCellRange(), c.selected) << c.row << "," << c.col;
        const int cells = (c.selected.GetMaxRow() - c.selected.GetMinRow() + 1)
            * (c.selected.GetMaxCol() - c.selected.GetMinCol() + 1);
        EXPECT_EQ(grid.GetSelectedCount(), cells);
    }
    // Dragging along the heading row takes the columns passed over.
    Drag(Centre(0, 2), Centre(0, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 2, 19, 4));
    // Without heading selection a heading click selects nothing.
    grid.SetFixedRowSelection(FALSE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetSelectedRange(-1, -1, -1, -1);
    Click(0, 3);
    Click(5, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(GridMouseTest, AutoScrollExtendsADragSelectionBelowTheGrid)
{
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(3, 2)));
    EXPECT_EQ(grid.GetAutoScrollTimer(), CGridCtrl::kAutoScrollTimerId);
    CRect client;
    grid.GetClientRect(client);
    CPoint below(Centre(3, 2).x, client.bottom + 40);
    grid.ClientToScreen(&below);
    SetCursorPos(below.x, below.y);
    ASSERT_TRUE(PumpUntil([&] { return grid.IsCellSelected(19, 2); }));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(3, 2, 19, 2));
    EXPECT_GT(grid.GetScrollPos32(SB_VERT), 0);
    const CPoint end = Centre(5, 2);
    grid.SendMessage(WM_LBUTTONUP, 0, At(end));
    EXPECT_EQ(grid.GetAutoScrollTimer(), 0u);
    EXPECT_TRUE(SelectionConsistent(grid));
}

TEST_F(GridMouseTest, ClickOnASelectedCellWithDragAndDropClearsTheSelection)
{
    grid.EnableDragAndDrop(TRUE);
    Click(4, 2);
    grid.SetSelectedRange(3, 1, 5, 3);
    owner.events.clear();
    Click(5, 3);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(-1, -1));
    EXPECT_EQ(grid.Picks().firstRow, 5);
    EXPECT_EQ(grid.Picks().lastRow, -1);
    EXPECT_EQ(owner.events,
        (std::vector<E> { { GRIDNOTIFY_CLICK, 5, 3 }, { GRIDNOTIFY_SELCHANGING, 5, 3 },
            { GRIDNOTIFY_SELCHANGED, -1, -1 } }));
}

TEST_F(GridMouseTest, AClickPostsTheButtonCommandToTheOwner)
{
    Click(4, 2);
    EXPECT_TRUE(owner.commands.empty());
    ASSERT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));
    EXPECT_EQ(owner.commands[0].first, MAKEWPARAM(1005, BN_CLICKED));
    EXPECT_EQ(owner.commands[0].second, reinterpret_cast<LPARAM>(grid.GetSafeHwnd()));
    EXPECT_EQ(grid.Picks().lastRow, 4);
    // Beyond the last column: no command, the up row stays.
    owner.commands.clear();
    ClickAt(CPoint(380, 50));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(grid.Picks().lastRow, 4);
}

TEST_F(GridMouseTest, DoubleClickOnAShownTitleTipReachesTheCellBelow)
{
    // The two presses must count as one double click however slow the machine.
    SetDoubleClickTime(60000);
    struct Restore {
        ~Restore() { SetDoubleClickTime(0); }
    } restore;
    grid.SetFocus();
    grid.SetItemText(2, 2, "a text far too long for fifty pixels");
    grid.SendMessage(WM_MOUSEMOVE, 0, At(Centre(2, 2)));
    CGridTitleTip* tip = const_cast<CGridTitleTip*>(grid.GetTitleTip());
    ASSERT_TRUE(tip && tip->IsShown());
    CPoint p = Centre(2, 2);
    grid.ClientToScreen(&p);
    tip->ScreenToClient(&p);
    ASSERT_TRUE(AfxSimulateMouse(tip->GetSafeHwnd(), WM_LBUTTONDOWN, p, MK_LBUTTON));
    EXPECT_FALSE(tip->IsShown());
    ASSERT_TRUE(
        PumpUntil([&] { return !owner.Only({ GRIDNOTIFY_CLICK }).empty() || grid.GetMouseMode() != 0; }));
    grid.SendMessage(WM_LBUTTONUP, 0, At(Centre(2, 2)));
    // The second press on the tip (it shows again under the resting mouse).
    grid.SendMessage(WM_MOUSEMOVE, 0, At(Centre(2, 2)));
    ASSERT_TRUE(tip->IsShown());
    // (A double click as the system reports it: no clock involved.)
    ASSERT_TRUE(AfxSimulateMouse(tip->GetSafeHwnd(), WM_LBUTTONDBLCLK, p, MK_LBUTTON));
    ASSERT_TRUE(PumpUntil([&] { return !owner.Only({ GRIDNOTIFY_DBLCLK }).empty(); }));
    EXPECT_EQ(owner.Only({ GRIDNOTIFY_DBLCLK }), (std::vector<E> { { GRIDNOTIFY_DBLCLK, 2, 2 } }));
    EXPECT_TRUE(grid.IsItemEditing(2, 2));
}

// ---- Keyboard clipboard and the open editor ----

TEST_F(GridMouseTest, CtrlXCutsTheSelectionToTheClipboard)
{
    grid.SetFocusCell(2, 2);
    grid.SetSelectedRange(2, 2, 3, 3);
    owner.events.clear();
    KeyWith(VK_CONTROL, 'X');
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(data.GetText(), "2,2\t2,3\n3,2\t3,3");
    for (int r : { 2, 3 })
        for (int c : { 2, 3 })
            EXPECT_EQ(grid.GetItemText(r, c), "");
    EXPECT_EQ(owner.Only({ kCellEdited }).size(), 4u);
    // A read-only grid cuts nothing.
    grid.SetItemText(2, 2, "kept");
    grid.SetEditable(FALSE);
    KeyWith(VK_CONTROL, 'X');
    EXPECT_EQ(grid.GetItemText(2, 2), "kept");
}

TEST_F(GridMouseTest, PasteWhileEditingGoesIntoTheEditor)
{
    auto* source = new COleDataSource;
    source->CacheText("42");
    source->SetClipboard();
    grid.SetFocusCell(3, 2);
    Key(VK_F2);
    CWnd* editor = EditorOf(3, 2);
    ASSERT_NE(editor, nullptr);
    grid.SendMessage(WM_COMMAND, CGridCtrl::kIdEditPaste, 0);
    CString text;
    editor->GetWindowText(text);
    EXPECT_EQ(text, "3,242");
    EXPECT_EQ(grid.GetItemText(3, 2), "3,2");
    EXPECT_EQ(grid.GetItemText(3, 3), "3,3");
    FinishEdit(3, 2, nullptr, VK_RETURN);
    EXPECT_EQ(grid.GetItemText(3, 2), "3,242");
}

// ---- List editor ----

TEST_F(GridMouseTest, KoreanTypedIntoTheListEditorArrivesWhole)
{
    const std::vector<CString> options = { "국내산", "수입" };
    struct Case {
        UINT first;
        std::vector<std::pair<UINT, UINT>> typed; // message, code point
        const char* text;
    };
    const Case cases[] = {
        // A Korean first character replaces the text; more follows.
        { 0xD55C, { { WM_IME_CHAR, 0xAD6D } }, "한국" },
        { 'a', { { WM_CHAR, 0xAC00 }, { WM_CHAR, VK_BACK }, { WM_CHAR, 'b' } }, "ab" },
        // Backspace first works from the end of the text.
        { VK_BACK, { { WM_IME_CHAR, 0xC0BD } }, "국내삽" },
    };
    for (const Case& c : cases) {
        CRect rect;
        ASSERT_TRUE(grid.GetCellRect(2, 2, rect));
        auto* list = new CGridInPlaceList(&grid, rect, CBS_DROPDOWN, IDC_GRID_INPLACE, 2, 2, CLR_DEFAULT,
            CLR_DEFAULT, options, "국내산", c.first);
        const HWND hwnd = list->GetSafeHwnd();
        ASSERT_NE(hwnd, nullptr);
        for (const auto& [message, ch] : c.typed)
            list->SendMessage(message, ch, 0);
        CString text;
        list->GetWindowText(text);
        EXPECT_EQ(text, c.text) << c.first;
        list->SendMessage(WM_KEYUP, VK_RETURN, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
        EXPECT_EQ(grid.GetItemText(2, 2), c.text);
    }
}

TEST_F(GridMouseTest, ListDropDownSetsTheDroppedWidthAgain)
{
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(2, 2, rect));
    auto* list = new CGridInPlaceList(&grid, rect, CBS_DROPDOWNLIST, IDC_GRID_INPLACE, 2, 2, CLR_DEFAULT,
        CLR_DEFAULT, { "a much longer option", "b" }, "b", VK_LBUTTON);
    const int width = list->GetDroppedWidth();
    EXPECT_GT(width, rect.Width()) << "as wide as the longest option";
    list->SetDroppedWidth(3);
    SendNotifyToParent(list->GetSafeHwnd(), CBN_DROPDOWN);
    EXPECT_EQ(list->GetDroppedWidth(), width);
    // A drop-down list takes no typing.
    list->SendMessage(WM_CHAR, 'z', 0);
    CString text;
    list->GetWindowText(text);
    EXPECT_EQ(text, "b");
    list->DestroyWindow();
}

} // namespace
