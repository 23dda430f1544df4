#include <functional>

#include "db/totals_move.h"
#include "ethernet/eth_trans_status_dlg.h"
#include "ethernet/transfer_jobs.h"
#include "platform/dao/dao_database.h"
#include "platform/serial/serial_port.h"
#include "resources/calvorn_ids.h"
#include "screens/result_kinds.h"
#include "screens/result_loop.h"
#include "screens/result_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_ports.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"
#include "shell/file_helpers.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/db_lock.h"
#include "tests/support/scale_memory.h"
#include "tests/support/serial_scale_model.h"

// The four sales-total screens: what each shows to whom, the receive and the
// clear of every scale of the list over TCP and RS-232 (a scale that is silent
// or refuses does not stop the others), and the accumulation into the result
// summary database.

namespace {

using scalesim::Bytes;
using scalesim::ScaleMemory;
using scalesim::TcpScale;

constexpr std::uint8_t kTotalAll = 0x3D;
constexpr std::uint8_t kTotalItem = 0x3E;
constexpr int kPort = 4;

// A totals record as a scale holds it: number, count 2, 2024-06-day, price, weight.
Bytes Total(std::uint8_t table, std::uint8_t number, std::uint8_t day, std::uint8_t price)
{
    Bytes b { table, 1, number, 0, 0, 0, 2, 0, 0xE8, 0x07, 6, day, 0, 0, price, 0, 0, 0, 50, 0, 0, 0 };
    if (table == kTotalAll) {
        for (std::uint8_t memory : { 9, 0, 8, 0, 7, 0, 6, 0 })
            b.push_back(memory);
    }
    return b;
}

class WorkScreenResultsTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        ASSERT_NE(m_screen->Transfers().GetTransports(), nullptr);
        m_screen->Transfers().SetTransferPort(m_screen->Transfers().GetTransports());
        m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 100, 2000, 1000 });
        m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
        m_db = MakeItemDatabase();
    }
    void TearDown() override
    {
        m_line.Stop();
        SetSerialDevicePath(kPort, "");
        WorkScreenFixture::TearDown();
    }
    bool WaitForLoop()
    {
        return PumpUntil(
            [&] { return !m_screen->GetResultScreens().IsLoopRunning(); }, std::chrono::milliseconds(10000));
    }
    void ChooseScales(const std::vector<const TcpScale*>& scales)
    {
        m_screen->Scales().CommSettings().ClearChosen();
        for (const TcpScale* s : scales)
            m_screen->Scales().CommSettings().AddChosen(
                CString("Scale name = S, IP=") + s->Address().c_str());
    }
    std::vector<CString> Texts() const
    {
        std::vector<CString> out;
        for (const MessageBoxRecord& r : MessageBoxScript::Records())
            out.push_back(r.text);
        return out;
    }
    void AddTotals(
        const CString& path, const char* table, const std::vector<std::pair<const char*, const char*>>& rows)
    {
        std::vector<CString> sql;
        for (const auto& [day, owner] : rows)
            sql.push_back(CString::Formatted(
                "INSERT INTO [%s]([day], [print_cnt], [mg_id]) VALUES('%s', '3', '%s')", table, day, owner));
        Execute(path, sql);
    }
    // The grid's data rows, one text per row of its first column.
    std::vector<CString> FirstColumn() const
    {
        std::vector<CString> values;
        for (int r = 1; r < Grid().GetRowCount() - 1; ++r)
            values.push_back(Grid().GetItemText(r, 1));
        return values;
    }

    CString m_db;
    scalesim::SerialScale m_line;
};

TEST_F(WorkScreenResultsTest, EachManagerSeesHisOwnTotalsUnderTheKindsTitlesAndVexoSeesAll)
{
    struct Case {
        Screen hint;
        const char* word;
        const char* table;
        const char* firstTitle;
        int columns;
        const char* kims; // first column of kim's row and of lee's
        const char* lees;
    };
    const Case cases[] = {
        { Screen::ScaleTotal, "Scale_Result_All_Read", "TotalResult", "Result Start day", 11, "d1", "d2" },
        { Screen::ItemTotal, "Scale_Result_Item_All_Read", "TotalItemResult", "Item number", 8, "n1", "n2" },
        { Screen::ItemDay, "Scale_Result_Item_Day_Read", "TotalItemDay", "Item number", 8, "m1", "m2" },
        { Screen::OneDay, "Scale_Result_Day_Read", "TotalDayResult", "Result day", 7, "y1", "y2" },
    };
    Execute(m_db,
        { "INSERT INTO [TotalResult]([begin_day], [mg_id]) VALUES('d1', 'kim')",
            "INSERT INTO [TotalResult]([begin_day], [mg_id]) VALUES('d2', 'lee')",
            "INSERT INTO [TotalItemResult]([num], [mg_id]) VALUES('n1', 'kim')",
            "INSERT INTO [TotalItemResult]([num], [mg_id]) VALUES('n2', 'lee')",
            "INSERT INTO [TotalItemDay]([num], [mg_id]) VALUES('m1', 'kim')",
            "INSERT INTO [TotalItemDay]([num], [mg_id]) VALUES('m2', 'lee')" });
    AddTotals(m_db, "TotalDayResult", { { "y1", "kim" }, { "y2", "lee" } });
    for (const Case& c : cases) {
        const std::string label = c.word;
        Switch(c.hint, c.word, "kim", m_db);
        ASSERT_EQ(Grid().GetColumnCount(), c.columns + 1) << label;
        EXPECT_EQ(Grid().GetItemText(0, 1), c.firstTitle) << label;
        EXPECT_EQ(Grid().GetItemText(0, c.columns), "ID") << label;
        EXPECT_EQ(FirstColumn(), std::vector<CString> { c.kims }) << label;
        EXPECT_EQ(Grid().GetItemText(1, 0), "List 1") << label;
        EXPECT_EQ(Grid().GetItemText(2, 0), "-->") << label;
        EXPECT_FALSE(Grid().IsCellEditable(1, 1)) << label;
        Switch(c.hint, c.word, "vexo", m_db);
        EXPECT_EQ(FirstColumn(), (std::vector<CString> { c.kims, c.lees })) << label;
        EXPECT_EQ(Grid().GetItemText(2, 0), "List 2") << label;
    }
    EXPECT_EQ(Caption(), "One Day Total Result");
    MessageBoxScript::Reset();
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "park", m_db);
    EXPECT_EQ(Texts(), std::vector<CString> { "Not exist a Result Data" });
    EXPECT_EQ(Grid().GetRowCount(), 2);
    // In Korean, the Korean titles and caption.
    m_screen->SetLanguage(1);
    Switch(Screen::ItemDay, "Scale_Result_Item_Day_Read", "kim", m_db);
    EXPECT_EQ(Grid().GetItemText(0, 2), "집계 날짜");
    EXPECT_EQ(Caption(), "상품별 일일 총집계");
}

TEST_F(WorkScreenResultsTest, ReceiveGoesOnPastASilentAndARefusingScaleAndReloadShowsTheRows)
{
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    ScaleMemory refusing(ScaleMemory::Mode::Nak, 0x2027);
    ScaleMemory holding;
    holding.Put(kTotalItem, 5, Total(kTotalItem, 5, 3, 100));
    holding.Put(kTotalItem, 6, Total(kTotalItem, 6, 4, 120));
    TcpScale a;
    TcpScale b;
    TcpScale c;
    ASSERT_TRUE(a.Start(silent.Script()));
    ASSERT_TRUE(b.Start(refusing.Script()));
    ASSERT_TRUE(c.Start(holding.Script()));
    ChooseScales({ &a, &b, &c });
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "kim", m_db);
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RESULT_RECV);
    ASSERT_TRUE(WaitForLoop());
    ASSERT_TRUE(PumpUntil([&] { return m_screen->Transfers().GetTransports()->Jobs().JobCount() == 0; }));

    const std::vector<CString> texts = Texts();
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], CString::Formatted("S (%s): 3 times out", a.Address().c_str()));
    const CString silentEnd = CString::Formatted("S (%s): No answer, receive", a.Address().c_str());
    EXPECT_EQ(texts[1].Left(silentEnd.GetLength()), silentEnd);
    EXPECT_EQ(texts[2], "SCALE PROCESS ERROR");
    EXPECT_EQ(texts[3], "SCALE PROCESS ERROR");
    const CString refusedEnd = CString::Formatted("S (%s): Trans Failed (SCALE", b.Address().c_str());
    EXPECT_EQ(texts[4].Left(refusedEnd.GetLength()), refusedEnd);
    EXPECT_EQ(texts[5],
        CString::Formatted(
            "S (%s): Trans Complete, 2 records stored in C:\\items.mdb.", c.Address().c_str()));
    // Each scale was asked once, in list order, the next only after the last had ended.
    for (TcpScale* scale : { &a, &b, &c })
        EXPECT_EQ(scale->Connections(), 1u) << scale->Address();
    EXPECT_EQ(Column(m_db, "SELECT [num], [mg_id], [current_scale] FROM [TotalItemResult] ORDER BY [num]"),
        (std::vector<CString> {
            CString("5kim") + c.Address().c_str(), CString("6kim") + c.Address().c_str() }));
    // The grid changes only on reload.
    EXPECT_EQ(Grid().GetRowCount(), 2);
    ClickControl(IDC_WORK_RESULT_RELOAD);
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(FirstColumn(), (std::vector<CString> { "5", "6" }));
}

TEST_F(WorkScreenResultsTest, ClearReachesEveryScaleAndASecondStartWhileItRunsIsRefused)
{
    ScaleMemory first;
    ScaleMemory second(ScaleMemory::Mode::Slow, 0, std::chrono::milliseconds(20));
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 }); // both answer
    first.Put(kTotalAll, 1, Total(kTotalAll, 1, 3, 100));
    second.Put(kTotalAll, 1, Total(kTotalAll, 1, 3, 100));
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(first.Script()));
    ASSERT_TRUE(b.Start(second.Script()));
    ChooseScales({ &a, &b });
    Switch(Screen::ScaleTotal, "Scale_Result_All_Read", "vexo", m_db);
    ASSERT_TRUE(Visible(IDC_WORK_RESULT_CLEAR));
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RESULT_CLEAR);
    ClickControl(IDC_WORK_RESULT_RECV);
    ASSERT_TRUE(WaitForLoop());

    EXPECT_EQ(Texts().front(), kResultLoopBusyText);
    EXPECT_EQ(first.Clears(kTotalAll), 1);
    EXPECT_EQ(second.Clears(kTotalAll), 1);
    EXPECT_TRUE(second.Table(kTotalAll).empty());
    EXPECT_EQ(Column(m_db, "SELECT [ID] FROM [TotalResult]"), std::vector<CString> {});
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "vexo", m_db);
    EXPECT_FALSE(Visible(IDC_WORK_RESULT_CLEAR));
}

TEST_F(WorkScreenResultsTest, OverTheSerialLineEveryScaleIsReadAndClearedByItsOwnId)
{
    m_screen->Transfers().GetSerialTransfer()->GetEngine().SetReplyTimeout(2000);
    m_screen->Transfers().GetSerialTransfer()->GetLink().SetPause(1);
    m_screen->Scales().CommSettings().SelectMode(Transport::Serial);
    ChooseComPort(kPort);
    m_screen->Scales().CommSettings().SetChosen(
        { "Scale name = A, Scale ID=7", "Scale name = B, Scale ID=08", "Scale name = C, Scale ID=9" });
    scalesim::SerialScaleModel model({ "07", "08", "09" });
    model.Put("07", Total(kTotalItem, 1, 3, 100));
    model.Put("09", Total(kTotalItem, 2, 3, 100));
    model.Put("09", Total(kTotalAll, 1, 3, 100));
    ASSERT_TRUE(m_line.Start(model.Script()));
    SetSerialDevicePath(kPort, m_line.DevicePath());
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "kim", m_db);

    ClickControl(IDC_WORK_RESULT_RECV);
    ASSERT_TRUE(WaitForLoop());
    EXPECT_EQ(Column(m_db, "SELECT [num], [mg_id] FROM [TotalItemResult] ORDER BY [num]"),
        (std::vector<CString> { "1kim", "2kim" }));

    Switch(Screen::ScaleTotal, "Scale_Result_All_Read", "kim", m_db);
    ClickControl(IDC_WORK_RESULT_CLEAR);
    ASSERT_TRUE(WaitForLoop());
    for (const char* id : { "07", "08", "09" }) {
        const auto commands = model.CommandsTo(id);
        EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x0002), 1) << id;
        EXPECT_TRUE(model.TablesOf(id)[kTotalAll].empty()) << id;
        EXPECT_TRUE(model.TablesOf(id)[kTotalItem].empty()) << id;
    }
    EXPECT_TRUE(model.CommandsTo("99").empty());
}

TEST_F(WorkScreenResultsTest, DbSumMovesTheShownRowsIntoANewSummaryUnderTheUsersId)
{
    AddTotals(m_db, "TotalDayResult", { { "y1", "kim" }, { "y2", "lee" }, { "it''s", "kim" } });
    const std::string sum = m_root.Native(kResultSumPath);
    TempDataRoot::WriteAll(sum, ""); // an empty file is made a database
    Switch(Screen::OneDay, "Scale_Result_Day_Read", "kim", m_db);
    ASSERT_TRUE(Visible(IDC_WORK_RESULT_SUM));
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);

    ClickControl(IDC_WORK_RESULT_SUM);
    ASSERT_TRUE(WaitForLoad());

    EXPECT_EQ(Texts(), std::vector<CString> { "'This Result information be lost', To be continued?" });
    const CString summary(sum.c_str());
    EXPECT_EQ(Column(summary, "SELECT [day], [print_cnt], [mg_id] FROM [TotalDayResult] ORDER BY [ID]"),
        (std::vector<CString> { "y13kim", "it's3kim" }));
    EXPECT_EQ(Column(m_db, "SELECT [day] FROM [TotalDayResult]"), std::vector<CString> { "y2" });
    EXPECT_EQ(Grid().GetRowCount(), 2);
    // The summary's own keys: a second sum appends behind the first.
    MessageBoxScript::Reset();
    AddTotals(m_db, "TotalDayResult", { { "y3", "kim" } });
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_RESULT_SUM);
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(Column(summary, "SELECT [ID], [day] FROM [TotalDayResult] ORDER BY [ID]"),
        (std::vector<CString> { "1y1", "2it's", "3y3" }));

    // The summary itself open, under another spelling of its path: no sum.
    CString spelled(m_root.Native("C:\\zuvar\\resultdata").c_str());
    Switch(Screen::OneDay, "Scale_Result_Day_Read", "kim", spelled + "/./RESULT_SUM.MDB");
    EXPECT_FALSE(Visible(IDC_WORK_RESULT_SUM));
    EXPECT_TRUE(Visible(IDC_WORK_RESULT_RELOAD));
}

// A move that fails anywhere (the item database held by another process, a
// full disk at the second copy) moves nothing and says so; the rows stay
// shown, and the next sum moves them once.
TEST_F(WorkScreenResultsTest, DbSumMovesEveryRowOrNone)
{
    const CString summary(m_root.Native(kResultSumPath).c_str());
    DbLockHolder holder;
    struct Case {
        const char* name;
        std::function<void()> hinder;
        std::function<void()> release;
    };
    const Case cases[] = {
        { "item database held",
            [&] { ASSERT_TRUE(holder.Hold(m_root.Native(m_db.GetString()), DbLockHolder::Kind::Write)); },
            [&] { holder.Release(); } },
        // The reload, four deletes, the summary's highest key, then the copies.
        { "disk full", [] { CDaoDatabase::TEST_InjectFault(DaoFault::DiskFull, 8); },
            [] { CDaoDatabase::TEST_InjectFault(DaoFault::None); } },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        Execute(m_db, { "DELETE FROM [TotalDayResult]" });
        AddTotals(
            m_db, "TotalDayResult", { { "y1", "kim" }, { "y2", "kim" }, { "y3", "kim" }, { "y4", "kim" } });
        Switch(Screen::OneDay, "Scale_Result_Day_Read", "kim", m_db);
        MessageBoxScript::Reset();
        MessageBoxScript::PushAnswerWhen(IDYES, [&] { return !Locked(); });
        c.hinder();
        ClickControl(IDC_WORK_RESULT_SUM);
        ASSERT_TRUE(WaitForLoad()) << c.name;
        c.release();
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), 2u) << c.name;
        EXPECT_NE(texts[1].Find("No totals were moved"), -1) << c.name << texts[1].GetString();
        EXPECT_EQ(Column(m_db, "SELECT COUNT(*) FROM [TotalDayResult]"), std::vector<CString> { "4" })
            << c.name;
        EXPECT_EQ(Column(summary, "SELECT COUNT(*) FROM [TotalDayResult]"), std::vector<CString> { "0" })
            << c.name;
        EXPECT_EQ(Grid().GetRowCount(), 6) << c.name;

        MessageBoxScript::PushAnswer(IDYES);
        ClickControl(IDC_WORK_RESULT_SUM);
        ASSERT_TRUE(WaitForLoad()) << c.name;
        EXPECT_EQ(Column(m_db, "SELECT COUNT(*) FROM [TotalDayResult]"), std::vector<CString> { "0" })
            << c.name;
        EXPECT_EQ(Column(summary, "SELECT COUNT(*) FROM [TotalDayResult]"), std::vector<CString> { "4" })
            << c.name;
        MessageBoxScript::Reset();
        Execute(summary, { "DELETE FROM [TotalDayResult]" });
    }
}

// Another program moves two of the totals shown while this one's question
// is open: the sum moves only the one the item database still holds, says so,
// and the summary counts each total once.
TEST_F(WorkScreenResultsTest, DbSumAddsNoTotalAnotherProgramMovedFirst)
{
    const std::string sum = m_root.Native(kResultSumPath);
    TempDataRoot::WriteAll(sum, "");
    ASSERT_TRUE(WriteResourceFile(150, sum.c_str()));
    AddTotals(m_db, "TotalDayResult", { { "y1", "kim" }, { "y2", "kim" }, { "y3", "kim" } });
    Switch(Screen::OneDay, "Scale_Result_Day_Read", "kim", m_db);
    MessageBoxScript::Reset();
    bool movedFirst = false;
    MessageBoxScript::PushAnswerWhen(IDYES, [&] {
        if (!Locked() && !movedFirst) {
            movedFirst = true;
            const TotalsMove other { m_db, sum.c_str(), "TotalDayResult", { "day", "print_cnt" }, "lee",
                { 1, 2 } };
            EXPECT_EQ(MoveTotals(other).moved, 2);
        }
        return movedFirst;
    });
    ClickControl(IDC_WORK_RESULT_SUM);
    ASSERT_TRUE(WaitForLoad());
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[1], CString::Formatted(kTotalsGoneText, 2, 3));
    const CString summary(sum.c_str());
    EXPECT_EQ(Column(summary, "SELECT [day], [mg_id] FROM [TotalDayResult] ORDER BY [ID]"),
        (std::vector<CString> { "y1lee", "y2lee", "y3kim" }));
    EXPECT_EQ(Column(m_db, "SELECT COUNT(*) FROM [TotalDayResult]"), std::vector<CString> { "0" });
    EXPECT_EQ(Grid().GetRowCount(), 2);
}

} // namespace

namespace {

TEST_F(WorkScreenResultsTest, AHangUpEndsOnlyItsScaleAndCloseNamesTheScalesNotAsked)
{
    // The second scale hangs up after its first record: it is told, its one
    // record kept, and the third scale is still asked.
    ScaleMemory memories[3];
    for (ScaleMemory& m : memories) {
        m.Put(kTotalItem, 5, Total(kTotalItem, 5, 3, 100));
        m.Put(kTotalItem, 6, Total(kTotalItem, 6, 4, 120));
    }
    TcpScale scales[3];
    ASSERT_TRUE(scales[0].Start(memories[0].Script()));
    ASSERT_TRUE(scales[1].Start([&](const scalesim::TcpPacket& p, std::size_t index) {
        scalesim::TcpReply reply = memories[1].Answer(p);
        reply.close = index == 0;
        return reply;
    }));
    ASSERT_TRUE(scales[2].Start(memories[2].Script()));
    ChooseScales({ &scales[0], &scales[1], &scales[2] });
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "kim", m_db);
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RESULT_RECV);
    ASSERT_TRUE(WaitForLoop());
    const std::vector<CString> texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    // Each ending names its scale; the database by its Windows path.
    EXPECT_EQ(texts[0],
        CString::Formatted(
            "S (%s): Trans Complete, 2 records stored in C:\\items.mdb.", scales[0].Address().c_str()));
    EXPECT_EQ(texts[1],
        CString::Formatted(
            "S (%s): Connection closed by the scale, receive incomplete: 1 record stored in C:\\items.mdb.",
            scales[1].Address().c_str()));
    EXPECT_EQ(texts[2],
        CString::Formatted(
            "S (%s): Trans Complete, 2 records stored in C:\\items.mdb.", scales[2].Address().c_str()));
    EXPECT_EQ(Column(m_db, "SELECT [num] FROM [TotalItemResult]").size(), 5u);

    // Close in the progress window while the first scale is asked: the loop
    // ends and says which scales it left out.
    MessageBoxScript::Reset();
    ScaleMemory slow(ScaleMemory::Mode::Slow, 0, std::chrono::milliseconds(300));
    TcpScale first;
    ASSERT_TRUE(first.Start(slow.Script()));
    ChooseScales({ &first, &scales[0], &scales[2] });
    ClickControl(IDC_WORK_RESULT_RECV);
    CEthTransStatusDlg& status = m_screen->Transfers().GetTransports()->StatusDialog();
    ASSERT_TRUE(PumpUntil([&] { return status.IsWindowVisible() && first.Received().size() == 1; }));
    ASSERT_TRUE(ClickAtControl(status, IDOK));
    ASSERT_TRUE(WaitForLoop());
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].Find(": Trans Stopped, receive incomplete: no records"),
        static_cast<int>(first.Address().size()) + 4);
    EXPECT_EQ(Texts()[1],
        CString::Formatted("Stopped; these scales were not asked: S (%s), S (%s).",
            scales[0].Address().c_str(), scales[2].Address().c_str()));
}

// Two of the scale's twelve totals equal line for line: both are stored, as
// their sum is the day's sales. After a resend of the PC's acknowledgement
// the scale starts the read over: its copies are dropped and counted, the
// equal total still stored.
TEST_F(WorkScreenResultsTest, EqualTotalsAreStoredEachAndOnlyAResendsCopiesAreDropped)
{
    std::vector<Bytes> totals;
    for (std::uint8_t n = 1; n <= 12; ++n)
        totals.push_back(Total(kTotalItem, n == 12 ? 11 : n, 3, 100));
    for (const bool resend : { false, true }) {
        SCOPED_TRACE(resend);
        MessageBoxScript::Reset();
        Execute(m_db, { "DELETE FROM [TotalItemResult]" });
        std::size_t next = 0;
        bool silentOnce = resend;
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&](const scalesim::TcpPacket& p, std::size_t) {
            using scalesim::TcpReply;
            if (p.command == 0x0006) {
                next = 0;
                TcpReply reply = TcpReply::Ack();
                reply.writes.push_back(TcpReply::Packet(5, totals[next++]));
                return reply;
            }
            if (p.command != 0x0101)
                return TcpReply::Silence();
            if (silentOnce && next == 4) {
                silentOnce = false;
                next = 0; // silent, then the read again from its first total
                return TcpReply::Silence();
            }
            return next < totals.size() ? TcpReply::Data(totals[next++]) : TcpReply::EndOfData();
        }));
        ChooseScales({ &scale });
        Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "kim", m_db);
        ClickControl(IDC_WORK_RESULT_RECV);
        ASSERT_TRUE(WaitForLoop());
        EXPECT_EQ(Column(m_db, "SELECT COUNT(*) FROM [TotalItemResult]"), std::vector<CString> { "12" });
        EXPECT_EQ(Column(m_db, "SELECT COUNT(*) FROM [TotalItemResult] WHERE [num] = 11"),
            std::vector<CString> { "2" });
        ASSERT_FALSE(Texts().empty());
        EXPECT_EQ(Texts().back(),
            CString("Trans Complete, 12 records stored in C:\\items.mdb")
                + (resend ? "; 4 copies the scale sent again were not stored." : "."));
    }
}

// Without a port chosen a receive asks for one and no scale is asked.
TEST_F(WorkScreenResultsTest, ReceiveWithoutAPortAsksForOne)
{
    ScaleMemory holding;
    TcpScale a;
    ASSERT_TRUE(a.Start(holding.Script()));
    ChooseScales({ &a });
    m_screen->Scales().CommSettings().SelectMode(std::nullopt);
    Switch(Screen::ItemTotal, "Scale_Result_Item_All_Read", "kim", m_db);
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RESULT_RECV);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Select a port.");
    EXPECT_EQ(a.Connections(), 0u);
}

} // namespace
