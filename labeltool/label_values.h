#pragma once
// The 51 label values of one user label, their defaults, the program-wide
// parameter table, the preview items' fixed sizes and the font cells, and
// the change notices that carry edits to the preview.
//
// Units: X in tenths of a millimetre across the label, Y in tenths along it,
// label length and width in millimetres, gap in tenths, barcode length in
// dots. Across, a dot is 0.125 mm; along, 0.145 mm.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kLabelValueCount = 51;
using LabelValues = std::array<int, kLabelValueCount>;

// Indices of the values that are not item positions.
inline constexpr int kValueLabelLength = 0;
inline constexpr int kValueLabelWidth = 1;
inline constexpr int kValueGap = 2;
inline constexpr int kValueBarcodeOrientation = 23;
inline constexpr int kValueBarcodeLength = 24;

// Preview items 0 to 14; 6 is the barcode, 9 the count, 10 the sale kind
// mark, 11 the addition and 12 the advertisement.
inline constexpr int kLabelItemCount = 15;
inline constexpr int kItemGoodsName = 0;
inline constexpr int kItemBarcode = 6;
inline constexpr int kItemCount = 9;
inline constexpr int kItemMark = 10;
inline constexpr int kItemAddition = 11;
inline constexpr int kItemAdvertisement = 12;

// The value indices of an item: X, Y, font (or orientation / mark size) and
// line count; -1 where the item has none.
struct LabelItemValueIndices {
    int x;
    int y;
    int font;
    int lines;
};
const LabelItemValueIndices& ItemValueIndices(int item);

// The box text for the first value outside what the viewer takes (positions
// 1..700 across, 1..1500 along, combo choices within their lists, barcode
// length 0..75, label length 30..150, width 10..64, gap 15..30); nothing when
// every value fits. A label from a scale or a file is checked before use.
std::optional<std::string> LabelValuesMisfit(const LabelValues& values);

// The defaults of a new label.
const LabelValues& DefaultLabelValues();
// The program-wide copy the viewer starts from and the preview builds from.
LabelValues& LabelParameterTable();

// A preview item's name and size: width in font cells (text items) or dots
// (barcode, mark); height in dots (barcode and mark only).
struct LabelFieldDefault {
    const char* name;
    int width;
    int height;
};
const std::array<LabelFieldDefault, kLabelItemCount>& LabelFieldDefaults();

// Width (wantHeight 0) or height (1) in dots of font cells 1 to 9; 0 for any
// other font.
int GetFontCellSize(int font, int wantHeight);
// coordinate plus one cell height, or plus count cell heights, of fonts 1 to
// 9; the coordinate unchanged for other fonts.
int AddCellHeight(int coordinate, int font);
int AddCellHeights(int coordinate, int font, int count);

// Tenths of a millimetre to dots and back (truncating at each division).
int XDotsFromTenths(int tenths);
int YDotsFromTenths(int tenths);
int XTenthsFromDots(int dots);
int YTenthsFromDots(int dots);
// Label length in millimetres to dots along the label, and the length that
// maps back to the same dots.
int LabelLengthDots(int millimetres);
int LabelLengthMillimetres(int dots);

enum class LabelChangeKind : std::uint32_t {
    MoveX = 31, // value: the item's new X in tenths
    MoveY = 33, // value: the item's new Y in tenths
    Font = 51,
    BarcodeLength = 53,
    BarcodeOrientation = 54,
    MarkSize = 55,
    WholeLabel = 77,
    LabelSize = 91,
    Gap = 93,
};

// Item codes of the label size notices.
inline constexpr std::uint32_t kSizeCodeLength = 99;
inline constexpr std::uint32_t kSizeCodeWidth = 88;

struct LabelChangeNotice {
    std::uint32_t item = 0;
    LabelChangeKind kind = LabelChangeKind::WholeLabel;
    int value = 0;
    int value2 = 0;
};

// Notices waiting for the preview's next paint, applied there in order (a
// second edit before a repaint does not replace the first).
class LabelChangeQueue {
public:
    void Post(const LabelChangeNotice& notice) { m_notices.push_back(notice); }
    bool IsPending() const { return !m_notices.empty(); }
    std::vector<LabelChangeNotice> Take()
    {
        std::vector<LabelChangeNotice> taken;
        taken.swap(m_notices);
        return taken;
    }

private:
    std::vector<LabelChangeNotice> m_notices;
};

// The program's one queue between the viewer and the preview.
LabelChangeQueue& LabelChangeNotices();
