// A "GridCtrl" custom control of a dialog template bound to a grid member by
// dialog data exchange, as every host of the grid does.

#include <gtest/gtest.h>

#include "grid/grid_ctrl.h"
#include "platform/wnd/dialogs/dialog.h"
#include "tests/support/ui_pump.h"

namespace {

class CGridHostDlg : public CDialog {
public:
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, 1112, m_grid);
    }
    CGridCtrl m_grid;
};

DialogTemplate HostTemplate()
{
    DialogTemplate t;
    t.id = 9001;
    t.caption = "host";
    t.cx = 200;
    t.cy = 150;
    t.style = WS_POPUP | WS_CAPTION;
    DialogItemTemplate item;
    item.id = 1112;
    item.className = "GridCtrl";
    item.x = 5;
    item.y = 5;
    item.cx = 180;
    item.cy = 120;
    item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
    t.items.push_back(item);
    return t;
}

TEST(GridTemplate, CustomControlIsBoundAndSetUp)
{
    CGridHostDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(HostTemplate(), nullptr));
    ASSERT_NE(dlg.m_grid.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.m_grid.GetDlgCtrlID(), 1112);
    EXPECT_TRUE(dlg.m_grid.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(CWnd::FromHandle(dlg.m_grid.GetSafeHwnd()), &dlg.m_grid);

    dlg.m_grid.SetRowCount(30);
    dlg.m_grid.SetColumnCount(3);
    dlg.m_grid.SetFixedRowCount(1);
    for (int r = 0; r < 30; ++r)
        dlg.m_grid.SetRowHeight(r, 20);
    EXPECT_TRUE(dlg.m_grid.GetScrollBarState() & 0x02);
    dlg.m_grid.SetItemText(1, 1, "x");
    EXPECT_EQ(dlg.m_grid.GetItemText(1, 1), "x");
    dlg.DestroyWindow();
}

} // namespace
