// Preview item geometry: building from the values, the viewer's notices,
// clamping and the moved-item report.

#include <gtest/gtest.h>

#include "labeltool/cassette.h"
#include "labeltool/label_items.h"

namespace {

const CPoint kOrigin = LabelOrigin(CassetteGeometry {});

std::unique_ptr<CLabelTextItem> Build(int item, const LabelValues& values = DefaultLabelValues())
{
    return BuildLabelItem(item, values, kOrigin);
}

} // namespace

TEST(LabelItems, BuiltFromTheValues)
{
    EXPECT_EQ(kOrigin, CPoint(24, 27));
    // Goods name: font 5 (16 x 32) is 56 x 16 = 896 wide, capped at 448; two lines high.
    auto goods = Build(kItemGoodsName);
    EXPECT_EQ(goods->m_rect, CRect(CPoint(24 + 0, 27 + 5), CSize(448, 64)));
    EXPECT_EQ(goods->m_fontIndex, 5);
    EXPECT_EQ(goods->m_name, "Goods Name");
    // PackDate at (1, 147) in font 2 (8 x 32): 14 cells; the total price in
    // font 9 (18 x 40): 7 cells.
    EXPECT_EQ(Build(2)->m_rect, CRect(CPoint(24, 27 + 101), CSize(112, 32)));
    EXPECT_EQ(Build(7)->m_rect.Size(), CSize(126, 40));
    // Addition lines multiply its height; the advertisement's choice counts one more.
    LabelValues values = DefaultLabelValues();
    values[39] = 1;
    values[40] = 3;
    values[43] = 3;
    values[44] = 1;
    EXPECT_EQ(Build(kItemAddition, values)->m_rect.Height(), 48);
    EXPECT_EQ(Build(kItemAdvertisement, values)->m_rect.Height(), 32);
    // The barcode turns with its orientation and keeps its length.
    auto barcode = Build(kItemBarcode);
    EXPECT_EQ(barcode->m_rect, CRect(CPoint(24 + 14, 27 + 136), CSize(204, 91)));
    values[23] = 2;
    EXPECT_EQ(Build(kItemBarcode, values)->m_rect.Size(), CSize(91, 204));
    EXPECT_EQ(dynamic_cast<CLabelBitmapItem&>(*barcode).m_barcodeLength, 75);
    EXPECT_FALSE(IsPreviewItem(kItemCount));
    EXPECT_FALSE(IsPreviewItem(kItemMark));
    EXPECT_TRUE(IsPreviewItem(14));
}

TEST(LabelItems, NoticesMoveResizeAndTurn)
{
    // An X or Y places the item from the value, whatever it was before; the
    // moved flag is the user's alone.
    auto item = Build(1);
    const CSize size = item->m_rect.Size();
    for (int x : { 11, 12, 13 })
        ApplyItemNotice(*item, { 1, LabelChangeKind::MoveX, x, 0 }, DefaultLabelValues(), kOrigin);
    ApplyItemNotice(*item, { 1, LabelChangeKind::MoveY, 10, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(item->m_rect, CRect(CPoint(kOrigin.x + 10, kOrigin.y + 6), size));
    EXPECT_FALSE(item->m_moved);
    ApplyItemNotice(*item, { 1, LabelChangeKind::Font, 1, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(item->m_rect.Size(), CSize(448, 16));
    EXPECT_EQ(item->m_trackRect, item->m_rect);
    // An addition with no lines is not printed.
    auto addition = Build(kItemAddition);
    ApplyItemNotice(*addition, { kItemAddition, LabelChangeKind::Font, 3, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(addition->m_fontIndex, 0);
    ApplyItemNotice(*addition, { kItemAddition, LabelChangeKind::Font, 3, 2 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(addition->m_fontIndex, 3);
    EXPECT_EQ(addition->m_rect.Size(), CSize(448, 32));
    // Barcode length and orientation.
    auto barcode = Build(kItemBarcode);
    ApplyItemNotice(
        *barcode, { kItemBarcode, LabelChangeKind::BarcodeLength, 26, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(barcode->m_rect.Size(), CSize(204, 26));
    ApplyItemNotice(
        *barcode, { kItemBarcode, LabelChangeKind::BarcodeOrientation, 1, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(barcode->m_rect.Size(), CSize(26, 204));
    LabelValues vertical = DefaultLabelValues();
    vertical[23] = 1;
    ApplyItemNotice(*barcode, { kItemBarcode, LabelChangeKind::BarcodeLength, 91, 0 }, vertical, kOrigin);
    EXPECT_EQ(barcode->m_rect.Size(), CSize(91, 204));
    ApplyItemNotice(*barcode, { kItemBarcode, LabelChangeKind::BarcodeOrientation, 2, 0 }, vertical, kOrigin);
    EXPECT_EQ(barcode->m_rect.Size(), CSize(91, 204));
    ApplyItemNotice(
        *barcode, { kItemBarcode, LabelChangeKind::BarcodeOrientation, 0, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(barcode->m_rect.Size(), CSize(204, 91));
    ApplyItemNotice(
        *barcode, { kItemBarcode, LabelChangeKind::BarcodeLength, 0, 0 }, DefaultLabelValues(), kOrigin);
    EXPECT_EQ(dynamic_cast<CLabelBitmapItem&>(*barcode).m_barcodeLength, 0);
}

TEST(LabelItems, ClampAndReport)
{
    const CSize size(40, 20);
    EXPECT_EQ(ClampItemRect(CRect(CPoint(0, 0), size), kOrigin), CRect(kOrigin, size));
    EXPECT_EQ(ClampItemRect(CRect(CPoint(1000, 2000), size), kOrigin),
        CRect(CPoint(kOrigin.x + 560, kOrigin.y + 1034), size));
    EXPECT_EQ(ClampItemRect(CRect(CPoint(kOrigin.x + 560, kOrigin.y + 1034), size), kOrigin).TopLeft(),
        CPoint(kOrigin.x + 560, kOrigin.y + 1034));
    EXPECT_EQ(ItemMovedWParam(3), static_cast<WPARAM>(0x030C));
    EXPECT_EQ(ItemMovedLParam(CRect(CPoint(kOrigin.x + 80, kOrigin.y + 68), size), kOrigin),
        static_cast<LPARAM>((80 << 16) | 68));
}
