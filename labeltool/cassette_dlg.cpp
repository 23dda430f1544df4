// The cassette dialog.

#include "labeltool/cassette_dlg.h"

#include "platform/wnd/core/msgbox.h"

CCassetteDlg::CCassetteDlg(const CassetteGeometry& cassette, CWnd* parent)
    : CDialog(IDD, parent)
    , m_tenths(CassetteToTenths(cassette))
{ }

void CCassetteDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1090, m_picture);
    DDX_Text(dx, 1000, m_tenths.leftExtra);
    DDX_Text(dx, 1001, m_tenths.tphWidth);
    DDX_Text(dx, 1002, m_tenths.bottomExtra);
    DDX_Text(dx, 1003, m_tenths.gap);
    DDX_Text(dx, 1004, m_tenths.labelWidth);
    DDX_Text(dx, 1005, m_tenths.labelLength);
}

void CCassetteDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const std::vector<CString> boxes = CheckCassetteTenths(m_tenths);
    for (const CString& box : boxes)
        AfxMessageBox(box, MB_OK);
    if (boxes.empty())
        EndDialog(IDOK);
}
