#pragma once
// CTransModeDlg (dialog 159 "Trans Mode Setup"): RS232 (0) or TCP/IP (1).

#include "platform/wnd/dialogs/dialog.h"
#include "resources/tarnel_ids.h"

class CTransModeDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_TRANS_MODE;

    explicit CTransModeDlg(int mode, CWnd* parent = nullptr)
        : CDialog(IDD, parent)
        , m_mode(mode)
    { }

    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Radio(dx, IDC_TRANS_MODE_RS232, m_mode);
    }

    int m_mode;
};
