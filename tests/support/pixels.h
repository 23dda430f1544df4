#pragma once
// Pixels for drawing tests: a memory DC over a bitmap that a test draws into,
// or that holds what a window painted, read back pixel by pixel.

#include <ostream>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"

// A memory DC with a bitmap selected into it.
class Canvas {
public:
    // A colour (32-bit) or monochrome bitmap of the given size, filled with
    // fill; the DC's background colour is white.
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), BOOL mono = FALSE);
    // Takes over a bitmap made elsewhere (an owned HBITMAP).
    explicit Canvas(HBITMAP bitmap);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CDC& Dc() { return m_dc; }
    CBitmap& Bitmap() { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    CRect All() const { return CRect(0, 0, m_width, m_height); }

    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    // Pixels of colour in area (the whole bitmap by default).
    int Count(COLORREF color) { return Count(color, All()); }
    int Count(COLORREF color, const CRect& area);
    // Pixels of area in any other colour.
    int CountOther(COLORREF color, const CRect& area)
    {
        return area.Width() * area.Height() - Count(color, area);
    }
    bool Has(COLORREF color, const CRect& area) { return Count(color, area) > 0; }
    // Bounding box of the pixels that differ from background (empty when none).
    CRect Ink(COLORREF background) { return Box(background, false, All()); }
    CRect Ink(COLORREF background, const CRect& area) { return Box(background, false, area); }
    // Bounding box of the pixels in colour.
    CRect InkOf(COLORREF color, const CRect& area) { return Box(color, true, area); }
    // Writes the bitmap as a PNG file.
    BOOL Save(const char* path);

protected:
    Canvas() = default;
    void Make(int width, int height, BOOL mono);

private:
    CRect Box(COLORREF color, bool equal, const CRect& area);

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// What a window paints, the size of its client area: its own painting only,
// or with its visible children drawn over it.
class Snapshot : public Canvas {
public:
    enum class Scope { Window, WithChildren };
    explicit Snapshot(CWnd& window, Scope scope = Scope::Window);

    bool Ok() const { return m_ok != FALSE; }

private:
    BOOL m_ok = FALSE;
};

// Rectangles, points and sizes read as numbers in failure messages.
void PrintTo(const RECT& rect, std::ostream* out);
void PrintTo(const CRect& rect, std::ostream* out);
void PrintTo(const CPoint& point, std::ostream* out);
void PrintTo(const CSize& size, std::ostream* out);
