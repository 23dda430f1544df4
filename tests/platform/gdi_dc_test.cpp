#include <gtest/gtest.h>

#include "platform/base/version.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "tests/support/pixels.h"

namespace {

TEST(GdiDcState, SaveAndRestoreReturnEverySavedAttribute)
{
    Canvas canvas(10, 10);
    CDC& dc = canvas.Dc();
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CFont font;
    font.CreatePointFont(90, "Verdana");
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectObject(&red);
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    dc.SetROP2(R2_XORPEN);
    dc.SetWindowOrg(5, 6);
    dc.IntersectClipRect(0, 0, 3, 3);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(RGB(9, 9, 9));
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_TRUE(dc.RestoreDC(1));
    EXPECT_EQ(dc.GetCurrentPen()->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentFont()->m_hObject, GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(0, 0));
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 10, 10));
}

TEST(GdiDcState, RestoreNeverUnderflows)
{
    Canvas canvas(2, 2);
    CDC& dc = canvas.Dc();
    EXPECT_FALSE(dc.RestoreDC(-1));
    EXPECT_FALSE(dc.RestoreDC(1));
    EXPECT_FALSE(dc.RestoreDC(0));
    const int level = dc.SaveDC();
    EXPECT_FALSE(dc.RestoreDC(level + 1));
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_FALSE(dc.RestoreDC(level));
    {
        CDCStateSaver saver(&dc);
        dc.SetBkColor(RGB(5, 5, 5));
    }
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
}

TEST(GdiDcState, SelectObjectReturnsThePreviousObject)
{
    Canvas canvas(2, 2);
    CDC& dc = canvas.Dc();
    CBrush blue(RGB(0, 0, 255));
    CBrush* old = dc.SelectObject(&blue);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->m_hObject, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.SelectObject(old), &blue);
    CPen pen(PS_DOT, 1, RGB(1, 1, 1));
    EXPECT_NE(dc.SelectObject(static_cast<CGdiObject*>(&pen)), nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    dc.SelectStockObject(BLACK_PEN);
}

TEST(GdiDcState, DeletedAndStaleHandlesAreRefused)
{
    Canvas canvas(2, 2);
    HGDIOBJ handle;
    {
        CPen pen(PS_SOLID, 1, RGB(9, 9, 9));
        handle = pen.m_hObject;
        canvas.Dc().SelectObject(&pen);
    } // deleted while selected: the DC keeps drawing with it
    EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(canvas.Dc().SelectObject(handle), nullptr);
    EXPECT_TRUE(canvas.Dc().LineTo(2, 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(9, 9, 9));
    EXPECT_FALSE(DeleteObject(handle));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects ignore deletion";
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
    CDC dead;
    EXPECT_FALSE(dead.Attach(reinterpret_cast<HDC>(reinterpret_cast<std::intptr_t>(canvas.Dc().m_hDC) + 8)));
}

TEST(GdiDcState, FromHandleGivesTheOwnerOrALastingWrapper)
{
    CBrush brush(RGB(1, 2, 3));
    EXPECT_EQ(CGdiObject::FromHandle(brush.m_hObject), &brush);
    CBrush* stock = CBrush::FromHandle(GetStockObject(GRAY_BRUSH));
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock, CBrush::FromHandle(GetStockObject(GRAY_BRUSH)));
    EXPECT_EQ(CPen::FromHandle(GetStockObject(GRAY_BRUSH)), nullptr) << "wrong kind";
    LOGBRUSH record;
    EXPECT_TRUE(stock->GetLogBrush(&record));
    EXPECT_EQ(record.lbColor, RGB(128, 128, 128));
    Canvas canvas(1, 1);
    EXPECT_EQ(CDC::FromHandle(canvas.Dc().m_hDC), &canvas.Dc());
}

TEST(GdiMapping, WindowAndViewportOriginsShiftLogicalCoordinates)
{
    Canvas canvas(20, 20);
    CDC& dc = canvas.Dc();
    dc.SetWindowOrg(10, 5);
    dc.SetViewportOrg(2, 3);
    POINT p { 10, 5 };
    dc.LPtoDP(&p);
    EXPECT_EQ(CPoint(p), CPoint(2, 3));
    dc.DPtoLP(&p);
    EXPECT_EQ(CPoint(p), CPoint(10, 5));
    dc.FillSolidRect(10, 5, 1, 1, RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(10, 5), RGB(255, 0, 0)) << "GetPixel takes logical coordinates too";
    RECT box;
    dc.GetClipBox(&box);
    EXPECT_EQ(CRect(box), CRect(8, 2, 28, 22));
    dc.SetWindowOrg(0, 0);
    dc.SetViewportOrg(0, 0);
    EXPECT_EQ(canvas.Ink(RGB(255, 255, 255)), CRect(2, 3, 3, 4));
}

TEST(GdiMapping, AnisotropicExtentsScaleAndRound)
{
    Canvas canvas(100, 100);
    CDC& dc = canvas.Dc();
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 1000);
    dc.SetViewportExt(100, 50);
    dc.SetWindowOrg(-40, 0);
    POINT p { 15, 15 };
    dc.LPtoDP(&p);
    EXPECT_EQ(CPoint(p), CPoint(6, 1)) << "5.5 and 0.75 round to the nearest pixel";
    SIZE size { 200, 200 };
    dc.LPtoDP(&size);
    EXPECT_EQ(CSize(size), CSize(20, 10));
    dc.SetMapMode(MM_TEXT);
    POINT q { 15, 15 };
    dc.LPtoDP(&q);
    EXPECT_EQ(CPoint(q), CPoint(55, 15));
}

TEST(GdiMapping, MetricModeHasYGoingUp)
{
    Canvas canvas(10, 10);
    CDC& dc = canvas.Dc();
    dc.SetMapMode(MM_LOENGLISH);
    POINT p { 100, 100 }; // one inch
    dc.LPtoDP(&p);
    EXPECT_EQ(CPoint(p), CPoint(96, -96));
}

TEST(GdiClip, RegionsAndRectanglesCombine)
{
    Canvas canvas(10, 10);
    CDC& dc = canvas.Dc();
    CRgn round;
    round.CreateRoundRectRgn(0, 0, 10, 10, 6, 6);
    EXPECT_FALSE(round.PtInRegion(0, 0)) << "corner cut";
    EXPECT_TRUE(round.PtInRegion(5, 5));
    EXPECT_EQ(dc.SelectClipRgn(&round), COMPLEXREGION);
    dc.ExcludeClipRect(4, 4, 6, 6);
    dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(0, 0), CLR_INVALID) << "outside the clip";
    EXPECT_EQ(canvas.At(5, 5), CLR_INVALID);
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(1, 5), RGB(0, 0, 0));
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 4, 4);
    b.CreateRectRgn(2, 2, 6, 6);
    c.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    RECT box;
    c.GetRgnBox(&box);
    EXPECT_EQ(CRect(box), CRect(2, 2, 4, 4));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(c.PtInRegion(3, 3));
    EXPECT_EQ(c.CombineRgn(&a, nullptr, RGN_AND), ERROR);
}

TEST(GdiSystem, ClassicColoursAndMetricsAreFixed)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(99), 0u);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetObjectType(face), OBJ_BRUSH) << "shared brush survives deletion";
}

TEST(GdiSystem, VersionReadsAsNt51)
{
    OSVERSIONINFO info;
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0105u);
    EXPECT_EQ(GetVersion() & 0x80000000u, 0u);
    info.dwOSVersionInfoSize = 4;
    EXPECT_FALSE(GetVersionEx(&info));
}

TEST(GdiSystem, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 3, 3), 2000000000);
}

} // namespace
