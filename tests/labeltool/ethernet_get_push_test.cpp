// Sending and fetching a label over TCP through the program's door: TCP/IP
// chosen in the Trans Mode dialog, Get and Put as menu commands, the Ethernet
// dialog's buttons clicked, against simulated scales on 127.0.0.x.

#include "labeltool/ethernet_get_push_dlg.h"
#include "labeltool/label_record.h"
#include "platform/base/cp949.h"
#include "platform/wnd/controls/progress.h"
#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"
#include "tests/support/scale_memory.h"
#include "tests/support/scale_sim.h"
#include "tests/support/test_thread.h"

namespace {

using scalesim::Bytes;
using scalesim::ScaleMemory;
using scalesim::TcpPacket;
using scalesim::TcpReply;
using scalesim::TcpScale;

constexpr std::uint16_t kAck = 0x0101;
constexpr std::uint16_t kData = 0x0005;

Bytes Label(std::uint32_t fileNumber, std::uint16_t labelLength)
{
    LabelValues values = DefaultLabelValues();
    values[3] = 123;
    values[ItemValueIndices(kItemAdvertisement).lines] = 1;
    UserLabelRecord record = LabelRecordFromValues(values, static_cast<int>(fileNumber));
    record.labelY = labelLength;
    return record.Encode();
}

// What the dialog showed when the transfer was over.
struct DialogView {
    CString log;
    CString status;
    int progress = -1;
    std::vector<CString> scales;
    std::vector<CString> adopted;
};

class EthernetTest : public TarnelTest {
protected:
    EthernetTest()
    {
        m_limits = CEthernetGetPushDlg::GetLimits();
        CEthernetGetPushDlg::SetLimits({ IDC_GP_LOG, IDC_GP_LOG, 300 });
        ChooseTcp();
    }
    ~EthernetTest() override { CEthernetGetPushDlg::SetLimits(m_limits); }

    static void WriteIni(const std::string& text)
    {
        TempDataRoot::WriteAll("C:\\Zuvinf.ini", Utf8ToCp949(text));
    }
    static std::vector<CString> Items(CDialog& dialog, int id)
    {
        std::vector<CString> items;
        auto* list = dynamic_cast<CListBox*>(dialog.GetDlgItem(id));
        CString text;
        for (int i = 0; list && i < list->GetCount(); ++i) {
            list->GetText(i, text);
            items.push_back(text);
        }
        return items;
    }
    // Runs command with the dialog's buttons clicked in order (0: none).
    DialogView Run(UINT command, std::vector<int> buttons)
    {
        DialogView view;
        ModalDialogScript::Push([&view, buttons](CDialog& dialog) {
            for (int id : buttons)
                AfxClickDlgButton(dialog, id);
            dialog.GetDlgItemText(IDC_GP_LOG, view.log);
            dialog.GetDlgItemText(IDC_GP_STATUS, view.status);
            if (auto* bar = dynamic_cast<CProgressCtrl*>(dialog.GetDlgItem(IDC_GP_PROGRESS)))
                view.progress = bar->GetPos();
            view.scales = Items(dialog, IDC_GP_SCALES);
            view.adopted = Items(dialog, IDC_GP_ADOPTED);
        });
        Command(*Frame(), command);
        return view;
    }

    EthernetLimits m_limits;
};

} // namespace

TEST_F(EthernetTest, PushGoesToEachAdoptedScaleInTurn)
{
    ScaleMemory first, third;
    TcpScale a, c;
    scalesim::OffScale b;
    ASSERT_TRUE(a.Start(first.Script()));
    ASSERT_TRUE(b.Start());
    ASSERT_TRUE(c.Start(third.Script()));
    const std::string refusing = b.Address();
    WriteIni("[SCALE]\r\nCOUNT=4\r\n[IP]\r\nSCALE0=A:" + a.Address() + "\r\nSCALE1=B:" + refusing
        + "\r\nSCALE2=C:" + c.Address()
        + "\r\nSCALE3=D:10.0.0.9\r\n[MODE]\r\nSCALE0=1\r\nSCALE1=1\r\nSCALE2=1\r\nSCALE3=0\r\n");
    const DialogView view = Run(ID_PUT_DATA, { IDC_GP_TRANSFER });
    const CString expected = CString("Log Start ------>\r\n") + "A:" + a.Address().c_str()
        + "  connected...  OK!\r\nMessage OK! End.\r\n" + "B:" + refusing.c_str()
        + "  connected...  Fail! Close.\r\n" + "C:" + c.Address().c_str()
        + "  connected...  OK!\r\nMessage OK! End.\r\n<------ Log End.\r\n\r\n";
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(view.progress, 12);
    EXPECT_EQ(view.scales, (std::vector<CString> { CString("D:10.0.0.9") }));
    const Bytes record = LabelRecordFromValues(Bar().GetValues(), 1).Encode();
    for (const ScaleMemory* memory : { &first, &third }) {
        EXPECT_EQ(memory->Table(4).at(1), record);
        EXPECT_EQ(memory->TaskResets(), 1);
    }
    const Bytes wire = c.ReceivedBytes();
    ASSERT_GE(wire.size(), 4u + 106u + 4u);
    EXPECT_EQ(Bytes(wire.begin(), wire.begin() + 4), (Bytes { 0x03, 0x00, 106, 0x00 }));
    EXPECT_EQ(Bytes(wire.end() - 4, wire.end()), (Bytes { 0x20, 0x41, 0x00, 0x00 }));
}

TEST_F(EthernetTest, PushCountsOnlyAnAcknowledgementAsSuccess)
{
    ScaleMemory refusing(ScaleMemory::Mode::Nak, 0x2025);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(refusing.Script()));
    WriteIni("[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=N:" + scale.Address() + "\r\n[MODE]\r\nSCALE0=1\r\n");
    const DialogView view = Run(ID_PUT_DATA, { IDC_GP_TRANSFER });
    EXPECT_NE(view.log.Find("  OK!\r\nMessage Fail! End.\r\n"), -1) << view.log;
    EXPECT_EQ(view.progress, 1);
}

TEST_F(EthernetTest, GetTakesWholePacketsHoweverTheyComeAndRefusesTheRest)
{
    const Bytes ack = TcpReply::Packet(kAck);
    const Bytes data = TcpReply::Packet(kData, Label(1, 445));

    const Bytes label = Label(1, 445);
    Bytes both = ack;
    both.insert(both.end(), data.begin(), data.end());
    struct Case {
        const char* name;
        std::vector<Bytes> writes;
        bool applied;
    };
    const Case cases[] = {
        { "one write", { both }, true },
        { "pieces",
            { Bytes(both.begin(), both.begin() + 2), Bytes(both.begin() + 2, both.begin() + 60),
                Bytes(both.begin() + 60, both.end()) },
            true },
        { "refusal", { ack, TcpReply::Packet(0x0100, { 0x28, 0x20 }) }, false },
        { "short record", { ack, TcpReply::Packet(kData, Bytes(label.begin(), label.end() - 1)) }, false },
        { "silence", {}, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&c](const TcpPacket&, std::size_t) { return TcpReply { c.writes }; }));
        WriteIni("[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=G:" + scale.Address() + "\r\n[MODE]\r\nSCALE0=1\r\n");
        AfxGetApp()->WriteProfileString("Settings", "rcvscale", CString("G:") + scale.Address().c_str());
        LabelParameterTable() = DefaultLabelValues();
        MessageBoxScript::Reset();
        const LabelValues before = Bar().GetValues();
        const auto started = std::chrono::steady_clock::now();
        const DialogView view = Run(ID_GET_DATA, { IDC_GP_TRANSFER });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        // The request: user-label table, one record, file number 1.
        ASSERT_EQ(scale.Received().size(), 1u);
        EXPECT_EQ(scale.Received()[0].payload, (Bytes { 4, 1, 1, 0, 0, 0 }));
        EXPECT_TRUE(view.adopted.empty());
        if (c.applied) {
            EXPECT_EQ(Boxes(), (std::vector<CString> { "Communication OK!" }));
            EXPECT_EQ(Bar().GetValues()[kValueLabelLength], 44);
            EXPECT_EQ(Bar().GetValues()[3], 123);
            EXPECT_EQ(Bar().GetValues()[ItemValueIndices(kItemAdvertisement).lines], 1);
        } else {
            EXPECT_TRUE(Boxes().empty());
            EXPECT_EQ(Bar().GetValues(), before);
            EXPECT_NE(view.log.Find("Message Fail! End."), -1) << view.log;
        }
        if (c.writes.empty()) {
            EXPECT_EQ(view.status.Find("WINSOCK ERROR--CLIENT: Receive timeout error #10060 -- "), 0)
                << view.status;
        }
    }
}

// A label of another number, or with values the viewer cannot take, is
// refused after the exchange and the values stay.
TEST_F(EthernetTest, AFetchedLabelIsCheckedBeforeItIsApplied)
{
    Bytes wide = Label(1, 400);
    wide[12] = 0x2A; // Goods Name X 7466 dots
    wide[13] = 0x1D;
    Bytes font = Label(1, 400);
    font[16] = 200;
    const struct {
        Bytes label;
        const char* box;
    } cases[] = {
        { Label(2, 400), "empty User Label item!!" },
        { wide, "Error - Goods Name X is : 1 ~ 700. value : 9333" },
        { font, "Error - Goods Name Font is : 0 ~ 8. value : 200" },
        { Label(1, 19870), "Error - Label Length is : 30 ~ 150. value : 1987" },
    };
    for (const auto& c : cases) {
        TcpScale scale;
        ASSERT_TRUE(scale.Start([&c](const TcpPacket&, std::size_t) {
            return TcpReply { { TcpReply::Packet(kAck), TcpReply::Packet(kData, c.label) } };
        }));
        AfxGetApp()->WriteProfileString("Settings", "rcvscale", CString("G:") + scale.Address().c_str());
        MessageBoxScript::Reset();
        const LabelValues before = Bar().GetValues();
        Run(ID_GET_DATA, { IDC_GP_TRANSFER });
        EXPECT_EQ(Boxes(), (std::vector<CString> { "Communication OK!", c.box }));
        EXPECT_EQ(Bar().GetValues(), before);
    }
}

// The greeting is taken from the front of the read and what follows it kept;
// a scale that gives no first message still ends its log line.
TEST_F(EthernetTest, TheGreetingAndEachScalesOutcome)
{
    enum class Scale { Glued, Silent, HangsUp };
    const struct {
        Scale kind;
        const char* line;
        bool applied;
    } cases[] = {
        { Scale::Glued, "  connected...  OK!\r\nMessage OK! End.\r\n<------ Log End.", true },
        { Scale::Silent, "  connected...  Fail! Close.\r\n<------ Log End.", false },
        { Scale::HangsUp, "  connected...  Fail! Close.\r\n<------ Log End.", false },
    };
    for (const auto& c : cases) {
        TcpScale scale;
        if (c.kind == Scale::Glued)
            scale.GlueToGreeting(TcpReply::Packet(kAck));
        ASSERT_TRUE(
            scale.Start([](const TcpPacket&,
                            std::size_t) { return TcpReply { { TcpReply::Packet(kData, Label(1, 445)) } }; },
                c.kind == Scale::Glued ? TcpScale::Greeting::Welcome : TcpScale::Greeting::None));
        AfxGetApp()->WriteProfileString("Settings", "rcvscale", CString("G:") + scale.Address().c_str());
        LabelParameterTable() = DefaultLabelValues();
        std::unique_ptr<TestThread> hangUp;
        if (c.kind == Scale::HangsUp)
            hangUp = std::make_unique<TestThread>([&scale] {
                if (scale.WaitForConnections(1, 5000))
                    scale.Disconnect();
            });
        const LabelValues before = Bar().GetValues();
        const DialogView view = Run(ID_GET_DATA, { IDC_GP_TRANSFER });
        EXPECT_NE(view.log.Find(c.line), -1) << view.log;
        EXPECT_EQ(Bar().GetValues() != before, c.applied) << view.log;
    }
}
