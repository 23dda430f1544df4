#pragma once
// CKindMailboxDlg: the hidden modeless dialog 145 whose seven edits carry the
// work screen's serial requests (command, data kind, scope, request, status
// word, reply kind and a spare). It is never shown; the work screen, the
// serial engine and the scale link read and write the edits by window text, a
// store that any thread may use.

#include "platform/wnd/dialog.h"
#include "platform/wnd/edit.h"

inline constexpr UINT IDD_KIND_MAILBOX = 145;
inline constexpr int IDC_SERIAL_COMMAND = 1020; // "TRANS", "BROAD_TRANS", "RECV"
inline constexpr int IDC_SERIAL_KIND = 1021; // data kind
inline constexpr int IDC_SERIAL_SCOPE = 1001; // "all" or "select"
inline constexpr int IDC_SERIAL_REQUEST = 1022; // "OPEN" ...
inline constexpr int IDC_SERIAL_STATUS = 1023; // status word
inline constexpr int IDC_SERIAL_REPLY = 1024; // reply kind
inline constexpr int IDC_SERIAL_SPARE = 1025;

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

    CEdit m_editCommand; // 1020
    CEdit m_editKind; // 1021
    CEdit m_editScope; // 1001
    CEdit m_editRequest; // 1022
    CEdit m_editStatus; // 1023
    CEdit m_editReply; // 1024
    CEdit m_editSpare; // 1025

private:
    const CEdit* Edit(int id) const;
};
