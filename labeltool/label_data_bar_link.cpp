// The label data viewer's exchange with a scale: a label sent (PUSH) or
// fetched (GET) over the serial port, driven by the bytes that arrive and by
// two reply timers, and the two TCP entries that hand the same frame image to
// the Ethernet dialog.
//
// Every wait for the scale runs under a timer; every end stops both timers and
// ignores what the scale sends afterwards; a new start ends the old exchange.

#include <cstring>

#include "labeltool/ethernet_get_push_dlg.h"
#include "labeltool/label_data_bar.h"
#include "labeltool/label_record.h"
#include "platform/base/bytes.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/link_frame.h"
#include "protocol/scale_codes.h"

namespace {

constexpr UINT kLampMs = 100;
constexpr int kMaxRetries = 2;
constexpr std::size_t kDataFrameSize = kLinkHeaderSize + kUserLabelRecordSize + kLinkSumSize;

} // namespace

std::array<char, 2> CLabelDataBar::ScaleDigits() const
{
    const int n = m_scaleNumber < 0 ? -m_scaleNumber : m_scaleNumber;
    return { static_cast<char>('0' + (n / 10) % 10), static_cast<char>('0' + n % 10) };
}

void CLabelDataBar::ShowBox(const char* text)
{
    AfxMessageBox(text);
}

BOOL CLabelDataBar::CheckTransferInput(BOOL push)
{
    if (!UpdateData(TRUE))
        return FALSE;
    const char* refusal = nullptr;
    if (m_scaleNumber < 1 || m_scaleNumber > 98)
        refusal = "Scale Number Input!!( 1 ~ 98 )";
    else if (m_fileNumber < 1)
        refusal = "Scale Number Input!!( 1 ~ ?? )";
    else if (push && m_values[kValueBarcodeLength] > 75)
        refusal = "Error - BarCode Length is : 0 ~ 75";
    else if (push && (m_values[kValueLabelLength] < 30 || m_values[kValueLabelLength] > 150))
        refusal = "Error - Label Length is : 30 ~ 150";
    else if (push)
        refusal = LabelRecordMisfit(m_values, m_fileNumber).value_or(nullptr);
    if (refusal)
        ShowBox(refusal);
    return refusal == nullptr;
}

void CLabelDataBar::StartGet()
{
    if (CheckTransferInput(FALSE))
        StartExchange(kLinkRequestLabel);
}

void CLabelDataBar::StartPush()
{
    if (CheckTransferInput(TRUE))
        StartExchange(kLinkSendLabel);
}

void CLabelDataBar::StartExchange(int nextState)
{
    StopTimers();
    m_exchanging = TRUE;
    m_joined = m_waiting = m_packetTimerArmed = m_dataAwaited = m_recordPending = m_refused = FALSE;
    m_retries = 0;
    m_line.Clear();
    m_line.StopCollecting();
    m_nextState = nextState;
    m_state = kLinkJoin;
    RunSendState(FALSE);
}

void CLabelDataBar::StopTimers()
{
    KillTimer(IDT_JOIN_REPLY);
    KillTimer(IDT_PACKET_REPLY);
    KillTimer(IDT_LINK_PAUSE);
    m_packetTimerArmed = m_pausing = FALSE;
}

void CLabelDataBar::RestartTimer(UINT_PTR id, UINT ms)
{
    KillTimer(id);
    SetTimer(id, ms);
}

void CLabelDataBar::StopExchange()
{
    StopTimers();
    m_exchanging = m_waiting = m_dataAwaited = FALSE;
}

void CLabelDataBar::EndExchange(const char* box)
{
    StopExchange();
    ShowBox(box);
}

void CLabelDataBar::BuildState()
{
    m_transmit.fill(0);
    ByteBuffer payload;
    LinkFrameHeader header;
    header.scaleId = ScaleDigits();
    switch (m_state) {
    case kLinkJoin: {
        const ByteBuffer join = BuildJoinFrame(std::string_view(header.scaleId.data(), 2));
        std::memcpy(m_transmit.data(), join.data(), join.size());
        m_transmitLength = join.size();
        return;
    }
    case kLinkSendLabel:
        header.command = ToWord(ScaleCommand::Record);
        payload = LabelRecordFromValues(m_values, m_fileNumber).Encode();
        m_nextState = kLinkEndJoin;
        break;
    case kLinkRequestLabel:
        header.command = ToWord(ScaleCommand::RequestOne);
        payload = { ToByte(TableCode::UserLabel), 1 };
        PutU32LE(payload, static_cast<std::uint32_t>(m_fileNumber));
        m_nextState = kLinkEndJoin;
        break;
    case kLinkAcknowledge:
        header.command = ToWord(ScaleCommand::Ack);
        break;
    case kLinkEndJoin:
        header.command = ToWord(ScaleCommand::EndJoin);
        m_nextState = kLinkDone;
        break;
    default:
        m_transmitLength = 0;
        return;
    }
    header.length = static_cast<std::uint16_t>(payload.size());
    ByteBuffer image;
    header.EncodeTo(image);
    image.insert(image.end(), payload.begin(), payload.end());
    std::memcpy(m_transmit.data(), image.data(), image.size());
    m_transmitLength = image.size();
}

void CLabelDataBar::SendImage()
{
    if (!m_port)
        return;
    const std::span<const std::uint8_t> image(m_transmit.data(), m_transmitLength);
    if (m_state == kLinkJoin) {
        (void)m_port->SendRaw(image);
        return;
    }
    LinkFrameHeader header;
    ByteBuffer frame;
    if (!LinkFrameHeader::Decode(image, header)
        || !BuildLinkFrame(header, image.subspan(kLinkHeaderSize), frame).ok())
        return;
    (void)m_port->SendRaw(StuffFrame(frame));
}

void CLabelDataBar::RunSendState(BOOL buildOnly)
{
    if (m_state == kLinkDone || m_state == kLinkFailed) {
        if (buildOnly)
            return;
        std::string box = m_state == kLinkDone ? "Communication OK" : "Error - Communication";
        if (m_state == kLinkDone && m_refused)
            box = "에러 수신";
        if (m_state == kLinkDone && m_recordPending) {
            m_recordPending = FALSE;
            box = ApplyUserLabelRecord(std::span(m_receivedFrame).subspan(kLinkHeaderSize)).value_or(box);
        }
        EndExchange(box.c_str());
        return;
    }
    BuildState();
    if (buildOnly)
        return;
    if (m_state == kLinkRequestLabel)
        m_dataAwaited = TRUE;
    m_line.Clear();
    SendImage();
    m_txLamp.Flash(kLampMs);
    if (m_state == kLinkAcknowledge)
        return;
    m_waiting = TRUE;
    RestartTimer(IDT_JOIN_REPLY, m_timings.replyMs);
}

void CLabelDataBar::PauseThenSend(BOOL acknowledge)
{
    m_acknowledgeAfterPause = acknowledge;
    if (m_timings.pauseMs == 0) {
        acknowledge ? SendAcknowledge() : SendNextState();
        return;
    }
    m_pausing = TRUE;
    RestartTimer(IDT_LINK_PAUSE, m_timings.pauseMs);
}

void CLabelDataBar::SendNextState()
{
    m_state = m_nextState;
    m_retries = 0;
    RunSendState(FALSE);
}

LRESULT CLabelDataBar::OnSerialChar(WPARAM wParam, LPARAM)
{
    if (!m_exchanging || m_pausing)
        return 0;
    switch (m_line.Feed(static_cast<std::uint8_t>(wParam), m_joined)) {
    case LabelLineDecoder::Event::JoinReply:
        OnJoinReply(m_line.Captured());
        break;
    case LabelLineDecoder::Event::Frame:
        m_rxLamp.Flash(kLampMs);
        ParseLinkFrame(m_line.Captured());
        break;
    case LabelLineDecoder::Event::None:
        break;
    }
    return 0;
}

void CLabelDataBar::OnJoinReply(std::span<const std::uint8_t> reply)
{
    switch (JudgeJoinReply(reply, ScaleDigits(), m_linkMode == 1)) {
    case JoinVerdict::Ignored:
        m_line.StopCollecting();
        return;
    case JoinVerdict::VersionError:
        m_line.StopCollecting();
        EndExchange("원하는 버젼에 따른 메시지 출력");
        return;
    case JoinVerdict::Joined:
        m_joined = TRUE;
        m_rxLamp.Flash(kLampMs);
        SendNextState();
        return;
    }
}

// A frame that is not a reply (a wrong sum; an acknowledge while the data is
// awaited) changes nothing: the running timer still decides.
void CLabelDataBar::ParseLinkFrame(std::span<const std::uint8_t> frame)
{
    LinkFrameHeader header;
    if (!CheckFrameSum(frame) || !LinkFrameHeader::Decode(frame, header))
        return;
    const std::uint16_t command = header.command;
    if (m_dataAwaited && command == ToWord(ScaleCommand::Ack))
        return;
    KillTimer(IDT_JOIN_REPLY);
    if (m_dataAwaited) {
        if (command == ToWord(ScaleCommand::Data)) {
            OnDataFrame(frame);
        } else if (command == ToWord(ScaleCommand::Nak)) {
            m_recordPending = m_dataAwaited = FALSE;
            m_refused = TRUE;
            AcknowledgeAndEnd();
        } else {
            PauseThenSend(FALSE);
        }
        return;
    }
    if (command == ToWord(ScaleCommand::Nak)) {
        EndExchange("에러 수신");
        return;
    }
    if (m_packetTimerArmed) {
        KillTimer(IDT_PACKET_REPLY);
        m_packetTimerArmed = FALSE;
    }
    PauseThenSend(FALSE);
}

void CLabelDataBar::OnDataFrame(std::span<const std::uint8_t> frame)
{
    if (frame.size() != kDataFrameSize) {
        m_recordPending = FALSE;
        EndExchange("데이타 필드 길이 이상함");
        return;
    }
    std::memcpy(m_receivedFrame.data(), frame.data(), m_receivedFrame.size());
    m_recordPending = TRUE;
    m_dataAwaited = FALSE;
    AcknowledgeAndEnd();
}

// The scale's answer to the request is acknowledged after the pause; the end
// of the join follows under the packet timer.
void CLabelDataBar::AcknowledgeAndEnd()
{
    PauseThenSend(TRUE);
}

void CLabelDataBar::SendAcknowledge()
{
    m_state = kLinkAcknowledge;
    RunSendState(FALSE);
    m_state = m_nextState;
    m_packetTimerArmed = TRUE;
    m_retries = 0;
    RestartTimer(IDT_PACKET_REPLY, m_timings.packetStartMs);
}

void CLabelDataBar::OnTimer(UINT_PTR id)
{
    if (id == IDT_LINK_PAUSE) {
        KillTimer(id);
        if (m_exchanging && m_pausing) {
            m_pausing = FALSE;
            m_acknowledgeAfterPause ? SendAcknowledge() : SendNextState();
        }
        return;
    }
    if (id != IDT_JOIN_REPLY && id != IDT_PACKET_REPLY)
        return;
    KillTimer(id);
    if (!m_exchanging || (id == IDT_JOIN_REPLY && !m_waiting))
        return;
    if (++m_retries > kMaxRetries) {
        m_state = kLinkFailed;
        RunSendState(FALSE);
        return;
    }
    m_line.Clear();
    if (id == IDT_PACKET_REPLY) {
        RunSendState(FALSE);
        RestartTimer(IDT_PACKET_REPLY, m_timings.replyMs);
        return;
    }
    if (m_port)
        m_port->KickWrite();
    RestartTimer(IDT_JOIN_REPLY, m_timings.replyMs);
    m_txLamp.Flash(kLampMs);
}

std::optional<std::string> CLabelDataBar::ApplyUserLabelRecord(std::span<const std::uint8_t> record)
{
    UserLabelRecord decoded;
    if (!UserLabelRecord::Decode(record, decoded))
        return "데이타 필드 길이 이상함";
    const LabelValues values = LabelValuesFromRecord(decoded);
    if (auto misfit = LabelValuesMisfit(values))
        return misfit;
    m_values = m_savedValues = values;
    m_strLabelPath.Empty();
    m_fileNumber = static_cast<int>(decoded.fileNum);
    LabelParameterTable() = m_values;
    RefreshControls();
    Announce({ kSizeCodeLength, LabelChangeKind::WholeLabel, m_values[kValueLabelLength], 0 });
    return std::nullopt;
}

// ---- over TCP ----------------------------------------------------------------

BOOL CLabelDataBar::RunEthernetDialog(int direction)
{
    RunSendState(TRUE);
    CEthernetGetPushDlg dialog(this);
    dialog.SetTransmitImage(m_transmit);
    dialog.m_direction = direction;
    dialog.DoModal();
    if (!dialog.IsReceived())
        return FALSE;
    const std::span<const std::uint8_t> record
        = std::span(dialog.GetReceivedPacket()).subspan(kPacketHeaderSize, kUserLabelRecordSize);
    UserLabelRecord decoded;
    if (!UserLabelRecord::Decode(record, decoded)
        || decoded.fileNum != static_cast<std::uint32_t>(m_fileNumber)) {
        ShowBox("empty User Label item!!");
        return FALSE;
    }
    if (const auto refusal = ApplyUserLabelRecord(record)) {
        ShowBox(refusal->c_str());
        return FALSE;
    }
    return TRUE;
}

void CLabelDataBar::GetByTcp()
{
    if (!UpdateData(TRUE))
        return;
    m_state = kLinkRequestLabel;
    (void)RunEthernetDialog(kEthernetGet);
}

void CLabelDataBar::PushByTcp()
{
    if (!UpdateData(TRUE))
        return;
    if (const auto misfit = LabelRecordMisfit(m_values, m_fileNumber)) {
        ShowBox(*misfit);
        return;
    }
    m_state = kLinkSendLabel;
    (void)RunEthernetDialog(kEthernetPush);
}
