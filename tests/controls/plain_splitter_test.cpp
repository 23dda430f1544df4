#include "controls/plain_splitter.h"
#include "controls_test_util.h"

namespace {

TEST(PlainSplitter, PartsAreFlat)
{
    CPlainSplitterWnd splitter;
    Canvas canvas(60, 40, RGB(1, 2, 3));
    CDC& dc = canvas.Dc();
    splitter.OnDrawSplitter(&dc, CSplitterWnd::ESplitType::Border, CRect(0, 0, 20, 20));
    EXPECT_EQ(dc.GetPixel(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(19, 19), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(1, 5), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(18, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(10, 10), RGB(1, 2, 3)); // not filled

    splitter.OnDrawSplitter(&dc, CSplitterWnd::ESplitType::Bar, CRect(30, 0, 37, 40));
    EXPECT_EQ(dc.GetPixel(30, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(36, 39), GetSysColor(COLOR_BTNFACE));

    splitter.OnDrawSplitter(&dc, CSplitterWnd::ESplitType::Box, CRect(40, 0, 60, 20));
    EXPECT_EQ(dc.GetPixel(40, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(59, 19), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(dc.GetPixel(41, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(58, 18), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(50, 10), GetSysColor(COLOR_BTNFACE));
}

} // namespace
