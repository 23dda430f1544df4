#pragma once
// CFrameWnd: the main window of a document: menu bar (the template's menu,
// drawn across the top), control bars, and the client pane (a view or a
// splitter with id AFX_IDW_PANE_FIRST) filling the rest. The frame
//  - routes commands: the active view (then its document), the frame, the
//    application;
//  - runs update rules: of a popup's items when it opens (WM_INITMENUPOPUP),
//    of the bars' items when the application is idle; with m_bAutoMenuEnable
//    an item whose command has no handler on the route is disabled;
//  - translates the template's accelerators into commands; other keys go on
//    to the focused window;
//  - deletes itself when its window is destroyed, and ends the message loop
//    when it is the application's main window.
// UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/resource_script.h"
#include "platform/wnd/core/menu.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/docview/create_context.h"

class CCmdUI;
class CControlBar;
class CDocument;
class CView;

// Frame style bit: the document's title joins the caption.
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// Standard command ids the framework handles.
inline constexpr UINT ID_APP_EXIT = 57665;
inline constexpr UINT ID_VIEW_TOOLBAR = 59392;
inline constexpr UINT ID_VIEW_STATUS_BAR = 59393;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    // Destroys the menu it loaded.
    ~CFrameWnd() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Creates the frame window from the template resources resourceId: its
    // title (first part of the string resourceId), menu and accelerators;
    // context goes to OnCreateClient. FALSE when the window cannot be created
    // (the object then deletes itself once its window existed: see
    // m_bCreatedWindow).
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* parent = nullptr, CCreateContext* context = nullptr);
    // Makes the client: by default one view of context's view class as pane
    // AFX_IDW_PANE_FIRST. FALSE fails the frame's creation.
    virtual BOOL OnCreateClient(LPCREATESTRUCT createStruct, CCreateContext* context);
    // A view of context->m_pNewViewClass as child id; nullptr on failure.
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);

    // Makes a view active (the first view in the pane when none is), sends
    // WM_INITIALUPDATE to every view in the frame, in creation order, and
    // shows the frame when makeVisible.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    virtual void ActivateFrame(int showCommand = -1);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);

    CView* GetActiveView() const { return m_pViewActive; }
    // notify: call OnActivateView of the views that change state.
    virtual void SetActiveView(CView* view, BOOL notify = TRUE);
    CDocument* GetActiveDocument() const;

    // Places the menu bar and the control bars, and gives the pane the rest.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // The area left for the pane (client coordinates).
    CRect GetPaneRect() const;

    // The menu bar's menu (the one the frame loaded), or nullptr.
    CMenu* GetMenu() const;
    // Redraws the menu bar after its items changed.
    void DrawMenuBar();
    // Opens top-level menu item position as a click on the menu bar does
    // (byKeyboard: as Alt and its letter do, its first item selected): the
    // popup's update rules run, Left and Right move to the neighbouring
    // popups, the chosen command is sent to the frame. FALSE when there is no
    // such popup.
    BOOL TrackMenuBarPopup(int position, BOOL byKeyboard = FALSE);

    // Control bars (they add themselves when created).
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id) const;
    // Recorded; bars dock by their alignment.
    void EnableDocking(DWORD style) { m_dwDockStyle = style; }
    void DockControlBar(CControlBar* bar);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);

    // Idle-time update of the visible bars' items.
    virtual void OnIdleUpdateCmdUI();

    // Menu and accelerator commands (no control: lParam 0, code 0 or 1) go
    // through the route as CN_COMMAND.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Offers command id through the route; TRUE when a handler ran.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    // Accelerators of the template.
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override;

    CString m_strTitle;
    HMENU m_hMenuDefault = nullptr;
    BOOL m_bAutoMenuEnable = TRUE;
    // Set once the window existed: from then on the object deletes itself with it.
    BOOL m_bCreatedWindow = FALSE;
    // When set, the destructor sets it: a creator learns that a frame whose
    // creation failed has already deleted itself.
    bool* m_pDeletedFlag = nullptr;
    const AcceleratorTable* m_pAccelTable = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnNcDestroy();
    void OnSetFocus(CWnd* oldWnd);
    LRESULT OnNcCreateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam);
    // SC_KEYMENU: opens the menu bar's menu whose text marks the letter
    // ("File(&F)"); other system commands go to the default handling.
    LRESULT OnSysCommandMessage(WPARAM wParam, LPARAM lParam);
    // Fly-by help: the prompt of the command under the pointer (the text of
    // its string before '\n') in the status bar's first pane; the idle text
    // (string 57345) when the menu closes or the pointer leaves.
    LRESULT OnMenuSelectMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageStringMessage(WPARAM wParam, LPARAM lParam);
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);

public:
    // Puts text into the first pane of the status bar (child AFX_IDW_STATUS_BAR).
    void SetMessageText(LPCTSTR text);

private:
    BOOL TranslateAccelerator(const MSG& msg);
    // The popup of the menu bar that holds command id, or nullptr.
    HMENU FindPopupOf(HMENU menu, UINT id) const;
    // The menu bar child, or nullptr once it is gone.
    CWnd* MenuBar() const;
    // Screen point under the bar's item where its popup opens.
    CPoint MenuBarPopupPlace(int position);
    // Makes the view under a clicked window active.
    void ActivateViewOf(HWND hwnd);

    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_bars;
    DWORD m_dwDockStyle = 0;
};
