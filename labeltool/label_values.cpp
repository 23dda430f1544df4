// Label value defaults and tables, font cells and dot conversions.

#include "labeltool/label_values.h"

namespace {

constexpr LabelItemValueIndices kItemIndices[kLabelItemCount] = {
    { 3, 4, 5, -1 },
    { 6, 7, 8, -1 },
    { 9, 10, 11, -1 },
    { 12, 13, 14, -1 },
    { 15, 16, 17, -1 },
    { 18, 19, 20, -1 },
    { 21, 22, kValueBarcodeOrientation, -1 },
    { 25, 26, 27, -1 },
    { 28, 29, 30, -1 },
    { 31, 32, 33, -1 },
    { 34, 35, 36, -1 },
    { 37, 38, 39, 40 },
    { 41, 42, 43, 44 },
    { 45, 46, 47, -1 },
    { 48, 49, 50, -1 },
};

constexpr LabelValues kDefaults = { 40, 60, 20, //
    1, 8, 5, 1, 99, 5, 1, 147, 2, 146, 147, 2, 291, 147, 5, 436, 147, 5, //
    18, 198, 0, 75, //
    343, 286, 9, 493, 195, 2, 316, 147, 2, 1, 1, 1, //
    18, 23, 0, 0, 1, 346, 1, 1, //
    334, 240, 5, 334, 195, 5 };

constexpr int kCellWidth[] = { 8, 8, 16, 16, 16, 16, 32, 32, 18 };
constexpr int kCellHeight[] = { 16, 32, 16, 24, 32, 48, 32, 48, 40 };

bool IsFont(int font)
{
    return font >= 1 && font <= 9;
}

// The viewer's rows, in item order.
constexpr const char* kRowNames[kLabelItemCount]
    = { "Goods Name", "Origin", "PackDate", "LimitDate", "PeicePrice", "Weight", "Barcode", "TotalPrice",
          "PLU", "Count", "판매종류", "Addition", "ADV", "VAT", "Price" };

struct ValueRange {
    std::string name;
    int lowest;
    int highest;
};

// What the viewer takes for each value.
std::array<ValueRange, kLabelValueCount> ValueRanges()
{
    std::array<ValueRange, kLabelValueCount> ranges;
    ranges[kValueLabelLength] = { "Label Length", 30, 150 };
    ranges[kValueLabelWidth] = { "Label Width", 10, 64 };
    ranges[kValueGap] = { "Edge", 15, 30 };
    ranges[kValueBarcodeLength] = { "BarCode Length", 0, 75 };
    for (int item = 0; item < kLabelItemCount; ++item) {
        const LabelItemValueIndices& at = kItemIndices[item];
        const std::string row = kRowNames[item];
        ranges[at.x] = { row + " X", 1, 700 };
        ranges[at.y] = { row + " Y", 1, 1500 };
        ranges[at.font] = { row + " Font", 0, item == 5 || item == 7 ? 9 : 8 };
    }
    ranges[kValueBarcodeOrientation] = { "Barcode Orientation", 0, 2 };
    ranges[kItemIndices[kItemMark].font] = { "판매종류 Size", 0, 6 };
    ranges[kItemIndices[kItemAddition].lines] = { "Addition Line", 0, 10 };
    ranges[kItemIndices[kItemAdvertisement].lines] = { "Adv Line", 0, 1 };
    return ranges;
}

} // namespace

const LabelItemValueIndices& ItemValueIndices(int item)
{
    return kItemIndices[item];
}

std::optional<std::string> LabelValuesMisfit(const LabelValues& values)
{
    static const std::array<ValueRange, kLabelValueCount> kRanges = ValueRanges();
    for (int i = 0; i < kLabelValueCount; ++i) {
        const ValueRange& range = kRanges[i];
        if (values[i] < range.lowest || values[i] > range.highest)
            return "Error - " + range.name + " is : " + std::to_string(range.lowest) + " ~ "
                + std::to_string(range.highest) + ". value : " + std::to_string(values[i]);
    }
    return std::nullopt;
}

const LabelValues& DefaultLabelValues()
{
    return kDefaults;
}

LabelValues& LabelParameterTable()
{
    static LabelValues table = kDefaults;
    return table;
}

const std::array<LabelFieldDefault, kLabelItemCount>& LabelFieldDefaults()
{
    static const std::array<LabelFieldDefault, kLabelItemCount> kTable = { {
        { "Goods Name", 56, 32 },
        { "Origin", 56, 32 },
        { "PackDate", 14, 32 },
        { "LimitDate", 14, 32 },
        { "PeicePrice", 7, 32 },
        { "Weight", 6, 40 },
        { "2-5-5", 204, 75 },
        { "TotalPrice", 7, 40 },
        { "PLU", 5, 32 },
        { "Count", 9, 32 },
        { "ICON", 80, 89 },
        { "An addition", 56, 16 },
        { "An advertisement", 56, 16 },
        { "VAT", 7, 32 },
        { "Price", 7, 32 },
    } };
    return kTable;
}

int GetFontCellSize(int font, int wantHeight)
{
    if (!IsFont(font))
        return 0;
    return wantHeight ? kCellHeight[font - 1] : kCellWidth[font - 1];
}

int AddCellHeight(int coordinate, int font)
{
    return AddCellHeights(coordinate, font, 1);
}

int AddCellHeights(int coordinate, int font, int count)
{
    return IsFont(font) ? coordinate + kCellHeight[font - 1] * count : coordinate;
}

int XDotsFromTenths(int tenths)
{
    return tenths * 1000 / 125 / 10;
}

int YDotsFromTenths(int tenths)
{
    return tenths * 1000 / 145 / 10;
}

int XTenthsFromDots(int dots)
{
    return dots * 125 / 100 + 1;
}

int YTenthsFromDots(int dots)
{
    return dots * 145 / 100 + 1;
}

int LabelLengthDots(int millimetres)
{
    return (millimetres * 10000 - 10000) / 145 / 10;
}

int LabelLengthMillimetres(int dots)
{
    const int rounded = (dots * 145 / 100 + 6) / 10;
    for (int candidate : { rounded, rounded + 1, rounded - 1 })
        if (LabelLengthDots(candidate) == dots)
            return candidate;
    return rounded;
}

LabelChangeQueue& LabelChangeNotices()
{
    static LabelChangeQueue queue;
    return queue;
}
