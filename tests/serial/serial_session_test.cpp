// Sessions of every data kind over the pseudo-terminal: what each scale
// received and kept, what a read stored, the boxes shown, and how the engine
// resends, gives up and cuts long records into pieces.

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <optional>

#include "db/general_dao_helper.h"
#include "platform/base/bytes.h"
#include "platform/base/datetime.h"
#include "tests/serial/serial_transfer_fixture.h"
#include "tests/support/scale_sim_bytes.h"

namespace serialtest {
namespace {

using scalesim::FromHex;

// ---- sends of the tables kept record by record -------------------------------

struct TableSend {
    DataKind kind;
    Bytes clear; // the clear's payload
    std::uint16_t firstSequence; // of the clear: the PLU and user-label clears restart at 0
    std::vector<std::string> rows[2]; // grid rows, columns from 1
    Bytes records[2]; // what the scale keeps of each row
};

std::vector<std::string> UserLabelRow(int file)
{
    std::vector<std::string> row(49, "0");
    row[0] = std::to_string(file);
    row[1] = "100";
    row[41] = "50";
    return row;
}

Bytes UserLabelPayload(int file)
{
    RecordRow row { "" };
    for (const std::string& cell : UserLabelRow(file))
        row.push_back(cell);
    return BuildUserLabelRecord(row).Encode();
}

TableSend SendCase(DataKind kind)
{
    if (kind == DataKind::Add)
        return { kind, { 1, 1 }, 1, { { "5", "a", "", "b" }, { "6", "c" } },
            { TextPayload(TableCode::Add, 5, "a\r\nb"), TextPayload(TableCode::Add, 6, "c") } };
    if (kind == DataKind::Adv)
        return { kind, { 2, 1 }, 1, { { "7", "x", "y" }, { "8", "NULL", "z" } },
            { TextPayload(TableCode::AdvT, 7, "x\r\ny"), TextPayload(TableCode::AdvT, 8, "z") } };
    if (kind == DataKind::LandAddition)
        return { kind, { 5, 1 }, 1, { { "201", "Jeju" }, { "202", "Busan" } },
            { TextPayload(TableCode::LandAdd, 201, "Jeju"), TextPayload(TableCode::LandAdd, 202, "Busan") } };
    return { kind, { 4, 0 }, 0, { UserLabelRow(3), UserLabelRow(4) },
        { UserLabelPayload(3), UserLabelPayload(4) } };
}

class TableSendTest : public SerialTransferTest, public ::testing::WithParamInterface<DataKind> { };

TEST_P(TableSendTest, AllRowsAfterTheClearThenThePickedRowOnly)
{
    const TableSend c = SendCase(GetParam());
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->SetDataRows({ c.rows[0], c.rows[1] });

    Run(TransferCommand::Trans, c.kind, TransferScope::All, { Line("07") });

    auto frames = Frames();
    EXPECT_EQ(
        Commands(frames), (std::vector<std::uint16_t> { kJoinMark, kClear, kRecord, kRecord, kEndJoin }));
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[1].payload, c.clear);
    EXPECT_EQ(frames[1].sequence, c.firstSequence);
    EXPECT_EQ(frames[2].sequence, c.firstSequence + 1);
    EXPECT_EQ(frames[2].payload, c.records[0]);
    EXPECT_EQ(frames[3].payload, c.records[1]);
    EXPECT_EQ(model.TablesOf("07")[c.clear[0]].size(), 2u);
    EXPECT_EQ(m_screen->m_progress, "2");
    EXPECT_EQ(Texts(), std::vector<std::string> { Ending("07", "Trans Complete", "2 of 2 records sent.") });
    ExpectWalkEnded();

    // A list pick of the second row: no clear, that row, the end.
    m_screen->m_pick.listFlag = 1;
    m_screen->m_pick.pickedRows = { 2 };
    Run(TransferCommand::Trans, c.kind, TransferScope::Select, { Line("07") });
    frames = Frames();
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(Commands({ frames.begin() + 5, frames.end() }),
        (std::vector<std::uint16_t> { kJoinMark, kRecord, kEndJoin }));
    EXPECT_EQ(frames[6].payload, c.records[1]);
    EXPECT_EQ(frames[6].sequence, 1);
    EXPECT_EQ(m_screen->Link().GetSelectedRows(), std::vector<int> { 2 });
}

INSTANTIATE_TEST_SUITE_P(Kinds, TableSendTest,
    ::testing::Values(DataKind::Add, DataKind::Adv, DataKind::LandAddition, DataKind::UserLabel));

// With default values on, an item goes as its stored row; an item not stored
// keeps only its number.
TEST_F(SerialTransferTest, DefaultValuesSendTheStoredItemAndElseTheNumberOnly)
{
    m_screen->m_itemDbPath = m_screen->m_folder.FromTemplate(150, "item.mdb").c_str();
    CGeneralDaoHelper db;
    db.OpenDatabase(m_screen->m_itemDbPath);
    db.Execute("INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Stored', "
               "'777', 'kim')");
    db.CloseDatabase();
    m_screen->m_defaultValues = 1;
    m_screen->SetDataRows({ ItemRow(7, "Grid", 1), ItemRow(8, "Other", 2) });
    SerialScaleModel model({ "07" });
    StartLine(model);

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    const auto items = model.TablesOf("07")[0];
    ASSERT_EQ(items.size(), 2u);
    PluRecord stored, other;
    ASSERT_TRUE(PluRecord::Decode(std::span(items.at(7)).subspan(2), stored));
    ASSERT_TRUE(PluRecord::Decode(std::span(items.at(8)).subspan(2), other));
    EXPECT_EQ(stored.itemName, "Stored");
    EXPECT_EQ(stored.unitPrice, 777u);
    EXPECT_EQ(other.itemName, "");
    EXPECT_EQ(other.unitPrice, 0u);
}

// ---- one-frame sends ------------------------------------------------------------

TEST_F(SerialTransferTest, PresetPageAndResultClearAreOneFrameEach)
{
    SerialScaleModel model({ "07" });
    model.Put("07", FromHex("3d 01 01 00 00 00"));
    model.Put("07", FromHex("40 01 02 00 00 00"));
    StartLine(model);
    m_screen->m_presetPage = 2;
    m_screen->m_presetKeys[0] = "101";
    m_screen->m_presetKeys[59] = "160\r\nx";

    Run(TransferCommand::Trans, DataKind::Preset, TransferScope::All, { Line("07") });
    auto frames = Frames();
    // 366 bytes: two pieces of one frame.
    ASSERT_EQ(Commands(frames), (std::vector<std::uint16_t> { kJoinMark, kRecord, kRecord, kEndJoin }));
    std::vector<std::string> keys(kPresetKeyCount);
    keys[0] = "101";
    keys[59] = "160";
    Bytes page = frames[1].payload;
    page.insert(page.end(), frames[2].payload.begin(), frames[2].payload.end());
    EXPECT_EQ(page, BuildPresetPage(2, keys));
    EXPECT_EQ(m_screen->m_progress, "2");

    // Presets have no selection: the session ends after the join.
    Run(TransferCommand::Trans, DataKind::Preset, TransferScope::Select, { Line("07") });
    // The result clear removes the scale's totals and restarts the numbering.
    Run(TransferCommand::Trans, DataKind::ResultAllClear, TransferScope::All, { Line("07") });
    frames = Frames();
    ASSERT_EQ(frames.size(), 9u);
    EXPECT_EQ(Commands({ frames.begin() + 4, frames.end() }),
        (std::vector<std::uint16_t> { kJoinMark, kEndJoin, kJoinMark, kClear, kEndJoin }));
    EXPECT_EQ(frames[7].payload, (Bytes { 0x3D, 0 }));
    EXPECT_EQ(frames[7].sequence, 0);
    EXPECT_EQ(frames[8].sequence, 1);
    const auto tables = model.TablesOf("07");
    EXPECT_EQ(tables.count(0x3D), 0u);
    EXPECT_EQ(tables.count(0x40), 0u);
    EXPECT_EQ(tables.at(3).size(), 1u);
    // The page is one record; the preset selection sends none.
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { Ending("07", "Trans Complete", "1 of 1 records sent."),
            Ending("07", "Trans Complete", "0 of 0 records sent."), "S07 (ID 07): Trans Complete" }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, ScaleSettingsGoToTheChosenRowsScaleAndResetIt)
{
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->SetDataRows({ { "1", "2", "3" }, { "3", "5", "1", "10.0.0.7" } });
    m_screen->m_currentRow = 2;

    Run(TransferCommand::Trans, DataKind::ScaleRootInfo, TransferScope::Select, { Line("07") });
    Run(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select, { Line("07") });

    const auto frames = Frames();
    EXPECT_EQ(Commands(frames),
        (std::vector<std::uint16_t> { kJoinMark, kRecord, kResetScale, kJoinMark, kRecord, kResetScale }));
    ASSERT_EQ(frames.size(), 6u);
    RecordRow row { "row", "3", "5", "1", "10.0.0.7" };
    EXPECT_EQ(frames[1].payload, BuildScaleRootInfoRecord(row));
    EXPECT_EQ(frames[4].payload, BuildScaleInfoRecord(row));
    EXPECT_EQ(frames[1].payload.size(), 30u);
    EXPECT_EQ(frames[4].payload.size(), 90u);
    EXPECT_EQ(frames[2].scaleId, "07");
    const std::string sent = Ending("07", "Trans Complete", "1 of 1 records sent.");
    EXPECT_EQ(Texts(), (std::vector<std::string> { sent, sent }));
    ExpectWalkEnded();
}

// A refused reset ends the session with the settings counted as sent, and
// names the scale by its list line.
TEST_F(SerialTransferTest, ARefusedResetNamesTheScaleOfItsLine)
{
    StartScript([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kResetScale)
            return SerialReply::Nak(f.scaleId, 0x2027); // process error
        return SerialReply::Ack(f.scaleId);
    });
    m_screen->SetDataRows({ { "3", "5", "1", "10.0.0.7" } });
    const std::pair<const char*, const char*> lines[] = {
        { "Scale name = Front Desk, Scale ID=7", "Front Desk (ID 07)" },
        { "Scale ID=07", "scale 07" },
        { "Scale ID=07, Scale name = Back", "scale 07" },
    };
    for (const auto& [line, label] : lines) {
        MessageBoxScript::Reset();
        Run(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select, { CString(line) });
        EXPECT_EQ(Texts(),
            (std::vector<std::string> { "scale process error",
                std::string(label) + ": Trans Failed (scale process error), 1 of 1 records sent." }));
    }
    ExpectWalkEnded();
}

// A stop while a record is unanswered ends with the records the scale took.
TEST_F(SerialTransferTest, AStopWhileARecordIsUnansweredCountsOnlyTheAnsweredOnes)
{
    m_screen->Engine().SetReplyTimeout(100);
    StartScript([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kRecord && f.sequence > 3)
            return SerialReply::Silence();
        return SerialReply::Ack(f.scaleId);
    });
    m_screen->SetDataRows(ItemRows(12));

    Begin(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });
    ASSERT_TRUE(PumpUntil([&] { return Frames().size() >= 6; })); // join, clear, records 1-4
    m_screen->Transfer().Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(10)));

    EXPECT_EQ(Frames().back().command, kEndJoin);
    EXPECT_EQ(Texts().back(), Ending("07", "Trans Stopped", "3 of 12 records sent."));
    ExpectWalkEnded();
}

// ---- refusals -----------------------------------------------------------------

TEST_F(SerialTransferTest, ARefusalIsToldAndEndsTheSession)
{
    struct Case {
        TransferCommand mode;
        Bytes nak;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        { TransferCommand::Trans, FromHex("25 20"),
            { "scale memory full",
                Ending("07", "Trans Failed (scale memory full)", "0 of 1 records sent.") } },
        { TransferCommand::Trans, FromHex("27 20"),
            { "scale process error",
                Ending("07", "Trans Failed (scale process error)", "0 of 1 records sent.") } },
        { TransferCommand::Trans, FromHex("23 20 05 00 07 00"),
            { "5...7", "scale data length error",
                Ending("07", "Trans Failed (scale data length error)", "0 of 1 records sent.") } },
        { TransferCommand::Recv, FromHex("25 20"),
            { "scale memory full",
                Ending(
                    "07", "Trans Failed (scale memory full)", "receive incomplete: no records stored.") } },
    };
    std::atomic<int> which { 0 };
    StartScript([&](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kRecord || f.command == kRequestAll)
            return SerialReply { { SerialReply::Frame("07", kNak, cases[which.load()].nak) } };
        return SerialReply::Ack("07");
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    std::size_t seen = 0;
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        Run(c.mode, DataKind::Item, TransferScope::All, { Line("07") });
        EXPECT_EQ(Texts(), c.texts) << c.texts[0];
        const auto frames = Frames();
        ASSERT_GT(frames.size(), seen + 1);
        EXPECT_EQ(frames.back().command, kEndJoin);
        EXPECT_EQ(
            frames[frames.size() - 2].command, c.mode == TransferCommand::Trans ? kRecord : kRequestAll);
        seen = frames.size();
        ++which;
        ExpectWalkEnded();
    }
    m_line.Stop(); // the script reads locals of this test
}

// ---- reads -----------------------------------------------------------------------

TEST_F(SerialTransferTest, ReadsOfEachKindStoreTheirRows)
{
    const Bytes total = FromHex("3d 01 01 00 00 00 05 00 e8 07 03 09 00 00 39 30 00 00 ff ff ff ff "
                                "01 00 02 00 03 00 04 00");
    const Bytes dayTotal = FromHex("40 01 2a 00 00 00 01 00 d0 07 0c 1f 00 00 0a 00 00 00 14 00 00 00");
    std::vector<PresetEntry> entries;
    for (std::uint16_t k = 0; k < kPresetKeyCount; ++k)
        entries.push_back({ 1000u + k, static_cast<std::uint16_t>(k + 1) });
    SerialScaleModel model({ "07" });
    model.Put("07", TextPayload(TableCode::AdvT, 3, "x\r\ny"));
    model.Put("07", EncodePresetPage(2, entries));
    model.Put("07", UserLabelPayload(9));
    model.Put("07", total);
    model.Put("07", dayTotal);
    model.Put("07", FromHex("3e 01 2a 00 00 00 01 00 d0 07 0c 1f 00 00 0a 00 00 00 14 00 00 00"));
    StartLine(model);
    m_screen->m_itemDbPath = m_screen->m_folder.FromTemplate(150, "item.mdb").c_str();
    m_screen->m_requestNumbers = { 3, 4 };
    m_screen->m_presetReadPage = 2;
    m_screen->Engine().SetReplyTimeout(300);
    AfxSetClock([] { return std::chrono::system_clock::from_time_t(1717200000); }); // 2024-06-01

    struct Case {
        DataKind kind;
        TransferScope scope;
        std::uint16_t request;
        Bytes payload; // of the first request
        const char* sql;
        std::vector<std::string> rows;
        bool itemDb; // stored in the open item database, not in one of its own
    };
    const Case cases[] = {
        { DataKind::Adv, TransferScope::Select, kRequestOne, FromHex("02 01 03 00 00 00"),
            "SELECT [adv_num], [str1], [str2] FROM [AdvT]", { "3|x|y" }, false },
        { DataKind::Preset, TransferScope::Select, kRequestOne, FromHex("03 01 02 00 00 00"),
            "SELECT [str] FROM [Preset] WHERE [num] = '1' OR [num] = '60'", { "1000", "1059" }, false },
        { DataKind::Preset, TransferScope::All, kRequestAll, FromHex("03 01"),
            "SELECT [page_num] FROM [Preset] WHERE [num] = '2'", { "2" }, false },
        { DataKind::UserLabel, TransferScope::Select, kRequestAll, FromHex("04 01"),
            "SELECT [file_num], [mg_id] FROM [UserLabel]", { "9|kim" }, false },
        { DataKind::ResultAll, TransferScope::All, kRequestOne, FromHex("3d 01 01 00 00 00"),
            "SELECT [begin_day], [print_cnt], [total_price], [current_scale] FROM [TotalResult]",
            { "2024-03-09|5|12345|07" }, true },
        // Totals are read whole whatever the scope.
        { DataKind::ResultItemAll, TransferScope::Select, kRequestAll, FromHex("3e 01"),
            "SELECT [num], [total_price] FROM [TotalItemResult]", { "42|10" }, true },
        { DataKind::ResultDay, TransferScope::All, kRequestAll, FromHex("40 01"),
            "SELECT [day], [total_price], [current_scale] FROM [TotalDayResult]", { "2000-12-31|10|07" },
            true },
    };
    std::size_t seen = 0;
    std::size_t paths = 0;
    for (const Case& c : cases) {
        Run(TransferCommand::Recv, c.kind, c.scope, { Line("07") });
        const auto frames = Frames();
        ASSERT_GT(frames.size(), seen + 2) << Word(c.kind);
        EXPECT_EQ(frames[seen + 1].command, c.request) << Word(c.kind);
        EXPECT_EQ(frames[seen + 1].payload, c.payload) << Word(c.kind);
        EXPECT_EQ(frames.back().command, kEndJoin) << Word(c.kind);
        seen = frames.size();
        ASSERT_EQ(m_screen->m_receivedPaths.size(), paths + (c.itemDb ? 0 : 1)) << Word(c.kind);
        paths = m_screen->m_receivedPaths.size();
        const std::string db
            = c.itemDb ? m_screen->m_itemDbPath.GetString() : m_screen->m_receivedPaths.back().second;
        EXPECT_EQ(Rows(db, c.sql), c.rows) << Word(c.kind);
    }
    // The second number is not on the scale: acknowledged, then the end.
    std::vector<std::uint32_t> asked;
    for (const SerialFrame& f : Frames()) {
        if (f.command == kRequestOne && f.payload[0] == 2)
            asked.push_back(f.payload[2]);
    }
    EXPECT_EQ(asked, (std::vector<std::uint32_t> { 3, 4 }));
    // Totals are stamped with the day of the program's clock.
    SYSTEMTIME day;
    GetLocalTime(&day);
    AfxSetClock(nullptr);
    EXPECT_EQ(Rows(m_screen->m_itemDbPath.GetString(), "SELECT [rev_day] FROM [TotalDayResult]"),
        std::vector<std::string> { FormatDay(day.wYear, day.wMonth, day.wDay) });
    EXPECT_EQ(m_screen->m_notes.back().first, "ITEM_REV");
    EXPECT_EQ(std::count_if(m_screen->m_notes.begin(), m_screen->m_notes.end(),
                  [](const auto& note) { return note.first == "User_Label_Insert"; }),
        1);
    EXPECT_EQ(Texts(), std::vector<std::string>(std::size(cases), "Trans Complete, 1 record"));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AnEndOfDataAfterTheScaleTotalsSendsNoRequestEnd)
{
    constexpr std::uint16_t kEndOfData = 0x0600;
    SerialScaleModel model({ "07" });
    model.Put("07",
        FromHex("3d 01 01 00 00 00 05 00 e8 07 03 09 00 00 39 30 00 00 ff ff ff ff 01 00 02 00 03 00 04 00"));
    // This scale follows its one totals record with an end of data.
    StartScript([answer = model.Script()](const SerialFrame& frame, std::size_t n) {
        SerialReply reply = answer(frame, n);
        if (frame.command == kAck && reply.writes.empty())
            reply.writes.push_back(SerialReply::Frame("07", kEndOfData, {}));
        return reply;
    });
    m_screen->m_itemDbPath = m_screen->m_folder.FromTemplate(150, "item.mdb").c_str();
    // The end of data comes in the pause before the end of the session.
    m_screen->Link().SetPause(500);

    Run(TransferCommand::Recv, DataKind::ResultAll, TransferScope::All, { Line("07") });

    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kRequestOne, kAck, kEndJoin }));
    EXPECT_EQ(
        Rows(m_screen->m_itemDbPath.GetString(), "SELECT [print_cnt], [total_price] FROM [TotalResult]"),
        std::vector<std::string> { "5|12345" });
    EXPECT_EQ(m_screen->m_progress, "1");
    EXPECT_EQ(Texts(), std::vector<std::string> { "Trans Complete, 1 record" });
    ExpectWalkEnded();

    // A scale without totals ends the read at once.
    m_line.Stop();
    StartScript([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        const Bytes ack = scalesim::AnswerFrame("07", kAck, {}, f);
        if (f.command == kRequestOne)
            return SerialReply { { ack, SerialReply::Frame("07", kEndOfData, {}) } };
        return SerialReply { { ack } };
    });
    MessageBoxScript::Reset();
    Run(TransferCommand::Recv, DataKind::ResultAll, TransferScope::All, { Line("07") });
    const auto commands = Commands(Frames());
    EXPECT_EQ(std::vector<std::uint16_t>(commands.begin() + 4, commands.end()),
        (std::vector<std::uint16_t> { kJoinMark, kRequestOne, kEndJoin }));
    EXPECT_EQ(Texts(), std::vector<std::string> { "Trans Complete, no records stored." });
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, APresetPageTheScaleDoesNotHoldEndsTheRead)
{
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->m_presetReadPage = 5;

    Run(TransferCommand::Recv, DataKind::Preset, TransferScope::Select, { Line("07") });

    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kRequestOne, kAck, kEndJoin }));
    EXPECT_FALSE(std::filesystem::exists(m_screen->m_receivedPaths.at(0).second)) << "nothing came, no file";
    // Scale settings cannot be read, and a read by numbers without one asks
    // for nothing: the session ends after the join.
    Run(TransferCommand::Recv, DataKind::ScaleInfo, TransferScope::Select, { Line("07") });
    m_screen->m_requestNumbers = { 0, 4 };
    Run(TransferCommand::Recv, DataKind::Item, TransferScope::Select, { Line("07") });
    EXPECT_EQ(Commands(Frames()),
        (std::vector<std::uint16_t> {
            kJoinMark, kRequestOne, kAck, kEndJoin, kJoinMark, kEndJoin, kJoinMark, kEndJoin }));
    ExpectWalkEnded();
}

// ---- the engine's waits and pieces ------------------------------------------------

TEST_F(SerialTransferTest, AnUnansweredFrameGoesFiveTimesAndASilentScaleIsPassedOver)
{
    m_screen->Engine().SetReplyTimeout(60);
    StartScript([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return f.scaleId == "07" ? SerialReply::JoinReply(f) : SerialReply::Silence();
        return SerialReply::Silence();
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::All, { Line("05"), Line("07") });

    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@05", "J@07", "6@07", "6@07", "6@07", "6@07", "6@07" }));
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { "JOINERROR",
            Ending("05", "No answer (JOINERROR)", "receive incomplete: no records stored."), "Time out",
            Ending("07", "No answer (Time out)", "receive incomplete: no records stored.") }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, ALongRecordGoesInPiecesAndABadAnswerRepeatsOnlyItsPiece)
{
    SerialScaleModel model({ "07" });
    std::atomic<bool> spoil { false };
    model.SetCorrupt([&](const SerialFrame& f) { return f.pieceNumber == 2 && spoil.exchange(false); });
    StartLine(model);
    std::vector<std::string> row { "5" };
    std::string text;
    for (char c = 'a'; c <= 'j'; ++c) {
        row.push_back(std::string(40, c));
        text += std::string(40, c) + (c == 'j' ? "" : "\r\n");
    }
    m_screen->SetDataRows({ row });

    Run(TransferCommand::Trans, DataKind::Add, TransferScope::All, { Line("07") });
    EXPECT_EQ(model.TablesOf("07")[1].at(5), TextPayload(TableCode::Add, 5, text));
    // The answer to the second piece is spoiled once: that piece goes again.
    spoil = true;
    Run(TransferCommand::Trans, DataKind::Add, TransferScope::All, { Line("07") });

    std::vector<std::pair<int, int>> pieces;
    for (const SerialFrame& f : Frames()) {
        if (f.command == kRecord)
            pieces.emplace_back(f.pieceCount, f.pieceNumber);
    }
    EXPECT_EQ(pieces,
        (std::vector<std::pair<int, int>> {
            { 3, 1 }, { 3, 2 }, { 3, 3 }, { 3, 1 }, { 3, 2 }, { 3, 2 }, { 3, 3 } }));
    EXPECT_EQ(Frames().back().command, kEndJoin);
    const std::string sent = Ending("07", "Trans Complete", "1 of 1 records sent.");
    EXPECT_EQ(Texts(), (std::vector<std::string> { sent, sent }));
}

// The line cuts the scale's answer to the first record (its closing
// delimiters lost): the cut piece is dropped as the record goes again, so the
// copy's own answer is read, and the scale's refusal of the second record is
// the answer to that record, not to the end of the session.
TEST_F(SerialTransferTest, ACutAnswerIsDroppedWhenTheFrameGoesAgain)
{
    m_screen->Engine().SetReplyTimeout(
        static_cast<UINT>(TestDeadline(std::chrono::milliseconds(100)).count()));
    SerialScaleModel model({ "07" });
    model.SetRefusal([](const SerialFrame& f) {
        return f.command == kRecord && f.payload.at(2) == 2 ? std::optional<std::uint16_t>(0x2025)
                                                            : std::nullopt;
    });
    std::atomic<bool> cut { true };
    StartScript([&](const SerialFrame& f, std::size_t) {
        SerialReply reply = model.Answer(f);
        if (!f.join && f.command == kRecord && cut.exchange(false))
            reply.writes.front().resize(reply.writes.front().size() - 4);
        return reply;
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1), ItemRow(2, "b", 2) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    EXPECT_EQ(Commands(Frames()),
        (std::vector<std::uint16_t> { kJoinMark, kClear, kRecord, kRecord, kRecord, kEndJoin }));
    EXPECT_EQ(model.TablesOf("07")[0].size(), 1u);
    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "scale memory full", Ending("07", "Trans Failed (scale memory full)", "1 of 2 records sent.") }));
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

TEST_F(SerialTransferTest, AStrayAnswerLeavesTheFrameWaitingForItsReply)
{
    m_screen->Engine().SetReplyTimeout(300);
    std::atomic<bool> clearStray { true };
    std::atomic<bool> recordStray { true };
    std::atomic<bool> startStray { true };
    StartScript([&](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        // The first clear and the first broadcast start get a data record nobody asked for.
        if ((f.command == kClear && clearStray.exchange(false))
            || (f.command == kBroadStart && startStray.exchange(false)))
            return SerialReply::Data(f.scaleId, TextPayload(TableCode::Add, 1, "x"));
        // The first record gets a command that means nothing here.
        if (f.command == kRecord && recordStray.exchange(false))
            return SerialReply { { SerialReply::Frame(f.scaleId, 0x0777, {}) } };
        if (f.command == kStatusRequest)
            return SerialReply { { SerialReply::Frame(f.scaleId, kStatusReply, { 1, 0, 0, 0 }) } };
        return SerialReply::Ack(f.scaleId == "99" ? "01" : f.scaleId);
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });
    EXPECT_EQ(Commands(Frames()),
        (std::vector<std::uint16_t> { kJoinMark, kClear, kClear, kRecord, kRecord, kEndJoin }));

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("03") });
    const auto addressed = Addressed(Frames());
    ASSERT_GE(addressed.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(addressed.begin() + 6, addressed.begin() + 9),
        (std::vector<std::string> { "J@01", "J@03", "1280@01" }));
    EXPECT_EQ(std::count(addressed.begin(), addressed.end(), "1280@01"), 2);
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { Ending("07", "Trans Complete", "1 of 1 records sent."),
            "4849....OKcode su=1", "4851....OKcode su=1",
            "Broadcast to 2 scales: Trans Complete, 1 of 1 records sent." }));
    EXPECT_EQ(m_boxes.Records().back().type & 0xF0u, 0u) << "a broadcast that went through is no warning";
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

// ---- broadcasts ------------------------------------------------------------------

TEST_F(SerialTransferTest, BroadcastOfScaleSettingsResetsEveryJoinedScale)
{
    SerialScaleModel model({ "01", "03" });
    StartLine(model);
    m_screen->SetDataRows({ { "1", "2", "3" } });

    // Basic settings: the screen keeps its buttons as they are.
    Run(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select, { Line("01"), Line("03") });
    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@01", "J@03", "1280@01", "1280@03", "3@99", "16688@01", "16688@03" }));
    EXPECT_EQ(Frames()[4].payload, BuildScaleInfoRecord(RecordRow { "row", "1", "2", "3" }));
    EXPECT_EQ(
        Texts(), std::vector<std::string> { "Broadcast to 2 scales: Trans Complete, 1 of 1 records sent." });
    EXPECT_EQ(m_screen->m_transferActive, 0);
    EXPECT_FALSE(m_screen->m_itemButtons);
    EXPECT_FALSE(m_screen->Engine().IsPortOpen());

    // Network settings: the walk gives the buttons back.
    Run(TransferCommand::Trans, DataKind::ScaleRootInfo, TransferScope::Select, { Line("01"), Line("03") });
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 14u);
    EXPECT_EQ(frames[11].payload.size(), 30u);
    EXPECT_EQ(frames[11].scaleId, "99");
    EXPECT_EQ(frames[13].command, kResetScale);
    ExpectWalkEnded();
}

// Presets have no selection: a broadcast of them ends after the start pass.
TEST_F(SerialTransferTest, BroadcastOfPresetsByPickEndsAfterTheStart)
{
    SerialScaleModel model({ "01", "03" });
    StartLine(model);

    Run(TransferCommand::Trans, DataKind::Preset, TransferScope::Select, { Line("01"), Line("03") });

    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@01", "J@03", "1280@01", "1280@03", "1024@01", "1024@03" }));
    EXPECT_EQ(
        Texts(), std::vector<std::string> { "Broadcast to 2 scales: Trans Complete, 0 of 0 records sent." });
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, BroadcastOfPickedRowsShowsEachScalesStatus)
{
    SerialScaleModel model({ "01", "02", "03", "04" });
    StartScript([answer = model.Script()](const SerialFrame& f, std::size_t n) {
        const std::map<std::string, Bytes> status {
            { "02", { 2, 1, 0, 0 } }, // 258 records
            { "03", { 2, 0, 9, 0 } }, // error 9
            { "04", { 1, 0 } }, // a count without its code: no box, the count is used
        };
        const auto it = status.find(f.scaleId);
        if (f.command == kStatusRequest && it != status.end())
            return SerialReply { { scalesim::AnswerFrame(f.scaleId, kStatusReply, it->second, f) } };
        return answer(f, n);
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1), ItemRow(2, "b", 2), ItemRow(3, "c", 3) });
    m_screen->m_pick.listFlag = 1;
    m_screen->m_pick.pickedRows = { 3, 1 };

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::Select,
        { Line("01"), Line("02"), Line("03"), Line("04") });

    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@01", "J@02", "J@03", "J@04", "1280@01", "1280@02", "1280@03",
            "1280@04", "3@99", "3@99", "1281@01", "1281@02", "1281@03", "1281@04", "1024@01", "1024@02",
            "1024@03", "1024@04" }));
    const auto items = model.TablesOf("02")[0];
    EXPECT_EQ(items.size(), 2u);
    EXPECT_EQ(items.count(2), 0u);
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { "4849....OKcode su=2", "4850....OKcode su=258", "4851....errcode su=9",
            "Broadcast to 4 scales: Trans Failed (S03 (ID 03) error code 9, S04 (ID 04) kept 1), 2 of 2 "
            "records sent." }));
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

// Each scale's status count is checked against the records sent: a scale that
// kept fewer fails the broadcast, named with its count.
TEST_F(SerialTransferTest, ABroadcastScaleThatKeptFewerRecordsFailsTheBroadcast)
{
    SerialScaleModel model({ "01", "02", "03" });
    std::atomic<int> toSecond { 0 };
    model.SetDropped([&](const std::string& id, const SerialFrame& f) {
        return id == "02" && f.scaleId == "99" && ++toSecond == 5;
    });
    StartLine(model);
    m_screen->SetDataRows(ItemRows(12));

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02"), Line("03") });

    EXPECT_EQ(model.TablesOf("02")[0].size(), 11u);
    EXPECT_EQ(model.TablesOf("01")[0].size(), 12u);
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { "4849....OKcode su=12", "4850....OKcode su=11", "4851....OKcode su=12",
            "Broadcast to 3 scales: Trans Failed (S02 (ID 02) kept 11), 12 of 12 records sent." }));
    EXPECT_EQ(m_boxes.Records().back().type & 0xF0u, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(m_screen->m_activeRaised, 1) << "the broadcast counts as a running transfer";
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

// A refusal or a line that spoils every answer ends the broadcast as failed.
TEST_F(SerialTransferTest, BroadcastFaultsGoToTheClosingPass)
{
    enum Fault { Refusal, BadSums };
    struct Case {
        Fault fault;
        std::vector<std::uint16_t> toFirst; // link frames the first scale got
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        { Refusal, { kBroadStart, kClear, kRecord, kEndJoin },
            { "scale memory full",
                "Broadcast to 2 scales: Trans Failed (scale memory full), 0 of 1 records sent." } },
        { BadSums, { kBroadStart, kClear, kClear, kClear, kClear, kClear, kEndJoin },
            { "BROAD 3TimeError",
                "Broadcast to 2 scales: No answer (BROAD 3TimeError), 0 of 1 records sent." } },
    };
    std::atomic<int> fault { Refusal };
    SerialScaleModel model({ "01", "03" });
    model.SetRefusal([&](const SerialFrame& f) -> std::optional<std::uint16_t> {
        if (fault == Refusal && f.command == kRecord)
            return 0x2025;
        return std::nullopt;
    });
    model.SetCorrupt([&](const SerialFrame& f) { return fault == BadSums && f.scaleId == "99"; });
    StartLine(model);
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    for (const Case& c : cases) {
        fault = c.fault;
        MessageBoxScript::Reset();
        const std::size_t before = model.CommandsTo("01").size();

        Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("03") });

        const auto toFirst = model.CommandsTo("01");
        EXPECT_EQ(
            std::vector<std::uint16_t>(toFirst.begin() + static_cast<std::ptrdiff_t>(before), toFirst.end()),
            c.toFirst)
            << c.texts[0];
        EXPECT_EQ(model.CommandsTo("03").back(), kEndJoin) << c.texts[0];
        EXPECT_EQ(Texts(), c.texts);
        ExpectWalkEnded();
    }
}

TEST_F(SerialTransferTest, BroadcastTakesDataAnswersOfTheFirstJoinedScaleOnly)
{
    std::atomic<int> answers { 0 };
    StartScript([&](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kStatusRequest)
            return SerialReply { { SerialReply::Frame(f.scaleId, kStatusReply, { 0, 0, 0, 0 }) } };
        if (f.scaleId == "99") // the first answer comes from the second scale
            return SerialReply::Ack(answers.fetch_add(1) == 0 ? "03" : "01");
        return SerialReply::Ack(f.scaleId);
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("03") });

    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@01", "J@03", "1280@01", "1280@03", "2@99", "2@99", "3@99", "1281@01",
            "1281@03", "1024@01", "1024@03" }));
    EXPECT_EQ(Frames()[4].sequence, Frames()[5].sequence);
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

TEST_F(SerialTransferTest, BroadcastWithoutAJoinedScaleOrPortEndsAtOnce)
{
    m_screen->Engine().SetReplyTimeout(300);
    StartScript([](const SerialFrame&, std::size_t) { return SerialReply::Silence(); });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02") });
    // Each silent scale is told the end (the last one as the port closes).
    const auto addressed = Addressed(Frames());
    ASSERT_GE(addressed.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(addressed.begin(), addressed.begin() + 3),
        (std::vector<std::string> { "J@01", "1024@01", "J@02" }));
    const std::string none = "Broadcast to 2 scales: No scale joined, 0 of 1 records sent. Not joined, sent "
                             "nothing: S01 (ID 01), S02 (ID 02).";
    EXPECT_EQ(Texts(), std::vector<std::string> { none });
    ExpectWalkEnded();

    // A port that does not open ends a broadcast: no scale after it.
    SetSerialDevicePath(kPort, "/nonexistent/tty");
    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02") });
    EXPECT_EQ(Texts(), (std::vector<std::string> { none, "PORT OPEN ERROR" }));
    // The first run's end to 02 may reach the line only now; no scale joins again.
    const auto after = Addressed(Frames());
    EXPECT_EQ(std::count(after.begin(), after.end(), "J@01"), 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), "J@02"), 1);
    ExpectWalkEnded();

    // Stop before any scale joined: the walk ends and says so.
    SetSerialDevicePath(kPort, m_line.DevicePath());
    MessageBoxScript::Reset();
    Begin(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02") });
    m_screen->Transfer().Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(10)));
    EXPECT_EQ(Texts(),
        std::vector<std::string> {
            "Broadcast to 2 scales: Trans Stopped, 0 of 1 records sent. Not joined, sent "
            "nothing: S01 (ID 01), S02 (ID 02)." });
    ExpectWalkEnded();

    // Stop while the first join is unanswered: no scale to end, no closing pass.
    const std::size_t before = Frames().size();
    Begin(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02") });
    ASSERT_TRUE(PumpUntil([&] { return Frames().size() > before; }));
    m_screen->Transfer().Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(10)));
    const auto stopped = Addressed(Frames());
    EXPECT_EQ(std::vector<std::string>(stopped.begin() + static_cast<std::ptrdiff_t>(before), stopped.end()),
        std::vector<std::string> { "J@01" });
    EXPECT_EQ(Texts().size(), 2u);
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, StopEndsTheSessionOfEveryJoinedScale)
{
    struct Case {
        std::vector<CString> lines;
        const char* watched; // the scale whose records are counted
        std::vector<std::string> ends; // the last frames
        std::string missed; // the ending's list of scales that did not join
    };
    const Case cases[] = {
        { { Line("07") }, "07", { "1024@07" } },
        { { Line("01"), Line("03") }, "03", { "1024@01", "1024@03" } },
        // 05 is not on the line: the one joined scale is still told the end.
        { { Line("05"), Line("09") }, "09", { "1024@09" }, " Not joined, sent nothing: S05 (ID 05)." },
    };
    SerialScaleModel model({ "01", "03", "07", "09" });
    // The watched scale keeps silent after its third record until the stop
    // is asked, so the walk cannot end on its own first.
    std::atomic<const char*> watched { nullptr };
    std::atomic<int> records { 0 };
    std::atomic<bool> hold { true };
    StartScript([&, script = model.Script()](const SerialFrame& frame, std::size_t index) {
        constexpr std::uint16_t kRecordCommand = 0x0003;
        const char* id = watched.load();
        if (hold && id && frame.scaleId == id && frame.command == kRecordCommand && ++records > 3)
            return SerialReply::Silence();
        return script(frame, index);
    });
    m_screen->Engine().SetReplyTimeout(300);
    std::vector<std::vector<std::string>> rows;
    for (int n = 1; n <= 40; ++n)
        rows.push_back(ItemRow(n, "item", n));
    m_screen->SetDataRows(rows);
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        records = 0;
        hold = true;
        watched = c.watched;
        Begin(TransferCommand::Trans, DataKind::Item, TransferScope::All, c.lines);
        ASSERT_TRUE(
            PumpUntil([&] { return model.TablesOf(c.watched)[0].size() >= 3; }, std::chrono::seconds(10)));
        EXPECT_FALSE(m_screen->m_itemButtons || m_screen->m_scaleButtons) << "greyed while the walk runs";
        m_screen->Transfer().Stop();
        hold = false;
        ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(10)));

        EXPECT_LT(model.TablesOf(c.watched)[0].size(), 40u) << c.watched;
        const auto addressed = Addressed(Frames());
        ASSERT_GE(addressed.size(), c.ends.size());
        EXPECT_EQ(std::vector<std::string>(
                      addressed.end() - static_cast<std::ptrdiff_t>(c.ends.size()), addressed.end()),
            c.ends);
        // No status pass: the closing pass at once.
        EXPECT_EQ(std::count(addressed.begin(), addressed.end(), "1281@01"), 0);
        const std::string who = c.lines.size() == 1 ? "S07 (ID 07)" : "Broadcast to 2 scales";
        EXPECT_EQ(Texts(),
            std::vector<std::string> { CString::Formatted("%s: Trans Stopped, %d of 40 records sent.",
                                           who.c_str(), static_cast<int>(model.TablesOf(c.watched)[0].size()))
                                           .GetString()
                + c.missed });
        ExpectWalkEnded();
    }
}

TEST(ScaleIdOfLineTest, TheTwoCharactersAfterId)
{
    const std::pair<const char*, const char*> cases[] = {
        { "Scale name = A, Scale ID=7", "07" },
        { "Scale name = A, Scale ID=123", "12" },
        { "Scale name = A, IP=10.0.0.1", "00" },
        { "Scale name = A, Scale ID=", "00" },
        { "ID=5", "05" },
    };
    for (const auto& [line, id] : cases) {
        const auto got = IdOfScaleLine(line);
        EXPECT_EQ(std::string(got.begin(), got.end()), id) << line;
    }
}

} // namespace
} // namespace serialtest
