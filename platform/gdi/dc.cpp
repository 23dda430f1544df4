#include "platform/gdi/dc.h"

#include <QPaintEngine>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/system_colors.h"

namespace {

HandleTable<HDC, DcData>& Registry()
{
    static auto* registry = new HandleTable<HDC, DcData>;
    return *registry;
}

HDC Register(std::shared_ptr<DcData> data)
{
    data->s.pen = std::static_pointer_cast<PenData>(GdiStock(BLACK_PEN));
    data->s.brush = std::static_pointer_cast<BrushData>(GdiStock(WHITE_BRUSH));
    data->s.font = std::static_pointer_cast<FontData>(GdiStock(SYSTEM_FONT));
    return Registry().Add(std::move(data));
}

int RegionType(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

template <typename T> T* Wrap(const std::shared_ptr<GdiObjectData>& data)
{
    return dynamic_cast<T*>(GdiWrapperFor(data));
}

int ScaleMul(int value, int num, int den)
{
    return den == 0 ? value : MulDiv(value, num, den);
}

} // namespace

// Registry and creation --------------------------------------------------------

DcData* DcOf(HDC dc)
{
    return Registry().Find(dc).get();
}

HDC GdiCreateDeviceDC(QPaintDevice* device, QPoint origin, std::optional<QRegion> clip, GdiDrawnHook onDrawn)
{
    if (!device)
        return nullptr;
    auto data = std::make_shared<DcData>();
    data->target = DcTarget::Device;
    data->device = device;
    data->origin = origin;
    data->systemClip = std::move(clip);
    data->onDrawn = std::move(onDrawn);
    return Register(std::move(data));
}

HDC GdiCreatePainterDC(QPainter* painter, QPoint origin, std::optional<QRegion> clip, bool printing,
    std::shared_ptr<GdiPrintJob> job)
{
    auto data = std::make_shared<DcData>();
    data->target = DcTarget::Painter;
    data->painter = painter;
    data->origin = origin;
    data->systemClip = std::move(clip);
    data->printing = printing;
    data->job = std::move(job);
    if (printing && painter && painter->device()) {
        data->dpiX = painter->device()->logicalDpiX();
        data->dpiY = painter->device()->logicalDpiY();
    }
    return Register(std::move(data));
}

HDC GdiCreatePrinterDC(QSize page, int dpiX, int dpiY, std::shared_ptr<GdiPrintJob> job)
{
    auto data = std::make_shared<DcData>();
    data->target = DcTarget::Painter;
    data->printing = true;
    data->job = std::move(job);
    data->pageSize = page;
    data->dpiX = dpiX > 0 ? dpiX : 600;
    data->dpiY = dpiY > 0 ? dpiY : 600;
    return Register(std::move(data));
}

void GdiSetDcPainter(HDC dc, QPainter* painter)
{
    if (DcData* d = DcOf(dc); d && d->target == DcTarget::Painter)
        d->painter = painter;
}

void GdiSetDcResolution(HDC dc, int dpiX, int dpiY)
{
    if (DcData* d = DcOf(dc); d && dpiX > 0 && dpiY > 0) {
        d->dpiX = dpiX;
        d->dpiY = dpiY;
    }
}

QImage* GdiDcImage(HDC dc)
{
    DcData* d = DcOf(dc);
    return d ? DcImage(*d) : nullptr;
}

HDC GdiCreateScreenDC()
{
    auto data = std::make_shared<DcData>();
    data->target = DcTarget::Device;
    data->ownedSurface = std::make_unique<QImage>(GdiNewImage(1, 1));
    data->device = data->ownedSurface.get();
    return Register(std::move(data));
}

HDC CreateCompatibleDC(HDC dc)
{
    auto data = std::make_shared<DcData>();
    data->target = DcTarget::Memory;
    if (DcData* source = DcOf(dc)) {
        data->dpiX = source->dpiX;
        data->dpiY = source->dpiY;
    }
    const HDC handle = Register(std::move(data));
    DcOf(handle)->s.bitmap = GdiDefaultBitmap();
    return handle;
}

BOOL DeleteDC(HDC dc)
{
    const std::shared_ptr<DcData> doomed = Registry().Take(dc);
    if (!doomed)
        return FALSE;
    if (doomed->wrapper)
        doomed->wrapper->m_hDC = doomed->wrapper->m_hAttribDC = nullptr;
    return TRUE;
}

// Surface -------------------------------------------------------------------

QImage* DcImage(DcData& dc)
{
    switch (dc.target) {
    case DcTarget::Memory:
        return dc.s.bitmap ? &dc.s.bitmap->image : nullptr;
    case DcTarget::Device:
        return dc.device && dc.device->devType() == QInternal::Image ? static_cast<QImage*>(dc.device)
                                                                     : nullptr;
    case DcTarget::Painter:
        return nullptr;
    }
    return nullptr;
}

bool DcMono(DcData& dc)
{
    return dc.target == DcTarget::Memory && dc.s.bitmap && dc.s.bitmap->Mono();
}

QRect DcBounds(DcData& dc)
{
    QSize size;
    switch (dc.target) {
    case DcTarget::Memory:
        size = dc.s.bitmap ? dc.s.bitmap->image.size() : QSize();
        break;
    case DcTarget::Device:
        size = dc.device ? QSize(dc.device->width(), dc.device->height()) : QSize();
        break;
    case DcTarget::Painter:
        size = dc.pageSize ? *dc.pageSize
            : dc.painter && dc.painter->device()
            ? QSize(dc.painter->device()->width(), dc.painter->device()->height())
            : QSize();
        break;
    }
    return QRect(-dc.origin, size);
}

QRegion DcClip(DcData& dc)
{
    QRegion region(DcBounds(dc));
    if (dc.systemClip)
        region &= *dc.systemClip;
    if (dc.s.clip)
        region &= *dc.s.clip;
    return region;
}

void DcDrawn(DcData& dc, const QRect& device)
{
    const QRect rect = device & DcBounds(dc);
    if (rect.isEmpty())
        return;
    if (DcMono(dc))
        GdiNormalizeMono(dc.s.bitmap->image, rect.translated(dc.origin));
    if (dc.onDrawn)
        dc.onDrawn(rect.translated(dc.origin));
}

DcPainter::DcPainter(DcData& dc, const QRect& touched)
    : m_dc(dc)
    , m_touched(touched)
{
    if (dc.target == DcTarget::Painter) {
        m_painter = dc.painter;
        if (!m_painter || !m_painter->isActive()) {
            m_painter = nullptr;
            return;
        }
        m_painter->save();
    } else {
        QPaintDevice* device
            = dc.target == DcTarget::Memory ? static_cast<QPaintDevice*>(DcImage(dc)) : dc.device;
        if (!device || device->width() <= 0 || device->height() <= 0)
            return;
        m_own.emplace(device);
        if (!m_own->isActive()) {
            m_own.reset();
            return;
        }
        m_painter = &*m_own;
    }
    m_painter->translate(dc.origin);
    m_painter->setClipRegion(
        DcClip(dc), dc.target == DcTarget::Painter ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, !DcMono(dc));
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

DcPainter::~DcPainter()
{
    if (!m_painter)
        return;
    if (m_own)
        m_own->end();
    else
        m_painter->restore();
    DcDrawn(m_dc, m_touched);
}

// Mapping ---------------------------------------------------------------------

QPoint DcToDevice(const DcData& dc, int x, int y)
{
    const DcState& s = dc.s;
    if (s.mapMode == MM_TEXT)
        return { x - s.windowOrg.x() + s.viewportOrg.x(), y - s.windowOrg.y() + s.viewportOrg.y() };
    return { ScaleMul(x - s.windowOrg.x(), s.viewportExt.width(), s.windowExt.width()) + s.viewportOrg.x(),
        ScaleMul(y - s.windowOrg.y(), s.viewportExt.height(), s.windowExt.height()) + s.viewportOrg.y() };
}

QPoint DcToLogical(const DcData& dc, int x, int y)
{
    const DcState& s = dc.s;
    if (s.mapMode == MM_TEXT)
        return { x - s.viewportOrg.x() + s.windowOrg.x(), y - s.viewportOrg.y() + s.windowOrg.y() };
    return { ScaleMul(x - s.viewportOrg.x(), s.windowExt.width(), s.viewportExt.width()) + s.windowOrg.x(),
        ScaleMul(y - s.viewportOrg.y(), s.windowExt.height(), s.viewportExt.height()) + s.windowOrg.y() };
}

QRect DcToDeviceRect(const DcData& dc, const RECT& rect)
{
    const QPoint a = DcToDevice(dc, rect.left, rect.top);
    const QPoint b = DcToDevice(dc, rect.right, rect.bottom);
    const int left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    return QRect(left, top, right - left, bottom - top);
}

RECT DcToLogicalRect(const DcData& dc, const QRect& device)
{
    const QPoint a = DcToLogical(dc, device.left(), device.top());
    const QPoint b = DcToLogical(dc, device.left() + device.width(), device.top() + device.height());
    return RECT { std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
        std::max(a.y(), b.y()) };
}

double DcScaleX(const DcData& dc)
{
    const DcState& s = dc.s;
    if (s.mapMode == MM_TEXT || s.windowExt.width() == 0)
        return 1.0;
    return std::abs(static_cast<double>(s.viewportExt.width()) / s.windowExt.width());
}

double DcScaleY(const DcData& dc)
{
    const DcState& s = dc.s;
    if (s.mapMode == MM_TEXT || s.windowExt.height() == 0)
        return 1.0;
    return std::abs(static_cast<double>(s.viewportExt.height()) / s.windowExt.height());
}

int DcPenWidth(const DcData& dc, const PenData& pen)
{
    if (pen.width <= 1)
        return 1;
    return std::max(1, static_cast<int>(pen.width * DcScaleX(dc) + 0.5));
}

// CDC: lifetime ---------------------------------------------------------------

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    const HDC dc = Detach();
    return ::DeleteDC(dc);
}

BOOL CDC::Attach(HDC dc)
{
    DcData* d = DcOf(dc);
    if (m_hDC || !d)
        return FALSE;
    m_hDC = m_hAttribDC = dc;
    m_bPrinting = d->printing;
    std::lock_guard lock(Registry().Mutex());
    d->owner = this;
    return TRUE;
}

HDC CDC::Detach()
{
    const HDC dc = m_hDC;
    if (DcData* d = DcOf(dc)) {
        std::lock_guard lock(Registry().Mutex());
        if (d->owner == this)
            d->owner = nullptr;
    }
    m_hDC = m_hAttribDC = nullptr;
    m_bPrinting = FALSE;
    return dc;
}

CDC* CDC::FromHandle(HDC dc)
{
    DcData* d = DcOf(dc);
    if (!d)
        return nullptr;
    std::lock_guard lock(Registry().Mutex());
    if (d->owner)
        return d->owner;
    if (!d->wrapper) {
        d->wrapper = std::make_unique<CDC>();
        d->wrapper->m_hDC = d->wrapper->m_hAttribDC = dc;
        d->wrapper->m_bPrinting = d->printing;
    }
    return d->wrapper.get();
}

// CDC: state --------------------------------------------------------------------

int CDC::SaveDC()
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return 0;
    d->saved.push_back(d->s);
    return static_cast<int>(d->saved.size());
}

BOOL CDC::RestoreDC(int savedDC)
{
    DcData* d = DcOf(m_hDC);
    if (!d || savedDC == 0)
        return FALSE;
    const int depth = static_cast<int>(d->saved.size());
    const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
    if (level < 1 || level > depth)
        return FALSE;
    d->s = d->saved[static_cast<size_t>(level - 1)];
    d->saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ handle)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiLookup(handle);
    if (!d || !data)
        return nullptr;
    std::shared_ptr<GdiObjectData> previous;
    switch (data->kind) {
    case GdiKind::Pen:
        previous = d->s.pen;
        d->s.pen = std::static_pointer_cast<PenData>(data);
        break;
    case GdiKind::Brush:
        previous = d->s.brush;
        d->s.brush = std::static_pointer_cast<BrushData>(data);
        break;
    case GdiKind::Font:
        previous = d->s.font;
        d->s.font = std::static_pointer_cast<FontData>(data);
        break;
    case GdiKind::Bitmap:
        if (d->target != DcTarget::Memory)
            return nullptr;
        previous = d->s.bitmap;
        d->s.bitmap = std::static_pointer_cast<BitmapData>(data);
        break;
    case GdiKind::Region: {
        const int type = SelectClipRgn(static_cast<CRgn*>(CGdiObject::FromHandle(handle)));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    }
    return previous ? previous->Handle() : nullptr;
}

namespace {

template <typename T> T* SelectTyped(CDC& dc, CGdiObject* object, GdiKind kind)
{
    DcData* d = DcOf(dc.m_hDC);
    auto data = object ? GdiLookup(object->m_hObject) : nullptr;
    if (!d || !data || data->kind != kind)
        return nullptr;
    std::shared_ptr<GdiObjectData> previous;
    switch (kind) {
    case GdiKind::Pen:
        previous = std::exchange(d->s.pen, std::static_pointer_cast<PenData>(data));
        break;
    case GdiKind::Brush:
        previous = std::exchange(d->s.brush, std::static_pointer_cast<BrushData>(data));
        break;
    case GdiKind::Font:
        previous = std::exchange(d->s.font, std::static_pointer_cast<FontData>(data));
        break;
    case GdiKind::Bitmap:
        if (d->target != DcTarget::Memory)
            return nullptr;
        previous = std::exchange(d->s.bitmap, std::static_pointer_cast<BitmapData>(data));
        break;
    case GdiKind::Region:
        return nullptr;
    }
    return Wrap<T>(previous);
}

} // namespace

CPen* CDC::SelectObject(CPen* pen)
{
    return SelectTyped<CPen>(*this, pen, GdiKind::Pen);
}
CBrush* CDC::SelectObject(CBrush* brush)
{
    return SelectTyped<CBrush>(*this, brush, GdiKind::Brush);
}
CFont* CDC::SelectObject(CFont* font)
{
    return SelectTyped<CFont>(*this, font, GdiKind::Font);
}
CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return SelectTyped<CBitmap>(*this, bitmap, GdiKind::Bitmap);
}
int CDC::SelectObject(CRgn* region)
{
    return SelectClipRgn(region);
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(SelectObject(object->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(index)));
}

CPen* CDC::GetCurrentPen() const
{
    DcData* d = DcOf(m_hDC);
    return d ? Wrap<CPen>(d->s.pen) : nullptr;
}

CBrush* CDC::GetCurrentBrush() const
{
    DcData* d = DcOf(m_hDC);
    return d ? Wrap<CBrush>(d->s.brush) : nullptr;
}

CFont* CDC::GetCurrentFont() const
{
    DcData* d = DcOf(m_hDC);
    return d ? Wrap<CFont>(d->s.font) : nullptr;
}

CBitmap* CDC::GetCurrentBitmap() const
{
    DcData* d = DcOf(m_hDC);
    return d && d->target == DcTarget::Memory ? Wrap<CBitmap>(d->s.bitmap) : nullptr;
}

#define DC_SETTER(Type, Name, field, fallback)                                                               \
    Type CDC::Set##Name(Type value)                                                                          \
    {                                                                                                        \
        DcData* d = DcOf(m_hDC);                                                                             \
        if (!d)                                                                                              \
            return fallback;                                                                                 \
        return std::exchange(d->s.field, value);                                                             \
    }                                                                                                        \
    Type CDC::Get##Name() const                                                                              \
    {                                                                                                        \
        DcData* d = DcOf(m_hDC);                                                                             \
        return d ? d->s.field : fallback;                                                                    \
    }

DC_SETTER(int, StretchBltMode, stretchMode, 0)
DC_SETTER(UINT, TextAlign, textAlign, 0)
#undef DC_SETTER

COLORREF CDC::SetTextColor(COLORREF color)
{
    DcData* d = DcOf(m_hDC);
    return d ? std::exchange(d->s.textColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF CDC::GetTextColor() const
{
    DcData* d = DcOf(m_hDC);
    return d ? d->s.textColor : CLR_INVALID;
}
COLORREF CDC::SetBkColor(COLORREF color)
{
    DcData* d = DcOf(m_hDC);
    return d ? std::exchange(d->s.bkColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF CDC::GetBkColor() const
{
    DcData* d = DcOf(m_hDC);
    return d ? d->s.bkColor : CLR_INVALID;
}
int CDC::SetBkMode(int mode)
{
    DcData* d = DcOf(m_hDC);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(d->s.bkMode, mode);
}
int CDC::GetBkMode() const
{
    DcData* d = DcOf(m_hDC);
    return d ? d->s.bkMode : 0;
}
int CDC::SetROP2(int mode)
{
    DcData* d = DcOf(m_hDC);
    if (!d || mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return std::exchange(d->s.rop2, mode);
}
int CDC::GetROP2() const
{
    DcData* d = DcOf(m_hDC);
    return d ? d->s.rop2 : 0;
}
CPoint CDC::SetBrushOrg(int x, int y)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return {};
    const QPoint old = std::exchange(d->s.brushOrg, QPoint(x, y));
    return { old.x(), old.y() };
}
CPoint CDC::GetBrushOrg() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CPoint(d->s.brushOrg.x(), d->s.brushOrg.y()) : CPoint();
}

// CDC: mapping -------------------------------------------------------------------

int CDC::SetMapMode(int mode)
{
    DcData* d = DcOf(m_hDC);
    if (!d || mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    const int old = std::exchange(d->s.mapMode, mode);
    int unitsPerInch = 0;
    switch (mode) {
    case MM_LOMETRIC:
        unitsPerInch = 254;
        break;
    case MM_HIMETRIC:
        unitsPerInch = 2540;
        break;
    case MM_LOENGLISH:
        unitsPerInch = 100;
        break;
    case MM_HIENGLISH:
        unitsPerInch = 1000;
        break;
    case MM_TWIPS:
        unitsPerInch = 1440;
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        if (old == MM_TEXT) {
            d->s.windowExt = QSize(1, 1);
            d->s.viewportExt = QSize(1, 1);
        }
        break;
    default:
        d->s.windowExt = d->s.viewportExt = QSize(1, 1);
        break;
    }
    if (unitsPerInch) {
        d->s.windowExt = QSize(unitsPerInch, unitsPerInch);
        d->s.viewportExt = QSize(d->dpiX, -d->dpiY);
    }
    return old;
}

int CDC::GetMapMode() const
{
    DcData* d = DcOf(m_hDC);
    return d ? d->s.mapMode : 0;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return {};
    const QPoint old = std::exchange(d->s.windowOrg, QPoint(x, y));
    return { old.x(), old.y() };
}
CPoint CDC::GetWindowOrg() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CPoint(d->s.windowOrg.x(), d->s.windowOrg.y()) : CPoint();
}
CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    const CPoint old = GetWindowOrg();
    SetWindowOrg(old.x + dx, old.y + dy);
    return old;
}
CPoint CDC::SetViewportOrg(int x, int y)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return {};
    const QPoint old = std::exchange(d->s.viewportOrg, QPoint(x, y));
    return { old.x(), old.y() };
}
CPoint CDC::GetViewportOrg() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CPoint(d->s.viewportOrg.x(), d->s.viewportOrg.y()) : CPoint();
}
CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint old = GetViewportOrg();
    SetViewportOrg(old.x + dx, old.y + dy);
    return old;
}

namespace {

// MM_ISOTROPIC keeps one unit the same size on both axes: the viewport extent
// shrinks on the axis that would scale more.
void Isotropic(DcState& s)
{
    if (s.mapMode != MM_ISOTROPIC || s.windowExt.width() == 0 || s.windowExt.height() == 0)
        return;
    const double sx = std::abs(static_cast<double>(s.viewportExt.width()) / s.windowExt.width());
    const double sy = std::abs(static_cast<double>(s.viewportExt.height()) / s.windowExt.height());
    if (sx > sy) {
        const int w = static_cast<int>(std::abs(s.windowExt.width()) * sy + 0.5);
        s.viewportExt.setWidth(s.viewportExt.width() < 0 ? -w : w);
    } else if (sy > sx) {
        const int h = static_cast<int>(std::abs(s.windowExt.height()) * sx + 0.5);
        s.viewportExt.setHeight(s.viewportExt.height() < 0 ? -h : h);
    }
}

} // namespace

CSize CDC::SetWindowExt(int cx, int cy)
{
    DcData* d = DcOf(m_hDC);
    if (!d || cx == 0 || cy == 0)
        return {};
    const QSize old = d->s.windowExt;
    if (d->s.mapMode == MM_ISOTROPIC || d->s.mapMode == MM_ANISOTROPIC) {
        d->s.windowExt = QSize(cx, cy);
        Isotropic(d->s);
    }
    return { old.width(), old.height() };
}
CSize CDC::GetWindowExt() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CSize(d->s.windowExt.width(), d->s.windowExt.height()) : CSize();
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    DcData* d = DcOf(m_hDC);
    if (!d || cx == 0 || cy == 0)
        return {};
    const QSize old = d->s.viewportExt;
    if (d->s.mapMode == MM_ISOTROPIC || d->s.mapMode == MM_ANISOTROPIC) {
        d->s.viewportExt = QSize(cx, cy);
        Isotropic(d->s);
    }
    return { old.width(), old.height() };
}
CSize CDC::GetViewportExt() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CSize(d->s.viewportExt.width(), d->s.viewportExt.height()) : CSize();
}

void CDC::LPtoDP(POINT* points, int count) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !points)
        return;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DcToDevice(*d, points[i].x, points[i].y);
        points[i] = POINT { p.x(), p.y() };
    }
}
void CDC::LPtoDP(RECT* rect) const
{
    LPtoDP(reinterpret_cast<POINT*>(rect), 2);
}
void CDC::LPtoDP(SIZE* size) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !size || d->s.mapMode == MM_TEXT)
        return;
    size->cx = std::abs(ScaleMul(size->cx, d->s.viewportExt.width(), d->s.windowExt.width()));
    size->cy = std::abs(ScaleMul(size->cy, d->s.viewportExt.height(), d->s.windowExt.height()));
}
void CDC::DPtoLP(POINT* points, int count) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !points)
        return;
    for (int i = 0; i < count; ++i) {
        const QPoint p = DcToLogical(*d, points[i].x, points[i].y);
        points[i] = POINT { p.x(), p.y() };
    }
}
void CDC::DPtoLP(RECT* rect) const
{
    DPtoLP(reinterpret_cast<POINT*>(rect), 2);
}
void CDC::DPtoLP(SIZE* size) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !size || d->s.mapMode == MM_TEXT)
        return;
    size->cx = std::abs(ScaleMul(size->cx, d->s.windowExt.width(), d->s.viewportExt.width()));
    size->cy = std::abs(ScaleMul(size->cy, d->s.windowExt.height(), d->s.viewportExt.height()));
}

// CDC: clipping ------------------------------------------------------------------

int CDC::GetClipBox(RECT* rect) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return ERROR;
    const QRegion clip = DcClip(*d);
    *rect = clip.isEmpty() ? RECT {} : DcToLogicalRect(*d, clip.boundingRect());
    return RegionType(clip);
}

namespace {

QRegion AppClipOrBase(DcData& d)
{
    if (d.s.clip)
        return *d.s.clip;
    return QRegion(DcBounds(d));
}

} // namespace

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return ERROR;
    d->s.clip = AppClipOrBase(*d) & DcToDeviceRect(*d, RECT { left, top, right, bottom });
    return RegionType(DcClip(*d));
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return ERROR;
    d->s.clip = AppClipOrBase(*d) - DcToDeviceRect(*d, RECT { left, top, right, bottom });
    return RegionType(DcClip(*d));
}

int CDC::SelectClipRgn(CRgn* region)
{
    return SelectClipRgn(region, RGN_COPY);
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return ERROR;
    if (!region || !region->m_hObject) {
        if (mode != RGN_COPY)
            return ERROR;
        d->s.clip.reset();
        return RegionType(DcClip(*d));
    }
    auto data = GdiLookupAs<RegionData>(region->m_hObject, GdiKind::Region);
    if (!data)
        return ERROR;
    const QRegion current = AppClipOrBase(*d);
    switch (mode) {
    case RGN_COPY:
        d->s.clip = data->region;
        break;
    case RGN_AND:
        d->s.clip = current & data->region;
        break;
    case RGN_OR:
        d->s.clip = current | data->region;
        break;
    case RGN_XOR:
        d->s.clip = current ^ data->region;
        break;
    case RGN_DIFF:
        d->s.clip = current - data->region;
        break;
    default:
        return ERROR;
    }
    return RegionType(DcClip(*d));
}

BOOL CDC::PtVisible(int x, int y) const
{
    DcData* d = DcOf(m_hDC);
    return d && DcClip(*d).contains(DcToDevice(*d, x, y));
}

BOOL CDC::RectVisible(const RECT* rect) const
{
    DcData* d = DcOf(m_hDC);
    return d && rect && DcClip(*d).intersects(DcToDeviceRect(*d, *rect));
}

// CDC: device information and printing ----------------------------------------

int CDC::GetDeviceCaps(int index) const
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return 0;
    const QRect bounds = DcBounds(*d);
    const int width = d->printing ? bounds.width() : GetSystemMetrics(SM_CXSCREEN);
    const int height = d->printing ? bounds.height() : GetSystemMetrics(SM_CYSCREEN);
    switch (index) {
    case TECHNOLOGY:
        return d->printing ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES:
        return width;
    case VERTRES:
        return height;
    case HORZSIZE:
        return MulDiv(width, 254, d->dpiX * 10);
    case VERTSIZE:
        return MulDiv(height, 254, d->dpiY * 10);
    case BITSPIXEL:
        return DcMono(*d) ? 1 : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case LOGPIXELSX:
        return d->dpiX;
    case LOGPIXELSY:
        return d->dpiY;
    case SIZEPALETTE:
        return 0;
    case COLORRES:
        return 24;
    case PHYSICALWIDTH:
        return d->printing ? width : 0;
    case PHYSICALHEIGHT:
        return d->printing ? height : 0;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
        return 0;
    default:
        return 0;
    }
}

int CDC::StartDoc(LPCTSTR docName)
{
    DOCINFO info;
    info.lpszDocName = docName;
    return StartDoc(&info);
}

int CDC::StartDoc(DOCINFO* info)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !d->job)
        return SP_ERROR;
    return d->job->StartDoc(info && info->lpszDocName ? info->lpszDocName : "");
}

int CDC::StartPage()
{
    DcData* d = DcOf(m_hDC);
    return d && d->job ? d->job->StartPage() : SP_ERROR;
}

int CDC::EndPage()
{
    DcData* d = DcOf(m_hDC);
    return d && d->job ? d->job->EndPage() : SP_ERROR;
}

int CDC::EndDoc()
{
    DcData* d = DcOf(m_hDC);
    return d && d->job ? d->job->EndDoc() : SP_ERROR;
}

int CDC::AbortDoc()
{
    DcData* d = DcOf(m_hDC);
    return d && d->job ? d->job->AbortDoc() : SP_ERROR;
}

// Handle-level forms --------------------------------------------------------------

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->SelectObject(object) : nullptr;
}

int GetDeviceCaps(HDC dc, int index)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->GetDeviceCaps(index) : 0;
}

int SetBkMode(HDC dc, int mode)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->SetBkMode(mode) : 0;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->SetTextColor(color) : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->SetBkColor(color) : CLR_INVALID;
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->BitBlt(x, y, width, height, CDC::FromHandle(source), xSrc, ySrc, rop) : FALSE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    CDC* cdc = CDC::FromHandle(dc);
    if (!cdc)
        return 0;
    cdc->FillRect(rect, brush);
    return 1;
}

BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int length, SIZE* size)
{
    CDC* cdc = CDC::FromHandle(dc);
    if (!cdc || !size)
        return FALSE;
    *size = cdc->GetTextExtent(text, length);
    return TRUE;
}

QColor GdiColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

COLORREF GdiColorRef(QColor color)
{
    return RGB(color.red(), color.green(), color.blue());
}
