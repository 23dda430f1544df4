#include "serial/kind_mailbox_dlg.h"

CKindMailboxDlg::CKindMailboxDlg(CWnd* parent)
    : CDialog(IDD_KIND_MAILBOX, parent)
{ }

CKindMailboxDlg::~CKindMailboxDlg()
{
    for (CEdit* edit : { &m_editCommand, &m_editKind, &m_editScope, &m_editStep, &m_editStatus, &m_editReply,
             &m_editNoItem })
        edit->DestroyWindow();
    DestroyWindow();
}

BOOL CKindMailboxDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_KIND_MAILBOX, parent ? parent : m_pParentWnd);
}

void CKindMailboxDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kSerialCommandEdit, m_editCommand);
    DDX_Control(dx, kSerialKindEdit, m_editKind);
    DDX_Control(dx, kSerialScopeEdit, m_editScope);
    DDX_Control(dx, kSerialStepEdit, m_editStep);
    DDX_Control(dx, kSerialStatusEdit, m_editStatus);
    DDX_Control(dx, kSerialReplyEdit, m_editReply);
    DDX_Control(dx, kSerialNoItemEdit, m_editNoItem);
}

const CEdit* CKindMailboxDlg::Edit(int id) const
{
    switch (id) {
    case kSerialCommandEdit:
        return &m_editCommand;
    case kSerialKindEdit:
        return &m_editKind;
    case kSerialScopeEdit:
        return &m_editScope;
    case kSerialStepEdit:
        return &m_editStep;
    case kSerialStatusEdit:
        return &m_editStatus;
    case kSerialReplyEdit:
        return &m_editReply;
    case kSerialNoItemEdit:
        return &m_editNoItem;
    default:
        return nullptr;
    }
}

CString CKindMailboxDlg::Text(int id) const
{
    CString text;
    if (const CEdit* edit = Edit(id))
        edit->GetWindowText(text);
    return text;
}

void CKindMailboxDlg::SetText(int id, const CString& text)
{
    if (const CEdit* edit = Edit(id))
        const_cast<CEdit*>(edit)->SetWindowText(text);
}

void CKindMailboxDlg::ClearAll()
{
    for (const int id : kSerialMailboxEdits)
        SetText(id, "");
}
