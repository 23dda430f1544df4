#include "shell/dialog_helpers.h"

#include <cstdlib>

#include "platform/base/file_system.h"
#include "platform/wnd/core/msgbox.h"

long LeadingNumber(const CString& text)
{
    return std::strtol(text.GetString(), nullptr, 10);
}

BOOL WriteSettingsOrReport(const CString& path, const CString& text)
{
    CString error;
    if (WriteTextFileAtomically(path, text, &error))
        return TRUE;
    CString message;
    message.Format("The settings file could not be written:\n%s\n%s", path.GetString(), error.GetString());
    AfxMessageBox(message, MB_OK | MB_ICONSTOP);
    return FALSE;
}

CIconOkCancelDlg::CIconOkCancelDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent)
{ }

void CIconOkCancelDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CIconOkCancelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    DressIconButton(m_okButton, kOkIcon, "Ok");
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    return TRUE;
}
