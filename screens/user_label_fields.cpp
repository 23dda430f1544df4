#include "screens/user_label_fields.h"

namespace {

// Bitmap ids of the fields; the bar code's across, 90 and 270 degrees.
constexpr unsigned kBarcodeBitmaps[] = { 193, 213, 214 };

} // namespace

const std::array<LabelField, kLabelFieldCount>& LabelFields()
{
    static const std::array<LabelField, kLabelFieldCount> kFields { {
        { "item name", 2, 188 },
        { "origin", 5, 191 },
        { "packing date", 8, 194 },
        { "sell-by date", 11, 195 },
        { "piece price", 14, 196 },
        { "weight", 17, 197 },
        { "bar code", 20, 193 },
        { "price", 24, 198 },
        { "item number", 27, 199 },
        { "count", 30, 200 },
        { "ingredient text", 33, 201 },
        { "advertisement", 37, 202 },
        { "tax", 44, 203 },
        { "price with tax", 47, 204 },
    } };
    return kFields;
}

bool IsLabelTextField(int index)
{
    return index == kFieldIngredient || index == kFieldAdvertisement;
}

CRect FieldHomeRect(int index, int palette)
{
    switch (index) {
    case kFieldItemName:
        return CRect(palette + 120, 180, palette + 220, 180 + kDefaultFieldHeight + 5);
    case kFieldBarcode:
        return CRect(palette + 120, 10, palette + 270, 90);
    case kFieldItemNumber:
        return CRect(palette + 120, 110, palette + 170, 125);
    case 12:
        return CRect(palette + 120, 130, palette + 220, 145);
    case 13:
        return CRect(palette + 120, 150, palette + 220, 165);
    default:
        break;
    }
    // The first column stacks the others 25 pixels apart; every field before
    // but the bar code and the item number takes a place.
    int n = 0;
    for (int i = 0; i < index; ++i)
        n += i != kFieldBarcode && i != kFieldItemNumber ? 1 : 0;
    const int top = 10 + kDefaultFieldHeight * n;
    const int width = index == 2 || index == 3 ? 100 : 90;
    return CRect(palette + 10, top, palette + 10 + width, top + kDefaultFieldHeight - 10);
}

int FieldHeightOfKind(int kind)
{
    switch (kind) {
    case 4:
        return 32;
    case 2:
    case 5:
    case 7:
        return 40;
    case 9:
        return 47;
    case 6:
    case 8:
        return 55;
    default:
        return kDefaultFieldHeight;
    }
}

unsigned BarcodeBitmap(int form)
{
    return kBarcodeBitmaps[form == 1 || form == 2 ? form : 0];
}

CSize BarcodeSize(int form)
{
    return form == 1 || form == 2 ? CSize(80, 150) : CSize(150, 80);
}

CRect LabelRectOfWidth(int width, int length)
{
    return CRect(
        kLabelLeft, kLabelTop, kLabelLeft + width * 10 / 2, length == 0 ? 250 : kLabelTop + length * 10 / 2);
}

CRect LabelRectOfLength(int width, int length)
{
    return CRect(
        kLabelLeft, kLabelTop, width == 0 ? 290 : kLabelLeft + width * 10 / 2, kLabelTop + length * 10 / 2);
}

bool IsOnLabel(const CRect& label, int left, int top)
{
    if (left > label.right)
        return false;
    if (top < label.top || left < label.left)
        return true;
    return top <= label.bottom;
}
