// The list box: order of strings, the selection as strings come and go, and
// what the parent hears when a user (not the code) picks a string.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/base/resource_script.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/dialogs/dialog.h"
#include "tests/support/ui_pump.h"

namespace {

struct Notice {
    UINT id;
    UINT code;
    HWND from;
};

class CListParent : public CWnd {
public:
    std::vector<Notice> m_notices;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_notices.push_back({ LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam) });
        return TRUE;
    }
};

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(
            0, nullptr, "lists", WS_POPUP | WS_VISIBLE, CRect(30, 30, 330, 330), nullptr, 0));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    // A shown list box with the strings added in order.
    void Make(CListBox& box, DWORD style, std::initializer_list<const char*> strings)
    {
        ASSERT_TRUE(
            box.Create(style | WS_VISIBLE | WS_BORDER | WS_VSCROLL, CRect(10, 10, 210, 250), &m_parent, 21));
        for (const char* text : strings)
            box.AddString(text);
    }

    static std::vector<CString> Strings(const CListBox& box)
    {
        std::vector<CString> strings;
        CString text;
        for (int i = 0; i < box.GetCount(); ++i) {
            const int length = box.GetText(i, text);
            EXPECT_EQ(length, text.GetLength());
            strings.push_back(text);
        }
        return strings;
    }

    // A box of "a" to "d" that tells its parent, each string's data 100 plus its letter.
    void MakeLettered(CListBox& box, DWORD style)
    {
        Make(box, style | LBS_NOTIFY, { "a", "b", "c", "d" });
        for (int i = 0; i < 4; ++i)
            box.SetItemData(i, static_cast<DWORD_PTR>(100 + 'a' + i));
    }

    // A click on the string with keys held; a double click is a click followed
    // by a second press.
    static void ClickItem(CListBox& box, int index, bool twice = false, UINT keys = 0)
    {
        RECT rect {};
        ASSERT_NE(box.GetItemRect(index, &rect), LB_ERR) << index;
        const CPoint center((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONDOWN, center, MK_LBUTTON | keys);
        AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONUP, center, keys);
        if (twice) {
            AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONDBLCLK, center, MK_LBUTTON);
            AfxSimulateMouse(box.GetSafeHwnd(), WM_LBUTTONUP, center, 0);
        }
    }

    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Notice& notice : m_parent.m_notices)
            codes.push_back(notice.code);
        return codes;
    }

    static std::vector<int> Picked(const CListBox& box)
    {
        std::vector<int> picked(static_cast<std::size_t>(box.GetCount()), -1);
        picked.resize(static_cast<std::size_t>(box.GetSelItems(box.GetCount(), picked.data())));
        return picked;
    }

    CListParent m_parent;
};

TEST_F(ListBoxTest, SortedBoxesOrderStringsAndPlainBoxesKeepTheirOrder)
{
    struct Case {
        DWORD style;
        std::vector<CString> expected;
    };
    const Case cases[] = {
        { LBS_SORT, { "alpha", "Beta", "beta", "scale1", "scale2", "김철수", "박영희" } },
        { 0, { "scale2", "박영희", "Beta", "alpha", "김철수", "scale1", "beta" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CListBox box;
        Make(box, c.style, { "scale2", "박영희", "Beta", "alpha", "김철수", "scale1", "beta" });
        EXPECT_EQ(Strings(box), c.expected);
        box.DestroyWindow();
    }
}

TEST_F(ListBoxTest, AddStringReturnsTheSortedPlace)
{
    CListBox box;
    Make(box, LBS_SORT, { "b", "d" });
    EXPECT_EQ(box.AddString("c"), 1);
    EXPECT_EQ(box.AddString("a"), 0);
    EXPECT_EQ(box.AddString("e"), 4);
    EXPECT_EQ(box.AddString("C"), 3); // after the equal string already there
    EXPECT_EQ(Strings(box), (std::vector<CString> { "a", "b", "c", "C", "d", "e" }));
}

TEST_F(ListBoxTest, InsertStringNeverSortsAndKeepsTheSelectionOnItsString)
{
    CListBox box;
    Make(box, LBS_SORT, { "m", "n" });
    EXPECT_EQ(box.SetCurSel(1), 1);
    EXPECT_EQ(box.InsertString(0, "z"), 0);
    EXPECT_EQ(box.InsertString(-1, "a"), 3);
    EXPECT_EQ(box.InsertString(5, "x"), LB_ERR);
    EXPECT_EQ(box.InsertString(-2, "x"), LB_ERR);
    EXPECT_EQ(Strings(box), (std::vector<CString> { "z", "m", "n", "a" }));
    EXPECT_EQ(box.GetCurSel(), 2); // still "n"
    EXPECT_EQ(box.AddString("b"), 0); // before the first greater string
    EXPECT_EQ(box.GetCurSel(), 3);
    EXPECT_EQ(box.InsertString(4, "tail"), 4);
    EXPECT_EQ(box.GetCurSel(), 3);
}

TEST_F(ListBoxTest, DeleteStringMovesOrClearsTheSelection)
{
    struct Case {
        int selected;
        UINT removed;
        int left; // what DeleteString returns
        int selectedAfter;
    };
    const Case cases[] = {
        { 2, 0, 3, 1 }, // a string above: the selection follows its string
        { 2, 2, 3, LB_ERR }, // the selected string: none selected
        { 2, 3, 3, 2 }, // a string below: unchanged
        { 2, 4, LB_ERR, 2 }, // beyond the end: nothing removed
        { LB_ERR, 1, 3, LB_ERR },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << " " << c.removed);
        CListBox box;
        Make(box, 0, { "a", "b", "c", "d" });
        box.SetCurSel(c.selected);
        EXPECT_EQ(box.DeleteString(c.removed), c.left);
        EXPECT_EQ(box.GetCurSel(), c.selectedAfter);
        EXPECT_EQ(box.GetCount(), c.left == LB_ERR ? 4 : c.left);
        box.DestroyWindow();
    }
}

// A string scrolled to the top shows there, or on the last page when fewer
// strings follow it than the list shows; the place holds as strings come.
TEST_F(ListBoxTest, SetTopIndexScrollsAsFarAsTheListGoes)
{
    CListBox box;
    Make(box, 0, {});
    for (int i = 0; i < 60; ++i)
        box.AddString(CString::Formatted("line %d", i));
    RECT rect {};
    ASSERT_EQ(box.SetTopIndex(20), 0);
    box.AddString("line 60");
    ASSERT_EQ(box.GetItemRect(20, &rect), 0);
    EXPECT_LT(rect.top, rect.bottom - rect.top) << "string 20 is the first one shown";
    ASSERT_EQ(box.SetTopIndex(60), 0);
    ASSERT_EQ(box.GetItemRect(60, &rect), 0);
    EXPECT_GT(rect.top, 120) << "the last page is shown";
    EXPECT_LE(rect.bottom, 240);
    EXPECT_EQ(box.SetTopIndex(61), LB_ERR);
}

TEST_F(ListBoxTest, TextAndSelectionCallsRefuseBadIndexes)
{
    CListBox box;
    Make(box, 0, { "김밥 천국", "" });
    CString text = "unchanged";
    EXPECT_EQ(box.GetText(2, text), LB_ERR);
    EXPECT_EQ(box.GetText(-1, text), LB_ERR);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(box.GetText(0, text), 13); // UTF-8 bytes
    EXPECT_EQ(text, "김밥 천국");
    EXPECT_EQ(box.GetTextLen(0), 13);
    EXPECT_EQ(box.GetTextLen(1), 0);
    EXPECT_EQ(box.GetTextLen(2), LB_ERR);
    EXPECT_EQ(box.GetTextLen(-1), LB_ERR);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
    EXPECT_EQ(box.SetCurSel(1), 1);
    EXPECT_EQ(box.SetCurSel(2), LB_ERR);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
    box.SetCurSel(0);
    box.ResetContent();
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
    RECT rect {};
    EXPECT_EQ(box.GetItemRect(0, &rect), LB_ERR);
}

TEST_F(ListBoxTest, UserChoicesNotifyTheParentOnlyWithNotifyStyle)
{
    for (const DWORD style : { DWORD { LBS_NOTIFY }, DWORD { 0 } }) {
        SCOPED_TRACE(style);
        m_parent.m_notices.clear();
        CListBox box;
        Make(box, style, { "one", "둘", "three" });
        box.SetCurSel(0); // from code: nobody is told
        EXPECT_TRUE(m_parent.m_notices.empty());
        ClickItem(box, 1);
        EXPECT_EQ(box.GetCurSel(), 1);
        ClickItem(box, 2, true);
        EXPECT_EQ(box.GetCurSel(), 2);
        if (style & LBS_NOTIFY) {
            ASSERT_FALSE(m_parent.m_notices.empty());
            EXPECT_EQ(m_parent.m_notices[0].id, 21u);
            EXPECT_EQ(m_parent.m_notices[0].from, box.GetSafeHwnd());
            const std::vector<UINT> codes = Codes();
            EXPECT_EQ(codes.front(), LBN_SELCHANGE);
            EXPECT_EQ(codes.back(), LBN_DBLCLK);
            EXPECT_EQ(std::count(codes.begin(), codes.end(), LBN_SELCHANGE), 2);
        } else {
            EXPECT_TRUE(m_parent.m_notices.empty());
        }
        box.DestroyWindow();
    }
}

TEST_F(ListBoxTest, ArrowKeysMoveTheSelectionAndNotify)
{
    CListBox box;
    Make(box, LBS_SORT | LBS_NOTIFY, { "c", "a", "b" });
    box.SetFocus();
    box.SetCurSel(0);
    AfxSimulateKey(box.GetSafeHwnd(), VK_DOWN);
    EXPECT_EQ(box.GetCurSel(), 1);
    AfxSimulateKey(box.GetSafeHwnd(), VK_END);
    EXPECT_EQ(box.GetCurSel(), 2);
    AfxSimulateKey(box.GetSafeHwnd(), VK_UP);
    EXPECT_EQ(box.GetCurSel(), 1);
    EXPECT_EQ(Codes(), (std::vector<UINT> { LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE }));
}

TEST_F(ListBoxTest, TemplateListBoxesComeWithTheirObjectAndStrings)
{
    std::vector<ResourceScriptError> errors;
    ASSERT_TRUE(AfxAddResourceScript(R"(
DIALOG 9301 0 0 120 100
  CAPTION "Lists"
  FONT 9 "굴림"
  CONTROL 1083 LISTBOX "" 4 4 100 80 LBS_SORT | LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP
END
)",
        "wnd_listbox_test", &errors));
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(9301, &m_parent));
    auto* box = dynamic_cast<CListBox*>(dialog.GetDlgItem(1083));
    ASSERT_NE(box, nullptr);
    box->AddString("나중");
    box->AddString("first");
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(Strings(*box), (std::vector<CString> { "first", "나중" }));
    RECT first {};
    RECT second {};
    ASSERT_NE(box->GetItemRect(0, &first), LB_ERR); // the on-screen list holds both
    ASSERT_NE(box->GetItemRect(1, &second), LB_ERR);
    EXPECT_GT(second.top, first.top);
    dialog.DestroyWindow();
}

// Several selections and item data, as the label tool's Ethernet dialog uses them.

TEST_F(ListBoxTest, ClicksPickOneAndCtrlAddsInExtendedBoxes)
{
    CListBox box;
    MakeLettered(box, LBS_EXTENDEDSEL);
    ClickItem(box, 2);
    EXPECT_EQ(Picked(box), (std::vector<int> { 2 }));
    ClickItem(box, 0, false, MK_CONTROL);
    EXPECT_EQ(Picked(box), (std::vector<int> { 0, 2 }));
    EXPECT_EQ(box.GetSelCount(), 2);
    const std::vector<UINT> codes = Codes();
    EXPECT_NE(std::count(codes.begin(), codes.end(), LBN_SELCHANGE), 0);
    ClickItem(box, 3);
    EXPECT_EQ(Picked(box), (std::vector<int> { 3 }));
    EXPECT_EQ(box.GetSel(2), 0);
    // Multiple-selection boxes toggle each string a click meets.
    CListBox toggles;
    MakeLettered(toggles, LBS_MULTIPLESEL);
    ClickItem(toggles, 1);
    ClickItem(toggles, 3);
    ClickItem(toggles, 1);
    EXPECT_EQ(Picked(toggles), (std::vector<int> { 3 }));
}

TEST_F(ListBoxTest, SelectionsAndDataFromCodeFollowTheStrings)
{
    CListBox box;
    MakeLettered(box, LBS_EXTENDEDSEL);
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
    MakeLettered(single, 0);
    single.SetCurSel(2);
    EXPECT_EQ(single.GetSelCount(), LB_ERR);
    EXPECT_EQ(single.SetSel(1, TRUE), LB_ERR);
    EXPECT_EQ(single.GetSel(2), 1);
    EXPECT_EQ(single.GetItemData(2), static_cast<DWORD_PTR>(100 + 'c'));
}

} // namespace
