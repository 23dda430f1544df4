#pragma once
// CScaleInfoDlg: dialog 140 "Scale Info", one entry of the scale register.
// The caller fills the mode ("Scale_Update" or "Scale_Insert") and the
// fields, runs it modally and, after IDOK, reads the fields back.

#include "controls/icon_button.h"
#include "platform/wnd/controls/ipaddress.h"
#include "platform/wnd/dialogs/dialog.h"

inline constexpr UINT IDD_SCALE_INFO = 140;

class CScaleInfoDlg : public CDialog {
public:
    explicit CScaleInfoDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Reads the controls; an empty name becomes "TEMP"; an empty scale ID
    // shows "Input Scale ID" and keeps the dialog open.
    void OnOK() override;

    CString m_strMode;
    CString m_strScaleNum;
    CString m_strScaleName;
    CString m_strIp;
    CString m_strScaleId;
    CString m_strKey;
    CString m_strManagerId;

private:
    CIPAddressCtrl m_ipAddress; // 1012
    CIconButton m_okButton;
    CIconButton m_cancelButton;
};
