#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "grid/cell_range.h"
#include "grid/compare.h"
#include "grid/pick_list.h"

namespace {

std::vector<int> Collected(const CGridSelectionMap& map, int downRow)
{
    std::vector<int> list(kPickListSize, -7);
    const int n = CollectPickedRows(map, downRow, list.data());
    std::vector<int> keys(list.begin(), list.begin() + n);
    std::vector<int> index(n);
    std::iota(index.begin(), index.end(), 0);
    SortPickKeysDescending(n, keys.data(), index.data());
    std::vector<int> sorted;
    for (int i = 0; i < n; ++i)
        sorted.push_back(list[index[i]]);
    EXPECT_TRUE(std::all_of(list.begin() + n, list.end(), [](int v) { return v == 0; }));
    return sorted;
}

TEST(PickList, RowsOfSelectionAndClickedRowHighestFirstOnceEachWithoutTheHeading)
{
    struct Case {
        const char* name;
        std::vector<CGridCellCoord> selected;
        int downRow;
        std::vector<int> rows;
    } const cases[] = {
        { "rows and the clicked row", { { 7, 0 }, { 7, 3 }, { 3, 1 }, { 12, 2 }, { 12, 0 } }, 5,
            { 12, 7, 5, 3 } },
        { "clicked row already selected", { { 4, 2 }, { 9, 1 } }, 4, { 9, 4 } },
        { "heading row", { { 0, 1 }, { 2, 1 } }, 0, { 2 } },
    };
    for (const Case& c : cases) {
        CGridSelectionMap map;
        for (const CGridCellCoord& cell : c.selected)
            map.Add(cell.row, cell.col);
        EXPECT_EQ(Collected(map, c.downRow), c.rows) << c.name;
    }
}

TEST(PickList, CappedAtThousandEntriesWithoutTerminator)
{
    CGridSelectionMap map;
    for (int row = 1; row <= 1200; ++row)
        map.Add(row, 1);
    std::vector<int> list(kPickListSize);
    EXPECT_EQ(CollectPickedRows(map, 1500, list.data()), kPickListSize);
    EXPECT_EQ(std::count(list.begin(), list.end(), 1500), 0);
    EXPECT_EQ(std::count(list.begin(), list.end(), 0), 0);
}

TEST(PickList, ShellSortMatchesDescendingOrderOnRandomKeys)
{
    std::mt19937 rng(42);
    for (int n : { 0, 1, 2, 3, 4, 13, 14, 40, 41, 121, 1000 }) {
        std::vector<int> keys(n), index(n);
        for (int& k : keys)
            k = static_cast<int>(rng() % 300);
        const std::vector<int> original = keys;
        std::iota(index.begin(), index.end(), 0);
        SortPickKeysDescending(n, keys.data(), index.data());
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(), std::greater<int>())) << n;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(original[index[i]], keys[i]);
    }
}

TEST(SelectionMap, RowsSixtyFiveThousandApartDoNotAlias)
{
    CGridSelectionMap map;
    map.Add(1, 2);
    EXPECT_FALSE(map.Contains(65537, 2));
    map.Add(65537, 2);
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Remove(1, 2));
    EXPECT_TRUE(map.Contains(65537, 2));
}

TEST(CompareHelpers, LeadingIntegerReadsLikeAtolInSixtyFourBits)
{
    EXPECT_EQ(LeadingInteger64("12kg"), 12);
    EXPECT_EQ(LeadingInteger64("abc"), 0);
    EXPECT_EQ(LeadingInteger64(""), 0);
    EXPECT_EQ(LeadingInteger64("  -42"), -42);
    EXPECT_EQ(LeadingInteger64("+7"), 7);
    EXPECT_EQ(LeadingInteger64("8801234567890"), 8801234567890LL);
    EXPECT_EQ(LeadingInteger64("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(LeadingInteger64("-99999999999999999999999"), INT64_MIN);
    EXPECT_EQ(LeadingInteger64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(LeadingInteger64(nullptr), 0);
}

TEST(CompareHelpers, AnsiTextComparesBytesOfTheCodePage)
{
    EXPECT_LT(CompareAnsiText("10", "9"), 0);
    EXPECT_EQ(CompareAnsiText("가", "가"), 0);
    EXPECT_LT(CompareAnsiText("가", "나"), 0);
    // Hangul lead bytes are above every ASCII byte.
    EXPECT_GT(CompareAnsiText("가", "z"), 0);
}

} // namespace
