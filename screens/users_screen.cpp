#include "screens/users_screen.h"

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"
#include "shell/calvorn_view.h"
#include "shell/manager_dialogs.h"

CUsersScreen::CUsersScreen(CWorkScreenState& screen, CWorkScreenDatabase& data)
    : m_screen(screen)
    , m_data(data)
{ }

const MessageMap* CUsersScreen::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CUsersScreen::OnUserRegister>(IDC_WORK_USER_REGISTER),
            OnCommandMsg<&CUsersScreen::OnUserDelete>(IDC_WORK_USER_DELETE),
        });
    return &kMap;
}

std::span<const PanelControl> CUsersScreen::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_USER_LIST, PanelGroup::Users, nullptr },
        { IDC_WORK_USER_LABEL, PanelGroup::Users, "User ID" },
        { IDC_WORK_USER_REGISTER, PanelGroup::Users, "Register" },
        { IDC_WORK_USER_DELETE, PanelGroup::Users, "Delete" },
        { IDC_WORK_USER_GROUP, PanelGroup::Users, nullptr },
    };
    return kControls;
}

void CUsersScreen::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_USER_LIST, m_listUsers);
    DDX_Control(dx, IDC_WORK_USER_LABEL, m_labelUsers);
    DDX_Control(dx, IDC_WORK_USER_REGISTER, m_btnRegister);
    DDX_Control(dx, IDC_WORK_USER_DELETE, m_btnDelete);
    DDX_Control(dx, IDC_WORK_USER_GROUP, m_group);
}

void CUsersScreen::RequestManagers()
{
    m_screen.StartLoad([this] {
        // Nothing is asked for other managers: no reply will clear a lock.
        if (m_data.TableBridge().RequestManagers(kManagerDatabase, ""))
            m_screen.SetUpdateLock(1);
    });
}

// When the database did not open no done message came, and nothing else
// would clear the lock.
void CUsersScreen::ReleaseLockUnlessReading()
{
    if (!m_data.ItemWorker().IsRequestInFlight())
        m_screen.SetUpdateLock(0);
}

void CUsersScreen::OnUserRegister()
{
    CUserInfoDlg dialog(&m_screen.Form());
    dialog.m_nMode = CUserInfoDlg::kModeInsert;
    if (dialog.DoModal() != IDOK)
        return;
    // The id names the manager's settings files: no path separators in it.
    if (dialog.m_strUserId.Find('\\') >= 0 || dialog.m_strUserId.Find('/') >= 0) {
        AfxMessageBox("User ID can't contain \\ or /.", MB_OK);
        return;
    }
    const CString sql = "INSERT INTO [Manager] VALUES(" + SqlLiteral(dialog.m_strUserId) + ", "
        + SqlLiteral(dialog.m_strPassword) + ", " + SqlLiteral(dialog.m_strCornerId) + ")";
    m_screen.SetUpdateLock(1);
    m_data.TableBridge().InsertManager(sql, kManagerDatabase);
    ReleaseLockUnlessReading();
}

void CUsersScreen::OnUserDelete()
{
    const int selected = m_listUsers.GetCurSel();
    if (selected < 0) {
        AfxMessageBox("Select User id", MB_OK);
        return;
    }
    CString userId;
    m_listUsers.GetText(selected, userId);
    if (userId == kAdministratorId) {
        AfxMessageBox("VEXO can't delete", MB_OK);
        return;
    }
    if (m_screen.Form().MessageBox("Delete the selected user id?", "Delete", MB_YESNO) != IDYES)
        return;
    const CString sql = "DELETE FROM [Manager] WHERE [mg_id] = " + SqlLiteral(userId);
    m_screen.SetUpdateLock(1);
    // The list is read afresh once the statement has run; a database that
    // did not open keeps the manager listed.
    if (m_data.TableBridge().DeleteManager(sql, kManagerDatabase))
        m_listUsers.DeleteString(static_cast<UINT>(selected));
    ReleaseLockUnlessReading();
}

void CUsersScreen::ClearUserIds()
{
    for (int i = m_listUsers.GetCount() - 1; i >= 0; --i)
        m_listUsers.DeleteString(static_cast<UINT>(i));
}

void CUsersScreen::AddUserId(const CString& id)
{
    m_listUsers.AddString(id);
}
