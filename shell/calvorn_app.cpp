#include "shell/calvorn_app.h"

#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/docview/doctemplate.h"
#include "platform/wnd/docview/frame.h"
#include "shell/calvorn_doc.h"
#include "shell/calvorn_view.h"
#include "shell/dialog_helpers.h"
#include "shell/main_frame.h"

namespace {

constexpr UINT kMaxRecentFiles = 4;

} // namespace

CCalvornApp::CCalvornApp() = default;

const MessageMap* CCalvornApp::GetMessageMap() const
{
    static const MessageMap kMap(CWinApp::GetMessageMap(),
        {
            OnCommandMsg<&CCalvornApp::OnAppAbout>(ID_APP_ABOUT),
        });
    return &kMap;
}

BOOL CCalvornApp::InitInstance()
{
    // Sockets need no start-up here, so that step cannot fail.
    SetRegistryKey(kRegistryKey);
    LoadStdProfileSettings(kMaxRecentFiles);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, CCalvornDoc::GetThisClass(),
        CMainFrame::GetThisClass(), CCalvornView::GetThisClass()));
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    {
        // One box per cause while the windows are made: the parts that make
        // the same file at start-up (on a full disk) tell it once.
        const CMessageBoxRepeatFilter once;
        if (!ProcessShellCommand(commandLine))
            return FALSE;
    }
    if (!m_pMainWnd)
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->SetWindowText(kMainCaption);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CCalvornApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

CAboutDlg::CAboutDlg()
    : CDialog(IDD_ABOUTBOX)
{ }

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_VERSION, "Management Program Version F1.6.5.1 C");
    DressIconButton(m_okButton, kOkIcon, "Ok");
    return TRUE;
}
