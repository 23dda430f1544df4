#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "tests/support/pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(GdiLines, LineToExcludesTheEndPointAndMovesThere)
{
    Canvas canvas(10, 10);
    CPen pen(PS_SOLID, 1, kRed);
    canvas.Dc().SelectObject(&pen);
    canvas.Dc().MoveTo(1, 1);
    canvas.Dc().LineTo(6, 1);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(1, 1, 6, 2));
    EXPECT_EQ(canvas.At(6, 1), kWhite);
    EXPECT_EQ(canvas.Dc().GetCurrentPosition(), CPoint(6, 1));
    canvas.Dc().LineTo(6, 5);
    EXPECT_EQ(canvas.At(6, 1), kRed) << "the next segment starts at the old end";
    EXPECT_EQ(canvas.At(6, 4), kRed);
    EXPECT_EQ(canvas.At(6, 5), kWhite);
    canvas.Dc().SelectStockObject(BLACK_PEN);
}

TEST(GdiLines, DottedPensAlternateAndFillGapsOnlyWhenOpaque)
{
    Canvas canvas(12, 2);
    CPen dots(PS_DOT, 1, kRed);
    canvas.Dc().SelectObject(&dots);
    canvas.Dc().SetBkColor(kBlue);
    canvas.Dc().SetBkMode(TRANSPARENT);
    canvas.Dc().MoveTo(0, 0);
    canvas.Dc().LineTo(12, 0);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(2, 0), kRed);
    EXPECT_EQ(canvas.At(3, 0), kWhite);
    EXPECT_EQ(canvas.At(6, 0), kRed);
    canvas.Dc().SetBkMode(OPAQUE);
    canvas.Dc().MoveTo(0, 1);
    canvas.Dc().LineTo(12, 1);
    EXPECT_EQ(canvas.At(3, 1), kBlue);
    canvas.Dc().SelectStockObject(BLACK_PEN);
}

TEST(GdiLines, XorPenDrawnTwiceRestoresThePixels)
{
    Canvas canvas(10, 10, RGB(10, 20, 30));
    CPen pen(PS_GEOMETRIC | PS_SOLID, 3, RGB(0, 255, 255));
    CBrush* oldBrush = static_cast<CBrush*>(canvas.Dc().SelectStockObject(NULL_BRUSH));
    canvas.Dc().SelectObject(&pen);
    canvas.Dc().SetROP2(R2_XORPEN);
    canvas.Dc().Rectangle(2, 2, 8, 8);
    EXPECT_EQ(canvas.At(2, 2), RGB(10, 255 ^ 20, 255 ^ 30));
    canvas.Dc().Rectangle(2, 2, 8, 8);
    EXPECT_EQ(canvas.Count(RGB(10, 20, 30)), 100);
    canvas.Dc().SelectObject(oldBrush);
    canvas.Dc().SelectStockObject(BLACK_PEN);
}

TEST(GdiShapes, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    Canvas canvas(10, 10);
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    canvas.Dc().SelectObject(&pen);
    canvas.Dc().SelectObject(&brush);
    canvas.Dc().Rectangle(1, 1, 6, 5);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(1, 1, 6, 5));
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(5, 4), kRed);
    EXPECT_EQ(canvas.At(2, 2), kBlue);
    EXPECT_EQ(canvas.At(4, 3), kBlue);
    canvas.Dc().SelectStockObject(NULL_PEN);
    canvas.Dc().FillSolidRect(0, 0, 10, 10, kWhite);
    canvas.Dc().Rectangle(1, 1, 6, 5);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(1, 1, 5, 4)) << "no pen: one pixel smaller";
    canvas.Dc().SelectStockObject(BLACK_PEN);
    canvas.Dc().SelectStockObject(WHITE_BRUSH);
}

TEST(GdiShapes, InsideFramePenStaysWithinTheBounds)
{
    Canvas canvas(20, 20);
    CPen pen(PS_INSIDEFRAME, 3, kRed);
    canvas.Dc().SelectObject(&pen);
    canvas.Dc().SelectStockObject(NULL_BRUSH);
    canvas.Dc().Rectangle(2, 2, 12, 12);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(2, 2, 12, 12));
    EXPECT_EQ(canvas.At(4, 6), kRed);
    EXPECT_EQ(canvas.At(5, 6), kWhite);
    canvas.Dc().FillSolidRect(0, 0, 20, 20, kWhite);
    canvas.Dc().RoundRect(2, 2, 12, 12, 4, 4);
    const CRect ink = canvas.Ink(kWhite);
    EXPECT_GE(ink.left, 2);
    EXPECT_GE(ink.top, 2);
    EXPECT_LE(ink.right, 12);
    EXPECT_LE(ink.bottom, 12);
    canvas.Dc().SelectStockObject(BLACK_PEN);
    canvas.Dc().SelectStockObject(WHITE_BRUSH);
}

TEST(GdiShapes, RoundRectOutlinesItsBoundsWithRoundedCorners)
{
    Canvas canvas(20, 20);
    CBrush brush(kBlue);
    canvas.Dc().SelectObject(&brush);
    canvas.Dc().RoundRect(2, 2, 18, 14, 10, 10);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(2, 2, 18, 14));
    EXPECT_EQ(canvas.At(2, 2), kWhite) << "corner rounded off";
    EXPECT_EQ(canvas.At(10, 2), RGB(0, 0, 0)) << "top edge";
    EXPECT_EQ(canvas.At(10, 13), RGB(0, 0, 0)) << "bottom edge";
    EXPECT_EQ(canvas.At(10, 8), kBlue);
    canvas.Dc().SelectStockObject(WHITE_BRUSH);
}

TEST(GdiFills, FillSolidRectLeavesItsColourAsTheBackground)
{
    Canvas canvas(4, 4);
    canvas.Dc().FillSolidRect(1, 1, 2, 2, kRed);
    EXPECT_EQ(canvas.Ink(kWhite), CRect(1, 1, 3, 3));
    EXPECT_EQ(canvas.Dc().GetBkColor(), kRed);
}

TEST(GdiFills, FrameRectDrawsAOnePixelBorder)
{
    Canvas canvas(8, 8);
    CBrush brush(kRed);
    const RECT r { 1, 1, 7, 6 };
    canvas.Dc().FrameRect(&r, &brush);
    EXPECT_EQ(canvas.Count(kRed), 2 * 6 + 2 * 3);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(6, 5), kRed);
    EXPECT_EQ(canvas.At(2, 2), kWhite);
}

TEST(GdiFills, HatchBrushUsesBackgroundColourBetweenLines)
{
    Canvas canvas(8, 8);
    CBrush hatch(HS_CROSS, kRed);
    canvas.Dc().SetBkColor(kBlue);
    const RECT r { 0, 0, 8, 8 };
    canvas.Dc().FillRect(&r, &hatch);
    EXPECT_EQ(canvas.Count(kRed), 15);
    EXPECT_EQ(canvas.Count(kBlue), 49);
}

TEST(GdiEdges, Draw3dRectGivesTopLeftCornersToTheFirstColour)
{
    Canvas canvas(6, 6);
    canvas.Dc().Draw3dRect(1, 1, 4, 4, kRed, kBlue);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(3, 1), kRed);
    EXPECT_EQ(canvas.At(4, 1), kBlue) << "top-right corner";
    EXPECT_EQ(canvas.At(1, 4), kBlue) << "bottom-left corner";
    EXPECT_EQ(canvas.At(1, 3), kRed);
    EXPECT_EQ(canvas.At(4, 4), kBlue);
    EXPECT_EQ(canvas.At(2, 2), kWhite);
    EXPECT_EQ(canvas.Count(kRed), 5);
    EXPECT_EQ(canvas.Count(kBlue), 7);
}

TEST(GdiEdges, DrawEdgeUsesClassicColoursAndAdjusts)
{
    Canvas canvas(10, 10);
    RECT r { 0, 0, 10, 10 };
    ASSERT_TRUE(canvas.Dc().DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(canvas.At(8, 8), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.At(5, 5), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(CRect(r), CRect(2, 2, 8, 8));
    RECT sunken { 0, 0, 10, 10 };
    canvas.Dc().DrawEdge(&sunken, BDR_SUNKENINNER, BF_RECT);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(CRect(sunken), CRect(0, 0, 10, 10)) << "no BF_ADJUST";
}

TEST(GdiEdges, EtchedTopEdgeIsTwoLinesAcross)
{
    Canvas canvas(10, 6);
    RECT r { 0, 2, 10, 6 };
    canvas.Dc().DrawEdge(&r, EDGE_ETCHED, BF_TOP);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(canvas.At(x, 2), GetSysColor(COLOR_3DSHADOW)) << x;
        EXPECT_EQ(canvas.At(x, 3), GetSysColor(COLOR_3DHILIGHT)) << x;
    }
    EXPECT_EQ(canvas.Ink(kWhite), CRect(0, 2, 10, 3)) << "white highlight row is invisible here";
}

TEST(GdiEdges, FocusRectInvertsAlternatePixelsAndUndoesItself)
{
    Canvas canvas(8, 8, RGB(0, 0, 0));
    const RECT r { 1, 1, 7, 7 };
    canvas.Dc().DrawFocusRect(&r);
    EXPECT_EQ(canvas.At(1, 1), kWhite);
    EXPECT_EQ(canvas.At(2, 1), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 1), kWhite);
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0)) << "inside untouched";
    canvas.Dc().DrawFocusRect(&r);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0)), 64);
}

TEST(GdiFrameControl, CheckBoxShowsAMarkOnlyWhenChecked)
{
    Canvas canvas(16, 16);
    RECT r { 0, 0, 16, 16 };
    canvas.Dc().DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_WINDOWTEXT)), 0);
    canvas.Dc().DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_WINDOWTEXT)), 21);
    canvas.Dc().DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE);
    EXPECT_EQ(canvas.At(8, 8), GetSysColor(COLOR_3DFACE));
    EXPECT_FALSE(canvas.Dc().DrawFrameControl(&r, DFC_CAPTION, 0));
}

TEST(GdiFrameControl, ScrollDownArrowPointsDown)
{
    Canvas canvas(16, 16);
    RECT r { 0, 0, 16, 16 };
    canvas.Dc().DrawFrameControl(&r, DFC_SCROLL, DFCS_SCROLLDOWN);
    const COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(canvas.Count(arrow), 7 + 5 + 3 + 1);
    int widest = -1, narrowest = -1;
    for (int y = 0; y < 16; ++y) {
        int n = 0;
        for (int x = 0; x < 16; ++x)
            n += canvas.At(x, y) == arrow;
        if (n == 7)
            widest = y;
        if (n == 1)
            narrowest = y;
    }
    EXPECT_LT(widest, narrowest);
    EXPECT_EQ(canvas.At(15, 15), GetSysColor(COLOR_3DDKSHADOW));
}

} // namespace
