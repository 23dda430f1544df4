// Tarnel's images: the toolbar strip (13 cells of 28 x 27 on light grey), the
// barcode pictures (131 across, 155 along), the cassette drawing of dialog
// 137, the about box picture and the program icon.

#include "tarnel_images.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <vector>

namespace {

constexpr int kCellWidth = 28;
constexpr int kCellHeight = 27;
const QColor kToolBack(192, 192, 192);

void Folder(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 190, 60));
    p.drawRect(QRectF(3.5, 8.5, 20, 14));
    p.drawRect(QRectF(3.5, 6.5, 8, 3));
}

void Floppy(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(50, 80, 180));
    p.drawRect(QRectF(4.5, 4.5, 19, 19));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 4.5, 11, 7));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(8.5, 15.5, 11, 8));
}

void Cassette(QPainter& p, QRectF r)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(90, 90, 90));
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(Qt::white);
    const double radius = r.height() / 4;
    p.drawEllipse(QPointF(r.left() + r.width() / 4, r.center().y()), radius, radius);
    p.drawEllipse(QPointF(r.right() - r.width() / 4, r.center().y()), radius, radius);
}

void Arrow(QPainter& p, bool down, QColor color)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(color);
    const double y0 = down ? 4 : 23, y1 = down ? 23 : 4, mid = down ? 15 : 12;
    p.drawPolygon(QPolygonF({ QPointF(10, y0), QPointF(18, y0), QPointF(18, mid), QPointF(23, mid),
        QPointF(14, y1), QPointF(5, mid), QPointF(10, mid) }));
}

void Plug(QPainter& p, bool joined)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(joined ? QColor(40, 170, 40) : QColor(210, 50, 40));
    p.drawRect(QRectF(4.5, 9.5, 9, 9));
    p.drawLine(QPointF(1, 12), QPointF(4, 12));
    p.drawLine(QPointF(1, 16), QPointF(4, 16));
    p.drawRect(QRectF(joined ? 13.5 : 16.5, 9.5, 9, 9));
    p.drawLine(QPointF(23, 14), QPointF(27, 14));
}

void Text(QPainter& p, const char* text, QColor color, int size = 9)
{
    QFont font = p.font();
    font.setPixelSize(size);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRectF(0, 0, kCellWidth, kCellHeight), Qt::AlignCenter, QString::fromLatin1(text));
}

using Paint = std::function<void(QPainter&)>;

QImage ToolbarStrip()
{
    const std::vector<Paint> cells = {
        [](QPainter& p) { Folder(p); },
        [](QPainter& p) { Floppy(p); },
        [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(8.5, 3.5, 11, 8));
            p.setBrush(QColor(150, 150, 150));
            p.drawRect(QRectF(3.5, 10.5, 21, 9));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(8.5, 17.5, 11, 6));
        },
        [](QPainter& p) { Text(p, "RS/IP", QColor(0, 0, 128)); },
        [](QPainter& p) { Plug(p, true); },
        [](QPainter& p) { Plug(p, false); },
        [](QPainter& p) { Arrow(p, true, QColor(40, 170, 40)); },
        [](QPainter& p) { Arrow(p, false, QColor(210, 50, 40)); },
        [](QPainter& p) {
            Folder(p);
            Cassette(p, QRectF(9.5, 13.5, 16, 10));
        },
        [](QPainter& p) {
            Floppy(p);
            Cassette(p, QRectF(9.5, 13.5, 16, 10));
        },
        [](QPainter& p) { Cassette(p, QRectF(3.5, 6.5, 21, 14)); },
        [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5.5, 3.5, 17, 20));
            p.setPen(QPen(QColor(0, 0, 255), 1));
            p.drawRect(QRectF(8.5, 6.5, 11, 4));
            p.drawRect(QRectF(8.5, 13.5, 6, 3));
            p.setPen(QPen(Qt::black, 1));
            for (int x = 9; x < 20; x += 2)
                p.drawLine(QPointF(x, 18), QPointF(x, 22));
        },
        [](QPainter& p) { Text(p, "?", QColor(0, 0, 160), 20); },
    };
    QImage image(kCellWidth * static_cast<int>(cells.size()), kCellHeight, QImage::Format_RGB32);
    image.fill(kToolBack);
    QPainter p(&image);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        p.save();
        p.translate(static_cast<double>(i) * kCellWidth, 0);
        cells[i](p);
        p.restore();
    }
    return image;
}

// Bars of a 2-5-5 code, black on white, drawn across (vertical bars) or
// along (horizontal bars).
QImage Barcode(bool across)
{
    const int length = 134, height = 73;
    QImage image(across ? length : height, across ? height : length, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    int at = 4;
    for (int i = 0; at < length - 4; ++i) {
        const int width = 1 + (i * 7 % 3);
        if (i % 2 == 0) {
            if (across)
                p.fillRect(at, 2, width, height - 4, Qt::black);
            else
                p.fillRect(2, at, height - 4, width, Qt::black);
        }
        at += width;
    }
    return image;
}

QImage CassetteDrawing()
{
    QImage image(220, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 0, 255), 1, Qt::DashLine));
    p.drawRect(QRectF(20.5, 10.5, 180, 100));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(250, 250, 210));
    p.drawRect(QRectF(30.5, 25.5, 150, 60));
    p.setBrush(Qt::NoBrush);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.drawText(QRectF(30, 26, 150, 14), Qt::AlignCenter, QStringLiteral("Label width"));
    p.drawText(QRectF(35, 40, 80, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Length"));
    p.drawText(QRectF(22, 95, 100, 14), Qt::AlignLeft, QStringLiteral("Left extra"));
    p.drawText(QRectF(120, 95, 80, 14), Qt::AlignRight, QStringLiteral("Gap"));
    p.drawText(QRectF(20, 0, 180, 10), Qt::AlignCenter, QStringLiteral("TPH width"));
    p.drawLine(QPointF(180, 88), QPointF(180, 100));
    p.drawLine(QPointF(30, 88), QPointF(30, 100));
    return image;
}

QImage AboutPicture()
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 6.5, 47, 51));
    p.setPen(QPen(QColor(0, 0, 255), 1));
    p.drawRect(QRectF(12.5, 10.5, 39, 8));
    p.drawRect(QRectF(12.5, 22.5, 18, 6));
    p.drawRect(QRectF(34.5, 22.5, 17, 6));
    p.setPen(QPen(Qt::black, 1));
    for (int x = 13; x < 50; x += 3)
        p.drawLine(QPointF(x, 36), QPointF(x, 52));
    return image;
}

QImage TarnelIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 21, 27));
    p.setPen(QPen(QColor(0, 0, 255), 1));
    p.drawRect(QRectF(8.5, 5.5, 15, 5));
    p.setPen(QPen(Qt::black, 1));
    for (int x = 9; x < 24; x += 2)
        p.drawLine(QPointF(x, 15), QPointF(x, 26));
    return image;
}

} // namespace

bool DrawTarnelImages(const QDir& out)
{
    bool ok = true;
    ok &= ToolbarStrip().save(out.filePath(QStringLiteral("bitmap_128_tarnel_toolbar.png")), "PNG");
    ok &= Barcode(true).save(out.filePath(QStringLiteral("bitmap_131_barcode.png")), "PNG");
    ok &= Barcode(false).save(out.filePath(QStringLiteral("bitmap_155_barcode_vertical.png")), "PNG");
    ok &= CassetteDrawing().save(out.filePath(QStringLiteral("bitmap_138_cassette.png")), "PNG");
    ok &= AboutPicture().save(out.filePath(QStringLiteral("bitmap_164_about.png")), "PNG");
    ok &= TarnelIcon().save(out.filePath(QStringLiteral("icon_128_tarnel.png")), "PNG");
    return ok;
}
