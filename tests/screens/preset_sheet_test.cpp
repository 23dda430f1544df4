// The preset sheet's line breaking: where the key on screen breaks its lines
// (else six CP949 bytes a line, double-byte characters whole), CR LF breaks,
// four lines at most.

#include <gtest/gtest.h>

#include "screens/preset_sheet.h"

namespace {

TEST(PresetSheetWrap, LinesHoldSixBytesAndFourLinesAtMost)
{
    struct Case {
        const char* text;
        PresetKeyLines lines;
    };
    const Case cases[] = {
        { "", { "", "", "", "" } },
        { "123456", { "123456", "", "", "" } },
        { "1234567", { "123456", "7", "", "" } },
        { "123456789012ab", { "123456", "789012", "ab", "" } },
        { "\r\n12", { "12", "", "", "" } },
        { "12\r\n34\r\n56", { "12", "34", "56", "" } },
        { "12\r\n\r\n34", { "12", "34", "", "" } },
        { "123456\r\n7", { "123456", "7", "", "" } },
        { "A\r\nB\r\nC\r\nD\r\nE", { "A", "B", "C", "D" } },
        { "\r\n\r\n\r\n\r\nA", { "", "", "", "" } },
        // Beyond four lines nothing is written.
        { "abcdefghijklmnopqrstuvwxyz0123456789", { "abcdef", "ghijkl", "mnopqr", "stuvwx" } },
        { "가나다라", { "가나다", "라", "", "" } },
        // A syllable that would be cut moves whole to the next line.
        { "a가나다", { "a가나", "다", "", "" } },
        { "abcde가", { "abcde", "가", "", "" } },
        { " 날짜  시간", { " 날짜 ", " 시간", "", "" } },
        { "12\r34", { "12\r34", "", "", "" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapPresetKeyText(c.text), c.lines) << c.text;
}

TEST(PresetSheetWrap, LinesEndWhereTheKeyOnScreenEndsThem)
{
    struct Case {
        const char* text;
        std::vector<int> shownStarts;
        PresetKeyLines lines;
    };
    const Case cases[] = {
        { "닭가슴살", { 0 }, { "닭가슴살", "", "", "" } },
        { "Pork belly", { 0, 5 }, { "Pork ", "belly", "", "" } },
        { "12\r\n닭가슴살닭", { 0, 4, 16 }, { "12", "닭가슴살", "닭", "" } },
        { "\r\n12", { 0, 2 }, { "12", "", "", "" } },
        { "abcdefghijklmnopqrst", { 0, 4, 8, 12, 16 }, { "abcd", "efgh", "ijkl", "mnop" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapPresetKeyText(c.text, &c.shownStarts), c.lines) << c.text;
}

} // namespace
