#include <memory>

#include "controls/offscreen_dc.h"
#include "controls_test_util.h"

namespace {

TEST(OffscreenDC, DrawingReachesTheTargetOnlyAtTheEnd)
{
    Canvas target(100, 60);
    target.Dc().SetBkColor(RGB(0, 0, 200));
    {
        const CRect area(10, 10, 50, 30);
        COffscreenDC off(&target.Dc(), &area);
        off.FillSolidRect(20, 15, 10, 10, RGB(255, 0, 0));
        EXPECT_EQ(target.At(25, 20), RGB(255, 255, 255));
        EXPECT_EQ(off.GetPixel(25, 20), RGB(255, 0, 0));
    }
    EXPECT_EQ(target.At(25, 20), RGB(255, 0, 0));
    // The rest of the covered rectangle takes the target's background colour;
    // outside it nothing changes.
    EXPECT_EQ(target.At(12, 12), RGB(0, 0, 200));
    EXPECT_EQ(target.At(49, 29), RGB(0, 0, 200));
    EXPECT_EQ(target.At(50, 30), RGB(255, 255, 255));
    EXPECT_EQ(target.At(5, 5), RGB(255, 255, 255));
}

TEST(OffscreenDC, WithoutRectangleCoversTheClipBox)
{
    Canvas target(100, 60);
    target.Dc().IntersectClipRect(30, 20, 70, 40);
    {
        COffscreenDC off(&target.Dc(), nullptr);
        off.FillSolidRect(0, 0, 100, 60, RGB(0, 128, 0));
    }
    target.Dc().SelectClipRgn(nullptr);
    EXPECT_EQ(target.At(35, 25), RGB(0, 128, 0));
    EXPECT_EQ(target.At(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(target.At(75, 45), RGB(255, 255, 255));
}

TEST(OffscreenDC, KeepsTheTargetsLogicalCoordinates)
{
    Canvas target(100, 60);
    target.Dc().SetWindowOrg(-20, -10); // logical (0, 0) is device (20, 10)
    {
        const CRect area(0, 0, 30, 20);
        COffscreenDC off(&target.Dc(), &area);
        off.SetPixel(5, 5, RGB(1, 2, 3));
    }
    target.Dc().SetWindowOrg(0, 0);
    EXPECT_EQ(target.At(25, 15), RGB(1, 2, 3));
}

TEST(OffscreenDC, GridFormCoversTheClipBox)
{
    Canvas target(100, 60);
    target.Dc().SetBkColor(RGB(9, 9, 9));
    target.Dc().IntersectClipRect(40, 10, 60, 50);
    {
        COffscreenDC off(&target.Dc());
        off.SetPixel(45, 20, RGB(200, 0, 0));
    }
    target.Dc().SelectClipRgn(nullptr);
    EXPECT_EQ(target.At(45, 20), RGB(200, 0, 0));
    EXPECT_EQ(target.At(41, 11), RGB(9, 9, 9));
    EXPECT_EQ(target.At(30, 20), RGB(255, 255, 255));
}

// The grid's and the menu's forms alike.
TEST(OffscreenDC, PrintingTargetIsDrawnDirectlyAndKept)
{
    for (const bool menuForm : { false, true }) {
        SCOPED_TRACE(menuForm ? "menu form" : "grid form");
        Canvas target(100, 60);
        target.Dc().m_bPrinting = TRUE;
        const HDC handle = target.Dc().GetSafeHdc();
        {
            const CRect area(0, 0, 100, 60);
            auto off = menuForm ? std::make_unique<COffscreenDC>(&target.Dc(), area, OffscreenFill::None)
                                : std::make_unique<COffscreenDC>(&target.Dc(), &area);
            EXPECT_TRUE(off->IsPrinting());
            EXPECT_EQ(off->GetSafeHdc(), handle);
            off->SetPixel(3, 3, RGB(0, 0, 255));
            EXPECT_EQ(target.At(3, 3), RGB(0, 0, 255));
        }
        // The target's DC survives the off-screen object.
        EXPECT_EQ(target.Dc().GetSafeHdc(), handle);
        EXPECT_EQ(target.At(3, 3), RGB(0, 0, 255));
        target.Dc().m_bPrinting = FALSE;
    }
}

} // namespace
