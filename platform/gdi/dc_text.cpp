// Text output and measuring.

#include <QFontMetrics>

#include <cmath>
#include <cstring>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/font_internal.h"

namespace {

struct Metrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int average = 0;
    int maximum = 0;
};

// Device-pixel metrics of the DC's font (estimates when text is unavailable).
Metrics DeviceMetrics(DcData& dc)
{
    Metrics m;
    const LOGFONT& lf = dc.s.font->lf;
    if (!GdiTextReady()) {
        const int h = static_cast<int>((lf.lfHeight ? std::abs(lf.lfHeight) : 16) * DcScaleY(dc) + 0.5);
        m.height = std::max(1, h);
        m.ascent = m.height * 4 / 5;
        m.descent = m.height - m.ascent;
        m.average = std::max(1, m.height / 2);
        m.maximum = m.height;
        return m;
    }
    const QFont font = DcFont(dc);
    const QFontMetrics fm(font);
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - font.pixelSize());
    m.externalLeading = std::max(0, fm.leading());
    m.average = std::max(1, static_cast<int>(std::lround(GdiAverageAdvance(font))));
    m.maximum = std::max(m.average, fm.maxWidth());
    return m;
}

int Advance(DcData& dc, const QFont& font, const QString& text)
{
    if (text.isEmpty())
        return 0;
    if (!GdiTextReady())
        return static_cast<int>(text.size()) * DeviceMetrics(dc).average;
    return QFontMetrics(font).horizontalAdvance(text);
}

QString ToQString(LPCTSTR text, int length)
{
    if (!text)
        return {};
    const int n = length < 0 ? static_cast<int>(std::strlen(text)) : length;
    return QString::fromUtf8(text, n);
}

// Removes '&' prefixes: "&&" is a literal '&', "&x" underlines x (the first one).
QString StripPrefixes(const QString& text, int* underline)
{
    QString out;
    *underline = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break;
            ++i;
            if (text[i] != QLatin1Char('&') && *underline < 0)
                *underline = static_cast<int>(out.size());
        }
        out += text[i];
    }
    return out;
}

bool Wide(QChar c)
{
    return c.unicode() >= 0x1100;
}

struct TextLine {
    QString text;
    int underline = -1; // index into text
};

// Splits a paragraph into pieces that may end a line: after runs of spaces and
// around wide (CJK) characters.
std::vector<QString> Segments(const QString& text, bool breakWide)
{
    std::vector<QString> segments;
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        current += c;
        const bool last = i + 1 == text.size();
        if (c == QLatin1Char(' ')) {
            while (!last && i + 1 < text.size() && text[i + 1] == QLatin1Char(' '))
                current += text[++i];
            segments.push_back(std::exchange(current, QString()));
        } else if (breakWide && (Wide(c) || (!last && Wide(text[i + 1])))) {
            segments.push_back(std::exchange(current, QString()));
        }
    }
    if (!current.isEmpty())
        segments.push_back(current);
    return segments;
}

QString TrimRightSpaces(QString s)
{
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    return s;
}

QString ExpandTabs(const QString& text, int tabChars)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            const int pad = tabChars - static_cast<int>(out.size()) % tabChars;
            out += QString(pad, QLatin1Char(' '));
        } else {
            out += c;
        }
    }
    return out;
}

QString EndEllipsis(DcData& dc, const QFont& font, const QString& text, int width)
{
    const QString dots = QStringLiteral("...");
    QString head = text;
    while (!head.isEmpty() && Advance(dc, font, head + dots) > width)
        head.chop(1);
    return head + dots;
}

QString PathEllipsis(DcData& dc, const QFont& font, const QString& text, int width)
{
    const int cut = std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char('/')));
    if (cut <= 0)
        return EndEllipsis(dc, font, text, width);
    const QString tail = text.mid(cut);
    QString head = text.left(cut);
    const QString dots = QStringLiteral("...");
    while (!head.isEmpty() && Advance(dc, font, head + dots + tail) > width)
        head.chop(1);
    if (Advance(dc, font, head + dots + tail) > width)
        return EndEllipsis(dc, font, dots + tail, width);
    return head + dots + tail;
}

void DrawLine(DcData& dc, QPainter& p, const QFont& font, const Metrics& m, const TextLine& line, int x,
    int y, QRgb color, bool opaque)
{
    const int width = Advance(dc, font, line.text);
    if (opaque)
        p.fillRect(QRect(x, y, width, m.height), QColor::fromRgb(DcSurfaceColor(dc, dc.s.bkColor)));
    p.setFont(font);
    p.setPen(QColor::fromRgb(color));
    p.drawText(QPoint(x, y + m.ascent), line.text);
    if (dc.job)
        dc.job->TextDrawn(line.text, QRect(x, y, width, m.height));
    if (line.underline >= 0 && line.underline < line.text.size()) {
        const int ux = x + Advance(dc, font, line.text.left(line.underline));
        const int uw = std::max(1, Advance(dc, font, line.text.mid(line.underline, 1)));
        p.fillRect(QRect(ux, y + m.ascent + 1, uw, 1), QColor::fromRgb(color));
    }
}

} // namespace

QFont DcFont(DcData& dc, bool antialias)
{
    return GdiBuildFont(dc.s.font->lf, DcScaleY(dc), antialias && !DcMono(dc));
}

// Lays out and (unless DT_CALCRECT) draws; returns the height in device pixels
// (or the bottom offset for single-line vertical alignment) and the device
// rectangle the text takes.
int DcDrawTextDevice(DcData& dc, const QString& source, const QRect& box, UINT format, QRect* extent,
    std::optional<COLORREF> color, bool antialias)
{
    const Metrics m = DeviceMetrics(dc);
    const QFont font = GdiTextReady() ? DcFont(dc, antialias) : QFont();
    const int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    int underline = -1;
    QString text = source;
    if (!(format & DT_NOPREFIX)) {
        text = StripPrefixes(source, &underline);
        if (format & (DT_HIDEPREFIX | DT_PREFIXONLY))
            underline = -1;
    }
    if (format & DT_EXPANDTABS)
        text = ExpandTabs(text, (format & DT_TABSTOP) ? std::max(1u, (format >> 8) & 0xFF) : 8);

    std::vector<TextLine> lines;
    const bool single = (format & DT_SINGLELINE) != 0;
    std::vector<QString> paragraphs;
    if (single) {
        QString flat = text;
        flat.remove(QLatin1Char('\r'));
        flat.remove(QLatin1Char('\n'));
        paragraphs.push_back(flat);
    } else {
        QString normal = text;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        paragraphs = [&] {
            std::vector<QString> parts;
            for (const QString& part : normal.split(QLatin1Char('\n')))
                parts.push_back(part);
            return parts;
        }();
    }
    // Map the underline index onto the paragraph that holds it.
    int offset = 0;
    for (const QString& paragraph : paragraphs) {
        const int mark
            = (underline >= offset && underline < offset + paragraph.size()) ? underline - offset : -1;
        offset += static_cast<int>(paragraph.size()) + 1;
        if (single || !(format & DT_WORDBREAK)) {
            lines.push_back({ paragraph, mark });
            continue;
        }
        int consumed = 0;
        QString current;
        int currentStart = 0;
        for (const QString& segment : Segments(paragraph, !(format & DT_NOFULLWIDTHCHARBREAK))) {
            if (!current.isEmpty() && Advance(dc, font, TrimRightSpaces(current + segment)) > box.width()) {
                const QString done = TrimRightSpaces(current);
                lines.push_back({ done,
                    (mark >= currentStart && mark < currentStart + done.size()) ? mark - currentStart : -1 });
                current.clear();
                currentStart = consumed;
            }
            current += segment;
            consumed += static_cast<int>(segment.size());
        }
        const QString done = single ? current : TrimRightSpaces(current);
        lines.push_back(
            { done, (mark >= currentStart && mark < currentStart + done.size()) ? mark - currentStart : -1 });
    }
    if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
        for (TextLine& line : lines)
            if (Advance(dc, font, line.text) > box.width()) {
                line.text = (format & DT_PATH_ELLIPSIS) ? PathEllipsis(dc, font, line.text, box.width())
                                                        : EndEllipsis(dc, font, line.text, box.width());
                line.underline = -1;
            }

    int widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, Advance(dc, font, line.text));
    const int total = lineHeight * static_cast<int>(lines.size());
    int top = box.top();
    if (single && (format & DT_VCENTER))
        top = box.top() + (box.height() - total) / 2;
    else if (single && (format & DT_BOTTOM))
        top = box.top() + box.height() - total;
    if (extent)
        *extent = QRect(box.left(), box.top(), widest, total);
    const int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? top - box.top() + total : total;
    if ((format & DT_CALCRECT) || !color || !GdiTextReady())
        return result;

    QRect touched(box.left(), top, std::max(widest, box.width()), total);
    touched = touched.united(box);
    DcPainter p(dc, touched);
    if (!p)
        return result;
    if (!(format & DT_NOCLIP))
        p->setClipRect(box, Qt::IntersectClip);
    if (!antialias)
        p->setRenderHint(QPainter::TextAntialiasing, false);
    const QRgb rgb = DcSurfaceColor(dc, *color);
    const bool opaque = dc.s.bkMode == OPAQUE;
    int y = top;
    for (const TextLine& line : lines) {
        const int w = Advance(dc, font, line.text);
        int x = box.left();
        if (format & DT_CENTER)
            x = box.left() + (box.width() - w) / 2;
        else if (format & DT_RIGHT)
            x = box.left() + box.width() - w;
        DrawLine(dc, *p, font, m, line, x, y, rgb, opaque);
        y += lineHeight;
    }
    return result;
}

int CDC::DrawText(const CString& text, RECT* rect, UINT format)
{
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}

int CDC::DrawText(LPCTSTR text, int length, RECT* rect, UINT format)
{
    DcData* d = DcOf(m_hDC);
    if (!d || !rect)
        return 0;
    const QRect box = DcToDeviceRect(*d, *rect);
    QRect extent;
    const int height = DcDrawTextDevice(*d, ToQString(text, length), box, format, &extent, d->s.textColor);
    if (format & DT_CALCRECT) {
        const RECT logical = DcToLogicalRect(*d, extent);
        rect->right = rect->left + (logical.right - logical.left);
        rect->bottom = rect->top + (logical.bottom - logical.top);
    }
    return static_cast<int>(height / DcScaleY(*d) + 0.5);
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    return TextOut(x, y, text.GetString(), text.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int length)
{
    return ExtTextOut(x, y, 0, nullptr, CString(text ? text : "", std::max(length, 0)), nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const CString& text, const int*)
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return FALSE;
    const QRect box = rect ? DcToDeviceRect(*d, *rect) : QRect();
    if ((options & ETO_OPAQUE) && rect)
        DcFillDevice(*d, box, d->s.bkColor);
    if (text.IsEmpty() || !GdiTextReady())
        return TRUE;
    const bool updateCp = (d->s.textAlign & TA_UPDATECP) != 0;
    const QPoint logical = updateCp ? d->s.current : QPoint(x, y);
    const QPoint at = DcToDevice(*d, logical.x(), logical.y());
    const Metrics m = DeviceMetrics(*d);
    const QFont font = DcFont(*d);
    const QString qtext = QString::fromUtf8(text.GetString(), text.GetLength());
    const int width = Advance(*d, font, qtext);
    const UINT align = d->s.textAlign;
    int left = at.x();
    if ((align & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if (align & TA_RIGHT)
        left -= width;
    int top = at.y();
    if ((align & TA_BASELINE) == TA_BASELINE)
        top -= m.ascent;
    else if (align & TA_BOTTOM)
        top -= m.height;
    if (updateCp) {
        const QPoint end = DcToLogical(*d, left + width, at.y());
        d->s.current = QPoint(end.x(), logical.y());
    }
    const int escapement = d->s.font->lf.lfEscapement;
    const QRect cell(left, top, width, m.height);
    const int reach = std::max(width, m.height);
    DcPainter p(*d, escapement ? QRect(at.x() - reach, at.y() - reach, 2 * reach, 2 * reach) : cell);
    if (!p)
        return FALSE;
    if ((options & ETO_CLIPPED) && rect)
        p->setClipRect(box, Qt::IntersectClip);
    if (escapement) {
        p->translate(at);
        p->rotate(-escapement / 10.0);
        p->translate(-at);
    }
    DrawLine(*d, *p, font, m, TextLine { qtext, -1 }, left, top, DcSurfaceColor(*d, d->s.textColor),
        d->s.bkMode == OPAQUE);
    return TRUE;
}

CSize CDC::GetTextExtent(const CString& text) const
{
    return GetTextExtent(text.GetString(), text.GetLength());
}

CSize CDC::GetTextExtent(LPCTSTR text, int length) const
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return {};
    const QFont font = GdiTextReady() ? DcFont(*d) : QFont();
    const int width = Advance(*d, font, ToQString(text, std::max(length, 0)));
    const int height = DeviceMetrics(*d).height;
    return { static_cast<int>(width / DcScaleX(*d) + 0.5), static_cast<int>(height / DcScaleY(*d) + 0.5) };
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    DcData* d = DcOf(m_hDC);
    if (!d || !metrics)
        return FALSE;
    const Metrics m = DeviceMetrics(*d);
    const double sx = DcScaleX(*d), sy = DcScaleY(*d);
    auto lx = [sx](int v) { return static_cast<LONG>(v / sx + 0.5); };
    auto ly = [sy](int v) { return static_cast<LONG>(v / sy + 0.5); };
    const LOGFONT& lf = d->s.font->lf;
    *metrics = TEXTMETRIC {};
    metrics->tmAscent = ly(m.ascent);
    metrics->tmDescent = ly(m.descent);
    metrics->tmHeight = metrics->tmAscent + metrics->tmDescent;
    metrics->tmInternalLeading = ly(m.internalLeading);
    metrics->tmExternalLeading = ly(m.externalLeading);
    metrics->tmAveCharWidth = lx(m.average);
    metrics->tmMaxCharWidth = lx(m.maximum);
    metrics->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    metrics->tmItalic = lf.lfItalic;
    metrics->tmUnderlined = lf.lfUnderline;
    metrics->tmStruckOut = lf.lfStrikeOut;
    metrics->tmCharSet = lf.lfCharSet;
    metrics->tmPitchAndFamily = lf.lfPitchAndFamily;
    metrics->tmDigitizedAspectX = d->dpiX;
    metrics->tmDigitizedAspectY = d->dpiY;
    return TRUE;
}

int CDC::GetTextFace(int count, LPTSTR faceName) const
{
    DcData* d = DcOf(m_hDC);
    if (!d)
        return 0;
    const char* face = d->s.font->lf.lfFaceName;
    const int length = static_cast<int>(std::strlen(face));
    if (!faceName || count <= 0)
        return length + 1;
    const int n = std::min(length, count - 1);
    std::memcpy(faceName, face, static_cast<size_t>(n));
    faceName[n] = '\0';
    return n;
}
