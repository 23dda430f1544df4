#include "shell/main_frame.h"

#include <cstring>

#include "platform/gdi/icon.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/desktop/tray.h"
#include "platform/wnd/docview/winapp.h"
#include "resources/calvorn_ids.h"
#include "shell/calvorn_view.h"
#include "shell/right_container_view.h"
#include "shell/work_screen.h"

namespace {

constexpr DWORD kToolBarStyle = 0x50402834; // child, visible, top, gripper, tips, fly-by, dynamic
constexpr DWORD kStatusBarStyle = 0x50008200;
constexpr int kLeftPaneWidth = 200;
constexpr UINT kIndicators[] = { ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };

} // namespace

CMainFrame* GetMainFrame()
{
    return DynamicDownCast<CMainFrame>(AfxGetMainWnd());
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    if (m_hTrayIcon)
        DestroyIcon(m_hTrayIcon);
}

const CRuntimeClass* CMainFrame::GetThisClass()
{
    static const CRuntimeClass kClass { "CMainFrame", &AfxCreateObject<CMainFrame>,
        CFrameWnd::GetThisClass() };
    return &kClass;
}

const MessageMap* CMainFrame::GetMessageMap() const
{
    static const MessageMap kMap(CFrameWnd::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CMainFrame::OnCreate>(),
            OnWm<WM_DESTROY, &CMainFrame::OnDestroy>(),
            OnWm<WM_SIZE, &CMainFrame::OnSize>(),
            OnWm<WM_CLOSE, &CMainFrame::OnClose>(),
            OnMessage<&CMainFrame::OnTrayNotify>(WM_TRAY_NOTIFY),
        });
    return &kMap;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CFrameWnd::OnCreate(createStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    // "Server Prog" goes, then "User Info", which has moved into its place.
    if (CMenu* menu = GetMenu()) {
        menu->RemoveMenu(2, MF_BYPOSITION);
        menu->RemoveMenu(2, MF_BYPOSITION);
        DrawMenuBar();
    }
    RecalcLayout();
    return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (!m_wndSplitter.CreateStatic(this, 1, 2))
        return FALSE;
    if (!m_wndSplitter.CreateView(
            0, 0, context ? context->m_pNewViewClass : nullptr, CSize(kLeftPaneWidth, 0), context)
        || !m_wndSplitter.CreateView(0, 1, CRightCotainerView::GetThisClass(), CSize(0, 0), context)) {
        m_wndSplitter.DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

CCalvornView* CMainFrame::GetCalvornView() const
{
    return DynamicDownCast<CCalvornView>(m_wndSplitter.GetPane(0, 0));
}

CRightCotainerView* CMainFrame::GetRightContainerView() const
{
    return DynamicDownCast<CRightCotainerView>(m_wndSplitter.GetPane(0, 1));
}

void CMainFrame::SetActiveView(CView* view, BOOL notify)
{
    // The right container only holds the work panes and routes no command: a
    // click on its splitter bar keeps the view that was active.
    if (view && DynamicDownCast<CRightCotainerView>(view))
        return;
    CFrameWnd::SetActiveView(view, notify);
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
}

void CMainFrame::OnClose()
{
    // A send clears the scale first: quitting mid-transfer can leave it empty.
    const CRightCotainerView* right = GetRightContainerView();
    const CWorkScreen* screen = right ? right->GetWorkScreen() : nullptr;
    const char* question = screen && screen->GetTransferActive()
        ? "A transfer to the scales is still running: quitting now can leave a scale empty or half "
          "filled.\r\nQuits the application?"
        : "Quits the application?";
    if (MessageBox(question, "Quit", MB_YESNO) == IDNO)
        return;
    CFrameWnd::OnClose();
}

void CMainFrame::AddTrayIcon()
{
    ShowWindow(SW_HIDE);
    NOTIFYICONDATA data;
    data.hWnd = GetSafeHwnd();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    // The frame keeps the icon: it is its big icon from now on.
    if (!m_hTrayIcon)
        m_hTrayIcon = LoadIcon(nullptr, kTrayIconId);
    data.hIcon = m_hTrayIcon;
    CString caption;
    GetWindowText(caption);
    std::strncpy(data.szTip, caption.GetString(), sizeof(data.szTip) - 1);
    Shell_NotifyIcon(NIM_ADD, &data);
    SetIcon(m_hTrayIcon, TRUE);
    m_nTrayFlag = 1;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (static_cast<UINT>(lParam) == WM_LBUTTONDBLCLK)
        ShowWindow(SW_SHOWNA);
    return 0;
}

void CMainFrame::OnDestroy()
{
    CFrameWnd::OnDestroy();
    if (m_nTrayFlag) {
        NOTIFYICONDATA data;
        data.hWnd = GetSafeHwnd();
        data.uID = kTrayIconId;
        Shell_NotifyIcon(NIM_DELETE, &data);
        m_nTrayFlag = 0;
    }
}
