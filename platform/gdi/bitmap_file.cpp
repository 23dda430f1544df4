#include "platform/gdi/bitmap_file.h"

#include <QImage>
#include <QString>

#include "platform/gdi/dc_internal.h"

BOOL AfxSaveBitmapAsPng(HBITMAP bitmap, const char* path)
{
    const QImage image = GdiBitmapImage(bitmap);
    if (image.isNull() || !path)
        return FALSE;
    return image.save(QString::fromUtf8(path), "PNG") ? TRUE : FALSE;
}
