#pragma once
// The manager log-in dialog (131) and the manager data dialog (136).

#include "controls/icon_button.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

// The two dialogs' icon buttons OK (1) and Cancel (2).
class CManagerDialogBase : public CDialog {
public:
    CManagerDialogBase(UINT templateId, CWnd* parent)
        : CDialog(templateId, parent)
    { }
    void DoDataExchange(CDataExchange* dx) override;

protected:
    CIconButton m_okButton;
    CIconButton m_cancelButton;
};

// Dialog 131: user id and password; OK leaves them and the log-in SQL in the
// members.
class CManagerLoginDlg : public CManagerDialogBase {
public:
    explicit CManagerLoginDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    CString m_strUserId;
    CString m_strPassword;
    CString m_strLoginSql;
};

// Dialog 136: manager id, password twice and the corner id. Mode 1 updates
// the logged-in manager (the id is fixed), mode 2 inserts a new one. OK
// refuses different passwords with "Password Error.".
class CUserInfoDlg : public CManagerDialogBase {
public:
    static constexpr int kModeUpdate = 1;
    static constexpr int kModeInsert = 2;

    explicit CUserInfoDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    CString m_strCornerId;
    CString m_strRePassword;
    CString m_strPassword;
    CString m_strUserId;
    int m_nMode = 0;
};
