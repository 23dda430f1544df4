// The scale address dialog.

#include "labeltool/scale_ip_dlg.h"

#include "platform/wnd/core/msgbox.h"

CScaleIpDlg::CScaleIpDlg(CWnd* parent)
    : CDialog(IDD, parent)
{ }

void CScaleIpDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_SCALE_IP_NAME, m_name);
    DDX_Control(dx, IDC_SCALE_IP_ADDRESS, m_ip);
}

void CScaleIpDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_name.IsEmpty()) {
        AfxMessageBox("저울명을 입력하세요!! Error");
        return;
    }
    if (m_name.Find(':') >= 0 || m_name.Find(';') >= 0) {
        AfxMessageBox("(:)을 입력하지 마십시요!! Error");
        return;
    }
    BYTE a = 0, b = 0, c = 0, d = 0;
    if (m_ip.GetAddress(a, b, c, d) != 4) {
        AfxMessageBox(kBadScaleAddressText);
        return;
    }
    m_address.Format("%d.%d.%d.%d", a, b, c, d);
    EndDialog(IDOK);
}
