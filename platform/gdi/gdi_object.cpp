#include "platform/gdi/gdi_object.h"

#include <cstdlib>
#include <cstring>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/rgn.h"

namespace {

using Registry = HandleTable<HGDIOBJ, GdiObjectData>;

Registry& GetRegistry()
{
    static Registry* registry = new Registry; // outlives static CGdiObjects
    return *registry;
}

std::unique_ptr<CGdiObject> MakeWrapper(GdiKind kind)
{
    switch (kind) {
    case GdiKind::Pen:
        return std::make_unique<CPen>();
    case GdiKind::Brush:
        return std::make_unique<CBrush>();
    case GdiKind::Font:
        return std::make_unique<CFont>();
    case GdiKind::Bitmap:
        return std::make_unique<CBitmap>();
    case GdiKind::Region:
        return std::make_unique<CRgn>();
    }
    return nullptr;
}

std::shared_ptr<GdiObjectData> MakeStock(int index)
{
    auto pen = [](int style, COLORREF color) {
        auto p = std::make_shared<PenData>();
        p->style = style;
        p->width = 1;
        p->color = color;
        return std::shared_ptr<GdiObjectData>(p);
    };
    auto brush = [](UINT style, COLORREF color) {
        auto b = std::make_shared<BrushData>();
        b->style = style;
        b->color = color;
        return std::shared_ptr<GdiObjectData>(b);
    };
    auto font = [](int height, int weight, const char* face, BYTE pitch, int width = 0) {
        auto f = std::make_shared<FontData>();
        f->lf.lfHeight = height;
        f->lf.lfWidth = width;
        f->lf.lfWeight = weight;
        f->lf.lfPitchAndFamily = pitch;
        std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
        return std::shared_ptr<GdiObjectData>(f);
    };
    switch (index) {
    case WHITE_BRUSH:
        return brush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return brush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH:
        return brush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return brush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH:
        return brush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH:
        return brush(BS_NULL, 0);
    case WHITE_PEN:
        return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN:
        return pen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN:
        return pen(PS_NULL, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        return font(16, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN);
    case ANSI_VAR_FONT:
        return font(-11, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS);
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        return font(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS, 7); // 7-pixel average width
    case DEFAULT_GUI_FONT:
        return font(-11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS);
    default:
        return nullptr;
    }
}

} // namespace

GdiObjectData::~GdiObjectData()
{
    if (wrapper)
        wrapper->m_hObject = nullptr; // the wrapper must not delete a dead handle
}

HGDIOBJ GdiRegister(std::shared_ptr<GdiObjectData> data)
{
    return GetRegistry().Add(std::move(data));
}

bool GdiUnregister(HGDIOBJ handle)
{
    const auto data = GdiLookup(handle);
    if (!data)
        return false;
    if (auto doomed = GetRegistry().Take(handle, [](const GdiObjectData& d) { return d.stock; })) {
        std::lock_guard lock(GetRegistry().Mutex());
        doomed->owner = nullptr;
    }
    return true;
}

std::shared_ptr<GdiObjectData> GdiLookup(HGDIOBJ handle)
{
    return GetRegistry().Find(handle);
}

CGdiObject* GdiWrapperFor(const std::shared_ptr<GdiObjectData>& data)
{
    if (!data)
        return nullptr;
    std::lock_guard lock(GetRegistry().Mutex());
    if (data->owner)
        return data->owner;
    if (!data->wrapper) {
        data->wrapper = MakeWrapper(data->kind);
        data->wrapper->m_hObject = data->Handle();
    }
    return data->wrapper.get();
}

std::shared_ptr<GdiObjectData> GdiStock(int index)
{
    static std::shared_ptr<GdiObjectData> table[DEFAULT_GUI_FONT + 1];
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i <= DEFAULT_GUI_FONT; ++i) {
            table[i] = MakeStock(i);
            if (table[i]) {
                table[i]->stock = true;
                GdiRegister(table[i]);
            }
        }
    });
    if (index < 0 || index > DEFAULT_GUI_FONT)
        return nullptr;
    return table[index];
}

std::shared_ptr<BitmapData> GdiDefaultBitmap()
{
    static const std::shared_ptr<BitmapData> bitmap = [] {
        auto b = std::make_shared<BitmapData>();
        b->image = GdiNewImage(1, 1);
        b->bitsPixel = 1;
        b->stock = true;
        GdiRegister(b);
        return b;
    }();
    return bitmap;
}

QImage GdiNewImage(int width, int height)
{
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    return image;
}

void GdiNormalizeMono(QImage& image, const QRect& rect)
{
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] = GdiMonoOf(line[x]);
    }
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    long long q = product / c;
    const long long rem = product % c;
    if (2 * std::llabs(rem) >= std::llabs(static_cast<long long>(c)))
        q += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

// CGdiObject ---------------------------------------------------------------

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::AttachNew(HGDIOBJ handle)
{
    if (!handle)
        return FALSE;
    m_hObject = handle;
    if (auto data = GdiLookup(handle)) {
        std::lock_guard lock(GetRegistry().Mutex());
        data->owner = this;
    }
    return TRUE;
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (m_hObject || !GdiLookup(handle))
        return FALSE;
    return AttachNew(handle);
}

HGDIOBJ CGdiObject::Detach()
{
    const HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    if (auto data = GdiLookup(handle)) {
        std::lock_guard lock(GetRegistry().Mutex());
        if (data->owner == this)
            data->owner = nullptr;
    }
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const HGDIOBJ handle = Detach();
    return ::DeleteObject(handle);
}

int CGdiObject::GetObject(int count, void* buffer) const
{
    return ::GetObject(m_hObject, count, buffer);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int index)
{
    if (m_hObject)
        return FALSE;
    return Attach(::GetStockObject(index));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    return GdiWrapperFor(GdiLookup(handle));
}

HGDIOBJ GetStockObject(int index)
{
    auto data = GdiStock(index);
    return data ? data->Handle() : nullptr;
}

BOOL DeleteObject(HGDIOBJ handle)
{
    return GdiUnregister(handle) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ handle)
{
    auto data = GdiLookup(handle);
    if (!data)
        return 0;
    switch (data->kind) {
    case GdiKind::Pen:
        return OBJ_PEN;
    case GdiKind::Brush:
        return OBJ_BRUSH;
    case GdiKind::Font:
        return OBJ_FONT;
    case GdiKind::Bitmap:
        return OBJ_BITMAP;
    case GdiKind::Region:
        return OBJ_REGION;
    }
    return 0;
}

namespace {

template <typename Record> int CopyRecord(const Record& record, int count, void* buffer)
{
    if (!buffer)
        return sizeof(Record);
    if (count < static_cast<int>(sizeof(Record)))
        return 0;
    std::memcpy(buffer, &record, sizeof(Record));
    return sizeof(Record);
}

} // namespace

int GetObject(HGDIOBJ handle, int count, void* buffer)
{
    auto data = GdiLookup(handle);
    if (!data)
        return 0;
    switch (data->kind) {
    case GdiKind::Pen: {
        const auto& p = static_cast<const PenData&>(*data);
        LOGPEN record;
        record.lopnStyle = static_cast<UINT>(p.style);
        record.lopnWidth.x = p.width;
        record.lopnColor = p.color;
        return CopyRecord(record, count, buffer);
    }
    case GdiKind::Brush: {
        const auto& b = static_cast<const BrushData&>(*data);
        LOGBRUSH record;
        record.lbStyle = b.style;
        record.lbColor = b.color;
        record.lbHatch = static_cast<UINT_PTR>(b.hatch);
        return CopyRecord(record, count, buffer);
    }
    case GdiKind::Font:
        return CopyRecord(static_cast<const FontData&>(*data).lf, count, buffer);
    case GdiKind::Bitmap: {
        const auto& b = static_cast<const BitmapData&>(*data);
        BITMAP record;
        record.bmWidth = b.image.width();
        record.bmHeight = b.image.height();
        record.bmBitsPixel = static_cast<WORD>(b.bitsPixel);
        record.bmWidthBytes = b.Mono() ? ((b.image.width() + 15) / 16) * 2 : b.image.width() * 4;
        return CopyRecord(record, count, buffer);
    }
    case GdiKind::Region:
        return 0;
    }
    return 0;
}

// CPen ---------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color)
{
    const int kind = style & PS_STYLE_MASK;
    if (kind > PS_ALTERNATE)
        return nullptr;
    auto pen = std::make_shared<PenData>();
    pen->style = style;
    pen->width = std::max(width, 0);
    pen->color = color & 0xFFFFFF;
    // Cosmetic styled pens are one pixel wide; wider ones draw solid.
    if (pen->width > 1 && (style & PS_TYPE_MASK) == PS_COSMETIC && kind >= PS_DASH && kind <= PS_DASHDOTDOT)
        pen->style = (style & ~PS_STYLE_MASK) | PS_SOLID;
    return GdiRegister(pen);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreatePen(style, width, color));
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int, const DWORD*)
{
    if (m_hObject || !brush)
        return FALSE;
    const COLORREF color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor;
    const int pen = brush->lbStyle == BS_NULL ? ((style & ~PS_STYLE_MASK) | PS_NULL) : style;
    return AttachNew(::CreatePen(pen, width, color));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* record)
{
    if (!record)
        return FALSE;
    return CreatePen(static_cast<int>(record->lopnStyle), record->lopnWidth.x, record->lopnColor);
}

BOOL CPen::GetLogPen(LOGPEN* record) const
{
    return GetObject(sizeof(LOGPEN), record) > 0;
}

CPen* CPen::FromHandle(HPEN handle)
{
    return dynamic_cast<CPen*>(GdiWrapperFor(GdiLookupAs<PenData>(handle, GdiKind::Pen)));
}

// CBrush -------------------------------------------------------------------

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto brush = std::make_shared<BrushData>();
    brush->color = color & 0xFFFFFF;
    return GdiRegister(brush);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto brush = std::make_shared<BrushData>();
    brush->style = BS_HATCHED;
    brush->hatch = hatch;
    brush->color = color & 0xFFFFFF;
    return GdiRegister(brush);
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateHatchBrush(hatch, color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pattern)
{
    if (m_hObject || !pattern)
        return FALSE;
    auto bitmap = GdiLookupAs<BitmapData>(pattern->m_hObject, GdiKind::Bitmap);
    if (!bitmap || bitmap->image.isNull())
        return FALSE;
    auto brush = std::make_shared<BrushData>();
    brush->style = BS_PATTERN;
    brush->pattern = bitmap->image.copy();
    brush->monoPattern = bitmap->Mono();
    return AttachNew(GdiRegister(brush));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* record)
{
    if (m_hObject || !record)
        return FALSE;
    switch (record->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(record->lbColor);
    case BS_NULL:
        return CreateStockObject(NULL_BRUSH);
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(record->lbHatch), record->lbColor);
    default:
        return FALSE;
    }
}

BOOL CBrush::GetLogBrush(LOGBRUSH* record) const
{
    return GetObject(sizeof(LOGBRUSH), record) > 0;
}

CBrush* CBrush::FromHandle(HBRUSH handle)
{
    return dynamic_cast<CBrush*>(GdiWrapperFor(GdiLookupAs<BrushData>(handle, GdiKind::Brush)));
}

// CFont --------------------------------------------------------------------

HFONT CreateFontIndirect(const LOGFONT* record)
{
    if (!record)
        return nullptr;
    auto font = std::make_shared<FontData>();
    font->lf = *record;
    font->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return GdiRegister(font);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* record)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateFontIndirect(record));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
    BYTE pitchAndFamily, LPCTSTR faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* record) const
{
    return GetObject(sizeof(LOGFONT), record);
}

CFont* CFont::FromHandle(HFONT handle)
{
    return dynamic_cast<CFont*>(GdiWrapperFor(GdiLookupAs<FontData>(handle, GdiKind::Font)));
}

// CRgn ---------------------------------------------------------------------

namespace {

int RegionType(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect RectOf(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::shared_ptr<RegionData> RegionOf(HGDIOBJ handle)
{
    return GdiLookupAs<RegionData>(handle, GdiKind::Region);
}

} // namespace

HRGN GdiCreateRegion(const QRegion& region)
{
    auto data = std::make_shared<RegionData>();
    data->region = region;
    return GdiRegister(data);
}

QRegion GdiRegion(HRGN region)
{
    auto data = RegionOf(region);
    return data ? data->region : QRegion();
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return GdiCreateRegion(QRegion(RectOf(left, top, right, bottom)));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    const QRect r = RectOf(left, top, right, bottom);
    const int ew = std::min(std::abs(ellipseWidth), r.width());
    const int eh = std::min(std::abs(ellipseHeight), r.height());
    if (ew < 2 || eh < 2)
        return GdiCreateRegion(QRegion(r));
    QRegion region(r.adjusted(ew / 2, 0, -(ew / 2), 0));
    region += QRegion(r.adjusted(0, eh / 2, 0, -(eh / 2)));
    const QRect corner(0, 0, ew, eh);
    region += QRegion(corner.translated(r.topLeft()), QRegion::Ellipse);
    region += QRegion(corner.translated(r.right() + 1 - ew, r.top()), QRegion::Ellipse);
    region += QRegion(corner.translated(r.left(), r.bottom() + 1 - eh), QRegion::Ellipse);
    region += QRegion(corner.translated(r.right() + 1 - ew, r.bottom() + 1 - eh), QRegion::Ellipse);
    return GdiCreateRegion(region & QRegion(r));
}

int CombineRgn(HRGN destination, HRGN a, HRGN b, int mode)
{
    auto dst = RegionOf(destination);
    auto ra = RegionOf(a);
    if (!dst || !ra)
        return ERROR;
    if (mode == RGN_COPY) {
        dst->region = ra->region;
        return RegionType(dst->region);
    }
    auto rb = RegionOf(b);
    if (!rb)
        return ERROR;
    switch (mode) {
    case RGN_AND:
        dst->region = ra->region & rb->region;
        break;
    case RGN_OR:
        dst->region = ra->region | rb->region;
        break;
    case RGN_XOR:
        dst->region = ra->region ^ rb->region;
        break;
    case RGN_DIFF:
        dst->region = ra->region - rb->region;
        break;
    default:
        return ERROR;
    }
    return RegionType(dst->region);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateRectRgn(left, top, right, bottom));
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect)
{
    return rect && CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(GdiCreateRegion(QRegion(RectOf(left, top, right, bottom), QRegion::Ellipse)));
}

BOOL CRgn::CreateEllipticRgnIndirect(const RECT* rect)
{
    return rect && CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    if (m_hObject || !points || count < 3)
        return FALSE;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    return AttachNew(GdiCreateRegion(QRegion(polygon, fillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill)));
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    return ::CombineRgn(m_hObject, a ? a->m_hObject : nullptr, b ? b->m_hObject : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return CombineRgn(source, nullptr, RGN_COPY);
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    if (auto data = RegionOf(m_hObject))
        data->region = QRegion(RectOf(left, top, right, bottom));
}

int CRgn::OffsetRgn(int dx, int dy)
{
    auto data = RegionOf(m_hObject);
    if (!data)
        return ERROR;
    data->region.translate(dx, dy);
    return RegionType(data->region);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    auto data = RegionOf(m_hObject);
    return data && data->region.contains(QPoint(x, y));
}

BOOL CRgn::RectInRegion(const RECT* rect) const
{
    auto data = RegionOf(m_hObject);
    return data && rect && data->region.intersects(RectOf(rect->left, rect->top, rect->right, rect->bottom));
}

int CRgn::GetRgnBox(RECT* rect) const
{
    auto data = RegionOf(m_hObject);
    if (!data || !rect)
        return ERROR;
    const QRect box = data->region.boundingRect();
    *rect = data->region.isEmpty() ? RECT {}
                                   : RECT { box.left(), box.top(), box.right() + 1, box.bottom() + 1 };
    return RegionType(data->region);
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    auto a = RegionOf(m_hObject);
    auto b = other ? RegionOf(other->m_hObject) : nullptr;
    return a && b && a->region == b->region;
}

CRgn* CRgn::FromHandle(HRGN handle)
{
    return dynamic_cast<CRgn*>(GdiWrapperFor(RegionOf(handle)));
}
