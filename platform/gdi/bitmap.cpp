#include "platform/gdi/bitmap.h"

#include <cstring>

#include "platform/base/resource.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_internal.h"

namespace {

constexpr int kMaxSide = 32768;

std::shared_ptr<BitmapData> BitmapOf(HGDIOBJ handle)
{
    return GdiLookupAs<BitmapData>(handle, GdiKind::Bitmap);
}

int MonoStride(int width)
{
    return ((width + 15) / 16) * 2;
}

} // namespace

HBITMAP GdiCreateBitmapFromImage(const QImage& image, bool monochrome)
{
    if (image.isNull())
        return nullptr;
    auto data = std::make_shared<BitmapData>();
    data->image = image.convertToFormat(QImage::Format_RGB32);
    if (image.hasAlphaChannel()) {
        // Fully transparent pixels of a PNG come out black.
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(data->image.scanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                dst[x] = qAlpha(src[x]) == 0 ? qRgb(0, 0, 0) : (src[x] | 0xFF000000u);
        }
    }
    data->bitsPixel = monochrome ? 1 : 32;
    if (monochrome)
        GdiNormalizeMono(data->image, data->image.rect());
    return GdiRegister(data);
}

QImage GdiBitmapImage(HBITMAP bitmap)
{
    auto data = BitmapOf(bitmap);
    return data ? data->image.copy() : QImage();
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        return nullptr;
    auto data = std::make_shared<BitmapData>();
    data->image = GdiNewImage(width, height);
    data->bitsPixel = (planes == 1 && bitsPerPixel == 1) ? 1 : static_cast<int>(std::max(bitsPerPixel, 1u));
    if (data->Mono() && bits) {
        const auto* src = static_cast<const BYTE*>(bits);
        const int stride = MonoStride(width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool set = (src[y * stride + x / 8] >> (7 - x % 8)) & 1;
                data->image.setPixel(x, y, set ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
    } else if (bits && bitsPerPixel == 32) {
        const auto* src = static_cast<const DWORD*>(bits);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(data->image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = 0xFF000000u | (src[y * width + x] & 0xFFFFFFu);
        }
    }
    return GdiRegister(data);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    bool mono = false;
    if (QImage* image = GdiDcImage(dc)) {
        CDC* cdc = CDC::FromHandle(dc);
        CBitmap* selected = cdc ? cdc->GetCurrentBitmap() : nullptr;
        auto data = selected ? BitmapOf(selected->m_hObject) : nullptr;
        mono = data && data->Mono() && image == &data->image;
    }
    return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

HBITMAP LoadBitmap(void*, UINT resourceId)
{
    const auto bytes = AfxGetResource("BITMAP", resourceId);
    if (bytes.empty())
        return nullptr;
    QImage image;
    if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
        return nullptr;
    return GdiCreateBitmapFromImage(image);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT scanLines, void* bits, BITMAPINFO* info, UINT)
{
    auto data = BitmapOf(bitmap);
    if (!data || !info)
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    const QImage& image = data->image;
    if (!bits) {
        if (h.biBitCount == 0)
            h.biBitCount = 32;
        h.biWidth = image.width();
        h.biHeight = image.height();
        h.biPlanes = 1;
        h.biCompression = BI_RGB;
        const int stride = ((image.width() * h.biBitCount + 31) / 32) * 4;
        h.biSizeImage = static_cast<DWORD>(stride * image.height());
        return image.height();
    }
    if (h.biBitCount != 24 && h.biBitCount != 32)
        return 0;
    // The caller's width decides the row layout; columns beyond the bitmap read as 0.
    const int width = h.biWidth;
    if (width <= 0 || width > kMaxSide)
        return 0;
    const bool topDown = h.biHeight < 0;
    const int height = std::min(std::abs(h.biHeight), image.height());
    const int bytesPerPixel = h.biBitCount / 8;
    const int stride = ((width * h.biBitCount + 31) / 32) * 4;
    auto* out = static_cast<BYTE*>(bits);
    int copied = 0;
    for (UINT row = startScan; row < startScan + scanLines && static_cast<int>(row) < height; ++row) {
        // DIB row 'row' counts from the bottom unless top-down.
        const int y = topDown ? static_cast<int>(row) : height - 1 - static_cast<int>(row);
        BYTE* dst = out + static_cast<size_t>(row - startScan) * stride;
        std::memset(dst, 0, stride);
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < std::min(width, image.width()); ++x) {
            dst[x * bytesPerPixel + 0] = static_cast<BYTE>(qBlue(src[x]));
            dst[x * bytesPerPixel + 1] = static_cast<BYTE>(qGreen(src[x]));
            dst[x * bytesPerPixel + 2] = static_cast<BYTE>(qRed(src[x]));
        }
        ++copied;
    }
    return copied;
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* record)
{
    if (!record)
        return FALSE;
    return CreateBitmap(
        record->bmWidth, record->bmHeight, record->bmPlanes, record->bmBitsPixel, record->bmBits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    if (m_hObject)
        return FALSE;
    return AttachNew(::LoadBitmap(nullptr, resourceId));
}

int CBitmap::GetBitmap(BITMAP* record) const
{
    return GetObject(sizeof(BITMAP), record);
}

DWORD CBitmap::GetBitmapBits(DWORD count, void* bits) const
{
    auto data = BitmapOf(m_hObject);
    if (!data || !bits)
        return 0;
    const QImage& image = data->image;
    auto* out = static_cast<BYTE*>(bits);
    DWORD written = 0;
    if (data->Mono()) {
        const int stride = MonoStride(image.width());
        for (int y = 0; y < image.height() && written + stride <= count; ++y) {
            std::memset(out + written, 0, stride);
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) != 0)
                    out[written + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            written += stride;
        }
        return written;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width() && written + 4 <= count; ++x, written += 4) {
            const DWORD value = line[x] & 0xFFFFFFu;
            std::memcpy(out + written, &value, 4);
        }
    }
    return written;
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits)
{
    auto data = BitmapOf(m_hObject);
    if (!data || !bits)
        return 0;
    QImage& image = data->image;
    const auto* in = static_cast<const BYTE*>(bits);
    DWORD read = 0;
    if (data->Mono()) {
        const int stride = MonoStride(image.width());
        for (int y = 0; y < image.height() && read + stride <= count; ++y, read += stride)
            for (int x = 0; x < image.width(); ++x) {
                const bool set = (in[read + x / 8] >> (7 - x % 8)) & 1;
                image.setPixel(x, y, set ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
        return read;
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width() && read + 4 <= count; ++x, read += 4) {
            DWORD value;
            std::memcpy(&value, in + read, 4);
            line[x] = 0xFF000000u | (value & 0xFFFFFFu);
        }
    }
    return read;
}

CSize CBitmap::GetBitmapDimension() const
{
    return { 0, 0 };
}

CBitmap* CBitmap::FromHandle(HBITMAP handle)
{
    return dynamic_cast<CBitmap*>(GdiWrapperFor(BitmapOf(handle)));
}
