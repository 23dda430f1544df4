#include "grid/pick_rules.h"

#include <gtest/gtest.h>

namespace {

// A grid of heading row, data rows 1-8 and the trailing row 9.
constexpr int kRowCount = 10;

GridPicks Block(int down, int up, int click = 0)
{
    GridPicks pick;
    pick.firstRow = down;
    pick.lastRow = up;
    pick.clickRow = click;
    return pick;
}

} // namespace

TEST(PickRows, PicksAndRangesWinOverTheBlockUnderEveryRule)
{
    GridPicks picks = Block(2, 6);
    picks.listFlag = 1;
    picks.rangeFlag = 1; // the pick list goes first
    picks.pickedRows = { 9, 7, 0, 3, 2, 7, 1 }; // 9 is the trailing row; 0 ends the list
    GridPicks range = Block(2, 6);
    range.rangeFlag = 1;
    range.rangeA = 12;
    range.rangeB = 6;
    for (const PickRule rule : { PickRule::Transfer, PickRule::Insert, PickRule::Delete }) {
        const PickedRowList fromPicks = PickRows(picks, kRowCount, rule);
        EXPECT_EQ(fromPicks.rows, (std::vector<int> { 7 }));
        EXPECT_TRUE(fromPicks.marked);
        const PickedRowList fromRange = PickRows(range, kRowCount, rule);
        EXPECT_EQ(fromRange.rows, (std::vector<int> { 6, 7, 8 }));
        EXPECT_TRUE(fromRange.marked);
    }
    picks.pickedRows = { 5, 3, 5, 0 };
    EXPECT_EQ(PickedRows(picks, kRowCount, PickRule::Transfer), (std::vector<int> { 5, 3 }));
    picks.pickedRows.assign(1200, 4);
    picks.pickedRows[1000] = 6; // past the list's length
    EXPECT_EQ(PickedRows(picks, kRowCount, PickRule::Transfer), (std::vector<int> { 4 }));
}

TEST(PickRows, WithoutMarksEachRuleTakesItsOwnRows)
{
    struct Case {
        const char* name;
        GridPicks pick;
        PickRule rule;
        std::vector<int> rows;
        bool marked;
    };
    const Case cases[] = {
        { "transfer block", Block(6, 3), PickRule::Transfer, { 3, 4, 5, 6 }, true },
        { "transfer one row", Block(4, 4), PickRule::Transfer, { 4 }, true },
        { "transfer heading to trailing", Block(0, 9), PickRule::Transfer, { 1, 2, 3, 4, 5, 6, 7, 8 }, true },
        { "insert block", Block(6, 3), PickRule::Insert, { 3, 4, 5, 6 }, true },
        { "insert one row asks", Block(4, 4), PickRule::Insert, {}, false },
        { "insert up row 0 asks", Block(4, 0), PickRule::Insert, {}, false },
        { "insert up row -1 asks", Block(4, -1), PickRule::Insert, {}, false },
        { "insert block beyond the data", Block(9, 12), PickRule::Insert, {}, true },
        { "delete block", Block(2, 0), PickRule::Delete, { 1, 2 }, true },
        { "delete clicked row", Block(4, 4, 5), PickRule::Delete, { 5 }, false },
        { "delete up row -1", Block(4, -1, 3), PickRule::Delete, { 3 }, false },
        { "delete last data row", Block(4, 4, 9), PickRule::Delete, { 8 }, false },
    };
    for (const Case& c : cases) {
        const PickedRowList got = PickRows(c.pick, kRowCount, c.rule);
        EXPECT_EQ(got.rows, c.rows) << c.name;
        EXPECT_EQ(got.marked, c.marked) << c.name;
    }
    EXPECT_TRUE(PickedRows(Block(4, 4, 1), 2, PickRule::Delete).empty()) << "no data rows";
}
