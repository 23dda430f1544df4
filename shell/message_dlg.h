#pragma once
// CMessageDlg: the modeless message window 225 ("MSG") of the work screen's
// send commands: a read-only multi-line edit (1002) in a group box and an OK
// button that hides it. Created hidden; the work screen fills the edit and
// shows it without activating it.

#include "platform/wnd/controls/edit.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

class CMessageDlg : public CDialog {
public:
    explicit CMessageDlg(CWnd* parent = nullptr);
    ~CMessageDlg() override;

    // Creates the hidden dialog from template 225 and binds the edit. UI thread.
    BOOL Create(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* dx) override;

    // Puts text into the edit and shows the window without activating it.
    void ShowMessage(const CString& text);
    CString GetMessageText() const;

    CEdit m_editText; // IDC_MESSAGE_TEXT
};
