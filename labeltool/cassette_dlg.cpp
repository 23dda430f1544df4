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
    DDX_Control(dx, IDC_CASSETTE_PICTURE, m_picture);
    DDX_Text(dx, IDC_CASSETTE_LEFT_EXTRA, m_tenths.leftExtra);
    DDX_Text(dx, IDC_CASSETTE_TPH_WIDTH, m_tenths.tphWidth);
    DDX_Text(dx, IDC_CASSETTE_BOTTOM_EXTRA, m_tenths.bottomExtra);
    DDX_Text(dx, IDC_CASSETTE_GAP, m_tenths.gap);
    DDX_Text(dx, IDC_CASSETTE_LABEL_WIDTH, m_tenths.labelWidth);
    DDX_Text(dx, IDC_CASSETTE_LABEL_LENGTH, m_tenths.labelLength);
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
