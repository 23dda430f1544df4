#pragma once
// Tarnel's main frame: toolbar, status bar with its connection pane, the
// label data viewer docked on the left and the preview. It hands the File
// commands to the viewer and forwards the preview's item and cassette
// messages to it. The Communicate commands have no handlers yet: the frame
// shows them disabled. Exit and Open ask before unsaved label or cassette
// values are dropped.

#include "labeltool/label_data_bar.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/statusbar.h"
#include "platform/wnd/docview/toolbar.h"

inline constexpr const char* kConnectionNotJoined = "연결하지 않았습니다   .";
inline constexpr const char* kConnectionTcp = "TCP/IP                .";
inline constexpr const char* kConnectionRs232NotJoined = "Not Join - RS232      .";

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    CLabelDataBar& GetLabelDataBar() { return m_wndLabelDataBar; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CToolBar& GetToolBar() { return m_wndToolBar; }
    int GetTransferMode() const { return m_nTransferMode; }
    BOOL IsJoined() const { return m_nJoined; }

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    // Exit and the close box: the label and cassette edits are asked about first.
    void OnClose();
    void OnFileOpen();
    void OnFileSaveAs();
    void OnViewLabelDataViewer();
    void OnUpdateViewLabelDataViewer(CCmdUI* cmdUI);
    void OnLabelFrameViewer();
    LRESULT OnLabelItemMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnCassetteLoaded(WPARAM wParam, LPARAM lParam);
    void OnTransMode();
    void OnSerialJoin();
    void OnNotJoin();
    void OnGetData();
    void OnPutData();
    void OnUpdateTransfer(CCmdUI* cmdUI);
    void OnUpdateNotJoin(CCmdUI* cmdUI);
    void OnUpdateSerialJoin(CCmdUI* cmdUI);

private:
    BOOL CreateBars();
    void SetConnectionText(const char* text);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CLabelDataBar m_wndLabelDataBar;
    int m_nJoined = 0;
    int m_nTransferMode = 0;
};
