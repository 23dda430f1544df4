#pragma once
// The preview's label items: one rectangle per printed field, built from the
// parameter table and moved by the viewer's change notices, and the text and
// barcode drawing. Rectangles are in preview dots of the whole picture.

#include <cstdint>
#include <memory>

#include "labeltool/label_values.h"
#include "platform/base/cstring.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"

// A font of a cell size (height -12, weight 400, "Times New Roman" until a
// cell is set); setting the height or the width makes the font again.
class CLabelFont : public CFont {
public:
    CLabelFont();
    void SetHeight(int height);
    void SetWidth(int width);
    COLORREF m_textColor = RGB(0, 0, 0);

private:
    void Remake();
    int m_height = -12;
    int m_width = 0;
};

class CLabelTextItem {
public:
    CLabelTextItem(int item, const CString& name);
    virtual ~CLabelTextItem() = default;
    CLabelTextItem(const CLabelTextItem&) = delete;
    CLabelTextItem& operator=(const CLabelTextItem&) = delete;

    // Frames the rectangle and writes the name in the font's cell; nothing
    // for font 0.
    virtual void Draw(CDC* dc);

    CRect m_rect;
    BOOL m_moved = FALSE;
    CRect m_trackRect;
    CString m_name;
    CLabelFont m_font;
    int m_item;
    int m_fontIndex = 0;
};

class CLabelBitmapItem : public CLabelTextItem {
public:
    static constexpr UINT kHorizontalBitmap = 131;
    static constexpr UINT kVerticalBitmap = 155;
    static constexpr int kStripeLength = 268;

    CLabelBitmapItem(int item, const CString& name);
    // The frame, the stripe frame and the bar code picture, when the barcode
    // length is not 0.
    void Draw(CDC* dc) override;

    UINT m_horizontalId = kHorizontalBitmap;
    UINT m_verticalId = kVerticalBitmap;
    CBitmap m_horizontal;
    CBitmap m_vertical;
    int m_barcodeLength = 0;
};

// Makes item (0 to 14, not the count or the mark) from the table, its
// position relative to origin.
std::unique_ptr<CLabelTextItem> BuildLabelItem(int item, const LabelValues& table, CPoint origin);
// Sets an item's rectangle and font from the table by the building rule.
void RebuildLabelItem(CLabelTextItem& item, const LabelValues& table, CPoint origin);
// The items the preview shows (all but the count and the mark).
bool IsPreviewItem(int item);

// Applies an item notice (kinds 31 to 55) to its item's rectangles: an X or Y
// places it from the value itself, relative to origin. table gives the barcode
// orientation. The moved flag is the user's moves only: it is left alone.
void ApplyItemNotice(
    CLabelTextItem& item, const LabelChangeNotice& notice, const LabelValues& table, CPoint origin);

// Keeps a moved rectangle's size, its left within origin.x .. origin.x + 560
// and its top within origin.y .. origin.y + 1034.
CRect ClampItemRect(const CRect& rect, CPoint origin);

// WM_LABEL_ITEM_MOVED parameters for an item at rect.
WPARAM ItemMovedWParam(int item);
LPARAM ItemMovedLParam(const CRect& rect, CPoint origin);
