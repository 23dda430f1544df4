// The work screen's scale handlers: the register screen's list and buttons,
// the scale settings screens' buttons and the communication commands go to
// the scale screens; the settings screens' Trans sends the clicked row.

#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_port.h"

LRESULT CKindOfView::OnCommModeChanged(WPARAM wParam, LPARAM)
{
    m_scales.OnCommModeChanged(static_cast<int>(wParam));
    return 1;
}

void CKindOfView::OnCommSetup()
{
    m_scales.OnCommSetup();
}

void CKindOfView::OnComPortToggle()
{
    m_scales.OnComPortToggle();
}

void CKindOfView::OnScaleListClick(NMHDR* header, LRESULT* result)
{
    m_scales.OnScaleListClick(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    *result = 0;
}

void CKindOfView::OnScaleUpdate()
{
    m_scales.OnScaleUpdate();
}

void CKindOfView::OnScaleInsert()
{
    m_scales.OnScaleInsert();
}

void CKindOfView::OnScaleDelete()
{
    m_scales.OnScaleDelete();
}

void CKindOfView::OnScaleInfoUpdate()
{
    m_scales.OnScaleInfoUpdate();
}

void CKindOfView::OnScaleInfoInsert()
{
    m_scales.OnScaleInfoInsert();
}

void CKindOfView::OnScaleInfoDelete()
{
    m_scales.OnScaleInfoDelete();
}

void CKindOfView::OnScaleInfoTrans()
{
    // The send reads the grid row the load may still be filling.
    if (RefuseWhileBusy())
        return;
    if (m_strKind == "Scale_Info")
        SendScaleInfo();
    else if (m_strKind == "Scale_Root_Info")
        SendScaleRootInfo();
}

namespace {

// The order both senders hand to the transport; the transport reads the
// grid's current row (the clicked row) when it builds the record.
TransferOrder ScaleOrder(CKindOfView& view, const char* command, const char* kind)
{
    TransferOrder order;
    order.command = command;
    order.dataKind = kind;
    order.scope = "select";
    order.languageIndex = view.m_nLanguage;
    order.scales = view.Scales().CommSettings().m_scales;
    order.comPort = view.Scales().GetComPort();
    return order;
}

} // namespace

BOOL CKindOfView::BeginScaleSend()
{
    m_nSerialStop.store(0);
    m_nBroadcast = 0;
    m_serialMailbox.ClearAll();
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    m_nSerialScaleIndex = m_nSerialScaleCount = m_nEthThreadCount = 0;
    if (m_scales.CommSettings().GetMode() < 0
        || (m_scales.CommSettings().IsSerial() && m_scales.GetComPort() < 1)) {
        AfxMessageBox("Select a port.", MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CKindOfView::SendScaleInfo()
{
    if (!BeginScaleSend())
        return;
    const int count = static_cast<int>(m_scales.CommSettings().m_scales.size());
    if (m_scales.CommSettings().IsSerial()) {
        m_nSerialScaleCount = count;
        if (!m_scales.CheckSingleScaleRow())
            return;
        if (count == 0) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        m_nBroadcast = count >= 2 ? 1 : 0;
        if (m_pTransferPort)
            m_pTransferPort->StartSerialTransfer(
                ScaleOrder(*this, count >= 2 ? "BROAD_TRANS" : "TRANS", "SCALE_INFOMATION"));
        return;
    }
    m_nEthThreadCount = count;
    if (count < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (!m_scales.CheckSingleScaleRow())
        return;
    if (m_pTransferPort)
        m_pTransferPort->StartEthernetTransfer(ScaleOrder(*this, "TRANS", "SCALE_INFOMATION"));
}

void CKindOfView::SendScaleRootInfo()
{
    if (!BeginScaleSend())
        return;
    const int count = static_cast<int>(m_scales.CommSettings().m_scales.size());
    if (m_scales.CommSettings().IsSerial()) {
        m_nSerialScaleCount = count;
        if (!m_scales.CheckSingleScaleRow())
            return;
    } else {
        m_nEthThreadCount = count;
        if (count < 1) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        if (!m_scales.CheckSingleScaleRow())
            return;
    }
    if (count == 0) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (count >= 2) {
        AfxMessageBox("Only, One Scale Trans", MB_OK);
        return;
    }
    if (!m_pTransferPort)
        return;
    const TransferOrder order = ScaleOrder(*this, "TRANS", "SCALE_ROOT_INFOMATION");
    if (m_scales.CommSettings().IsSerial())
        m_pTransferPort->StartSerialTransfer(order);
    else
        m_pTransferPort->StartEthernetTransfer(order);
}
