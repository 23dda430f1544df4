#pragma once
// CMainFrame: calvorn's main window: toolbar, status bar, the trimmed menu bar
// (File, Item_Option, Communication Setup, View, Help) and the splitter that
// holds the left pane (200 pixels wide) and the right container. Closing asks
// first.

#include "controls/plain_splitter.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/statusbar.h"
#include "platform/wnd/docview/toolbar.h"

class CCalvornView;
class CRightCotainerView;

// Tray icon of the frame and its notification message.
inline constexpr UINT kTrayIconId = 199;
inline constexpr UINT WM_TRAY_NOTIFY = 0x5F4;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Pane (0, 0) as the left pane, nullptr when it is another class.
    CCalvornView* GetCalvornView() const;
    // Pane (0, 1) as the right container, nullptr when it is another class.
    CRightCotainerView* GetRightContainerView() const;

    // Hides the frame and shows it as icon 199 in the notification area (the
    // caption as tip, cut to 63 bytes); a double click on it shows the frame
    // again. Nothing in the program calls it.
    void AddTrayIcon();
    BOOL IsInTray() const { return m_nTrayFlag != 0; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT createStruct, CCreateContext* context) override;
    // Every view but the right container may become the active view.
    void SetActiveView(CView* view, BOOL notify = TRUE) override;
    HICON GetTrayIcon() const { return m_hTrayIcon; }

    CPlainSplitterWnd m_wndSplitter;
    CPlainSplitterWnd m_wndSplitter2; // made by nothing
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

private:
    int m_nTrayFlag = 0;
    HICON m_hTrayIcon = nullptr; // icon 199 once AddTrayIcon ran
};

// The application's main window as CMainFrame, or nullptr.
CMainFrame* GetMainFrame();
