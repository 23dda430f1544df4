// The report-view list control, the IP address control, and the windows of a
// disabled owner.

#include <gtest/gtest.h>

#include <vector>

#include "platform/wnd/controls/edit.h"
#include "platform/wnd/controls/ipaddress.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/core/input_seam.h"
#include "tests/support/ui_pump.h"

namespace {

// A shown popup that records the commands and notifications of its children.
class CListParent : public CWnd {
public:
    struct Notice {
        UINT id;
        UINT code;
        int item;
    };
    std::vector<Notice> m_notices;

    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_notices.push_back({ LOWORD(wParam), HIWORD(wParam), -2 });
        return TRUE;
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        const auto* notify = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        m_notices.push_back({ static_cast<UINT>(notify->hdr.idFrom), notify->hdr.code, notify->iItem });
        *result = 0;
        return TRUE;
    }
};

class WndListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_parent.CreateEx(0, nullptr, "lists", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CListParent m_parent;
};

} // namespace

TEST_F(WndListTest, ReportListHoldsColumnsAndItems)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 900));
    EXPECT_EQ(list.InsertColumn(0, "Name", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(5, "ID", LVCFMT_LEFT, 80), 1);
    EXPECT_EQ(list.GetColumnWidth(1), 80);
    EXPECT_EQ(list.GetColumnHeading(0), "Name");
    EXPECT_EQ(list.InsertItem(0, "B"), 0);
    EXPECT_EQ(list.InsertItem(0, "A"), 0);
    EXPECT_EQ(list.InsertItem(9, "C"), 2);
    EXPECT_TRUE(list.SetItemText(1, 1, "22"));
    EXPECT_FALSE(list.SetItemText(3, 1, "x"));
    EXPECT_EQ(list.GetItemText(1, 0), "B");
    EXPECT_EQ(list.GetItemText(1, 1), "22");
    EXPECT_EQ(list.GetItemText(0, 1), "");
    EXPECT_EQ(list.GetItemText(4, 0), "");
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.DeleteItem(2));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 1), "22");
    EXPECT_TRUE(list.DeleteColumn(0));
    EXPECT_EQ(list.GetColumnCount(), 1);
    EXPECT_EQ(list.GetColumnHeading(0), "ID");
    EXPECT_EQ(list.GetItemText(0, 0), "22");
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(WndListTest, ReportListClickNotifiesTheItemOrNone)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 900));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    for (const char* name : { "A", "B", "C" })
        list.InsertItem(list.GetItemCount(), name);
    ASSERT_TRUE(PumpUntil([&] { return list.IsWindowVisible(); }));
    // Below the last item, then on the second one (under the heading).
    ASSERT_TRUE(AfxSimulateMouse(list.GetSafeHwnd(), WM_LBUTTONUP, CPoint(20, 190)));
    list.ClickItem(1);
    ASSERT_EQ(m_parent.m_notices.size(), 2u);
    EXPECT_EQ(m_parent.m_notices[0].code, NM_CLICK);
    EXPECT_EQ(m_parent.m_notices[0].id, 900u);
    EXPECT_EQ(m_parent.m_notices[0].item, -1);
    EXPECT_EQ(m_parent.m_notices[1].item, 1);
    EXPECT_EQ(list.GetSelectionMark(), 1);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetSelectionMark(), 0);
    list.ClickItem(list.GetItemCount());
    EXPECT_EQ(list.GetSelectionMark(), -1);
}

TEST_F(WndListTest, IpAddressReadsFourFieldsOnly)
{
    CIPAddressCtrl address;
    ASSERT_TRUE(address.Create(WS_VISIBLE, CRect(0, 0, 120, 20), &m_parent, 1012));
    struct Case {
        const char* text;
        int fields;
    };
    for (const Case& c : { Case { "127.0.0.2", 4 }, Case { "255.255.255.255", 4 }, Case { "256.0.0.1", 0 },
             Case { "1.2.3", 0 }, Case { "1.2.3.4.", 0 }, Case { "1..3.4", 0 }, Case { "a.b.c.d", 0 },
             Case { "", 0 } }) {
        address.SetWindowText(c.text);
        BYTE f[4] = { 9, 9, 9, 9 };
        EXPECT_EQ(address.GetAddress(f[0], f[1], f[2], f[3]), c.fields) << c.text;
        if (c.fields) {
            EXPECT_EQ(CString::Formatted("%u.%u.%u.%u", f[0], f[1], f[2], f[3]), c.text);
        }
    }
    address.SetAddress(10, 0, 0, 7);
    CString text;
    address.GetWindowText(text);
    EXPECT_EQ(text, "10.0.0.7");
    EXPECT_FALSE(address.IsBlank());
    address.ClearAddress();
    EXPECT_TRUE(address.IsBlank());
}

TEST_F(WndListTest, WindowOfADisabledOwnerStillTakesTyping)
{
    // As a modal dialog over its disabled owner.
    CWnd owned;
    ASSERT_TRUE(
        owned.CreateEx(0, nullptr, "owned", WS_POPUP | WS_VISIBLE, CRect(20, 20, 220, 120), &m_parent, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 150, 30), &owned, 5));
    ASSERT_TRUE(PumpUntil([&] { return edit.IsWindowVisible(); }));
    m_parent.EnableWindow(FALSE);
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'A', "a"));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "a");
    // The owner's own children are disabled with it.
    CEdit inOwner;
    ASSERT_TRUE(inOwner.Create(WS_VISIBLE | WS_BORDER, CRect(10, 200, 150, 220), &m_parent, 6));
    ASSERT_TRUE(PumpUntil([&] { return inOwner.IsWindowVisible(); }));
    m_parent.EnableWindow(TRUE);
    m_parent.EnableWindow(FALSE);
    AfxSimulateKey(inOwner.GetSafeHwnd(), 'A', "a");
    inOwner.GetWindowText(text);
    EXPECT_EQ(text, "");
    m_parent.EnableWindow(TRUE);
    owned.DestroyWindow();
}
