#pragma once
// CUsersScreen: the users screen (hint 16). The manager ids of Manager.mdb
// in list 1053, read for the administrator only, and the administrator's
// Register (1055) and Delete (1056), each followed by a fresh read; it owns
// the panel's controls 1053-1056 and 1058. The table bridge sends the
// statements and fills the list. It knows the screen through its state and
// database interfaces; the screen's set-up and panel are the screen
// switch's.

#include <vector>

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/controls/static.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CWorkScreenDatabase;
class CWorkScreenState;

class CUsersScreen final : public CCmdTarget, public CManagerList {
public:
    explicit CUsersScreen(CWorkScreenState& screen, CWorkScreenDatabase& data);

    const MessageMap* GetMessageMap() const override;
    // Binds the list 1053 and the panel's controls of the form.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();
    // The manager list read afresh with the words in the mailbox; the lock
    // is held only while a request is out (none goes for other managers).
    void RequestManagers();
    // CManagerList: the list as the table bridge fills it.
    void ClearUserIds() override;
    void AddUserId(const CString& id) override;

private:
    void OnUserRegister();
    void OnUserDelete();
    // After a register or delete statement, the lock is cleared unless the
    // list's reread holds it.
    void ReleaseLockUnlessReading();

    CWorkScreenState& m_screen;
    CWorkScreenDatabase& m_data;
    CListBox m_listUsers; // IDC_WORK_USER_LIST
    CStatic m_labelUsers; // IDC_WORK_USER_LABEL
    CXPButton m_btnRegister; // IDC_WORK_USER_REGISTER
    CXPButton m_btnDelete; // IDC_WORK_USER_DELETE
    CButton m_group; // IDC_WORK_USER_GROUP
};
