#pragma once
// CManagerClass: the manager log-in of the left pane. It runs the log-in
// dialog and hands the log-in query to the pane's manager worker, takes the
// reply row, logs out, changes the manager's own password and adds managers.
// Every value typed by the user is quoted (SqlEscape) before it goes into SQL.
// UI thread.

#include "db/db_request.h"
#include "platform/base/cstring.h"
#include "platform/wnd/core/wnd.h"

class CCalvornView;

class CManagerClass : public CWnd {
public:
    CManagerClass();
    ~CManagerClass() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void SetView(CCalvornView* view) { m_pView = view; }

    // The log-in button: logs out when logged in, else runs the log-in dialog
    // and, when the mailbox is free, sends "Manager_Login" to the worker.
    void Login();
    // Clears the log-in state, the tree and the item database path, and has
    // the pane send hint 10.
    void Logout();
    // One row of the log-in query: the manager is logged in with the row's
    // first value as corner code; the worker gets "Report".
    void OnLoginReply(CString row);
    // Command 32771: the manager's own password (dialog 136 in mode 1).
    void ChangeManagerInfo();
    // Command 32772: a new manager row (dialog 136 in mode 2).
    void AddManager();
    // TRUE when the mailbox's SQL edit 1002 is empty.
    BOOL IsMailboxFree() const;

    int m_nLanguage = 2;

private:
    // Opens Manager.mdb in the worker; on failure shows the error and empties
    // the mailbox. TRUE when open.
    BOOL OpenManagerDatabase();
    // Runs sql as request name on the worker at once (this thread).
    void ExecuteManagerRequest(DbRequest request, const CString& sql);

    CCalvornView* m_pView = nullptr;
};

// The SQL of the log-in query for the typed id and password, both quoted.
CString ManagerLoginSql(const CString& userId, const CString& password);
