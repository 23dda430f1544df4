#pragma once
// CDC: a device context. Its state (selected objects, colours, modes, mapping,
// clip) lives behind the handle m_hDC, so a derived DC may borrow another DC's
// handles. Drawing goes to a memory bitmap, a window surface or a printer.
// Coordinates are logical units, mapped by the mapping mode to device pixels.
// UI thread only, except memory DCs, which any one thread may use at a time.

#include "platform/base/cstring.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/rgn.h"

class CDC {
public:
    CDC() = default;
    // Deletes m_hDC unless it was detached.
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }

    // A memory DC compatible with dc (the screen when null), holding a 1 x 1
    // monochrome bitmap until another is selected. FALSE when a DC is held.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    BOOL Attach(HDC dc);
    HDC Detach();
    // The object wrapping a handle: a wrapper that lives as long as the handle.
    static CDC* FromHandle(HDC dc);

    // State stack: pen, brush, font, bitmap, clip, mapping, origins, colours,
    // modes. SaveDC returns the new depth (1 for the first). RestoreDC(-1) pops
    // the last, RestoreDC(n) returns to the state saved as n; a level that does
    // not exist returns FALSE and changes nothing.
    int SaveDC();
    BOOL RestoreDC(int savedDC);

    // Selection returns the previous object (valid until it is deleted), null on
    // failure. Selecting a region sets the clip and returns its type.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ handle);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Colours and modes; each setter returns the previous value.
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int mode);
    int GetROP2() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
    CPoint GetBrushOrg() const;

    // Mapping: device = (logical - window origin) * viewport extent / window
    // extent + viewport origin. Extents apply in MM_ISOTROPIC and MM_ANISOTROPIC;
    // the metric and English modes use the device's pixels per inch with y up.
    int SetMapMode(int mode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const;
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize GetWindowExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize GetViewportExt() const;
    void LPtoDP(POINT* points, int count = 1) const;
    void LPtoDP(RECT* rect) const;
    void LPtoDP(SIZE* size) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;
    void DPtoLP(SIZE* size) const;

    // Clipping. Regions are in device units, rectangles in logical units. The
    // return values are region types (NULLREGION, SIMPLEREGION, COMPLEXREGION,
    // ERROR). A null region removes the clip.
    int GetClipBox(RECT* rect) const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* rect)
    {
        return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
    }
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(const RECT* rect)
    {
        return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
    }
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
    BOOL RectVisible(const RECT* rect) const;

    // Device information: HORZRES, VERTRES, LOGPIXELSX/Y, BITSPIXEL, PLANES,
    // TECHNOLOGY, RASTERCAPS (no RC_PALETTE), HORZSIZE, VERTSIZE, PHYSICAL*.
    int GetDeviceCaps(int index) const;

    // Lines. LineTo draws up to the end point, not including it, and moves the
    // current position there.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* points, int count);

    // Shapes: outlined with the pen, filled with the brush; right and bottom
    // exclusive.
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const RECT* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    BOOL RoundRect(const RECT* rect, POINT ellipse)
    {
        return RoundRect(rect->left, rect->top, rect->right, rect->bottom, ellipse.x, ellipse.y);
    }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(const RECT* rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL Polygon(const POINT* points, int count);

    // Fills and frames (no pen involved).
    void FillRect(const RECT* rect, CBrush* brush);
    void FillRect(const RECT* rect, HBRUSH brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rect, CBrush* brush);
    void FrameRect(const RECT* rect, HBRUSH brush);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    void InvertRect(const RECT* rect);
    // Top and left lines in topLeft (not the top-right and bottom-left corner
    // pixels), bottom and right lines in bottomRight.
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    // Inverts every other pixel of the rectangle's outline; drawing it twice
    // restores the pixels.
    void DrawFocusRect(const RECT* rect);
    // Classic edges: raised outer light/dark shadow, raised inner highlight/shadow,
    // sunken outer shadow/highlight, sunken inner dark shadow/light. BF_ADJUST
    // shrinks rect by the edge drawn; BF_MIDDLE fills the inside with the face.
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
    // DFC_BUTTON (DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTONPUSH) and
    // DFC_SCROLL (arrows, DFCS_SCROLLCOMBOBOX), with DFCS_CHECKED, DFCS_PUSHED,
    // DFCS_INACTIVE, DFCS_FLAT. FALSE for other kinds.
    BOOL DrawFrameControl(RECT* rect, UINT type, UINT state);

    // Text. TextOut and ExtTextOut honour the text alignment; OPAQUE background
    // mode fills the text's cell with the background colour.
    BOOL TextOut(int x, int y, const CString& text);
    BOOL TextOut(int x, int y, LPCTSTR text, int length);
    BOOL ExtTextOut(
        int x, int y, UINT options, const RECT* rect, const CString& text, const int* widths = nullptr);
    // The DT_ formats: alignment, DT_SINGLELINE (DT_VCENTER and DT_BOTTOM only
    // with it; otherwise text starts at the top), DT_WORDBREAK, DT_EXPANDTABS,
    // DT_NOCLIP, DT_CALCRECT (sets rect to the text's extent, keeping left and
    // top), ellipses, '&' prefixes unless DT_NOPREFIX. Returns the text height, or
    // with DT_VCENTER/DT_BOTTOM the offset of its bottom from rect's top.
    int DrawText(const CString& text, RECT* rect, UINT format);
    int DrawText(LPCTSTR text, int length, RECT* rect, UINT format);
    CSize GetTextExtent(const CString& text) const;
    CSize GetTextExtent(LPCTSTR text, int length) const;
    CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;
    BOOL GetOutputTextMetrics(TEXTMETRIC* metrics) const { return GetTextMetrics(metrics); }
    int GetTextFace(int count, LPTSTR faceName) const;

    // Images. size (0, 0) draws at natural size. DSS_DISABLED draws the image's
    // non-background pixels (for a bitmap: those not equal to white) embossed:
    // first in COLOR_3DHILIGHT moved by (1, 1), then in COLOR_3DSHADOW.
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush);
    BOOL DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText = TRUE, int length = 0,
        HBRUSH brush = nullptr);
    BOOL DrawState(
        CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int length, CBrush* brush);

    // Raster operations over (pattern = selected brush, source, destination),
    // any ternary code. Monochrome to colour: 0 bits take this DC's text colour,
    // 1 bits its background colour. Colour to monochrome: source pixels equal to
    // the source DC's background colour become 1, others 0. Stretching samples
    // the nearest source pixel; negative sizes mirror.
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
        int srcHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    // CLR_INVALID outside the surface or the clip.
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color) { return SetPixel(x, y, color) != CLR_INVALID; }

    // Printing, for DCs made over a print job; SP_ERROR (-1) elsewhere.
    int StartDoc(LPCTSTR docName);
    int StartDoc(DOCINFO* info);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
};

// Handle-level forms.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
int GetDeviceCaps(HDC dc, int index);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int length, SIZE* size);
// A DC over the screen (96 dpi, colour), for measuring; release with DeleteDC.
HDC GdiCreateScreenDC();

// Saves the DC's state on construction and restores it on destruction.
class CDCStateSaver {
public:
    explicit CDCStateSaver(CDC* dc)
        : m_dc(dc)
        , m_level(dc ? dc->SaveDC() : 0)
    { }
    ~CDCStateSaver()
    {
        if (m_dc && m_level > 0)
            m_dc->RestoreDC(m_level);
    }
    CDCStateSaver(const CDCStateSaver&) = delete;
    CDCStateSaver& operator=(const CDCStateSaver&) = delete;

private:
    CDC* m_dc;
    int m_level;
};
