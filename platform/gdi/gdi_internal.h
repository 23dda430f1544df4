#pragma once
// Internal: the records behind drawing handles, and their registry. A handle is
// the address of its record; the registry keeps the set of live handles, so a
// stale handle is recognised and refused.

#include <QImage>
#include <QRegion>

#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

enum class GdiKind { Pen, Brush, Font, Bitmap, Region };

struct GdiObjectData {
    explicit GdiObjectData(GdiKind k)
        : kind(k)
    { }
    virtual ~GdiObjectData();
    GdiObjectData(const GdiObjectData&) = delete;
    GdiObjectData& operator=(const GdiObjectData&) = delete;

    HGDIOBJ Handle() { return reinterpret_cast<HGDIOBJ>(this); }

    const GdiKind kind;
    bool stock = false;
    // Both guarded by the registry's mutex.
    CGdiObject* owner = nullptr;
    std::unique_ptr<CGdiObject> wrapper;
};

struct PenData : GdiObjectData {
    PenData()
        : GdiObjectData(GdiKind::Pen)
    { }
    int style = PS_SOLID; // full style word (type, cap, join, style)
    int width = 1;
    COLORREF color = 0;
    int Style() const { return style & PS_STYLE_MASK; }
    bool Thin() const { return width <= 1; }
};

struct BrushData : GdiObjectData {
    BrushData()
        : GdiObjectData(GdiKind::Brush)
    { }
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    QImage pattern; // BS_PATTERN: RGB32 copy of the bitmap
    bool monoPattern = false;
};

struct FontData : GdiObjectData {
    FontData()
        : GdiObjectData(GdiKind::Font)
    { }
    LOGFONT lf;
};

struct BitmapData : GdiObjectData {
    BitmapData()
        : GdiObjectData(GdiKind::Bitmap)
    { }
    QImage image; // RGB32; a monochrome bitmap holds only black and white
    int bitsPixel = 32;
    bool Mono() const { return bitsPixel == 1; }
};

struct RegionData : GdiObjectData {
    RegionData()
        : GdiObjectData(GdiKind::Region)
    { }
    QRegion region;
};

// Registers a new record and returns its handle.
HGDIOBJ GdiRegister(std::shared_ptr<GdiObjectData> data);
// Removes a live non-stock handle; the record lives on while DCs hold it.
bool GdiUnregister(HGDIOBJ handle);
std::shared_ptr<GdiObjectData> GdiLookup(HGDIOBJ handle);

template <typename T> std::shared_ptr<T> GdiLookupAs(HGDIOBJ handle, GdiKind kind)
{
    std::shared_ptr<GdiObjectData> data = GdiLookup(handle);
    if (!data || data->kind != kind)
        return nullptr;
    return std::static_pointer_cast<T>(data);
}

// The C++ object for a record: its owner, or a wrapper made on demand.
CGdiObject* GdiWrapperFor(const std::shared_ptr<GdiObjectData>& data);
// The shared stock record of an index (null for an unknown index).
std::shared_ptr<GdiObjectData> GdiStock(int index);
// The 1 x 1 monochrome bitmap a new memory DC holds.
std::shared_ptr<BitmapData> GdiDefaultBitmap();

// Pixel helpers.
inline QRgb GdiRgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF GdiRef(QRgb p)
{
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
// The black or white a colour becomes on a monochrome surface.
inline QRgb GdiMonoOf(QRgb p)
{
    return (qRed(p) + qGreen(p) + qBlue(p)) >= 384 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}
// Forces every pixel in rect to black or white.
void GdiNormalizeMono(QImage& image, const QRect& rect);
QImage GdiNewImage(int width, int height);

// Icons: colour image and AND mask (white = transparent), both RGB32.
struct IconData {
    QImage color;
    QImage mask;
    QPoint hotspot;
    bool isIcon = true;
};
std::shared_ptr<IconData> GdiIconOf(HICON icon);
HICON GdiRegisterIcon(std::shared_ptr<IconData> icon);

// Draws a colour image through an AND mask (destination AND mask XOR image) at a
// device point, scaled to size; flags DI_MASK / DI_IMAGE / DI_NORMAL.
struct DcData;
void DcDrawMasked(DcData& dc, QPoint at, QSize size, const QImage& color, const QImage& mask, UINT flags);
