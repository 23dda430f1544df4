// The work screen's handlers that hand on to its parts: the rows (1007,
// 1008, the column fill), the preset keys (600-659, 800), printing, the
// grid's edited cell, the users screen and the user labels screen.

#include "platform/print/print_info.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"
#include "screens/user_label_screen.h"

void CKindOfView::OnFilePrint()
{
    if (m_print.PrepareSheet(this, m_presetKeys.GetKeyTexts()))
        CView::OnFilePrint();
}

BOOL CKindOfView::OnPreparePrinting(CPrintInfo* info)
{
    info->SetMaxPage(1);
    return DoPreparePrinting(info);
}

void CKindOfView::OnBeginPrinting(CDC*, CPrintInfo*) { }

void CKindOfView::OnEndPrinting(CDC*, CPrintInfo*) { }

void CKindOfView::OnPrint(CDC* dc, CPrintInfo* info)
{
    m_print.Print(dc, info);
}

CUserLabelScreen CKindOfView::UserLabelScreen()
{
    return CUserLabelScreen(*this, *this, m_layout, *this, m_load);
}

void CKindOfView::OnUserLabelInsert()
{
    m_pTransfers->ClearReceiveNumbers();
    UserLabelScreen().Insert();
}

void CKindOfView::OnUserLabelDelete()
{
    UserLabelScreen().Delete();
}

void CKindOfView::OnUserLabelImage()
{
    UserLabelScreen().ShowImage();
}

void CKindOfView::OnUserLabelTransAll()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Trans, TransferScope::All, FALSE, TRUE);
}

void CKindOfView::OnUserLabelTransSelect()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Trans, TransferScope::Select, FALSE, FALSE);
}

void CKindOfView::OnUserLabelRecv()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer(TransferCommand::Recv, TransferScope::All, FALSE, FALSE);
}
