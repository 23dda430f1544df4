#pragma once
// CKindMailboxDlg: the hidden modeless dialog 145 whose seven edits are the
// SerialMailbox (serial/serial_mailbox.h): command, data kind, scope, step
// word, status word, reply kind and the "NOITEM" mark. It is never shown; the
// work screen, the serial engine and the scale link read and write the edits
// by window text, a store that any thread may use.

#include "platform/wnd/controls/edit.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_mailbox.h"

class CKindMailboxDlg : public CDialog {
public:
    explicit CKindMailboxDlg(CWnd* parent = nullptr);
    ~CKindMailboxDlg() override;

    // Creates the dialog from template 145 and binds the edits. UI thread.
    BOOL Create(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* dx) override;

    // Text of an edit (any thread); "" for an id that is none of the seven.
    CString Text(int id) const;
    void SetText(int id, const CString& text);
    // Empties all seven edits.
    void ClearAll();

private:
    const CEdit* Edit(int id) const;

    CEdit m_editCommand; // IDC_SERIAL_COMMAND
    CEdit m_editKind; // IDC_SERIAL_KIND
    CEdit m_editScope; // IDC_SERIAL_SCOPE
    CEdit m_editStep; // IDC_SERIAL_STEP
    CEdit m_editStatus; // IDC_SERIAL_STATUS
    CEdit m_editReply; // IDC_SERIAL_REPLY
    CEdit m_editNoItem; // IDC_SERIAL_NO_ITEM
};
