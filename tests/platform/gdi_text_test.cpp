#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/system_colors.h"
#include "tests/support/pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);

class GdiText : public testing::Test {
protected:
    GdiText()
        : m_canvas(200, 100)
    {
        m_font.CreatePointFont(90, "Verdana");
        m_old = dc().SelectObject(&m_font);
        dc().SetBkMode(TRANSPARENT);
    }
    ~GdiText() override { dc().SelectObject(m_old); }

    CDC& dc() { return m_canvas.Dc(); }
    CRect Ink() { return m_canvas.Ink(kWhite); }
    int LineHeight()
    {
        TEXTMETRIC tm;
        dc().GetTextMetrics(&tm);
        return tm.tmHeight;
    }

    Canvas m_canvas;
    CFont m_font;
    CFont* m_old = nullptr;
};

TEST_F(GdiText, PointFontHeightUsesNinetySixDpi)
{
    LOGFONT lf;
    m_font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_STREQ(lf.lfFaceName, "Verdana");
    TEXTMETRIC tm;
    ASSERT_TRUE(dc().GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LE(tm.tmHeight, 18);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_STREQ(GdiSubstituteFace("Verdana"), "DejaVu Sans");
    EXPECT_STREQ(GdiSubstituteFace("\xea\xb5\xb4\xeb\xa6\xbc"), "NanumGothic");
    EXPECT_STREQ(GdiSubstituteFace("courier new"), "DejaVu Sans Mono");
    EXPECT_STREQ(GdiSubstituteFace("No Such Face"), "DejaVu Sans");
}

TEST_F(GdiText, CalcRectMeasuresWithoutDrawing)
{
    CRect r(10, 10, 10, 10);
    const int height = dc().DrawText("Hello world", &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(height, LineHeight());
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.Size(), dc().GetTextExtent("Hello world"));
    EXPECT_TRUE(Ink().IsRectNull());
}

TEST_F(GdiText, WordBreakWrapsIntoLinesWithinTheWidth)
{
    const CSize word = dc().GetTextExtent("word");
    CRect r(0, 0, word.cx * 2 + 4, 0);
    const int height = dc().DrawText("word word word", &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 2 * LineHeight());
    EXPECT_LE(r.Width(), word.cx * 2 + 4);
    EXPECT_GE(r.Width(), word.cx);
    CRect lines(0, 0, 100, 0);
    EXPECT_EQ(dc().DrawText("a\r\nb\nc", &lines, DT_CALCRECT), 3 * LineHeight());
}

TEST_F(GdiText, VerticalCentreOnlyWithSingleLine)
{
    const int h = LineHeight();
    CRect box(0, 0, 200, 100);
    dc().DrawText("Xg", &box, DT_VCENTER);
    const CRect top = Ink();
    EXPECT_LT(top.top, h) << "without DT_SINGLELINE the text stays at the top";
    dc().FillSolidRect(0, 0, 200, 100, kWhite);
    dc().SetBkMode(TRANSPARENT);
    const int offset = dc().DrawText("Xg", &box, DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(offset, (100 - h) / 2 + h);
    const CRect centred = Ink();
    EXPECT_GE(centred.top, (100 - h) / 2);
    EXPECT_LE(centred.bottom, (100 - h) / 2 + h);
    dc().FillSolidRect(0, 0, 200, 100, kWhite);
    dc().SetBkMode(TRANSPARENT);
    dc().DrawText("Xg", &box, DT_BOTTOM | DT_SINGLELINE);
    EXPECT_GE(Ink().top, 100 - h);
}

TEST_F(GdiText, HorizontalAlignmentPlacesTheText)
{
    const CSize size = dc().GetTextExtent("MMMM");
    CRect box(0, 0, 200, 30);
    dc().DrawText("MMMM", &box, DT_RIGHT | DT_SINGLELINE);
    EXPECT_GE(Ink().left, 200 - size.cx - 1);
    EXPECT_LE(Ink().right, 200);
    dc().FillSolidRect(0, 0, 200, 100, kWhite);
    dc().SetBkMode(TRANSPARENT);
    dc().DrawText("MMMM", &box, DT_CENTER | DT_SINGLELINE);
    const CRect ink = Ink();
    EXPECT_NEAR((ink.left + ink.right) / 2, 100, 3);
}

TEST_F(GdiText, TextIsClippedToItsRectangleUnlessNoClip)
{
    CRect box(0, 0, 8, 30);
    dc().DrawText("WWWWWWWW", &box, DT_SINGLELINE);
    EXPECT_LE(Ink().right, 8);
    dc().DrawText("WWWWWWWW", &box, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink().right, 8);
}

TEST_F(GdiText, PrefixAmpersandIsNotDrawnAndDoubleAmpersandIs)
{
    CRect a(0, 0, 0, 0), b(0, 0, 0, 0), c(0, 0, 0, 0);
    dc().DrawText("&Open", &a, DT_SINGLELINE | DT_CALCRECT);
    dc().DrawText("Open", &b, DT_SINGLELINE | DT_CALCRECT);
    dc().DrawText("&Open", &c, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_GT(c.Width(), b.Width());
    CRect d(0, 0, 0, 0), e(0, 0, 0, 0);
    dc().DrawText("A&&B", &d, DT_SINGLELINE | DT_CALCRECT);
    dc().DrawText("A&B", &e, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(d.Width(), e.Width());
}

TEST_F(GdiText, EllipsisKeepsTheTextInsideTheWidth)
{
    const CString longText = "A long caption that cannot fit";
    const int width = dc().GetTextExtent("A long").cx;
    CRect r(0, 0, width, 20);
    dc().DrawText(longText, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(Ink().right, width + 1);
    dc().FillSolidRect(0, 0, 200, 100, kWhite);
    dc().SetBkMode(TRANSPARENT);
    const CString path = "C:\\Windows\\system\\Manager\\Manager.mdb";
    const int pathWidth = dc().GetTextExtent("C:\\...\\Manager.mdb").cx + 2;
    CRect p(0, 0, pathWidth, 20);
    dc().DrawText(path, &p, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(Ink().right, pathWidth + 1);
    EXPECT_GT(Ink().Width(), dc().GetTextExtent("Manager.mdb").cx);
}

TEST_F(GdiText, OpaqueTextFillsItsCellWithTheBackground)
{
    dc().SetBkMode(OPAQUE);
    dc().SetBkColor(RGB(0, 0, 255));
    dc().SetTextColor(RGB(255, 255, 0));
    dc().TextOut(5, 5, "Hi");
    const CSize size = dc().GetTextExtent("Hi");
    EXPECT_EQ(Ink(), CRect(5, 5, 5 + size.cx, 5 + size.cy));
    EXPECT_GT(m_canvas.Count(RGB(255, 255, 0)), 0);
    EXPECT_EQ(m_canvas.At(5, 5), RGB(0, 0, 255));
}

TEST_F(GdiText, TextAlignmentMovesTheReferencePoint)
{
    dc().SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc().TextOut(100, 50, "Right");
    const CRect ink = Ink();
    EXPECT_LE(ink.right, 100);
    EXPECT_LE(ink.bottom, 50);
    EXPECT_GT(ink.bottom, 50 - LineHeight());
    dc().SetTextAlign(TA_LEFT | TA_TOP);
}

TEST_F(GdiText, HangulIsDrawn)
{
    dc().TextOut(0, 0, "\xed\x95\x9c\xea\xb8\x80"); // 한글
    EXPECT_FALSE(Ink().IsRectNull());
    EXPECT_GT(dc().GetTextExtent("\xed\x95\x9c").cx, dc().GetTextExtent("i").cx);
}

TEST_F(GdiText, DisabledTextIsEmbossedHighlightUnderShadow)
{
    dc().FillSolidRect(0, 0, 200, 100, GetSysColor(COLOR_BTNFACE));
    dc().DrawState(CPoint(10, 10), CSize(0, 0), "I", DSS_DISABLED, TRUE, 0, static_cast<CBrush*>(nullptr));
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
    // The vertical stroke of "I": some column has shadow with highlight one pixel right.
    bool embossed = false;
    for (int y = 10; y < 30 && !embossed; ++y)
        for (int x = 10; x < 30; ++x)
            if (m_canvas.At(x, y) == shadow && m_canvas.At(x + 1, y + 1) == light) {
                embossed = true;
                break;
            }
    EXPECT_TRUE(embossed);
    EXPECT_EQ(m_canvas.Count(RGB(0, 0, 0)), 0) << "nothing in the text colour";
}

TEST_F(GdiText, MonochromeTargetGetsPureBlackAndWhiteText)
{
    Canvas mono(60, 20, RGB(255, 255, 255), TRUE);
    CFont* old = mono.Dc().SelectObject(&m_font);
    mono.Dc().SetBkMode(TRANSPARENT);
    mono.Dc().TextOut(2, 2, "Mask");
    EXPECT_GT(mono.Count(kInk), 0);
    EXPECT_EQ(mono.Count(kInk) + mono.Count(kWhite), 60 * 20);
    mono.Dc().SelectObject(old);
}

// Captions in the fonts controls draw with, and figures at a printer's width:
// the text keeps within the room given it, the ink within the extent
// reported, and a width asked is the average reported.
TEST(GdiFontWidth, TextDrawnKeepsTheWidthAskedAndTheExtentReported)
{
    struct Case {
        const char* face;
        int height;
        int width; // 0: the face's own
        int weight;
        const char* text;
        int room;
        int average; // the average reported, at most
    };
    const Case cases[] = {
        { "System", 16, 7, FW_BOLD, "Select Trans", 80, 7 }, // 48-unit button less its edges
        { "System", 16, 7, FW_BOLD, "All Receive", 78, 7 },
        { "\xea\xb5\xb4\xeb\xa6\xbc", -12, 0, FW_NORMAL, "Remove", 42,
            7 }, // 굴림 9 pt beside a 32-pixel icon
        { "Helv", 83, 42, FW_NORMAL, "0123456789", 420, 42 }, // 10 by 5 points at 600 dpi
    };
    for (const Case& c : cases) {
        Canvas canvas(600, 120);
        CFont font;
        font.CreateFont(c.height, c.width, 0, 0, c.weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, c.face);
        CFont* old = canvas.Dc().SelectObject(&font);
        canvas.Dc().SetBkMode(TRANSPARENT);
        const CSize extent = canvas.Dc().GetTextExtent(c.text);
        canvas.Dc().TextOut(0, 0, c.text);
        TEXTMETRIC tm;
        canvas.Dc().GetTextMetrics(&tm);
        canvas.Dc().SelectObject(old);
        EXPECT_LE(extent.cx, c.room) << c.text;
        EXPECT_GE(extent.cx, c.room * 3 / 4) << c.text;
        EXPECT_LE(canvas.Ink(kWhite).right, extent.cx + 1) << c.text;
        EXPECT_LE(tm.tmAveCharWidth, c.average) << c.text;
        EXPECT_GE(tm.tmAveCharWidth, c.average - 1) << c.text;
        EXPECT_GE(tm.tmHeight, std::abs(c.height)) << c.text;
        EXPECT_LE(tm.tmHeight, std::abs(c.height) * 3 / 2) << c.text;
    }
    // The face chosen, not only its width: Courier New keeps a fixed pitch.
    Canvas canvas(100, 40);
    CFont mono;
    mono.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    CFont* old = canvas.Dc().SelectObject(&mono);
    EXPECT_EQ(canvas.Dc().GetTextExtent("iiii").cx, canvas.Dc().GetTextExtent("MMMM").cx);
    canvas.Dc().SelectObject(old);
}

} // namespace
