#include "ethernet/scale_records.h"
#include "platform/base/datetime.h"
#include "screens/transfer_ports.h"
#include "shell/view_hints.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/scale_memory.h"

// The work screen's transfer buttons over TCP, against simulated scales on
// 127.0.0.x:1239: every line of the scale list is a target, the items reach
// the scales, and what the scales hold comes back into the received-data
// database of the hour.

namespace {

using scalesim::ScaleMemory;
using scalesim::TcpScale;

class WorkScreenTcpTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        ASSERT_NE(m_screen->GetTransports(), nullptr);
        m_screen->SetTransferPort(m_screen->GetTransports());
        m_screen->GetTransports()->Jobs().SetTimings({ 250, 2000, 1000 });
        m_screen->m_commSettings.SelectMode(CCommSettings::kEthernet);
    }
    void TearDown() override
    {
        AfxSetClock(nullptr);
        WorkScreenFixture::TearDown();
    }

    void Command(int id) { m_screen->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool WaitForJobs()
    {
        return PumpUntil([&] { return m_screen->GetTransports()->Jobs().JobCount() == 0; },
            std::chrono::milliseconds(8000));
    }
    void ChooseScales(const std::vector<const TcpScale*>& scales)
    {
        m_screen->m_commSettings.m_scales.clear();
        for (const TcpScale* s : scales)
            m_screen->m_commSettings.m_scales.push_back(
                CString("Scale name = S, IP=") + s->Address().c_str());
    }
    std::size_t Boxes(const char* text) const
    {
        std::size_t n = 0;
        for (const MessageBoxRecord& r : MessageBoxScript::Records())
            n += r.text == text;
        return n;
    }
    CString ItemsWith(std::initializer_list<const char*> rows)
    {
        const CString db = MakeItemDatabase();
        std::vector<CString> sql;
        for (const char* values : rows)
            sql.push_back(CString("INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES(")
                + values + ", 'vexo')");
        Execute(db, sql);
        return db;
    }
};

scalesim::Bytes PluPayload(int number, const std::string& name)
{
    RecordRow row(16);
    row[1] = std::to_string(number);
    row[2] = name;
    row[4] = "990";
    return BuildPluRecord(row).Payload();
}

TEST_F(WorkScreenTcpTest, SendAllReachesEveryScaleOfTheListAndClearsTheActiveFlag)
{
    const CString db = ItemsWith({ "'41', 'Apple', '1500'", "'42', 'Kim''s pear', '2500'" });
    Switch(kHintItem, "Item_Read", "vexo", db);
    ScaleMemory first;
    ScaleMemory second;
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(first.Script(), TcpScale::Greeting::WelcomeNuls));
    ASSERT_TRUE(b.Start(second.Script()));
    ChooseScales({ &a, &b });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);

    Command(1009);
    EXPECT_EQ(m_screen->m_nTransferActive.load(), 1);
    ASSERT_TRUE(WaitForJobs());

    for (const ScaleMemory* memory : { &first, &second }) {
        const auto table = memory->Table(0);
        ASSERT_EQ(table.size(), 2u);
        PluRecord record;
        ASSERT_TRUE(PluRecord::Decode(std::span(table.at(42)).subspan(2), record));
        EXPECT_EQ(record.itemName, "Kim's pear");
        EXPECT_EQ(record.unitPrice, 2500u);
        EXPECT_EQ(memory->Clears(0), 1);
        EXPECT_EQ(memory->TaskResets(), 1);
    }
    EXPECT_EQ(Boxes("Trans Complete"), 2u);
    EXPECT_EQ(m_screen->m_nTransferActive.load(), 0);
    CEthTransStatusDlg& status = m_screen->GetTransports()->StatusDialog();
    const auto& lines = status.SentLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().Find("Data Send Finished"), -1);
    // Both scales' packets are in the window's lists: clear, two records and
    // the reset each, and the end of each job.
    ASSERT_TRUE(PumpUntil([&] { return status.m_listSent.GetCount() == 10; }));
    EXPECT_EQ(status.m_listSent.GetCount(), 10);
    EXPECT_EQ(status.m_listReceived.GetCount(), 8);
    CString line;
    status.m_listReceived.GetText(0, line);
    EXPECT_NE(line.Find("Data Recving......Packet Num =     1"), -1);
    // Stop and Close set the work screen's Ethernet stop flag.
    status.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ETH_STOP, 0), 0);
    EXPECT_EQ(m_screen->m_nEthernetStop.load(), 1);
    m_screen->m_nEthernetStop.store(0);
    status.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_EQ(m_screen->m_nEthernetStop.load(), 1);
    EXPECT_FALSE(status.IsWindowVisible());
}

TEST_F(WorkScreenTcpTest, ReceivesGoIntoTheDatabaseOfTheHourAndTheScale)
{
    AfxSetClock([] {
        std::tm t {};
        t.tm_year = 2007 - 1900;
        t.tm_mon = 2;
        t.tm_mday = 3;
        t.tm_hour = 9;
        t.tm_min = 41;
        t.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&t));
    });
    const CString db = ItemsWith({ "'1', 'Kept', '1'" });
    Switch(kHintItem, "Item_Read", "vexo", db);
    ScaleMemory memory;
    memory.Put(0, 1, PluPayload(1, "One"));
    memory.Put(0, 3, PluPayload(3, "O'Three"));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    const CString target
        = CString("C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\") + scale.Address().c_str() + ".mdb";

    Command(1001); // all
    ASSERT_TRUE(WaitForJobs());
    m_screen->m_editRecvNumbers.SetWindowText("1,7,3");
    Command(1002); // by numbers, 7 missing
    ASSERT_TRUE(WaitForJobs());

    EXPECT_EQ(Column(target, "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "One", "O'Three", "One", "O'Three" }));
    EXPECT_EQ(Column(target, "SELECT [mg_id] FROM [Item] WHERE [item_num] = '3'"),
        (std::vector<CString> { "vexo", "vexo" }));
    EXPECT_EQ(Boxes("Trans Complete"), 2u);
    EXPECT_EQ(Boxes("3 times out"), 0u);
    EXPECT_EQ(Column(db, "SELECT [item_name] FROM [Item]"), std::vector<CString> { "Kept" });
    // The last statement stays in the database mailbox, not signalled.
    EXPECT_EQ(m_screen->m_mailbox.Text(1003), "ITEM_REV");
    EXPECT_EQ(m_screen->m_mailbox.Text(1002).Find("INSERT INTO [Item]"), 0);
    EXPECT_NE(m_screen->m_mailbox.Text(1002).Find("'O''Three'"), -1);
}

TEST_F(WorkScreenTcpTest, SelectSendTakesThePickedRowsInPickOrder)
{
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'", "'43', 'C', '3'" });
    Switch(kHintItem, "Item_Read", "vexo", db);
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    Grid().m_bCtrlPick = 1;
    Grid().m_PickList[0] = 3;
    Grid().m_PickList[1] = 1;
    Grid().m_PickList[2] = 0;

    Command(1010);
    ASSERT_TRUE(WaitForJobs());

    std::vector<std::uint32_t> sent;
    for (const auto& p : scale.Received()) {
        if (p.command == 0x0003)
            sent.push_back(scalesim::RecordNumber(p.payload));
    }
    EXPECT_EQ(sent, (std::vector<std::uint32_t> { 43, 41 }));
    EXPECT_EQ(memory.Clears(0), 0);
}

TEST_F(WorkScreenTcpTest, StartsThatCannotRunAreRefusedBeforeAnyConnection)
{
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(kHintItem, "Item_Read", "vexo", db);
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(silent.Script()));

    // More than 180 scales.
    m_screen->m_commSettings.m_scales.assign(181, CString("Scale name = S, IP=") + scale.Address().c_str());
    MessageBoxScript::Reset();
    Command(1001);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "At most 180 scales can take part in one transfer.");
    // More than 999 numbers.
    ChooseScales({ &scale });
    m_screen->m_editRecvNumbers.SetWindowText("1-1000");
    MessageBoxScript::Reset();
    Command(1002);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "At most 999 numbers can be read at once.");
    EXPECT_EQ(scale.Connections(), 0u);
    // A start while a job runs.
    Command(1001);
    MessageBoxScript::Reset();
    Command(1001);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "A transfer is still running. Wait until it ends.");
    ASSERT_TRUE(WaitForJobs());
    EXPECT_EQ(scale.Connections(), 1u);
    EXPECT_EQ(Boxes("3 times out"), 1u);
}

} // namespace
