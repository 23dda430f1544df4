// The work screen as the host of the serial transfers: the serial branch of
// the transfer commands, the engine's messages 1224-1227 and its timer 150,
// and what the engine and the scale link read and write of the screen.

#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_ports.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"

namespace {

constexpr UINT kLampFlashMs = 15;

// The serial mailbox's kind word of a screen's kind word.
CString SerialKindWord(const CString& kind)
{
    if (kind == "Scale_Info")
        return "SCALE_INFOMATION";
    if (kind == "Scale_Root_Info")
        return "SCALE_ROOT_INFOMATION";
    if (kind == "User_Label_Read")
        return "USER_LABEL";
    return kind;
}

} // namespace

void CKindOfView::CreateSerialTransfer()
{
    if (m_pSerial || !GetSafeHwnd())
        return;
    m_pSerial = std::make_unique<CSerialTransfer>(this, m_nLanguage);
    if (m_pTransports)
        m_pTransports->SetSerialTransport(this);
}

void CKindOfView::StartSerialTransfer(const TransferOrder& order)
{
    if (!m_pSerial)
        return;
    SerialOrder serial;
    serial.command = order.command;
    serial.dataKind = SerialKindWord(order.dataKind);
    serial.scope = order.scope;
    serial.scales = order.scales;
    serial.comPort = order.comPort;
    m_pSerial->Start(serial);
}

void CKindOfView::StopTransfer()
{
    if (m_pSerial)
        m_pSerial->Stop();
}

LRESULT CKindOfView::OnSerialPortOpened(WPARAM, LPARAM)
{
    return m_pSerial ? m_pSerial->OnSerialPortOpened() : 1;
}

LRESULT CKindOfView::OnSerialPortOpenFailed(WPARAM, LPARAM)
{
    return m_pSerial ? m_pSerial->OnSerialPortOpenFailed() : 1;
}

LRESULT CKindOfView::OnSerialSessionEnd(WPARAM, LPARAM)
{
    return m_pSerial ? m_pSerial->OnSerialSessionEnd() : 1;
}

LRESULT CKindOfView::OnSerialSessionError(WPARAM, LPARAM)
{
    return m_pSerial ? m_pSerial->OnSerialSessionEnd() : 1;
}

void CKindOfView::OnSerialReplyTimeout()
{
    if (m_pSerial)
        m_pSerial->OnSerialReplyTimeout();
}

CString CKindOfView::GetSerialText(int id)
{
    return m_serialMailbox.Text(id);
}

void CKindOfView::SetSerialText(int id, const CString& text)
{
    m_serialMailbox.SetText(id, text);
}

int CKindOfView::GetGridColumnCount()
{
    return m_grid.GetColumnCount();
}

std::vector<int> CKindOfView::GetRequestNumbers()
{
    std::vector<int> numbers;
    for (int n : m_recvNumbers) {
        if (n == 0)
            break;
        numbers.push_back(n);
    }
    return numbers;
}

void CKindOfView::FlashSendLamp()
{
    if (m_lampSend.GetSafeHwnd())
        m_lampSend.Flash(kLampFlashMs);
}

void CKindOfView::FlashRecvLamp()
{
    if (m_lampRecv.GetSafeHwnd())
        m_lampRecv.Flash(kLampFlashMs);
}

CString CKindOfView::MakeReceivedDataPath(const CString& scaleId)
{
    const CString path = CWorkScreenTransports::MakeReceivedDataPath(scaleId);
    AfxMessageBox(path, MB_OK);
    return path;
}
