// The progress bar: its position kept within its range as range and
// position change.

#include <gtest/gtest.h>

#include "platform/wnd/controls/progress.h"

TEST(ProgressCtrlTest, ThePositionStaysWithinTheRange)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "bars", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 60), nullptr, 0));
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, CRect(5, 5, 195, 20), &parent, 1081));
    int lower = -1, upper = -1;
    bar.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 100);
    bar.SetRange32(0, 12);
    EXPECT_EQ(bar.SetPos(7), 0);
    EXPECT_EQ(bar.SetPos(20), 7);
    EXPECT_EQ(bar.GetPos(), 12);
    EXPECT_EQ(bar.SetPos(-3), 12);
    EXPECT_EQ(bar.GetPos(), 0);
    bar.SetPos(9);
    bar.SetRange32(0, 4);
    EXPECT_EQ(bar.GetPos(), 4);
    bar.SetRange32(0, 0);
    EXPECT_EQ(bar.GetPos(), 0);
    parent.DestroyWindow();
}
