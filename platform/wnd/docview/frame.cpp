#include "platform/wnd/docview/frame.h"

#include <algorithm>

#include "platform/gdi/font.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/core/thread.h"
#include "platform/wnd/docview/controlbar.h"
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/statusbar.h"
#include "platform/wnd/docview/view.h"
#include "platform/wnd/docview/winapp.h"

namespace {

constexpr int kMenuBarHeight = 20;
constexpr int kMenuItemPadding = 7; // blank on each side of an item's text

// The frame's menu bar: the top-level items of the frame's menu, drawn in a
// row; a click opens the item's popup.
class CFrameMenuBar : public CWnd {
public:
    explicit CFrameMenuBar(CFrameWnd* frame)
        : m_frame(frame)
    { }

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnWm<WM_PAINT, &CFrameMenuBar::OnPaint>(),
                OnWm<WM_LBUTTONDOWN, &CFrameMenuBar::OnLButtonDown>(),
            });
        return &kMap;
    }

    void PostNcDestroy() override { delete this; }

    // Item rectangles in client coordinates.
    std::vector<CRect> ItemRects()
    {
        std::vector<CRect> rects;
        CMenu* menu = m_frame->GetMenu();
        if (!menu)
            return rects;
        CClientDC dc(this);
        CFont* old = dc.SelectObject(&Font());
        int x = 0;
        for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
            CString text;
            menu->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
            CRect measure(0, 0, 0, 0);
            dc.DrawText(text, &measure, DT_SINGLELINE | DT_CALCRECT);
            const int width = measure.Width() + 2 * kMenuItemPadding;
            rects.emplace_back(x, 0, x + width, kMenuBarHeight);
            x += width;
        }
        dc.SelectObject(old);
        return rects;
    }

private:
    CFont& Font()
    {
        if (!m_font.GetSafeHandle()) {
            NONCLIENTMETRICS metrics;
            SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
            m_font.CreateFontIndirect(&metrics.lfMenuFont);
        }
        return m_font;
    }

    void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, GetSysColor(COLOR_MENU));
        CMenu* menu = m_frame->GetMenu();
        if (!menu)
            return;
        CFont* old = dc.SelectObject(&Font());
        dc.SetBkMode(TRANSPARENT);
        const std::vector<CRect> rects = ItemRects();
        for (std::size_t i = 0; i < rects.size(); ++i) {
            CString text;
            menu->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
            const UINT state = menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
            dc.SetTextColor(GetSysColor((state & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
            CRect r = rects[i];
            dc.DrawText(text, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
        dc.SelectObject(old);
    }

    void OnLButtonDown(UINT, CPoint point)
    {
        const std::vector<CRect> rects = ItemRects();
        for (std::size_t i = 0; i < rects.size(); ++i)
            if (rects[i].PtInRect(point)) {
                m_frame->TrackMenuBarPopup(static_cast<int>(i));
                return;
            }
    }

    CFrameWnd* m_frame;
    CFont m_font;
};

// The command a key message means in an accelerator table, or 0.
UINT AcceleratorCommand(const AcceleratorTable& table, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0 || msg.message == WM_SYSKEYDOWN;
    for (const AcceleratorEntry& entry : table.entries) {
        if (!(entry.flags & AcceleratorEntry::kVirtKey) || entry.key != msg.wParam)
            continue;
        if (((entry.flags & AcceleratorEntry::kShift) != 0) != shift
            || ((entry.flags & AcceleratorEntry::kControl) != 0) != control
            || ((entry.flags & AcceleratorEntry::kAlt) != 0) != alt)
            continue;
        return entry.command;
    }
    return 0;
}

// Child windows of hwnd in creation order.
std::vector<HWND> ChildrenOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    std::vector<HWND> children;
    if (!state)
        return children;
    for (HWND child : state->children)
        if (std::shared_ptr<WindowState> c = window_table::FindLocked(child); c && c->IsChild())
            children.push_back(child);
    return children;
}

// Every view in the window tree under hwnd, in creation order (pre-order).
void CollectViews(HWND hwnd, std::vector<CView*>& views)
{
    for (HWND child : ChildrenOf(hwnd)) {
        if (auto* view = DynamicDownCast<CView>(CWnd::FromHandle(child)))
            views.push_back(view);
        CollectViews(child, views);
    }
}

// The descendant with control id, a child with the same id as its parent
// taking precedence over the parent (a splitter and its first pane).
CWnd* DescendantWithId(HWND hwnd, UINT id)
{
    for (HWND child : ChildrenOf(hwnd)) {
        CWnd* window = CWnd::FromHandle(child);
        if (window && static_cast<UINT>(window->GetDlgCtrlID()) == id) {
            if (CWnd* inner = DescendantWithId(child, id))
                return inner;
            return window;
        }
    }
    for (HWND child : ChildrenOf(hwnd))
        if (CWnd* found = DescendantWithId(child, id))
            return found;
    return nullptr;
}

} // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_pDeletedFlag)
        *m_pDeletedFlag = true;
    if (m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
}

const CRuntimeClass* CFrameWnd::GetThisClass()
{
    static const CRuntimeClass kClass { "CFrameWnd", &AfxCreateObject<CFrameWnd>,
        CCmdTarget::GetThisClass() };
    return &kClass;
}

const MessageMap* CFrameWnd::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnMessage<&CFrameWnd::OnNcCreateMessage>(WM_NCCREATE),
            OnWm<WM_CREATE, &CFrameWnd::OnCreate>(),
            OnWm<WM_SIZE, &CFrameWnd::OnSize>(),
            OnWm<WM_CLOSE, &CFrameWnd::OnClose>(),
            OnWm<WM_DESTROY, &CFrameWnd::OnDestroy>(),
            OnWm<WM_NCDESTROY, &CFrameWnd::OnNcDestroy>(),
            OnWm<WM_SETFOCUS, &CFrameWnd::OnSetFocus>(),
            OnMessage<&CFrameWnd::OnInitMenuPopupMessage>(WM_INITMENUPOPUP),
            OnMessage<&CFrameWnd::OnSysCommandMessage>(WM_SYSCOMMAND),
            OnMessage<&CFrameWnd::OnMenuSelectMessage>(WM_MENUSELECT),
            OnMessage<&CFrameWnd::OnSetMessageStringMessage>(WM_SETMESSAGESTRING),
            OnCommandRange<&CFrameWnd::OnBarCheck>(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR),
            OnUpdateCommandRange<&CFrameWnd::OnUpdateControlBarMenu>(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR),
        });
    return &kMap;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    CString docString;
    if (AfxLoadString(resourceId, docString)) {
        const int end = docString.Find('\n');
        m_strTitle = end < 0 ? docString : docString.Left(end);
    }
    if (AfxFindMenuTemplate(resourceId)) {
        CMenu menu;
        if (menu.LoadMenu(resourceId))
            m_hMenuDefault = menu.Detach();
    }
    m_pAccelTable = AfxFindAcceleratorTable(resourceId);
    const CRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return CreateEx(0, "AfxFrameOrView", m_strTitle, style, screen, parent, 0, context);
}

LRESULT CFrameWnd::OnNcCreateMessage(WPARAM, LPARAM)
{
    m_bCreatedWindow = TRUE;
    return Default();
}

int CFrameWnd::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    if (m_hMenuDefault) {
        auto* bar = new CFrameMenuBar(this);
        if (!bar->CreateEx(0, "AfxMenuBar", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, kMenuBarHeight),
                this, AFX_IDW_MENU_BAR, nullptr))
            delete bar;
    }
    auto* context = createStruct ? static_cast<CCreateContext*>(createStruct->lpCreateParams) : nullptr;
    if (!OnCreateClient(createStruct, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (!context || !context->m_pNewViewClass)
        return TRUE;
    return CreateView(context) != nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CCmdTarget* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, GetPaneRect(), this, id, context))
        return nullptr; // the view deleted itself with its window
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible)
{
    if (!m_pViewActive) {
        if (auto* view = DynamicDownCast<CView>(DescendantWithId(GetSafeHwnd(), AFX_IDW_PANE_FIRST)))
            SetActiveView(view, FALSE);
    }
    std::vector<CView*> views;
    CollectViews(GetSafeHwnd(), views);
    for (CView* view : views)
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
    OnUpdateFrameTitle(TRUE);
    if (makeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int showCommand)
{
    ShowWindow(showCommand < 0 ? SW_SHOW : showCommand);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!addToTitle || !(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* document = GetActiveDocument();
    if (document && !document->GetTitle().IsEmpty())
        SetWindowText(document->GetTitle() + " - " + m_strTitle);
    else
        SetWindowText(m_strTitle);
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old)
        return;
    m_pViewActive = view;
    if (notify && old)
        old->OnActivateView(FALSE, view, old);
    if (notify && view)
        view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

CRect CFrameWnd::GetPaneRect() const
{
    CRect rect;
    GetClientRect(&rect);
    if (MenuBar())
        rect.top += kMenuBarHeight;
    for (CControlBar* bar : m_bars) {
        if (!bar->GetSafeHwnd() || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        const CSize need = bar->CalcFixedLayout(rect.Width());
        if (bar->GetBarStyle() & CBRS_ALIGN_LEFT)
            rect.left += need.cx;
        else if (bar->IsTopBar())
            rect.top += need.cy;
        else
            rect.bottom -= need.cy;
    }
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

// The menu bar goes with its window: it is looked up, never kept.
CWnd* CFrameWnd::MenuBar() const
{
    return m_hWnd ? GetDlgItem(AFX_IDW_MENU_BAR) : nullptr;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!GetSafeHwnd())
        return;
    CRect rect;
    GetClientRect(&rect);
    if (CWnd* bar = MenuBar()) {
        bar->MoveWindow(rect.left, rect.top, rect.Width(), kMenuBarHeight);
        rect.top += kMenuBarHeight;
    }
    for (CControlBar* bar : m_bars) {
        if (!bar->GetSafeHwnd() || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        const CSize need = bar->CalcFixedLayout(rect.Width());
        if (bar->GetBarStyle() & CBRS_ALIGN_LEFT) {
            // A bar docked on the left takes the height left by the earlier bars.
            bar->MoveWindow(rect.left, rect.top, need.cx, rect.Height());
            rect.left += need.cx;
            continue;
        }
        const int height = need.cy;
        if (bar->IsTopBar()) {
            bar->MoveWindow(rect.left, rect.top, rect.Width(), height);
            rect.top += height;
        } else {
            bar->MoveWindow(rect.left, rect.bottom - height, rect.Width(), height);
            rect.bottom -= height;
        }
    }
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    if (CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST)))
        pane->MoveWindow(&rect);
}

CMenu* CFrameWnd::GetMenu() const
{
    return m_hMenuDefault ? CMenu::FromHandle(m_hMenuDefault) : nullptr;
}

void CFrameWnd::DrawMenuBar()
{
    if (CWnd* bar = MenuBar())
        bar->Invalidate();
}

BOOL CFrameWnd::TrackMenuBarPopup(int position, BOOL byKeyboard)
{
    if (!m_hMenuDefault || !::GetSubMenu(m_hMenuDefault, position))
        return FALSE;
    // Left and Right close the popup and open the bar's neighbour, around the ends.
    const int count = ::GetMenuItemCount(m_hMenuDefault);
    UINT command = 0;
    for (int step = 1; step != 0 && GetSafeHwnd();) {
        if (HMENU popup = ::GetSubMenu(m_hMenuDefault, position)) {
            const CPoint at = MenuBarPopupPlace(position);
            command = AfxTrackMenuBarPopup(popup, at.x, at.y, GetSafeHwnd(), byKeyboard, &step);
        }
        byKeyboard = TRUE;
        position = (position + step + count) % count;
    }
    if (command != 0 && GetSafeHwnd())
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    return TRUE;
}

CPoint CFrameWnd::MenuBarPopupPlace(int position)
{
    CPoint at(0, kMenuBarHeight);
    if (auto* bar = static_cast<CFrameMenuBar*>(MenuBar())) {
        const std::vector<CRect> rects = bar->ItemRects();
        if (position < static_cast<int>(rects.size()))
            at = CPoint(rects[static_cast<std::size_t>(position)].left,
                rects[static_cast<std::size_t>(position)].bottom);
        bar->ClientToScreen(&at);
    }
    return at;
}

LRESULT CFrameWnd::OnSysCommandMessage(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) != SC_KEYMENU || !m_hMenuDefault)
        return Default();
    const int position = AfxFindMenuMnemonic(m_hMenuDefault, static_cast<UINT>(lParam));
    if (position >= 0)
        TrackMenuBarPopup(position, TRUE);
    return 0;
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (bar && std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end())
        m_bars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_bars)
        if (static_cast<UINT>(bar->GetDlgCtrlID()) == id)
            return bar;
    return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar*)
{
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL)
{
    if (!bar || !bar->GetSafeHwnd())
        return;
    bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    const std::vector<CControlBar*> bars = m_bars;
    for (CControlBar* bar : bars)
        if (std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end() && bar->GetSafeHwnd()
            && (bar->GetStyle() & WS_VISIBLE))
            bar->OnUpdateCmdUI(this, TRUE);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        return OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr, nullptr);
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (!msg)
        return FALSE;
    if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN || msg->message == WM_MBUTTONDOWN)
        ActivateViewOf(msg->hwnd);
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_pAccelTable && IsWindowEnabled())
        return TranslateAccelerator(*msg);
    return FALSE;
}

void CFrameWnd::ActivateViewOf(HWND hwnd)
{
    for (CWnd* w = CWnd::FromHandle(hwnd); w && w != this; w = w->GetParent()) {
        if (auto* view = DynamicDownCast<CView>(w)) {
            if (view->GetParentFrame() == this)
                SetActiveView(view);
            return;
        }
    }
}

HMENU CFrameWnd::FindPopupOf(HMENU menu, UINT id) const
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (HMENU found = FindPopupOf(sub, id))
                return found;
        } else if (::GetMenuItemID(menu, i) == id) {
            return menu;
        }
    }
    return nullptr;
}

BOOL CFrameWnd::TranslateAccelerator(const MSG& msg)
{
    const UINT command = AcceleratorCommand(*m_pAccelTable, msg);
    if (command == 0)
        return FALSE;
    // As the system does: the popup that holds the command is brought up to
    // date first, and a disabled item's key does nothing.
    if (HMENU popup = m_hMenuDefault ? FindPopupOf(m_hMenuDefault, command) : nullptr;
        popup && popup != m_hMenuDefault) {
        SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        const UINT state = ::GetMenuState(popup, command, MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)))
            return TRUE;
    }
    if (GetSafeHwnd())
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 1), 0);
    return TRUE;
}

LRESULT CFrameWnd::OnInitMenuPopupMessage(WPARAM wParam, LPARAM)
{
    auto popup = reinterpret_cast<HMENU>(wParam);
    CMenu* menu = CMenu::FromHandle(popup);
    if (!menu)
        return 0;
    const int count = menu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const UINT id = menu->GetMenuItemID(i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separator or submenu
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(count);
        state.m_pMenu = menu;
        state.DoUpdate(this, m_bAutoMenuEnable && id < 0xF000);
        if (!IsWindow(GetSafeHwnd()) || !::IsMenu(popup))
            break;
    }
    return 0;
}

void CFrameWnd::OnBarCheck(UINT id)
{
    if (CControlBar* bar = GetControlBar(id - ID_VIEW_TOOLBAR + AFX_IDW_TOOLBAR))
        ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID - ID_VIEW_TOOLBAR + AFX_IDW_TOOLBAR);
    if (!bar) {
        cmdUI->m_bContinueRouting = TRUE;
        return;
    }
    cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnNcDestroy()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    CWnd::OnNcDestroy();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive && m_pViewActive->GetSafeHwnd())
        m_pViewActive->SetFocus();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::SetMessageText(LPCTSTR text)
{
    auto* bar = dynamic_cast<CStatusBar*>(GetDlgItem(static_cast<int>(AFX_IDW_STATUS_BAR)));
    if (bar && bar->GetCount() > 0)
        bar->SetPaneText(0, text ? text : "");
}

LRESULT CFrameWnd::OnSetMessageStringMessage(WPARAM wParam, LPARAM)
{
    const UINT id = static_cast<UINT>(wParam);
    CString text;
    if (id == 0 || id == AFX_IDS_IDLEMESSAGE) {
        AfxLoadString(AFX_IDS_IDLEMESSAGE, text);
    } else if (AfxLoadString(id, text)) {
        const int end = text.Find('\n');
        if (end >= 0)
            text = text.Left(end);
    }
    SetMessageText(text);
    return 0;
}

LRESULT CFrameWnd::OnMenuSelectMessage(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    constexpr UINT kClosed = 0xFFFF;
    if (flags == kClosed && lParam == 0) {
        OnSetMessageStringMessage(0, 0);
        return 0;
    }
    if (flags & (MF_POPUP | MF_SEPARATOR))
        SetMessageText("");
    else
        OnSetMessageStringMessage(id, 0);
    return 0;
}
