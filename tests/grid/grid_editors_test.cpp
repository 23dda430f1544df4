// The drop-down list and date-time in-place editors.

#include "grid/inplace_datetime.h"
#include "grid/inplace_list.h"
#include "grid_window_fixture.h"

namespace {

using E = GridEvent;

const std::vector<CString> kFruit = { "Apple", "Banana", "Cherry" };

class GridEditorsTest : public GridWindowTest {
protected:
    CRect CellRect(int row, int col)
    {
        CRect rect;
        EXPECT_TRUE(grid.GetCellRect(row, col, rect));
        return rect;
    }
    void WaitClosed(HWND hwnd)
    {
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
    }
};

TEST_F(GridEditorsTest, ListSelectsTheMatchingOptionAndReturnStoresIt)
{
    CRect rect = CellRect(2, 2);
    const int cellHeight = rect.Height();
    auto* list = new CGridInPlaceList(&grid, rect, CBS_DROPDOWN, IDC_GRID_INPLACE, 2, 2, CLR_DEFAULT,
        CLR_DEFAULT, kFruit, "ban", VK_LBUTTON);
    const HWND hwnd = list->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_TRUE(list->GetDroppedState());
    EXPECT_LE(list->GetDroppedWidth(), 200);
    CRect window;
    list->GetWindowRect(window);
    EXPECT_EQ(window.Height(), cellHeight * 5 + GetSystemMetrics(SM_CYHSCROLL));
    CString text;
    list->GetWindowText(text);
    EXPECT_EQ(text, "Banana");
    list->SendMessage(WM_KEYUP, VK_RETURN, 0);
    WaitClosed(hwnd);
    EXPECT_EQ(grid.GetItemText(2, 2), "Banana");
    EXPECT_EQ(owner.events, (std::vector<E> { { GRIDNOTIFY_ENDEDIT, 2, 2 }, { kCellEdited, 2, 2 } }));
}

TEST_F(GridEditorsTest, ListShowsUnmatchedTextAndEscapeRestoresIt)
{
    CRect rect = CellRect(3, 1);
    auto* list = new CGridInPlaceList(
        &grid, rect, CBS_DROPDOWN, IDC_GRID_INPLACE, 3, 1, CLR_DEFAULT, CLR_DEFAULT, kFruit, "Kiwi", 'x');
    const HWND hwnd = list->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(list->GetCurSel(), CB_ERR);
    CString text;
    list->GetWindowText(text);
    EXPECT_EQ(text, "x");
    list->SendMessage(WM_KEYUP, VK_ESCAPE, 0);
    WaitClosed(hwnd);
    EXPECT_EQ(grid.GetItemText(3, 1), "Kiwi");
    EXPECT_EQ(owner.events, (std::vector<E> { { GRIDNOTIFY_ENDEDIT, 3, 1 }, { kCellEdited, 3, 1 } }));
}

TEST_F(GridEditorsTest, DropDownListEndsOnFocusLossAndCtrlArrowMovesOn)
{
    CRect rect = CellRect(2, 3);
    grid.SetFocusCell(2, 3);
    auto* list = new CGridInPlaceList(
        &grid, rect, CBS_DROPDOWNLIST, IDC_GRID_INPLACE, 2, 3, CLR_DEFAULT, CLR_DEFAULT, kFruit, "C", 'z');
    const HWND hwnd = list->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(list->GetCurSel(), 2);
    list->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    SetKeyStateOverride(VK_CONTROL, TRUE);
    list->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    SetKeyStateOverride(VK_CONTROL, FALSE);
    WaitClosed(hwnd);
    EXPECT_EQ(grid.GetItemText(2, 3), "Cherry");
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(3, 3));
}

TEST_F(GridEditorsTest, DateTimeWritesThePickedTimeEvenOnEscape)
{
    CTime cellTime(2024, 1, 31, 12, 0, 0);
    CRect rect = CellRect(4, 2);
    auto* picker = new CGridInPlaceDateTime(
        &grid, rect, 0, IDC_GRID_INPLACE, 4, 2, CLR_DEFAULT, CLR_DEFAULT, &cellTime, VK_LBUTTON);
    const HWND hwnd = picker->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    CTime shown;
    ASSERT_EQ(picker->GetTime(shown), GDT_VALID);
    EXPECT_EQ(shown, cellTime);
    picker->SetTime(CTime(2025, 3, 9, 12, 0, 0));
    picker->SendMessage(WM_KEYUP, VK_ESCAPE, 0);
    WaitClosed(hwnd);
    EXPECT_EQ(cellTime, CTime(2025, 3, 9, 12, 0, 0));
    EXPECT_EQ(grid.GetItemText(4, 2), "2025-03-09");
}

} // namespace
