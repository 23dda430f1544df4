#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/system_colors.h"
#include "tests/support/pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 4 x 4 icon: red left half opaque, right half transparent.
HICON MakeIcon()
{
    CBitmap color, mask;
    color.CreateBitmap(4, 4, 1, 32, nullptr);
    mask.CreateBitmap(4, 4, 1, 1, nullptr);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&color);
        dc.FillSolidRect(0, 0, 2, 4, kRed);
        dc.SelectObject(&mask);
        dc.FillSolidRect(2, 0, 2, 4, kWhite);
        dc.SelectObject(old);
    }
    ICONINFO info;
    info.fIcon = TRUE;
    info.hbmColor = static_cast<HBITMAP>(color.m_hObject);
    info.hbmMask = static_cast<HBITMAP>(mask.m_hObject);
    return CreateIconIndirect(&info);
}

TEST(GdiIcon, InfoRoundTripKeepsSizeImageAndMask)
{
    HICON icon = MakeIcon();
    ASSERT_NE(icon, nullptr);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 2u) << "icon size is twice the hot spot";
    EXPECT_EQ(info.yHotspot, 2u);
    BITMAP bm;
    ASSERT_GT(GetObject(info.hbmMask, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    ASSERT_GT(GetObject(info.hbmColor, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 4);
    HICON copy = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    ASSERT_NE(copy, nullptr);
    Canvas canvas(6, 6, RGB(0, 90, 0));
    ASSERT_TRUE(canvas.Dc().DrawIcon(1, 1, copy));
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(2, 4), kRed);
    EXPECT_EQ(canvas.At(3, 1), RGB(0, 90, 0)) << "transparent half";
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 90, 0));
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DestroyIcon(copy));
    EXPECT_FALSE(canvas.Dc().DrawIcon(0, 0, copy));
    DestroyIcon(icon);
}

TEST(GdiIcon, DisabledStateEmbossesOpaquePixels)
{
    HICON icon = MakeIcon();
    Canvas canvas(8, 8, GetSysColor(COLOR_BTNFACE));
    canvas.Dc().DrawState(CPoint(1, 1), CSize(0, 0), icon, DSS_DISABLED, static_cast<HBRUSH>(nullptr));
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW), light = GetSysColor(COLOR_3DHILIGHT);
    EXPECT_EQ(canvas.At(1, 1), shadow);
    EXPECT_EQ(canvas.At(2, 4), shadow);
    EXPECT_EQ(canvas.At(3, 2), light) << "highlight copy one pixel right and down";
    EXPECT_EQ(canvas.At(2, 5), light);
    EXPECT_EQ(canvas.At(4, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Count(kRed), 0);
    DestroyIcon(icon);
}

TEST(GdiIcon, DisabledBitmapLeavesWhitePixelsOut)
{
    Canvas image(3, 1, kWhite);
    image.Dc().SetPixel(0, 0, kRed);
    Canvas canvas(6, 4, GetSysColor(COLOR_BTNFACE));
    canvas.Dc().DrawState(CPoint(1, 1), CSize(0, 0), &image.Bitmap(), DST_BITMAP | DSS_DISABLED);
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.At(2, 2), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(canvas.At(3, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(GdiImageList, MaskColourMakesPixelsTransparent)
{
    Canvas strip(8, 4, kMagenta);
    strip.Dc().FillSolidRect(0, 0, 2, 2, kRed);
    strip.Dc().FillSolidRect(4, 0, 4, 4, RGB(0, 0, 200));
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 1));
    EXPECT_EQ(list.Add(&strip.Bitmap(), kMagenta), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    IMAGEINFO info;
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(info.rcImage).Size(), CSize(4, 4));
    EXPECT_FALSE(list.GetImageInfo(2, &info));

    Canvas canvas(10, 5, RGB(0, 90, 0));
    ASSERT_TRUE(list.Draw(&canvas.Dc(), 0, CPoint(1, 1), ILD_NORMAL));
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(4, 4), RGB(0, 90, 0)) << "magenta is transparent";
    list.SetBkColor(kWhite);
    list.Draw(&canvas.Dc(), 0, CPoint(1, 1), ILD_NORMAL);
    EXPECT_EQ(canvas.At(4, 4), kWhite) << "with a background colour the mask shows it";
    list.Draw(&canvas.Dc(), 0, CPoint(1, 1), ILD_TRANSPARENT);
    EXPECT_FALSE(list.Draw(&canvas.Dc(), 5, CPoint(0, 0), ILD_NORMAL));

    HICON icon = list.ExtractIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(GdiGetIconSize(icon), CSize(4, 4));
    Canvas target(4, 4, RGB(0, 90, 0));
    target.Dc().DrawIcon(0, 0, icon);
    EXPECT_EQ(target.At(0, 0), kRed);
    EXPECT_EQ(target.At(3, 3), RGB(0, 90, 0));
    EXPECT_EQ(list.Add(icon), 2);
    DestroyIcon(icon);
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(GdiBitmap, CreateBitmapReadsMonochromeRowsAndReportsItsFormat)
{
    const BYTE rows[4] = { 0xA0, 0x00, 0x40, 0x00 }; // 16-bit padded rows
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(3, 2, 1, 1, rows));
    BITMAP info;
    ASSERT_EQ(bitmap.GetBitmap(&info), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    BYTE back[4] = {};
    EXPECT_EQ(bitmap.GetBitmapBits(sizeof back, back), 4u);
    EXPECT_EQ(back[0], 0xA0);
    EXPECT_EQ(back[2], 0x40);
    CBitmap huge;
    EXPECT_FALSE(huge.CreateBitmap(100000, 1, 1, 32, nullptr));
    EXPECT_FALSE(huge.LoadBitmap(65000)) << "missing resource";
}

TEST(GdiBitmap, DibRowsComeOutBottomUpUnlessAskedTopDown)
{
    Canvas canvas(2, 2, kWhite);
    canvas.Dc().SetPixel(0, 0, RGB(1, 2, 3));
    BITMAPINFO info;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -2;
    info.bmiHeader.biBitCount = 24;
    BYTE bits[16] = {};
    ASSERT_EQ(GetDIBits(canvas.Dc().m_hDC, static_cast<HBITMAP>(canvas.Bitmap().m_hObject), 0, 2, bits, &info,
                  DIB_RGB_COLORS),
        2);
    EXPECT_EQ(bits[0], 3); // blue first
    EXPECT_EQ(bits[1], 2);
    EXPECT_EQ(bits[2], 1);
    info.bmiHeader.biHeight = 2;
    GetDIBits(canvas.Dc().m_hDC, static_cast<HBITMAP>(canvas.Bitmap().m_hObject), 0, 2, bits, &info,
        DIB_RGB_COLORS);
    EXPECT_EQ(bits[8], 3) << "second DIB row is the top row";
}

TEST(GdiResources, ButtonIconsLoadAtTheirOwnSize)
{
    for (const UINT id : { 159u, 161u, 162u, 163u, 170u, 171u, 178u, 181u }) {
        HICON icon = LoadIcon(AfxGetResourceHandle(), id);
        ASSERT_NE(icon, nullptr) << id;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info)) << id;
        EXPECT_EQ(info.xHotspot * 2, 32u) << id;
        EXPECT_EQ(info.yHotspot * 2, 32u) << id;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        Canvas canvas(32, 32, kMagenta);
        canvas.Dc().DrawIcon(0, 0, icon);
        EXPECT_EQ(canvas.At(0, 0), kMagenta) << "corner transparent: " << id;
        EXPECT_GT(32 * 32 - canvas.Count(kMagenta), 100) << "something is drawn: " << id;
        EXPECT_TRUE(DestroyIcon(icon));
    }
    HICON scaled = static_cast<HICON>(LoadImage(AfxGetResourceHandle(), 163, IMAGE_ICON, 16, 16, 0));
    EXPECT_EQ(GdiGetIconSize(scaled), CSize(16, 16));
    DestroyIcon(scaled);
    EXPECT_EQ(LoadIcon(AfxGetResourceHandle(), 999), nullptr);
}

TEST(GdiResources, LampStripHasThreeColumnsOfEightMagentaFramedCells)
{
    CBitmap lamp;
    ASSERT_TRUE(lamp.LoadBitmap(146));
    Canvas strip(static_cast<HBITMAP>(lamp.Detach()));
    EXPECT_EQ(strip.Width(), 96);
    EXPECT_EQ(strip.Height(), 256);
    CDC& dc = strip.Dc();
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 3; ++column) {
            const int x = column * 32, y = row * 32;
            EXPECT_EQ(dc.GetPixel(x, y), kMagenta) << row << "," << column;
            EXPECT_EQ(dc.GetPixel(x + 31, y + 31), kMagenta) << row << "," << column;
            EXPECT_NE(dc.GetPixel(x + 16, y + 22), kMagenta) << row << "," << column;
        }
    for (int row = 0; row < 8; ++row)
        EXPECT_NE(dc.GetPixel(16, row * 32 + 22), dc.GetPixel(48, row * 32 + 22))
            << "lit differs from resting";
}

} // namespace
