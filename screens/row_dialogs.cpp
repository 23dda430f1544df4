#include "screens/row_dialogs.h"

#include <cstdlib>
#include <optional>

#include "platform/wnd/core/msgbox.h"
#include "protocol/data_kinds.h"

namespace {

constexpr int kInsertIcon = 181;
constexpr int kCancelIcon = 162;

// The most rows one insert adds to a table: what a scale holds of it.
long MaximumLines(std::optional<DataKind> kind)
{
    if (!kind || *kind == DataKind::UserLabel)
        return 0;
    return KindInfo(*kind).cap;
}

} // namespace

// ---- CGridLineDlg

CGridLineDlg::CGridLineDlg(CWnd* parent)
    : CDialog(IDD_GRID_LINE, parent)
{ }

void CGridLineDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_insertButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CGridLineDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("Grid Line");
    m_insertButton.SetWindowText("Insert");
    m_cancelButton.SetWindowText("Cancel");
    SetDlgItemText(IDC_GRID_LINE_LABEL, "Input Grid Line");
    DressIconButton(m_insertButton, kInsertIcon, "Insert");
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    m_nLineCount = 0;
    return TRUE;
}

void CGridLineDlg::OnOK()
{
    CString text;
    GetDlgItemText(IDC_GRID_LINE_COUNT, text);
    const long count = std::strtol(text.GetString(), nullptr, 10);
    if (count < 1) {
        AfxMessageBox("Input Grid lines.", MB_OK);
        return;
    }
    const long maximum = MaximumLines(m_kind);
    if (count > maximum) {
        AfxMessageBox(CString::Formatted("Grid lines is a 1 - %ld.", maximum), MB_OK);
        return;
    }
    m_nLineCount = static_cast<int>(count);
    EndDialog(IDOK);
}

void CGridLineDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}

// ---- CAutoValueDlg

CAutoValueDlg::CAutoValueDlg(CWnd* parent)
    : CDialog(IDD_AUTO_VALUE, parent)
{ }

void CAutoValueDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CAutoValueDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_AUTO_VALUE_START_LABEL, "Start Value");
    SetDlgItemText(IDC_AUTO_VALUE_INCREMENT_LABEL, "Increment Value");
    m_okButton.SetWindowText("OK");
    m_cancelButton.SetWindowText("CANCEL");
    SetDlgItemText(IDC_AUTO_VALUE_INCREMENT, "1");
    return TRUE;
}

void CAutoValueDlg::OnOK()
{
    CString start;
    CString increment;
    GetDlgItemText(IDC_AUTO_VALUE_START, start);
    GetDlgItemText(IDC_AUTO_VALUE_INCREMENT, increment);
    if (start.IsEmpty() || increment.IsEmpty()) {
        AfxMessageBox("Input Error", MB_OK);
        return;
    }
    m_strStart = start;
    m_strIncrement = increment;
    EndDialog(IDOK);
}
