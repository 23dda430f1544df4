// The result dialogs' rules without windows: weeks of the month, the decimal
// point, item texts. The walks over ranges are tried through the dialogs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/result_sums.h"
#include "results/result_view_dlg.h"

namespace {

TEST(ResultDates, WeekdaysAndWeeksOfTheMonth)
{
    struct Case {
        ResultDate date;
        int weekday;
        int week;
    } const cases[] = {
        { { 2009, 3, 1 }, 0, 2 }, // a month that begins on a Sunday starts in week 2
        { { 2009, 3, 8 }, 0, 3 }, { { 2009, 3, 31 }, 2, 6 },
        { { 2009, 8, 1 }, 6, 1 }, // begins on a Saturday: week 1 is the 1st alone
        { { 2009, 8, 2 }, 0, 2 }, { { 2009, 8, 30 }, 0, 6 },
        { { 2010, 1, 31 }, 0, 6 }, // 31 days beginning on a Friday
        { { 2006, 12, 30 }, 6, 5 }, { { 2000, 2, 29 }, 2, 5 },
        { { 2100, 3, 1 }, 1, 1 }, // 2100 is no leap year
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DayKey(c.date).Str());
        EXPECT_EQ(DayOfWeek(c.date), c.weekday);
        EXPECT_EQ(WeekOfMonth(c.date), c.week);
    }
    EXPECT_EQ(DayKey(ResultDate { 2006, 5, 3 }), "2006- 5- 3");
    EXPECT_EQ(DayKey(ResultDate { 2006, 12, 31 }), "2006-12-31");
}

TEST(ResultTexts, SumsAndDecimalPoints)
{
    EXPECT_EQ(SumText(-1), "-1");
    EXPECT_EQ(SumText(-1200), "-1200");
    EXPECT_EQ(SumText(0), "0");
    EXPECT_EQ(SumText(12345), "12345");
    struct Case {
        const char* text;
        int decimals;
        const char* shown;
    } const cases[] = {
        { "12345", 2, "123.45" },
        { "5", 2, "0.05" },
        { "0", 2, "0.00" },
        { "-5", 2, "-0.05" },
        { "1250", 2, "12.50" },
        { "75", 3, "0.075" },
        { "-1200", 2, "-12.00" },
        { "12", 2, "0.12" },
        { "12345", 0, "12345" },
        { "7", 1, "0.7" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsertDecimalPoint(c.text, c.decimals), c.shown) << c.text << " " << c.decimals;
}

TEST(ResultItems, RangesListsAndTheBound)
{
    struct Case {
        const char* text;
        BOOL ok;
        std::vector<CString> numbers;
    } const cases[] = {
        { "7", TRUE, { "7" } },
        { "1-4", TRUE, { "1", "2", "3", "4" } },
        { "3-1", TRUE, {} },
        { "1,,3", TRUE, { "1", "", "3" } },
        { "5,6", TRUE, { "5", "6" } },
        { "-3", TRUE, { "-3" } }, // a sign in front is no range
        { "1-99999", FALSE, {} },
        { "1-9999999999999999999999", FALSE, {} },
        { "-9223372036854775807-5", FALSE, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<CString> numbers { "stale" };
        EXPECT_EQ(ParseItemNumbers(c.text, numbers), c.ok);
        EXPECT_EQ(numbers, c.numbers);
    }
    std::vector<CString> numbers;
    EXPECT_TRUE(ParseItemNumbers("1-2048", numbers));
    EXPECT_EQ(numbers.size(), 2048u);
    EXPECT_EQ(numbers.back(), "2048");
    CString many = "1";
    for (int i = 0; i < 2048; ++i)
        many += ",1";
    EXPECT_FALSE(ParseItemNumbers(many, numbers));
}

} // namespace
