// The user-label designer's field pictures: a framed caption per field in its
// palette size, and the bar code across (193), turned 90 (213) and 270 (214)
// degrees.

#include "user_label_images.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

namespace {

struct FieldPicture {
    int id;
    const char* caption;
    int width;
    int height;
    QColor tint;
};

constexpr FieldPicture kFields[] = {
    { 188, "Item Name", 100, 30, QColor(255, 236, 200) },
    { 191, "Origin", 90, 15, QColor(220, 240, 255) },
    { 194, "Pack Date", 100, 15, QColor(230, 255, 220) },
    { 195, "Sell By", 100, 15, QColor(230, 255, 220) },
    { 196, "Unit Price", 90, 15, QColor(255, 225, 225) },
    { 197, "Weight", 90, 15, QColor(240, 230, 255) },
    { 198, "Price", 90, 15, QColor(255, 225, 225) },
    { 199, "Item No", 50, 15, QColor(255, 255, 210) },
    { 200, "Count", 90, 15, QColor(240, 230, 255) },
    { 201, "Ingredient", 90, 15, QColor(220, 255, 245) },
    { 202, "Advert", 90, 15, QColor(220, 255, 245) },
    { 203, "Tax", 100, 15, QColor(255, 240, 220) },
    { 204, "Price+Tax", 100, 15, QColor(255, 240, 220) },
};

QImage Field(const FieldPicture& field)
{
    QImage image(field.width, field.height, QImage::Format_RGB32);
    image.fill(field.tint);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawRect(0, 0, field.width - 1, field.height - 1);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(
        QRect(1, 0, field.width - 2, field.height), Qt::AlignCenter, QString::fromLatin1(field.caption));
    return image;
}

// Bars with the digits under them, 150 x 80.
QImage BarcodeAcross()
{
    QImage image(150, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 149, 79);
    int at = 8;
    for (int i = 0; at < 142; ++i) {
        const int width = 1 + (i * 5 % 3);
        if (i % 2 == 0)
            p.fillRect(at, 6, width, 54, Qt::black);
        at += width;
    }
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRect(0, 60, 150, 18), Qt::AlignCenter, QStringLiteral("2 012345 678905"));
    return image;
}

} // namespace

bool DrawUserLabelImages(const QDir& out)
{
    bool ok = true;
    for (const FieldPicture& field : kFields)
        ok &= Field(field).save(
            out.filePath(QStringLiteral("bitmap_%1_label_field.png").arg(field.id)), "PNG");
    const QImage across = BarcodeAcross();
    ok &= across.save(out.filePath(QStringLiteral("bitmap_193_label_barcode.png")), "PNG");
    ok &= across.transformed(QTransform().rotate(90))
              .save(out.filePath(QStringLiteral("bitmap_213_label_barcode_90.png")), "PNG");
    ok &= across.transformed(QTransform().rotate(270))
              .save(out.filePath(QStringLiteral("bitmap_214_label_barcode_270.png")), "PNG");
    return ok;
}
