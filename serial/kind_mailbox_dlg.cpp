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
    DDX_Control(dx, IDC_SERIAL_COMMAND, m_editCommand);
    DDX_Control(dx, IDC_SERIAL_KIND, m_editKind);
    DDX_Control(dx, IDC_SERIAL_SCOPE, m_editScope);
    DDX_Control(dx, IDC_SERIAL_STEP, m_editStep);
    DDX_Control(dx, IDC_SERIAL_STATUS, m_editStatus);
    DDX_Control(dx, IDC_SERIAL_REPLY, m_editReply);
    DDX_Control(dx, IDC_SERIAL_NO_ITEM, m_editNoItem);
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
    case IDC_SERIAL_STEP:
        return &m_editStep;
    case IDC_SERIAL_STATUS:
        return &m_editStatus;
    case IDC_SERIAL_REPLY:
        return &m_editReply;
    case IDC_SERIAL_NO_ITEM:
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
