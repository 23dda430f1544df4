#pragma once
// Internal: the record behind an HDC, and the helpers the drawing files share.
// "Device" coordinates below are the DC's own (0, 0 at the DC's origin); the
// surface's pixel is device + origin.

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_internal.h"

struct DcState {
    std::shared_ptr<PenData> pen;
    std::shared_ptr<BrushData> brush;
    std::shared_ptr<FontData> font;
    std::shared_ptr<BitmapData> bitmap; // memory DCs only
    std::optional<QRegion> clip; // the application's clip, device coordinates
    int mapMode = MM_TEXT;
    QPoint windowOrg;
    QPoint viewportOrg;
    QSize windowExt { 1, 1 };
    QSize viewportExt { 1, 1 };
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP;
    int stretchMode = BLACKONWHITE;
    QPoint brushOrg;
    QPoint current; // logical
};

enum class DcTarget { Memory, Device, Painter };

struct DcData {
    DcState s;
    std::vector<DcState> saved;
    DcTarget target = DcTarget::Memory;
    QPaintDevice* device = nullptr;
    QPainter* painter = nullptr;
    std::unique_ptr<QImage> ownedSurface;
    QPoint origin;
    std::optional<QRegion> systemClip;
    bool printing = false;
    int dpiX = 96;
    int dpiY = 96;
    std::shared_ptr<GdiPrintJob> job;
    std::optional<QSize> pageSize; // printer DCs: the page whatever the painter
    GdiDrawnHook onDrawn;
    // Guarded by the DC registry's mutex.
    CDC* owner = nullptr;
    std::unique_ptr<CDC> wrapper;
};

// The live record of a handle, or null.
DcData* DcOf(HDC dc);

// Surface access.
QImage* DcImage(DcData& dc);
bool DcMono(DcData& dc);
QRect DcBounds(DcData& dc);
QRegion DcClip(DcData& dc);

// Mapping.
QPoint DcToDevice(const DcData& dc, int x, int y);
QPoint DcToLogical(const DcData& dc, int x, int y);
// A logical rectangle (right, bottom exclusive) as a normalised device QRect.
QRect DcToDeviceRect(const DcData& dc, const RECT& rect);
RECT DcToLogicalRect(const DcData& dc, const QRect& device);
double DcScaleX(const DcData& dc);
double DcScaleY(const DcData& dc);
int DcPenWidth(const DcData& dc, const PenData& pen);

// Tells the DC's owner and monochrome bitmaps that device rect was drawn.
void DcDrawn(DcData& dc, const QRect& device);

// A painter on the DC's surface for one drawing call, translated to device
// coordinates and clipped; on destruction it finishes and reports rect drawn.
class DcPainter {
public:
    DcPainter(DcData& dc, const QRect& touched);
    ~DcPainter();
    DcPainter(const DcPainter&) = delete;
    DcPainter& operator=(const DcPainter&) = delete;

    explicit operator bool() const { return m_painter != nullptr; }
    QPainter* operator->() { return m_painter; }
    QPainter& operator*() { return *m_painter; }

private:
    DcData& m_dc;
    std::optional<QPainter> m_own;
    QPainter* m_painter = nullptr;
    QRect m_touched;
};

// Colours as the surface shows them (black or white on a monochrome one).
QRgb DcSurfaceColor(DcData& dc, COLORREF color);
// The pattern pixel of the selected brush at a device point.
QRgb DcBrushPixel(DcData& dc, const BrushData& brush, int x, int y);
QBrush DcQBrush(DcData& dc, const BrushData& brush);

// Fills a device rectangle with a colour, ignoring ROP2.
void DcFillDevice(DcData& dc, const QRect& rect, COLORREF color);
// Draws through the DC's ROP2: directly for R2_COPYPEN, else into a layer that
// is combined with the surface pixel by pixel.
void DcRenderRop2(DcData& dc, const QRect& bounds, const std::function<void(QPainter&)>& draw);
// The pixels of a one-pixel line from a to b, end point excluded, as runs.
struct DcRun {
    QRect rect;
    bool on;
};
std::vector<DcRun> DcThinLine(QPoint a, QPoint b, int style);
void DcPaintRuns(QPainter& painter, const std::vector<DcRun>& runs, QRgb on, std::optional<QRgb> off);

// The shape of an image: ARGB32, opaque where the image is not white.
QImage DcShapeOf(const QImage& rgb);
// Paints a shape in a colour at a device point.
void DcPaintShape(DcData& dc, const QImage& shape, QPoint at, COLORREF color);

// Text helpers shared by DrawState.
QFont DcFont(DcData& dc, bool antialias = true);

// Lays out text in a device box (DrawText); draws it in color unless
// DT_CALCRECT or no colour. Returns the height (or the bottom offset for
// single-line vertical alignment) and sets extent to the text's device rect.
// antialias false draws crisp glyphs (DrawState's look).
int DcDrawTextDevice(DcData& dc, const QString& text, const QRect& box, UINT format, QRect* extent,
    std::optional<COLORREF> color, bool antialias = true);
