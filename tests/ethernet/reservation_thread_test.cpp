// The reservation thread against a simulated scale, with the clock set by the
// test: when it runs, what the scale receives, the report line, the status it
// leaves in the reservation database and the boxes the user sees.

#include <atomic>
#include <memory>

#include "ethernet/reservation_host.h"
#include "ethernet/reservation_thread.h"
#include "platform/wnd/core/wnd.h"
#include "tests/ethernet/reservation_fixture.h"
#include "tests/support/scale_memory.h"
#include "tests/support/scale_sim.h"

namespace {

using scalesim::TcpPacket;
using scalesim::TcpReply;
using scalesim::TcpScale;

// A work screen stand-in: routes message 1624 by job token and the reply
// timers by id, and records what the threads ask of it.
class ReservationHostWindow : public CWnd, public CReservationHost {
public:
    ReservationHostWindow() { CreateEx(0, nullptr, "reservation host", WS_POPUP, 0, 0, 10, 10, nullptr, 0); }
    ~ReservationHostWindow() override
    {
        for (auto& thread : m_threads) {
            thread->Cancel();
            WaitForSingleObject(thread->m_hThread, INFINITE);
        }
        m_threads.clear();
        DestroyWindow();
    }

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&ReservationHostWindow::OnSocketData>(WM_RESV_SOCKET_DATA),
                OnWm<WM_TIMER, &ReservationHostWindow::OnTimer>(),
            });
        return &kMap;
    }

    CReservationTransThread* Start(const ReservationRow& row, UINT port = kScaleTcpPort)
    {
        auto* thread = AfxBeginThread<CReservationTransThread>(THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
        thread->SetOwnerView(this);
        thread->SetReservation(row);
        thread->SetTimerId(kReservationTimerBase + m_threads.size() + 3);
        thread->SetPort(port);
        m_threads.emplace_back(thread);
        thread->ResumeThread();
        return thread;
    }

    // CReservationHost
    HWND GetReservationWindow() const override { return GetSafeHwnd(); }
    int GetTransferActive() const override { return m_transferActive; }
    CString GetLoggedInManagerId() const override { return m_manager; }
    void FlashReservationLamp() override { ++m_flashes; }
    void CancelReservationThreads(long) override { }

    std::atomic<int> m_transferActive { 0 };
    CString m_manager = "kim";
    int m_flashes = 0;
    std::vector<UINT_PTR> m_timers; // every reply timer that fired

private:
    LRESULT OnSocketData(WPARAM token, LPARAM)
    {
        for (auto& thread : m_threads)
            if (thread->GetJobToken() == token)
                thread->OnSocketData();
        return 1;
    }
    void OnTimer(UINT_PTR id)
    {
        m_timers.push_back(id);
        for (auto& thread : m_threads)
            if (thread->GetTimerId() == id)
                thread->OnReplyTimeout();
    }

    std::vector<std::unique_ptr<CReservationTransThread>> m_threads;
};

const std::vector<std::vector<CString>> kTwoItems {
    { "5", "Apple", "0", "1200", "300", "3", "20", "123", "1", "7", "2", "0", "1", "3", "4" },
    { "6", "Kim's pear", "Pear", "900", "0", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0" },
};

class ReservationThreadTest : public ReservationFixture {
protected:
    ReservationThreadTest()
    {
        std::filesystem::create_directories(m_root.Native(kReservationReportFolder));
        CReservationTransThread::SetReplyTimeout(60000); // fired by hand where a test needs it
        CReservationTransThread::SetConnectTimeout(2000);
        SetTime(CTime(2007, 3, 5, 9, 6, 30));
    }
    ~ReservationThreadTest() override
    {
        m_host.reset();
        CReservationTransThread::SetReplyTimeout(3000);
        CReservationTransThread::SetConnectTimeout(3000);
    }

    static void SetTime(const CTime& time)
    {
        SetClock(time);
        CReservationTransThread::NotifyClockChanged();
    }

    std::vector<std::string> ReportLines() const
    {
        return TempDataRoot::ReadCrLfLines(m_root.Native(kReservationReportPath));
    }
    bool WaitForReports(std::size_t count)
    {
        return PumpUntil([&] { return ReportLines().size() >= count; });
    }
    // The report texts, as written (right-aligned in 14).
    std::vector<std::string> Reports() const
    {
        std::vector<std::string> reports;
        for (const std::string& line : ReportLines())
            reports.push_back(line.substr(line.rfind("Report = ") + 9));
        return reports;
    }
    std::vector<std::string> Statuses()
    {
        return Rows(kReservationDatabase,
            "SELECT [reservation_num], [ip], [reservation_status] FROM [Reservation_Table] ORDER BY [ID]");
    }
    // A box of the reservation number to the address.
    static CString Named(long number, const std::string& address, const CString& text)
    {
        return CString::Formatted("Reservation %ld to %s: ", number, address.c_str()) + text;
    }
    std::vector<CString> Boxes() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& record : m_boxes.Records())
            texts.push_back(record.text);
        return texts;
    }
    // A reservation of this test's scale, stored and started.
    CReservationTransThread* Run(const ReservationRow& row, const std::vector<std::vector<CString>>& items)
    {
        StoreReservation(row, items);
        return m_host->Start(row);
    }

    std::unique_ptr<ReservationHostWindow> m_host = std::make_unique<ReservationHostWindow>();
};

std::string Text(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(&bytes[at]), size);
}

unsigned U16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

unsigned U32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

TEST_F(ReservationThreadTest, AtItsMinuteTheCopiesGoOutThenTheResetAndTheReport)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start([](const TcpPacket& p, std::size_t) {
        return p.command == 0x4120 ? TcpReply::Silence() : TcpReply::Ack();
    }));
    const ReservationRow row = MakeRow(4, 0, "kim", scale.Address().c_str());
    StoreReservation(MakeRow(4, 0, "kim", "10.9.9.9")); // the same reservation for another scale
    CReservationTransThread* thread = Run(row, kTwoItems);
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(scale.Connections(), 0u); // 09:06 is not its minute
    EXPECT_EQ(thread->GetRunCount(), 0);

    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= 3; }));
    // While the scale holds the last answer, this scale's row is being sent.
    ASSERT_TRUE(PumpUntil([&] { return thread->GetStep() == TransferStep::TaskReset; }));
    EXPECT_EQ(
        Statuses(), (std::vector<std::string> { "4|10.9.9.9|wait", "4|" + scale.Address() + "|Trans" }));
    EXPECT_TRUE(ReportLines().empty());
    ASSERT_TRUE(scale.SendNow(TcpReply::Packet(0x0101)));
    ASSERT_TRUE(WaitForReports(1));

    const std::vector<TcpPacket> packets = scale.Received();
    ASSERT_EQ(packets.size(), 3u);
    const std::vector<std::uint8_t>& first = packets[0].payload;
    EXPECT_EQ(packets[0].command, 0x0003);
    ASSERT_EQ(first.size(), 114u);
    EXPECT_EQ(first[0], 0); // PLU table
    EXPECT_EQ(first[1], 1);
    EXPECT_EQ(U32(first, 2 + 0), 5u); // item_num
    EXPECT_EQ(U16(first, 2 + 4), 3u); // land
    EXPECT_EQ(U16(first, 2 + 6), 4u); // additem
    EXPECT_EQ(U32(first, 2 + 8), 300u); // fix_price
    EXPECT_EQ(U16(first, 2 + 12), 1u); // piece
    EXPECT_EQ(U32(first, 2 + 14), 1200u); // unitprice
    EXPECT_EQ(U16(first, 2 + 22), 7u); // weight
    EXPECT_EQ(U16(first, 2 + 24), 2u); // fmark
    EXPECT_EQ(U16(first, 2 + 28), 20u); // pos_flg
    EXPECT_EQ(U16(first, 2 + 44), 1u); // dateprint
    EXPECT_EQ(U16(first, 2 + 46), 3u); // limit_day
    EXPECT_EQ(Text(first, 2 + 50, 6), std::string("Apple", 6));
    EXPECT_EQ(first[2 + 80], 0); // a stored "0" name is sent empty
    const std::vector<std::uint8_t>& second = packets[1].payload;
    EXPECT_EQ(U32(second, 2 + 0), 6u);
    EXPECT_EQ(U16(second, 2 + 26), 1u); // pos_kind
    EXPECT_EQ(Text(second, 2 + 50, 11), std::string("Kim's pear", 11));
    EXPECT_EQ(Text(second, 2 + 80, 5), std::string("Pear", 5));
    EXPECT_EQ(packets[2].command, 0x4120);
    EXPECT_TRUE(packets[2].payload.empty());
    EXPECT_EQ(m_host->m_flashes, 3);

    EXPECT_EQ(ReportLines(),
        (std::vector<std::string> {
            CString::Formatted("Mangaer = %10s||Time = %12s||IP = %15s||Communication = Trans||Report = %14s",
                "kim", "20073597", scale.Address().c_str(), "OK, 2 of 2 records sent")
                .Str() }));
    EXPECT_EQ(
        Statuses(), (std::vector<std::string> { "4|10.9.9.9|wait", "4|" + scale.Address() + "|Trans Stop" }));
    EXPECT_EQ(Boxes(), (std::vector<CString> { Named(4, scale.Address(), "Trans Complete") }));
    EXPECT_EQ(thread->GetStep(), TransferStep::Close);
    // A once-reservation's thread ends after its run; nothing is resent.
    ASSERT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
    EXPECT_EQ(thread->GetRunCount(), 1);
    // Only the wait for answers still on their way after the reset's.
    EXPECT_EQ(m_host->m_timers.size(), 1u);
    EXPECT_EQ(scale.Connections(), 1u);
}

struct OutcomeCase {
    const char* name;
    std::function<TcpReply(const TcpPacket&, std::size_t)> script;
    std::vector<std::size_t> timeouts; // the reply timer fires when the scale has this many packets
    std::vector<std::uint16_t> commands; // what the scale receives
    const char* report;
    const char* how; // the ending box; "" for "Trans Complete"
    int acked; // of the two copies
};

TEST_F(ReservationThreadTest, EveryWaitForTheScaleEndsWithAReport)
{
    const std::uint16_t R = 0x0003, T = 0x4120;
    const TcpReply silence = TcpReply::Silence();
    const OutcomeCase cases[] = {
        { "silent", [&](const TcpPacket&, std::size_t) { return silence; }, { 1, 2, 3, 4 }, { R, R, R, R },
            "3 times out", "No answer", 0 },
        { "memory full",
            [](const TcpPacket& p, std::size_t) {
                return p.command == 3 ? TcpReply::Nak(0x2025) : TcpReply::Ack();
            },
            {}, { R, T }, "SCALE memory full", "Trans Failed (SCALE memory full)", 0 },
        { "process error",
            [](const TcpPacket& p, std::size_t) {
                return p.command == 3 ? TcpReply::Nak(0x2027) : TcpReply::Ack();
            },
            {}, { R, T }, "SCALE PROCESS ERROR", "Trans Failed (SCALE PROCESS ERROR)", 0 },
        // A scale that refuses the closing reset too: the run ends there.
        { "everything refused", [](const TcpPacket&, std::size_t) { return TcpReply::Nak(0x2025); }, {},
            { R, T }, "SCALE memory full", "Trans Failed (SCALE memory full)", 0 },
        { "second record refused",
            [](const TcpPacket& p, std::size_t i) {
                return p.command == 3 && i == 1 ? TcpReply::Nak(0x2023) : TcpReply::Ack();
            },
            {}, { R, R, T }, "SCALE DATA LENGTH MISS", "Trans Failed (SCALE DATA LENGTH MISS)", 1 },
        // "No item" and a refusal without a code leave nothing to do: the reply
        // timer guards the wait.
        { "no item", [](const TcpPacket&, std::size_t) { return TcpReply::Nak(0x2028); }, { 1, 2, 3, 4 },
            { R, R, R, R }, "3 times out", "No answer", 0 },
        { "refusal without a code",
            [](const TcpPacket&, std::size_t) { return TcpReply { { TcpReply::Packet(0x0100) } }; },
            { 1, 2, 3, 4 }, { R, R, R, R }, "3 times out", "No answer", 0 },
        { "data instead of an ACK",
            [](const TcpPacket&, std::size_t) {
                return TcpReply { { TcpReply::Packet(0x0005, { 1, 2 }), TcpReply::Packet(0x0600) } };
            },
            { 1, 2, 3, 4 }, { R, R, R, R }, "3 times out", "No answer", 0 },
        // Each answer starts the count again: three silences before each
        // acknowledgement are no failure.
        { "late answers",
            [&](const TcpPacket&, std::size_t i) {
                // A scale that answers late answers every send.
                const TcpReply ack = TcpReply::Ack();
                return i % 4 == 3 ? TcpReply::Merged(std::vector(4, ack.writes.front())) : silence;
            },
            { 1, 2, 3, 5, 6, 7, 9, 10, 11 }, { R, R, R, R, R, R, R, R, T, T, T, T }, "OK", "", 2 },
        { "reset never answered",
            [&](const TcpPacket& p, std::size_t) { return p.command == 3 ? TcpReply::Ack() : silence; },
            { 3, 4, 5, 6 }, { R, R, T, T, T, T }, "3 times out", "No answer", 2 },
    };
    long number = 10;
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        const std::size_t before = ReportLines().size();
        const int flashes = m_host->m_flashes;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(c.script));
        SetTime(CTime(2007, 3, 5, 9, 6, 30));
        CReservationTransThread* thread
            = Run(MakeRow(++number, 0, "kim", scale.Address().c_str()), kTwoItems);
        SetTime(CTime(2007, 3, 5, 9, 7, 1));
        for (const std::size_t count : c.timeouts) {
            ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= count; })) << count;
            EXPECT_TRUE(ReportLines().size() == before);
            thread->OnReplyTimeout();
        }
        ASSERT_TRUE(WaitForReports(before + 1));
        ASSERT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
        const CString count = CString::Formatted("%d of 2 records sent", c.acked);
        EXPECT_EQ(Reports().back(), (CString(c.report) + ", " + count).Str());
        const std::vector<TcpPacket> packets = scale.Received();
        std::vector<std::uint16_t> commands;
        for (const TcpPacket& p : packets)
            commands.push_back(p.command);
        EXPECT_EQ(commands, c.commands);
        EXPECT_EQ(m_host->m_flashes - flashes, static_cast<int>(commands.size()));
        if (std::string(c.report) == "3 times out") {
            // The last packet went out again, unchanged, three times.
            for (std::size_t i = packets.size() - 3; i < packets.size(); ++i)
                EXPECT_EQ(packets[i].payload, packets[packets.size() - 4].payload);
        }
        std::vector<CString> boxes;
        if (std::string(c.report) == "3 times out")
            boxes.push_back(Named(number, scale.Address(), "3 times out"));
        boxes.push_back(Named(number, scale.Address(),
            *c.how == '\0' ? CString("Trans Complete") : CString(c.how) + ", " + count + "."));
        EXPECT_EQ(Boxes(), boxes);
        EXPECT_EQ(Rows(kReservationDatabase,
                      CString::Formatted("SELECT [reservation_status] FROM [Reservation_Table] WHERE "
                                         "[reservation_num] = '%ld'",
                          number)),
            (std::vector<std::string> { "Trans Stop" }));
    }
    // No reply timer ran out by itself: only the waits after the resets' answers.
    EXPECT_LE(m_host->m_timers.size(), std::size(cases));
}

TEST_F(ReservationThreadTest, AScaleThatNeverGreetsTimesOut)
{
    TcpScale scale;
    CReservationTransThread::SetReplyTimeout(20);
    ASSERT_TRUE(scale.Start(scalesim::AckEverything, TcpScale::Greeting::None));
    CReservationTransThread* thread = Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Reports(), (std::vector<std::string> { "3 times out, 0 of 2 records sent" }));
    EXPECT_TRUE(scale.Received().empty());
    // The work screen's timer 600 + slot fired four times.
    EXPECT_EQ(m_host->m_timers, std::vector<UINT_PTR>(4, thread->GetTimerId()));
    EXPECT_EQ(Boxes(),
        (std::vector<CString> { Named(4, scale.Address(), "3 times out"),
            Named(4, scale.Address(), "No answer, 0 of 2 records sent.") }));
    EXPECT_EQ(Statuses(), (std::vector<std::string> { "4|" + scale.Address() + "|Trans Stop" }));
    EXPECT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
}

TEST_F(ReservationThreadTest, APacketBeforeTheGreetingIsNoAnswer)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start(scalesim::AckEverything, TcpScale::Greeting::None));
    Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return scale.Connections() == 1; }));
    ASSERT_TRUE(scale.SendNow(TcpReply::Packet(0x0100, { 0x25, 0x20 }))); // memory full
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_TRUE(scale.Received().empty());
    EXPECT_TRUE(ReportLines().empty());
    ASSERT_TRUE(scale.SendNow({ 'w', 'e', 'l', 'c', 'o', 'm', 'e' }));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Reports(), (std::vector<std::string> { "OK, 2 of 2 records sent" }));
    EXPECT_EQ(scale.Received().size(), 3u);
}

TEST_F(ReservationThreadTest, WithoutCopiesOnlyTheResetGoesAndTheReportCountsNone)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    ReservationRow row = MakeRow(4, 0, "kim", scale.Address().c_str());
    Run(row, {});
    // Another manager's copies of the same number are not this reservation's.
    Execute(kReservationDatabase, { InsertReservationItemSql(kTwoItems[0], "lee", 4, 0, 0) });
    SetTime(CTime(2007, 3, 5, 9, 7, 59));
    ASSERT_TRUE(WaitForReports(1));
    ASSERT_EQ(scale.Received().size(), 1u);
    EXPECT_EQ(scale.Received()[0].command, 0x4120);
    EXPECT_EQ(Reports(), (std::vector<std::string> { "OK, 0 of 0 records sent" }));
    EXPECT_EQ(Boxes(), (std::vector<CString> { Named(4, scale.Address(), "Trans Complete") }));
}

TEST_F(ReservationThreadTest, AReservationOfAnotherKindSendsItsCopiesAsItems)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    ReservationRow row = MakeRow(4, 0, "kim", scale.Address().c_str(), "2007", "3", "5", "9", "7", 2);
    Run(row, kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    // The kind becomes items when the transfer starts: the copies go out.
    EXPECT_EQ(scale.Received().size(), 3u);
    EXPECT_EQ(Reports(), (std::vector<std::string> { "OK, 2 of 2 records sent" }));
}

TEST_F(ReservationThreadTest, TheSameManagersTransferStopsIt)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    m_host->m_transferActive = 1;
    CReservationTransThread* refused = Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    // The box names the reservation and its scale; the report and the list
    // show it did not go.
    EXPECT_EQ(Reports(), (std::vector<std::string> { "Because basic Communication(Stop), not sent" }));
    EXPECT_EQ(Boxes(),
        (std::vector<CString> { Named(4, scale.Address(),
            "Since the manager is proceeding with the communication, the advance transmission is not "
            "available. The reservation was not sent.") }));
    ASSERT_TRUE(PumpUntil([&] { return refused->HasEnded(); }));
    EXPECT_EQ(scale.Connections(), 0u);
    EXPECT_EQ(Statuses(), (std::vector<std::string> { "4|" + scale.Address() + "|Not sent" }));

    // Another manager's transfer does not stop it.
    MessageBoxScript::Reset();
    Run(MakeRow(5, 0, "lee", scale.Address().c_str()), kTwoItems);
    ASSERT_TRUE(WaitForReports(2));
    EXPECT_EQ(Reports()[1], "OK, 2 of 2 records sent");
    EXPECT_EQ(scale.Received().size(), 3u);
    EXPECT_EQ(Boxes(), (std::vector<CString> { Named(5, scale.Address(), "Trans Complete") }));
}

TEST_F(ReservationThreadTest, ATransferStartedMeanwhileStopsItAfterTheNextAnswer)
{
    for (const bool atFirstAnswer : { true, false }) {
        SCOPED_TRACE(atFirstAnswer ? "after the first record" : "after the last record");
        MessageBoxScript::Reset();
        const std::size_t before = ReportLines().size();
        m_host->m_transferActive = 0;
        TcpScale scale;
        const std::size_t holdAt = atFirstAnswer ? 0 : 1;
        ASSERT_TRUE(scale.Start([holdAt](const TcpPacket&, std::size_t i) {
            return i == holdAt ? TcpReply::Silence() : TcpReply::Ack();
        }));
        SetTime(CTime(2007, 3, 5, 9, 6, 30));
        const long number = atFirstAnswer ? 4 : 5;
        CReservationTransThread* thread = Run(MakeRow(number, 0, "kim", scale.Address().c_str()), kTwoItems);
        SetTime(CTime(2007, 3, 5, 9, 7, 0));
        ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= holdAt + 1; }));
        m_host->m_transferActive = 1;
        ASSERT_TRUE(scale.SendNow(TcpReply::Packet(0x0600))); // passed over
        ASSERT_TRUE(scale.SendNow(TcpReply::Packet(0x0101)));
        ASSERT_TRUE(WaitForReports(before + 1));
        // The manager's own send is not told it is complete: the box names
        // the reservation, its scale and the copies that went.
        const CString count = CString::Formatted("%d of 2 records sent", atFirstAnswer ? 1 : 2);
        EXPECT_EQ(Reports().back(), ("Because basic Communication(Stop), " + count).Str());
        EXPECT_EQ(Boxes(),
            (std::vector<CString> { Named(
                number, scale.Address(), "Trans Stopped for the manager's own transfer, " + count + ".") }));
        EXPECT_EQ(scale.Received().size(), holdAt + 1);
        EXPECT_EQ(
            Rows(kReservationDatabase,
                CString::Formatted(
                    "SELECT [reservation_status] FROM [Reservation_Table] WHERE [reservation_num] = '%ld'",
                    number)),
            (std::vector<std::string> { "Trans Stop" }));
        ASSERT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
        // The scale sees the connection closed.
        EXPECT_TRUE(PumpUntil([&] { return !scale.SendNow({ 1 }); }));
    }
}

// Copies deleted while the first is answered: the reset goes at once, and the
// ending says the copies were missing.
TEST_F(ReservationThreadTest, CopiesGoneDuringTheRunEndItWithTheReset)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start(
        [](const TcpPacket&, std::size_t i) { return i == 0 ? TcpReply::Silence() : TcpReply::Ack(); }));
    CReservationTransThread* thread = Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() == 1; }));
    Execute(kReservationDatabase, { "DELETE FROM [Item]" });
    ASSERT_TRUE(scale.SendNow(TcpReply::Packet(0x0101)));
    ASSERT_TRUE(WaitForReports(1));
    std::vector<std::uint16_t> commands;
    for (const TcpPacket& p : scale.Received())
        commands.push_back(p.command);
    EXPECT_EQ(commands, (std::vector<std::uint16_t> { 0x0003, 0x4120 }));
    EXPECT_EQ(Reports(), (std::vector<std::string> { "Copies missing, 1 of 2 records sent" }));
    EXPECT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
}

TEST_F(ReservationThreadTest, AScaleThatCannotBeReachedKeepsItWaiting)
{
    std::string address;
    {
        TcpScale gone;
        ASSERT_TRUE(gone.Start());
        address = gone.Address();
    }
    CReservationTransThread* thread = Run(MakeRow(4, 0, "kim", address.c_str()), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Reports(), (std::vector<std::string> { "Connection Fail, 0 of 2 records sent" }));
    EXPECT_TRUE(PumpUntil([&] { return m_boxes.Records().size() == 1; }));
    EXPECT_EQ(
        Boxes(), (std::vector<CString> { Named(4, address, "Connection Failed, 0 of 2 records sent.") }));
    EXPECT_EQ(Statuses(), (std::vector<std::string> { "4|" + address + "|wait" }));
    EXPECT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
    EXPECT_TRUE(m_host->m_timers.empty());
}

TEST_F(ReservationThreadTest, AnEveryDayReservationRunsOnceEachDay)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    const ReservationRow row = MakeRow(4, 1, "kim", scale.Address().c_str(), "0", "0", "0", "8", "0");
    SetTime(CTime(2007, 3, 5, 7, 59, 40));
    CReservationTransThread* thread = Run(row, kTwoItems);
    SetTime(CTime(2007, 3, 5, 8, 0, 3));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Statuses(), (std::vector<std::string> { "4|" + scale.Address() + "|Trans..ing" }));
    EXPECT_EQ(thread->GetRunCount(), 1);
    // The thread waits for the next day; the scale's connection is closed now.
    EXPECT_TRUE(PumpUntil([&] { return !scale.SendNow({ 1 }); }));
    EXPECT_NE(ReportLines()[0].find("||Time =        00080||"), std::string::npos);

    // Later in the same minute, and later that day: nothing more.
    SetTime(CTime(2007, 3, 5, 8, 0, 50));
    SetTime(CTime(2007, 3, 5, 20, 0, 0));
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(thread->GetRunCount(), 1);
    EXPECT_FALSE(thread->HasEnded());

    // Its minute on the next day, and the day after.
    SetTime(CTime(2007, 3, 6, 8, 0, 0));
    ASSERT_TRUE(WaitForReports(2));
    SetTime(CTime(2007, 3, 7, 8, 0, 30));
    ASSERT_TRUE(WaitForReports(3));
    EXPECT_EQ(thread->GetRunCount(), 3);
    EXPECT_EQ(scale.Received().size(), 9u);
    EXPECT_EQ(scale.Connections(), 3u);
    EXPECT_EQ(Reports(), (std::vector<std::string>(3, "OK, 2 of 2 records sent")));
}

TEST_F(ReservationThreadTest, AWaitingReservationWakesAtItsMinuteByItself)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    // A clock that runs, one second before the minute, and no notice of it.
    const auto base = std::chrono::system_clock::from_time_t(CTime(2007, 3, 5, 9, 6, 59).GetTime());
    const auto start = std::chrono::steady_clock::now();
    AfxSetClock([base, start] {
        return base
            + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::steady_clock::now() - start);
    });
    Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Reports(), (std::vector<std::string> { "OK, 2 of 2 records sent" }));
}

// The scale hangs up after taking 6 of 12 copies: the run ends at once, with
// the count in its box and its report.
TEST_F(ReservationThreadTest, AHangUpMidRunEndsItAtOnceWithTheCount)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start([](const TcpPacket&, std::size_t i) {
        TcpReply reply = i < 6 ? TcpReply::Ack() : TcpReply::Silence();
        reply.close = i == 6;
        return reply;
    }));
    std::vector<std::vector<CString>> items;
    for (int n = 1; n <= 12; ++n) {
        items.push_back(kTwoItems[0]);
        items.back()[0] = CString::Formatted("%d", n);
    }
    CReservationTransThread* thread = Run(MakeRow(4, 0, "kim", scale.Address().c_str()), items);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(
        Reports(), (std::vector<std::string> { "Connection closed by the scale, 6 of 12 records sent" }));
    EXPECT_EQ(Boxes(),
        (std::vector<CString> {
            Named(4, scale.Address(), "Connection closed by the scale, 6 of 12 records sent.") }));
    EXPECT_EQ(scale.Received().size(), 7u);
    EXPECT_TRUE(m_host->m_timers.empty()) << "nothing is resent into the closed connection";
    EXPECT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
}

// Answers matched to the copies sent: a scale that acknowledges every copy
// twice with its memory full at 11 is no "OK"; one that closes after
// acknowledging the reset, nothing owed, took the whole run.
TEST_F(ReservationThreadTest, EachAnswerIsMatchedToTheCopyItAnswers)
{
    std::vector<std::vector<CString>> items;
    for (int n = 1; n <= 12; ++n) {
        items.push_back(kTwoItems[0]);
        items.back()[0] = CString::Formatted("%d", n);
    }
    struct Case {
        const char* name;
        scalesim::ScaleMemory::Faults faults;
        bool closeAfterReset;
        std::size_t held;
        const char* report;
        const char* count;
        const char* how; // "" for "Trans Complete"
    };
    const char* unmatched = "Trans Failed (the scale's answers could not be matched to the packets sent)";
    const Case cases[] = {
        { "twice, memory full", { 0, {}, true, 11 }, false, 11, "Answers unmatched",
            "11 of 12 records sent for certain", unmatched },
        { "a stray, memory full", { 0, {}, false, 11, { 4 } }, false, 11, "Answers unmatched",
            "11 of 12 records sent for certain", unmatched },
        { "closed after the reset", {}, true, 12, "OK", "12 of 12 records sent", "" },
    };
    long number = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        const std::size_t before = ReportLines().size();
        scalesim::ScaleMemory memory;
        memory.SetFaults(c.faults);
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&](const TcpPacket& p, std::size_t) {
            TcpReply reply = memory.Answer(p);
            reply.close = c.closeAfterReset && p.command == 0x4120;
            return reply;
        }));
        SetTime(CTime(2007, 3, 5, 9, 6, 30));
        CReservationTransThread* thread = Run(MakeRow(++number, 0, "kim", scale.Address().c_str()), items);
        SetTime(CTime(2007, 3, 5, 9, 7, 1));
        ASSERT_TRUE(WaitForReports(before + 1));
        ASSERT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
        EXPECT_EQ(memory.Table(0).size(), c.held);
        EXPECT_EQ(Reports().back(), std::string(c.report) + ", " + c.count);
        const CString how
            = *c.how == '\0' ? CString("Trans Complete") : CString::Formatted("%s, %s.", c.how, c.count);
        EXPECT_EQ(Boxes(), (std::vector<CString> { Named(number, scale.Address(), how) }));
    }
}

TEST_F(ReservationThreadTest, WeekAndExpiredReservationsNeverRun)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    CReservationTransThread* week = Run(MakeRow(4, 2, "kim", scale.Address().c_str()), kTwoItems);
    CReservationTransThread* expired
        = Run(MakeRow(5, 0, "kim", scale.Address().c_str(), "2007", "3", "5", "9", "6"), kTwoItems);
    ASSERT_TRUE(PumpUntil([&] { return week->HasEnded() && expired->HasEnded(); }));
    EXPECT_EQ(week->GetRunCount(), 0);
    EXPECT_EQ(expired->GetRunCount(), 0);
    EXPECT_EQ(scale.Connections(), 0u);
    EXPECT_TRUE(ReportLines().empty());
}

TEST_F(ReservationThreadTest, AReceivingReservationEndsAfterTheGreeting)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    ReservationRow row = MakeRow(4, 0, "kim", scale.Address().c_str());
    row.direction = "1";
    CReservationTransThread* thread = Run(row, kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_TRUE(scale.Received().empty());
    EXPECT_NE(ReportLines()[0].find("||Communication = Recv||"), std::string::npos);
    EXPECT_TRUE(PumpUntil([&] { return thread->HasEnded(); }));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ReservationThreadTest, CancelEndsARunWithoutAReport)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start([](const TcpPacket& p, std::size_t) {
        return p.command == 3 ? TcpReply::Silence() : TcpReply::Ack();
    }));
    CReservationTransThread* running = Run(MakeRow(4, 0, "kim", scale.Address().c_str()), kTwoItems);
    CReservationTransThread* waiting = Run(MakeRow(4, 0, "kim", "10.9.9.9", "2030"), kTwoItems);
    SetTime(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= 1; }));
    running->Cancel();
    waiting->Cancel();
    ASSERT_TRUE(PumpUntil([&] { return running->HasEnded() && waiting->HasEnded(); }));
    // The connection was closed, and an answer now reaches nobody.
    EXPECT_TRUE(PumpUntil([&] { return !scale.SendNow(TcpReply::Packet(0x0101)); }));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(ReportLines().empty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(scale.Received().size(), 1u);
    EXPECT_EQ(running->GetRunCount(), 1);
    EXPECT_EQ(waiting->GetRunCount(), 0);
}

} // namespace
