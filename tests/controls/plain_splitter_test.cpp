#include "controls/plain_splitter.h"
#include "controls_test_util.h"

namespace {

TEST(PlainSplitter, PartsAreFlat)
{
    CPlainSplitterWnd splitter;
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(60, 40, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 60, 40, RGB(1, 2, 3));

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
    dc.SelectObject(old);
}

TEST(PlainSplitter, PaintsBarsAndSunkenBorders)
{
    CBackdropWnd parent;
    ASSERT_TRUE(parent.Show(300, 200));
    CPlainSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
    splitter.SetColumnInfo(0, 100, 10);
    splitter.RecalcLayout();
    int current = 0;
    int minimum = 0;
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 100);
    Snapshot look(splitter);
    ASSERT_TRUE(look.Ok());
    // The outer line of each pane border is the face colour, the inner one a
    // sunken edge; the bar between the panes is the face colour.
    EXPECT_EQ(look.At(0, 50), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(look.At(1, 50), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(look.At(50, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(look.At(2 + 100 + 3, 50), GetSysColor(COLOR_BTNFACE));
    splitter.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
