// Raster operations, pixels, icons and DrawState.

#include <QPaintEngine>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/system_colors.h"

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// Ternary raster operation: bit i of the index is the result for pattern,
// source and destination bits (i = P * 4 + S * 2 + D).
quint32 Rop3(quint8 index, quint32 p, quint32 s, quint32 d)
{
    switch (index) {
    case 0x00:
        return 0;
    case 0xFF:
        return ~0u;
    case 0xCC:
        return s;
    case 0x33:
        return ~s;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    case 0x66:
        return s ^ d;
    case 0x44:
        return s & ~d;
    case 0x11:
        return ~(s | d);
    case 0xBB:
        return ~s | d;
    case 0xC0:
        return p & s;
    case 0xF0:
        return p;
    case 0x5A:
        return p ^ d;
    case 0x55:
        return ~d;
    default:
        break;
    }
    quint32 result = 0;
    for (int i = 0; i < 8; ++i)
        if (index & (1 << i))
            result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return result;
}

bool RasterEngine(QPainter& p)
{
    return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
}

// The source, converted to the destination's terms and sampled to the
// destination rectangle's size (nearest pixel; flips mirror).
QImage SampleSource(DcData& dst, DcData& src, const QRect& srect, const QSize& size, bool flipX, bool flipY)
{
    const QImage* image = DcImage(src);
    QImage out(size, QImage::Format_RGB32);
    if (!image || size.isEmpty())
        return out;
    const bool srcMono = DcMono(src), dstMono = DcMono(dst);
    const QRgb text = DcSurfaceColor(dst, dst.s.textColor), back = DcSurfaceColor(dst, dst.s.bkColor);
    const quint32 srcBk = GdiRgb(src.s.bkColor) & 0xFFFFFFu;
    const QRect bounds = image->rect();
    for (int j = 0; j < size.height(); ++j) {
        const int jj = flipY ? size.height() - 1 - j : j;
        const int v = srect.top()
            + static_cast<int>(static_cast<long long>(jj) * srect.height() / size.height()) + src.origin.y();
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        const QRgb* row = (v >= 0 && v < bounds.height())
            ? reinterpret_cast<const QRgb*>(image->constScanLine(v))
            : nullptr;
        for (int i = 0; i < size.width(); ++i) {
            const int ii = flipX ? size.width() - 1 - i : i;
            const int u = srect.left()
                + static_cast<int>(static_cast<long long>(ii) * srect.width() / size.width())
                + src.origin.x();
            QRgb s = (row && u >= 0 && u < bounds.width()) ? row[u] : kBlack;
            if (srcMono && !dstMono)
                s = (s & 0xFFFFFFu) ? back : text;
            else if (!srcMono && dstMono)
                s = ((s & 0xFFFFFFu) == srcBk) ? kWhite : kBlack;
            line[i] = s | kBlack;
        }
    }
    return out;
}

BOOL Blit(DcData& dst, int x, int y, int w, int h, DcData* src, int sx, int sy, int sw, int sh, DWORD rop)
{
    const quint8 index = static_cast<quint8>((rop >> 16) & 0xFF);
    const bool needS = ((index >> 2) & 0x33) != (index & 0x33);
    const bool needP = ((index >> 4) & 0x0F) != (index & 0x0F);
    const QPoint d0 = DcToDevice(dst, x, y), d1 = DcToDevice(dst, x + w, y + h);
    const int dw = d1.x() - d0.x(), dh = d1.y() - d0.y();
    if (dw == 0 || dh == 0)
        return TRUE;
    bool flipX = dw < 0, flipY = dh < 0;
    // A negative extent runs back from the start pixel, which it includes.
    const QRect drect(flipX ? d1.x() + 1 : d0.x(), flipY ? d1.y() + 1 : d0.y(), std::abs(dw), std::abs(dh));
    QImage source;
    if (needS) {
        if (!src || !DcImage(*src))
            return FALSE;
        const QPoint s0 = DcToDevice(*src, sx, sy), s1 = DcToDevice(*src, sx + sw, sy + sh);
        const int sdw = s1.x() - s0.x(), sdh = s1.y() - s0.y();
        if (sdw == 0 || sdh == 0)
            return TRUE;
        flipX ^= sdw < 0;
        flipY ^= sdh < 0;
        const QRect srect(
            sdw < 0 ? s1.x() + 1 : s0.x(), sdh < 0 ? s1.y() + 1 : s0.y(), std::abs(sdw), std::abs(sdh));
        source = SampleSource(dst, *src, srect, drect.size(), flipX, flipY);
    }
    const BrushData& brush = *dst.s.brush;
    if (QImage* image = DcImage(dst)) {
        const QRegion area = DcClip(dst) & drect;
        const QPoint o = dst.origin;
        for (const QRect& r : area) {
            for (int yy = r.top(); yy <= r.bottom(); ++yy) {
                auto* row = reinterpret_cast<QRgb*>(image->scanLine(yy + o.y()));
                const QRgb* srow
                    = needS ? reinterpret_cast<const QRgb*>(source.constScanLine(yy - drect.top())) : nullptr;
                if (index == 0xCC) {
                    std::memcpy(row + r.left() + o.x(), srow + (r.left() - drect.left()),
                        static_cast<size_t>(r.width()) * sizeof(QRgb));
                    continue;
                }
                for (int xx = r.left(); xx <= r.right(); ++xx) {
                    const quint32 p = needP ? DcBrushPixel(dst, brush, xx, yy) : 0u;
                    const quint32 s = needS ? srow[xx - drect.left()] : 0u;
                    QRgb& d = row[xx + o.x()];
                    d = kBlack | (Rop3(index, p, s, d) & 0xFFFFFFu);
                }
            }
        }
        DcDrawn(dst, drect);
        return TRUE;
    }
    // A painter-only surface: copies are exact, the rest approximated.
    DcPainter p(dst, drect);
    if (!p)
        return FALSE;
    const bool raster = RasterEngine(*p);
    if (!needS) {
        switch (index) {
        case 0x00:
            p->fillRect(drect, Qt::black);
            break;
        case 0xFF:
            p->fillRect(drect, Qt::white);
            break;
        case 0xF0:
            p->setBrushOrigin(dst.s.brushOrg);
            p->fillRect(drect, DcQBrush(dst, brush));
            break;
        case 0x55:
            if (raster) {
                p->setCompositionMode(QPainter::RasterOp_NotDestination);
                p->fillRect(drect, Qt::black);
            }
            break;
        case 0x5A:
            if (raster) {
                p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                p->fillRect(drect, DcQBrush(dst, brush));
            }
            break;
        default:
            break;
        }
        return TRUE;
    }
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    switch (index) {
    case 0x33:
        image.invertPixels();
        break;
    case 0x88:
        if (raster)
            p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        else
            for (int yy = 0; yy < image.height(); ++yy)
                for (int xx = 0; xx < image.width(); ++xx)
                    if ((image.pixel(xx, yy) & 0xFFFFFFu) == 0xFFFFFFu)
                        image.setPixel(xx, yy, 0u);
        break;
    case 0xEE:
        if (raster)
            p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        else
            for (int yy = 0; yy < image.height(); ++yy)
                for (int xx = 0; xx < image.width(); ++xx)
                    if ((image.pixel(xx, yy) & 0xFFFFFFu) == 0)
                        image.setPixel(xx, yy, 0u);
        break;
    case 0x66:
        if (raster)
            p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    default:
        break;
    }
    p->drawImage(drect.topLeft(), image);
    return TRUE;
}

QImage Tinted(const QImage& shape, QRgb color)
{
    QImage out = shape.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (color & 0xFFFFFFu) | (static_cast<quint32>(qAlpha(line[x])) << 24);
    }
    return out;
}

QSize DeviceSize(const DcData& dc, CSize size)
{
    return QSize(
        static_cast<int>(size.cx * DcScaleX(dc) + 0.5), static_cast<int>(size.cy * DcScaleY(dc) + 0.5));
}

void Emboss(DcData& dc, const QImage& shape, QPoint at)
{
    DcPaintShape(dc, shape, at + QPoint(1, 1), GetSysColor(COLOR_3DHILIGHT));
    DcPaintShape(dc, shape, at, GetSysColor(COLOR_3DSHADOW));
}

COLORREF BrushColor(HBRUSH brush, COLORREF fallback)
{
    auto data = GdiLookupAs<BrushData>(brush, GdiKind::Brush);
    return data && data->style == BS_SOLID ? data->color : fallback;
}

} // namespace

QImage DcShapeOf(const QImage& rgb)
{
    QImage shape(rgb.size(), QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            dst[x] = (src[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0u : kBlack;
    }
    return shape;
}

void DcPaintShape(DcData& dc, const QImage& shape, QPoint at, COLORREF color)
{
    const QRect rect(at, shape.size());
    DcPainter p(dc, rect);
    if (p)
        p->drawImage(at, Tinted(shape, DcSurfaceColor(dc, color)));
}

void DcDrawMasked(DcData& dc, QPoint at, QSize size, const QImage& color, const QImage& mask, UINT flags)
{
    if (size.isEmpty() || color.isNull())
        return;
    const QImage c
        = color.size() == size ? color : color.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage m = mask.isNull()
        ? QImage()
        : (mask.size() == size ? mask : mask.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (m.isNull()) {
        m = QImage(size, QImage::Format_RGB32);
        m.fill(kBlack);
    }
    const QRect rect(at, size);
    if (QImage* image = DcImage(dc)) {
        const bool useMask = flags & DI_MASK, useImage = flags & DI_IMAGE;
        const QPoint o = dc.origin;
        for (const QRect& r : DcClip(dc) & rect)
            for (int y = r.top(); y <= r.bottom(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(image->scanLine(y + o.y()));
                for (int x = r.left(); x <= r.right(); ++x) {
                    const quint32 cp = c.pixel(x - at.x(), y - at.y()) & 0xFFFFFFu;
                    const quint32 mp = m.pixel(x - at.x(), y - at.y()) & 0xFFFFFFu;
                    quint32 d = row[x + o.x()] & 0xFFFFFFu;
                    if (useMask && useImage)
                        d = (d & mp) ^ cp;
                    else if (useMask)
                        d &= mp;
                    else
                        d = cp;
                    row[x + o.x()] = kBlack | d;
                }
            }
        DcDrawn(dc, rect);
        return;
    }
    QImage argb(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            argb.setPixel(x, y, (m.pixel(x, y) & 0xFFFFFFu) ? 0u : (c.pixel(x, y) | kBlack));
    DcPainter p(dc, rect);
    if (p)
        p->drawImage(at, argb);
}

// CDC ---------------------------------------------------------------------------

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    DcData* s = source ? DcOf(source->m_hDC) : nullptr;
    return Blit(*d, x, y, width, height, s, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
    int srcHeight, DWORD rop)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    DcData* s = source ? DcOf(source->m_hDC) : nullptr;
    return Blit(*d, x, y, width, height, s, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    const quint8 index = static_cast<quint8>((rop >> 16) & 0xFF);
    if (((index >> 2) & 0x33) != (index & 0x33))
        return FALSE; // needs a source
    return Blit(*d, x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return CLR_INVALID;
    QImage* image = DcImage(*d);
    const QPoint p = DcToDevice(*d, x, y);
    if (!image || !DcClip(*d).contains(p))
        return CLR_INVALID;
    return GdiRef(image->pixel(p + d->origin));
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return CLR_INVALID;
    const QPoint p = DcToDevice(*d, x, y);
    if (!DcClip(*d).contains(p))
        return CLR_INVALID;
    const QRgb rgb = DcSurfaceColor(*d, color);
    if (QImage* image = DcImage(*d)) {
        image->setPixel(p + d->origin, rgb);
        DcDrawn(*d, QRect(p, QSize(1, 1)));
    } else {
        DcFillDevice(*d, QRect(p, QSize(1, 1)), color);
    }
    return GdiRef(rgb);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiIconOf(icon);
    if (!d || !data)
        return FALSE;
    DcDrawMasked(*d, DcToDevice(*d, x, y), data->color.size(), data->color, data->mask, DI_NORMAL);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiIconOf(icon);
    if (!d || !data)
        return FALSE;
    const QPoint at = DcToDevice(*d, point.x, point.y);
    const QSize natural = data->color.size();
    const QSize extent = (size.cx && size.cy) ? DeviceSize(*d, size) : natural;
    if (flags & (DSS_DISABLED | DSS_MONO)) {
        QImage composite(natural, QImage::Format_RGB32);
        for (int y = 0; y < natural.height(); ++y)
            for (int x = 0; x < natural.width(); ++x)
                composite.setPixel(
                    x, y, (data->mask.pixel(x, y) & 0xFFFFFFu) ? kWhite : (data->color.pixel(x, y) | kBlack));
        const QImage shape = DcShapeOf(composite).copy(0, 0, extent.width(), extent.height());
        if (flags & DSS_DISABLED)
            Emboss(*d, shape, at);
        else
            DcPaintShape(*d, shape, at, BrushColor(brush, d->s.textColor));
        return TRUE;
    }
    DcDrawMasked(*d, at, natural, data->color, data->mask, DI_NORMAL);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return DrawState(point, size, icon, flags, brush ? brush->m_hObject : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiLookupAs<BitmapData>(bitmap, GdiKind::Bitmap);
    if (!d || !data)
        return FALSE;
    const QPoint at = DcToDevice(*d, point.x, point.y);
    QImage image = data->image;
    if (size.cx > 0 && size.cy > 0)
        image = image.copy(0, 0, std::min(image.width(), static_cast<int>(size.cx)),
            std::min(image.height(), static_cast<int>(size.cy)));
    if (flags & DSS_DISABLED) {
        Emboss(*d, DcShapeOf(image), at);
        return TRUE;
    }
    if (flags & DSS_MONO) {
        DcPaintShape(*d, DcShapeOf(image), at, BrushColor(brush, d->s.textColor));
        return TRUE;
    }
    DcPainter p(*d, QRect(at, image.size()));
    if (p) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->drawImage(at, image);
    }
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush)
{
    return DrawState(
        point, size, bitmap ? bitmap->m_hObject : nullptr, flags, brush ? brush->m_hObject : nullptr);
}

BOOL CDC::DrawState(
    CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int length, HBRUSH brush)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !text)
        return FALSE;
    const QString qtext = QString::fromUtf8(text, length > 0 ? length : static_cast<int>(std::strlen(text)));
    const UINT format = DT_SINGLELINE | DT_NOCLIP | (prefixText ? 0 : DT_NOPREFIX);
    const QPoint at = DcToDevice(*d, point.x, point.y);
    QRect extent;
    DcDrawTextDevice(*d, qtext, QRect(at, QSize(1, 1)), format | DT_CALCRECT, &extent, std::nullopt);
    const QSize box = (size.cx && size.cy) ? DeviceSize(*d, size) : extent.size();
    const int mode = std::exchange(d->s.bkMode, TRANSPARENT);
    if (flags & DSS_DISABLED) {
        DcDrawTextDevice(
            *d, qtext, QRect(at + QPoint(1, 1), box), format, nullptr, GetSysColor(COLOR_3DHILIGHT), false);
        DcDrawTextDevice(*d, qtext, QRect(at, box), format, nullptr, GetSysColor(COLOR_3DSHADOW), false);
    } else {
        const COLORREF color = (flags & DSS_MONO) ? BrushColor(brush, d->s.textColor) : d->s.textColor;
        DcDrawTextDevice(*d, qtext, QRect(at, box), format, nullptr, color, false);
    }
    d->s.bkMode = mode;
    return TRUE;
}

BOOL CDC::DrawState(
    CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int length, CBrush* brush)
{
    return DrawState(point, size, text, flags, prefixText, length, brush ? brush->m_hObject : nullptr);
}
