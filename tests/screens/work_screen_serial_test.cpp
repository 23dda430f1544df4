#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/base/datetime.h"
#include "platform/serial/serial_port.h"
#include "protocol/scale_records.h"
#include "resources/calvorn_ids.h"
#include "screens/transfer_ports.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/scale_memory.h"
#include "tests/support/serial_scale_model.h"

// The work screen's transfer buttons in serial mode, against a simulated scale
// on a pseudo-terminal: the items of the grid reach the scale, a read comes
// back into the received-data database of the hour, and the buttons and the
// transfer-active flag follow the walk.

namespace {

using scalesim::SerialScaleModel;

constexpr int kPort = 4;

// Holds the scale's answer to the n-th frame addressed to one scale ID until
// Release (or a deadline): that frame is in flight while the test acts.
class HeldFrame {
public:
    HeldFrame(std::string id, std::size_t n)
        : m_id(std::move(id))
        , m_n(n)
    { }
    ~HeldFrame() { Release(); }
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;

    scalesim::SerialScript Wrap(scalesim::SerialScript script) const
    {
        return [state = m_state, id = m_id, n = m_n, script = std::move(script)](
                   const scalesim::SerialFrame& frame, std::size_t index) {
            std::unique_lock lock(state->lock);
            if (frame.scaleId == id && ++state->seen == n) {
                state->holding = true;
                state->released.wait_for(
                    lock, TestDeadline(std::chrono::milliseconds(5000)), [&] { return state->free; });
            }
            lock.unlock();
            return script(frame, index);
        };
    }
    bool Holding() const
    {
        std::lock_guard lock(m_state->lock);
        return m_state->holding;
    }
    void Release()
    {
        std::lock_guard lock(m_state->lock);
        m_state->free = true;
        m_state->released.notify_all();
    }

private:
    struct State {
        std::mutex lock;
        std::condition_variable released;
        std::size_t seen = 0;
        bool holding = false;
        bool free = false;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::string m_id;
    std::size_t m_n;
};

class WorkScreenSerialTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        ASSERT_NE(m_screen->Transfers().GetTransports(), nullptr);
        ASSERT_NE(m_screen->Transfers().GetSerialTransfer(), nullptr);
        m_screen->Transfers().SetTransferPort(m_screen->Transfers().GetTransports());
        m_screen->Transfers().GetSerialTransfer()->GetEngine().SetReplyTimeout(2000);
        m_screen->Transfers().GetSerialTransfer()->GetLink().SetPause(1);
        m_screen->Scales().CommSettings().SelectMode(Transport::Serial);
        ChooseComPort(kPort);
        m_screen->Scales().CommSettings().SetChosen({ "Scale name = Front, Scale ID=7" });
    }
    void TearDown() override
    {
        AfxSetClock(nullptr);
        m_line.Stop();
        SetSerialDevicePath(kPort, "");
        WorkScreenFixture::TearDown();
    }
    void StartLine(SerialScaleModel& model) { StartLine(model.Script()); }
    void StartLine(scalesim::SerialScript script)
    {
        ASSERT_TRUE(m_line.Start(std::move(script)));
        SetSerialDevicePath(kPort, m_line.DevicePath());
    }
    bool WaitForWalk()
    {
        return PumpUntil([&] { return !m_screen->Transfers().GetSerialTransfer()->IsRunning(); },
            std::chrono::milliseconds(10000));
    }
    std::vector<CString> Texts() const
    {
        std::vector<CString> out;
        for (const MessageBoxRecord& r : MessageBoxScript::Records())
            out.push_back(r.text);
        return out;
    }

    scalesim::SerialScale m_line;
};

TEST_F(WorkScreenSerialTest, SendAllGoesToTheScaleAndGivesTheButtonsBack)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('41', 'Apple', '1500', "
          "'vexo')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('42', 'Kim''s pear', "
            "'2500', "
            "'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07" });
    StartLine(model);
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);

    ClickControl(IDC_WORK_TRANS_ALL);
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_ALL));
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_STOP));
    ASSERT_TRUE(WaitForWalk());

    const auto items = model.TablesOf("07")[0];
    ASSERT_EQ(items.size(), 2u);
    PluRecord pear;
    ASSERT_TRUE(PluRecord::Decode(std::span(items.at(42)).subspan(2), pear));
    EXPECT_EQ(pear.itemName, "Kim's pear");
    EXPECT_EQ(pear.unitPrice, 2500u);
    EXPECT_EQ(Texts(),
        (std::vector<CString> {
            "All item Data Delete, Are you OK?", "Front (ID 07): Trans Complete, 2 of 2 records sent." }));
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_ALL));
    EXPECT_TRUE(Enabled(IDC_WORK_SCALE_TRANS));
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_STOP));
    EXPECT_EQ(m_screen->Transfers().Hosts().SerialHost().GetSerialText(IDC_SERIAL_KIND), "");
}

TEST_F(WorkScreenSerialTest, ReadByNumbersLandsInTheDatabaseOfTheHourAndTheScale)
{
    SetLocalClock(2007, 3, 3, 9, 41);
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07" });
    for (int n : { 1, 3 }) {
        RecordRow row(16);
        row[1] = std::to_string(n);
        row[2] = "Item " + std::to_string(n);
        model.Put("07", BuildPluRecord(row).Payload());
    }
    StartLine(model);
    const CString target = "C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\07.mdb";
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "1,7,3");
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RECV_SELECT);
    ASSERT_TRUE(WaitForWalk());

    EXPECT_EQ(
        Texts(), (std::vector<CString> { target, "Trans Complete, 2 records stored in " + target + "." }));
    EXPECT_EQ(Column(target, "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "Item 1", "Item 3" }));
    EXPECT_EQ(Column(target, "SELECT [mg_id] FROM [Item]"), (std::vector<CString> { "vexo", "vexo" }));
    EXPECT_EQ(
        m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "ITEM_REV"); // the worker's, shown nowhere
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
}

TEST_F(WorkScreenSerialTest, StopEndsTheWalkAfterTheScaleBeingServed)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07", "08" });
    for (int n = 1; n <= 30; ++n) {
        RecordRow row(16);
        row[1] = std::to_string(n);
        model.Put("07", BuildPluRecord(row).Payload());
    }
    // 07's answer to its fourth frame (a record's acknowledgement) waits for the stop.
    HeldFrame held("07", 4);
    StartLine(held.Wrap(model.Script()));
    m_screen->Scales().CommSettings().AddChosen("Scale name = Back, Scale ID=08");
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RECV_ALL); // read: the walk serves 07, then 08
    ASSERT_TRUE(PumpUntil([&] { return held.Holding(); }));
    ASSERT_TRUE(ClickAtControl(*m_screen, IDC_WORK_TRANS_STOP)); // "Trans Stop", inside its group box 1034
    held.Release();
    ASSERT_TRUE(WaitForWalk());
    EXPECT_EQ(model.Joined(), std::vector<std::string> { "07" });
    EXPECT_LT(model.CommandsTo("07").size(), 8u); // the read ended at the held record
    EXPECT_TRUE(Enabled(IDC_WORK_RECV_ALL));
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_STOP));
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
}

TEST_F(WorkScreenSerialTest, ARunningTcpJobKeepsTheSerialStartGreyUntilItEnds)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('41', 'Apple', '1500', "
          "'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 60000, 2000, 1000 });
    scalesim::ScaleMemory silent(scalesim::ScaleMemory::Mode::Silent);
    scalesim::TcpScale tcpScale;
    ASSERT_TRUE(tcpScale.Start(silent.Script()));
    m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    m_screen->Scales().CommSettings().SetChosen(
        { CString("Scale name = S, IP=") + tcpScale.Address().c_str() });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return tcpScale.Received().size() == 1; }));
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);

    SerialScaleModel model({ "07" });
    StartLine(model);
    m_screen->Scales().CommSettings().SelectMode(Transport::Serial);
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = Front, Scale ID=7" });
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_ALL));
    const std::size_t boxes = MessageBoxScript::Count();
    ClickControl(IDC_WORK_TRANS_ALL);
    EXPECT_EQ(MessageBoxScript::Count(), boxes) << "no question while the TCP job runs";
    EXPECT_TRUE(model.TablesOf("07")[0].empty());
    // The TCP job still runs: a reservation of this manager must still wait.
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 1);

    for (int i = 0; i < 4; ++i)
        m_screen->SendMessage(WM_TIMER, 200, 0);
    ASSERT_TRUE(PumpUntil([&] { return m_screen->Transfers().GetTransports()->Jobs().JobCount() == 0; },
        std::chrono::seconds(8)));
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_ALL));
}

} // namespace

namespace {

std::string ItemName(const scalesim::Bytes& record)
{
    PluRecord plu;
    return PluRecord::Decode(std::span(record).subspan(2), plu) ? plu.itemName : std::string();
}

TEST_F(WorkScreenSerialTest, AnotherScreenChosenDuringASendChangesNothingSent)
{
    const CString db = MakeItemDatabase();
    for (const char* values : { "'41', 'A'", "'42', 'B'", "'43', 'C'", "'44', 'D'" })
        Execute(db,
            { CString("INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES(") + values
                + ", 'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07" });
    // 07's answer to its fourth frame (the second record) waits for the switch.
    HeldFrame held("07", 4);
    StartLine(held.Wrap(model.Script()));
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return held.Holding(); }));
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "kim", MakeItemDatabase("C:\\\\other.mdb"));
    ASSERT_TRUE(WaitForLoad());
    held.Release();
    ASSERT_TRUE(WaitForWalk());
    const auto items = model.TablesOf("07")[0];
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(
        ItemName(items.at(41)) + ItemName(items.at(42)) + ItemName(items.at(43)) + ItemName(items.at(44)),
        "ABCD");
    EXPECT_EQ(Texts().back(), "Front (ID 07): Trans Complete, 4 of 4 records sent.");
}

TEST_F(WorkScreenSerialTest, ALineClosedMidSendEndsWithoutSuccessTellingWhatWent)
{
    m_screen->Transfers().GetSerialTransfer()->GetEngine().SetReplyTimeout(
        static_cast<UINT>(TestDeadline(std::chrono::milliseconds(100)).count()));
    const CString db = MakeItemDatabase();
    for (const char* values : { "'41', 'A'", "'42', 'B'", "'43', 'C'" })
        Execute(db,
            { CString("INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES(") + values
                + ", 'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07" });
    auto script = model.Script();
    // Join, clear and the first record are answered; then the line goes.
    StartLine([script](const scalesim::SerialFrame& f, std::size_t index) {
        return index < 3 ? script(f, index) : scalesim::SerialReply::Silence();
    });
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_TRUE(PumpUntil([&] { return m_line.Received().size() >= 4; }));
    m_line.Stop();
    ASSERT_TRUE(WaitForWalk());
    EXPECT_EQ(model.TablesOf("07")[0].size(), 1u);
    const std::vector<CString> texts = Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Front (ID 07): No answer (Time out), 1 of 3 records sent.");
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                  [](const CString& text) { return text.Find("Trans Complete") >= 0; }),
        0);
}

TEST_F(WorkScreenSerialTest, ASecondReadGoesIntoTheFirstReadsDatabaseWithoutAPathMessage)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07" });
    RecordRow row(16);
    row[1] = "5";
    model.Put("07", BuildPluRecord(row).Payload());
    StartLine(model);
    const CString first = "C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\07.mdb";
    for (int hour : { 9, 13 }) {
        SetLocalClock(2007, 3, 3, hour, 41);
        MessageBoxScript::Reset();
        ClickControl(IDC_WORK_RECV_ALL);
        ASSERT_TRUE(WaitForWalk());
        const CString ending = "Trans Complete, 1 record stored in " + first + ".";
        const std::vector<CString> told
            = hour == 9 ? std::vector<CString> { first, ending } : std::vector<CString> { ending };
        EXPECT_EQ(Texts(), told);
    }
    EXPECT_EQ(Column(first, "SELECT [item_num] FROM [Item]"), (std::vector<CString> { "5", "5" }));
}

// Each scale's records go into its own database named by its ID; a scale
// that sends nothing gets none. Each ending names its scale, the count and
// the file.
TEST_F(WorkScreenSerialTest, AllReceiveFromThreeScalesGivesEachScaleItsOwnDatabase)
{
    SetLocalClock(2007, 3, 3, 9, 41);
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    SerialScaleModel model({ "07", "08", "09" });
    for (const char* id : { "07", "08" }) {
        for (int n = 1; n <= 12; ++n) {
            RecordRow row(16);
            row[1] = std::to_string(n);
            row[2] = std::string("from ") + id;
            model.Put(id, BuildPluRecord(row).Payload());
        }
    }
    StartLine(model);
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = Front, Scale ID=7",
        "Scale name = Back, Scale ID=08", "Scale name = Side, Scale ID=9" });
    MessageBoxScript::Reset();

    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_TRUE(WaitForWalk());

    const CString folder = "C:\\ZUVAR\\ScaleData\\2007-03-03\\9Hour\\";
    EXPECT_EQ(Texts(),
        (std::vector<CString> { folder + "07.mdb",
            "Front (ID 07): Trans Complete, 12 records stored in " + folder + "07.mdb.", folder + "08.mdb",
            "Back (ID 08): Trans Complete, 12 records stored in " + folder + "08.mdb.", folder + "09.mdb",
            "Side (ID 09): Trans Complete, no records stored." }));
    for (const char* id : { "07", "08" }) {
        const std::vector<CString> names = Column(folder + id + ".mdb", "SELECT [item_name] FROM [Item]");
        EXPECT_EQ(names, std::vector<CString>(12, CString("from ") + id)) << id;
    }
    EXPECT_FALSE(std::filesystem::exists(m_root.Native((folder + "09.mdb").GetString())));
    EXPECT_EQ(model.Joined(), (std::vector<std::string> { "07", "08", "09" }));
    EXPECT_EQ(m_screen->Transfers().GetTransferActive(), 0);
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_ALL));
}

} // namespace
