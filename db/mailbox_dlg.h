#pragma once
// CMailboxDlg: the hidden modeless dialog 132 ("클립보드") whose three edits
// carry the database request protocol between an owner view and its worker.
// It is created by the owner's constructor and never shown; both threads read
// and write the edits by window text only (a thread-safe store).

#include <functional>
#include <optional>

#include "db/db_messages.h"
#include "db/db_request.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/dialogs/dialog.h"

class CMailboxDlg : public CDialog {
public:
    // parent: the owner view (it may not have a window yet).
    explicit CMailboxDlg(CWnd* parent = nullptr);
    ~CMailboxDlg() override;

    // Creates the dialog from template 132 and binds the edits. UI thread.
    BOOL Create(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;

    // Text of an edit; the text taken and the edit emptied in one step (no
    // other thread's write falls between); a new text. Any thread.
    CString Text(int id) const;
    CString TakeText(int id);
    void SetText(int id, const CString& text);

    // Runs task on the dialog's (the UI) thread and returns when it has run; at
    // once when called there. The request workers read the mailbox this way,
    // so that a sender's writes on the UI thread (name, SQL, event) are seen
    // whole or not at all. FALSE, without running task, when the dialog has no
    // window or it is destroyed first.
    BOOL RunOnWindowThread(const std::function<void()>& task);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The screen's query as the left pane hands it to the work screen and the
    // work screen to the part that sends it: the request's name (as written:
    // the name of a request, or another word) and the user id. Put writes the
    // name (unless none) then the user; Take empties both.
    struct Query {
        CString name;
        std::optional<DbRequest> request;
        CString user;
    };
    void PutQuery(const CString* name, const CString& user);
    void PutQuery(std::optional<DbRequest> request, const CString& user);
    Query TakeQuery();
    // The user alone (the left pane's edit 1002), taken.
    CString TakeQueryUser();
    // No request waits: edit 1002 is empty (the manager log-in sends only then).
    [[nodiscard]] BOOL IsFree() const;

    CEdit m_editMarker; // IDC_MAILBOX_MARKER
    CEdit m_editName; // IDC_MAILBOX_NAME
    CEdit m_editText; // IDC_MAILBOX_TEXT

private:
    CEdit* Edit(int id);
    const CEdit* Edit(int id) const;
};
