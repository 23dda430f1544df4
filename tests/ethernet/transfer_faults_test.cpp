#include <gtest/gtest.h>

#include <thread>

#include "platform/base/datetime.h"
#include "tests/ethernet/transfer_jobs_fixture.h"

// TCP transfer jobs meeting scales that refuse, stay silent, answer in pieces
// or out of turn, several scales at once, message boxes left open, and the
// sales totals.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

// Answers the packet at index `at` with `special`, every other one as memory.
scalesim::TcpScript AnswerOnce(ScaleMemory& memory, std::size_t at, TcpReply special)
{
    return [&memory, at, special](
               const TcpPacket& p, std::size_t index) { return index == at ? special : memory.Answer(p); };
}

Bytes TotalPayload(
    std::uint8_t table, std::uint32_t num, std::uint16_t prints, std::uint32_t price, std::uint32_t weight)
{
    Bytes p { table, 1 };
    auto u16 = [&](std::uint16_t v) {
        p.push_back(static_cast<std::uint8_t>(v));
        p.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    };
    u32(num);
    u16(prints);
    u16(2024);
    p.push_back(5);
    p.push_back(17);
    u16(0);
    u32(price);
    u32(weight);
    if (table == '=') {
        for (std::uint16_t v : { 11, 12, 13, 14 })
            u16(v);
    }
    return p;
}

TEST_F(TransferJobsTest, RefusalsEndTheJobWithTheirTextAndAReset)
{
    struct Case {
        const char* name;
        ScaleMemory::Mode mode;
        std::uint16_t code;
        const char* text;
        int boxes;
        std::vector<std::uint16_t> packets;
    };
    const Case cases[] = {
        // The clear refused; the reset accepted, and the job told as failed.
        { "memory full", ScaleMemory::Mode::Normal, 0x2025, "SCALE memory full", 1, { 0x0002, 0x4120 } },
        { "length", ScaleMemory::Mode::Normal, 0x2023, "SCALE DATA LENGTH MISS", 1, { 0x0002, 0x4120 } },
        // Every packet refused, the reset too: the job ends, no loop.
        { "all refused", ScaleMemory::Mode::Nak, 0x2027, "SCALE PROCESS ERROR", 2, { 0x0002, 0x4120 } },
    };
    m_host.SetRows({ ItemRow(1, "A", 1) });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        ScaleMemory memory(c.mode, c.code);
        TcpScale scale;
        ASSERT_TRUE(
            scale.Start(c.mode == ScaleMemory::Mode::Nak ? memory.Script()
                                                         : AnswerOnce(memory, 0, TcpReply::Nak(c.code))));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        std::vector<CString> boxes(static_cast<std::size_t>(c.boxes), c.text);
        boxes.push_back(Sent(scale, CString("Trans Failed (") + c.text + ")", 0, 1));
        EXPECT_EQ(Texts(), boxes);
        EXPECT_EQ(Commands(scale), c.packets);
    }
}

TEST_F(TransferJobsTest, WaitsWithoutAnAnswerEndAfterThreeResends)
{
    struct Case {
        const char* name;
        TcpScale::Greeting greeting;
        scalesim::TcpScript script;
        TransferCommand direction;
        std::vector<std::uint16_t> packets;
    };
    ScaleMemory memory;
    // A data record before the request is acknowledged is not acted on.
    auto dataFirst = [](const TcpPacket& p, std::size_t) {
        return p.command == 0x0006 ? TcpReply::Data(PluPayload(1, "early", 1)) : TcpReply::Silence();
    };
    // A refusal the program does not know: the request goes out again.
    auto unknownNak = [](const TcpPacket&, std::size_t) { return TcpReply::Nak(0x1234); };
    // The request acknowledged, then no record and no end.
    auto ackOnly = [](const TcpPacket& p, std::size_t) {
        return p.command == 0x0006 ? TcpReply::Ack() : TcpReply::Silence();
    };
    const Case cases[] = {
        { "never greets", TcpScale::Greeting::None, scalesim::AckEverything, TransferCommand::Recv, {} },
        { "data first", TcpScale::Greeting::Welcome, dataFirst, TransferCommand::Recv, { 6, 6, 6, 6 } },
        { "unknown refusal", TcpScale::Greeting::Welcome, unknownNak, TransferCommand::Recv, { 6, 6, 6, 6 } },
        { "no records", TcpScale::Greeting::Welcome, ackOnly, TransferCommand::Recv, { 6, 6, 6, 6 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        TcpScale scale;
        ASSERT_TRUE(scale.Start(c.script, c.greeting));
        ASSERT_TRUE(Start(c.direction, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Texts(), (std::vector<CString> { "3 times out", Stored(scale, "No answer", 0) }));
        EXPECT_EQ(Commands(scale), c.packets);
        EXPECT_TRUE(Rows("SELECT [item_num] FROM [Item]").empty());
    }
}

TEST_F(TransferJobsTest, SplitAndMergedAnswersAreTakenPacketByPacket)
{
    // A reply timer far longer than the held half's way on a busy machine.
    TransferTimings patient = kFast;
    patient.replyMs = 3000;
    m_host.jobs->SetTimings(patient);
    ScaleMemory memory;
    TcpScale split;
    const Bytes ack = TcpReply::Packet(0x0101);
    ASSERT_TRUE(split.Start(AnswerOnce(memory, 0, TcpReply::Split(ack, 1))));
    m_host.SetRows({ ItemRow(7, "Seven", 7) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &split }));
    ASSERT_TRUE(PumpUntil([&] { return split.Received().size() == 1; }));
    split.Release(); // the rest of the acknowledgement
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Commands(split), (std::vector<std::uint16_t> { 0x0002, 0x0003, 0x4120 }));

    // Acknowledgement and two records in one write, the end after two ACKs.
    TcpScale merged;
    auto script = [](const TcpPacket& p, std::size_t index) {
        if (p.command == 0x0006)
            return TcpReply::Merged({ TcpReply::Packet(0x0101), TcpReply::Packet(5, PluPayload(5, "Five", 5)),
                TcpReply::Packet(5, PluPayload(6, "Six", 6)) });
        return index == 2 ? TcpReply::EndOfData() : TcpReply::Silence();
    };
    ASSERT_TRUE(merged.Start(script));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &merged }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows("SELECT [item_num], [item_name] FROM [Item] ORDER BY [item_num]"),
        (std::vector<std::string> { "5|Five", "6|Six" }));
    EXPECT_TRUE(merged.WaitForPackets(4, 2000)); // the last acknowledgement may still travel
    EXPECT_EQ(Commands(merged), (std::vector<std::uint16_t> { 0x0006, 0x0101, 0x0101, 0x0101 }));
    EXPECT_EQ(CountEndings("Trans Complete"), 2u);
    EXPECT_EQ(Count("3 times out"), 0u);
}

// The NULs that pad the greeting may come in the next read, with the first
// answer: they are padding there too, and the answer stays an ACK.
TEST_F(TransferJobsTest, GreetingPaddingInTheNextReadIsNoPacket)
{
    m_host.SetRows({ ItemRow(1, "A", 1) });
    for (const Bytes& padding : { Bytes { 0 }, Bytes { 0, 0, 0 } }) {
        SCOPED_TRACE(padding.size());
        MessageBoxScript::Reset();
        ScaleMemory memory;
        Bytes answer = padding;
        const Bytes ack = TcpReply::Packet(0x0101);
        answer.insert(answer.end(), ack.begin(), ack.end());
        TcpScale scale;
        ASSERT_TRUE(scale.Start(AnswerOnce(memory, 0, TcpReply { { answer } })));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
        EXPECT_EQ(memory.Table(kPlu).size(), 1u);
        EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0002, 0x0003, 0x4120 }));
    }
}

TEST_F(TransferJobsTest, ScalesAtOnceKeepTheirOwnTimers)
{
    ScaleMemory quiet(ScaleMemory::Mode::Silent);
    ScaleMemory busy;
    TcpScale silent;
    TcpScale normal;
    ASSERT_TRUE(silent.Start(quiet.Script()));
    ASSERT_TRUE(normal.Start(busy.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &silent, &normal }));
    EXPECT_EQ(m_host.jobs->InSlot(0)->GetToken() != m_host.jobs->InSlot(1)->GetToken(), true);
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(CountEndings("3 times out"), 1u);
    EXPECT_EQ(Count(CString(normal.Address()) + ": Trans Complete"), 1u);
    EXPECT_EQ(silent.Received().size(), 4u);
    EXPECT_EQ(busy.Table(kPlu).size(), 2u);
    EXPECT_GE(std::count(m_host.timerIds.begin(), m_host.timerIds.end(), 200u), 4);
    for (UINT id : m_host.timerIds)
        EXPECT_TRUE(id == 200 || id == 201) << id;
    EXPECT_EQ(m_host.activeChanges, (std::vector<int> { 1, 0 }));

    // Twenty scales, thirty items each.
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= 30; ++i)
        rows.push_back(ItemRow(i, "Item", i));
    m_host.SetRows(rows);
    std::vector<std::unique_ptr<ScaleMemory>> memories;
    std::vector<std::unique_ptr<TcpScale>> scales;
    std::vector<const TcpScale*> targets;
    for (int i = 0; i < 20; ++i) {
        memories.push_back(std::make_unique<ScaleMemory>());
        scales.push_back(std::make_unique<TcpScale>());
        ASSERT_TRUE(scales.back()->Start(memories.back()->Script()));
        targets.push_back(scales.back().get());
    }
    MessageBoxScript::Reset();
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, targets));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(CountEndings("Trans Complete"), 20u);
    for (const auto& memory : memories)
        EXPECT_EQ(memory->Table(kPlu).size(), 30u);
    scales.clear();
}

// One scale's box holds no other scale: the box of a scale that is off stays
// open until every other scale's send has ended, each with every record and
// its own ending once.
TEST_F(TransferJobsTest, AnOpenBoxOfOneScaleHoldsNoOtherScale)
{
    constexpr std::size_t kScales = 8;
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= 12; ++i)
        rows.push_back(ItemRow(i, "Item", i));
    m_host.SetRows(rows);
    scalesim::OffScale off;
    ASSERT_TRUE(off.Start());
    TransferOrder order;
    order.scales.push_back(ScaleAt(CString(off.Address())));
    std::vector<std::unique_ptr<ScaleMemory>> memories;
    std::vector<std::unique_ptr<TcpScale>> scales;
    for (std::size_t i = 0; i < kScales; ++i) {
        memories.push_back(std::make_unique<ScaleMemory>());
        scales.push_back(std::make_unique<TcpScale>());
        ASSERT_TRUE(scales.back()->Start(memories.back()->Script()));
        order.scales.push_back(ScaleAt(CString(scales.back()->Address())));
    }
    CTransferJobs& jobs = *m_host.jobs;
    // The first box stays open until no other job runs.
    MessageBoxScript::PushAnswerWhen(
        IDOK, [&] { return jobs.ActiveCount() == 0; }, static_cast<DWORD>(20000 * TestTimeScale()));
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd(std::chrono::milliseconds(30000)));

    EXPECT_EQ(MessageBoxScript::TimedOutCount(), 0u);
    EXPECT_EQ(CountEndings("Connection Failed"), 1u);
    EXPECT_EQ(CountEndings("Trans Complete"), kScales);
    for (const auto& memory : memories)
        EXPECT_EQ(memory->Table(kPlu).size(), 12u);
    scales.clear();
}

// Two equal sales lines are two sales: the scale sends the second one past the
// reply time, the acknowledgement before it goes again, and the scale answers
// that with the next line. Each of the 12 lines is stored, none taken for a copy.
TEST_F(TransferJobsTest, EqualSalesLinesAfterAResendAreEachStored)
{
    TransferTimings timings = kFast;
    timings.replyMs = 250u * static_cast<UINT>(TestTimeScale());
    m_host.jobs->SetTimings(timings);
    std::vector<Bytes> lines;
    for (std::uint32_t n = 41; n <= 52; ++n)
        lines.push_back(TotalPayload('>', n == 46 ? 45 : n, 1, 100 * (n == 46 ? 45 : n), 10));
    std::size_t next = 0;
    TcpScale scale;
    ASSERT_TRUE(scale.Start([&](const TcpPacket& p, std::size_t) {
        TcpReply reply = p.command == 0x0006 ? TcpReply::Ack() : TcpReply::Silence();
        if (p.command != 0x0006 && p.command != 0x0101)
            return TcpReply::Nak(0x2027);
        if (next == 5) // the sixth line, equal to the fifth, comes late
            std::this_thread::sleep_for(std::chrono::milliseconds(timings.replyMs * 3 / 2));
        if (next <= lines.size())
            reply.writes.push_back(
                next < lines.size() ? TcpReply::Packet(0x0005, lines[next]) : TcpReply::Packet(0x0600));
        ++next;
        return reply;
    }));
    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::ResultItemAll, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    std::vector<std::string> stored = Rows("SELECT [num] FROM [TotalItemResult] ORDER BY [ID]");
    EXPECT_EQ(stored.size(), 12u);
    EXPECT_EQ(std::count(stored.begin(), stored.end(), "45"), 2);
    EXPECT_EQ(Texts(), std::vector<CString> { Received(12) });
}

TEST_F(TransferJobsTest, ConnectionFailuresAndTheStopFlagEndJobsAtOnce)
{
    scalesim::OffScale gone;
    ASSERT_TRUE(gone.Start());
    const std::string address = gone.Address();
    TransferOrder order;
    order.command = TransferCommand::Recv;
    order.kind = DataKind::ResultDay;
    order.scope = TransferScope::All;
    order.scales = { ScaleAt(CString(address), {}, m_dbPath) };
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Texts(), std::vector<CString> { CString(address) + ": Connection Failed" });
    EXPECT_EQ(m_host.resultStepsDone, 1);

    MessageBoxScript::Reset();
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2) });
    m_host.ethernetStop = 1; // pressed while the job connects
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Texts(), std::vector<CString> { Sent(scale, "Trans Stopped", 0, 2) });
    EXPECT_EQ(Commands(scale), std::vector<std::uint16_t> { 0x0002 });
}

TEST_F(TransferJobsTest, ScaleSettingsSendTheClickedRowAndUnservedPairsAreRefused)
{
    // Scale settings: the current row, then the scale's restart.
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ { "List", "5", "6" }, { "List", "7", "8", "3" } });
    m_host.currentRow = 2;
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    const auto packets = scale.Received();
    ASSERT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0003, 0x4130 }));
    ASSERT_EQ(packets[0].payload.size(), kScaleInfoRecordSize);
    EXPECT_EQ(packets[0].payload[0], 0x1F);
    EXPECT_EQ(packets[0].payload[10], 7); // WeightNum of row 2
    EXPECT_EQ(packets[0].payload[14], 3); // WeightUnit
    EXPECT_EQ(memory.ScaleResets(), 1);

    struct Refused {
        TransferCommand direction;
        DataKind kind;
        TransferScope selection;
    };
    for (const Refused& r : { Refused { TransferCommand::Trans, DataKind::Preset, TransferScope::Select },
             Refused { TransferCommand::Recv, DataKind::UserLabel, TransferScope::Select },
             Refused { TransferCommand::Recv, DataKind::ScaleInfo, TransferScope::All },
             Refused { TransferCommand::Trans, DataKind::ResultAll, TransferScope::All },
             Refused { TransferCommand::BroadTrans, DataKind::Item, TransferScope::All } }) {
        SCOPED_TRACE(std::string(Word(r.direction)) + " " + Word(r.kind) + " " + Word(r.selection));
        MessageBoxScript::Reset();
        EXPECT_FALSE(Start(r.direction, r.kind, r.selection, { &scale }));
        EXPECT_EQ(Texts(), std::vector<CString> { "This data cannot be transferred this way." });
        EXPECT_EQ(m_host.jobs->JobCount(), 0u);
    }
    EXPECT_EQ(scale.Connections(), 1u);
}

TEST_F(TransferJobsTest, TimerIdsAndTokensOfNoRunningJobAreIgnored)
{
    CTransferJobs& jobs = *m_host.jobs;
    EXPECT_FALSE(jobs.OnTimer(150));
    EXPECT_FALSE(jobs.OnTimer(600));
    EXPECT_TRUE(jobs.OnTimer(250));
    EXPECT_TRUE(jobs.OnTimer(599));
    jobs.OnSocketData(12345);
    EXPECT_TRUE(Texts().empty());

    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    const UINT_PTR token = jobs.InSlot(0)->GetToken();
    ASSERT_TRUE(WaitForEnd());
    const std::size_t sent = scale.Received().size();
    jobs.OnTimer(200); // the ended job's timer
    jobs.OnSocketData(token);
    EXPECT_EQ(scale.Received().size(), sent);
    EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });

    // The next start takes fresh tokens.
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    EXPECT_GT(jobs.InSlot(0)->GetToken(), token);
    ASSERT_TRUE(WaitForEnd());
}

} // namespace

namespace {

using namespace transfertest;

TEST_F(TransferJobsTest, WholeSendsStopAtTheTablesCapsAndTextRowsGoAsTextRecords)
{
    struct Case {
        DataKind kind;
        std::uint8_t table;
        int rows;
        std::size_t sent;
    };
    for (const Case& c : { Case { DataKind::Add, 1, 601, 600 }, Case { DataKind::LandAddition, 5, 301, 300 },
             Case { DataKind::Adv, 2, 211, 210 } }) {
        SCOPED_TRACE(Word(c.kind));
        std::vector<std::vector<CString>> rows;
        for (int i = 1; i <= c.rows; ++i)
            rows.push_back({ "List", CString::Formatted("%d", i), "first", "NULL", "third" });
        m_host.SetRows(rows);
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Trans, c.kind, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd(std::chrono::milliseconds(20000)));
        const auto table = memory.Table(c.table);
        ASSERT_EQ(table.size(), c.sent);
        // number, then the non-empty cells joined by CR LF
        const Bytes& last = table.at(static_cast<std::uint32_t>(c.sent));
        const std::string text(last.begin() + 8, last.end());
        EXPECT_EQ(text, c.table == 1 ? "first\r\nthird" : "first"); // AdvT and Land_Add stop before column 4
    }
}

TEST_F(TransferJobsTest, DefaultValuesSendTheStoredItemRowAndKoreanJobsSpeakKorean)
{
    CGeneralDaoHelper db;
    db.OpenDatabase(m_dbPath);
    db.Execute(
        "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Stored', '777', "
        "'kim')");
    m_host.itemDbPath = m_dbPath;
    m_host.SetRows({ ItemRow(7, "Grid", 1) });
    // Without the default values the grid's row goes.
    for (const int defaults : { 1, 0 }) {
        SCOPED_TRACE(defaults);
        m_host.defaultValues = defaults;
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        PluRecord record;
        ASSERT_TRUE(PluRecord::Decode(std::span(memory.Table(kPlu).at(7)).subspan(2), record));
        EXPECT_EQ(record.itemName, defaults ? "Stored" : "Grid");
        EXPECT_EQ(record.unitPrice, defaults ? 777u : 1u);
    }

    scalesim::OffScale gone;
    ASSERT_TRUE(gone.Start());
    const std::string address = gone.Address();
    TransferOrder order;
    order.command = TransferCommand::Trans;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    order.languageIndex = 1;
    order.scales = { ScaleAt(CString(address)) };
    MessageBoxScript::Reset();
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Texts(), std::vector<CString> { CString(address) + ": 접속실패" });
    EXPECT_EQ(m_host.resultStepsDone, 0);
}

} // namespace
