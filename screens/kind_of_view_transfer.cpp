// The work screen's transfer commands: each hands on to the transfer glue
// with its command word, scope and checks.

#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"

void CKindOfView::OnTransAll()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Trans, TransferScope::All, TRUE, TRUE);
}

void CKindOfView::OnTransSelect()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Trans, TransferScope::Select, TRUE, FALSE);
}

void CKindOfView::StartScaleTransfer()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Trans, TransferScope::All, FALSE, FALSE);
}

void CKindOfView::OnRecvAll()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Recv, TransferScope::All, FALSE, FALSE);
}

void CKindOfView::OnRecvSelect()
{
    if (m_pTransfers->ReadReceiveNumbers())
        m_pTransfers->StartTransfer(TransferCommand::Recv, TransferScope::Select, FALSE, FALSE);
}

void CKindOfView::OnRecvAllScaleData()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Recv, TransferScope::All, FALSE, FALSE);
}

void CKindOfView::OnRecvSelectScaleData()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Recv, TransferScope::Select, FALSE, FALSE);
}

void CKindOfView::OnTransStop()
{
    m_pTransfers->OnTransStop();
}

int CKindOfView::GetTransferActive() const
{
    return m_pTransfers ? m_pTransfers->GetTransferActive() : 0;
}

void CKindOfView::OnScaleInfoTrans()
{
    // The send reads the grid row the load may still be filling.
    if (RefuseWhileBusy())
        return;
    if (m_kind == DataKind::ScaleInfo)
        m_pTransfers->SendScaleInfo();
    else if (m_kind == DataKind::ScaleRootInfo)
        m_pTransfers->SendScaleRootInfo();
}
