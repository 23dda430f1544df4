#include "shell/kind_mailbox_dlg.h"

CKindMailboxDlg::CKindMailboxDlg(CWnd* parent)
    : CDialog(IDD_KIND_MAILBOX, parent)
{ }

CKindMailboxDlg::~CKindMailboxDlg()
{
    for (CEdit* edit : { &m_editCommand, &m_editKind, &m_editScope, &m_editRequest, &m_editStatus,
             &m_editReply, &m_editSpare })
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
    DDX_Control(dx, IDC_SERIAL_COMMAND, m_editCommand);
    DDX_Control(dx, IDC_SERIAL_KIND, m_editKind);
    DDX_Control(dx, IDC_SERIAL_SCOPE, m_editScope);
    DDX_Control(dx, IDC_SERIAL_REQUEST, m_editRequest);
    DDX_Control(dx, IDC_SERIAL_STATUS, m_editStatus);
    DDX_Control(dx, IDC_SERIAL_REPLY, m_editReply);
    DDX_Control(dx, IDC_SERIAL_SPARE, m_editSpare);
}

const CEdit* CKindMailboxDlg::Edit(int id) const
{
    switch (id) {
    case IDC_SERIAL_COMMAND:
        return &m_editCommand;
    case IDC_SERIAL_KIND:
        return &m_editKind;
    case IDC_SERIAL_SCOPE:
        return &m_editScope;
    case IDC_SERIAL_REQUEST:
        return &m_editRequest;
    case IDC_SERIAL_STATUS:
        return &m_editStatus;
    case IDC_SERIAL_REPLY:
        return &m_editReply;
    case IDC_SERIAL_SPARE:
        return &m_editSpare;
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
    for (int id : { IDC_SERIAL_COMMAND, IDC_SERIAL_KIND, IDC_SERIAL_SCOPE, IDC_SERIAL_REQUEST,
             IDC_SERIAL_REPLY, IDC_SERIAL_STATUS, IDC_SERIAL_SPARE })
        SetText(id, "");
}
