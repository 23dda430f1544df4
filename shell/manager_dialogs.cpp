#include "shell/manager_dialogs.h"

#include "platform/wnd/core/msgbox.h"
#include "shell/dialog_helpers.h"
#include "shell/manager_class.h"

namespace {

constexpr int kUserIdEdit = 1000;
constexpr int kPasswordEdit = 1001;
constexpr int kUserIdLabel = 1033;
constexpr int kPasswordLabel = 1034;

constexpr int kInfoIdEdit = 1002;
constexpr int kInfoPasswordEdit = 1003;
constexpr int kInfoRePasswordEdit = 1006;
constexpr int kInfoCornerEdit = 1007;

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
    SetDlgItemText(kUserIdLabel, "User ID");
    SetDlgItemText(kPasswordLabel, "User Password");
    return TRUE;
}

void CManagerLoginDlg::OnOK()
{
    m_strUserId.Empty();
    m_strPassword.Empty();
    m_strLoginSql.Empty();
    GetDlgItemText(kUserIdEdit, m_strUserId);
    GetDlgItemText(kPasswordEdit, m_strPassword);
    m_strLoginSql = ManagerLoginSql(m_strUserId, m_strPassword);
    EndDialog(IDOK);
}

CUserInfoDlg::CUserInfoDlg(CWnd* parent)
    : CManagerDialogBase(IDD_USER_INFO, parent)
{ }

BOOL CUserInfoDlg::OnInitDialog()
{
    CManagerDialogBase::OnInitDialog();
    SetDlgItemText(kInfoCornerEdit, "0");
    if (m_nMode == kModeUpdate) {
        m_okButton.SetWindowText("UPDATE");
        GetDlgItem(kInfoIdEdit)->EnableWindow(FALSE);
        GetDlgItem(kInfoCornerEdit)->EnableWindow(FALSE);
        DressIconButton(m_okButton, kUpdateIcon, "Update");
    } else if (m_nMode == kModeInsert) {
        m_okButton.SetWindowText("INSERT");
        GetDlgItem(kInfoIdEdit)->EnableWindow(TRUE);
        GetDlgItem(kInfoCornerEdit)->EnableWindow(TRUE);
        DressIconButton(m_okButton, kInsertIcon, "Insert");
    }
    SetDlgItemText(kInfoIdEdit, m_strUserId);
    SetDlgItemText(kInfoPasswordEdit, m_strPassword);
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    return TRUE;
}

void CUserInfoDlg::OnOK()
{
    GetDlgItemText(kInfoPasswordEdit, m_strPassword);
    GetDlgItemText(kInfoRePasswordEdit, m_strRePassword);
    if (m_strPassword != m_strRePassword) {
        AfxMessageBox("Password Error.");
        GetDlgItem(kInfoPasswordEdit)->SetFocus();
        return;
    }
    if (m_nMode == kModeUpdate || m_nMode == kModeInsert) {
        GetDlgItemText(kInfoIdEdit, m_strUserId);
        GetDlgItemText(kInfoPasswordEdit, m_strPassword);
        GetDlgItemText(kInfoCornerEdit, m_strCornerId);
        EndDialog(IDOK);
    }
}
