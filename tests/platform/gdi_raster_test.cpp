#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "tests/support/pixels.h"

namespace {

constexpr COLORREF kSrc = RGB(0xF0, 0x0F, 0x35);
constexpr COLORREF kDst = RGB(0x3C, 0xAA, 0x96);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct RopCase {
    const char* name;
    DWORD rop;
    COLORREF expected; // for source kSrc over destination kDst
};

class BitBltRop : public testing::TestWithParam<RopCase> { };

TEST_P(BitBltRop, CombinesSourceAndDestinationBitwise)
{
    Canvas src(4, 4, kSrc);
    Canvas dst(4, 4, kDst);
    ASSERT_TRUE(dst.Dc().BitBlt(1, 1, 2, 2, &src.Dc(), 0, 0, GetParam().rop));
    EXPECT_EQ(dst.At(1, 1), GetParam().expected);
    EXPECT_EQ(dst.At(2, 2), GetParam().expected);
    EXPECT_EQ(dst.At(0, 0), kDst) << "outside the target rectangle";
    EXPECT_EQ(dst.At(3, 3), kDst);
}

constexpr COLORREF Bits(DWORD v)
{
    return v & 0xFFFFFF;
}

INSTANTIATE_TEST_SUITE_P(Rops, BitBltRop,
    testing::Values(RopCase { "SRCCOPY", SRCCOPY, kSrc }, RopCase { "SRCAND", SRCAND, Bits(kSrc& kDst) },
        RopCase { "SRCPAINT", SRCPAINT, Bits(kSrc | kDst) },
        RopCase { "SRCINVERT", SRCINVERT, Bits(kSrc ^ kDst) },
        RopCase { "SRCERASE", SRCERASE, Bits(kSrc & ~kDst) },
        RopCase { "NOTSRCCOPY", NOTSRCCOPY, Bits(~kSrc) },
        RopCase { "NOTSRCERASE", NOTSRCERASE, Bits(~(kSrc | kDst)) },
        RopCase { "MERGEPAINT", MERGEPAINT, Bits(~kSrc | kDst) },
        RopCase { "DSTINVERT", DSTINVERT, Bits(~kDst) }, RopCase { "BLACKNESS", BLACKNESS, kBlack },
        RopCase { "WHITENESS", WHITENESS, kWhite }),
    [](const testing::TestParamInfo<RopCase>& param) { return std::string(param.param.name); });

TEST(GdiRaster, PatternOperationsUseTheSelectedBrush)
{
    Canvas src(4, 4, kSrc);
    Canvas dst(4, 4, kDst);
    CBrush brush(RGB(0x0F, 0xF0, 0xFF));
    dst.Dc().SelectObject(&brush);
    ASSERT_TRUE(dst.Dc().PatBlt(0, 0, 2, 2, PATCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(0x0F, 0xF0, 0xFF));
    ASSERT_TRUE(dst.Dc().PatBlt(2, 0, 2, 2, PATINVERT));
    EXPECT_EQ(dst.At(2, 0), Bits(RGB(0x0F, 0xF0, 0xFF) ^ kDst));
    ASSERT_TRUE(dst.Dc().BitBlt(0, 2, 2, 2, &src.Dc(), 0, 0, MERGECOPY));
    EXPECT_EQ(dst.At(0, 2), Bits(RGB(0x0F, 0xF0, 0xFF) & kSrc));
    EXPECT_FALSE(dst.Dc().PatBlt(0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
    dst.Dc().SelectStockObject(WHITE_BRUSH);
}

TEST(GdiRaster, MonochromeSourceTakesDestinationTextAndBackgroundColours)
{
    Canvas mono(2, 1, kBlack, TRUE);
    mono.Dc().SetPixel(1, 0, kWhite);
    Canvas dst(2, 1, kDst);
    dst.Dc().SetTextColor(RGB(10, 20, 30));
    dst.Dc().SetBkColor(RGB(200, 100, 50));
    ASSERT_TRUE(dst.Dc().BitBlt(0, 0, 2, 1, &mono.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(10, 20, 30)) << "0 bits take the text colour";
    EXPECT_EQ(dst.At(1, 0), RGB(200, 100, 50)) << "1 bits take the background colour";
}

TEST(GdiRaster, ColourToMonochromeMarksSourceBackgroundColourAsOne)
{
    Canvas src(3, 1, RGB(255, 0, 255));
    src.Dc().SetPixel(1, 0, RGB(12, 34, 56));
    src.Dc().SetPixel(2, 0, kWhite);
    src.Dc().SetBkColor(RGB(255, 0, 255));
    Canvas mask(3, 1, kBlack, TRUE);
    ASSERT_TRUE(mask.Dc().BitBlt(0, 0, 3, 1, &src.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(mask.At(0, 0), kWhite) << "pixel equal to the source background";
    EXPECT_EQ(mask.At(1, 0), kBlack);
    EXPECT_EQ(mask.At(2, 0), kBlack) << "white is not the background here";
}

// The lamp's transparent copy: XOR, AND mask, XOR leaves the destination where
// the source is magenta and the source elsewhere.
TEST(GdiRaster, InvertAndMaskCopyKeepsDestinationUnderTransparentColour)
{
    constexpr COLORREF kMagenta = RGB(255, 0, 255);
    Canvas lamp(2, 1, kMagenta);
    lamp.Dc().SetPixel(1, 0, RGB(0, 200, 0));
    lamp.Dc().SetBkColor(kMagenta);
    Canvas mask(2, 1, kBlack, TRUE);
    mask.Dc().BitBlt(0, 0, 2, 1, &lamp.Dc(), 0, 0, SRCCOPY);
    Canvas work(2, 1, RGB(1, 2, 3));
    work.Dc().BitBlt(0, 0, 2, 1, &lamp.Dc(), 0, 0, SRCINVERT);
    work.Dc().BitBlt(0, 0, 2, 1, &mask.Dc(), 0, 0, SRCAND);
    work.Dc().BitBlt(0, 0, 2, 1, &lamp.Dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(work.At(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(work.At(1, 0), RGB(0, 200, 0));
}

TEST(GdiRaster, StretchSamplesNearestPixelAndMirrorsOnNegativeSize)
{
    Canvas src(2, 1, RGB(255, 0, 0));
    src.Dc().SetPixel(1, 0, RGB(0, 0, 255));
    Canvas dst(4, 2, kWhite);
    ASSERT_TRUE(dst.Dc().StretchBlt(0, 0, 4, 2, &src.Dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(3, 1), RGB(0, 0, 255));
    ASSERT_TRUE(dst.Dc().StretchBlt(3, 0, -4, 1, &src.Dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(3, 0), RGB(255, 0, 0));
}

TEST(GdiRaster, BlitRespectsClipAndOverlappingCopy)
{
    Canvas dst(6, 1, kWhite);
    for (int x = 0; x < 6; ++x)
        dst.Dc().SetPixel(x, 0, RGB(x * 10, 0, 0));
    ASSERT_TRUE(dst.Dc().BitBlt(1, 0, 5, 1, &dst.Dc(), 0, 0, SRCCOPY));
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(dst.At(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
    Canvas clipped(4, 4, kWhite);
    Canvas black(4, 4, kBlack);
    clipped.Dc().IntersectClipRect(1, 1, 3, 3);
    clipped.Dc().BitBlt(0, 0, 4, 4, &black.Dc(), 0, 0, SRCCOPY);
    clipped.Dc().SelectClipRgn(nullptr);
    EXPECT_EQ(clipped.Ink(kWhite), CRect(1, 1, 3, 3));
}

TEST(GdiRaster, PixelsOutsideTheSurfaceAreInvalid)
{
    Canvas canvas(2, 2, kWhite);
    EXPECT_EQ(canvas.Dc().SetPixel(1, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(2, 0), CLR_INVALID);
    EXPECT_EQ(canvas.Dc().SetPixel(-1, 0, kBlack), CLR_INVALID);
    CDC none;
    EXPECT_EQ(none.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(none.BitBlt(0, 0, 1, 1, &canvas.Dc(), 0, 0, SRCCOPY));
}

TEST(GdiRaster, MonochromeBitmapsHoldOnlyBlackAndWhite)
{
    Canvas mono(4, 1, kBlack, TRUE);
    mono.Dc().SetPixel(0, 0, RGB(250, 240, 230));
    mono.Dc().SetPixel(1, 0, RGB(40, 30, 20));
    EXPECT_EQ(mono.At(0, 0), kWhite);
    EXPECT_EQ(mono.At(1, 0), kBlack);
    EXPECT_EQ(mono.Dc().GetDeviceCaps(BITSPIXEL), 1);
    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&mono.Dc(), 3, 3));
    BITMAP info;
    compatible.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 1) << "compatible with a monochrome memory DC";
}

} // namespace
