// The Ethernet GET/PUSH dialog's transfer: one scale after the other, each
// connected, greeted, sent the label (PUSH: the record, then TASK_RESET) or
// asked for it (GET: the request, then its acknowledgement and the data),
// every call under its limit. Replies are read as whole packets: only an
// acknowledgement counts as one, and a GET needs a data packet with a whole
// record.

#include <cstring>

#include "labeltool/ethernet_get_push_dlg.h"
#include "platform/base/bytes.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/link_frame.h"
#include "protocol/scale_codes.h"
#include "protocol/scale_records.h"
#include "resources/tarnel_ids.h"

namespace {

constexpr int kStepsPerScale = 4;
constexpr int kGetSteps = 3;

std::uint16_t CommandOf(const TransmitImage& image)
{
    return static_cast<std::uint16_t>(image[8] | (image[9] << 8));
}

} // namespace

void CEthernetGetPushDlg::OnTransfer()
{
    EnableForTransfer(FALSE);
    CString getScale;
    GetDlgItemText(IDC_GP_GET_SCALE, getScale);
    const bool push = m_direction != kEthernetGet;
    std::vector<CString> scales;
    if (push)
        for (int id : m_adopted)
            scales.push_back(m_scaleTexts[id]);
    else if (!getScale.IsEmpty())
        scales.push_back(getScale);
    const int steps
        = push ? kStepsPerScale * static_cast<int>(scales.size()) : (scales.empty() ? 0 : kGetSteps);
    m_progress.SetRange32(0, steps);
    AppendLog("Log Start ------>\r\n");
    for (std::size_t i = 0; i < scales.size(); ++i)
        TransferTo(scales[i], static_cast<int>(i));
    EnableForTransfer(TRUE);
    AppendLog("<------ Log End.\r\n\r\n");
    if (m_received)
        EndDialog(IDCANCEL);
}

void CEthernetGetPushDlg::TransferTo(const CString& scale, int index)
{
    AppendLog(scale + "  connected...");
    const int colon = scale.Find(':');
    const CString address = colon < 0 ? CString() : scale.Mid(colon + 1);
    const BOOL connected = Connect(address);
    SetProgress(0);
    if (!connected) {
        AppendLog("  Fail! Close.\r\n");
        return;
    }
    // A scale that sends no first message (closes, resets, stays silent) ends
    // its line as a failed connect does.
    ScalePacketFramer::Event first;
    if (!ReceiveReply(first)) {
        AppendLog("  Fail! Close.\r\n");
        CloseSocket();
        return;
    }
    AppendLog("  OK!\r\n");
    const BOOL ok = m_direction == kEthernetGet ? ExchangeGet() : ExchangePush(index);
    AppendLog(ok ? "Message OK! End.\r\n" : "Message Fail! End.\r\n");
    if (ok && m_direction == kEthernetGet) {
        m_received = TRUE;
        AfxMessageBox("Communication OK!");
    }
    CloseSocket();
}

BOOL CEthernetGetPushDlg::Connect(const CString& address)
{
    m_connected = FALSE;
    m_framer = ScalePacketFramer(ScalePacketFramer::Start::AwaitGreeting);
    if (address.IsEmpty())
        return FALSE;
    m_socket = std::make_unique<CBlockingSocket>();
    try {
        m_socket->Create();
        SetStatus("Connecting...");
        m_socket->Connect(address, kScaleTcpPort, GetLimits().connectMs);
        SetStatus("Connection established.");
        m_connected = TRUE;
    } catch (CBlockingSocketException* e) {
        m_socket->Cleanup();
        m_socket.reset();
        e->Delete();
    }
    return m_connected;
}

void CEthernetGetPushDlg::CloseSocket()
{
    if (m_socket) {
        m_socket->Cleanup();
        m_socket.reset();
    }
    m_connected = FALSE;
}

// The next greeting or whole packet; the scale closing fails the receive.
BOOL CEthernetGetPushDlg::ReceiveReply(ScalePacketFramer::Event& out)
{
    return Guarded([&] {
        do {
            if (!m_socket->ReceiveEvent(m_framer, out, GetLimits().receiveMs))
                return FALSE;
        } while (out.kind == ScalePacketFramer::Kind::Dropped);
        return TRUE;
    });
}

BOOL CEthernetGetPushDlg::SendPacket(std::span<const std::uint8_t> bytes)
{
    return Guarded([&] {
        m_socket->Write(bytes, GetLimits().sendMs);
        return TRUE;
    });
}

// A socket call: its failure (a time-out included) is shown in the status
// line, closes the socket and fails the exchange.
BOOL CEthernetGetPushDlg::Guarded(const std::function<BOOL()>& call)
{
    if (!m_socket)
        return FALSE;
    try {
        return call();
    } catch (CBlockingSocketException* e) {
        CBlockingSocket::LogError(this, "CLIENT:", *e);
        e->Delete();
        m_socket->Close();
        m_error = TRUE;
        return FALSE;
    }
}

BOOL CEthernetGetPushDlg::ExchangePush(int index)
{
    const auto isAck = [](const ScalePacketFramer::Event& e) {
        return e.kind == ScalePacketFramer::Kind::Packet && e.packet.Is(ScaleCommand::Ack);
    };
    ByteBuffer packet;
    const std::span<const std::uint8_t> record(m_transmit.data() + kLinkHeaderSize, kUserLabelRecordSize);
    if (!EncodePacket(CommandOf(m_transmit), record, packet).ok() || !SendPacket(packet))
        return FALSE;
    SetProgress(kStepsPerScale * index + 1);
    ScalePacketFramer::Event reply;
    if (!ReceiveReply(reply) || !isAck(reply))
        return FALSE;
    SetProgress(kStepsPerScale * index + 2);
    if (!SendPacket(EncodePacket(ScaleCommand::TaskReset)))
        return FALSE;
    SetProgress(kStepsPerScale * index + 3);
    if (!ReceiveReply(reply) || !isAck(reply))
        return FALSE;
    SetProgress(kStepsPerScale * index + 4);
    return TRUE;
}

// The request is acknowledged, then answered by the data; a refusal, or data
// without a whole record, fails the GET.
BOOL CEthernetGetPushDlg::ExchangeGet()
{
    ByteBuffer packet;
    const std::span<const std::uint8_t> request(m_transmit.data() + kLinkHeaderSize, 6);
    if (!EncodePacket(CommandOf(m_transmit), request, packet).ok() || !SendPacket(packet))
        return FALSE;
    SetProgress(1);
    ScalePacketFramer::Event reply;
    if (!ReceiveReply(reply) || reply.kind != ScalePacketFramer::Kind::Packet)
        return FALSE;
    SetProgress(2);
    if (reply.packet.Is(ScaleCommand::Ack)
        && (!ReceiveReply(reply) || reply.kind != ScalePacketFramer::Kind::Packet))
        return FALSE;
    SetProgress(3);
    if (!reply.packet.Is(ScaleCommand::Data) || reply.packet.payload.size() != kUserLabelRecordSize)
        return FALSE;
    ByteBuffer whole;
    if (!EncodePacket(reply.packet.command, reply.packet.payload, whole).ok())
        return FALSE;
    std::memcpy(m_receivedPacket.data(), whole.data(), m_receivedPacket.size());
    return TRUE;
}
