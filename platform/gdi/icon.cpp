#include "platform/gdi/icon.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/dc_impl.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/system_colors.h"

namespace {

HandleTable<HICON, IconData>& Registry()
{
    static auto* registry = new HandleTable<HICON, IconData>;
    return *registry;
}

QImage MonoMask(const QImage& image)
{
    QImage mask = image.convertToFormat(QImage::Format_RGB32);
    GdiNormalizeMono(mask, mask.rect());
    return mask;
}

QImage LoadResourceImage(UINT id, const char* type)
{
    const auto bytes = AfxGetResource(type, id);
    QImage image;
    if (bytes.empty() || !image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
        return {};
    return image;
}

} // namespace

std::shared_ptr<IconData> GdiIconOf(HICON icon)
{
    return Registry().Find(icon);
}

HICON GdiRegisterIcon(std::shared_ptr<IconData> icon)
{
    if (!icon || icon->color.isNull())
        return nullptr;
    return Registry().Add(std::move(icon));
}

HICON GdiCreateIconFromImage(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    auto icon = std::make_shared<IconData>();
    icon->color = QImage(argb.size(), QImage::Format_RGB32);
    icon->mask = QImage(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const bool opaque = qAlpha(p) >= 128;
            icon->color.setPixel(x, y, opaque ? (p | 0xFF000000u) : 0xFF000000u);
            icon->mask.setPixel(x, y, opaque ? 0xFF000000u : 0xFFFFFFFFu);
        }
    icon->hotspot = QPoint(argb.width() / 2, argb.height() / 2);
    return GdiRegisterIcon(icon);
}

QImage GdiIconImage(HICON icon)
{
    auto data = GdiIconOf(icon);
    if (!data)
        return {};
    QImage out(data->color.size(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(
                x, y, (data->mask.pixel(x, y) & 0xFFFFFFu) ? 0u : (data->color.pixel(x, y) | 0xFF000000u));
    return out;
}

CSize GdiGetIconSize(HICON icon)
{
    auto data = GdiIconOf(icon);
    return data ? CSize(data->color.width(), data->color.height()) : CSize();
}

HICON LoadIcon(HINSTANCE module, UINT resourceId)
{
    return static_cast<HICON>(LoadImage(module, resourceId, IMAGE_ICON, 0, 0, 0));
}

void* LoadImage(HINSTANCE module, UINT resourceId, UINT type, int cx, int cy, UINT flags)
{
    if (type == IMAGE_BITMAP) {
        HBITMAP bitmap = LoadBitmap(module, resourceId);
        return reinterpret_cast<void*>(bitmap);
    }
    if (type != IMAGE_ICON && type != IMAGE_CURSOR)
        return nullptr;
    QImage image = LoadResourceImage(resourceId, type == IMAGE_CURSOR ? "CURSOR" : "ICON");
    if (image.isNull())
        return nullptr;
    if ((flags & LR_DEFAULTSIZE) && cx == 0)
        cx = GetSystemMetrics(SM_CXICON);
    if ((flags & LR_DEFAULTSIZE) && cy == 0)
        cy = GetSystemMetrics(SM_CYICON);
    if ((cx > 0 && cx != image.width()) || (cy > 0 && cy != image.height()))
        image = image.scaled(cx > 0 ? cx : image.width(), cy > 0 ? cy : image.height(), Qt::IgnoreAspectRatio,
            Qt::SmoothTransformation);
    return reinterpret_cast<void*>(GdiCreateIconFromImage(image));
}

BOOL DestroyIcon(HICON icon)
{
    return Registry().Take(icon) ? TRUE : FALSE;
}

HICON CopyIcon(HICON icon)
{
    auto data = GdiIconOf(icon);
    if (!data)
        return nullptr;
    auto copy = std::make_shared<IconData>(*data);
    copy->color = data->color.copy();
    copy->mask = data->mask.copy();
    return GdiRegisterIcon(copy);
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    auto data = GdiIconOf(icon);
    if (!data || !info)
        return FALSE;
    info->fIcon = data->isIcon;
    info->xHotspot = static_cast<DWORD>(data->hotspot.x());
    info->yHotspot = static_cast<DWORD>(data->hotspot.y());
    info->hbmMask = GdiCreateBitmapFromImage(data->mask, true);
    info->hbmColor = GdiCreateBitmapFromImage(data->color, false);
    return TRUE;
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info)
        return nullptr;
    const QImage mask = GdiBitmapImage(info->hbmMask);
    if (mask.isNull())
        return nullptr;
    auto icon = std::make_shared<IconData>();
    if (info->hbmColor) {
        icon->color = GdiBitmapImage(info->hbmColor);
        if (icon->color.isNull())
            return nullptr;
        icon->mask = MonoMask(mask).scaled(icon->color.size());
    } else {
        // Monochrome icon: AND mask over XOR image in one bitmap of double height.
        const int h = mask.height() / 2;
        if (h <= 0)
            return nullptr;
        icon->mask = MonoMask(mask.copy(0, 0, mask.width(), h));
        icon->color = MonoMask(mask.copy(0, h, mask.width(), h));
    }
    icon->isIcon = info->fIcon;
    icon->hotspot = info->fIcon ? QPoint(icon->color.width() / 2, icon->color.height() / 2)
                                : QPoint(static_cast<int>(info->xHotspot), static_cast<int>(info->yHotspot));
    return GdiRegisterIcon(icon);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    CDC* cdc = CDC::FromHandle(dc);
    return cdc ? cdc->DrawIcon(x, y, icon) : FALSE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flickerFree, UINT flags)
{
    DcData* d = DcOf(dc);
    auto data = GdiIconOf(icon);
    if (!d || !data)
        return FALSE;
    const QSize size(cx > 0 ? cx : data->color.width(), cy > 0 ? cy : data->color.height());
    if (flickerFree) {
        const RECT rect { x, y, x + size.width(), y + size.height() };
        CDC::FromHandle(dc)->FillRect(&rect, flickerFree);
    }
    DcDrawMasked(*d, DcToDevice(*d, x, y), size, data->color, data->mask, flags ? flags : DI_NORMAL);
    return TRUE;
}
