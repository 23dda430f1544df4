#pragma once
// CCalvornApp: calvorn's application object. Start-up builds the one
// document template (resource 130: CCalvornDoc, CMainFrame, CCalvornView),
// opens a new document (which builds the frame and panes and runs every view's
// initial update: provisioning and the automatic log-in), and shows the frame
// maximised under the caution caption.

#include "controls/icon_button.h"
#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/docview/winapp.h"
#include "resources/calvorn_ids.h"

// The main window's caption (two blanks before "quotation").
inline constexpr const char* kMainCaption
    = "Management Program (Caution) '(single  quotation marks)  Don't Use";
inline constexpr const char* kRegistryKey = "Scale Store Management Program";

class CCalvornApp : public CWinApp {
public:
    CCalvornApp();

    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;

    // Command 57664: the about box, modal.
    void OnAppAbout();
};

// The about box (dialog 100) with its icon OK button.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    CIconButton m_okButton;
};
