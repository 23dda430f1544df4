#include "controls/offscreen_dc.h"
#include "controls_test_util.h"

namespace {

// A memory DC over a 100 x 60 colour bitmap filled white.
class Target {
public:
    Target()
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(100, 60, 1, 32, nullptr);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 100, 60, RGB(255, 255, 255));
    }
    ~Target() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

TEST(OffscreenDC, DrawingReachesTheTargetOnlyAtTheEnd)
{
    Target target;
    target.dc.SetBkColor(RGB(0, 0, 200));
    {
        const CRect area(10, 10, 50, 30);
        COffscreenDC off(&target.dc, &area);
        off.FillSolidRect(20, 15, 10, 10, RGB(255, 0, 0));
        EXPECT_EQ(target.dc.GetPixel(25, 20), RGB(255, 255, 255));
        EXPECT_EQ(off.GetPixel(25, 20), RGB(255, 0, 0));
    }
    EXPECT_EQ(target.dc.GetPixel(25, 20), RGB(255, 0, 0));
    // The rest of the covered rectangle takes the target's background colour;
    // outside it nothing changes.
    EXPECT_EQ(target.dc.GetPixel(12, 12), RGB(0, 0, 200));
    EXPECT_EQ(target.dc.GetPixel(49, 29), RGB(0, 0, 200));
    EXPECT_EQ(target.dc.GetPixel(50, 30), RGB(255, 255, 255));
    EXPECT_EQ(target.dc.GetPixel(5, 5), RGB(255, 255, 255));
}

TEST(OffscreenDC, WithoutRectangleCoversTheClipBox)
{
    Target target;
    target.dc.IntersectClipRect(30, 20, 70, 40);
    {
        COffscreenDC off(&target.dc, nullptr);
        off.FillSolidRect(0, 0, 100, 60, RGB(0, 128, 0));
    }
    target.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(target.dc.GetPixel(35, 25), RGB(0, 128, 0));
    EXPECT_EQ(target.dc.GetPixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(target.dc.GetPixel(75, 45), RGB(255, 255, 255));
}

TEST(OffscreenDC, KeepsTheTargetsLogicalCoordinates)
{
    Target target;
    target.dc.SetWindowOrg(-20, -10); // logical (0, 0) is device (20, 10)
    {
        const CRect area(0, 0, 30, 20);
        COffscreenDC off(&target.dc, &area);
        off.SetPixel(5, 5, RGB(1, 2, 3));
    }
    target.dc.SetWindowOrg(0, 0);
    EXPECT_EQ(target.dc.GetPixel(25, 15), RGB(1, 2, 3));
}

TEST(OffscreenDC, GridFormCoversTheClipBox)
{
    Target target;
    target.dc.SetBkColor(RGB(9, 9, 9));
    target.dc.IntersectClipRect(40, 10, 60, 50);
    {
        COffscreenDC off(&target.dc);
        off.SetPixel(45, 20, RGB(200, 0, 0));
    }
    target.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(target.dc.GetPixel(45, 20), RGB(200, 0, 0));
    EXPECT_EQ(target.dc.GetPixel(41, 11), RGB(9, 9, 9));
    EXPECT_EQ(target.dc.GetPixel(30, 20), RGB(255, 255, 255));
}

TEST(OffscreenDC, PrintingTargetIsDrawnDirectlyAndKept)
{
    Target target;
    target.dc.m_bPrinting = TRUE;
    const HDC handle = target.dc.GetSafeHdc();
    {
        const CRect area(0, 0, 100, 60);
        COffscreenDC off(&target.dc, &area);
        EXPECT_TRUE(off.IsPrinting());
        EXPECT_EQ(off.GetSafeHdc(), handle);
        off.SetPixel(3, 3, RGB(0, 0, 255));
        EXPECT_EQ(target.dc.GetPixel(3, 3), RGB(0, 0, 255));
    }
    // The target's DC survives the off-screen object.
    EXPECT_EQ(target.dc.GetSafeHdc(), handle);
    EXPECT_EQ(target.dc.GetPixel(3, 3), RGB(0, 0, 255));
    target.dc.m_bPrinting = FALSE;
}

} // namespace
