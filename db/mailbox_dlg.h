#pragma once
// CMailboxDlg: the hidden modeless dialog 132 ("클립보드") whose three edits
// carry the database request protocol between an owner view and its worker.
// It is created by the owner's constructor and never shown; both threads read
// and write the edits by window text only (a thread-safe store).

#include "db/db_messages.h"
#include "platform/wnd/dialog.h"
#include "platform/wnd/edit.h"

class CMailboxDlg : public CDialog {
public:
    // parent: the owner view (it may not have a window yet).
    explicit CMailboxDlg(CWnd* parent = nullptr);
    ~CMailboxDlg() override;

    // Creates the dialog from template 132 and binds the edits. UI thread.
    BOOL Create(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;

    // Text of an edit, and the text emptied in the same step (any thread).
    CString Text(int id) const;
    CString TakeText(int id);
    void SetText(int id, const CString& text);

    CEdit m_editMarker; // 1006
    CEdit m_editName; // 1003
    CEdit m_editText; // 1002

private:
    CEdit* Edit(int id);
    const CEdit* Edit(int id) const;
};
