// drawimages: draws the icons (32 x 32, transparent background) and the status
// lamp strip (96 x 256, 32 x 32 cells, magenta background, 16-colour palette).
// Usage: drawimages <output folder>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

#include "tarnel_images.h"
#include "user_label_images.h"

namespace {

constexpr int kIcon = 32;

QImage Canvas()
{
    QImage image(kIcon, kIcon, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Alpha is made all-or-nothing so the icon mask is exact.
QImage Harden(QImage image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            image.setPixel(x, y, qAlpha(p) >= 128 ? (p | 0xFF000000u) : 0u);
        }
    return image;
}

QImage Draw(const std::function<void(QPainter&)>& paint)
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    paint(p);
    p.end();
    return Harden(image);
}

void Door(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(QRectF(15.5, 3.5, 13, 25));
    p.setBrush(QColor(230, 190, 60));
    p.drawEllipse(QPointF(18.5, 16.5), 1.5, 1.5);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor color)
{
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPainterPath path;
    const QPointF n(-std::sin(angle), std::cos(angle)), d(std::cos(angle), std::sin(angle));
    const QPointF shaftEnd = to - d * 8;
    path.moveTo(from + n * 3);
    path.lineTo(shaftEnd + n * 3);
    path.lineTo(shaftEnd + n * 7);
    path.lineTo(to);
    path.lineTo(shaftEnd - n * 7);
    path.lineTo(shaftEnd - n * 3);
    path.lineTo(from - n * 3);
    path.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(color);
    p.drawPath(path);
}

void Sheet(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 2.5, 20, 26));
    p.setPen(QPen(QColor(90, 90, 160), 2));
    for (int y = 8; y <= 24; y += 4)
        p.drawLine(QPointF(8, y), QPointF(21, y));
}

void Badge(QPainter& p, QColor color)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(color);
    p.drawEllipse(QPointF(23, 23), 8, 8);
}

struct Icon {
    int id;
    const char* name;
    std::function<void(QPainter&)> paint;
};

const Icon kIcons[] = {
    { 159, "login",
        [](QPainter& p) {
            Door(p);
            Arrow(p, QPointF(1, 16), QPointF(17, 16), QColor(40, 170, 40));
        } },
    { 161, "logout",
        [](QPainter& p) {
            Door(p);
            Arrow(p, QPointF(17, 16), QPointF(1, 16), QColor(210, 50, 40));
        } },
    { 162, "cancel",
        [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1.5));
            p.setBrush(QColor(210, 40, 40));
            p.drawEllipse(QPointF(16, 16), 14, 14);
            p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 10), QPointF(22, 22));
            p.drawLine(QPointF(22, 10), QPointF(10, 22));
        } },
    { 163, "ok",
        [](QPainter& p) {
            QPainterPath tick;
            tick.moveTo(3, 17);
            tick.lineTo(9, 11);
            tick.lineTo(13, 16);
            tick.lineTo(25, 3);
            tick.lineTo(30, 8);
            tick.lineTo(13, 28);
            tick.closeSubpath();
            p.setPen(QPen(Qt::black, 1.5));
            p.setBrush(QColor(40, 170, 40));
            p.drawPath(tick);
        } },
    { 170, "select",
        [](QPainter& p) {
            Sheet(p);
            Badge(p, QColor(50, 100, 210));
            p.setPen(QPen(Qt::white, 2.5));
            p.drawLine(QPointF(18, 23), QPointF(27, 23));
            p.drawLine(QPointF(24, 19.5), QPointF(27.5, 23));
            p.drawLine(QPointF(24, 26.5), QPointF(27.5, 23));
        } },
    { 171, "remove",
        [](QPainter& p) {
            Sheet(p);
            Badge(p, QColor(210, 40, 40));
            p.setPen(QPen(Qt::white, 3));
            p.drawLine(QPointF(18, 23), QPointF(28, 23));
        } },
    { 178, "update",
        [](QPainter& p) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::black, 7, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(QRectF(5, 5, 22, 22), 30 * 16, 140 * 16);
            p.drawArc(QRectF(5, 5, 22, 22), 210 * 16, 140 * 16);
            p.setPen(QPen(QColor(50, 110, 220), 4, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(QRectF(5, 5, 22, 22), 32 * 16, 136 * 16);
            p.drawArc(QRectF(5, 5, 22, 22), 212 * 16, 136 * 16);
            p.setPen(QPen(Qt::black, 1.2));
            p.setBrush(QColor(50, 110, 220));
            p.drawPolygon(QPolygonF({ QPointF(2, 15), QPointF(10, 15), QPointF(6, 21) }));
            p.drawPolygon(QPolygonF({ QPointF(30, 17), QPointF(22, 17), QPointF(26, 11) }));
        } },
    { 181, "insert",
        [](QPainter& p) {
            Sheet(p);
            Badge(p, QColor(40, 170, 40));
            p.setPen(QPen(Qt::white, 3));
            p.drawLine(QPointF(18, 23), QPointF(28, 23));
            p.drawLine(QPointF(23, 18), QPointF(23, 28));
        } },
};

// The 16-colour palette the lamp strip keeps to.
QColor Vga(int index)
{
    static const QRgb kPalette[16] = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
        0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };
    return QColor::fromRgb(kPalette[index]);
}

// Eight lamps (rows): lit colour, resting colour. Column 0 lit, 1 resting, 2 off.
constexpr int kLamps[8][2]
    = { { 10, 2 }, { 9, 1 }, { 11, 3 }, { 12, 4 }, { 14, 6 }, { 10, 2 }, { 9, 1 }, { 15, 7 } };

QImage LampStrip()
{
    QImage image(96, 256, QImage::Format_RGB32);
    image.fill(Vga(13));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRect cell(column * 32, row * 32, 32, 32);
            const QColor body = column == 0 ? Vga(kLamps[row][0])
                : column == 1               ? Vga(kLamps[row][1])
                                            : Vga(8);
            p.setPen(Qt::NoPen);
            p.setBrush(Vga(0));
            p.drawEllipse(cell.adjusted(3, 3, -4, -4));
            p.setBrush(body);
            p.drawEllipse(cell.adjusted(5, 5, -6, -6));
            if (column == 0) {
                p.setBrush(Vga(15));
                p.drawEllipse(QRect(cell.left() + 10, cell.top() + 9, 6, 5));
            }
            if (row >= 5) {
                // Rows 5-7 carry an arrow: send (right), receive (left), both.
                p.setBrush(Vga(0));
                const int cx = cell.center().x(), cy = cell.center().y();
                if (row != 6)
                    p.drawPolygon(
                        QPolygon({ QPoint(cx - 2, cy - 5), QPoint(cx + 4, cy), QPoint(cx - 2, cy + 5) }));
                if (row != 5)
                    p.drawPolygon(
                        QPolygon({ QPoint(cx + 2, cy - 5), QPoint(cx - 4, cy), QPoint(cx + 2, cy + 5) }));
            }
        }
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, [] {
        QVector<QRgb> table;
        for (int i = 0; i < 16; ++i)
            table << Vga(i).rgb();
        return table;
    }());
}

// The five 16 x 16 pictures of the result grids' row headings on white (the
// mask colour): a bar chart, a coin, a scale, a calendar page, a label.
QImage ResultStrip()
{
    QImage image(80, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 120, 200));
    p.drawRect(2, 8, 3, 6);
    p.drawRect(6, 4, 3, 10);
    p.drawRect(10, 6, 3, 8);
    p.setBrush(QColor(230, 180, 40));
    p.drawEllipse(18, 2, 11, 11);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(34, 10, 12, 4);
    p.drawLine(40, 10, 40, 5);
    p.drawRect(35, 3, 10, 2);
    p.setBrush(Qt::white);
    p.drawRect(50, 2, 12, 12);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(50, 2, 12, 3);
    p.setBrush(QColor(60, 170, 60));
    p.drawPolygon(QPolygon({ QPoint(66, 4), QPoint(74, 4), QPoint(78, 8), QPoint(74, 12), QPoint(66, 12) }));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawimages <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const Icon& icon : kIcons) {
        const QString name = QStringLiteral("icon_%1_%2.png").arg(icon.id).arg(QLatin1String(icon.name));
        ok &= Draw(icon.paint).save(out.filePath(name), "PNG");
    }
    ok &= LampStrip().save(out.filePath(QStringLiteral("bitmap_146_lamp.png")), "PNG");
    ok &= ResultStrip().save(out.filePath(QStringLiteral("bitmap_135_results.png")), "PNG");
    ok &= DrawTarnelImages(out);
    ok &= DrawUserLabelImages(out);
    return ok ? 0 : 1;
}
