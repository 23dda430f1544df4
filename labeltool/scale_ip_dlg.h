#pragma once
// CScaleIpDlg (dialog 161 "Scale IP Address"): a new scale's name and address.
// The caller joins them as "<name>:<address>".

#include "platform/wnd/controls/ipaddress.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/tarnel_ids.h"

inline constexpr const char* kBadScaleAddressText
    = "The IP address must be four numbers from 0 to 255, such as 192.168.0.10.";

class CScaleIpDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_SCALE_IP;

    explicit CScaleIpDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    // Refuses an empty name and a name with ":" or ";" (either would cut the
    // scale's text when the list is read back), and an address that is not
    // four numbers 0-255 (kBadScaleAddressText); else the dotted address.
    void OnOK() override;

    CString m_name;
    CString m_address;

private:
    CIPAddressCtrl m_ip;
};
