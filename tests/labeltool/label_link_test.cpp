// Sending and fetching a label over the serial line, through the program's
// door: Serial Join through its dialog, Get and Put as menu commands, against
// simulated scales on a pseudo-terminal that answer as real ones may.

#include "labeltool/label_record.h"
#include "platform/serial/serial_port.h"
#include "protocol/scale_records.h"
#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/scale_sim.h"
#include "tests/support/serial_scale_model.h"

namespace {

using scalesim::Bytes;
using scalesim::SerialFrame;
using scalesim::SerialReply;
using scalesim::SerialScale;
using scalesim::SerialScaleModel;

constexpr std::uint16_t kRecord = 0x0003;
constexpr std::uint16_t kRequest = 0x0004;
constexpr std::uint16_t kData = 0x0005;
constexpr std::uint16_t kAck = 0x0101;
constexpr std::uint16_t kEndJoin = 0x0400;

// A stored label: every field distinct, label length 44 mm written as 445.
Bytes StoredLabel(std::uint32_t fileNumber)
{
    LabelValues values = DefaultLabelValues();
    for (int i = 3; i < kLabelValueCount; ++i)
        values[static_cast<std::size_t>(i)] = 10 + 7 * i;
    for (int item = 0; item < kLabelItemCount; ++item)
        values[ItemValueIndices(item).font] = 1 + item % 6;
    values[ItemValueIndices(kItemAddition).lines] = 4;
    values[kValueBarcodeOrientation] = 1;
    values[kValueBarcodeLength] = 33;
    values[ItemValueIndices(kItemAdvertisement).lines] = 1;
    UserLabelRecord record = LabelRecordFromValues(values, static_cast<int>(fileNumber));
    record.labelY = 445;
    return record.Encode();
}

class LabelLinkTest : public TarnelTest {
protected:
    LabelLinkTest() { Bar().SetLinkTimings({ 150, 10, 0 }); }
    ~LabelLinkTest() override
    {
        for (UINT port = 1; port <= 4; ++port)
            SetSerialDevicePath(port, "");
    }

    // Serial Join on COM<port> through its dialog (the port picked by keys).
    bool Join(const SerialScale& scale, int portIndex = 0, bool cancel = false)
    {
        MessageBoxScript::Reset();
        // The port opens first as it was (COM2 at first), then as chosen.
        SetSerialDevicePath(static_cast<UINT>(Bar().GetPortIndex() + 1), scale.DevicePath());
        SetSerialDevicePath(static_cast<UINT>(portIndex + 1), scale.DevicePath());
        ModalDialogScript::Push([portIndex, cancel](CDialog& dialog) {
            const HWND ports = dialog.GetDlgItem(IDC_SERIAL_PORT)->GetSafeHwnd();
            AfxSimulateKey(ports, VK_HOME);
            for (int i = 0; i < portIndex; ++i)
                AfxSimulateKey(ports, VK_DOWN);
            AfxClickDlgButton(dialog, cancel ? IDCANCEL : IDOK);
        });
        Command(*Frame(), ID_SERIAL_JOIN);
        for (const CString& box : Boxes())
            ADD_FAILURE() << "box: " << box;
        return Frame()->IsJoined() != FALSE;
    }
    bool WaitForBoxes(std::size_t count)
    {
        return PumpUntil([&] { return Boxes().size() >= count; }, std::chrono::milliseconds(5000));
    }
    // The one box an exchange ended with; no other follows within a while.
    CString Outcome()
    {
        if (!WaitForBoxes(1))
            return "(none)";
        PumpFor(std::chrono::milliseconds(400));
        return Boxes().size() == 1 ? Boxes().front() : CString("(several)");
    }
    void UseMulti(const char* scale)
    {
        Click(IDC_RS232_MULTI);
        Type(IDC_SCALE_NUMBER, scale);
    }
    std::vector<std::uint16_t> Commands(const SerialScale& scale) const
    {
        std::vector<std::uint16_t> commands;
        for (const SerialFrame& frame : scale.Received())
            commands.push_back(frame.join ? 0 : frame.command);
        return commands;
    }
};

} // namespace

TEST_F(LabelLinkTest, PushAndGetInAloneAndMultiMode)
{
    SerialScaleModel model({ "98", "07" });
    SerialScale scale;
    ASSERT_TRUE(scale.Start(model.Script()));
    ASSERT_TRUE(Join(scale));
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "COM1 38400 None 8 1");
    // Alone: scale 98 answers the join of the default scale number.
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Outcome(), "Communication OK");
    ASSERT_EQ(model.TablesOf("98")[4].size(), 1u);
    EXPECT_EQ(model.TablesOf("98")[4][1], LabelRecordFromValues(Bar().GetValues(), 1).Encode());
    EXPECT_EQ(model.CommandsTo("98"), (std::vector<std::uint16_t> { kRecord, kEndJoin }));
    // Multi: scale 07 fetches its label 3, which replaces the values.
    model.Put("07", StoredLabel(3));
    UseMulti("7");
    Type(IDC_FILE_NUMBER, "3");
    MessageBoxScript::Reset();
    Command(*Frame(), ID_GET_DATA);
    EXPECT_EQ(Outcome(), "Communication OK");
    EXPECT_EQ(model.CommandsTo("07"), (std::vector<std::uint16_t> { kRequest, kAck, kEndJoin }));
    // The request: user-label table, one record, the file number.
    const SerialFrame request = scale.Received().at(scale.Received().size() - 3);
    EXPECT_EQ(request.payload, (Bytes { 4, 1, 3, 0, 0, 0 }));
    UserLabelRecord stored;
    ASSERT_TRUE(UserLabelRecord::Decode(StoredLabel(3), stored));
    LabelValues expected = LabelValuesFromRecord(stored);
    EXPECT_EQ(Bar().GetValues(), expected);
    EXPECT_FALSE(Bar().IsModified()); // a received label is nothing to save
    EXPECT_EQ(Bar().GetValues()[kValueLabelLength], 44);
    EXPECT_EQ(LabelParameterTable(), expected);
    EXPECT_EQ(Text(IDC_LABEL_LENGTH), "44");
}

TEST_F(LabelLinkTest, TheWindowAnswersDuringThePauseBeforeTheNextFrame)
{
    // Between the scale's answer to the label and the end of the join the
    // pause is kept, and the window goes on taking its messages and keys: the
    // pump turns many times (one turn takes at most 5 ms of a 1.5 s pause).
    Bar().SetLinkTimings({ 3000, 10, 1500 });
    SerialScaleModel model({ "98" });
    SerialScale scale;
    ASSERT_TRUE(scale.Start(model.Script()));
    ASSERT_TRUE(Join(scale));
    Command(*Frame(), ID_PUT_DATA);
    int turns = 0;
    bool typed = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            const std::vector<std::uint16_t> commands = model.CommandsTo("98");
            if (commands.size() == 1 && ++turns == 50) {
                Type(IDC_FILE_NUMBER, "2");
                typed = Text(IDC_FILE_NUMBER) == "2" && Bar().IsExchanging();
            }
            return commands.size() >= 2;
        },
        std::chrono::milliseconds(10000)));
    EXPECT_TRUE(typed);
    EXPECT_EQ(Outcome(), "Communication OK");
    EXPECT_EQ(model.CommandsTo("98"), (std::vector<std::uint16_t> { kRecord, kEndJoin }));
}

TEST_F(LabelLinkTest, JoinRepliesFromAnotherScaleCountOnlyInAloneMode)
{
    // A scale that answers every join as scale 45, then with the joined
    // scale's reply that lost its STX: only an STX starts a reply.
    SerialScale scale;
    ASSERT_TRUE(scale.Start([](const SerialFrame& frame, std::size_t) {
        if (!frame.join)
            return SerialReply::Ack("45");
        SerialReply reply = SerialReply::JoinReply(frame);
        reply.writes.push_back(reply.writes[0]);
        reply.writes[1][0] = 0;
        reply.writes[0][6] = '4';
        reply.writes[0][7] = '5';
        return reply;
    }));
    ASSERT_TRUE(Join(scale));
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Outcome(), "Communication OK");
    MessageBoxScript::Reset();
    UseMulti("7");
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Outcome(), "Error - Communication");
}

TEST_F(LabelLinkTest, RefusalsAndFaultsEndTheExchangeWithTheirBox)
{
    struct Case {
        const char* name;
        UINT command;
        std::function<void(SerialScaleModel&)> setUp;
        const char* box;
    };
    const Case cases[] = {
        { "newer version", ID_PUT_DATA, [](SerialScaleModel& m) { m.SetVersion("98", '3'); },
            "원하는 버젼에 따른 메시지 출력" },
        { "record refused", ID_PUT_DATA,
            [](SerialScaleModel& m) {
                m.SetRefusal([](const SerialFrame& f) -> std::optional<std::uint16_t> {
                    return f.command == kRecord ? std::optional<std::uint16_t>(0x2025) : std::nullopt;
                });
            },
            "에러 수신" },
        // No label 1: the request is acknowledged and refused, the join ended, the refusal told.
        { "request refused", ID_GET_DATA, [](SerialScaleModel&) {}, "에러 수신" },
        // A label the viewer cannot take is refused whole.
        { "label out of range", ID_GET_DATA,
            [](SerialScaleModel& m) {
                Bytes label = StoredLabel(1);
                label[12] = 0xFF; // Goods Name X 65535 dots
                label[13] = 0xFF;
                m.Put("98", label);
            },
            "Error - Goods Name X is : 1 ~ 700. value : 81919" },
        // The first answer to the record has a wrong sum: the record is sent again.
        { "wrong sum", ID_PUT_DATA,
            [](SerialScaleModel& m) {
                auto spoiled = std::make_shared<int>(0);
                m.SetCorrupt(
                    [spoiled](const SerialFrame& f) { return f.command == kRecord && (*spoiled)++ == 0; });
            },
            "Communication OK" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SerialScaleModel model({ "98" });
        c.setUp(model);
        SerialScale scale;
        ASSERT_TRUE(scale.Start(model.Script()));
        ASSERT_TRUE(Join(scale));
        MessageBoxScript::Reset();
        const LabelValues before = Bar().GetValues();
        Command(*Frame(), c.command);
        EXPECT_EQ(Outcome(), c.box);
        EXPECT_EQ(Bar().GetValues(), before);
        Command(*Frame(), ID_NOT_JOIN);
    }
}

TEST_F(LabelLinkTest, DataOfTheWrongLengthIsRefused)
{
    for (std::size_t size : { 105u, 107u }) { // frames of 123 and 125 bytes
        SerialScale scale;
        ASSERT_TRUE(scale.Start([size](const SerialFrame& frame, std::size_t) {
            if (frame.join)
                return SerialReply::JoinReply(frame);
            if (frame.command != kRequest)
                return SerialReply::Ack("98");
            Bytes payload = StoredLabel(1);
            payload.resize(size, 0x11);
            return SerialReply { { SerialReply::Frame("98", kAck, {}),
                SerialReply::Frame("98", kData, payload) } };
        }));
        ASSERT_TRUE(Join(scale));
        MessageBoxScript::Reset();
        const LabelValues before = Bar().GetValues();
        Command(*Frame(), ID_GET_DATA);
        EXPECT_EQ(Outcome(), "데이타 필드 길이 이상함") << size;
        EXPECT_EQ(Bar().GetValues(), before);
        Command(*Frame(), ID_NOT_JOIN);
    }
}

TEST_F(LabelLinkTest, ASilentScaleEndsAfterThreeExpiriesAndANewStartEndsTheOld)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start([](const SerialFrame&, std::size_t) { return SerialReply::Silence(); }));
    ASSERT_TRUE(Join(scale));
    Command(*Frame(), ID_PUT_DATA);
    ASSERT_TRUE(scale.WaitForFrames(1, 2000));
    Command(*Frame(), ID_GET_DATA); // a second start while the first waits
    EXPECT_EQ(Outcome(), "Error - Communication");
    // One join of the first start, then the second's join sent three times.
    EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t>(4, 0)));
    EXPECT_FALSE(Bar().IsExchanging());
}

TEST_F(LabelLinkTest, RepeatedEarlyAndStrayAnswersStillEndOnce)
{
    // Every answer comes twice, and a stray acknowledge precedes the join reply.
    SerialScaleModel model({ "98" });
    model.Put("98", StoredLabel(1));
    SerialScale scale;
    ASSERT_TRUE(scale.Start([&model](const SerialFrame& frame, std::size_t) {
        SerialReply reply = model.Answer(frame);
        const std::vector<Bytes> once = reply.writes;
        if (frame.join)
            reply.writes.insert(reply.writes.begin(), SerialReply::Frame("98", kAck, {}));
        reply.writes.insert(reply.writes.end(), once.begin(), once.end());
        return reply;
    }));
    ASSERT_TRUE(Join(scale));
    for (UINT command : { ID_GET_DATA, ID_PUT_DATA }) {
        MessageBoxScript::Reset();
        Command(*Frame(), command);
        EXPECT_EQ(Outcome(), "Communication OK") << command;
        EXPECT_FALSE(Bar().IsExchanging());
    }
}

// The Tx lamp lights for every frame sent, a resend too; the Rx lamp only
// for what arrives.
TEST_F(LabelLinkTest, TheTxLampLightsForEverySend)
{
    Bar().SetLinkTimings({ 400, 10, 0 });
    SerialScale scale;
    ASSERT_TRUE(scale.Start([](const SerialFrame&, std::size_t) { return SerialReply::Silence(); }));
    ASSERT_TRUE(Join(scale));
    const auto lit = [this](int lamp) {
        Snapshot shown(*Bar().GetDlgItem(lamp));
        return shown.Count(RGB(255, 0, 0)) > 0;
    };
    ASSERT_TRUE(PumpUntil([&] { return !lit(IDC_TX_LAMP) && !lit(IDC_RX_LAMP); })); // the join's flash
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_TRUE(lit(IDC_TX_LAMP));
    EXPECT_FALSE(lit(IDC_RX_LAMP));
    EXPECT_TRUE(PumpUntil([&] { return !lit(IDC_TX_LAMP); }));
    EXPECT_TRUE(PumpUntil([&] { return lit(IDC_TX_LAMP); })); // the join sent again
    EXPECT_EQ(Outcome(), "Error - Communication");
}

// A line that goes away during a Put is told once and ends the exchange;
// nothing follows.
TEST_F(LabelLinkTest, ALineThatGoesAwayIsToldOnce)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start([](const SerialFrame& frame, std::size_t) {
        return frame.join ? SerialReply::JoinReply(frame) : SerialReply::Silence();
    }));
    ASSERT_TRUE(Join(scale));
    Command(*Frame(), ID_PUT_DATA);
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() >= 2; }, std::chrono::milliseconds(2000)));
    scale.Stop();
    ASSERT_TRUE(WaitForBoxes(2));
    PumpFor(std::chrono::milliseconds(1500));
    ASSERT_EQ(Boxes().size(), 2u) << Boxes().back();
    EXPECT_EQ(Boxes()[0].Find("WARNING:  "), 0) << Boxes()[0];
    EXPECT_EQ(Boxes()[1], "Error - Communication");
    EXPECT_FALSE(Bar().IsExchanging());
}

// A device that is no serial port does not join.
TEST_F(LabelLinkTest, ADeviceThatIsNoSerialPortDoesNotJoin)
{
    for (UINT port = 1; port <= 4; ++port)
        SetSerialDevicePath(port, "/dev/null");
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDOK); });
    Command(*Frame(), ID_SERIAL_JOIN);
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_FALSE(Frame()->IsJoined());
    EXPECT_FALSE(Bar().IsPortOpen());
    EXPECT_EQ(Boxes(), (std::vector<CString> { "COM2 PORT can't open." }));
    EXPECT_TRUE(MenuState(1, ID_PUT_DATA) & MF_GRAYED);
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "연결하지 않았습니다   .");
}

TEST_F(LabelLinkTest, TheJoinDialogKeepsItsPortAndCancelFreesThePort)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start(scalesim::JoinAndAckEverything));
    // Cancel: nothing stays open; Get and Put stay disabled.
    EXPECT_FALSE(Join(scale, 2, true));
    EXPECT_FALSE(Bar().IsPortOpen());
    EXPECT_TRUE(MenuState(1, ID_PUT_DATA) & MF_GRAYED);
    EXPECT_FALSE(MenuState(1, ID_SERIAL_JOIN) & MF_GRAYED);
    {
        CSerialPort other;
        EXPECT_TRUE(other.InitPort(3)) << "the cancelled join still holds the device";
    }
    // COM3 chosen: shown, kept after a change of the values and across a restart.
    ASSERT_TRUE(Join(scale, 2));
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "COM3 38400 None 8 1");
    EXPECT_TRUE(MenuState(1, ID_SERIAL_JOIN) & MF_GRAYED);
    EXPECT_FALSE(MenuState(1, ID_NOT_JOIN) & MF_GRAYED);
    Type(IDC_LABEL_LENGTH, "50");
    Command(*Frame(), ID_NOT_JOIN);
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "Not Join - RS232      .");
    EXPECT_EQ(Bar().GetPortIndex(), 2);
    ShutDown();
    StartUp();
    EXPECT_EQ(Bar().GetPortIndex(), 2);
}

TEST_F(LabelLinkTest, InputChecksRefuseBeforeAnythingIsSent)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start(scalesim::JoinAndAckEverything));
    ASSERT_TRUE(Join(scale));
    struct Case {
        int edit;
        const char* text;
        UINT command;
        const char* box;
    };
    const Case cases[] = {
        { IDC_SCALE_NUMBER, "99", ID_GET_DATA, "Scale Number Input!!( 1 ~ 98 )" },
        { IDC_SCALE_NUMBER, "0", ID_PUT_DATA, "Scale Number Input!!( 1 ~ 98 )" },
        { IDC_FILE_NUMBER, "0", ID_GET_DATA, "Scale Number Input!!( 1 ~ ?? )" },
        { IDC_BARCODE_LENGTH, "76", ID_PUT_DATA, "Error - BarCode Length is : 0 ~ 75" },
        { IDC_LABEL_LENGTH, "29", ID_PUT_DATA, "Error - Label Length is : 30 ~ 150" },
        { IDC_FILE_NUMBER, "65536", ID_PUT_DATA, "Error - File Num is : 0 ~ 65535" },
        { IDC_LABEL_WIDTH, "65536", ID_PUT_DATA, "Error - Label Width is : 0 ~ 65535" },
        { IDC_LABEL_EDGE, "70000", ID_PUT_DATA, "Error - Edge is : 0 ~ 65535" },
    };
    UseMulti("5");
    for (const Case& c : cases) {
        CString before;
        Bar().GetDlgItemText(c.edit, before);
        Type(c.edit, c.text);
        MessageBoxScript::Reset();
        Command(*Frame(), c.command);
        EXPECT_EQ(Boxes(), (std::vector<CString> { c.box })) << c.text;
        Type(c.edit, before);
    }
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_TRUE(scale.Received().empty());
}

TEST_F(LabelLinkTest, TheSettingsDialogShowsTheFirstSettingsAndTakesTheChosen)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start(scalesim::JoinAndAckEverything));
    SetSerialDevicePath(2, scale.DevicePath());
    std::vector<int> checked;
    CString buffer;
    ModalDialogScript::Push([&](CDialog& dialog) {
        for (UINT id = IDC_EVENT_BREAK; id <= IDC_EVENT_TXEMPTY; ++id)
            if (dynamic_cast<CButton*>(dialog.GetDlgItem(id))->GetCheck())
                checked.push_back(id);
        dialog.GetDlgItemText(IDC_SERIAL_SEND_BUFFER, buffer);
        AfxSimulateKey(dialog.GetDlgItem(IDC_SERIAL_BAUD)->GetSafeHwnd(), VK_DOWN); // 19200
        for (int i = 0; i < 3; ++i)
            AfxSimulateKey(dialog.GetDlgItem(IDC_SERIAL_PARITY)->GetSafeHwnd(), VK_DOWN); // Mark
        AfxSimulateKey(dialog.GetDlgItem(IDC_SERIAL_STOP_BITS)->GetSafeHwnd(), VK_DOWN); // 1.5
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_SERIAL_JOIN);
    ASSERT_TRUE(Frame()->IsJoined());
    EXPECT_EQ(checked, (std::vector<int> { IDC_EVENT_CTS, IDC_EVENT_RXCHAR })); // event mask 9
    EXPECT_EQ(buffer, "512");
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "COM2 19200 Mark 8 1.5");
    EXPECT_TRUE(Boxes().empty()) << Boxes().front();
}

TEST_F(LabelLinkTest, SwitchingToTcpWhileJoinedClosesThePort)
{
    SerialScale scale;
    ASSERT_TRUE(scale.Start(scalesim::JoinAndAckEverything));
    ASSERT_TRUE(Join(scale));
    ChooseTcp();
    EXPECT_FALSE(Bar().IsPortOpen());
    EXPECT_EQ(Frame()->GetStatusBar().GetPaneText(1), "TCP/IP                .");
    EXPECT_EQ(m_app->GetProfileInt("Settings", "mode", 0), 1u);
    EXPECT_TRUE(MenuState(1, ID_SERIAL_JOIN) & MF_GRAYED);
    EXPECT_TRUE(MenuState(1, ID_NOT_JOIN) & MF_GRAYED);
    EXPECT_FALSE(MenuState(1, ID_GET_DATA) & MF_GRAYED);
    EXPECT_FALSE(MenuState(1, ID_PUT_DATA) & MF_GRAYED);
    // The mode already set, or Cancel, changes nothing.
    m_app->WriteProfileInt("Settings", "mode", 7);
    ChooseTcp();
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDCANCEL); });
    Command(*Frame(), ID_TRANS_MODE);
    EXPECT_EQ(m_app->GetProfileInt("Settings", "mode", 0), 7u);
    EXPECT_EQ(Frame()->GetTransferMode(), 1);
}
