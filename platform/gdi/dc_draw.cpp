// Lines, shapes, fills, edges and frame controls.

#include <QPaintEngine>
#include <QPainterPath>
#include <cmath>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/system_colors.h"

namespace {

// On/off pixel counts of the cosmetic pen styles.
const std::vector<int>& StylePattern(int style)
{
    static const std::vector<int> kSolid;
    static const std::vector<int> kDash { 18, 6 };
    static const std::vector<int> kDot { 3, 3 };
    static const std::vector<int> kDashDot { 9, 6, 3, 6 };
    static const std::vector<int> kDashDotDot { 9, 3, 3, 3, 3, 3 };
    static const std::vector<int> kAlternate { 1, 1 };
    switch (style) {
    case PS_DASH:
        return kDash;
    case PS_DOT:
        return kDot;
    case PS_DASHDOT:
        return kDashDot;
    case PS_DASHDOTDOT:
        return kDashDotDot;
    case PS_ALTERNATE:
        return kAlternate;
    default:
        return kSolid;
    }
}

bool HatchBit(int hatch, int x, int y)
{
    x &= 7;
    y &= 7;
    switch (hatch) {
    case HS_HORIZONTAL:
        return y == 4;
    case HS_VERTICAL:
        return x == 4;
    case HS_FDIAGONAL:
        return x == y;
    case HS_BDIAGONAL:
        return x + y == 7;
    case HS_CROSS:
        return x == 4 || y == 4;
    case HS_DIAGCROSS:
        return x == y || x + y == 7;
    default:
        return false;
    }
}

QRgb Rop2(int rop, QRgb pen, QRgb dst)
{
    const quint32 p = pen & 0xFFFFFFu, d = dst & 0xFFFFFFu;
    quint32 r = d;
    switch (rop) {
    case R2_BLACK:
        r = 0;
        break;
    case R2_NOTMERGEPEN:
        r = ~(p | d);
        break;
    case R2_MASKNOTPEN:
        r = ~p & d;
        break;
    case R2_NOTCOPYPEN:
        r = ~p;
        break;
    case R2_MASKPENNOT:
        r = p & ~d;
        break;
    case R2_NOT:
        r = ~d;
        break;
    case R2_XORPEN:
        r = p ^ d;
        break;
    case R2_NOTMASKPEN:
        r = ~(p & d);
        break;
    case R2_MASKPEN:
        r = p & d;
        break;
    case R2_NOTXORPEN:
        r = ~(p ^ d);
        break;
    case R2_NOP:
        r = d;
        break;
    case R2_MERGENOTPEN:
        r = ~p | d;
        break;
    case R2_COPYPEN:
        r = p;
        break;
    case R2_MERGEPENNOT:
        r = p | ~d;
        break;
    case R2_MERGEPEN:
        r = p | d;
        break;
    case R2_WHITE:
        r = 0xFFFFFFu;
        break;
    default:
        break;
    }
    return 0xFF000000u | (r & 0xFFFFFFu);
}

QPen QtPen(DcData& dc, const PenData& pen)
{
    if (pen.Style() == PS_NULL)
        return Qt::NoPen;
    QPen q(QColor::fromRgb(DcSurfaceColor(dc, pen.color)));
    q.setWidth(DcPenWidth(dc, pen));
    switch (pen.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE:
        q.setCapStyle(Qt::SquareCap);
        break;
    case PS_ENDCAP_FLAT:
        q.setCapStyle(Qt::FlatCap);
        break;
    default:
        q.setCapStyle(pen.Thin() ? Qt::SquareCap : Qt::RoundCap);
        break;
    }
    switch (pen.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
        q.setJoinStyle(Qt::BevelJoin);
        break;
    case PS_JOIN_MITER:
        q.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        q.setJoinStyle(pen.Thin() ? Qt::MiterJoin : Qt::RoundJoin);
        break;
    }
    switch (pen.Style()) {
    case PS_DASH:
        q.setStyle(Qt::DashLine);
        break;
    case PS_DOT:
    case PS_ALTERNATE:
        q.setStyle(Qt::DotLine);
        break;
    case PS_DASHDOT:
        q.setStyle(Qt::DashDotLine);
        break;
    case PS_DASHDOTDOT:
        q.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return q;
}

std::optional<QRgb> GapColor(DcData& dc)
{
    if (dc.s.bkMode == OPAQUE)
        return DcSurfaceColor(dc, dc.s.bkColor);
    return std::nullopt;
}

// A line in device coordinates with the selected pen, through the ROP2.
void DeviceLine(DcData& dc, QPoint a, QPoint b)
{
    const PenData& pen = *dc.s.pen;
    if (pen.Style() == PS_NULL || a == b)
        return;
    const int width = DcPenWidth(dc, pen);
    const QRect bounds = QRect(a, b).normalized().adjusted(-width, -width, width, width);
    if (width <= 1 && dc.job && dc.job->KeepsThinLines()) {
        QPen cosmetic = QtPen(dc, pen);
        cosmetic.setWidth(0);
        DcRenderRop2(dc, bounds, [&](QPainter& p) {
            p.setPen(cosmetic);
            p.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
        });
        return;
    }
    if (width <= 1) {
        const auto runs = DcThinLine(a, b, pen.Style());
        const QRgb on = DcSurfaceColor(dc, pen.color);
        const auto off = GapColor(dc);
        DcRenderRop2(dc, bounds, [&](QPainter& p) { DcPaintRuns(p, runs, on, off); });
        return;
    }
    const QPen qpen = QtPen(dc, pen);
    DcRenderRop2(dc, bounds, [&](QPainter& p) {
        p.setPen(qpen);
        p.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
    });
}

// Outline and fill of a rectangle-bounded shape drawn by Qt.
enum class Shape { RoundRect, Ellipse };

void DrawShape(DcData& dc, const RECT& rect, Shape shape, int ew, int eh)
{
    const QRect r = DcToDeviceRect(dc, rect);
    if (r.width() < 1 || r.height() < 1)
        return;
    const PenData& pen = *dc.s.pen;
    const bool nullPen = pen.Style() == PS_NULL;
    const int width = nullPen ? 0 : DcPenWidth(dc, pen);
    QRectF box(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1);
    if (nullPen)
        box = QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1);
    else if (pen.Style() == PS_INSIDEFRAME && width > 1)
        box.adjust(width / 2.0 - 0.5, width / 2.0 - 0.5, -(width / 2.0 - 0.5), -(width / 2.0 - 0.5));
    QPen qpen = nullPen ? QPen(Qt::NoPen) : QtPen(dc, pen);
    if (pen.Style() == PS_INSIDEFRAME)
        qpen.setStyle(Qt::SolidLine);
    const QBrush qbrush = DcQBrush(dc, *dc.s.brush);
    const double rx = std::abs(DcScaleX(dc) * ew) / 2.0, ry = std::abs(DcScaleY(dc) * eh) / 2.0;
    DcRenderRop2(dc, r.adjusted(-width, -width, width, width), [&](QPainter& p) {
        p.setBrushOrigin(dc.s.brushOrg);
        p.setPen(qpen);
        p.setBrush(qbrush);
        if (shape == Shape::Ellipse)
            p.drawEllipse(box);
        else
            p.drawRoundedRect(box, rx, ry, Qt::AbsoluteSize);
    });
}

void FrameDevice(DcData& dc, const QRect& r, COLORREF topLeft, COLORREF bottomRight, UINT sides)
{
    // Top and left lines stop short of a corner that a bottom or right line draws.
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int right = r.left() + r.width(), bottom = r.top() + r.height();
    if (sides & BF_TOP)
        DcFillDevice(dc, QRect(r.left(), r.top(), r.width() - ((sides & BF_RIGHT) ? 1 : 0), 1), topLeft);
    if (sides & BF_LEFT)
        DcFillDevice(dc, QRect(r.left(), r.top(), 1, r.height() - ((sides & BF_BOTTOM) ? 1 : 0)), topLeft);
    if (sides & BF_RIGHT)
        DcFillDevice(dc, QRect(right - 1, r.top(), 1, r.height()), bottomRight);
    if (sides & BF_BOTTOM)
        DcFillDevice(dc, QRect(r.left(), bottom - 1, r.width(), 1), bottomRight);
}

QRect Shrink(const QRect& r, UINT sides)
{
    return r.adjusted((sides & BF_LEFT) ? 1 : 0, (sides & BF_TOP) ? 1 : 0, (sides & BF_RIGHT) ? -1 : 0,
        (sides & BF_BOTTOM) ? -1 : 0);
}

// Arrow of a scroll button: rows of 2k - 1 pixels, pointing in a direction.
void DrawArrow(DcData& dc, const QRect& r, UINT kind, COLORREF color)
{
    const int size = std::max(1, std::min(r.width(), r.height()) / 4);
    const int span = 2 * size - 1;
    const bool vertical = kind == DFCS_SCROLLUP || kind == DFCS_SCROLLDOWN || kind == DFCS_SCROLLCOMBOBOX;
    const int left = r.left() + (r.width() - (vertical ? span : size)) / 2;
    const int top = r.top() + (r.height() - (vertical ? size : span)) / 2;
    for (int i = 0; i < size; ++i) {
        const int len = span - 2 * i;
        switch (kind) {
        case DFCS_SCROLLUP:
            DcFillDevice(dc, QRect(left + i, top + size - 1 - i, len, 1), color);
            break;
        case DFCS_SCROLLLEFT:
            DcFillDevice(dc, QRect(left + size - 1 - i, top + i, 1, len), color);
            break;
        case DFCS_SCROLLRIGHT:
            DcFillDevice(dc, QRect(left + i, top + i, 1, len), color);
            break;
        default:
            DcFillDevice(dc, QRect(left + i, top + i, len, 1), color);
            break;
        }
    }
}

void DrawCheckMark(DcData& dc, const QRect& box, COLORREF color)
{
    // A 7 x 7 tick: each column three pixels high.
    static constexpr int kRise[7] = { 2, 3, 4, 3, 2, 1, 0 };
    const int left = box.left() + (box.width() - 7) / 2;
    const int top = box.top() + (box.height() - 7) / 2;
    for (int i = 0; i < 7; ++i)
        DcFillDevice(dc, QRect(left + i, top + kRise[i], 1, 3), color);
}

// A round radio button in box: a sunken ring of two pixels (shadow above and
// left, light below and right), the face inside it, and a dot when checked.
// Drawn pixel by pixel from the distance to the centre, so it looks the same
// on every surface.
void DrawRadioButton(DcData& dc, const QRect& box, UINT state)
{
    const bool inactive = (state & DFCS_INACTIVE) != 0, pushed = (state & DFCS_PUSHED) != 0;
    const double radius = box.width() / 2.0;
    const double dot = box.width() / 6.0;
    const COLORREF face = GetSysColor((inactive || pushed) ? COLOR_3DFACE : COLOR_WINDOW);
    const COLORREF mark = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            const double dx = x + 0.5 - radius, dy = y + 0.5 - radius;
            const double distance = std::sqrt(dx * dx + dy * dy);
            const bool upperLeft = dx + dy < 0;
            if (distance > radius)
                continue;
            COLORREF color = face;
            if (distance > radius - 1)
                color = GetSysColor(upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
            else if (distance > radius - 2)
                color = GetSysColor(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
            else if ((state & DFCS_CHECKED) && distance <= dot)
                color = mark;
            DcFillDevice(dc, QRect(box.left() + x, box.top() + y, 1, 1), color);
        }
    }
}

} // namespace

// Shared helpers -----------------------------------------------------------------

QRgb DcSurfaceColor(DcData& dc, COLORREF color)
{
    const QRgb rgb = GdiRgb(color);
    return DcMono(dc) ? GdiMonoOf(rgb) : rgb;
}

QRgb DcBrushPixel(DcData& dc, const BrushData& brush, int x, int y)
{
    const int px = x - dc.s.brushOrg.x(), py = y - dc.s.brushOrg.y();
    QRgb value = 0xFF000000u;
    switch (brush.style) {
    case BS_SOLID:
        value = GdiRgb(brush.color);
        break;
    case BS_HATCHED:
        value = GdiRgb(HatchBit(brush.hatch, px, py) ? brush.color : dc.s.bkColor);
        break;
    case BS_PATTERN: {
        const QImage& pattern = brush.pattern;
        if (pattern.isNull())
            break;
        const int w = pattern.width(), h = pattern.height();
        const QRgb p = pattern.pixel(((px % w) + w) % w, ((py % h) + h) % h);
        value = brush.monoPattern ? GdiRgb((p & 0xFFFFFFu) ? dc.s.bkColor : dc.s.textColor) : p;
        break;
    }
    default:
        break;
    }
    return DcMono(dc) ? GdiMonoOf(value) : (value | 0xFF000000u);
}

QBrush DcQBrush(DcData& dc, const BrushData& brush)
{
    switch (brush.style) {
    case BS_SOLID:
        return QBrush(QColor::fromRgb(DcSurfaceColor(dc, brush.color)));
    case BS_HATCHED: {
        QImage tile(8, 8, QImage::Format_ARGB32);
        const bool opaque = dc.s.bkMode == OPAQUE;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool on = HatchBit(brush.hatch, x, y);
                tile.setPixel(x, y,
                    on ? DcSurfaceColor(dc, brush.color) : (opaque ? DcSurfaceColor(dc, dc.s.bkColor) : 0u));
            }
        return QBrush(tile);
    }
    case BS_PATTERN: {
        if (brush.pattern.isNull())
            return Qt::NoBrush;
        QImage tile(brush.pattern.size(), QImage::Format_RGB32);
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x)
                tile.setPixel(x, y, DcBrushPixel(dc, brush, x + dc.s.brushOrg.x(), y + dc.s.brushOrg.y()));
        return QBrush(tile);
    }
    default:
        return Qt::NoBrush;
    }
}

void DcFillDevice(DcData& dc, const QRect& rect, COLORREF color)
{
    if (rect.isEmpty())
        return;
    DcPainter p(dc, rect);
    if (p)
        p->fillRect(rect, QColor::fromRgb(DcSurfaceColor(dc, color)));
}

void DcRenderRop2(DcData& dc, const QRect& bounds, const std::function<void(QPainter&)>& draw)
{
    const int rop = dc.s.rop2;
    if (rop == R2_NOP)
        return;
    QImage* image = DcImage(dc);
    if (rop == R2_COPYPEN || !image) {
        DcPainter p(dc, bounds);
        if (p)
            draw(*p);
        return;
    }
    const QRect area = bounds & DcBounds(dc);
    if (area.isEmpty())
        return;
    QImage layer(area.size(), QImage::Format_ARGB32);
    layer.fill(0u);
    {
        QPainter lp(&layer);
        lp.translate(-area.topLeft());
        draw(lp);
    }
    const QRegion clip = DcClip(dc) & area;
    for (const QRect& r : clip) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - area.top()));
            auto* dst = reinterpret_cast<QRgb*>(image->scanLine(y + dc.origin.y()));
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb s = src[x - area.left()];
                if (qAlpha(s) >= 128)
                    dst[x + dc.origin.x()] = Rop2(rop, s, dst[x + dc.origin.x()]);
            }
        }
    }
    DcDrawn(dc, area);
}

std::vector<DcRun> DcThinLine(QPoint a, QPoint b, int style)
{
    std::vector<DcRun> runs;
    const std::vector<int>& pattern = StylePattern(style);
    size_t segment = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx - dy;
    int x = a.x(), y = a.y();
    while (x != b.x() || y != b.y()) {
        const bool on = pattern.empty() || segment % 2 == 0;
        if (!runs.empty() && runs.back().on == on && runs.back().rect.top() == y
            && runs.back().rect.height() == 1
            && (runs.back().rect.right() + 1 == x || runs.back().rect.left() - 1 == x))
            runs.back().rect = runs.back().rect.united(QRect(x, y, 1, 1));
        else
            runs.push_back({ QRect(x, y, 1, 1), on });
        if (!pattern.empty() && --left == 0) {
            segment = (segment + 1) % pattern.size();
            left = pattern[segment];
        }
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    return runs;
}

void DcPaintRuns(QPainter& painter, const std::vector<DcRun>& runs, QRgb on, std::optional<QRgb> off)
{
    for (const DcRun& run : runs) {
        if (run.on)
            painter.fillRect(run.rect, QColor::fromRgb(on));
        else if (off)
            painter.fillRect(run.rect, QColor::fromRgb(*off));
    }
}

// CDC: lines and shapes ------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return {};
    const QPoint old = std::exchange(d->s.current, QPoint(x, y));
    return { old.x(), old.y() };
}

CPoint CDC::GetCurrentPosition() const
{
    DcData* d = DcOf(m_hDC);
    return d ? CPoint(d->s.current.x(), d->s.current.y()) : CPoint();
}

BOOL CDC::LineTo(int x, int y)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    DeviceLine(*d, DcToDevice(*d, d->s.current.x(), d->s.current.y()), DcToDevice(*d, x, y));
    d->s.current = QPoint(x, y);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !points || count < 2)
        return FALSE;
    for (int i = 1; i < count; ++i)
        DeviceLine(
            *d, DcToDevice(*d, points[i - 1].x, points[i - 1].y), DcToDevice(*d, points[i].x, points[i].y));
    return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !points || count < 2)
        return FALSE;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << DcToDevice(*d, points[i].x, points[i].y);
    const QBrush brush = DcQBrush(*d, *d->s.brush);
    const QRect bounds = polygon.boundingRect().adjusted(-1, -1, 1, 1);
    DcRenderRop2(*d, bounds, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawPolygon(polygon, Qt::OddEvenFill);
    });
    for (int i = 0; i < count; ++i)
        DeviceLine(*d, polygon[i], polygon[(i + 1) % count]);
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    const QRect r = DcToDeviceRect(*d, RECT { left, top, right, bottom });
    if (r.width() < 1 || r.height() < 1)
        return TRUE;
    const PenData& pen = *d->s.pen;
    const QBrush brush = DcQBrush(*d, *d->s.brush);
    const bool nullPen = pen.Style() == PS_NULL;
    const int width = nullPen ? 0 : DcPenWidth(*d, pen);
    if (nullPen) {
        // Without a pen the filled area is one pixel smaller each way.
        const QRect fill(r.left(), r.top(), r.width() - 1, r.height() - 1);
        DcRenderRop2(*d, fill, [&](QPainter& p) { p.fillRect(fill, brush); });
        return TRUE;
    }
    if (width <= 1) {
        const QRect inside = r.adjusted(1, 1, -1, -1);
        if (!inside.isEmpty())
            DcRenderRop2(*d, inside, [&](QPainter& p) {
                p.setBrushOrigin(d->s.brushOrg);
                p.fillRect(inside, brush);
            });
        const QPoint tl = r.topLeft(), tr(r.right(), r.top()), br = r.bottomRight(), bl(r.left(), r.bottom());
        DeviceLine(*d, tl, tr);
        DeviceLine(*d, tr, br);
        DeviceLine(*d, br, bl);
        DeviceLine(*d, bl, tl);
        if (r.width() == 1 || r.height() == 1)
            DcFillDevice(*d, r, pen.color);
        return TRUE;
    }
    // Wide pens: inside-frame pens stay within the rectangle, others straddle its edge.
    QRect outer = r;
    if (pen.Style() != PS_INSIDEFRAME) {
        const int half = width / 2;
        outer = QRect(QPoint(r.left() - half, r.top() - half),
            QPoint(r.right() + (width - 1 - half), r.bottom() + (width - 1 - half)));
    }
    const QRgb color = DcSurfaceColor(*d, pen.color);
    const QRect inside = outer.adjusted(width, width, -width, -width);
    DcRenderRop2(*d, outer, [&](QPainter& p) {
        if (!inside.isEmpty()) {
            p.setBrushOrigin(d->s.brushOrg);
            p.fillRect(inside, brush);
        }
        QRegion frame(outer);
        if (!inside.isEmpty())
            frame -= inside;
        for (const QRect& band : frame)
            p.fillRect(band, QColor::fromRgb(color));
    });
    return TRUE;
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    DrawShape(*d, RECT { left, top, right, bottom }, Shape::RoundRect, ellipseWidth, ellipseHeight);
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    DrawShape(*d, RECT { left, top, right, bottom }, Shape::Ellipse, 0, 0);
    return TRUE;
}

// CDC: fills and frames -----------------------------------------------------------

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    FillRect(rect, brush ? brush->m_hObject : nullptr);
}

void CDC::FillRect(const RECT* rect, HBRUSH brush)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiLookupAs<BrushData>(brush, GdiKind::Brush);
    if (!d || !rect || !data)
        return;
    const QRect r = DcToDeviceRect(*d, *rect);
    if (r.isEmpty() || data->style == BS_NULL)
        return;
    const QBrush qbrush = DcQBrush(*d, *data);
    DcPainter p(*d, r);
    if (p) {
        p->setBrushOrigin(d->s.brushOrg);
        p->fillRect(r, qbrush);
    }
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return;
    // As the class library does it: the colour stays the DC's background colour.
    d->s.bkColor = color & 0xFFFFFF;
    DcFillDevice(*d, DcToDeviceRect(*d, *rect), color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const RECT rect { x, y, x + cx, y + cy };
    FillSolidRect(&rect, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush)
{
    FrameRect(rect, brush ? brush->m_hObject : nullptr);
}

void CDC::FrameRect(const RECT* rect, HBRUSH brush)
{
    DcData* d = DcOf(m_hDC);
    auto data = GdiLookupAs<BrushData>(brush, GdiKind::Brush);
    if (!d || !rect || !data)
        return;
    const QRect r = DcToDeviceRect(*d, *rect);
    if (r.isEmpty())
        return;
    QRegion frame(r);
    frame -= r.adjusted(1, 1, -1, -1);
    const QBrush qbrush = DcQBrush(*d, *data);
    DcPainter p(*d, r);
    if (p) {
        p->setBrushOrigin(d->s.brushOrg);
        for (const QRect& band : frame)
            p->fillRect(band, qbrush);
    }
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    DcData* d = DcOf(m_hDC);
    auto rgn = region ? GdiLookupAs<RegionData>(region->m_hObject, GdiKind::Region) : nullptr;
    auto data = brush ? GdiLookupAs<BrushData>(brush->m_hObject, GdiKind::Brush) : nullptr;
    if (!d || !rgn || !data)
        return FALSE;
    const QBrush qbrush = DcQBrush(*d, *data);
    DcPainter p(*d, rgn->region.boundingRect());
    if (p)
        for (const QRect& r : rgn->region)
            p->fillRect(r, qbrush);
    return TRUE;
}

void CDC::InvertRect(const RECT* rect)
{
    if (rect)
        PatBlt(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(
            rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::DrawFocusRect(const RECT* rect)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return;
    const QRect r = DcToDeviceRect(*d, *rect);
    if (r.isEmpty())
        return;
    QImage* image = DcImage(*d);
    QRegion outline(r);
    outline -= r.adjusted(1, 1, -1, -1);
    outline &= DcClip(*d);
    if (image) {
        for (const QRect& band : outline)
            for (int y = band.top(); y <= band.bottom(); ++y)
                for (int x = band.left(); x <= band.right(); ++x)
                    if (((x + y) & 1) == 0) {
                        QRgb& px
                            = reinterpret_cast<QRgb*>(image->scanLine(y + d->origin.y()))[x + d->origin.x()];
                        px = 0xFF000000u | (~px & 0xFFFFFFu);
                    }
        DcDrawn(*d, r);
        return;
    }
    DcPainter p(*d, r);
    if (!p)
        return;
    if (p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster)
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const QRect& band : outline)
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                if (((x + y) & 1) == 0)
                    p->fillRect(QRect(x, y, 1, 1), Qt::black);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return FALSE;
    QRect r = DcToDeviceRect(*d, *rect);
    const UINT sides = flags & BF_RECT;
    COLORREF outerTL = 0, outerBR = 0, innerTL = 0, innerBR = 0;
    const bool outer = (edge & BDR_OUTER) != 0, inner = (edge & BDR_INNER) != 0;
    if (flags & BF_MONO) {
        outerTL = outerBR = GetSysColor(COLOR_WINDOWFRAME);
        innerTL = innerBR = GetSysColor(COLOR_WINDOW);
    } else if (flags & BF_FLAT) {
        outerTL = outerBR = GetSysColor(COLOR_3DSHADOW);
        innerTL = innerBR = GetSysColor(COLOR_3DFACE);
    } else {
        if (edge & BDR_RAISEDOUTER) {
            outerTL = GetSysColor(COLOR_3DLIGHT);
            outerBR = GetSysColor(COLOR_3DDKSHADOW);
        } else {
            outerTL = GetSysColor(COLOR_3DSHADOW);
            outerBR = GetSysColor(COLOR_3DHILIGHT);
        }
        if (edge & BDR_RAISEDINNER) {
            innerTL = GetSysColor(COLOR_3DHILIGHT);
            innerBR = GetSysColor(COLOR_3DSHADOW);
        } else {
            innerTL = GetSysColor(COLOR_3DDKSHADOW);
            innerBR = GetSysColor(COLOR_3DLIGHT);
        }
    }
    if (outer) {
        FrameDevice(*d, r, outerTL, outerBR, sides);
        r = Shrink(r, sides);
    }
    if (inner) {
        FrameDevice(*d, r, innerTL, innerBR, sides);
        r = Shrink(r, sides);
    }
    if (flags & BF_MIDDLE)
        DcFillDevice(*d, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
    if (flags & BF_ADJUST)
        *rect = DcToLogicalRect(*d, r);
    return TRUE;
}

BOOL CDC::DrawFrameControl(RECT* rect, UINT type, UINT state)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return FALSE;
    const QRect r = DcToDeviceRect(*d, *rect);
    if (r.isEmpty())
        return FALSE;
    const bool inactive = (state & DFCS_INACTIVE) != 0, pushed = (state & DFCS_PUSHED) != 0;
    if (type == DFC_BUTTON) {
        const UINT kind = state & 0x1F;
        if (kind == DFCS_BUTTONPUSH) {
            RECT edge = *rect;
            if (pushed) {
                FrameDevice(*d, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DDKSHADOW), BF_RECT);
                FrameDevice(*d, r.adjusted(1, 1, -1, -1), GetSysColor(COLOR_3DSHADOW),
                    GetSysColor(COLOR_3DSHADOW), BF_RECT);
                DcFillDevice(*d, r.adjusted(2, 2, -2, -2), GetSysColor(COLOR_3DFACE));
            } else {
                DrawEdge(&edge, EDGE_RAISED, BF_RECT | BF_MIDDLE);
            }
            return TRUE;
        }
        // Check box and radio button: a square place at the left, centred vertically.
        const int side = std::min(r.width(), r.height());
        const QRect box(r.left(), r.top() + (r.height() - side) / 2, side, side);
        if (kind == DFCS_BUTTONRADIO) {
            DrawRadioButton(*d, box, state);
            return TRUE;
        }
        RECT edge = DcToLogicalRect(*d, box);
        if (state & DFCS_FLAT)
            FrameDevice(*d, box, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW), BF_RECT);
        else
            DrawEdge(&edge, EDGE_SUNKEN, BF_RECT);
        const QRect inside = box.adjusted((state & DFCS_FLAT) ? 1 : 2, (state & DFCS_FLAT) ? 1 : 2,
            (state & DFCS_FLAT) ? -1 : -2, (state & DFCS_FLAT) ? -1 : -2);
        DcFillDevice(*d, inside, GetSysColor((inactive || pushed) ? COLOR_3DFACE : COLOR_WINDOW));
        if (state & DFCS_CHECKED)
            DrawCheckMark(*d, inside, GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        return TRUE;
    }
    if (type == DFC_SCROLL) {
        const UINT kind = state & 0x1F;
        RECT edge = *rect;
        if (pushed && (state & DFCS_FLAT) == 0) {
            FrameDevice(*d, r, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW), BF_RECT);
            DcFillDevice(*d, r.adjusted(1, 1, -1, -1), GetSysColor(COLOR_3DFACE));
        } else {
            DrawEdge(&edge, EDGE_RAISED, BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : 0));
        }
        const QRect face = pushed ? r.translated(1, 1) : r;
        if (inactive) {
            DrawArrow(*d, face.translated(1, 1), kind, GetSysColor(COLOR_3DHILIGHT));
            DrawArrow(*d, face, kind, GetSysColor(COLOR_3DSHADOW));
        } else {
            DrawArrow(*d, face, kind, GetSysColor(COLOR_BTNTEXT));
        }
        return TRUE;
    }
    return FALSE;
}
