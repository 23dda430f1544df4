// Reservations run by the work screen against simulated scales, with the
// clock set by the test: when they start, what the scale receives, the report
// line and the status they leave, and what deleting one does.

#include <filesystem>

#include "db/store_paths.h"
#include "ethernet/reservation_dialogs.h"
#include "ethernet/reservation_thread.h"
#include "platform/base/datetime.h"
#include "resources/calvorn_ids.h"
#include "screens/reservations.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/scale_sim.h"

namespace {

using scalesim::TcpPacket;
using scalesim::TcpReply;
using scalesim::TcpScale;

// The Info List's list control (1127) the user sees.
CListCtrl& InfoLines(CReservationListDlg* list)
{
    return *dynamic_cast<CListCtrl*>(list->GetDlgItem(IDC_RESV_LIST));
}

class ReservationRunTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        CReservationTransThread::SetReplyTimeout(60);
        CReservationTransThread::SetConnectTimeout(2000);
        LogIn("kim");
        SetClock(CTime(2007, 3, 5, 9, 6, 30));
    }
    void TearDown() override
    {
        WorkScreenFixture::TearDown();
        AfxSetClock(nullptr);
        CReservationTransThread::SetReplyTimeout(3000);
        CReservationTransThread::SetConnectTimeout(3000);
    }

    // The reservation list's button, shown on the item screen.
    void OpenReservationList()
    {
        if (!Visible(IDC_WORK_RESERVATION_VIEW))
            Switch(Screen::Item, "Item_Read", "kim", MakeItemDatabase());
        ClickControl(IDC_WORK_RESERVATION_VIEW);
    }

    static void SetClock(const CTime& time)
    {
        const auto when = std::chrono::system_clock::from_time_t(time.GetTime());
        AfxSetClock([when] { return when; });
        CReservationTransThread::NotifyClockChanged();
    }

    static ReservationRow Row(long number, int period, const char* manager, const std::string& address,
        const char* year = "2007", const char* month = "3", const char* day = "5", const char* hour = "9",
        const char* minute = "7")
    {
        ReservationRow row;
        row.number = CString::Formatted("%ld", number);
        row.period = CString::Formatted("%d", period);
        row.managerId = manager;
        row.year = year;
        row.month = month;
        row.day = day;
        row.hour = hour;
        row.minute = minute;
        row.kind = "1";
        row.address = address;
        row.direction = "0";
        row.status = kStatusWait;
        return row;
    }

    void Store(const ReservationRow& row, const std::vector<std::vector<CString>>& items = {})
    {
        std::vector<CString> sql { InsertReservationSql(row) };
        for (const auto& item : items)
            sql.push_back(InsertReservationItemSql(item, row.managerId, row.Number(), row.Period(), 0));
        Execute(kReservationDatabase, sql);
    }

    std::vector<std::string> ReportLines() const
    {
        return TempDataRoot::ReadCrLfLines(m_root.Native(kReservationReportPath));
    }
    bool WaitForReports(std::size_t count)
    {
        return PumpUntil([&] { return ReportLines().size() >= count; });
    }
    std::vector<CString> Statuses()
    {
        return Column(
            kReservationDatabase, "SELECT [reservation_status] FROM [Reservation_Table] ORDER BY [ID]");
    }
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
    static std::string ReportOf(const std::string& line) { return line.substr(line.rfind("Report = ") + 9); }
};

const std::vector<std::vector<CString>> kTwoItems {
    { "5", "Apple", "0", "1200", "0", "3", "20", "123", "1", "0", "0", "0", "1", "3", "2" },
    { "6", "Kim's pear", "Pear", "900", "0", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0" },
};

TEST_F(ReservationRunTest, OnceReservationSendsItsCopiesAtItsMinuteAndReports)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    Store(Row(4, 0, "kim", scale.Address()), kTwoItems);
    const int slot = m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", scale.Address()));
    ASSERT_EQ(slot, 0);
    PumpFor(std::chrono::milliseconds(150));
    EXPECT_EQ(scale.Connections(), 0u); // 09:06 is not its minute

    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    const std::vector<TcpPacket> packets = scale.Received();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0].command, 0x0003);
    ASSERT_EQ(packets[0].payload.size(), 114u);
    EXPECT_EQ(packets[0].payload[0], 0); // PLU table
    EXPECT_EQ(packets[0].payload[2], 5); // item_num
    EXPECT_EQ(packets[0].payload[2 + 14], 1200 & 0xFF); // unitprice
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&packets[0].payload[2 + 50]), 5), "Apple");
    EXPECT_EQ(packets[0].payload[2 + 80], 0); // a copied "0" name stays empty
    // POS code from the builder: kind 0 pads "123" to five digits.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&packets[0].payload[2 + 30]), 5), "00123");
    EXPECT_EQ(packets[1].payload[2], 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&packets[1].payload[2 + 50]), 10), "Kim's pear");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&packets[1].payload[2 + 30]), 7), "0000000");
    EXPECT_EQ(packets[2].command, 0x4120);
    EXPECT_TRUE(packets[2].payload.empty());

    const std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
        CString::Formatted("Mangaer = %10s||Time = %12s||IP = %15s||Communication = Trans||Report = %14s",
            "kim", "20073597", scale.Address().c_str(), "OK, 2 of 2 records sent")
            .Str());
    EXPECT_EQ(Statuses(), (std::vector<CString> { "Trans Stop" }));
    EXPECT_EQ(Boxes(), (std::vector<CString> { Named(4, scale.Address(), "Trans Complete") }));
    // A once-reservation's thread ends after its run, and its slot is taken again.
    ASSERT_TRUE(PumpUntil([&] { return m_screen->Reservations().GetReservationThread(0)->HasEnded(); }));
    EXPECT_EQ(
        m_screen->Reservations().StartReservationTransfer(Row(5, 0, "kim", scale.Address(), "2030")), 0);
}

struct OutcomeCase {
    const char* name;
    std::function<TcpReply(const TcpPacket&, std::size_t)> script;
    std::size_t packets; // what the scale receives
    const char* report;
    const char* how; // the ending after the count
    int acked; // of the two copies
};

TEST_F(ReservationRunTest, EveryWaitForTheScaleEndsWithAReport)
{
    const OutcomeCase cases[] = {
        { "silent", [](const TcpPacket&, std::size_t) { return TcpReply::Silence(); }, 4, "3 times out",
            "No answer", 0 },
        { "memory full",
            [](const TcpPacket& p, std::size_t) {
                return p.command == 3 ? TcpReply::Nak(0x2025) : TcpReply::Ack();
            },
            2, "SCALE memory full", "Trans Failed (SCALE memory full)", 0 },
        { "process error",
            [](const TcpPacket& p, std::size_t) {
                return p.command == 3 ? TcpReply::Nak(0x2027) : TcpReply::Ack();
            },
            2, "SCALE PROCESS ERROR", "Trans Failed (SCALE PROCESS ERROR)", 0 },
        // "No item" leaves nothing to do: the reply timer guards the wait.
        { "no item", [](const TcpPacket&, std::size_t) { return TcpReply::Nak(0x2028); }, 4, "3 times out",
            "No answer", 0 },
        { "data instead of an ACK", [](const TcpPacket&, std::size_t) { return TcpReply::EndOfData(); }, 4,
            "3 times out", "No answer", 0 },
        { "second record refused",
            [](const TcpPacket& p, std::size_t i) {
                return p.command == 3 && i == 1 ? TcpReply::Nak(0x2023) : TcpReply::Ack();
            },
            3, "SCALE DATA LENGTH MISS", "Trans Failed (SCALE DATA LENGTH MISS)", 1 },
    };
    long number = 10;
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        const std::size_t before = ReportLines().size();
        TcpScale scale;
        ASSERT_TRUE(scale.Start(c.script));
        SetClock(CTime(2007, 3, 5, 9, 6, 30));
        const ReservationRow row = Row(++number, 0, "kim", scale.Address());
        Store(row, kTwoItems);
        ASSERT_GE(m_screen->Reservations().StartReservationTransfer(row), 0);
        SetClock(CTime(2007, 3, 5, 9, 7, 1));
        ASSERT_TRUE(WaitForReports(before + 1));
        const CString count = CString::Formatted("%d of 2 records sent", c.acked);
        EXPECT_EQ(ReportOf(ReportLines().back()), (CString(c.report) + ", " + count).Str());
        EXPECT_EQ(scale.Received().size(), c.packets);
        if (std::string(c.report) == "3 times out") {
            for (const TcpPacket& p : scale.Received())
                EXPECT_EQ(p.payload, scale.Received()[0].payload); // the same packet again
        }
        std::vector<CString> boxes;
        if (std::string(c.report) == "3 times out")
            boxes.push_back(Named(number, scale.Address(), "3 times out"));
        boxes.push_back(Named(number, scale.Address(), CString(c.how) + ", " + count + "."));
        EXPECT_EQ(Boxes(), boxes);
        EXPECT_EQ(Column(kReservationDatabase,
                      CString::Formatted("SELECT [reservation_status] FROM [Reservation_Table] WHERE "
                                         "[reservation_num] = '%ld'",
                          number)),
            (std::vector<CString> { "Trans Stop" }));
    }
}

TEST_F(ReservationRunTest, WithoutCopiesOnlyTheResetGoesAndTheReportCountsNone)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    Store(Row(4, 0, "kim", scale.Address()));
    m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", scale.Address()));
    SetClock(CTime(2007, 3, 5, 9, 7, 59));
    ASSERT_TRUE(WaitForReports(1));
    ASSERT_EQ(scale.Received().size(), 1u);
    EXPECT_EQ(scale.Received()[0].command, 0x4120);
    EXPECT_EQ(ReportOf(ReportLines()[0]), "OK, 0 of 0 records sent");
}

TEST_F(ReservationRunTest, TheSameManagersTransferRefusesAtTheStart)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    Store(Row(4, 0, "kim", scale.Address()), kTwoItems);
    Store(Row(5, 0, "lee", scale.Address()), kTwoItems);
    m_screen->Transfers().Hosts().Host().SetTransferActive(1);
    m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", scale.Address()));
    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    // It did not go: the box names it and its scale, the report and the
    // list say so.
    EXPECT_EQ(ReportOf(ReportLines()[0]), "Because basic Communication(Stop), not sent");
    EXPECT_EQ(Boxes(),
        (std::vector<CString> { Named(4, scale.Address(),
            "Since the manager is proceeding with the communication, the advance transmission is not "
            "available. The reservation was not sent.") }));
    EXPECT_EQ(scale.Connections(), 0u);
    EXPECT_EQ(Statuses(), (std::vector<CString> { "Not sent", "wait" }));
    OpenReservationList();
    CReservationListDlg* list = m_screen->Reservations().GetReservationListDlg();
    ASSERT_EQ(InfoLines(list).GetItemCount(), 1); // kim's
    EXPECT_NE(InfoLines(list).GetItemText(0, 0).Find("#R_status=Not sent#"), -1)
        << InfoLines(list).GetItemText(0, 0);

    // Another manager's reservation runs all the same.
    MessageBoxScript::Reset();
    m_screen->Reservations().StartReservationTransfer(Row(5, 0, "lee", scale.Address()));
    ASSERT_TRUE(WaitForReports(2));
    EXPECT_EQ(ReportOf(ReportLines()[1]), "OK, 2 of 2 records sent");
    EXPECT_EQ(scale.Received().size(), 3u);
    m_screen->Transfers().Hosts().Host().SetTransferActive(0);
}

TEST_F(ReservationRunTest, AScaleThatCannotBeReachedKeepsItWaiting)
{
    Store(Row(4, 0, "kim", "127.0.0.254"), kTwoItems);
    m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", "127.0.0.254"));
    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(ReportOf(ReportLines()[0]), "Connection Fail, 0 of 2 records sent");
    EXPECT_TRUE(PumpUntil([&] { return m_boxes.Records().size() == 1; }));
    EXPECT_EQ(Boxes(),
        (std::vector<CString> { Named(4, "127.0.0.254", "Connection Failed, 0 of 2 records sent.") }));
    EXPECT_EQ(Statuses(), (std::vector<CString> { "wait" }));
}

TEST_F(ReservationRunTest, AnEveryDayReservationRunsOnceEachDay)
{
    TcpScale scale;
    ASSERT_TRUE(scale.Start());
    const ReservationRow row = Row(4, 1, "kim", scale.Address(), "0", "0", "0", "8", "0");
    Store(row, kTwoItems);
    SetClock(CTime(2007, 3, 5, 7, 59, 40));
    m_screen->Reservations().StartReservationTransfer(row);
    SetClock(CTime(2007, 3, 5, 8, 0, 3));
    ASSERT_TRUE(WaitForReports(1));
    EXPECT_EQ(Statuses(), (std::vector<CString> { "Trans..ing" }));
    CReservationTransThread* thread = m_screen->Reservations().GetReservationThread(0);
    EXPECT_EQ(thread->GetRunCount(), 1);

    // Later in the same minute, and later that day: nothing more.
    SetClock(CTime(2007, 3, 5, 8, 0, 50));
    SetClock(CTime(2007, 3, 5, 20, 0, 0));
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(thread->GetRunCount(), 1);
    EXPECT_FALSE(thread->HasEnded());

    // Its minute on the next day, and the day after.
    SetClock(CTime(2007, 3, 6, 8, 0, 0));
    ASSERT_TRUE(WaitForReports(2));
    SetClock(CTime(2007, 3, 7, 8, 0, 30));
    ASSERT_TRUE(WaitForReports(3));
    EXPECT_EQ(thread->GetRunCount(), 3);
    EXPECT_EQ(scale.Received().size(), 9u);
    EXPECT_EQ(scale.Connections(), 3u);
}

TEST_F(ReservationRunTest, DeletingARunningReservationEndsItWithoutAReport)
{
    CReservationTransThread::SetReplyTimeout(60000);
    TcpScale scale;
    ASSERT_TRUE(scale.Start([](const TcpPacket& p, std::size_t) {
        return p.command == 3 ? TcpReply::Silence() : TcpReply::Ack();
    }));
    Store(Row(4, 0, "kim", scale.Address()), kTwoItems);
    Store(Row(4, 0, "kim", "127.0.0.254")); // a second scale of the same reservation, still waiting
    m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", scale.Address()));
    SetClock(CTime(2007, 3, 5, 9, 6, 59));
    CReservationTransThread* running = m_screen->Reservations().GetReservationThread(0);
    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= 1; }));
    SetClock(CTime(2007, 3, 5, 9, 6, 0));
    m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", "127.0.0.254"));
    CReservationTransThread* waiting = m_screen->Reservations().GetReservationThread(1);

    OpenReservationList();
    CReservationListDlg* list = m_screen->Reservations().GetReservationListDlg();
    ASSERT_EQ(InfoLines(list).GetItemCount(), 2);
    InfoLines(list).ClickItem(0);
    MessageBoxScript::PushAnswer(IDYES);
    AfxClickDlgButton(*list, IDC_WORK_RECV_ALL);

    ASSERT_TRUE(PumpUntil([&] { return running->HasEnded() && waiting->HasEnded(); }));
    EXPECT_EQ(InfoLines(list).GetItemCount(), 0);
    EXPECT_TRUE(ReportLines().empty());
    EXPECT_TRUE(Statuses().empty());
    EXPECT_TRUE(Column(kReservationDatabase, "SELECT [item_num] FROM [Item]").empty());
    // The connection was closed: the scale's next connection is a new one.
    SetClock(CTime(2007, 3, 5, 9, 8, 0));
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(scale.Received().size(), 1u);
    EXPECT_EQ(scale.Connections(), 1u);
    // The slots of ended threads are taken again.
    EXPECT_EQ(
        m_screen->Reservations().StartReservationTransfer(Row(6, 0, "kim", scale.Address(), "2030")), 0);
    EXPECT_EQ(
        m_screen->Reservations().StartReservationTransfer(Row(7, 0, "kim", scale.Address(), "2030")), 1);
    EXPECT_EQ(m_screen->SendMessage(WM_RESV_SOCKET_DATA, 0x7FFFFFFF), 1); // no such job
}

TEST_F(ReservationRunTest, StartUpDeletesExpiredReservationsAndStartsTheOthers)
{
    SetClock(CTime(2007, 3, 5, 9, 7, 30));
    Store(Row(1, 0, "kim", "127.0.0.254", "2007", "3", "5", "9", "6"), kTwoItems); // expired
    Store(Row(2, 0, "kim", "127.0.0.254", "2006", "12", "31", "23", "59")); // expired
    Store(Row(3, 0, "kim", "127.0.0.254", "2007", "3", "5", "9", "7")); // its minute: started
    Store(Row(4, 1, "kim", "127.0.0.254", "0", "0", "0", "3", "0")); // every day
    Store(Row(5, 2, "kim", "127.0.0.254", "2001", "1", "1", "1", "1")); // week: kept, not started
    ReservationRow other = Row(6, 0, "lee", "127.0.0.254", "2006", "1", "1", "1", "1");
    other.kind = "2";
    Store(other); // expired, another kind
    Store(Row(7, 0, "kim", "127.0.0.254", "2100", "1", "1", "0", "0")); // later: started
    CReservationTransThread::SetConnectTimeout(50);
    m_screen->Reservations().LoadReservations();
    EXPECT_EQ(Column(kReservationDatabase, "SELECT [reservation_num] FROM [Reservation_Table] ORDER BY [ID]"),
        (std::vector<CString> { "3", "4", "5", "7" }));
    EXPECT_TRUE(Column(kReservationDatabase, "SELECT [item_num] FROM [Item]").empty());
    std::vector<long> started;
    for (std::size_t slot = 0; m_screen->Reservations().GetReservationThread(slot); ++slot)
        started.push_back(m_screen->Reservations().GetReservationThread(slot)->GetReservationNumber());
    EXPECT_EQ(started, (std::vector<long> { 3, 4, 7 }));
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(0)->GetTimerId(), 600u);
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(2)->GetTimerId(), 602u);
    for (int id : { IDC_WORK_RESERVATION_LAMP, IDC_WORK_RESV_SEND_LAMP, IDC_WORK_RESV_RECV_LAMP,
             IDC_WORK_RESV_PC_LABEL, IDC_WORK_RESV_SCALE_LABEL, IDC_WORK_RESERVATION_LABEL })
        EXPECT_TRUE(Visible(id)) << id;
    // The send and receive lamps rest on the same picture.
    Snapshot send(*m_screen->GetDlgItem(IDC_WORK_RESV_SEND_LAMP));
    Snapshot receive(*m_screen->GetDlgItem(IDC_WORK_RESV_RECV_LAMP));
    ASSERT_EQ(send.All(), receive.All());
    int differing = 0;
    for (int y = 0; y < send.Height(); ++y) {
        for (int x = 0; x < send.Width(); ++x)
            differing += send.At(x, y) != receive.At(x, y);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(send.Ink(send.At(0, 0)).IsRectEmpty());
}

TEST_F(ReservationRunTest, TheLampRowShowsItsLampsWhole)
{
    // A lamp cut by its place runs its black rim into the place's edge; a
    // whole one has its rim all round inside the place.
    CReservationTransThread::SetConnectTimeout(50);
    m_screen->Reservations().StartReservationTransfer(Row(1, 0, "kim", "127.0.0.254", "2030"));
    for (const auto& [screen, word] :
        { std::pair { Screen::Item, "Item_Read" }, std::pair { Screen::LandAddition, "Land_Add_Read" } }) {
        Switch(screen, word, "kim", MakeItemDatabase());
        for (int id : { IDC_WORK_RESERVATION_LAMP, IDC_WORK_RESV_SEND_LAMP, IDC_WORK_RESV_RECV_LAMP }) {
            SCOPED_TRACE(id);
            ASSERT_TRUE(Visible(id));
            Snapshot lamp(*m_screen->GetDlgItem(id));
            ASSERT_TRUE(lamp.Ok());
            const CRect rim = lamp.InkOf(RGB(0, 0, 0), lamp.All());
            EXPECT_GT(rim.top, 0);
            EXPECT_LT(rim.bottom, lamp.Height());
            // Round: about as high as it is wide.
            EXPECT_NEAR(rim.Height(), rim.Width(), 1);
        }
    }
}

TEST_F(ReservationRunTest, PickedRowsGiveTheItemNumbers)
{
    const CString db = MakeItemDatabase();
    for (int number = 10; number <= 40; number += 10)
        Execute(db,
            { CString::Formatted("INSERT INTO [Item]([item_num], [mg_id]) VALUES('%d', 'kim')", number) });
    Switch(Screen::Item, "Item_Read", "kim", db);
    CGridCtrl& grid = Grid();
    ASSERT_EQ(grid.GetRowCount(), 6);
    grid.SetItemText(5, 1, "99"); // the last row is no data row
    std::vector<int> numbers;
    DragCells(3, 1);
    m_screen->Reservations().CollectSelectedItemNumbers(numbers);
    ASSERT_EQ(numbers.size(), kReservationItemLimit);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 4), (std::vector<int> { 10, 20, 30, 0 }));
    ClickCell(5, 2);
    ClickCell(4, 2, MK_SHIFT);
    m_screen->Reservations().CollectSelectedItemNumbers(numbers);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 2), (std::vector<int> { 40, 0 }));
    ClickCell(4, 2);
    ClickCell(2, 2, MK_CONTROL);
    m_screen->Reservations().CollectSelectedItemNumbers(numbers);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 3), (std::vector<int> { 40, 20, 0 }));
    // A row without a number gives none.
    grid.SetItemText(2, 1, "");
    m_screen->Reservations().CollectSelectedItemNumbers(numbers);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 2), (std::vector<int> { 40, 0 }));
}

TEST_F(ReservationRunTest, SetupStartsOneThreadPerScaleWithThePickedItems)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('41', 'Apple', '1500', "
          "'kim')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('42', 'Pear', '900', "
            "'kim')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('43', 'Plum', '100', "
            "'kim')" });
    Switch(Screen::Item, "Item_Read", "kim", db);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    DragCells(3, 2);
    CReservationTransThread::SetReplyTimeout(60000); // both scales answer
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start());
    ASSERT_TRUE(b.Start());
    auto setup = [&](int button) {
        ModalDialogScript::Push([&, button](CDialog& d) {
            d.SetDlgItemText(IDC_RESV_YEAR, "2007");
            d.SetDlgItemText(IDC_RESV_MONTH, "3");
            d.SetDlgItemText(IDC_RESV_DAY, "5");
            d.SetDlgItemText(IDC_RESV_HOUR, "9");
            d.SetDlgItemText(IDC_RESV_MINUTE, "7");
            d.SetDlgItemText(
                IDC_RESV_SCALES, CString(a.Address().c_str()) + "\r\n" + b.Address().c_str() + "\r\n");
            AfxClickDlgButton(d, button);
        });
        ClickControl(IDC_WORK_RESERVATION_SETUP);
    };
    // Cancelled: nothing is stored or started.
    setup(IDCANCEL);
    EXPECT_TRUE(Statuses().empty());
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(0), nullptr);

    setup(IDOK);
    EXPECT_EQ(Statuses(), (std::vector<CString> { "wait", "wait" }));
    EXPECT_EQ(Column(kReservationDatabase, "SELECT [item_num] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "42", "43" }));
    for (std::size_t slot : { 0u, 1u }) {
        ASSERT_NE(m_screen->Reservations().GetReservationThread(slot), nullptr) << slot;
        EXPECT_EQ(m_screen->Reservations().GetReservationThread(slot)->GetReservationNumber(), 1) << slot;
        EXPECT_EQ(m_screen->Reservations().GetReservationThread(slot)->GetTimerId(), 600 + slot) << slot;
    }
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(2), nullptr);

    // Both run in the same minute, each answered through its own token.
    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(WaitForReports(2));
    for (const TcpScale* scale : { &a, &b }) {
        const std::vector<TcpPacket> packets = scale->Received();
        ASSERT_EQ(packets.size(), 3u);
        EXPECT_EQ(packets[0].payload.at(2), 42);
        EXPECT_EQ(packets[1].payload.at(2), 43);
        EXPECT_EQ(packets[2].command, 0x4120);
    }
    for (const std::string& line : ReportLines())
        EXPECT_EQ(ReportOf(line), "OK, 2 of 2 records sent");
    const std::vector<CString> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const TcpScale* scale : { &a, &b })
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), Named(1, scale->Address(), "Trans Complete")), 1);
}

TEST_F(ReservationRunTest, ReplyTimersReachTheThreadOfTheirSlot)
{
    CReservationTransThread::SetReplyTimeout(60000);
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start([](const TcpPacket&, std::size_t) { return TcpReply::Silence(); }));
    ASSERT_TRUE(b.Start([](const TcpPacket&, std::size_t) { return TcpReply::Silence(); }));
    Store(Row(4, 0, "kim", a.Address()), kTwoItems);
    Store(Row(5, 0, "kim", b.Address()), kTwoItems);
    ASSERT_EQ(m_screen->Reservations().StartReservationTransfer(Row(4, 0, "kim", a.Address())), 0);
    ASSERT_EQ(m_screen->Reservations().StartReservationTransfer(Row(5, 0, "kim", b.Address())), 1);
    SetClock(CTime(2007, 3, 5, 9, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return a.Received().size() == 1 && b.Received().size() == 1; }));
    auto timer = [&](UINT id) { m_screen->SendMessage(WM_TIMER, id, 0); };

    timer(601);
    ASSERT_TRUE(PumpUntil([&] { return b.Received().size() == 2; }));
    EXPECT_EQ(b.Received()[1].payload, b.Received()[0].payload);
    EXPECT_EQ(a.Received().size(), 1u);
    timer(600);
    ASSERT_TRUE(PumpUntil([&] { return a.Received().size() == 2; }));
    // Slots without a thread, transfer timers and stray socket data touch neither.
    for (UINT id : { 602u, 779u, 200u, 201u })
        timer(id);
    EXPECT_EQ(m_screen->SendMessage(WM_RESV_SOCKET_DATA, 0x7FFFFFFF), 1);
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(a.Received().size(), 2u);
    EXPECT_EQ(b.Received().size(), 2u);
    EXPECT_TRUE(ReportLines().empty());
}

TEST_F(ReservationRunTest, AtMost180ReservationsWaitAndAnEndedSlotIsTakenAgain)
{
    for (int i = 0; i < 180; ++i)
        ASSERT_EQ(
            m_screen->Reservations().StartReservationTransfer(Row(100 + i, 0, "kim", "127.0.0.254", "2030")),
            i);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(
        m_screen->Reservations().StartReservationTransfer(Row(999, 0, "kim", "127.0.0.254", "2030")), -1);
    EXPECT_EQ(Boxes(),
        (std::vector<CString> {
            "No more reservations can wait: 180 are running. Delete a reservation first." }));
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(180), nullptr);
    // Deleting reservation 105 in the list ends its thread.
    MessageBoxScript::Reset();
    Store(Row(105, 0, "kim", "127.0.0.254", "2030"));
    OpenReservationList();
    CReservationListDlg* list = m_screen->Reservations().GetReservationListDlg();
    ASSERT_EQ(InfoLines(list).GetItemCount(), 1);
    InfoLines(list).ClickItem(0);
    MessageBoxScript::PushAnswer(IDYES);
    AfxClickDlgButton(*list, IDC_WORK_RECV_ALL); // Delete
    EXPECT_EQ(InfoLines(list).GetItemCount(), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_screen->Reservations().GetReservationThread(5)->HasEnded(); }));
    EXPECT_FALSE(m_screen->Reservations().GetReservationThread(4)->HasEnded());
    EXPECT_EQ(
        m_screen->Reservations().StartReservationTransfer(Row(999, 0, "kim", "127.0.0.254", "2030")), 5);
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(5)->GetReservationNumber(), 999);
    EXPECT_EQ(m_screen->Reservations().GetReservationThread(5)->GetTimerId(), 605u);
}

TEST_F(ReservationRunTest, TheListShowsEachReservationOnceHoweverOftenItIsOpened)
{
    Store(Row(4, 0, "kim", "127.0.0.254", "2030"));
    Store(Row(5, 1, "kim", "127.0.0.253", "0", "0", "0", "8", "0"));
    Store(Row(6, 0, "lee", "127.0.0.252", "2030"));
    CReservationListDlg* list = m_screen->Reservations().GetReservationListDlg();
    ASSERT_NE(list, nullptr);
    for (int open = 0; open < 2; ++open) {
        OpenReservationList();
        EXPECT_EQ(InfoLines(list).GetItemCount(), 2) << open; // kim's only
        EXPECT_EQ(InfoLines(list).GetColumnCount(), 1) << open;
        EXPECT_TRUE(list->IsWindowVisible()) << open;
    }
    EXPECT_EQ(list->GetManagerId(), "kim");
}

TEST_F(ReservationRunTest, StartUpMakesTheStoreAndTheReportAndKeepsEarlierLines)
{
    std::filesystem::remove_all(m_root.Native(kManagerFolder));
    std::filesystem::remove_all(m_root.Native(kReservationReportFolder));
    m_screen->Reservations().WriteReservationReport();
    EXPECT_GT(std::filesystem::file_size(m_root.Native(kReservationDatabase)), 0u);
    EXPECT_TRUE(Statuses().empty());
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kReservationReportPath)), "");
    Store(Row(4, 0, "kim", "127.0.0.254", "2030"));
    ASSERT_TRUE(AppendReservationReport("earlier"));
    m_screen->Reservations().WriteReservationReport();
    EXPECT_EQ(ReportLines(), std::vector<std::string> { "earlier" });
    EXPECT_EQ(Statuses(), std::vector<CString> { "wait" });
}

} // namespace
