#include <gtest/gtest.h>

#include "db/record_sql.h"
#include "tests/ethernet/transfer_jobs_fixture.h"

// Every kind of data a TCP job carries, each way: what the simulated scale
// receives packet by packet, and the rows stored from what it sends back.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

std::vector<Bytes> Payloads(const TcpScale& scale, std::uint16_t command)
{
    std::vector<Bytes> out;
    for (const TcpPacket& p : scale.Received()) {
        if (p.command == command)
            out.push_back(p.payload);
    }
    return out;
}

RecordRow Narrow(const std::vector<CString>& cells)
{
    RecordRow row;
    for (const CString& c : cells)
        row.push_back(c.Str());
    return row;
}

// A grid row of n columns after the heading: column c holds first + c.
std::vector<CString> NumberRow(int columns, int first)
{
    std::vector<CString> row { "List" };
    for (int c = 1; c <= columns; ++c)
        row.push_back(CString::Formatted("%d", first + c));
    return row;
}

// A text row: its number, then a text in every column up to 12.
std::vector<CString> TextRow(int number)
{
    std::vector<CString> row { "List", CString::Formatted("%d", number) };
    for (int c = 2; c <= 12; ++c)
        row.push_back(CString::Formatted("t%d-%d", number, c));
    return row;
}

TEST_F(TransferJobsTest, SendsOfEveryKindCarryTheirRowsRecords)
{
    struct Case {
        DataKind kind;
        TransferScope selection;
        std::uint8_t table;
        std::function<std::vector<CString>(int)> row;
        std::function<Bytes(const RecordRow&)> record;
    };
    const auto text = [](TableCode table) {
        return [table](const RecordRow& row) { return BuildTextRecord(table, row).Encode(); };
    };
    const auto label = [](int n) {
        std::vector<CString> row = NumberRow(50, 10 * n);
        row[22] = "1"; // barcode form and length are bytes
        row[23] = "13";
        return row;
    };
    const auto labelRecord = [](const RecordRow& row) { return BuildUserLabelRecord(row).Encode(); };
    const auto item = [](int n) {
        std::vector<CString> row = NumberRow(16, 20 * n);
        row[2] = CString::Formatted("name %d", n);
        row[3] = CString::Formatted("second %d", n);
        row[12] = "1"; // pos_kind
        return row;
    };
    const auto itemRecord = [](const RecordRow& row) { return BuildPluRecord(row).Payload(); };
    const Case cases[] = {
        { DataKind::Item, TransferScope::All, 0, item, itemRecord },
        { DataKind::Item, TransferScope::Select, 0, item, itemRecord },
        { DataKind::Add, TransferScope::All, 1, TextRow, text(TableCode::Add) },
        { DataKind::Add, TransferScope::Select, 1, TextRow, text(TableCode::Add) },
        { DataKind::Adv, TransferScope::All, 2, TextRow, text(TableCode::AdvT) },
        { DataKind::Adv, TransferScope::Select, 2, TextRow, text(TableCode::AdvT) },
        { DataKind::LandAddition, TransferScope::All, 5, TextRow, text(TableCode::LandAdd) },
        { DataKind::LandAddition, TransferScope::Select, 5, TextRow, text(TableCode::LandAdd) },
        { DataKind::UserLabel, TransferScope::All, 4, label, labelRecord },
        { DataKind::UserLabel, TransferScope::Select, 4, label, labelRecord },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Word(c.kind)) + " " + Word(c.selection));
        MessageBoxScript::Reset();
        m_host.SetRows({ c.row(1), c.row(2), c.row(3) });
        m_host.selection = {};
        m_host.selection.firstRow = 3; // the last two rows, picked upwards
        m_host.selection.lastRow = 2;
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Trans, c.kind, c.selection, { &scale }));
        ASSERT_TRUE(WaitForEnd());

        const bool all = c.selection == TransferScope::All;
        std::vector<std::uint16_t> commands;
        if (all)
            commands.push_back(0x0002);
        commands.insert(commands.end(), all ? 3 : 2, 0x0003);
        commands.push_back(0x4120);
        EXPECT_EQ(Commands(scale), commands);
        EXPECT_EQ(Payloads(scale, 0x0002),
            all ? std::vector<Bytes> { Bytes({ c.table, 1 }) } : std::vector<Bytes> {});
        std::vector<Bytes> records;
        for (int r = all ? 1 : 2; r <= 3; ++r)
            records.push_back(c.record(Narrow(c.row(r))));
        EXPECT_EQ(Payloads(scale, 0x0003), records);
        EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
        EXPECT_EQ(m_host.progress, all ? "3" : "2");
    }
}

TEST_F(TransferJobsTest, SettingsAndThePresetPageGoAsOneRecordEach)
{
    struct Case {
        DataKind kind;
        std::vector<CString> row;
        Bytes record;
        std::uint16_t last;
    };
    const std::vector<CString> info = NumberRow(20, 0);
    const std::vector<CString> network
        = { "List", "1", "2", "7", "192.168.10.20", "255.255.255.0", "10.1.2.3", "5001", "9" };
    std::vector<CString> keys;
    std::vector<std::string> keyTexts;
    for (int k = 1; k <= 60; ++k) {
        keys.push_back(CString::Formatted("%d\r\nkey", 500 + k));
        keyTexts.push_back(keys.back().Str());
    }
    m_host.presetKeys = keys;
    m_host.presetPage = 4;
    const Case cases[] = {
        { DataKind::ScaleInfo, info, BuildScaleInfoRecord(Narrow(info)), 0x4130 },
        { DataKind::ScaleRootInfo, network, BuildScaleRootInfoRecord(Narrow(network)), 0x4130 },
        { DataKind::Preset, {}, BuildPresetPage(4, keyTexts), 0x4120 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Word(c.kind));
        MessageBoxScript::Reset();
        m_host.SetRows({ NumberRow(20, 50), c.row, NumberRow(20, 70) });
        m_host.currentRow = 2;
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Trans, c.kind, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0003, c.last }));
        EXPECT_EQ(Payloads(scale, 0x0003), std::vector<Bytes> { c.record });
        EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
    }
}

TEST_F(TransferJobsTest, WholeReadsStoreEveryRecordAsANewRowOfItsTable)
{
    std::vector<std::string> keys;
    for (int k = 1; k <= 60; ++k)
        keys.push_back(std::to_string(900 + k));
    RecordRow label(50, "0");
    label[1] = "8";
    label[2] = "100";
    label[42] = "50";
    struct Case {
        DataKind kind;
        std::uint8_t table;
        std::vector<Bytes> records;
        const char* query;
        std::vector<std::string> rows;
        const char* request;
    };
    const Case cases[] = {
        { DataKind::Add, 1,
            { BuildTextRecord(TableCode::Add, { "", "3", "a", "NULL", "c" }).Encode(),
                BuildTextRecord(TableCode::Add, { "", "4", "d" }).Encode() },
            "SELECT [num], [str1], [str2], [str3], [mg_id] FROM [Add] ORDER BY [ID]",
            { "1|old|NULL|NULL|kim", "3|a|c|NULL|kim", "4|d|NULL|NULL|kim" }, "ITEM_REV" },
        { DataKind::Adv, 2, { BuildTextRecord(TableCode::AdvT, { "", "6", "x", "y" }).Encode() },
            "SELECT [adv_num], [str1], [str2] FROM [AdvT] ORDER BY [ID]", { "6|x|y" }, "ITEM_REV" },
        { DataKind::LandAddition, 5, { BuildTextRecord(TableCode::LandAdd, { "", "9", "land" }).Encode() },
            "SELECT [land_num], [land_str] FROM [Land_Add] ORDER BY [ID]", { "9|land" }, "ITEM_REV" },
        { DataKind::UserLabel, 4, { BuildUserLabelRecord(label).Encode() },
            "SELECT [file_num], [item_nameX], [labelY], [mg_id] FROM [UserLabel]", { "8|101|50|kim" },
            "User_Label_Insert" },
        { DataKind::Preset, 3, { BuildPresetPage(2, keys) },
            "SELECT [page_num], [num], [str] FROM [Preset] WHERE [num] IN ('1', '60') ORDER BY [ID]",
            { "2|1|901", "2|60|960" }, "" },
    };
    {
        CGeneralDaoHelper db;
        db.OpenDatabase(m_dbPath);
        db.Execute("INSERT INTO [Add]([num], [str1], [str2], [str3], [mg_id]) VALUES('1', 'old', 'NULL', "
                   "'NULL', 'kim')");
        db.CloseDatabase();
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(Word(c.kind));
        MessageBoxScript::Reset();
        m_host.noteRequest = "none";
        ScaleMemory memory;
        for (const Bytes& r : c.records)
            memory.Put(c.table, scalesim::RecordNumber(r), r);
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Recv, c.kind, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Rows(c.query), c.rows);
        EXPECT_EQ(Payloads(scale, 0x0006), std::vector<Bytes> { Bytes({ c.table, 1 }) });
        // One acknowledgement per record and one for the end of data.
        EXPECT_TRUE(PumpUntil([&] { return Payloads(scale, 0x0101).size() >= c.records.size() + 1; }));
        EXPECT_EQ(Payloads(scale, 0x0101).size(), c.records.size() + 1);
        EXPECT_EQ(Texts(), std::vector<CString> { Received(static_cast<int>(c.records.size())) });
        EXPECT_EQ(m_host.noteRequest, c.request);
        EXPECT_NE(m_host.noteSql.Find("INSERT INTO"), -1);
        EXPECT_EQ(m_host.progress, CString::Formatted("%d", static_cast<int>(c.records.size())));
    }
    EXPECT_EQ(m_host.resultStepsDone, 0);
}

TEST_F(TransferJobsTest, SelectReadsAskForEachNumberOfTheirTable)
{
    struct Case {
        DataKind kind;
        std::uint8_t table;
        std::vector<int> numbers;
        std::vector<std::uint32_t> asked;
        const char* query;
        std::vector<std::string> rows;
    };
    m_host.presetReadPage = 7;
    std::vector<std::string> keys(60, "5");
    const Case cases[] = {
        { DataKind::Add, 1, { 3, 8 }, { 3, 8 }, "SELECT [num], [str1] FROM [Add]", { "3|three" } },
        { DataKind::Adv, 2, { 8, 3 }, { 8, 3 }, "SELECT [adv_num], [str1] FROM [AdvT]", { "3|three" } },
        { DataKind::LandAddition, 5, { 3 }, { 3 }, "SELECT [land_num], [land_str] FROM [Land_Add]",
            { "3|three" } },
        // No numbers: one request for number 0, and the job ends on its answer.
        { DataKind::Item, 0, {}, { 0 }, "SELECT [item_num] FROM [Item]", {} },
        // One page: the page typed on the work screen, whatever the numbers.
        { DataKind::Preset, 3, { 1, 2 }, { 7 }, "SELECT DISTINCT [page_num] FROM [Preset]", { "7" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Word(c.kind));
        MessageBoxScript::Reset();
        ScaleMemory memory;
        memory.Put(
            c.table, 3, BuildTextRecord(static_cast<TableCode>(c.table), { "", "3", "three" }).Encode());
        memory.Put(3, 7, BuildPresetPage(7, keys));
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Recv, c.kind, TransferScope::Select, { &scale }, c.numbers));
        ASSERT_TRUE(WaitForEnd());
        std::vector<Bytes> asked;
        for (std::uint32_t n : c.asked) {
            Bytes p { c.table, 1 };
            for (int shift = 0; shift < 32; shift += 8)
                p.push_back(static_cast<std::uint8_t>(n >> shift));
            asked.push_back(p);
        }
        EXPECT_EQ(Payloads(scale, 0x0004), asked);
        // Each answer is acknowledged; the last acknowledgement may still travel.
        EXPECT_TRUE(PumpUntil([&] { return Payloads(scale, 0x0101).size() >= c.asked.size(); }));
        EXPECT_EQ(Payloads(scale, 0x0101).size(), c.asked.size());
        EXPECT_EQ(Rows(c.query), c.rows);
        EXPECT_EQ(Texts(), std::vector<CString> { Received(static_cast<int>(c.rows.size())) });
    }
}

TEST_F(TransferJobsTest, SalesTotalsByDayAreReadWholeAndEachJobReportsItsEnd)
{
    auto total = [](std::uint8_t table, std::uint8_t num, std::uint8_t day) {
        return Bytes { table, 1, num, 0, 0, 0, 2, 0, 0xE8, 0x07, 6, day, 0, 0, 100, 0, 0, 0, 50, 0, 0, 0 };
    };
    ScaleMemory memory;
    memory.Put('?', 1, total('?', 1, 3));
    memory.Put('?', 2, total('?', 2, 4));
    memory.Put('@', 5, total('@', 5, 9));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::ResultItemDay, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(m_host.resultStepsDone, 1);
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::ResultDay, TransferScope::Select, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(m_host.resultStepsDone, 2);

    EXPECT_EQ(Payloads(scale, 0x0006), (std::vector<Bytes> { Bytes { '?', 1 }, Bytes { '@', 1 } }));
    EXPECT_EQ(Rows("SELECT [num], [day], [print_cnt], [total_price] FROM [TotalItemDay] ORDER BY [num]"),
        (std::vector<std::string> { "1|2024-06-03|2|100", "2|2024-06-04|2|100" }));
    EXPECT_EQ(Rows("SELECT [day], [total_weight], [current_scale] FROM [TotalDayResult]"),
        (std::vector<std::string> { "2024-06-09|50|" + scale.Address() }));
    EXPECT_EQ(CountEndings("Trans Complete"), 2u);
}

} // namespace
