#include <algorithm>

#include "protocol/link_frame.h"
#include "tests/serial/serial_transfer_fixture.h"

// Whole serial transfers against simulated scales on a pseudo-terminal: the
// walk over the chosen scales, the sessions' frames as the scales received
// them, what the scales stored, and what the program stored of a read.

namespace serialtest {
namespace {

TEST_F(SerialTransferTest, SendAllItemsToOneScale)
{
    SerialScaleModel model({ "07" });
    model.Put("07", PluPayload(999, "old", 1)); // the clear removes it
    StartLine(model);
    m_screen->SetDataRows(
        { ItemRow(11, "apple", 1500), ItemRow(12, "pear", 2500), ItemRow(13, "plum", 900) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    const auto frames = Frames();
    EXPECT_EQ(Commands(frames),
        (std::vector<std::uint16_t> { kJoinMark, kClear, kRecord, kRecord, kRecord, kEndJoin }));
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0].scaleId, "07");
    EXPECT_EQ(frames[1].payload, (Bytes { 0, 0 }));
    // The clear restarts the numbering: 0, then 1, 2, 3 for the records.
    EXPECT_EQ(frames[1].sequence, 0);
    EXPECT_EQ(frames[2].sequence, 1);
    EXPECT_EQ(frames[4].sequence, 3);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        EXPECT_TRUE(frames[i].sumOk);
        EXPECT_EQ(frames[i].scaleId, "07");
    }
    const auto items = model.TablesOf("07")[0];
    ASSERT_EQ(items.size(), 3u);
    PluRecord plum;
    ASSERT_TRUE(PluRecord::Decode(std::span(items.at(13)).subspan(2), plum));
    EXPECT_EQ(plum.itemName, "plum");
    EXPECT_EQ(plum.unitPrice, 900u);
    EXPECT_EQ(m_screen->m_progress, "3");
    EXPECT_EQ(Texts(), std::vector<std::string> { Ending("07", "Trans Complete", "3 of 3 records sent.") });
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AnAllSendOfAnEmptyGridClearsAndEnds)
{
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->SetDataRows({});

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kClear, kEndJoin }));
    ExpectWalkEnded();

    // One data row: the clear, that row, the end.
    m_screen->SetDataRows({ ItemRow(8, "one", 1) });
    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(Commands({ frames.begin() + 3, frames.end() }),
        (std::vector<std::uint16_t> { kJoinMark, kClear, kRecord, kEndJoin }));
    EXPECT_EQ(model.TablesOf("07")[0].size(), 1u);
}

TEST_F(SerialTransferTest, ReadOriginTextsByNumber)
{
    SerialScaleModel model({ "07" });
    model.Put("07", TextPayload(TableCode::LandAdd, 201, "Jeju"));
    model.Put("07", TextPayload(TableCode::LandAdd, 203, "Busan"));
    StartLine(model);
    m_screen->m_requestNumbers = { 201, 202, 203 };

    Run(TransferCommand::Recv, DataKind::LandAddition, TransferScope::Select, { Line("07") });

    EXPECT_EQ(Rows(m_screen->m_receivedPaths.at(0).second, "SELECT [land_num], [land_str] FROM [Land_Add]"),
        (std::vector<std::string> { "201|Jeju", "203|Busan" }));
    EXPECT_EQ(Frames().back().command, kEndJoin);
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, SelectedRowsGoOnceEachAndRangesStayInsideTheDataRows)
{
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->SetDataRows({ ItemRow(1, "a", 1), ItemRow(2, "b", 2), ItemRow(3, "c", 3), ItemRow(4, "d", 4) });
    m_screen->m_pick.rangeFlag = 1;
    m_screen->m_pick.rangeA = 5; // the last, empty row
    m_screen->m_pick.rangeB = 0; // the heading row

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { Line("07") });

    EXPECT_EQ(m_screen->Link().GetSelectedRows(), (std::vector<int> { 1, 2, 3, 4 }));
    const auto frames = Frames();
    EXPECT_EQ(Commands(frames),
        (std::vector<std::uint16_t> { kJoinMark, kRecord, kRecord, kRecord, kRecord, kEndJoin }));
    EXPECT_EQ(model.TablesOf("07")[0].size(), 4u);

    // Every transfer starts its numbering at 1.
    const std::size_t before = frames.size();
    m_screen->m_pick = {};
    m_screen->m_pick.listFlag = 1;
    m_screen->m_pick.pickedRows = { 3, 1, 0, 2 };
    Run(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { Line("07") });
    const auto again = Frames();
    ASSERT_EQ(again.size(), before + 4);
    EXPECT_EQ(again[1].sequence, 1);
    EXPECT_EQ(again[before + 1].sequence, 1);
    PluRecord first;
    ASSERT_TRUE(PluRecord::Decode(std::span(again[before + 1].payload).subspan(2), first));
    EXPECT_EQ(first.itemNum, 3u);
    EXPECT_EQ(again[before + 3].command, kEndJoin);
}

TEST_F(SerialTransferTest, ReadAllWithARecordInThreePieces)
{
    SerialScaleModel model({ "07" });
    std::string longText;
    for (char c = 'a'; c <= 'j'; ++c)
        longText += std::string(40, c) + (c == 'j' ? "" : "\r\n");
    model.Put("07", TextPayload(TableCode::Add, 5, longText)); // 8 + 418 bytes: three pieces
    model.Put("07", TextPayload(TableCode::Add, 6, "one\r\ntwo"));
    StartLine(model);

    Run(TransferCommand::Recv, DataKind::Add, TransferScope::All, { Line("07") });

    ASSERT_EQ(m_screen->m_receivedPaths.size(), 1u);
    EXPECT_EQ(m_screen->m_receivedPaths[0].first, "07");
    const auto rows = Rows(
        m_screen->m_receivedPaths[0].second, "SELECT [num], [str1], [str10], [str3], [mg_id] FROM [Add]");
    EXPECT_EQ(rows,
        (std::vector<std::string> {
            "5|" + std::string(40, 'a') + "|" + std::string(40, 'j') + "|" + std::string(40, 'c') + "|kim",
            "6|one|NULL|NULL|kim" }));
    std::vector<std::pair<int, int>> acks;
    for (const SerialFrame& f : Frames()) {
        if (f.command == kAck)
            acks.emplace_back(f.pieceCount, f.pieceNumber);
    }
    // Each piece acknowledged with its own count and number, the whole record,
    // then the end of data (REQUEST_END).
    EXPECT_EQ(acks, (std::vector<std::pair<int, int>> { { 3, 1 }, { 3, 2 }, { 3, 3 }, { 0, 0 }, { 0, 0 } }));
    EXPECT_EQ(Frames().back().command, kEndJoin);
    EXPECT_EQ(m_screen->Link().GetStoredCount(), 2);
    // The ending says how many were stored, and where.
    EXPECT_EQ(m_boxes.Records().back().text,
        CString(
            ("Trans Complete, 2 records stored in " + m_screen->m_receivedPaths[0].second + ".").c_str()));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, ReadByNumberGoesOnAfterAMissingNumber)
{
    SerialScaleModel model({ "07" });
    model.Put("07", PluPayload(2, "two", 20));
    model.Put("07", PluPayload(3, "three", 30));
    StartLine(model);
    m_screen->m_requestNumbers = { 1, 2, 3, 0, 9 };

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::Select, { Line("07") });

    std::vector<std::uint32_t> asked;
    for (const SerialFrame& f : Frames()) {
        if (f.command == kRequestOne && f.payload.size() == 6)
            asked.push_back(f.payload[2] | f.payload[3] << 8);
    }
    EXPECT_EQ(asked, (std::vector<std::uint32_t> { 1, 2, 3 }));
    EXPECT_EQ(Rows(m_screen->m_receivedPaths.at(0).second,
                  "SELECT [item_num], [item_name], [unitprice] FROM [Item]"),
        (std::vector<std::string> { "2|two|20", "3|three|30" }));
    EXPECT_EQ(Frames().back().command, kEndJoin);
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AJoinRejectedForItsVersionEndsTheSession)
{
    SerialScaleModel model({ "07" });
    model.SetVersion("07", '3');
    StartLine(model);
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], VersionErrorText(2));
    EXPECT_EQ(texts[1].substr(0, 6), ".IDCFM");
    EXPECT_EQ(texts[2], "JOINERROR");
    EXPECT_EQ(Commands(Frames()), std::vector<std::uint16_t> { kJoinMark });
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AWrongSumIsAnsweredFiveTimesThenTheError)
{
    SerialScaleModel model({ "07" });
    model.SetCorrupt([](const SerialFrame& f) { return f.command == kClear; });
    StartLine(model);
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    EXPECT_EQ(Commands(Frames()),
        (std::vector<std::uint16_t> { kJoinMark, kClear, kClear, kClear, kClear, kClear }));
    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "3TimeError", Ending("07", "No answer (3TimeError)", "0 of 1 records sent.") }));
    ExpectWalkEnded();
}

// The silent scale is named in the ending: it was sent nothing.
TEST_F(SerialTransferTest, BroadcastToThreeScalesWithOneSilent)
{
    SerialScaleModel model({ "01", "03" });
    StartLine(model);
    m_screen->Engine().SetReplyTimeout(300);
    m_screen->SetDataRows({ ItemRow(5, "five", 5), ItemRow(6, "six", 6) });

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02"), Line("03") });

    EXPECT_EQ(model.Joined(), (std::vector<std::string> { "01", "03" }));
    EXPECT_EQ(Addressed(Frames()),
        (std::vector<std::string> { "J@01", "J@02", "1024@02", "J@03", "1280@01", "1280@03", "2@99", "3@99",
            "3@99", "1281@01", "1281@03", "1024@01", "1024@03" }));
    const auto frames = Frames();
    for (const SerialFrame& f : frames) {
        if (f.command == kBroadStart) {
            EXPECT_EQ(f.payload, (Bytes { static_cast<std::uint8_t>(f.scaleId == "01" ? 1 : 0), 0 }));
        }
    }
    EXPECT_EQ(model.TablesOf("01")[0].size(), 2u);
    EXPECT_EQ(model.TablesOf("03")[0].size(), 2u);
    EXPECT_EQ(model.TablesOf("02").size(), 0u);
    // Status of each joined scale: its ID bytes as numbers, then its count.
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { "4849....OKcode su=2", "4851....OKcode su=2",
            "Broadcast to 3 scales: Trans Complete on 2 scales only, 2 of 2 records sent. Not joined, sent "
            "nothing: S02 (ID 02)." }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, StopInTheMiddleOfAWalkEndsItAfterThatScale)
{
    SerialScaleModel model({ "07", "08" });
    for (int n = 1; n <= 40; ++n)
        model.Put("07", PluPayload(n, "item", n));
    StartLine(model);

    TransferOrder order;
    order.link = TransferLink::Serial;
    order.command = TransferCommand::Recv;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    order.scales = ParseScaleLines({ Line("07"), Line("08") });
    order.comPort = kPort;
    m_screen->StartWalk(order);
    ASSERT_TRUE(PumpUntil([&] { return m_screen->Link().GetStoredCount() >= 3; }, std::chrono::seconds(10)));
    m_screen->Transfer().Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(10)));

    EXPECT_LT(m_screen->Link().GetStoredCount(), 40);
    EXPECT_EQ(Frames().back().command, kEndJoin);
    EXPECT_EQ(Frames().back().scaleId, "07");
    EXPECT_EQ(model.Joined(), std::vector<std::string> { "07" });
    EXPECT_EQ(m_screen->m_receivedPaths.size(), 1u);
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AReadFromTwoScalesKeepsItsScopeAndGivesEachScaleItsOwnDatabase)
{
    SerialScaleModel model({ "07", "08" });
    model.Put("07", PluPayload(1, "seven", 7));
    model.Put("08", PluPayload(1, "eight", 8));
    StartLine(model);
    m_screen->m_requestNumbers = { 1 };

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::Select, { Line("07"), Line("8") });

    ASSERT_EQ(m_screen->m_receivedPaths.size(), 2u);
    EXPECT_EQ(m_screen->m_receivedPaths[0].first, "07");
    EXPECT_EQ(m_screen->m_receivedPaths[1].first, "08");
    EXPECT_EQ(Rows(m_screen->m_receivedPaths[0].second, "SELECT [item_name] FROM [Item]"),
        std::vector<std::string> { "seven" });
    EXPECT_EQ(Rows(m_screen->m_receivedPaths[1].second, "SELECT [item_name] FROM [Item]"),
        std::vector<std::string> { "eight" });
    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "S07 (ID 07): Trans Complete, 1 record", "S8 (ID 08): Trans Complete, 1 record" }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, ARecordThatCannotBeStoredIsToldAndNotCounted)
{
    SerialScaleModel model({ "07" });
    model.Put("07", PluPayload(1, "a", 1));
    model.Put("07", Bytes { 0, 1, 2, 0, 0, 0 }); // too short for an item
    model.Put("07", PluPayload(3, "c", 3));
    StartLine(model);

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::All, { Line("07") });

    ASSERT_EQ(m_screen->m_receivedPaths.size(), 1u);
    EXPECT_EQ(Rows(m_screen->m_receivedPaths[0].second, "SELECT [item_num] FROM [Item]"),
        (std::vector<std::string> { "1", "3" }));
    EXPECT_EQ(m_screen->m_progress, "2");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("A record from the scale was not stored: ", 0), 0u);
    EXPECT_EQ(texts[1], Ending("07", "1 record refused", "receive incomplete: 2 records"));
    ExpectWalkEnded();

    // A text line longer than its column is stored cut, and told once.
    MessageBoxScript::Reset();
    model.Put("07", BuildTextRecord(TableCode::LandAdd, { "", "201", std::string(70, 'z') }).Encode());
    Run(TransferCommand::Recv, DataKind::LandAddition, TransferScope::All, { Line("07") });
    ASSERT_EQ(m_screen->m_receivedPaths.size(), 2u);
    EXPECT_EQ(Rows(m_screen->m_receivedPaths[1].second, "SELECT [land_num], [land_str] FROM [Land_Add]"),
        (std::vector<std::string> { "201|" + std::string(50, 'z') }));
    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "S07 (ID 07): 1 text lines were longer than their column and were stored cut.",
            "Trans Complete, 1 record" }));
}

TEST_F(SerialTransferTest, ARequestAcknowledgedWithoutDataTimesOutAndCloses)
{
    m_screen->Engine().SetReplyTimeout(200);
    ASSERT_TRUE(m_line.Start([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kRequestAll)
            return SerialReply::Ack("07");
        return SerialReply::Silence();
    }));
    SetSerialDevicePath(kPort, m_line.DevicePath());

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::All, { Line("07") });

    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "Time out", Ending("07", "No answer (Time out)", "receive incomplete: no records stored.") }));
    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kRequestAll }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, AnUnansweredEndStillClosesAndTheWalkGoesOn)
{
    m_screen->Engine().SetReplyTimeout(200);
    ASSERT_TRUE(m_line.Start([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kEndJoin)
            return SerialReply::Silence();
        return SerialReply::Ack(f.scaleId);
    }));
    SetSerialDevicePath(kPort, m_line.DevicePath());
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    m_screen->m_pick.firstRow = m_screen->m_pick.lastRow = 1;

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { Line("07") });

    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kRecord, kEndJoin }));
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, RefusedStartsTellWhy)
{
    TransferOrder order;
    order.link = TransferLink::Serial;
    order.command = TransferCommand::Trans;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    order.comPort = 0;
    order.scales = ParseScaleLines({ Line("01") });
    m_screen->StartWalk(order);
    order.comPort = kPort;
    order.scales.clear();
    m_screen->StartWalk(order);
    for (int i = 0; i < 101; ++i)
        order.scales.push_back(ParseScaleLine(Line(std::to_string(i))));
    m_screen->StartWalk(order);
    // A start while a walk runs.
    SerialScaleModel model({ "07" });
    StartLine(model);
    order.scales = ParseScaleLines({ Line("07") });
    order.command = TransferCommand::Recv;
    m_screen->StartWalk(order);
    m_screen->StartWalk(order);
    ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }));
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[3], "A transfer is still running. Wait until it ends.");
    EXPECT_EQ(texts[4], "Trans Complete, no records stored.");
    EXPECT_EQ(model.Joined().size(), 1u);
    EXPECT_EQ(texts[0], "Select a port.");
    EXPECT_EQ(texts[1], "Communication Setting error");
    EXPECT_NE(texts[2].find("at most 100"), std::string::npos);
    ExpectWalkEnded();
}

// COM 1 to COM 8 are the ports; COM 9 does not open.
TEST_F(SerialTransferTest, ThePortsAreOneToEight)
{
    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    m_screen->m_pick.firstRow = m_screen->m_pick.lastRow = 1;
    TransferOrder order;
    order.link = TransferLink::Serial;
    order.command = TransferCommand::Trans;
    order.kind = DataKind::Item;
    order.scope = TransferScope::Select;
    order.scales = ParseScaleLines({ Line("07") });
    for (int port : { 1, 8, 9 }) {
        SetSerialDevicePath(port, m_line.DevicePath());
        order.comPort = port;
        m_screen->StartWalk(order);
        ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }));
        SetSerialDevicePath(port, "");
    }
    const std::string sent = Ending("07", "Trans Complete", "1 of 1 records sent.");
    EXPECT_EQ(Texts(), (std::vector<std::string> { sent, sent, "PORT OPEN ERROR" }));
    EXPECT_EQ(model.Joined().size(), 2u);
    ExpectWalkEnded();
}

TEST_F(SerialTransferTest, APortThatDoesNotOpenSkipsToTheNextScale)
{
    SerialScaleModel model({ "08" });
    StartLine(model);
    SetSerialDevicePath(kPort, "/nonexistent/tty");
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });

    Run(TransferCommand::Recv, DataKind::Item, TransferScope::All, { Line("07"), Line("08") });

    EXPECT_EQ(Texts(), (std::vector<std::string> { "PORT OPEN ERROR", "PORT OPEN ERROR" }));
    EXPECT_TRUE(Frames().empty());
    ExpectWalkEnded();
}

} // namespace
} // namespace serialtest
