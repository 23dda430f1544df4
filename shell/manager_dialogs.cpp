#include "shell/manager_dialogs.h"

#include "platform/wnd/core/msgbox.h"
#include "shell/dialog_helpers.h"
#include "shell/manager_class.h"

namespace {

constexpr int kUpdateIcon = 178;
constexpr int kInsertIcon = 181;

} // namespace

void CManagerDialogBase::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

CManagerLoginDlg::CManagerLoginDlg(CWnd* parent)
    : CManagerDialogBase(IDD_MANAGER_LOGIN, parent)
{ }

BOOL CManagerLoginDlg::OnInitDialog()
{
    CManagerDialogBase::OnInitDialog();
    DressIconButton(m_okButton, kOkIcon, "Ok");
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    SetWindowText("User ID");
    SetDlgItemText(IDC_LOGIN_ID_LABEL, "User ID");
    SetDlgItemText(IDC_LOGIN_PASSWORD_LABEL, "User Password");
    return TRUE;
}

void CManagerLoginDlg::OnOK()
{
    m_strUserId.Empty();
    m_strPassword.Empty();
    m_strLoginSql.Empty();
    GetDlgItemText(IDC_LOGIN_ID, m_strUserId);
    GetDlgItemText(IDC_LOGIN_PASSWORD, m_strPassword);
    m_strLoginSql = ManagerLoginSql(m_strUserId, m_strPassword);
    EndDialog(IDOK);
}

CUserInfoDlg::CUserInfoDlg(CWnd* parent)
    : CManagerDialogBase(IDD_USER_INFO, parent)
{ }

BOOL CUserInfoDlg::OnInitDialog()
{
    CManagerDialogBase::OnInitDialog();
    SetDlgItemText(IDC_USER_INFO_CORNER, "0");
    if (m_nMode == kModeUpdate) {
        m_okButton.SetWindowText("UPDATE");
        GetDlgItem(IDC_USER_INFO_ID)->EnableWindow(FALSE);
        GetDlgItem(IDC_USER_INFO_CORNER)->EnableWindow(FALSE);
        DressIconButton(m_okButton, kUpdateIcon, "Update");
    } else if (m_nMode == kModeInsert) {
        m_okButton.SetWindowText("INSERT");
        GetDlgItem(IDC_USER_INFO_ID)->EnableWindow(TRUE);
        GetDlgItem(IDC_USER_INFO_CORNER)->EnableWindow(TRUE);
        DressIconButton(m_okButton, kInsertIcon, "Insert");
    }
    SetDlgItemText(IDC_USER_INFO_ID, m_strUserId);
    SetDlgItemText(IDC_USER_INFO_PASSWORD, m_strPassword);
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    return TRUE;
}

void CUserInfoDlg::OnOK()
{
    GetDlgItemText(IDC_USER_INFO_PASSWORD, m_strPassword);
    GetDlgItemText(IDC_USER_INFO_RE_PASSWORD, m_strRePassword);
    if (m_strPassword != m_strRePassword) {
        AfxMessageBox("Password Error.");
        GetDlgItem(IDC_USER_INFO_PASSWORD)->SetFocus();
        return;
    }
    if (m_nMode == kModeUpdate || m_nMode == kModeInsert) {
        GetDlgItemText(IDC_USER_INFO_ID, m_strUserId);
        GetDlgItemText(IDC_USER_INFO_PASSWORD, m_strPassword);
        GetDlgItemText(IDC_USER_INFO_CORNER, m_strCornerId);
        EndDialog(IDOK);
    }
}
