// Tarnel's application object and about box.

#include "labeltool/tarnel_app.h"

#include "labeltool/main_frame.h"
#include "labeltool/tarnel_doc.h"
#include "labeltool/tarnel_messages.h"
#include "labeltool/tarnel_view.h"
#include "platform/print/print_dialog.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/docview/doctemplate.h"

namespace {

constexpr UINT kAboutDialogId = 100;
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
    AddDocTemplate(new CSingleDocTemplate(kTarnelDocTemplateId, CTarnelDoc::GetThisClass(),
        CMainFrame::GetThisClass(), CTarnelView::GetThisClass()));
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
    : CDialog(kAboutDialogId)
{ }

void CTarnelAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1091, m_picture);
}
