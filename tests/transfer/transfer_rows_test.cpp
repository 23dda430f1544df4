#include <gtest/gtest.h>

#include "transfer/transfer_rows.h"
#include "transfer/transfer_screen_host.h"

namespace {

// A grid of rowCount rows (the heading row, the data rows, the trailing row)
// whose cell (r, c) reads "r.c".
class GridHost : public CTransferScreenHost {
public:
    virtual ~GridHost() = default;
    HWND GetTransferWindow() override { return nullptr; }
    int GetGridRowCount() override { return rowCount; }
    CString GetGridItemText(int row, int column) override { return CString::Formatted("%d.%d", row, column); }
    int GetCurrentGridRow() override { return currentRow; }
    GridPicks GetTransferSelection() override { return picks; }
    int GetPresetPage() override { return 3; }
    std::vector<CString> GetPresetKeyTexts() override { return { "k1", "k2" }; }
    int GetPresetReadPage() override { return 4; }
    CString GetUserId() override { return "kim"; }
    CString GetItemDbPath() override { return "/items.db"; }
    int LoadDefaultValues() override { return TRUE; }
    void SetTransferActive(int) override { }
    void NoteReceivedRecord(const CString&, const CString&) override { }
    void ShowTransferProgress(const CString&) override { }

    int rowCount = 12; // data rows 1 to 10
    int currentRow = 6;
    GridPicks picks;
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> rows;
    for (int r = first; r <= last; ++r)
        rows.push_back(r);
    return rows;
}

GridPicks RangeOf(int a, int b)
{
    GridPicks p;
    p.rangeFlag = 1;
    p.rangeA = a;
    p.rangeB = b;
    return p;
}

GridPicks ListOf(std::vector<int> rows)
{
    GridPicks p;
    p.listFlag = 1;
    p.pickedRows = std::move(rows);
    return p;
}

GridPicks BlockOf(int first, int last)
{
    GridPicks p;
    p.firstRow = first;
    p.lastRow = last;
    return p;
}

// Both transports send what this choice takes: the data rows, the picks in
// their order up to one outside the data rows, the kind's cap, the clicked row,
// and nothing for reads; the screen's preset page and manager go with them.
TEST(TransferRows, ASendTakesTheDataRowsOrItsPicksUpToTheKindsCap)
{
    struct Case {
        const char* name;
        TransferCommand command;
        DataKind kind;
        TransferScope scope;
        int rowCount;
        GridPicks picks;
        std::vector<int> taken;
    };
    const Case cases[] = {
        { "all items", TransferCommand::Trans, DataKind::Item, TransferScope::All, 12, {}, Range(1, 10) },
        { "an empty grid", TransferCommand::Trans, DataKind::Item, TransferScope::All, 2, {}, {} },
        { "a reversed range", TransferCommand::Trans, DataKind::Item, TransferScope::Select, 12,
            RangeOf(7, 4), Range(4, 7) },
        { "a range past both ends", TransferCommand::Trans, DataKind::Item, TransferScope::Select, 6,
            RangeOf(5, 0), Range(1, 4) },
        { "picks", TransferCommand::Trans, DataKind::Item, TransferScope::Select, 12,
            ListOf({ 9, 2, 5, 0, 3 }), { 9, 2, 5 } },
        { "first and last", TransferCommand::Trans, DataKind::Item, TransferScope::Select, 12,
            ListOf({ 10, 1 }), { 10, 1 } },
        { "a block over the heading and trailing rows", TransferCommand::Trans, DataKind::Item,
            TransferScope::Select, 12, BlockOf(11, 0), Range(1, 10) },
        { "one row", TransferCommand::Trans, DataKind::Item, TransferScope::Select, 12, BlockOf(6, 6),
            { 6 } },
        { "all, capped", TransferCommand::Trans, DataKind::Adv, TransferScope::All, 214, {}, Range(1, 210) },
        { "picks, capped", TransferCommand::Trans, DataKind::Adv, TransferScope::Select, 214, BlockOf(1, 212),
            Range(1, 210) },
        { "a broadcast", TransferCommand::BroadTrans, DataKind::Item, TransferScope::All, 5, {},
            Range(1, 3) },
        { "scale settings", TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::All, 12, {}, { 6 } },
        { "a read", TransferCommand::Recv, DataKind::Item, TransferScope::All, 12, {}, {} },
        { "a preset page", TransferCommand::Trans, DataKind::Preset, TransferScope::All, 12, {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GridHost host;
        host.rowCount = c.rowCount;
        host.picks = c.picks;
        const TransferRowsPtr taken = TakeTransferRows(host, c.command, c.kind, c.scope, 2);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->gridRows, c.taken);
        ASSERT_EQ(taken->rows.size(), c.taken.size());
        for (std::size_t i = 0; i < c.taken.size(); ++i) {
            const std::string row = std::to_string(c.taken[i]);
            EXPECT_EQ(taken->rows[i], (RecordRow { row + ".0", row + ".1" }));
        }
        EXPECT_EQ(taken->defaultValues, c.kind == DataKind::Item && c.command != TransferCommand::Recv);
        EXPECT_EQ(taken->presetPage, 3);
        EXPECT_EQ(taken->presetKeys, (std::vector<std::string> { "k1", "k2" }));
        EXPECT_EQ(taken->presetReadPage, 4);
        EXPECT_EQ(taken->userId, "kim");
        EXPECT_EQ(taken->itemDbPath, CString("/items.db"));
    }
}

} // namespace
