// The transfer commands up to the mode split: pre-checks, the reset of the
// transfer state, then the order to the transport of the chosen mode.

#include <cstdlib>

#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_port.h"

void CKindOfView::StartTransfer(const char* command, const char* scope, BOOL checkRows, BOOL confirm)
{
    if (checkRows) {
        if (m_grid.GetRowCount() == 2) {
            AfxMessageBox("Data not exist", MB_OK);
            return;
        }
        if (m_strKind == "Item") {
            const CString failures = CheckPosCodes(scope);
            if (!failures.IsEmpty()) {
                m_messageDlg.ShowMessage(failures);
                return;
            }
        }
    }
    if (confirm) {
        m_nSerialStop.store(0);
        const int answer = m_nLanguage == 1
            ? MessageBox("전체 전송은 해당저울에 있는 기존의 상품정보를 모두 삭제하고 전송하게 됩니다. "
                         "계속하시겠습니까?",
                "주의", MB_YESNO | MB_ICONQUESTION)
            : MessageBox("All item Data Delete, Are you OK?", "Attention", MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES)
            return;
    }
    m_nSerialStop.store(0);
    m_nBroadcast = 0;
    m_serialMailbox.ClearAll();
    m_nSerialScaleIndex = 0;
    m_nSerialScaleCount = 0;
    m_nEthThreadCount = 0;
    if (m_scales.CommSettings().GetMode() < 0) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    TransferOrder order;
    order.command = command;
    order.dataKind = m_strKind;
    order.scope = scope;
    order.languageIndex = m_nLanguage;
    order.scales = m_scales.CommSettings().m_scales;
    order.comPort = m_scales.GetComPort();
    for (int number : m_recvNumbers) {
        if (number == 0)
            break;
        order.receiveNumbers.push_back(number);
    }
    if (m_scales.CommSettings().IsSerial()) {
        if (m_pTransferPort)
            m_pTransferPort->StartSerialTransfer(order);
        return;
    }
    m_nEthThreadCount = static_cast<int>(order.scales.size());
    if (m_nEthThreadCount < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (m_pTransferPort)
        m_pTransferPort->StartEthernetTransfer(order);
}

void CKindOfView::OnTransAll()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("TRANS", "all", TRUE, TRUE);
}

void CKindOfView::OnTransSelect()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("TRANS", "select", TRUE, FALSE);
}

void CKindOfView::StartScaleTransfer()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("TRANS", "all", FALSE, FALSE);
}

void CKindOfView::OnRecvAll()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("RECV", "all", FALSE, FALSE);
}

void CKindOfView::OnRecvSelect()
{
    if (!ReadReceiveNumbers())
        return;
    StartTransfer("RECV", "select", FALSE, FALSE);
}

void CKindOfView::OnRecvAllScaleData()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("RECV", "all", FALSE, FALSE);
}

void CKindOfView::OnRecvSelectScaleData()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    StartTransfer("RECV", "select", FALSE, FALSE);
}

void CKindOfView::OnTransStop()
{
    m_nSerialStop.store(1);
    EnableItemTransButtons(TRUE);
    EnableScaleTransButtons(TRUE);
    EnableTransStopButton(FALSE);
    if (m_pTransferPort)
        m_pTransferPort->StopTransfer();
}

BOOL CKindOfView::ReadReceiveNumbers()
{
    CString text;
    m_editRecvNumbers.GetWindowText(text);
    const int dash = text.Find('-', 1);
    const int comma = text.Find(',', 1);
    const bool rejected = (dash > 0 && comma > 0) || (dash > 0 && text.Find('-', dash + 1) > 0)
        || (dash <= 0 && comma <= 0 && text.Find('.', 1) > 0);
    if (rejected) {
        AfxMessageBox(m_nLanguage == 1 ? "표현 에러" : "Input Error", MB_OK);
        return FALSE;
    }
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    std::size_t n = 0;
    if (dash > 0) {
        const long a = std::strtol(text.Left(dash).GetString(), nullptr, 10);
        const long b = std::strtol(text.Mid(dash + 1).GetString(), nullptr, 10);
        for (long v = a; v <= b && n < m_recvNumbers.size(); ++v)
            m_recvNumbers[n++] = static_cast<int>(v);
    } else if (comma > 0) {
        int start = 0;
        while (n < m_recvNumbers.size()) {
            const int next = text.Find(',', start);
            const CString piece = next < 0 ? text.Mid(start) : text.Mid(start, next - start);
            m_recvNumbers[n++] = static_cast<int>(std::strtol(piece.GetString(), nullptr, 10));
            if (next < 0)
                break;
            start = next + 1;
        }
    } else {
        m_recvNumbers[0] = static_cast<int>(std::strtol(text.GetString(), nullptr, 10));
    }
    if (m_strKind == "Land_addition") {
        for (int number : m_recvNumbers) {
            if (number == 0)
                break;
            if (number < 201 || number > 500) {
                AfxMessageBox("Land Addition Number is a 201 ~ 500.", MB_OK);
                return FALSE;
            }
        }
    }
    return TRUE;
}
