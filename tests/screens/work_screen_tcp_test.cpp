#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "ethernet/transfer_jobs.h"
#include "platform/base/datetime.h"
#include "platform/base/file_system.h"
#include "platform/wnd/controls/treectrl.h"
#include "platform/wnd/core/input_seam.h"
#include "protocol/scale_records.h"
#include "resources/calvorn_ids.h"
#include "screens/transfer_ports.h"
#include "serial/serial_transfer.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/command.h"
#include "tests/support/dlg_item.h"
#include "tests/support/scale_memory.h"

// The work screen's transfer buttons over TCP, against simulated scales on
// 127.0.0.x:1239: every line of the scale list is a target; items, preset
// pages and scale settings reach the scales, and what the scales hold comes
// back into the received-data database of the hour. Reply timers and socket
// messages reach their own job; a refused start leaves running jobs alone.

namespace {

using scalesim::ScaleMemory;
using scalesim::TcpPacket;
using scalesim::TcpReply;
using scalesim::TcpScale;

class WorkScreenTcpTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        ASSERT_NE(m_screen->Transfers().GetTransports(), nullptr);
        m_screen->Transfers().SetTransferPort(m_screen->Transfers().GetTransports());
        m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 250, 2000, 1000 });
        m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    }
    void TearDown() override
    {
        AfxSetClock(nullptr);
        WorkScreenFixture::TearDown();
    }

    bool WaitForJobs(std::chrono::milliseconds deadline = std::chrono::milliseconds(8000))
    {
        return PumpUntil(
            [&] { return m_screen->Transfers().GetTransports()->Jobs().JobCount() == 0; }, deadline);
    }
    void ChooseScales(const std::vector<const TcpScale*>& scales)
    {
        m_screen->Scales().CommSettings().ClearChosen();
        for (const TcpScale* s : scales)
            m_screen->Scales().CommSettings().AddChosen(
                CString("Scale name = S, IP=") + s->Address().c_str());
    }
    // Boxes of the text, alone or after the scale's name (several scales).
    std::size_t Boxes(const char* text) const
    {
        const std::string named = std::string(": ") + text;
        std::size_t n = 0;
        for (const MessageBoxRecord& r : MessageBoxScript::Records()) {
            // A read's ending goes on with what it stored.
            const std::string_view v = r.text.View().substr(0, r.text.View().find(','));
            n += v == std::string_view(text) || v.ends_with(named);
        }
        return n;
    }
    // Items 1 to 12 on the item screen.
    void ShowTwelveItems()
    {
        const CString db = MakeItemDatabase();
        std::vector<CString> sql;
        for (int n = 1; n <= 12; ++n)
            sql.push_back(CString::Formatted("INSERT INTO [Item]([item_num], [item_name], [unitprice], "
                                             "[mg_id]) VALUES(%d, 'I%d', 1, 'vexo')",
                n, n));
        Execute(db, sql);
        Switch(Screen::Item, "Item_Read", "vexo", db);
    }
    std::vector<CString> Texts() const
    {
        std::vector<CString> out;
        for (const MessageBoxRecord& r : MessageBoxScript::Records())
            out.push_back(r.text);
        return out;
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

constexpr const char* kSettingsDb = "C:\\Windows\\system\\Manager\\Manager_ScaleInfo.mdb";

std::uint32_t U32(const scalesim::Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16)
        | std::uint32_t(b.at(at + 3)) << 24;
}

std::uint16_t U16(const scalesim::Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

// A preset page as a scale holds it: 3, 1, page, then (item, key) per key.
scalesim::Bytes PresetPayload(
    std::uint32_t page, const std::vector<std::pair<std::uint32_t, std::uint16_t>>& keys)
{
    scalesim::Bytes b { 3, 1 };
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(page, 4);
    for (std::size_t k = 0; k < 60; ++k) {
        put(k < keys.size() ? keys[k].first : 0, 4);
        put(k < keys.size() ? keys[k].second : static_cast<std::uint16_t>(k + 1), 2);
    }
    return b;
}

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
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory first;
    ScaleMemory second;
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(first.Script(), TcpScale::Greeting::WelcomeNuls));
    ASSERT_TRUE(b.Start(second.Script()));
    ChooseScales({ &a, &b });
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 }); // both answer
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);

    ClickControl(IDC_WORK_TRANS_ALL);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);
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
    const auto records = MessageBoxScript::Records();
    for (const TcpScale* scale : { &a, &b }) {
        const CString named = CString("S (") + scale->Address().c_str() + "): Trans Complete";
        EXPECT_EQ(
            std::count_if(records.begin(), records.end(), [&](const auto& r) { return r.text == named; }), 1)
            << named;
    }
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
    CEthTransStatusDlg& status = m_screen->Transfers().GetTransports()->StatusDialog();
    const auto& lines = status.SentLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().Find("Data Send Finished"), -1);
    // Both scales' packets are in the window's lists: clear, two records and
    // the reset each, and the end of each job.
    ASSERT_TRUE(PumpUntil([&] { return DlgItem<CListBox>(status, IDC_ETH_SENT_LIST).GetCount() == 10; }));
    EXPECT_EQ(DlgItem<CListBox>(status, IDC_ETH_SENT_LIST).GetCount(), 10);
    EXPECT_EQ(DlgItem<CListBox>(status, IDC_ETH_RECEIVED_LIST).GetCount(), 8);
    CString line;
    DlgItem<CListBox>(status, IDC_ETH_RECEIVED_LIST).GetText(0, line);
    EXPECT_NE(line.Find("Data Recving......Packet Num =     1"), -1);
    // Stop and Close set the work screen's Ethernet stop flag.
    ASSERT_TRUE(ClickButton(status, IDC_ETH_STOP));
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 1);
    m_screen->Transfers().Hosts().Host().SetEthernetStop(0);
    ASSERT_TRUE(ClickButton(status, IDOK));
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 1);
    EXPECT_FALSE(status.IsWindowVisible());
}

TEST_F(WorkScreenTcpTest, ReceivesGoIntoTheDatabaseOfTheHourAndTheScale)
{
    SetLocalClock(2007, 3, 3, 9, 41);
    const CString db = ItemsWith({ "'1', 'Kept', '1'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory memory;
    memory.Put(0, 1, PluPayload(1, "One"));
    memory.Put(0, 3, PluPayload(3, "O'Three"));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    const CString target
        = CString("C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\") + scale.Address().c_str() + ".mdb";

    ClickControl(IDC_WORK_RECV_ALL); // all
    ASSERT_TRUE(WaitForJobs());
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "1,7,3");
    ClickControl(IDC_WORK_RECV_SELECT); // by numbers, 7 missing
    ASSERT_TRUE(WaitForJobs());

    EXPECT_EQ(Column(target, "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "One", "O'Three", "One", "O'Three" }));
    EXPECT_EQ(Column(target, "SELECT [mg_id] FROM [Item] WHERE [item_num] = '3'"),
        (std::vector<CString> { "vexo", "vexo" }));
    EXPECT_EQ(Boxes("Trans Complete"), 2u);
    EXPECT_EQ(Boxes("3 times out"), 0u);
    EXPECT_EQ(Column(db, "SELECT [item_name] FROM [Item]"), std::vector<CString> { "Kept" });
    CString progress;
    m_screen->GetDlgItemText(IDC_WORK_PROGRESS, progress);
    EXPECT_EQ(progress, "2"); // records stored by the last read
    // The last statement stays in the worker's mailbox (shown nowhere), not
    // signalled.
    EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "ITEM_REV");
    EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_WORK_RECV_SELECT).Find("INSERT INTO [Item]"), 0);
    EXPECT_NE(m_screen->Context().DbMailbox().Text(IDC_WORK_RECV_SELECT).Find("'O''Three'"), -1);
}

TEST_F(WorkScreenTcpTest, SelectSendTakesThePickedRowsInPickOrder)
{
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'", "'43', 'C', '3'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    ClickCell(3, 2);
    ClickCell(1, 2, MK_CONTROL);

    ClickControl(IDC_WORK_TRANS_SELECT);
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
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(silent.Script()));

    // More than 180 scales.
    m_screen->Scales().CommSettings().SetChosen(
        std::vector<CString>(181, CString("Scale name = S, IP=") + scale.Address().c_str()));
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "At most 180 scales can take part in one transfer.");
    // More than 999 numbers.
    ChooseScales({ &scale });
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "1-1000");
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RECV_SELECT);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "At most 999 numbers can be read at once.");
    EXPECT_EQ(scale.Connections(), 0u);
    // A start while a job runs: the buttons are grey, and Trans sent all the
    // same (as a key would) is refused before its question.
    ClickControl(IDC_WORK_RECV_ALL);
    for (int id : { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT })
        EXPECT_FALSE(Enabled(id)) << id;
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RECV_ALL);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    m_screen->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WORK_TRANS_ALL, 0), 0);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "A transfer is still running. Wait until it ends.");
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() == 1; }));
    for (int i = 0; i < 4; ++i)
        m_screen->SendMessage(WM_TIMER, 200, 0);
    ASSERT_TRUE(WaitForJobs());
    EXPECT_EQ(scale.Connections(), 1u);
    EXPECT_EQ(Boxes("3 times out"), 1u);
}

TEST_F(WorkScreenTcpTest, PresetSendCarriesTheChosenPageAndItsKeysThenResets)
{
    Switch(Screen::Preset, "Pre_Read", "vexo", MakeItemDatabase());
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    dynamic_cast<CComboBox*>(m_screen->GetDlgItem(IDC_PRESET_PAGE))->SetCurSel(1);
    m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY)->SetWindowText("41");
    m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY + 1)->SetWindowText("7\r\nfresh");
    m_screen->GetDlgItem(659)->SetWindowText("50000");
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_SCALE_TRANS);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);
    ASSERT_TRUE(WaitForJobs());

    EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0003, 0x4120 }));
    const scalesim::Bytes page = scale.Received().at(0).payload;
    ASSERT_EQ(page.size(), 366u);
    EXPECT_EQ(page[0], 3);
    EXPECT_EQ(U32(page, 2), 2u); // "Page 2"
    const std::pair<std::size_t, std::uint32_t> keys[] = { { 0, 41 }, { 1, 7 }, { 2, 0 }, { 59, 50000 } };
    for (const auto& [key, item] : keys) {
        EXPECT_EQ(U32(page, 6 + 6 * key), item) << key;
        EXPECT_EQ(U16(page, 10 + 6 * key), key + 1) << key;
    }
    EXPECT_EQ(memory.TaskResets(), 1);
    EXPECT_EQ(memory.Clears(3), 0);
    // No confirmation: the one box is the end of the job.
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Trans Complete");
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
}

TEST_F(WorkScreenTcpTest, PresetReadsAskForTheTypedPageOrForAllAndStoreTheKeys)
{
    SetLocalClock(2024, 3, 9, 0, 15);
    Switch(Screen::Preset, "Pre_Read", "vexo", MakeItemDatabase());
    ScaleMemory memory;
    memory.Put(3, 12, PresetPayload(12, { { 41, 1 }, { 7, 2 } }));
    memory.Put(3, 1, PresetPayload(1, { { 5, 1 } }));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    const CString target
        = CString("C:\\ZUVAR\\ScaleData\\2024-03-09\\0Hour\\") + scale.Address().c_str() + ".mdb";
    m_screen->SetDlgItemText(IDC_WORK_SCALE_RECV_PAGE, "12");

    ClickControl(IDC_WORK_SCALE_RECV_SELECT); // the page of edit IDC_WORK_SCALE_RECV_PAGE
    ASSERT_TRUE(WaitForJobs());
    ASSERT_TRUE(scale.WaitForPackets(2, 5000)); // the request, the acknowledgement of the page
    const std::vector<TcpPacket> asked = scale.Received();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].command, 0x0101);
    EXPECT_EQ(asked[0].command, 0x0004);
    ASSERT_EQ(asked[0].payload.size(), 6u);
    EXPECT_EQ(asked[0].payload[0], 3);
    EXPECT_EQ(scalesim::RecordNumber(asked[0].payload), 12u);
    const std::vector<CString> page12 = Column(target,
        "SELECT [page_num] || '|' || [num] || '|' || [str] FROM [Preset] WHERE [str] <> '0' ORDER BY [ID]");
    EXPECT_EQ(page12, (std::vector<CString> { "12|1|41", "12|2|7" }));
    // A preset page names no request word; its statements reach the SQL edit
    // of the worker's mailbox (shown nowhere).
    EXPECT_NE(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "ITEM_REV");
    EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_WORK_RECV_SELECT).Find("INSERT INTO [Preset]"), 0);

    ClickControl(IDC_WORK_SCALE_RECV_ALL); // every page
    ASSERT_TRUE(WaitForJobs());
    std::vector<scalesim::Bytes> requestsForAll;
    for (const TcpPacket& p : scale.Received()) {
        if (p.command == 0x0006)
            requestsForAll.push_back(p.payload);
    }
    EXPECT_EQ(requestsForAll, (std::vector<scalesim::Bytes> { { 3, 1 } }));
    EXPECT_EQ(Column(target, "SELECT DISTINCT [page_num] FROM [Preset] ORDER BY [page_num]"),
        (std::vector<CString> { "1", "12" }));
    EXPECT_EQ(Boxes("Trans Complete"), 2u);
    EXPECT_EQ(Boxes("3 times out"), 0u);
}

TEST_F(WorkScreenTcpTest, SettingsSendsTakeTheClickedRowThenRestartTheScale)
{
    struct Case {
        const char* name;
        Screen hint;
        const char* query;
        std::vector<CString> rows;
        int columns;
        ByteBuffer (*build)(const RecordRow&);
    };
    const Case cases[] = {
        { "scale information", Screen::ScaleInfo, "Scale_Info_Read",
            { "INSERT INTO [Scale_Info]([WeightNum], [PriceNum], [VAT]) VALUES('2', '3', '10')",
                "INSERT INTO [Scale_Info]([WeightNum], [PriceNum], [VAT]) VALUES('4', '5', '20')" },
            19, BuildScaleInfoRecord },
        { "network settings", Screen::ScaleRootInfo, "Scale_Root_Info_Read",
            { "INSERT INTO [Scale_Root_Info]([Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], "
              "[Destination_IP], [Destination_Port]) VALUES('1', '0', '7', '10.0.0.7', '255.0.0.0', "
              "'10.0.0.1', '4000')",
                "INSERT INTO [Scale_Root_Info]([Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], "
                "[Destination_IP], [Destination_Port]) VALUES('1', '2', '8', '10.0.0.8', '255.0.0.0', "
                "'10.0.0.1', '5000')" },
            7, BuildScaleRootInfoRecord },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        Execute(kSettingsDb, c.rows);
        Switch(c.hint, c.query, "vexo", MakeItemDatabase());
        ASSERT_EQ(Grid().GetRowCount(), 4);
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(memory.Script()));
        ChooseScales({ &scale });
        auto rowRecord = [&](int row) {
            RecordRow cells(static_cast<std::size_t>(c.columns) + 1);
            for (int col = 1; col <= c.columns; ++col)
                cells[static_cast<std::size_t>(col)] = Grid().GetItemText(row, col).Str();
            const ByteBuffer record = c.build(cells);
            return scalesim::Bytes(record.begin(), record.end());
        };
        ASSERT_NE(rowRecord(1), rowRecord(2));
        ClickCell(2, 1);
        MessageBoxScript::Reset();

        ClickControl(IDC_WORK_SCALE_INFO_TRANS);
        EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);
        ASSERT_TRUE(WaitForJobs());

        EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0003, 0x4130 }));
        EXPECT_EQ(scale.Received().at(0).payload, rowRecord(2));
        EXPECT_EQ(memory.ScaleResets(), 1);
        EXPECT_EQ(memory.TaskResets(), 0);
        ASSERT_EQ(MessageBoxScript::Count(), 1u);
        EXPECT_EQ(MessageBoxScript::Records()[0].text, "Trans Complete");
        EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
    }
}

TEST_F(WorkScreenTcpTest, SelectSendsTakeOnlyDataRowsOfThePickRangeOrDrag)
{
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'", "'43', 'C', '3'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    struct Case {
        const char* name;
        std::function<void()> pick;
        std::vector<std::uint32_t> sent;
    };
    const Case cases[] = {
        { "picks past the data rows", [this] { ClickCell(4, 2), ClickCell(2, 2, MK_CONTROL); }, { 42 } },
        { "drag upwards", [this] { DragCells(3, 2); }, { 42, 43 } },
        { "one row", [this] { ClickCell(1, 2); }, { 41 } },
        { "range over heading and last row", [this] { ClickCell(4, 1), ClickCell(0, 0, MK_SHIFT); },
            { 41, 42, 43 } },
    };
    for (const Case& c : cases) {
        const std::size_t before = scale.Received().size();
        c.pick();
        ClickControl(IDC_WORK_TRANS_SELECT);
        ASSERT_TRUE(WaitForJobs()) << c.name;
        std::vector<std::uint32_t> sent;
        const std::vector<TcpPacket> packets = scale.Received();
        for (std::size_t i = before; i < packets.size(); ++i) {
            if (packets[i].command == 0x0003)
                sent.push_back(scalesim::RecordNumber(packets[i].payload));
        }
        EXPECT_EQ(sent, c.sent) << c.name;
        EXPECT_EQ(packets.back().command, 0x4120) << c.name;
    }
    CString progress;
    m_screen->GetDlgItemText(IDC_WORK_PROGRESS, progress);
    EXPECT_EQ(progress, "3"); // the last job sent three records
    EXPECT_EQ(memory.Clears(0), 0);
}

TEST_F(WorkScreenTcpTest, ReplyTimersAndSocketMessagesReachTheirOwnJob)
{
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(silent.Script()));
    ASSERT_TRUE(b.Start(silent.Script()));
    ChooseScales({ &a, &b });
    MessageBoxScript::Reset();
    CTransferJobs& jobs = m_screen->Transfers().GetTransports()->Jobs();

    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_TRUE(PumpUntil([&] { return a.Received().size() == 1 && b.Received().size() == 1; }));
    ASSERT_NE(jobs.InSlot(1), nullptr);
    const UINT_PTR tokenB = jobs.InSlot(1)->GetToken();
    auto timer = [&](UINT id) { m_screen->SendMessage(WM_TIMER, id, 0); };

    // Timer 201 is the second scale's: its request goes again, the first's does not.
    timer(201);
    EXPECT_EQ(b.WaitForPackets(2, 5000), true);
    EXPECT_EQ(a.Received().size(), 1u);
    EXPECT_EQ(b.Received()[1].payload, b.Received()[0].payload);
    // Ids of no job, the serial and reservation ranges leave both alone.
    for (UINT id : { 199u, 202u, 599u, 600u, 601u })
        timer(id);
    EXPECT_EQ(m_screen->SendMessage(WM_TRANS_SOCKET_DATA, 0x7FFFFFFF, 0), 1);
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(a.Received().size(), 1u);
    EXPECT_EQ(b.Received().size(), 2u);
    // The third resend's time-out ends the second job alone.
    for (int i = 0; i < 3; ++i)
        timer(201);
    ASSERT_TRUE(PumpUntil([&] { return jobs.JobCount() == 1; }));
    EXPECT_TRUE(b.WaitForPackets(4, 5000));
    EXPECT_EQ(Boxes("3 times out"), 1u);
    EXPECT_EQ(jobs.Find(tokenB), nullptr);
    EXPECT_EQ(m_screen->SendMessage(WM_TRANS_SOCKET_DATA, tokenB, 0), 1);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1); // the first still runs
    for (int i = 0; i < 4; ++i)
        timer(200);
    ASSERT_TRUE(WaitForJobs());
    EXPECT_TRUE(a.WaitForPackets(4, 5000));
    EXPECT_EQ(a.Received().size(), 4u);
    EXPECT_EQ(b.Received().size(), 4u);
    EXPECT_EQ(Boxes("3 times out"), 2u);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
}

TEST_F(WorkScreenTcpTest, TransStopLeavesATcpJobRunningAndItsButtonsGrey)
{
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(silent.Script()));
    ChooseScales({ &scale });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);

    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() == 1; }));
    const int buttons[] = { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL,
        IDC_WORK_RECV_SELECT, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT };
    // While the TCP job runs the transfer buttons are grey.
    for (int id : buttons)
        EXPECT_FALSE(Enabled(id)) << id;
    m_screen->Panels().EnableTransStopButton(TRUE);

    ClickControl(IDC_WORK_TRANS_STOP);
    for (int id : buttons)
        EXPECT_FALSE(Enabled(id)) << id << ": the job still runs";
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_STOP));
    // The stop reaches the serial transfer.
    EXPECT_EQ(m_screen->Transfers().GetSerialTransfer()->GetSerialStop(), 1);
    // A TCP job is stopped from its progress window only.
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 0);
    EXPECT_EQ(m_screen->Transfers().GetTransports()->Jobs().JobCount(), 1u);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);
    for (int i = 0; i < 4; ++i)
        m_screen->SendMessage(WM_TIMER, 200, 0);
    ASSERT_TRUE(WaitForJobs());
    EXPECT_TRUE(scale.WaitForPackets(4, 5000));
    EXPECT_EQ(Boxes("3 times out"), 1u);
    for (int id : buttons)
        EXPECT_TRUE(Enabled(id)) << id << ": the job has ended";
}

TEST_F(WorkScreenTcpTest, ClosingTheProgramEndsRunningJobsWithoutABox)
{
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory silent(ScaleMemory::Mode::Silent);
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(silent.Script()));
    ASSERT_TRUE(b.Start(silent.Script()));
    ChooseScales({ &a, &b });
    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_TRUE(PumpUntil([&] { return a.Received().size() == 1 && b.Received().size() == 1; }));
    MessageBoxScript::Reset();

    m_app->m_pMainWnd->DestroyWindow();
    AfxRunMessageLoop();
    m_screen = nullptr;
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_EQ(a.Received().size(), 1u);
    EXPECT_EQ(b.Received().size(), 1u);
}

TEST_F(WorkScreenTcpTest, ARefusedStartKeepsTheStopAskedOfTheRunningJob)
{
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    Execute(
        kSettingsDb, { "INSERT INTO [Scale_Info]([WeightNum], [PriceNum], [VAT]) VALUES('2', '3', '10')" });
    const CString db = ItemsWith({ "'41', 'Apple', '1500'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    // The scale acknowledges the clear only when released.
    TcpScale scale;
    ASSERT_TRUE(scale.Start([](const TcpPacket& p, std::size_t) {
        return p.command == 0x0002 ? TcpReply::Split(TcpReply::Packet(0x0101), 0) : TcpReply::Ack();
    }));
    ChooseScales({ &scale });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() == 1; }));
    // The flag alone, as a Stop pressed while a box holds the job leaves it.
    m_screen->Transfers().Hosts().Host().SetEthernetStop(1);

    MessageBoxScript::Reset();
    m_screen->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WORK_RECV_ALL, 0), 0); // its button is grey
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 1);
    // The same from the scale settings screen.
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", MakeItemDatabase("C:\\\\other.mdb"));
    ClickCell(1, 1);
    ClickControl(IDC_WORK_SCALE_INFO_TRANS);
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 1);
    EXPECT_EQ(Boxes("A transfer is still running. Wait until it ends."), 2u);

    // The acknowledgement of the clear finds the stop: no record goes.
    scale.Release();
    ASSERT_TRUE(WaitForJobs());
    EXPECT_EQ(Commands(scale), std::vector<std::uint16_t> { 0x0002 });
    EXPECT_EQ(Boxes("Trans Complete"), 0u);
    // The next start that goes ahead clears the stop.
    ClickControl(IDC_WORK_SCALE_INFO_TRANS);
    EXPECT_EQ(m_screen->Transfers().Hosts().Host().GetEthernetStop(), 0);
    ASSERT_TRUE(WaitForJobs());
    EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0002, 0x0003, 0x4130 }));
    EXPECT_EQ(Boxes("Trans Complete"), 1u);
}

} // namespace

namespace {

// A scale that holds its answer to packet `at` until Let() is called (or its
// deadline passes), so that the user can act while a transfer runs.
class HoldingScale {
public:
    explicit HoldingScale(std::size_t at)
        : m_at(at)
    { }
    scalesim::TcpScript Script(ScaleMemory& memory)
    {
        return [this, &memory](const TcpPacket& p, std::size_t index) {
            if (index == m_at) {
                std::unique_lock<std::mutex> guard(m_lock);
                m_changed.wait_for(guard, std::chrono::seconds(8), [&] { return m_let; });
            }
            return memory.Answer(p);
        };
    }
    void Let()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_let = true;
        }
        m_changed.notify_all();
    }

private:
    const std::size_t m_at;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_let = false;
};

TEST_F(WorkScreenTcpTest, AnotherScreenChosenDuringATransferChangesNothingItCarries)
{
    SetLocalClock(2024, 3, 9, 10, 0);
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'", "'43', 'C', '3'", "'44', 'D', '4'" });
    const CString other = MakeItemDatabase("C:\\\\other.mdb");
    struct Case {
        const char* name;
        int command; // IDC_WORK_TRANS_ALL or IDC_WORK_RECV_ALL
        std::size_t holdAt; // the packet whose answer waits for the switch
    };
    const Case cases[] = {
        { "send, right after the clear", IDC_WORK_TRANS_ALL, 0 },
        { "send, mid-way", IDC_WORK_TRANS_ALL, 2 },
        { "read, mid-way", IDC_WORK_RECV_ALL, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        Switch(Screen::Item, "Item_Read", "vexo", db);
        ASSERT_TRUE(WaitForLoad());
        ScaleMemory memory;
        for (int n = 1; n <= 3; ++n)
            memory.Put(0, static_cast<std::uint32_t>(n), PluPayload(n, "R"));
        HoldingScale holding(c.holdAt);
        TcpScale scale;
        ASSERT_TRUE(scale.Start(holding.Script(memory)));
        ChooseScales({ &scale });
        MessageBoxScript::PushAnswer(IDYES);
        ClickControl(c.command);
        ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() > c.holdAt; }));
        // The user picks the scale settings of another manager meanwhile.
        Switch(Screen::ScaleInfo, "Scale_Info_Read", "kim", other);
        ASSERT_TRUE(WaitForLoad());
        holding.Let();
        ASSERT_TRUE(WaitForJobs());
        EXPECT_EQ(Boxes("Trans Complete"), 1u);
        if (c.command == IDC_WORK_TRANS_ALL) {
            const auto items = memory.Table(0);
            ASSERT_EQ(items.size(), 4u);
            char name = 'A';
            for (const auto& [number, record] : items) {
                std::vector<ReceivedRow> rows;
                ASSERT_TRUE(
                    ParseReceivedRecord(RecordKind::Item, record, {}, RecordCarriage::Tcp, rows).ok());
                EXPECT_EQ(rows.at(0).values.at(0), std::to_string(number));
                EXPECT_EQ(rows.at(0).values.at(1), std::string(1, name++)) << "the name of item " << number;
            }
        } else {
            const CString target
                = CString("C:\\ZUVAR\\ScaleData\\2024-03-09\\10Hour\\") + scale.Address().c_str() + ".mdb";
            EXPECT_EQ(Column(target, "SELECT [mg_id] FROM [Item]"),
                (std::vector<CString> { "vexo", "vexo", "vexo" }));
        }
    }
}

// The user clicks "Scale Info" in the left tree while a send waits for the
// scale: the settings screen comes up, and the scale still gets every item.
TEST_F(WorkScreenTcpTest, AClickInTheTreeDuringASendLeavesTheItemsItCarries)
{
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'", "'43', 'C', '3'" });
    FileDialogScript::PushPath(db);
    Command(*GetMainFrame(), ID_FILE_OPEN); // File Open fills the tree
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ASSERT_TRUE(WaitForLoad());
    ScaleMemory memory;
    HoldingScale holding(2);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(holding.Script(memory)));
    ChooseScales({ &scale });
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() > 2; }));

    auto& tree = *static_cast<CTreeCtrl*>(LeftPane()->GetDlgItem(IDC_CATEGORY_TREE));
    HTREEITEM scaleInfo = nullptr;
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
        for (HTREEITEM entry = tree.GetChildItem(group); entry; entry = tree.GetNextSiblingItem(entry)) {
            if (tree.GetItemText(entry) == "Scale Info") {
                scaleInfo = entry;
                tree.Expand(group, TVE_EXPAND); // the user opens its group
            }
        }
    }
    CRect place;
    ASSERT_TRUE(tree.GetItemRect(scaleInfo, &place, TRUE));
    ASSERT_TRUE(AfxSimulateClick(tree.GetSafeHwnd(), place.CenterPoint()));
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(Caption(), "Scale Information");
    holding.Let();
    ASSERT_TRUE(WaitForJobs());

    EXPECT_EQ(Boxes("Trans Complete"), 1u);
    std::vector<std::string> names;
    for (const auto& [number, record] : memory.Table(0)) {
        std::vector<ReceivedRow> rows;
        ASSERT_TRUE(ParseReceivedRecord(RecordKind::Item, record, {}, RecordCarriage::Tcp, rows).ok());
        names.push_back(rows.at(0).values.at(0) + " " + rows.at(0).values.at(1));
    }
    EXPECT_EQ(names, (std::vector<std::string> { "41 A", "42 B", "43 C" }));
}

// A select send with no row picked is refused before anything connects, also
// with numbers typed in the example field.
TEST_F(WorkScreenTcpTest, SelectSendWithoutAPickedRowIsRefused)
{
    const CString db = ItemsWith({ "'41', 'A', '1'", "'42', 'B', '2'" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "2,4");
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_TRANS_SELECT);
    PumpFor(std::chrono::milliseconds(50));

    EXPECT_EQ(Boxes("No row is picked: pick the rows to send first."), 1u);
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(scale.Connections(), 0u);
    EXPECT_EQ(m_screen->Transfers().GetTransports()->Jobs().JobCount(), 0u);
}

// A TCP answer carries no number. A scale that answers a record late, past
// its reply timer, answers its resend too; a slow scale answers every packet
// past it; another acknowledges every record twice, or a few with a stray
// acknowledgement. Each answer is matched to what was sent, and each ending
// says what the scale holds.
struct AnswerCase {
    const char* name;
    ScaleMemory::Faults faults;
    std::size_t held;
    std::vector<CString> boxes; // "%s" the scale
    std::size_t records; // record packets the scale received (0: at least 12)
    std::chrono::milliseconds answerTime { 0 }; // each answer that late (0: at once)
};

// The reply time stretches with slower builds, at most four times: the slow
// cases answer fourteen packets each past it.
UINT AnswerCaseReplyMs()
{
    return 250u * static_cast<UINT>(std::min(TestTimeScale(), 4));
}

AnswerCase AnswerCaseAt(int index)
{
    const UINT reply = AnswerCaseReplyMs();
    const std::chrono::milliseconds late(reply * 7 / 5); // 4.2 s against 3 s
    const char* unmatched = "Trans Failed (the scale's answers could not be matched to the packets sent)";
    const CString full = "S (%s): Trans Failed (SCALE memory full), 11 of 12 records sent.";
    const auto after = [reply](int tenths) { return std::chrono::milliseconds(reply * tenths / 30); };
    const AnswerCase cases[] = {
        { "late", { 5, late, false, 0 }, 12, { "Trans Complete" }, 13 },
        { "late, memory full", { 5, late, false, 11 }, 11, { "SCALE memory full", full }, 13 },
        { "twice, memory full", { 0, {}, true, 11 }, 11,
            { CString("S (%s): ") + unmatched + ", 11 of 12 records sent for certain." }, 12 },
        { "twice", { 0, {}, true, 0 }, 12,
            { CString("S (%s): ") + unmatched + ", 12 of 12 records sent for certain." }, 12 },
        { "two strays, memory full", { 0, {}, false, 11, { 3, 7 } }, 11,
            { CString("S (%s): ") + unmatched + ", 11 of 12 records sent for certain." }, 12 },
        { "a stray, memory full", { 0, {}, false, 11, { 5 } }, 11,
            { "SCALE memory full", CString("S (%s): ") + unmatched + ", 11 of 12 records sent for certain." },
            12 },
        { "3.5 s", {}, 12, { "Trans Complete" }, 0, after(35) },
        { "3.5 s, memory full", { 0, {}, false, 11 }, 11, { "SCALE memory full", full }, 0, after(35) },
        { "4.5 s", {}, 12, { "Trans Complete" }, 0, after(45) },
        { "6.5 s", {}, 12, { "Trans Complete" }, 0, after(65) },
    };
    return cases[index];
}

class WorkScreenTcpAnswerTest : public WorkScreenTcpTest, public ::testing::WithParamInterface<int> { };

TEST_P(WorkScreenTcpAnswerTest, EveryAnswerIsMatchedToThePacketItAnswers)
{
    const UINT reply = AnswerCaseReplyMs();
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ reply, 2000, 1000, reply / 2 });
    ShowTwelveItems();
    const AnswerCase c = AnswerCaseAt(GetParam());
    SCOPED_TRACE(c.name);
    ScaleMemory memory(
        c.answerTime.count() > 0 ? ScaleMemory::Mode::Slow : ScaleMemory::Mode::Normal, 0x2027, c.answerTime);
    memory.SetFaults(c.faults);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ChooseScales({ &scale });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(WaitForJobs(std::chrono::milliseconds(16 * reply + 20 * 3 * c.answerTime.count())));
    std::vector<CString> boxes { "All item Data Delete, Are you OK?" };
    for (const CString& b : c.boxes)
        boxes.push_back(CString::Formatted(b.GetString(), scale.Address().c_str()));
    EXPECT_EQ(Texts(), boxes);
    EXPECT_EQ(memory.Table(0).size(), c.held);
    if (c.records > 0)
        EXPECT_EQ(memory.RecordsReceived(), c.records);
    else
        EXPECT_GE(memory.RecordsReceived(), 12u);
    // The reset went last, once: the job read the scale's answers to the end.
    EXPECT_EQ(memory.TaskResets(), 1);
    EXPECT_EQ(Commands(scale).back(), 0x4120);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkScreenTcpAnswerTest, ::testing::Range(0, 10));

// Stop or Close while a record's answer is due: nothing more is sent, the
// answer is awaited, and the count is what the scale holds.
TEST_F(WorkScreenTcpTest, AStopWaitsForTheAnswerToTheRecordInFlight)
{
    const UINT reply = 250u * static_cast<UINT>(TestTimeScale());
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ reply, 2000, 1000 });
    ShowTwelveItems();
    CEthTransStatusDlg& status = m_screen->Transfers().GetTransports()->StatusDialog();
    struct Case {
        const char* name;
        int button;
        std::size_t acked; // records acknowledged when it is pressed
        int scales;
    };
    for (const Case& c : { Case { "Stop", IDC_ETH_STOP, 3, 1 }, Case { "Close", IDOK, 5, 1 },
             Case { "three scales", IDC_ETH_STOP, 3, 3 } }) {
        SCOPED_TRACE(c.name);
        // Every answer held 1.2 s against the 3 s reply timer.
        std::vector<std::unique_ptr<ScaleMemory>> memories;
        std::vector<std::unique_ptr<TcpScale>> scales;
        std::vector<const TcpScale*> chosen;
        for (int i = 0; i < c.scales; ++i) {
            memories.push_back(std::make_unique<ScaleMemory>(
                ScaleMemory::Mode::Slow, 0, std::chrono::milliseconds(reply * 2 / 5)));
            scales.push_back(std::make_unique<TcpScale>());
            ASSERT_TRUE(scales.back()->Start(memories.back()->Script()));
            chosen.push_back(scales.back().get());
        }
        ChooseScales(chosen);
        m_screen->Transfers().Hosts().Host().SetEthernetStop(0);
        MessageBoxScript::Reset();
        MessageBoxScript::PushAnswer(IDYES);
        ClickControl(IDC_WORK_TRANS_ALL);
        // The clear, the records acknowledged and the next one have arrived.
        ASSERT_TRUE(PumpUntil(
            [&] { return status.IsWindowVisible() && scales[0]->Received().size() == c.acked + 2; }));
        ASSERT_TRUE(ClickButton(status, c.button));
        ASSERT_TRUE(WaitForJobs());
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), 1u + scales.size());
        for (std::size_t i = 0; i < scales.size(); ++i) {
            const std::size_t held = memories[i]->Table(0).size();
            const CString ending = CString::Formatted("S (%s): Trans Stopped, %d of 12 records sent.",
                scales[i]->Address().c_str(), static_cast<int>(held));
            EXPECT_EQ(std::count(texts.begin(), texts.end(), ending), 1) << ending;
            EXPECT_EQ(memories[i]->RecordsReceived(), held) << "nothing sent after the stop";
        }
        EXPECT_EQ(memories[0]->Table(0).size(), c.acked + 1);
    }
}

// A read's ending says how many records it stored and where; a scale that
// sent nothing, or was not reached, leaves no file.
TEST_F(WorkScreenTcpTest, AReadsEndingNamesItsFileAndAnEmptyReadLeavesNone)
{
    SetLocalClock(2007, 3, 3, 9, 41);
    Switch(Screen::Item, "Item_Read", "vexo", ItemsWith({ "'1', 'Kept', '1'" }));
    ScaleMemory full;
    full.Put(0, 1, PluPayload(1, "One"));
    full.Put(0, 3, PluPayload(3, "Three"));
    ScaleMemory empty;
    TcpScale a;
    TcpScale b;
    scalesim::OffScale off;
    ASSERT_TRUE(a.Start(full.Script()));
    ASSERT_TRUE(b.Start(empty.Script()));
    ASSERT_TRUE(off.Start());
    m_screen->Scales().CommSettings().ClearChosen();
    for (const std::string& address : { a.Address(), b.Address(), off.Address() })
        m_screen->Scales().CommSettings().AddChosen(CString("Scale name = S, IP=") + address.c_str());
    auto file = [](const std::string& address) {
        return CString("C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\") + address.c_str() + ".mdb";
    };
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_TRUE(WaitForJobs());

    EXPECT_EQ(Column(file(a.Address()), "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "One", "Three" }));
    auto texts = Texts();
    std::sort(texts.begin(), texts.end());
    std::vector<CString> expected { CString::Formatted("S (%s): Trans Complete, 2 records stored in %s.",
                                        a.Address().c_str(), file(a.Address()).GetString()),
        CString::Formatted("S (%s): Trans Complete, no records stored.", b.Address().c_str()),
        CString::Formatted("S (%s): Connection Failed", off.Address().c_str()) };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(texts, expected);
    for (const std::string& address : { b.Address(), off.Address() })
        EXPECT_EQ(GetFileAttributes(file(address)), INVALID_FILE_ATTRIBUTES) << address;
}

} // namespace
