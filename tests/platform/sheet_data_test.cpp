// Cell values, their shown text, display widths and the UTF-16 conversions
// of the spreadsheet stand-in.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/dao/ole_currency.h"
#include "platform/sheet/sheet_data.h"

namespace {

COleVariant Currency(LONGLONG scaled)
{
    CY cy;
    cy.int64 = scaled;
    return COleVariant(COleCurrency(cy));
}

} // namespace

TEST(SheetData, DisplayTextByType)
{
    struct Case {
        COleVariant value;
        const char* text;
    };
    const Case cases[] = {
        { COleVariant(), "" },
        { COleVariant(12.5), "12.5" },
        { COleVariant(-3.0), "-3" },
        { COleVariant(12345678901.0), "12345678901" },
        { COleVariant("00123"), "00123" },
        { COleVariant(static_cast<SHORT>(1), VT_BOOL), "TRUE" },
        { COleVariant(static_cast<SHORT>(0), VT_BOOL), "FALSE" },
        { COleVariant(kCellErrorNull, VT_ERROR), "#NULL!" },
        { COleVariant(kCellErrorDiv0, VT_ERROR), "#DIV/0!" },
        { COleVariant(kCellErrorValue, VT_ERROR), "#VALUE!" },
        { COleVariant(kCellErrorRef, VT_ERROR), "#REF!" },
        { COleVariant(kCellErrorName, VT_ERROR), "#NAME?" },
        { COleVariant(kCellErrorNum, VT_ERROR), "#NUM!" },
        { COleVariant(kCellErrorNA, VT_ERROR), "#N/A" },
        { COleVariant(45356.0, VT_DATE), "2024-03-05" },
        { COleVariant(45356.75, VT_DATE), "2024-03-05 18:00:00" },
        { COleVariant(0.5, VT_DATE), "12:00:00" },
        { Currency(-125000), "-12.5" },
        { Currency(30000), "3" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellDisplayText(c.value), c.text) << "type " << c.value.vt;
}

TEST(SheetData, NormalizeKeepsWhatACellHolds)
{
    struct Case {
        COleVariant in;
        VARTYPE vt;
        double number; // for VT_R8
    };
    const Case cases[] = {
        { COleVariant(static_cast<LONG>(-7)), VT_R8, -7.0 },
        { COleVariant(static_cast<SHORT>(300)), VT_R8, 300.0 },
        { COleVariant(static_cast<BYTE>(200)), VT_R8, 200.0 },
        { COleVariant(1.5f), VT_R8, 1.5 },
        { COleVariant(std::numeric_limits<double>::infinity()), VT_ERROR, 0 },
        { COleVariant(std::nan("")), VT_ERROR, 0 },
        { COleVariant::OfType(VT_NULL), VT_EMPTY, 0 },
        { COleVariant(""), VT_EMPTY, 0 },
        { COleVariant("x"), VT_BSTR, 0 },
        { COleVariant(static_cast<SHORT>(5), VT_BOOL), VT_BOOL, 0 },
        { COleVariant(45000.0, VT_DATE), VT_DATE, 0 },
        { Currency(1), VT_CY, 0 },
    };
    for (const Case& c : cases) {
        COleVariant value = c.in;
        ASSERT_TRUE(NormalizeCellValue(value)) << "type " << c.in.vt;
        EXPECT_EQ(value.vt, c.vt) << "type " << c.in.vt;
        if (c.vt == VT_R8) {
            EXPECT_EQ(value.dblVal, c.number);
        }
    }
    COleVariant boolean(static_cast<SHORT>(5), VT_BOOL);
    ASSERT_TRUE(NormalizeCellValue(boolean));
    EXPECT_EQ(CellDisplayText(boolean), "TRUE");
    COleVariant bytes(std::vector<BYTE> { 1, 2 });
    EXPECT_FALSE(NormalizeCellValue(bytes));
    EXPECT_EQ(bytes.vt, VT_ARRAY | VT_UI1);
}

TEST(SheetData, LongTextIsCutToTheCellLimitWithoutSplittingAPair)
{
    CString text(std::string(kCellTextMax - 1, 'a'));
    text += "\xF0\x9F\x98\x80"; // one character, two UTF-16 units
    COleVariant value(text);
    ASSERT_TRUE(NormalizeCellValue(value));
    EXPECT_EQ(value.bstrVal.GetLength(), kCellTextMax - 1);
    COleVariant fits(CString(std::string(kCellTextMax, 'b')));
    ASSERT_TRUE(NormalizeCellValue(fits));
    EXPECT_EQ(fits.bstrVal.GetLength(), kCellTextMax);
}

TEST(SheetData, DisplayWidthCountsWideCharactersTwice)
{
    struct Case {
        const char* text;
        long width;
    };
    const Case cases[] = {
        { "", 0 },
        { "item_name", 9 },
        { "사과", 4 },
        { "A사과1", 6 },
        { "ㄱ", 2 }, // compatibility Jamo
        { "漢字", 4 },
        { "ＡＢ", 4 }, // full-width forms
        { "é", 1 },
        { "\xFF", 1 }, // an invalid byte is one replacement character
        { "\xEA\xA5\x9F", 1 },
        { "\xEA\xA5\xA0", 2 }, // U+A95F, U+A960: the Jamo block starts
        { "\xF0\x9F\xBF\xBF", 1 },
        { "\xF0\xA0\x80\x80", 2 }, // U+1FFFF, U+20000
        // The ends of the Jamo extended, syllable and full-width sign blocks.
        { "\xEA\xA5\xBF", 2 },
        { "\xEA\xA6\x80", 1 },
        { "\xEA\xAF\xBF", 1 },
        { "가", 2 },
        { "힣", 2 },
        { "\xED\x9E\xA4", 1 },
        { "\xEF\xBF\xA6", 2 },
        { "\xEF\xBF\xA7", 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextDisplayWidth(c.text), c.width) << c.text;
}

TEST(SheetData, Utf16ConversionsRoundTrip)
{
    EXPECT_EQ(Utf8ToUtf16("A가"), (std::vector<std::uint16_t> { 0x41, 0xAC00 }));
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), (std::vector<std::uint16_t> { 0xD83D, 0xDE00 }));
    EXPECT_EQ(Utf8ToUtf16("\xF0\x90\x80\x80"), (std::vector<std::uint16_t> { 0xD800, 0xDC00 })); // U+10000
    EXPECT_EQ(Utf8ToUtf16("\xF1\x90\x80\x80"), (std::vector<std::uint16_t> { 0xD900, 0xDC00 })); // U+50000
    EXPECT_EQ(Utf8ToUtf16("\xF0\x8F\xBF\xBF"), std::vector<std::uint16_t>(4, 0xFFFD)); // overlong U+FFFF
    EXPECT_EQ(Utf8ToUtf16("\xC3"), (std::vector<std::uint16_t> { 0xFFFD }));
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), (std::vector<std::uint16_t> { 0xFFFD, 0xFFFD })); // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80").size(), 3u); // an encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xED\x9F\xBF"), (std::vector<std::uint16_t> { 0xD7FF })); // just below them
    for (const char* text : { "", "plain", "사과 '홍옥' 00123", "\xF0\x9F\x98\x80 é ＡＢ" })
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf16ToUtf8({ 0xD83D }), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8({ 0xD83D, 0xDE00, 0xE000 }), "\xF0\x9F\x98\x80\xEE\x80\x80");
    EXPECT_EQ(Utf16ToUtf8({ 0xDE00, 0x41 }),
        "\xEF\xBF\xBD"
        "A");
}
