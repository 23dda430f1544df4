#include "shell/manager_class.h"

#include "db/db_messages.h"
#include "db/manager_db_worker.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "shell/calvorn_view.h"
#include "shell/manager_dialogs.h"

namespace {

constexpr int kLoginIcon = 159;
constexpr int kLogoutIcon = 161;

} // namespace

CString ManagerLoginSql(const CString& userId, const CString& password)
{
    CString sql;
    sql.Format("SELECT [corner_code] FROM [manager] WHERE mg_id = '%s' AND mg_pass = '%s'", SqlEscape(userId),
        SqlEscape(password));
    return sql;
}

CManagerClass::CManagerClass() = default;

CManagerClass::~CManagerClass() = default;

const CRuntimeClass* CManagerClass::GetThisClass()
{
    static const CRuntimeClass kClass { "CManagerClass", &AfxCreateObject<CManagerClass>,
        CCmdTarget::GetThisClass() };
    return &kClass;
}

BOOL CManagerClass::IsMailboxFree() const
{
    return m_pView && m_pView->m_mailbox.IsFree() ? TRUE : FALSE;
}

void CManagerClass::Login()
{
    if (!m_pView)
        return;
    if (m_pView->m_nLoggedIn) {
        Logout();
        return;
    }
    auto dialog = std::make_unique<CManagerLoginDlg>();
    if (dialog->DoModal() != IDOK || !IsMailboxFree())
        return;
    m_pView->m_strUserId = dialog->m_strUserId;
    m_pView->m_strPassword = dialog->m_strPassword;
    if (OpenManagerDatabase())
        m_pView->m_pManagerWorker->Send(DbRequest::ManagerLogin, dialog->m_strLoginSql);
}

BOOL CManagerClass::OpenManagerDatabase()
{
    try {
        m_pView->m_pManagerWorker->OpenDatabase(kManagerDatabase);
        return TRUE;
    } catch (CException* e) {
        // The request never reaches the worker: free the mailbox for the next one.
        ExceptionPtr hold(e);
        m_pView->m_pManagerWorker->ClearRequest();
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
}

void CManagerClass::OnLoginReply(CString row)
{
    if (!m_pView)
        return;
    const int end = row.Find(kDbValueEnd);
    m_pView->LogIn(m_pView->m_strUserId, end < 0 ? row : row.Left(end));
    CString caption;
    if (m_nLanguage == 1 || m_nLanguage == 2 || m_nLanguage == 3) {
        m_pView->m_loginButton.SetWindowText(m_nLanguage == 1 ? "로그아웃" : "Log-out");
        m_pView->m_loginButton.LoadIcons(kLogoutIcon, CIconButton::kAutoDarker);
        m_pView->m_loginButton.SetTransparentMode(FALSE);
        caption.Format(m_nLanguage == 1 ? "%s님이 로그인하셨습니다" : "%s Log-In", m_pView->m_strUserId);
    }
    m_pView->m_captionPanel.SetCaption(caption);
    m_pView->m_captionPanel.Invalidate();
    m_pView->m_pManagerWorker->Acknowledge();
}

void CManagerClass::Logout()
{
    if (!m_pView)
        return;
    CCalvornView& view = *m_pView;
    view.m_nAdminFlag = 0;
    view.m_strUserId.Empty();
    view.m_strPassword.Empty();
    view.m_strCornerText.Empty();
    view.m_strCornerCode.Empty();
    if (m_nLanguage == 1 || m_nLanguage == 2 || m_nLanguage == 3) {
        view.m_loginButton.SetWindowText(m_nLanguage == 1 ? "로그인" : "Log-in");
        view.m_loginButton.LoadIcons(kLoginIcon, CIconButton::kAutoDarker);
        view.m_captionPanel.SetCaption(m_nLanguage == 1 ? "로그인을 하십시오" : "Input Log ID");
        view.m_captionPanel.Invalidate();
    }
    view.m_nLoggedIn = 0;
    view.m_categoryTree.DeleteAllItems();
    for (int& flag : view.m_nStateFlags)
        flag = 0;
    view.m_strItemDbPath.Empty();
    // The navigation words of the last hint stay in the mailbox's SQL edit; a
    // logged-out pane has no request in flight, so the next log-in must not
    // find the mailbox busy.
    static_cast<void>(view.m_mailbox.TakeQueryUser());
    view.SendMessage(WM_MANAGER_REFRESH, 0, 0);
    view.Invalidate(TRUE);
}

void CManagerClass::ExecuteManagerRequest(DbRequest request, const CString& sql)
{
    if (OpenManagerDatabase())
        m_pView->m_pManagerWorker->Run(request, sql);
}

void CManagerClass::ChangeManagerInfo()
{
    if (!m_pView)
        return;
    auto dialog = std::make_unique<CUserInfoDlg>();
    dialog->m_nMode = CUserInfoDlg::kModeUpdate;
    dialog->m_strUserId = m_pView->m_strUserId;
    dialog->m_strPassword = m_pView->m_strPassword;
    dialog->m_strCornerId = m_pView->m_strCornerCode;
    if (dialog->DoModal() != IDOK)
        return;
    CString sql;
    sql.Format("UPDATE [Manager] SET [mg_pass] = '%s', [corner_code] = '%s' WHERE [mg_id] = '%s'",
        SqlEscape(dialog->m_strPassword), SqlEscape(dialog->m_strCornerId), SqlEscape(m_pView->m_strUserId));
    ExecuteManagerRequest(DbRequest::ManagerChange, sql);
    m_pView->m_strPassword = dialog->m_strPassword;
    m_pView->m_strCornerCode = dialog->m_strCornerId;
}

void CManagerClass::AddManager()
{
    if (!m_pView)
        return;
    auto dialog = std::make_unique<CUserInfoDlg>();
    dialog->m_nMode = CUserInfoDlg::kModeInsert;
    if (dialog->DoModal() != IDOK)
        return;
    CString sql;
    sql.Format("INSERT INTO [Manager] VALUES('%s', '%s', '%s')", SqlEscape(dialog->m_strUserId),
        SqlEscape(dialog->m_strPassword), SqlEscape(dialog->m_strCornerId));
    ExecuteManagerRequest(DbRequest::ManagerInsert, sql);
}
