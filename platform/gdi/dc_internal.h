#pragma once
// Platform-internal: making DCs over Qt paint devices and painters, and turning
// drawing handles into Qt values. Only platform/ code includes this header.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <memory>
#include <optional>

#include "platform/gdi/gdi_types.h"

// A print job behind a printer DC (CDC::StartDoc ... EndDoc). Results follow
// Windows: > 0 success, SP_ERROR failure.
class GdiPrintJob {
public:
    virtual ~GdiPrintJob() = default;
    virtual int StartDoc(const char* documentName) = 0;
    virtual int StartPage() = 0;
    virtual int EndPage() = 0;
    virtual int EndDoc() = 0;
    virtual int AbortDoc() = 0;
    // A line of text was drawn at a device rectangle of the page.
    virtual void TextDrawn(const QString& text, const QRect& device) { }
    // True when the pages are scaled after drawing (a preview): one-pixel pens
    // then stay one pixel wide at any scale, as on a screen.
    virtual bool KeepsThinLines() const { return false; }
};

// Called with the device rectangle (device coordinates of the paint device) that
// a drawing call may have changed; window DCs use it to schedule a repaint.
using GdiDrawnHook = std::function<void(const QRect&)>;

// A DC over a paint device that the DC paints with painters of its own, one per
// call. With a QImage device (a window's surface) every raster operation,
// GetPixel and the ROP2 modes are exact. origin: the device pixel that is the DC's
// (0, 0); clip: the visible part in DC coordinates (none: the whole device).
// The device must outlive the DC. Delete with DeleteDC.
HDC GdiCreateDeviceDC(QPaintDevice* device, QPoint origin, std::optional<QRegion> clip = std::nullopt,
    GdiDrawnHook onDrawn = {});

// A DC over a painter that the caller keeps active (a printer, a paint event).
// Raster operations other than copies are approximated for non-raster devices.
// printing marks a printer DC; job receives StartDoc/StartPage/EndPage/EndDoc.
HDC GdiCreatePainterDC(QPainter* painter, QPoint origin, std::optional<QRegion> clip, bool printing,
    std::shared_ptr<GdiPrintJob> job = {});
// A printer DC: a painter DC of a fixed page size (device units) and
// resolution, whose painter the job sets for each page (GdiSetDcPainter);
// drawing outside a page goes nowhere.
HDC GdiCreatePrinterDC(QSize page, int dpiX, int dpiY, std::shared_ptr<GdiPrintJob> job);
// Replaces the painter of a painter DC (a new page's painter); state is kept.
void GdiSetDcPainter(HDC dc, QPainter* painter);
// Sets the device resolution a DC reports (LOGPIXELSX/Y); 96 by default.
void GdiSetDcResolution(HDC dc, int dpiX, int dpiY);
// The image a DC draws into (the selected bitmap of a memory DC, a QImage
// device), or null.
QImage* GdiDcImage(HDC dc);

QColor GdiColor(COLORREF color);
COLORREF GdiColorRef(QColor color);

// The Qt font a logical font draws with at a given device resolution (96: screen
// pixels). A null or stale handle gives the default GUI font.
QFont GdiQFont(HFONT font, int dpiY = 96);
// Registers the substitution fonts with Qt (needs a QGuiApplication); repeated
// calls do nothing. Called on first use of text.
void GdiRegisterFonts();

// Copies between handles and images. Images are RGB32 (icons and list images
// ARGB32 with the mask as alpha). Null image or handle on failure.
QImage GdiBitmapImage(HBITMAP bitmap);
HBITMAP GdiCreateBitmapFromImage(const QImage& image, bool monochrome = false);
QImage GdiIconImage(HICON icon);
HICON GdiCreateIconFromImage(const QImage& image);
QImage GdiImageListImage(HIMAGELIST list, int index);
QRegion GdiRegion(HRGN region);
HRGN GdiCreateRegion(const QRegion& region);
