#pragma once
// CTarnelApp: the label tool's application object. Start-up builds the one
// document template (resource 128: CTarnelDoc, CMainFrame, CTarnelView),
// opens a new document and shows the frame.

#include "labeltool/bitmap_picture.h"
#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/docview/winapp.h"

inline constexpr const char* kTarnelRegistryKey = "Local AppWizard-Generated Applications";

class CTarnelApp : public CWinApp {
public:
    CTarnelApp();

    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;

    // The about box, modal.
    void OnAppAbout();
    // The print setup dialog.
    void OnFilePrintSetup();
};

// The about box (dialog 100 "Tarnel Info").
class CTarnelAboutDlg : public CDialog {
public:
    CTarnelAboutDlg();
    void DoDataExchange(CDataExchange* dx) override;

private:
    CBitmapPicture m_picture { 164 };
};
