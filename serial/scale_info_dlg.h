#pragma once
// CScaleInfoDlg: dialog 140 "Scale Info", one entry of the scale register.
// The caller fills the mode (the register's request it serves: ScaleUpdate
// or ScaleInsert) and the fields, runs it modally and, after IDOK, reads the
// fields back.

#include "controls/icon_button.h"
#include "db/db_request.h"
#include "platform/wnd/controls/ipaddress.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

// One entry of the scale register as the dialog shows and returns it.
struct ScaleInfo {
    CString scaleNum;
    CString scaleName;
    CString ip;
    CString scaleId;
    CString key;
    CString managerId;
};

class CScaleInfoDlg : public CDialog {
public:
    explicit CScaleInfoDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Reads the controls; an empty name becomes "TEMP"; an empty scale ID
    // shows "Input Scale ID" and keeps the dialog open, and so does an address
    // that is not four numbers 0-255 (with its own message); a good one is
    // kept in plain dotted form ("010.0.0.1" as "10.0.0.1").
    void OnOK() override;

    // ScaleUpdate or ScaleInsert; before DoModal.
    void SetMode(DbRequest mode) { m_mode = mode; }
    // The entry shown (before DoModal) and read back (after IDOK).
    void SetInfo(const ScaleInfo& info) { m_info = info; }
    const ScaleInfo& GetInfo() const { return m_info; }

private:
    DbRequest m_mode = DbRequest::ScaleInsert;
    ScaleInfo m_info;

    CIPAddressCtrl m_ipAddress; // IDC_SCALE_INFO_IP
    CIconButton m_okButton;
    CIconButton m_cancelButton;
};
