// Label items: building, notices, clamping and drawing.

#include "labeltool/label_items.h"

#include <algorithm>

namespace {

constexpr int kMaxItemWidth = 448;
constexpr int kBarcodeWidth = 204;
constexpr int kBarcodeQuiet = 16;
constexpr int kMaxLeft = 560;
constexpr int kMaxTop = 1034;
constexpr WPARAM kMovedCode = 12;

// Width and height of a text item in font for its line count.
CSize TextItemSize(int item, int font, int lines)
{
    const int width = std::min(GetFontCellSize(font, 0) * LabelFieldDefaults()[item].width, kMaxItemWidth);
    int height = GetFontCellSize(font, 1);
    if (item == kItemGoodsName)
        height *= 2;
    else if (item == kItemAddition || item == kItemAdvertisement)
        height *= lines;
    return CSize(width, height);
}

// The line count an item's height takes from the table.
int TableLines(int item, const LabelValues& table)
{
    if (item == kItemAddition)
        return table[ItemValueIndices(item).lines];
    if (item == kItemAdvertisement)
        return table[ItemValueIndices(item).lines] + 1;
    return 1;
}

void SetRect(CLabelTextItem& item, const CRect& rect)
{
    item.m_rect = rect;
    item.m_trackRect = rect;
}

} // namespace

CLabelFont::CLabelFont()
{
    Remake();
}

void CLabelFont::SetHeight(int height)
{
    m_height = height;
    Remake();
}

void CLabelFont::SetWidth(int width)
{
    m_width = width;
    Remake();
}

void CLabelFont::Remake()
{
    DeleteObject();
    CreateFont(m_height, m_width, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman");
}

CLabelTextItem::CLabelTextItem(int item, const CString& name)
    : m_name(name)
    , m_item(item)
{ }

void CLabelTextItem::Draw(CDC* dc)
{
    if (m_fontIndex == 0)
        return;
    m_font.SetHeight(GetFontCellSize(m_fontIndex, 1));
    m_font.SetWidth(GetFontCellSize(m_fontIndex, 0));
    const int saved = dc->SaveDC();
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(&m_rect);
    dc->SelectObject(&m_font);
    dc->SetTextColor(m_font.m_textColor);
    dc->SetBkMode(TRANSPARENT);
    CRect inside = m_rect;
    inside.DeflateRect(1, 1);
    dc->DrawText(m_name, &inside, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    dc->RestoreDC(saved);
}

CLabelBitmapItem::CLabelBitmapItem(int item, const CString& name)
    : CLabelTextItem(item, name)
{
    m_horizontal.LoadBitmap(m_horizontalId);
    m_vertical.LoadBitmap(m_verticalId);
}

void CLabelBitmapItem::Draw(CDC* dc)
{
    if (m_barcodeLength == 0)
        return;
    const bool wide = m_rect.Width() > m_rect.Height();
    const int saved = dc->SaveDC();
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(&m_rect);
    const CRect stripe = wide ? CRect(m_rect.left, m_rect.top, m_rect.left + kStripeLength, m_rect.bottom)
                              : CRect(m_rect.left, m_rect.top, m_rect.right, m_rect.top + kStripeLength);
    dc->Rectangle(&stripe);
    CBitmap& picture = wide ? m_horizontal : m_vertical;
    BITMAP info {};
    if (picture.GetSafeHandle() && picture.GetBitmap(&info)) {
        CDC source;
        source.CreateCompatibleDC(dc);
        CBitmap* old = source.SelectObject(&picture);
        const int along = kStripeLength / 2;
        const int across = (wide ? m_rect.Height() : m_rect.Width()) - 2;
        dc->StretchBlt(m_rect.left + 1, m_rect.top + 1, wide ? along : across, wide ? across : along, &source,
            0, 0, info.bmWidth, info.bmHeight, SRCAND);
        source.SelectObject(old);
    }
    dc->RestoreDC(saved);
}

bool IsPreviewItem(int item)
{
    return item >= 0 && item < kLabelItemCount && item != kItemCount && item != kItemMark;
}

void RebuildLabelItem(CLabelTextItem& item, const LabelValues& table, CPoint origin)
{
    const LabelItemValueIndices& at = ItemValueIndices(item.m_item);
    const CPoint topLeft(origin.x + XDotsFromTenths(table[at.x]), origin.y + YDotsFromTenths(table[at.y]));
    if (auto* barcode = dynamic_cast<CLabelBitmapItem*>(&item)) {
        const CSize size = table[kValueBarcodeOrientation] == 0 ? CSize(kBarcodeWidth, 75 + kBarcodeQuiet)
                                                                : CSize(75 + kBarcodeQuiet, kBarcodeWidth);
        barcode->m_barcodeLength = table[kValueBarcodeLength];
        SetRect(item, CRect(topLeft, size));
        return;
    }
    item.m_fontIndex = table[at.font];
    SetRect(
        item, CRect(topLeft, TextItemSize(item.m_item, item.m_fontIndex, TableLines(item.m_item, table))));
}

std::unique_ptr<CLabelTextItem> BuildLabelItem(int item, const LabelValues& table, CPoint origin)
{
    const CString name = LabelFieldDefaults()[item].name;
    std::unique_ptr<CLabelTextItem> made = item == kItemBarcode
        ? std::make_unique<CLabelBitmapItem>(item, name)
        : std::make_unique<CLabelTextItem>(item, name);
    RebuildLabelItem(*made, table, origin);
    return made;
}

void ApplyItemNotice(
    CLabelTextItem& item, const LabelChangeNotice& notice, const LabelValues& table, CPoint origin)
{
    CRect rect = item.m_rect;
    switch (notice.kind) {
    case LabelChangeKind::MoveX:
        rect.OffsetRect(origin.x + XDotsFromTenths(notice.value) - rect.left, 0);
        break;
    case LabelChangeKind::MoveY:
        rect.OffsetRect(0, origin.y + YDotsFromTenths(notice.value) - rect.top);
        break;
    case LabelChangeKind::Font: {
        item.m_fontIndex = notice.value;
        if (item.m_item == kItemAddition && notice.value2 == 0)
            item.m_fontIndex = 0;
        const int lines
            = item.m_item == kItemAddition || item.m_item == kItemAdvertisement ? notice.value2 : 1;
        rect = CRect(rect.TopLeft(), TextItemSize(item.m_item, notice.value, lines));
        break;
    }
    case LabelChangeKind::BarcodeLength:
        if (table[kValueBarcodeOrientation] == 0)
            rect.bottom = rect.top + notice.value;
        else
            rect.right = rect.left + notice.value;
        if (auto* barcode = dynamic_cast<CLabelBitmapItem*>(&item))
            barcode->m_barcodeLength = notice.value;
        break;
    case LabelChangeKind::BarcodeOrientation: {
        const bool turn = notice.value == 0 ? rect.Height() > rect.Width() : rect.Width() > rect.Height();
        if (turn)
            rect = CRect(rect.TopLeft(), CSize(rect.Height(), rect.Width()));
        break;
    }
    default:
        return;
    }
    SetRect(item, rect);
}

CRect ClampItemRect(const CRect& rect, CPoint origin)
{
    const int left = std::clamp(static_cast<int>(rect.left), static_cast<int>(origin.x), origin.x + kMaxLeft);
    const int top = std::clamp(static_cast<int>(rect.top), static_cast<int>(origin.y), origin.y + kMaxTop);
    return CRect(CPoint(left, top), rect.Size());
}

WPARAM ItemMovedWParam(int item)
{
    return (static_cast<WPARAM>(item) << 8) | kMovedCode;
}

LPARAM ItemMovedLParam(const CRect& rect, CPoint origin)
{
    const auto x = static_cast<std::uint32_t>(rect.left - origin.x) & 0xFFFF;
    const auto y = static_cast<std::uint32_t>(rect.top - origin.y) & 0xFFFF;
    return static_cast<LPARAM>((x << 16) | y);
}
