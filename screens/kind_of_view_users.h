#pragma once
// CUsersScreen: the users screen (hint 16). The manager ids of Manager.mdb
// in list 1053, read for the administrator only, and the administrator's
// Register (1055) and Delete (1056), each followed by a fresh read. The
// table bridge sends the statements and fills the list. It knows the screen
// through its state and database interfaces; the screen's panels stay on
// the view.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/wnd/controls/listbox.h"
#include "screens/table_bridge.h"

class CDataExchange;
class CWorkScreenDatabase;
class CWorkScreenState;

class CUsersScreen final : public CManagerList {
public:
    explicit CUsersScreen(CWorkScreenState& screen, CWorkScreenDatabase& data);
    CUsersScreen(const CUsersScreen&) = delete;
    CUsersScreen& operator=(const CUsersScreen&) = delete;

    // Binds list 1053 of the form.
    void DoDataExchange(CDataExchange* dx);
    // The manager list read afresh with the words in the mailbox; the lock
    // is held only while a request is out (none goes for other managers).
    void RequestManagers();
    void OnUserRegister();
    void OnUserDelete();
    // CManagerList: the list as the table bridge fills it.
    void ClearUserIds() override;
    void AddUserId(const CString& id) override;

private:
    // After a register or delete statement, the lock is cleared unless the
    // list's reread holds it.
    void ReleaseLockUnlessReading();

    CWorkScreenState& m_screen;
    CWorkScreenDatabase& m_data;
    CListBox m_listUsers; // 1053
};
