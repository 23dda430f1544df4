// CWnd and the handle-level calls over the window table.

#include "platform/wnd/core/wnd.h"
#include "platform/wnd/core/scrollbar.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/internal/caption_drag.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/msgbox.h"

// ---- Window table ----------------------------------------------------------------------

namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<HWND, std::shared_ptr<WindowState>> windows;
    std::uintptr_t nextHandle = 0x10000;
};

Table& TheTable()
{
    static Table* table = new Table;
    return *table;
}

HWND g_capture = nullptr; // UI thread

CString UpperAscii(const char* text)
{
    CString s(text ? text : "");
    s.MakeUpper();
    return s;
}

// Copies at most maxCount - 1 bytes and a NUL, never splitting a UTF-8 sequence.
int CopyText(const CString& text, LPTSTR buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    int n = std::min(text.GetLength(), maxCount - 1);
    while (n > 0 && n < text.GetLength() && (static_cast<unsigned char>(text.GetAt(n)) & 0xC0) == 0x80)
        --n;
    std::memcpy(buffer, text.GetString(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

CPoint ScreenOriginLocked(const WindowState& state)
{
    CPoint origin(state.rect.left, state.rect.top);
    if (state.IsChild()) {
        if (std::shared_ptr<WindowState> parent = window_table::FindLocked(state.parent))
            origin += ScreenOriginLocked(*parent);
    }
    return origin;
}

// Client-area origin of hwnd in screen coordinates.
CPoint ClientOrigin(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    return state ? ScreenOriginLocked(*state) : CPoint();
}

void UnlinkFromParent(const WindowState& state)
{
    std::lock_guard lock(window_table::Mutex());
    if (std::shared_ptr<WindowState> parent = window_table::FindLocked(state.parent)) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), state.hwnd), list.end());
    }
}

std::vector<HWND> ChildrenOf(const WindowState& state)
{
    std::lock_guard lock(window_table::Mutex());
    return state.children;
}

// First pass of a destruction: WM_DESTROY to the window, then to its
// descendants (pre-order). Each is marked as being destroyed first, which
// makes new cross-thread sends fail and releases the waiting ones.
void SendDestroyMessages(const std::shared_ptr<WindowState>& state)
{
    dispatch_internal::CancelSendsFor(state->hwnd);
    if (g_capture == state->hwnd)
        ReleaseCapture();
    if (window_focus::Focus() == state->hwnd)
        window_focus::SetFocusTo(nullptr);
    dispatch_internal::Dispatch(state->hwnd, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(*state)) {
        std::shared_ptr<WindowState> childState = window_table::Find(child);
        if (childState && !childState->destroying.exchange(true))
            SendDestroyMessages(childState);
    }
}

// Second pass: descendants first, WM_NCDESTROY, then the window leaves the table.
void TearDown(const std::shared_ptr<WindowState>& state)
{
    for (HWND child : ChildrenOf(*state)) {
        if (std::shared_ptr<WindowState> childState = window_table::Find(child))
            TearDown(childState);
    }
    window_timers::KillAll(state->hwnd);
    widget_bridge::ReleaseWidget(*state);
    dispatch_internal::Dispatch(state->hwnd, WM_NCDESTROY, 0, 0);
    // A WM_NCDESTROY handler that did not reach CWnd::OnNcDestroy leaves the
    // object attached: detach it here.
    if (CWnd* object = state->object.exchange(nullptr)) {
        object->m_hWnd = nullptr;
        object->PostNcDestroy();
    }
    UnlinkFromParent(*state);
    window_table::Remove(state->hwnd);
    for (auto& owned : state->ownedObjects)
        owned->m_hWnd = nullptr;
    state->ownedObjects.clear();
}

void DestroyWindowTree(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state || state->destroying.exchange(true))
        return;
    SendDestroyMessages(state);
    TearDown(state);
}

} // namespace

namespace window_table {

std::mutex& Mutex()
{
    return TheTable().mutex;
}

std::shared_ptr<WindowState> FindLocked(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto& windows = TheTable().windows;
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : it->second;
}

std::shared_ptr<WindowState> Find(HWND hwnd)
{
    std::lock_guard lock(Mutex());
    return FindLocked(hwnd);
}

std::shared_ptr<WindowState> Add()
{
    auto state = std::make_shared<WindowState>();
    std::lock_guard lock(Mutex());
    Table& table = TheTable();
    table.nextHandle += 4;
    state->hwnd = reinterpret_cast<HWND>(table.nextHandle);
    table.windows[state->hwnd] = state;
    return state;
}

void Remove(HWND hwnd)
{
    std::lock_guard lock(Mutex());
    TheTable().windows.erase(hwnd);
}

} // namespace window_table

namespace dispatch_internal {

namespace {

HWND TopLevelOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    while (state && state->IsChild() && state->parent) {
        std::shared_ptr<WindowState> parent = window_table::FindLocked(state->parent);
        if (!parent)
            break;
        state = parent;
    }
    return state ? state->hwnd : nullptr;
}

} // namespace

// The window class's own handling of a message, for windows with and without
// an object.
LRESULT DefaultWindowProcFor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Frame* frame = CurrentFrame();
    if (frame && frame->hwnd == hwnd && frame->message == message)
        frame->defaultReached = true;
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        if (CWnd* object = state->object.load())
            object->DestroyWindow();
        else
            DestroyWindowTree(hwnd);
        return 0;
    case WM_SETTEXT:
        SetWindowText(hwnd, reinterpret_cast<LPCTSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        const CString text = GetWindowTextString(hwnd);
        return CopyText(text, reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_GETTEXTLENGTH:
        return GetWindowTextString(hwnd).GetLength();
    case WM_SETREDRAW:
        state->redraw = wParam != 0;
        return 0;
    case WM_PAINT:
        widget_bridge::Validate(state, nullptr);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (state->className == "EDIT" && state->IsChild()) {
            const UINT code = message == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS;
            HWND parent;
            UINT id;
            {
                std::lock_guard lock(window_table::Mutex());
                parent = state->parent;
                id = state->id;
            }
            ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(hwnd));
        }
        return 0;
    case WM_GETDLGCODE:
        return state->className == "EDIT" ? (DLGC_WANTCHARS | DLGC_WANTARROWS) : 0;
    case WM_SYSCHAR:
        // Alt and a letter go to the top-level window's menu.
        if (HWND root = TopLevelOf(hwnd))
            ::SendMessage(root, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION)
            caption_drag::Begin(hwnd, lParam);
        return 0;
    default:
        return 0;
    }
}

} // namespace dispatch_internal

// ---- Handle-level calls ---------------------------------------------------------------

BOOL IsWindow(HWND hwnd)
{
    return window_table::Find(hwnd) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return 0;
    if (AfxIsUiThread())
        return IsWindow(hwnd) ? dispatch_internal::Dispatch(hwnd, message, wParam, lParam) : 0;
    return dispatch_internal::CrossThreadSend(hwnd, message, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hwnd))
        return FALSE;
    return dispatch_internal::Post(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}

namespace {

// Text lock held: the widget is on show; else the text is marked pending
// (the UI thread's own call hands it over at once all the same).
bool ShownOrPending(WindowState& state)
{
    if (!state.textOnShow)
        state.textPending = true;
    return state.textOnShow;
}

// The widget of a window follows its text store on the UI thread. Another
// thread's text goes there only for a widget on show (read with the text);
// else it is marked pending, and the showing takes it.
void ApplyTextOnUiThread(HWND hwnd, const std::shared_ptr<WindowState>& state, bool shown)
{
    if (AfxIsUiThread()) {
        widget_bridge::ApplyText(state);
    } else if (shown) {
        wnd_internal::PostToUiThread([hwnd] {
            if (std::shared_ptr<WindowState> s = window_table::Find(hwnd))
                widget_bridge::ApplyText(s);
        });
    }
}

} // namespace

BOOL SetWindowText(HWND hwnd, LPCTSTR text)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return FALSE;
    bool shown;
    {
        std::lock_guard lock(state->textMutex);
        state->text = text ? text : "";
        state->modified = false;
        shown = ShownOrPending(*state);
    }
    ApplyTextOnUiThread(hwnd, state, shown);
    return TRUE;
}

CString ExchangeWindowText(HWND hwnd, LPCTSTR text)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return CString();
    CString previous;
    bool shown;
    {
        std::lock_guard lock(state->textMutex);
        previous = state->text;
        state->text = text ? text : "";
        state->modified = false;
        shown = ShownOrPending(*state);
    }
    ApplyTextOnUiThread(hwnd, state, shown);
    return previous;
}

CString GetWindowTextString(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return CString();
    std::lock_guard lock(state->textMutex);
    return state->text;
}

BOOL ReleaseCapture()
{
    HWND previous = g_capture;
    g_capture = nullptr;
    if (!previous)
        return TRUE;
    if (std::shared_ptr<WindowState> state = window_table::Find(previous)) {
        widget_bridge::ReleaseMouse(state);
        dispatch_internal::Dispatch(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

// ---- CWnd ----------------------------------------------------------------------------------

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    HWND hwnd = m_hWnd.exchange(nullptr);
    if (!hwnd)
        return;
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return;
    CWnd* self = this;
    // The derived parts are gone: the window's own messages go to the default
    // procedure from here on.
    if (!state->object.compare_exchange_strong(self, nullptr))
        return; // another object stands for the window now
    wnd_internal::RunOnUiThread([hwnd] { DestroyWindowTree(hwnd); });
}

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnWm<WM_NCDESTROY, &CWnd::OnNcDestroy>(),
        });
    return &kMap;
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
    void* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
    CWnd* parent, UINT id, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr, id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
    int width, int height, HWND parent, UINT_PTR idOrMenu, void* param)
{
    if (!AfxIsUiThread()) {
        BOOL created = FALSE;
        wnd_internal::RunOnUiThread([&] {
            created = CreateEx(
                exStyle, className, windowName, style, x, y, width, height, parent, idOrMenu, param);
        });
        return created;
    }
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    if (!PreCreateWindow(cs))
        return FALSE;
    if (cs.hwndParent && !IsWindow(cs.hwndParent))
        return FALSE;
    if ((cs.style & WS_CHILD) && !cs.hwndParent)
        return FALSE;

    std::shared_ptr<WindowState> state = window_table::Add();
    const HWND hwnd = state->hwnd;
    {
        std::lock_guard lock(window_table::Mutex());
        state->className = UpperAscii(cs.lpszClass);
        state->parent = cs.hwndParent;
        state->id = (cs.style & WS_CHILD) ? static_cast<UINT>(cs.hMenu) : 0;
        state->style = cs.style;
        state->exStyle = cs.dwExStyle;
        state->rect = CRect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
        state->maximized = (cs.style & WS_MAXIMIZE) != 0;
        if (std::shared_ptr<WindowState> parentState = window_table::FindLocked(cs.hwndParent))
            parentState->children.push_back(hwnd);
    }
    state->text = cs.lpszName ? cs.lpszName : "";
    state->object = this;
    m_hWnd = hwnd;

    if (!dispatch_internal::Dispatch(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))
        || dispatch_internal::Dispatch(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // The teardown detaches this object; a view may have deleted itself.
        DestroyWindowTree(hwnd);
        return FALSE;
    }
    if (!IsWindow(hwnd))
        return FALSE;

    std::shared_ptr<WindowState> parentState = window_table::Find(cs.hwndParent);
    const bool visible = (cs.style & WS_VISIBLE) != 0;
    if ((state->IsChild() && parentState && widget_bridge::IsRealized(*parentState))
        || (!state->IsChild() && visible))
        widget_bridge::Realize(state);
    dispatch_internal::Dispatch(hwnd, WM_SIZE, state->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
        MAKELPARAM(static_cast<WORD>(cs.cx), static_cast<WORD>(cs.cy)));
    dispatch_internal::Dispatch(
        hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(cs.x), static_cast<WORD>(cs.y)));
    if (visible && IsWindow(hwnd)) {
        dispatch_internal::Dispatch(hwnd, WM_SHOWWINDOW, TRUE, 0);
        if (std::shared_ptr<WindowState> s = window_table::Find(hwnd))
            widget_bridge::ApplyVisible(
                s, (cs.dwExStyle & WS_EX_TOOLWINDOW) == 0, state->maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    }
    return IsWindow(hwnd);
}

BOOL CWnd::DestroyWindow()
{
    HWND hwnd = m_hWnd;
    if (!hwnd)
        return FALSE;
    return wnd_internal::RunOnUiThread([hwnd] { DestroyWindowTree(hwnd); }, hwnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

void CWnd::PostNcDestroy() { }

void CWnd::PreSubclassWindow() { }

CWnd* CWnd::FromHandle(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    return state ? state->object.load() : nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (m_hWnd)
        return FALSE;
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return FALSE;
    state->object = this;
    m_hWnd = hwnd;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent)
        return FALSE;
    CWnd* item = parent->GetDlgItem(static_cast<int>(id));
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd.exchange(nullptr);
    if (std::shared_ptr<WindowState> state = window_table::Find(hwnd)) {
        CWnd* self = this;
        CWnd* fallback = state->ownedObjects.empty() ? nullptr : state->ownedObjects.front().get();
        state->object.compare_exchange_strong(self, fallback);
    }
    return hwnd;
}

CWnd* CWnd::GetParent() const
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return nullptr;
    HWND parent;
    {
        std::lock_guard lock(window_table::Mutex());
        parent = state->parent;
    }
    return FromHandle(parent);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    if (!state)
        return nullptr;
    for (HWND child : state->children) {
        std::shared_ptr<WindowState> childState = window_table::FindLocked(child);
        if (childState && childState->IsChild() && childState->id == static_cast<UINT>(id)
            && !childState->destroying)
            return childState->object.load();
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    return state && state->IsChild() ? static_cast<int>(state->id) : 0;
}

int CWnd::SetDlgCtrlID(int id)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    if (!state)
        return 0;
    const int previous = static_cast<int>(state->id);
    state->id = static_cast<UINT>(id);
    return previous;
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hwnd = m_hWnd;
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    while (state && state->IsChild()) {
        std::shared_ptr<WindowState> parent = window_table::FindLocked(state->parent);
        if (!parent)
            break;
        state = parent;
    }
    return state ? state->object.load() : nullptr;
}

BOOL CWnd::IsChild(const CWnd* window) const
{
    if (!window)
        return FALSE;
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(window->m_hWnd);
    while (state && state->IsChild()) {
        if (state->parent == m_hWnd)
            return TRUE;
        state = window_table::FindLocked(state->parent);
    }
    return FALSE;
}

// ---- Text -------------------------------------------------------------------------------------

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return nullptr;
    HICON previous;
    {
        std::lock_guard lock(window_table::Mutex());
        HICON& slot = bigIcon ? state->bigIcon : state->smallIcon;
        previous = slot;
        slot = icon;
    }
    if (bigIcon || !state->bigIcon)
        wnd_internal::ApplyWindowIcon(m_hWnd, icon);
    return previous;
}

HICON CWnd::GetIcon(BOOL bigIcon) const
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return nullptr;
    std::lock_guard lock(window_table::Mutex());
    return bigIcon ? state->bigIcon : state->smallIcon;
}

void CWnd::SetWindowText(LPCTSTR text)
{
    ::SetWindowText(m_hWnd, text);
}

int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const
{
    return CopyText(GetWindowTextString(m_hWnd), buffer, maxCount);
}

void CWnd::GetWindowText(CString& text) const
{
    text = GetWindowTextString(m_hWnd);
}

int CWnd::GetWindowTextLength() const
{
    return GetWindowTextString(m_hWnd).GetLength();
}

void CWnd::SetDlgItemText(int id, LPCTSTR text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    CWnd* item = GetDlgItem(id);
    text = item ? GetWindowTextString(item->m_hWnd) : CString();
    return text.GetLength();
}

int CWnd::GetDlgItemText(int id, LPTSTR buffer, int maxCount) const
{
    CWnd* item = GetDlgItem(id);
    return CopyText(item ? GetWindowTextString(item->m_hWnd) : CString(), buffer, maxCount);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    CString text;
    GetDlgItemText(id, text);
    text.Trim();
    const char* begin = text.GetString();
    char* end = nullptr;
    const long long value = std::strtoll(begin, &end, 10);
    const bool ok = !text.IsEmpty() && end && *end == '\0' && (isSigned || value >= 0);
    if (translated)
        *translated = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(value) : 0;
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    CString text;
    if (isSigned)
        text.Format("%d", static_cast<int>(value));
    else
        text.Format("%u", value);
    SetDlgItemText(id, text);
}

// ---- State and layout ---------------------------------------------------------------------

BOOL CWnd::ShowWindow(int command)
{
    if (!AfxIsUiThread()) {
        BOOL result = FALSE;
        wnd_internal::RunOnUiThread([&] { result = ShowWindow(command); }, m_hWnd);
        return result;
    }
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return FALSE;
    const bool show = command != SW_HIDE;
    bool wasVisible;
    {
        std::lock_guard lock(window_table::Mutex());
        wasVisible = (state->style & WS_VISIBLE) != 0;
        if (show)
            state->style |= WS_VISIBLE;
        else
            state->style &= ~WS_VISIBLE;
        if (command == SW_SHOWMAXIMIZED)
            state->maximized = true;
        else if (command == SW_RESTORE || command == SW_SHOWNORMAL)
            state->maximized = false;
    }
    if (wasVisible != show)
        dispatch_internal::Dispatch(m_hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!IsWindow(state->hwnd))
        return wasVisible ? TRUE : FALSE;
    if (show && !state->IsChild())
        widget_bridge::Realize(state);
    const bool activate
        = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE;
    widget_bridge::ApplyVisible(state, activate, command);
    return wasVisible ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    if (!state)
        return FALSE;
    while (state) {
        if (!(state->style & WS_VISIBLE))
            return FALSE;
        if (!state->IsChild())
            return TRUE;
        state = window_table::FindLocked(state->parent);
    }
    return TRUE;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!AfxIsUiThread()) {
        BOOL result = FALSE;
        wnd_internal::RunOnUiThread([&] { result = EnableWindow(enable); }, m_hWnd);
        return result;
    }
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return FALSE;
    bool wasDisabled;
    {
        std::lock_guard lock(window_table::Mutex());
        wasDisabled = (state->style & WS_DISABLED) != 0;
        if (enable)
            state->style &= ~WS_DISABLED;
        else
            state->style |= WS_DISABLED;
    }
    if (wasDisabled == (enable != FALSE)) {
        if (!enable && window_focus::Focus() == m_hWnd)
            window_focus::SetFocusTo(nullptr);
        widget_bridge::ApplyEnabled(state);
        dispatch_internal::Dispatch(m_hWnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    return state && !(state->style & WS_DISABLED) ? TRUE : FALSE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!AfxIsUiThread()) {
        BOOL result = FALSE;
        wnd_internal::RunOnUiThread([&] { result = SetWindowPos(insertAfter, x, y, cx, cy, flags); }, m_hWnd);
        return result;
    }
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return FALSE;
    CRect before;
    CRect after;
    {
        std::lock_guard lock(window_table::Mutex());
        before = state->rect;
        after = before;
        if (!(flags & SWP_NOMOVE))
            after = CRect(x, y, x + before.Width(), y + before.Height());
        if (!(flags & SWP_NOSIZE))
            after.right = after.left + std::max(cx, 0), after.bottom = after.top + std::max(cy, 0);
        state->rect = after;
    }
    const bool moved = after.TopLeft() != before.TopLeft();
    const bool sized = after.Size() != before.Size();
    if (moved || sized)
        widget_bridge::ApplyGeometry(state);
    if (!(flags & SWP_NOZORDER) && insertAfter)
        widget_bridge::ApplyZOrder(state, insertAfter != &wndBottom);
    if (sized)
        dispatch_internal::Dispatch(m_hWnd, WM_SIZE, state->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
            MAKELPARAM(static_cast<WORD>(after.Width()), static_cast<WORD>(after.Height())));
    if (moved && IsWindow(state->hwnd))
        dispatch_internal::Dispatch(
            m_hWnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(after.left), static_cast<WORD>(after.top)));
    if ((flags & SWP_SHOWWINDOW) || (flags & SWP_HIDEWINDOW)) {
        const bool show = (flags & SWP_SHOWWINDOW) != 0;
        {
            std::lock_guard lock(window_table::Mutex());
            if (show)
                state->style |= WS_VISIBLE;
            else
                state->style &= ~WS_VISIBLE;
        }
        if (show && !state->IsChild())
            widget_bridge::Realize(state);
        widget_bridge::ApplyVisible(state, !(flags & SWP_NOACTIVATE), show ? SW_SHOWNA : SW_HIDE);
    }
    if ((moved || sized) && !(flags & SWP_NOREDRAW) && IsWindow(state->hwnd))
        widget_bridge::Invalidate(state, nullptr);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    CRect area;
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    if (owner && !(GetStyle() & WS_CHILD)) {
        owner->GetWindowRect(&area);
    } else if (owner) {
        owner->GetClientRect(&area);
    } else {
        const QRect screen = widget_bridge::ScreenRect();
        area = CRect(
            screen.left(), screen.top(), screen.left() + screen.width(), screen.top() + screen.height());
    }
    CRect mine;
    GetWindowRect(&mine);
    const int x = area.left + (area.Width() - mine.Width()) / 2;
    const int y = area.top + (area.Height() - mine.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DWORD CWnd::GetStyle() const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    return state ? state->style : 0;
}

DWORD CWnd::GetExStyle() const
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    return state ? state->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT)
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state)
        return FALSE;
    DWORD before;
    DWORD after;
    {
        std::lock_guard lock(window_table::Mutex());
        before = state->style;
        after = (before & ~remove) | add;
        state->style = after;
    }
    if (before == after)
        return FALSE;
    if (AfxIsUiThread()) {
        if ((before ^ after) & WS_DISABLED)
            widget_bridge::ApplyEnabled(state);
        if ((before ^ after) & WS_VISIBLE)
            widget_bridge::ApplyVisible(state, false, (after & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    }
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    if (!state)
        return FALSE;
    const DWORD before = state->exStyle;
    state->exStyle = (before & ~remove) | add;
    return before != state->exStyle;
}

// ---- Geometry ------------------------------------------------------------------------------------

void CWnd::GetClientRect(LPRECT rect) const
{
    if (!rect)
        return;
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    *rect = state ? CRect(0, 0, state->rect.Width(), state->rect.Height()) : CRect();
    if (state)
        ExcludeScrollBars(state->style, rect); // shown bars lie outside the client area
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    if (!rect)
        return;
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(m_hWnd);
    if (!state) {
        *rect = CRect();
        return;
    }
    *rect = CRect(ScreenOriginLocked(*state), state->rect.Size());
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    if (!point)
        return;
    const CPoint origin = ClientOrigin(m_hWnd);
    point->x -= origin.x;
    point->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    if (!rect)
        return;
    const CPoint origin = ClientOrigin(m_hWnd);
    CRect r(*rect);
    r.OffsetRect(-origin.x, -origin.y);
    *rect = r;
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    if (!point)
        return;
    const CPoint origin = ClientOrigin(m_hWnd);
    point->x += origin.x;
    point->y += origin.y;
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    if (!rect)
        return;
    const CPoint origin = ClientOrigin(m_hWnd);
    CRect r(*rect);
    r.OffsetRect(origin.x, origin.y);
    *rect = r;
}

// ---- Painting ---------------------------------------------------------------------------------------

void CWnd::Invalidate(BOOL erase)
{
    InvalidateRect(nullptr, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase)
{
    HWND hwnd = m_hWnd;
    const bool whole = rect == nullptr;
    const QRect area
        = whole ? QRect() : QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    auto apply = [hwnd, whole, area, erase] {
        if (std::shared_ptr<WindowState> state = window_table::Find(hwnd))
            widget_bridge::Invalidate(state, whole ? nullptr : &area, erase != FALSE);
    };
    if (AfxIsUiThread())
        apply();
    else
        wnd_internal::PostToUiThread(apply);
}

void CWnd::ValidateRect(LPCRECT rect)
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state || !AfxIsUiThread())
        return;
    if (!rect) {
        widget_bridge::Validate(state, nullptr);
        return;
    }
    const QRect area(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    widget_bridge::Validate(state, &area);
}

void CWnd::UpdateWindow()
{
    if (!AfxIsUiThread()) {
        wnd_internal::RunOnUiThread([this] { UpdateWindow(); }, m_hWnd);
        return;
    }
    if (std::shared_ptr<WindowState> state = window_table::Find(m_hWnd))
        widget_bridge::UpdateNow(state);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, void*, UINT flags)
{
    if (flags & RDW_INVALIDATE)
        InvalidateRect(rect);
    if (flags & RDW_UPDATENOW)
        UpdateWindow();
    return IsWindow(m_hWnd);
}

BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL) const
{
    std::shared_ptr<WindowState> state = window_table::Find(m_hWnd);
    if (!state || state->dirty.isEmpty()) {
        if (rect)
            *rect = CRect();
        return FALSE;
    }
    const QRect box = state->dirty.boundingRect();
    if (rect)
        *rect = CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    return TRUE;
}

void CWnd::SetRedraw(BOOL redraw)
{
    SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
}

// ---- Focus and capture -----------------------------------------------------------------------

CWnd* CWnd::SetFocus()
{
    return FromHandle(window_focus::SetFocusTo(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(window_focus::Focus());
}

CWnd* CWnd::SetCapture()
{
    HWND previous = g_capture;
    if (previous == m_hWnd)
        return FromHandle(previous);
    g_capture = m_hWnd;
    if (std::shared_ptr<WindowState> state = window_table::Find(m_hWnd))
        widget_bridge::GrabMouse(state);
    if (previous && IsWindow(previous))
        dispatch_internal::Dispatch(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_hWnd.load()));
    return FromHandle(previous);
}

CWnd* CWnd::GetCapture()
{
    return FromHandle(g_capture);
}

// ---- Messages ------------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    CWnd* item = GetDlgItem(id);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void* timerProc)
{
    return ::SetTimer(m_hWnd, id, elapseMs, timerProc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) const
{
    return ::MessageBox(m_hWnd, text, caption, type);
}

// ---- Dispatch ------------------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return DefWindowProc(message, wParam, lParam);
    }
    if (const MessageMapEntry* entry = GetMessageMap()->Find(message, 0, 0))
        return entry->thunk(this, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return dispatch_internal::DefaultWindowProcFor(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), static_cast<int>(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return OnNotifyEntry(wParam, lParam, result);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    if (!msg)
        return FALSE;
    for (HWND hwnd = msg->hwnd; hwnd;) {
        CWnd* object = FromHandle(hwnd);
        if (object && object->PreTranslateMessage(msg))
            return TRUE;
        if (hwnd == stop)
            break;
        std::lock_guard lock(window_table::Mutex());
        std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
        if (!state || !state->IsChild())
            break;
        hwnd = state->parent;
    }
    return FALSE;
}

LRESULT CWnd::Default()
{
    dispatch_internal::Frame* frame = dispatch_internal::CurrentFrame();
    if (!frame)
        return 0;
    return DefWindowProc(frame->message, frame->wParam, frame->lParam);
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnNcDestroy()
{
    HWND hwnd = m_hWnd.exchange(nullptr);
    if (std::shared_ptr<WindowState> state = window_table::Find(hwnd)) {
        CWnd* self = this;
        state->object.compare_exchange_strong(self, nullptr);
    }
    PostNcDestroy();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

// ---- CCmdTarget and maps --------------------------------------------------------------------

const MessageMapEntry* MessageMap::Find(UINT message, UINT code, UINT id) const
{
    const bool routed = message == WM_COMMAND || message == WM_NOTIFY;
    for (const MessageMap* map = this; map; map = map->m_base) {
        for (const MessageMapEntry& entry : map->m_entries) {
            if (entry.message != message)
                continue;
            if (routed && (entry.code != code || id < entry.idFirst || id > entry.idLast))
                continue;
            return &entry;
        }
    }
    return nullptr;
}

const MessageMap* CCmdTarget::GetMessageMap() const
{
    static const MessageMap kMap(nullptr, {});
    return &kMap;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    const MessageMapEntry* entry = GetMessageMap()->Find(WM_COMMAND, static_cast<UINT>(code), id);
    if (!entry)
        return FALSE;
    if (handlerInfo) // a query: is there a handler?
        return TRUE;
    entry->thunk(
        this, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)), reinterpret_cast<LPARAM>(extra));
    return TRUE;
}

BOOL CCmdTarget::OnNotifyEntry(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    const MessageMapEntry* entry
        = GetMessageMap()->Find(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
    if (!entry)
        return FALSE;
    const LRESULT r = entry->thunk(this, wParam, lParam);
    if (result)
        *result = r;
    return TRUE;
}

BOOL CCmdTarget::OnMessageEntry(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND || message == WM_NOTIFY)
        return FALSE;
    const MessageMapEntry* entry = GetMessageMap()->Find(message, 0, 0);
    if (!entry)
        return FALSE;
    const LRESULT r = entry->thunk(this, wParam, lParam);
    if (result)
        *result = r;
    return TRUE;
}
