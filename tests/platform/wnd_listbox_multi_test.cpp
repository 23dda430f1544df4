// List boxes with several selections and item data, as the Ethernet dialog
// of the label tool uses them: clicks with and without Ctrl, selections and
// data from code, and the values that follow strings as they come and go.

#include <gtest/gtest.h>

#include <vector>

#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/core/input_seam.h"
#include "tests/support/ui_pump.h"

namespace {

class CNoticeParent : public CWnd {
public:
    int m_changes = 0;
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        if (HIWORD(wParam) == LBN_SELCHANGE)
            ++m_changes;
        return TRUE;
    }
};

class ListBoxMultiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(
            0, nullptr, "lists", WS_POPUP | WS_VISIBLE, CRect(30, 30, 330, 330), nullptr, 0));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    void Make(CListBox& box, DWORD style)
    {
        ASSERT_TRUE(
            box.Create(style | LBS_NOTIFY | WS_VISIBLE | WS_BORDER, CRect(10, 10, 210, 250), &m_parent, 21));
        for (const char* text : { "a", "b", "c", "d" })
            box.SetItemData(box.AddString(text), static_cast<DWORD_PTR>(100 + *text));
    }
    static void ClickItem(CListBox& box, int index, UINT keys = 0)
    {
        RECT rect {};
        ASSERT_NE(box.GetItemRect(index, &rect), LB_ERR);
        const CPoint center((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONDOWN, center, MK_LBUTTON | keys);
        AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONUP, center, keys);
    }
    static std::vector<int> Picked(const CListBox& box)
    {
        std::vector<int> picked(static_cast<std::size_t>(box.GetCount()), -1);
        picked.resize(static_cast<std::size_t>(box.GetSelItems(box.GetCount(), picked.data())));
        return picked;
    }

    CNoticeParent m_parent;
};

} // namespace

TEST_F(ListBoxMultiTest, ClicksPickOneAndCtrlAddsInExtendedBoxes)
{
    CListBox box;
    Make(box, LBS_EXTENDEDSEL);
    ClickItem(box, 2);
    EXPECT_EQ(Picked(box), (std::vector<int> { 2 }));
    ClickItem(box, 0, MK_CONTROL);
    EXPECT_EQ(Picked(box), (std::vector<int> { 0, 2 }));
    EXPECT_EQ(box.GetSelCount(), 2);
    EXPECT_GT(m_parent.m_changes, 0);
    ClickItem(box, 3);
    EXPECT_EQ(Picked(box), (std::vector<int> { 3 }));
    EXPECT_EQ(box.GetSel(2), 0);
    // Multiple-selection boxes toggle each string a click meets.
    CListBox toggles;
    Make(toggles, LBS_MULTIPLESEL);
    ClickItem(toggles, 1);
    ClickItem(toggles, 3);
    ClickItem(toggles, 1);
    EXPECT_EQ(Picked(toggles), (std::vector<int> { 3 }));
}

TEST_F(ListBoxMultiTest, SelectionsAndDataFromCodeFollowTheStrings)
{
    CListBox box;
    Make(box, LBS_EXTENDEDSEL);
    EXPECT_EQ(box.SetSel(-1, TRUE), 0);
    EXPECT_EQ(box.GetSelCount(), 4);
    EXPECT_EQ(box.SetSel(1, FALSE), 0);
    EXPECT_EQ(box.SetSel(9, TRUE), LB_ERR);
    EXPECT_EQ(box.InsertString(0, "z"), 0);
    EXPECT_EQ(box.DeleteString(2), 4); // "b"
    EXPECT_EQ(box.GetItemData(0), 0u);
    EXPECT_EQ(box.GetItemData(1), static_cast<DWORD_PTR>(100 + 'a'));
    EXPECT_EQ(box.GetItemData(3), static_cast<DWORD_PTR>(100 + 'd'));
    EXPECT_EQ(box.GetItemData(4), static_cast<DWORD_PTR>(LB_ERR));
    EXPECT_EQ(box.SetItemData(4, 1), LB_ERR);
    EXPECT_EQ(Picked(box), (std::vector<int> { 1, 2, 3 }));
    box.ResetContent();
    EXPECT_EQ(box.GetSelCount(), 0);
    // A box of one selection has no selection list.
    CListBox single;
    Make(single, 0);
    single.SetCurSel(2);
    EXPECT_EQ(single.GetSelCount(), LB_ERR);
    EXPECT_EQ(single.SetSel(1, TRUE), LB_ERR);
    EXPECT_EQ(single.GetSel(2), 1);
    EXPECT_EQ(single.GetItemData(2), static_cast<DWORD_PTR>(100 + 'c'));
}
