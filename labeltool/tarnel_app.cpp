// Tarnel's application object and about box.

#include "labeltool/tarnel_app.h"

#include "labeltool/main_frame.h"
#include "labeltool/tarnel_doc.h"
#include "labeltool/tarnel_messages.h"
#include "labeltool/tarnel_view.h"
#include "platform/print/print_dialog.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/docview/doctemplate.h"
#include "resources/tarnel_ids.h"

namespace {

constexpr UINT kMaxRecentFiles = 4;

} // namespace

CTarnelApp::CTarnelApp() = default;

const MessageMap* CTarnelApp::GetMessageMap() const
{
    static const MessageMap kMap(CWinApp::GetMessageMap(),
        {
            OnCommandMsg<&CTarnelApp::OnAppAbout>(ID_APP_ABOUT),
            OnCommandMsg<&CTarnelApp::OnFilePrintSetup>(ID_FILE_PRINT_SETUP),
        });
    return &kMap;
}

BOOL CTarnelApp::InitInstance()
{
    // The templates' buttons and radios are "BUTTON" windows.
    AfxRegisterButtonClass();
    SetRegistryKey(kTarnelRegistryKey);
    LoadStdProfileSettings(kMaxRecentFiles);
    AddDocTemplate(new CSingleDocTemplate(
        IDR_MAINFRAME, CTarnelDoc::GetThisClass(), CMainFrame::GetThisClass(), CTarnelView::GetThisClass()));
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine) || !m_pMainWnd)
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CTarnelApp::OnAppAbout()
{
    CTarnelAboutDlg dialog;
    dialog.DoModal();
}

void CTarnelApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE);
    dialog.DoModal();
}

CTarnelAboutDlg::CTarnelAboutDlg()
    : CDialog(IDD_ABOUTBOX)
{ }

void CTarnelAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_PICTURE, m_picture);
}
