#include "platform/gdi/image_list.h"

#include <unordered_map>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dc_impl.h"
#include "platform/gdi/handle_table.h"
#include "platform/gdi/system_colors.h"

namespace {

struct ImageListData {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF bkColor = CLR_NONE;
    std::vector<QImage> colors; // RGB32
    std::vector<QImage> masks; // RGB32, white = transparent
    bool Masked() const { return (flags & ILC_MASK) != 0; }
};

struct Registry {
    HandleTable<HIMAGELIST, ImageListData> lists;
    std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>> wrappers; // guarded by lists.Mutex()
};

Registry& GetRegistry()
{
    static Registry* registry = new Registry;
    return *registry;
}

std::shared_ptr<ImageListData> ListOf(HIMAGELIST list)
{
    return GetRegistry().lists.Find(list);
}

QImage Cell(const QImage& strip, int index, int cx, int cy)
{
    QImage cell(cx, cy, QImage::Format_RGB32);
    cell.fill(0xFF000000u);
    QPainter p(&cell);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), strip, QRect(index * cx, 0, cx, cy));
    return cell;
}

QImage OpaqueMask(int cx, int cy)
{
    QImage mask(cx, cy, QImage::Format_RGB32);
    mask.fill(0xFF000000u);
    return mask;
}

int AddStrip(ImageListData& list, const QImage& strip, const QImage* maskStrip, COLORREF maskColor)
{
    if (strip.isNull() || list.cx <= 0 || list.cy <= 0)
        return -1;
    const int count = std::max(1, strip.width() / list.cx);
    const int first = static_cast<int>(list.colors.size());
    const QRgb key = GdiRgb(maskColor) & 0xFFFFFFu;
    for (int i = 0; i < count; ++i) {
        QImage color = Cell(strip, i, list.cx, list.cy);
        QImage mask = OpaqueMask(list.cx, list.cy);
        if (list.Masked() && maskStrip) {
            mask = Cell(*maskStrip, i, list.cx, list.cy);
            GdiNormalizeMono(mask, mask.rect());
        } else if (list.Masked() && maskColor != CLR_NONE) {
            for (int y = 0; y < list.cy; ++y)
                for (int x = 0; x < list.cx; ++x)
                    if ((color.pixel(x, y) & 0xFFFFFFu) == key) {
                        mask.setPixel(x, y, 0xFFFFFFFFu);
                        color.setPixel(x, y, 0xFF000000u);
                    }
        }
        list.colors.push_back(color);
        list.masks.push_back(mask);
    }
    return first;
}

QImage Blend(const QImage& image, COLORREF with, int percent)
{
    QImage out = image.copy();
    const QRgb c = GdiRgb(with);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            out.setPixel(x, y,
                qRgb((qRed(p) * (100 - percent) + qRed(c) * percent) / 100,
                    (qGreen(p) * (100 - percent) + qGreen(c) * percent) / 100,
                    (qBlue(p) * (100 - percent) + qBlue(c) * percent) / 100));
        }
    return out;
}

} // namespace

QImage GdiImageListImage(HIMAGELIST list, int index)
{
    auto data = ListOf(list);
    if (!data || index < 0 || index >= static_cast<int>(data->colors.size()))
        return {};
    const QImage& color = data->colors[static_cast<size_t>(index)];
    const QImage& mask = data->masks[static_cast<size_t>(index)];
    QImage out(color.size(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, (data->Masked() && (mask.pixel(x, y) & 0xFFFFFFu)) ? 0u : color.pixel(x, y));
    return out;
}

CImageList::~CImageList()
{
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int, int)
{
    if (m_hImageList || cx <= 0 || cy <= 0)
        return FALSE;
    auto data = std::make_shared<ImageListData>();
    data->cx = cx;
    data->cy = cy;
    data->flags = flags;
    m_hImageList = GetRegistry().lists.Add(data);
    return TRUE;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF maskColor)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId))
        return FALSE;
    BITMAP info;
    bitmap.GetBitmap(&info);
    if (!Create(cx, info.bmHeight, maskColor == CLR_NONE ? ILC_COLOR24 : (ILC_COLOR24 | ILC_MASK), 0, grow))
        return FALSE;
    if (Add(&bitmap, maskColor) < 0) {
        DeleteImageList();
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return GetRegistry().lists.Take(Detach()) ? TRUE : FALSE;
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (m_hImageList || !ListOf(list))
        return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    return std::exchange(m_hImageList, nullptr);
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    auto data = ListOf(m_hImageList);
    if (!data || !bitmap)
        return -1;
    const QImage strip = GdiBitmapImage(bitmap->m_hObject);
    const QImage maskStrip = mask ? GdiBitmapImage(mask->m_hObject) : QImage();
    return AddStrip(*data, strip, maskStrip.isNull() ? nullptr : &maskStrip, CLR_NONE);
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColor)
{
    auto data = ListOf(m_hImageList);
    if (!data || !bitmap)
        return -1;
    return AddStrip(*data, GdiBitmapImage(bitmap->m_hObject), nullptr, maskColor);
}

int CImageList::Add(HICON icon)
{
    auto data = ListOf(m_hImageList);
    auto source = GdiIconOf(icon);
    if (!data || !source)
        return -1;
    const QSize size(data->cx, data->cy);
    data->colors.push_back(source->color.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    data->masks.push_back(source->mask.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return static_cast<int>(data->colors.size()) - 1;
}

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask)
{
    auto data = ListOf(m_hImageList);
    if (!data || !bitmap || index < 0 || index >= static_cast<int>(data->colors.size()))
        return FALSE;
    ImageListData scratch = *data;
    scratch.colors.clear();
    scratch.masks.clear();
    const QImage maskStrip = mask ? GdiBitmapImage(mask->m_hObject) : QImage();
    if (AddStrip(
            scratch, GdiBitmapImage(bitmap->m_hObject), maskStrip.isNull() ? nullptr : &maskStrip, CLR_NONE)
        < 0)
        return FALSE;
    data->colors[static_cast<size_t>(index)] = scratch.colors.front();
    data->masks[static_cast<size_t>(index)] = scratch.masks.front();
    return TRUE;
}

int CImageList::Replace(int index, HICON icon)
{
    auto data = ListOf(m_hImageList);
    auto source = GdiIconOf(icon);
    if (!data || !source)
        return -1;
    if (index == -1)
        return Add(icon);
    if (index < 0 || index >= static_cast<int>(data->colors.size()))
        return -1;
    const QSize size(data->cx, data->cy);
    data->colors[static_cast<size_t>(index)] = source->color.scaled(size);
    data->masks[static_cast<size_t>(index)] = source->mask.scaled(size);
    return index;
}

BOOL CImageList::Remove(int index)
{
    auto data = ListOf(m_hImageList);
    if (!data)
        return FALSE;
    if (index == -1) {
        data->colors.clear();
        data->masks.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(data->colors.size()))
        return FALSE;
    data->colors.erase(data->colors.begin() + index);
    data->masks.erase(data->masks.begin() + index);
    return TRUE;
}

int CImageList::GetImageCount() const
{
    auto data = ListOf(m_hImageList);
    return data ? static_cast<int>(data->colors.size()) : 0;
}

BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const
{
    auto data = ListOf(m_hImageList);
    if (!data || !info || index < 0 || index >= static_cast<int>(data->colors.size()))
        return FALSE;
    *info = IMAGEINFO {};
    info->rcImage = RECT { index * data->cx, 0, (index + 1) * data->cx, data->cy };
    return TRUE;
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const
{
    auto data = ListOf(m_hImageList);
    if (!data || !cx || !cy)
        return FALSE;
    *cx = data->cx;
    *cy = data->cy;
    return TRUE;
}

COLORREF CImageList::SetBkColor(COLORREF color)
{
    auto data = ListOf(m_hImageList);
    return data ? std::exchange(data->bkColor, color) : CLR_NONE;
}

COLORREF CImageList::GetBkColor() const
{
    auto data = ListOf(m_hImageList);
    return data ? data->bkColor : CLR_NONE;
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style)
{
    auto data = ListOf(m_hImageList);
    DcData* d = dc ? DcOf(dc->m_hDC) : nullptr;
    if (!data || !d || index < 0 || index >= static_cast<int>(data->colors.size()))
        return FALSE;
    QImage color = data->colors[static_cast<size_t>(index)];
    const QImage& mask = data->masks[static_cast<size_t>(index)];
    const QPoint at = DcToDevice(*d, point.x, point.y);
    const QSize size(data->cx, data->cy);
    if (style & ILD_MASK) {
        DcDrawMasked(*d, at, size, mask, QImage(), DI_IMAGE);
        return TRUE;
    }
    if (style & ILD_BLEND50)
        color = Blend(color, GetSysColor(COLOR_HIGHLIGHT), 50);
    else if (style & ILD_BLEND25)
        color = Blend(color, GetSysColor(COLOR_HIGHLIGHT), 25);
    if (data->Masked() && ((style & ILD_TRANSPARENT) || data->bkColor == CLR_NONE)) {
        DcDrawMasked(*d, at, size, color, mask, DI_NORMAL);
        return TRUE;
    }
    if (data->Masked()) {
        const QRgb bk = GdiRgb(data->bkColor);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (mask.pixel(x, y) & 0xFFFFFFu)
                    color.setPixel(x, y, bk);
    }
    DcDrawMasked(*d, at, size, color, QImage(), DI_IMAGE);
    return TRUE;
}

HICON CImageList::ExtractIcon(int index)
{
    auto data = ListOf(m_hImageList);
    if (!data || index < 0 || index >= static_cast<int>(data->colors.size()))
        return nullptr;
    auto icon = std::make_shared<IconData>();
    icon->color = data->colors[static_cast<size_t>(index)].copy();
    icon->mask
        = data->Masked() ? data->masks[static_cast<size_t>(index)].copy() : OpaqueMask(data->cx, data->cy);
    icon->hotspot = QPoint(data->cx / 2, data->cy / 2);
    return GdiRegisterIcon(icon);
}

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (!ListOf(list))
        return nullptr;
    Registry& r = GetRegistry();
    std::lock_guard lock(r.lists.Mutex());
    auto& wrapper = r.wrappers[list];
    if (!wrapper) {
        wrapper = std::make_unique<CImageList>();
        wrapper->m_hImageList = list;
    }
    return wrapper.get();
}
