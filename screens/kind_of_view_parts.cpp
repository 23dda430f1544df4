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

void CKindOfView::ShowUsersScreen()
{
    if (m_captionPanel.GetSafeHwnd())
        m_captionPanel.SetTipText("User Management.");
    Invalidate();
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    m_scales.ClearScaleList();
    ShowControls({ 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1030, 1033, 1034, 1049, 1044, 1039,
                     1041, 1037, 1042, 1038, 1025, 1027, 1028, 1029, 1032, 1050, 1051, 1052, 1057 },
        FALSE);
    m_users.RequestManagers();
    HideGrid();
    SetDlgItemText(1054, "User ID");
    SetDlgItemText(1055, "Register");
    SetDlgItemText(1056, "Delete");
    ShowUsersPanel(TRUE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);
}

CUserLabelScreen CKindOfView::UserLabelScreen()
{
    return CUserLabelScreen(*this, *this, *this, *this, m_load);
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
