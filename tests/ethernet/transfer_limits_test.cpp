#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "tests/ethernet/transfer_jobs_fixture.h"

// TCP transfer jobs at their limits: the Stop button between steps, the resend
// budget of each packet, refusals that end a sales-total job, starts that are
// refused, a database that takes no rows, and jobs still running when the
// work screen goes.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

TEST_F(TransferJobsTest, StopEndsTheJobAtTheNextAcknowledgementOrRecord)
{
    // Pressed while the second record goes out: its acknowledgement ends the
    // job, without the reset.
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2), ItemRow(3, "C", 3) });
    m_host.stopAtProgress = "2";
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0002, 0x0003, 0x0003 }));
    EXPECT_EQ(memory.Table(kPlu).size(), 2u);
    EXPECT_EQ(memory.TaskResets(), 0);
    EXPECT_EQ(Texts(), std::vector<CString> { Sent(scale, "Trans Stopped", 2, 3) }) << "every ACK counts";
    EXPECT_EQ(m_host.activeChanges, (std::vector<int> { 1, 0 }));
    EXPECT_EQ(m_host.ethernetStop, 1) << "the job never clears the flag";

    // Pressed when the first record of a whole read is stored: that record is
    // acknowledged, the next one ends the job unstored.
    MessageBoxScript::Reset();
    m_host.ethernetStop = 0;
    m_host.stopAtProgress = "1";
    ScaleMemory full;
    for (int n = 1; n <= 3; ++n)
        full.Put(kPlu, static_cast<std::uint32_t>(n), PluPayload(n, "R", n));
    TcpScale reader;
    ASSERT_TRUE(reader.Start(full.Script()));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &reader }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows("SELECT [item_num] FROM [Item]"), std::vector<std::string> { "1" });
    EXPECT_EQ(Commands(reader), (std::vector<std::uint16_t> { 0x0006, 0x0101 }));
    EXPECT_EQ(Texts(), std::vector<CString> { Stored(reader, "Trans Stopped", 1) });
}

TEST_F(TransferJobsTest, EveryPacketHasItsOwnThreeResends)
{
    TransferTimings quick = kFast;
    quick.replyMs = 150;
    m_host.jobs->SetTimings(quick);
    // Each packet is answered only when it arrives the third time.
    auto arrivals = std::make_shared<std::map<std::pair<std::uint16_t, Bytes>, int>>();
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start([arrivals, &memory](const TcpPacket& p, std::size_t) {
        return ++(*arrivals)[{ p.command, p.payload }] == 3 ? memory.Answer(p) : TcpReply::Silence();
    }));
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(
        Commands(scale), (std::vector<std::uint16_t> { 2, 2, 2, 3, 3, 3, 3, 3, 3, 0x4120, 0x4120, 0x4120 }));
    EXPECT_EQ(memory.Table(kPlu).size(), 2u);
    EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
}

TEST_F(TransferJobsTest, RefusalsOfSalesTotalJobsAndOfAnUnknownRecordReportTheScaleDone)
{
    struct Case {
        TransferCommand direction;
        DataKind kind;
        std::uint16_t refused; // the command refused once
        std::uint16_t code;
        std::vector<CString> boxes;
        std::vector<std::uint16_t> packets;
        int stepsDone;
    };
    const Case cases[] = {
        { TransferCommand::Recv, DataKind::ResultItemAll, 0x0006, 0x2025, { "SCALE memory full", "failed" },
            { 0x0006, 0x4120 }, 1 },
        { TransferCommand::Trans, DataKind::ResultAllClear, 0x0002, 0x2027,
            { "SCALE PROCESS ERROR", "failed" }, { 0x0002, 0x4120 }, 1 },
        { TransferCommand::Trans, DataKind::Item, 0x0003, 0x2023, { "SCALE DATA LENGTH MISS", "failed" },
            { 0x0002, 0x0003, 0x4120 }, 0 },
        // "No such item" to a packet that is no request: it goes again.
        { TransferCommand::Trans, DataKind::Item, 0x0002, 0x2028, { "Trans Complete" },
            { 0x0002, 0x0002, 0x0003, 0x4120 }, 0 },
    };
    m_host.SetRows({ ItemRow(1, "A", 1) });
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Word(c.kind)) + " " + std::to_string(c.code));
        MessageBoxScript::Reset();
        m_host.resultStepsDone = 0;
        ScaleMemory memory;
        bool refused = false;
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&](const TcpPacket& p, std::size_t) {
            if (p.command == c.refused && !refused) {
                refused = true;
                return TcpReply::Nak(c.code);
            }
            return memory.Answer(p);
        }));
        ASSERT_TRUE(Start(c.direction, c.kind, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        // A refusal ends as failed, whatever the reset's answer.
        std::vector<CString> boxes = c.boxes;
        if (boxes.back() == "failed") {
            const CString how = "Trans Failed (" + boxes.front() + ")";
            boxes.back() = c.direction == TransferCommand::Recv ? Stored(scale, how, 0)
                : c.refused == 0x0002                           ? CString::Formatted(
                                                "%s: %s, the totals were not cleared.", scale.Address().c_str(), how.GetString())
                                      : Sent(scale, how, 0, 1);
        }
        EXPECT_EQ(Texts(), boxes);
        EXPECT_EQ(Commands(scale), c.packets);
        EXPECT_EQ(m_host.resultStepsDone, c.stepsDone);
    }
}

TEST_F(TransferJobsTest, AnswersThatMeanNothingLeaveTheReplyTimerToSendAgain)
{
    TransferTimings quick = kFast;
    quick.replyMs = 150;
    m_host.jobs->SetTimings(quick);
    struct Case {
        const char* name;
        Bytes answer;
    };
    const Case cases[] = {
        { "length over the limit", Bytes { 0x01, 0x01, 0xFF, 0xFF, 0, 0 } },
        { "unknown command", TcpReply::Packet(0x0777, { 1, 2 }) },
        { "greeting again", Bytes { 'w', 'e', 'l', 'c', 'o', 'm', 'e' } },
        { "record nobody asked for", TcpReply::Packet(0x0005, PluPayload(9, "X", 9)) },
        { "unknown refusal", TcpReply::Packet(0x0100, { 0x34, 0x12 }) },
    };
    m_host.SetRows({ ItemRow(1, "A", 1) });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&](const TcpPacket& p, std::size_t index) {
            return index == 0 ? TcpReply { { c.answer } } : memory.Answer(p);
        }));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0002, 0x0002, 0x0003, 0x4120 }));
        EXPECT_EQ(memory.Table(kPlu).size(), 1u);
        EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
    }

    // An end of data is no answer to a send: the clear goes again, then no answer.
    MessageBoxScript::Reset();
    TcpScale ending;
    ASSERT_TRUE(ending.Start([](const TcpPacket&, std::size_t) { return TcpReply::EndOfData(); }));
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &ending }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Commands(ending), (std::vector<std::uint16_t> { 0x0002, 0x0002, 0x0002, 0x0002 }));
    EXPECT_EQ(Texts(), (std::vector<CString> { "3 times out", Sent(ending, "No answer", 0, 1) }));
}

TEST_F(TransferJobsTest, StartsAreRefusedWhileAJobRunsAndBeyondTheirLimits)
{
    ScaleMemory quiet(ScaleMemory::Mode::Silent);
    TcpScale silent;
    ASSERT_TRUE(silent.Start(quiet.Script()));
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &silent }));
    ASSERT_TRUE(PumpUntil([&] { return silent.Received().size() == 1; }));
    EXPECT_FALSE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &silent }));
    EXPECT_EQ(Texts(), std::vector<CString> { "A transfer is still running. Wait until it ends." });
    EXPECT_EQ(silent.Connections(), 1u);
    ASSERT_TRUE(WaitForEnd());

    struct Case {
        std::size_t scales;
        std::size_t numbers;
        const char* refusal; // nullptr: allowed
    };
    for (const Case& c :
        { Case { 180, 999, nullptr }, Case { 181, 0, "At most 180 scales can take part in one transfer." },
            Case { 1, 1000, "At most 999 numbers can be read at once." } }) {
        SCOPED_TRACE(std::to_string(c.scales) + " " + std::to_string(c.numbers));
        MessageBoxScript::Reset();
        TransferOrder order;
        order.command = TransferCommand::Recv;
        order.kind = DataKind::Item;
        order.scope = TransferScope::Select;
        order.scales.assign(c.scales, ScaleAt("127.0.0.1"));
        order.receiveNumbers.assign(c.numbers, 5);
        EXPECT_EQ(m_host.jobs->CheckStart(order), c.refusal == nullptr);
        EXPECT_EQ(
            Texts(), c.refusal == nullptr ? std::vector<CString> {} : std::vector<CString> { c.refusal });
        if (c.refusal != nullptr) {
            EXPECT_FALSE(m_host.StartJobs(order));
            EXPECT_EQ(m_host.jobs->JobCount(), 0u);
        }
    }
}

TEST_F(TransferJobsTest, ADatabaseThatTakesNoRowsIsReportedAndTheReadGoesOn)
{
    ScaleMemory memory;
    memory.Put(kPlu, 1, PluPayload(1, "A", 1));
    memory.Put(kPlu, 2, PluPayload(2, "B", 2));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_dbPath = m_folder.File("no such folder/received.mdb").c_str();
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(boxes[i].text.IsEmpty());
        EXPECT_EQ(boxes[i].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    }
    EXPECT_EQ(boxes[2].text, Stored(scale, "2 records refused", 0));
    EXPECT_TRUE(PumpUntil([&] { return scale.Received().size() >= 4; }));
    EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0006, 0x0101, 0x0101, 0x0101 }));
}

TEST_F(TransferJobsTest, ARecordThatCannotBeStoredIsToldAndNotCounted)
{
    ScaleMemory memory;
    memory.Put(kPlu, 1, PluPayload(1, "A", 1));
    memory.Put(kPlu, 2, Bytes { kPlu, 1, 2, 0, 0, 0 }); // too short for an item
    memory.Put(kPlu, 3, PluPayload(3, "C", 3));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows("SELECT [item_num] FROM [Item]"), (std::vector<std::string> { "1", "3" }));
    EXPECT_EQ(m_host.progress, "2");
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.View().starts_with("A record from the scale was not stored: "));
    EXPECT_EQ(boxes[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(boxes[1].text, Stored(scale, "1 record refused", 2));

    // Text lines longer than their column are stored cut (where: the store's
    // tests), and told once.
    MessageBoxScript::Reset();
    ScaleMemory texts;
    texts.Put(1, 1, BuildTextRecord(TableCode::Add, { "", "1", std::string(70, 'x') }).Encode());
    texts.Put(1, 3, BuildTextRecord(TableCode::Add, { "", "3", std::string(61, 'y') }).Encode());
    texts.Put(1, 2, BuildTextRecord(TableCode::Add, { "", "2", "b" }).Encode());
    TcpScale textScale;
    ASSERT_TRUE(textScale.Start(texts.Script()));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Add, TransferScope::All, { &textScale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows("SELECT [num], [str1], [str2] FROM [Add]"),
        (std::vector<std::string> {
            "1|" + std::string(60, 'x') + "|NULL", "2|b|NULL", "3|" + std::string(60, 'y') + "|NULL" }));
    EXPECT_EQ(m_host.progress, "3");
    EXPECT_EQ(Texts(),
        (std::vector<CString> { CString(textScale.Address())
                + ": 2 text lines were longer than their column and were stored cut.",
            Received(3) }));
}

TEST_F(TransferJobsTest, EachReadStoresIntoItsOwnScalesDatabase)
{
    TempFolder other;
    const CString otherPath(other.FromTemplate(150, "second.mdb").c_str());
    ScaleMemory firstMemory;
    ScaleMemory secondMemory;
    ScaleMemory thirdMemory;
    firstMemory.Put(kPlu, 1, PluPayload(1, "First", 1));
    secondMemory.Put(kPlu, 2, PluPayload(2, "Second", 2));
    thirdMemory.Put(kPlu, 3, PluPayload(3, "Third", 3));
    TcpScale first;
    TcpScale second;
    TcpScale third;
    ASSERT_TRUE(first.Start(firstMemory.Script()));
    ASSERT_TRUE(second.Start(secondMemory.Script()));
    ASSERT_TRUE(third.Start(thirdMemory.Script()));
    TransferOrder order;
    order.command = TransferCommand::Recv;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    order.scales = { ScaleAt(CString(first.Address()), {}, m_dbPath),
        ScaleAt(CString(second.Address()), {}, otherPath),
        ScaleAt(CString(third.Address())) }; // none named for the third scale
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows("SELECT [item_name] FROM [Item]"), std::vector<std::string> { "First" });
    m_dbPath = otherPath;
    EXPECT_EQ(Rows("SELECT [item_name] FROM [Item]"), std::vector<std::string> { "Second" });
    EXPECT_EQ(CountEndings("Trans Complete"), 2u);
    EXPECT_EQ(
        Count(CString(third.Address()) + ": 1 record refused, receive incomplete: no records stored."), 1u);
    std::size_t stops = 0;
    for (const MessageBoxRecord& r : m_boxes.Records())
        stops += (r.type & 0xF0u) == MB_ICONSTOP;
    EXPECT_EQ(stops, 1u) << "the third scale's record has nowhere to go";
}

TEST_F(TransferJobsTest, ALateAnswerAndTheAnswerToItsResendStoreEachRecordOnce)
{
    // The scale keeps silent at a request's first arrival and answers its
    // resend twice: the late answer and the resend's, back to back.
    struct Case {
        TransferScope scope;
        std::vector<int> numbers;
    };
    for (const Case& c : { Case { TransferScope::All, {} }, Case { TransferScope::Select, { 1, 2 } } }) {
        SCOPED_TRACE(static_cast<int>(c.scope));
        MessageBoxScript::Reset();
        TempFolder folder;
        m_dbPath = folder.FromTemplate(150, "received.mdb").c_str();
        ScaleMemory memory;
        memory.Put(kPlu, 1, PluPayload(1, "One", 1));
        memory.Put(kPlu, 2, PluPayload(2, "Two", 2));
        auto arrivals = std::make_shared<std::map<Bytes, int>>();
        TcpScale scale;
        ASSERT_TRUE(scale.Start([arrivals, &memory](const TcpPacket& p, std::size_t) {
            if (p.command != 0x0004 && p.command != 0x0006)
                return memory.Answer(p);
            const int arrival = ++(*arrivals)[p.payload];
            TcpReply reply = arrival == 1 ? TcpReply::Silence() : memory.Answer(p);
            if (arrival == 2) {
                const TcpReply again = memory.Answer(p);
                reply.writes.insert(reply.writes.end(), again.writes.begin(), again.writes.end());
            }
            return reply;
        }));
        ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, c.scope, { &scale }, c.numbers));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Rows("SELECT [item_name] FROM [Item] ORDER BY [item_num]"),
            (std::vector<std::string> { "One", "Two" }));
        EXPECT_EQ(Texts(),
            std::vector<CString> {
                "Trans Complete, " + StoredText(2) + "; 1 copy the scale sent again was not stored." });
        EXPECT_EQ(m_host.progress, "2") << "the count shown";
        if (c.scope == TransferScope::All) {
            ASSERT_TRUE(
                PumpUntil([&] { return scale.Received().size() >= 6; }, std::chrono::milliseconds(2000)));
            EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 6, 6, 0x0101, 0x0101, 0x0101, 0x0101 }))
                << "each record the scale sent, its copy too, and the end acknowledged";
        }
    }
}

TEST_F(TransferJobsTest, DefaultValuesReadTheAdministratorsItemOfAnyManagerAndElseTheGrid)
{
    CGeneralDaoHelper db;
    db.OpenDatabase(m_dbPath);
    db.Execute("INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Lee''s', "
               "'777', 'lee')");
    db.CloseDatabase();
    m_host.itemDbPath = m_dbPath;
    m_host.defaultValues = 1;
    m_host.SetRows({ ItemRow(7, "Grid", 1) });
    struct Case {
        const char* user;
        const char* name;
        std::uint32_t price;
    };
    for (const Case& c : { Case { "vexo", "Lee's", 777 }, Case { "kim", "Grid", 1 } }) {
        SCOPED_TRACE(c.user);
        m_host.userId = c.user;
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        m_host.selection = {};
        m_host.selection.firstRow = 1;
        m_host.selection.lastRow = 1;
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        PluRecord record;
        ASSERT_EQ(memory.Table(kPlu).count(7), 1u);
        ASSERT_TRUE(PluRecord::Decode(std::span(memory.Table(kPlu).at(7)).subspan(2), record));
        EXPECT_EQ(record.itemName, c.name);
        EXPECT_EQ(record.unitPrice, c.price);
    }
}

TEST_F(TransferJobsTest, ARefusalDuringAnotherScalesBoxIsServedAtOnce)
{
    TransferTimings patient = kFast;
    patient.replyMs = 1000; // no time-out before the refusal is held
    m_host.jobs->SetTimings(patient);
    std::mutex lock;
    std::condition_variable changed;
    bool boxOpen = false;
    ScaleMemory refusing;
    ScaleMemory busy;
    TcpScale first;
    TcpScale second;
    // The first scale's refusal opens a box. Only then the second scale
    // answers its clear with a refusal the program does not know: its reply
    // timer sends the clear again while the box is still open. The first
    // scale's own job sends nothing while its box is open.
    ASSERT_TRUE(first.Start([&](const TcpPacket& p, std::size_t index) {
        if (index == 0)
            second.WaitForPackets(1, 2000);
        return index == 0 ? TcpReply::Nak(0x2025) : refusing.Answer(p);
    }));
    ASSERT_TRUE(second.Start([&](const TcpPacket& p, std::size_t index) {
        if (index != 0)
            return busy.Answer(p);
        std::unique_lock<std::mutex> guard(lock);
        changed.wait_for(guard, std::chrono::seconds(3), [&] { return boxOpen; });
        return TcpReply::Nak(0x1234);
    }));
    m_host.SetRows({ ItemRow(1, "A", 1) });
    std::size_t firstDuringBox = 0;
    MessageBoxScript::PushAnswerWhen(IDOK, [&] {
        {
            std::lock_guard<std::mutex> guard(lock);
            boxOpen = true;
        }
        changed.notify_all();
        firstDuringBox = std::max(firstDuringBox, first.Received().size());
        return second.Received().size() >= 2;
    });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &first, &second }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(MessageBoxScript::TimedOutCount(), 0u);
    EXPECT_EQ(Count("SCALE memory full"), 1u);
    EXPECT_EQ(Count(CString(second.Address()) + ": Trans Complete"), 1u);
    EXPECT_EQ(Count(Sent(first, "Trans Failed (SCALE memory full)", 0, 1)), 1u);
    EXPECT_EQ(Commands(second), (std::vector<std::uint16_t> { 0x0002, 0x0002, 0x0003, 0x4120 }));
    EXPECT_EQ(firstDuringBox, 1u) << "the reset goes when the box has closed";
}

std::size_t OpenFiles()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

TEST_F(TransferJobsTest, AScaleThatHangsUpMidJobEndsItAndEveryJobGivesBackItsConnection)
{
    // The clear acknowledged, then the scale hangs up: the job ends at once;
    // the connection was made, so this is no connection failure.
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start([&](const TcpPacket& p, std::size_t) {
        TcpReply reply = memory.Answer(p);
        reply.close = p.command == 0x0002;
        return reply;
    }));
    ScaleMemory other;
    TcpScale normal;
    ASSERT_TRUE(normal.Start(other.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1) });
    const std::size_t before = OpenFiles();
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    // A record that reaches the closed socket unread turns its close into a reset.
    const std::vector<CString> closed { Sent(scale, "Connection closed by the scale", 0, 1) };
    const std::vector<CString> reset { Sent(scale, "Connection reset by the scale", 0, 1) };
    EXPECT_TRUE(Texts() == closed || Texts() == reset) << Texts().size() << " texts";
    EXPECT_EQ(memory.Clears(kPlu), 1);
    EXPECT_TRUE(memory.Table(kPlu).empty());

    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &normal }));
        ASSERT_TRUE(WaitForEnd());
    }
    EXPECT_EQ(other.TaskResets(), 3);
    EXPECT_TRUE(PumpUntil([&] { return OpenFiles() <= before; }))
        << OpenFiles() << " files, " << before << " before";
}

TEST_F(TransferJobsTest, AConnectionThatFailsLeavesNoTimerRunning)
{
    scalesim::OffScale gone;
    ASSERT_TRUE(gone.Start());
    const std::string address = gone.Address();
    TransferOrder order;
    order.command = TransferCommand::Trans;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    order.languageIndex = 3;
    order.scales = { ScaleAt(CString(address)) };
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Texts(), std::vector<CString> { CString(address) + ": Connection Failed" });
    PumpFor(std::chrono::milliseconds(2 * kFast.replyMs));
    EXPECT_TRUE(m_host.timerIds.empty());
    EXPECT_EQ(m_host.activeChanges, (std::vector<int> { 1, 0 }));
}

TEST_F(TransferJobsTest, JobsStillConnectingEndWithTheirScreen)
{
    std::vector<std::unique_ptr<ScaleMemory>> memories;
    std::vector<std::unique_ptr<TcpScale>> scales;
    std::vector<const TcpScale*> targets;
    for (int i = 0; i < 4; ++i) {
        memories.push_back(std::make_unique<ScaleMemory>());
        scales.push_back(std::make_unique<TcpScale>());
        ASSERT_TRUE(scales.back()->Start(memories.back()->Script()));
        targets.push_back(scales.back().get());
    }
    m_host.SetRows({ ItemRow(1, "A", 1) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, targets));
    m_host.jobs.reset(); // at once: the threads may not have connected yet
    m_host.jobs = std::make_unique<CTransferJobs>(m_host, kFast);
    for (const auto& scale : scales)
        EXPECT_TRUE(scale->Received().empty());
    EXPECT_TRUE(Texts().empty());
}

TEST_F(TransferJobsTest, JobsStillWaitingEndWithTheirScreen)
{
    ScaleMemory quiet(ScaleMemory::Mode::Silent);
    TcpScale silent;
    TcpScale mute;
    ASSERT_TRUE(silent.Start(quiet.Script()));
    ASSERT_TRUE(mute.Start(scalesim::AckEverything, TcpScale::Greeting::None));
    m_host.SetRows({ ItemRow(1, "A", 1) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &silent, &mute }));
    ASSERT_TRUE(PumpUntil([&] { return silent.Received().size() == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return mute.Connections() == 1; }));
    // The work screen's timer 200 is the first job's: the clear goes again.
    EXPECT_TRUE(m_host.jobs->OnTimer(200));
    ASSERT_TRUE(PumpUntil([&] { return silent.Received().size() == 2; }));
    EXPECT_EQ(Commands(silent), (std::vector<std::uint16_t> { 0x0002, 0x0002 }));
    m_host.jobs.reset(); // waits for both socket threads
    m_host.jobs = std::make_unique<CTransferJobs>(m_host, kFast);
    PumpFor(std::chrono::milliseconds(2 * kFast.replyMs));
    EXPECT_EQ(silent.Received().size(), 2u) << "no resend after the end";
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(m_host.jobs->JobCount(), 0u);
}

} // namespace
