#include "shell/message_dlg.h"

CMessageDlg::CMessageDlg(CWnd* parent)
    : CDialog(IDD_MESSAGE, parent)
{ }

CMessageDlg::~CMessageDlg()
{
    m_editText.DestroyWindow();
    DestroyWindow();
}

BOOL CMessageDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_MESSAGE, parent ? parent : m_pParentWnd);
}

void CMessageDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MESSAGE_TEXT, m_editText);
}

void CMessageDlg::ShowMessage(const CString& text)
{
    m_editText.SetWindowText(text);
    if (GetSafeHwnd())
        ShowWindow(SW_SHOWNA);
}

CString CMessageDlg::GetMessageText() const
{
    CString text;
    m_editText.GetWindowText(text);
    return text;
}
