#pragma once
// CWnd: a window. Windows live on the UI thread: they are created, moved,
// shown and destroyed there, and every handler runs there. From other threads
// a window may be sent and posted messages, given timers, and its text read
// and written (the text is a thread-safe store); the layout calls (ShowWindow,
// MoveWindow, EnableWindow, SetWindowPos, DestroyWindow) called off the UI
// thread run on the UI thread and block the caller, like a sent message.
//
// A window keeps its state in the window layer (rectangle, style, text,
// children); it gets an on-screen widget only when it is shown, or when its
// parent has one. Never-shown windows (hidden mailbox dialogs) have none.

#include <atomic>

#include "platform/base/cstring.h"
#include "platform/base/geometry.h"
#include "platform/base/types.h"
#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/cmdtarget.h"
#include "platform/wnd/core/messages.h"

// ---- Handle-level calls (any thread unless said otherwise) ---------------------

// TRUE while hwnd names a window that has not yet received WM_NCDESTROY.
BOOL IsWindow(HWND hwnd);

// Synchronous message. On the UI thread the window's procedure runs at once.
// From another thread the caller blocks until the UI thread has run it; nested
// loops (modal dialogs, message boxes) keep serving such sends. Returns 0 at
// once when the window is gone or being destroyed, and releases a blocked
// sender with 0 when its window is destroyed before the handler ran. As on
// Windows, a UI thread blocked in WaitForSingleObject serves no sends: never
// make the UI thread wait for a thread that may be sending to it.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Queues the message for the window (per-window order is kept) and returns.
// FALSE when the window is gone. A message whose window is destroyed before
// delivery is dropped.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Starts (or restarts, when id is already set) a timer of the window; WM_TIMER
// (wParam = id) is delivered on the UI thread every elapseMs. Returns id, or 0
// when the window is gone. timerProc must be nullptr.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, void* timerProc = nullptr);
// Stops the timer; no WM_TIMER of it is delivered afterwards. FALSE when there
// was no such timer.
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Window text (thread-safe store; any length). Setting it sends no message (no
// WM_SETTEXT, no EN_CHANGE), so worker threads never wait for the UI thread;
// a shown widget follows on the UI thread.
BOOL SetWindowText(HWND hwnd, LPCTSTR text);
CString GetWindowTextString(HWND hwnd);
// Sets the text and returns the one it replaces, in one step: no other
// thread's write falls between the read and the write. Empty when hwnd is
// not a window.
CString ExchangeWindowText(HWND hwnd, LPCTSTR text);

// Capture: mouse input goes to the capturing window until ReleaseCapture. UI thread.
BOOL ReleaseCapture();

class CWnd : public CCmdTarget {
public:
    CWnd();
    // Destroys the window when it still exists (its derived handlers no longer
    // run at that point: destroy windows explicitly when they must).
    ~CWnd() override;

    const MessageMap* GetMessageMap() const override;

    // ---- Creation and destruction (UI thread) ----------------------------------
    // className: a window class ("EDIT", "BUTTON", a custom class such as
    // "GridCtrl"), or nullptr for a plain window. With WS_CHILD, rect is in the
    // parent's client coordinates and id is the control id; otherwise rect is in
    // screen coordinates and the parent (may be nullptr) owns the window.
    // Sends WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE (and WM_SHOWWINDOW when
    // WS_VISIBLE). FALSE, with no window, when WM_CREATE returns -1 or the
    // parent is not a window (a parent object without a window counts as none).
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
        UINT id, void* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
        CWnd* parent, UINT id, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
        int height, HWND parent, UINT_PTR idOrMenu, void* param = nullptr);
    // Sends WM_DESTROY, destroys the children (and owned windows), then sends
    // WM_NCDESTROY, which detaches this object and calls PostNcDestroy.
    // Pending cross-thread sends to the window are released with 0.
    virtual BOOL DestroyWindow();
    // May adjust the creation parameters; FALSE stops the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Last call for this object after its window is gone (objects that own
    // themselves delete themselves here).
    virtual void PostNcDestroy();
    // Called when the object is attached to an existing window by subclassing.
    virtual void PreSubclassWindow();

    // ---- Handles and objects -------------------------------------------------------
    HWND GetSafeHwnd() const { return m_hWnd.load(); }
    operator HWND() const { return m_hWnd.load(); }
    // The object attached to hwnd, or nullptr.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd) { return FromHandle(hwnd); }
    // Attaches this object to an existing window, which then dispatches to it
    // (subclassing). FALSE when hwnd is not a window or this object already has one.
    BOOL SubclassWindow(HWND hwnd);
    // SubclassWindow on the parent's child with control id.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Gives the window back to a plain object; returns it.
    HWND UnsubclassWindow();

    // ---- Relations ---------------------------------------------------------------------
    // Parent (child windows) or owner (popups); nullptr when none.
    CWnd* GetParent() const;
    // Child with control id, or nullptr. Any thread.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    // Topmost ancestor that is not a child window.
    CWnd* GetTopLevelParent() const;
    BOOL IsChild(const CWnd* window) const;

    // ---- Text (any thread) ---------------------------------------------------------
    void SetWindowText(LPCTSTR text);
    // The window's big (caption bar, task switcher) or small icon; returns the
    // previous one. The caller keeps the icon alive while it is set.
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;
    // Copies at most maxCount - 1 bytes plus a NUL; returns the bytes copied.
    int GetWindowText(LPTSTR buffer, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;
    int GetDlgItemText(int id, LPTSTR buffer, int maxCount) const;
    // Decimal value of the item's text (leading blanks and a sign allowed); 0
    // with *translated FALSE when it is not a number.
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);

    // ---- State and layout (UI thread; other threads are marshalled) ---------
    BOOL ShowWindow(int command);
    // The window and all its ancestors are visible.
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Centres a popup over its owner (or the screen).
    void CenterWindow(CWnd* alternateOwner = nullptr);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // ---- Geometry (any thread) -----------------------------------------------------
    // Client area: (0, 0, width, height).
    void GetClientRect(LPRECT rect) const;
    // Window rectangle in screen coordinates.
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;

    // ---- Painting --------------------------------------------------------------------
    // Adds the rectangle (nullptr: the client area) to the update region and
    // schedules one deferred WM_PAINT for everything invalidated until then.
    // Any thread.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    // Sends the pending WM_PAINT at once, when there is one. UI thread.
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr, UINT flags = RDW_INVALIDATE);
    // The update region's bounding box; FALSE when nothing is invalid.
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE) const;
    // Redraw flag (WM_SETREDRAW): while FALSE, invalidation paints nothing.
    void SetRedraw(BOOL redraw = TRUE);

    // ---- Focus and capture (UI thread) -------------------------------------------
    // Returns the window that had the focus.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // ---- Messages (any thread) -------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    // Message box owned by this window; see AfxMessageBox. caption nullptr: the
    // application name.
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK) const;

    // ---- Dispatch (UI thread) ------------------------------------------------------
    // Routes WM_COMMAND to OnCommand, WM_NOTIFY to OnNotify, other messages to
    // the message map, and anything unhandled to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's default handling (text messages, WM_CLOSE destroys).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Offers the command to OnCmdMsg; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Runs the map's WM_NOTIFY entry for the sender's id and code; TRUE when handled.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Filters a queued message before it is dispatched; TRUE eats it.
    // Input and posted messages are offered first to the application thread's
    // PreTranslateMessage (AfxSetAppThread), which by default walks the tree.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers msg to PreTranslateMessage of msg->hwnd's object, then of its
    // parents, up to stop (or the top-level window). TRUE when one ate it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    // DefWindowProc for the message being handled now (the base behaviour a
    // handler may call).
    LRESULT Default();

    // Base handlers of standard messages, for derived handlers to call.
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnClose();

    // The window; nullptr before creation and after WM_NCDESTROY. Readable from
    // any thread.
    std::atomic<HWND> m_hWnd { nullptr };

    // Z-order positions for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;
};

// ---- Typed entries for standard messages -------------------------------------------
// OnWm<WM_SIZE, &C::OnSize>() checks that OnSize is void (C::*)(UINT, int, int),
// and so on for each message below. Other headers may add crackers.

template <UINT Message> struct WmCracker;

#define CALVORN_WM_CRACKER(MSG, SIGNATURE, CALL)                                                             \
    template <> struct WmCracker<MSG> {                                                                      \
        template <class C> using Handler = SIGNATURE;                                                        \
        template <class C, auto H>                                                                           \
        static LRESULT Call(C* self, [[maybe_unused]] WPARAM wp, [[maybe_unused]] LPARAM lp)                 \
        {                                                                                                    \
            CALL;                                                                                            \
        }                                                                                                    \
    };

CALVORN_WM_CRACKER(
    WM_CREATE, int (C::*)(LPCREATESTRUCT), return (self->*H)(reinterpret_cast<LPCREATESTRUCT>(lp)))
CALVORN_WM_CRACKER(WM_DESTROY, void (C::*)(), (self->*H)(); return 0)
CALVORN_WM_CRACKER(WM_NCDESTROY, void (C::*)(), (self->*H)(); return 0)
CALVORN_WM_CRACKER(WM_PAINT, void (C::*)(), (self->*H)(); return 0)
CALVORN_WM_CRACKER(WM_CLOSE, void (C::*)(), (self->*H)(); return 0)
CALVORN_WM_CRACKER(WM_MOUSELEAVE, void (C::*)(), (self->*H)(); return 0)
CALVORN_WM_CRACKER(
    WM_SIZE, void (C::*)(UINT, int, int),
    (self->*H)(static_cast<UINT>(wp), LOWORD(static_cast<WPARAM>(lp)), HIWORD(static_cast<WPARAM>(lp)));
    return 0)
CALVORN_WM_CRACKER(WM_MOVE, void (C::*)(int, int), (self->*H)(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); return 0)
CALVORN_WM_CRACKER(WM_TIMER, void (C::*)(UINT_PTR), (self->*H)(static_cast<UINT_PTR>(wp)); return 0)
CALVORN_WM_CRACKER(
    WM_SHOWWINDOW, void (C::*)(BOOL, UINT), (self->*H)(static_cast<BOOL>(wp), static_cast<UINT>(lp));
    return 0)
CALVORN_WM_CRACKER(WM_ENABLE, void (C::*)(BOOL), (self->*H)(static_cast<BOOL>(wp)); return 0)
CALVORN_WM_CRACKER(WM_SETFOCUS, void (C::*)(CWnd*), (self->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(wp)));
                   return 0)
CALVORN_WM_CRACKER(WM_KILLFOCUS, void (C::*)(CWnd*), (self->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(wp)));
                   return 0)
CALVORN_WM_CRACKER(
    WM_CAPTURECHANGED, void (C::*)(CWnd*), (self->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(lp))); return 0)
CALVORN_WM_CRACKER(WM_GETDLGCODE, UINT (C::*)(), return static_cast<LRESULT>((self->*H)()))
CALVORN_WM_CRACKER(
    WM_CONTEXTMENU, void (C::*)(CWnd*, CPoint),
    (self->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(wp)), CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
    return 0)
CALVORN_WM_CRACKER(WM_SETCURSOR, BOOL (C::*)(CWnd*, UINT, UINT),
    return (self->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(wp)), LOWORD(static_cast<WPARAM>(lp)),
        HIWORD(static_cast<WPARAM>(lp))))
CALVORN_WM_CRACKER(WM_MOUSEWHEEL, BOOL (C::*)(UINT, short, CPoint),
    return (self->*H)(LOWORD(wp), GET_WHEEL_DELTA_WPARAM(wp), CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))))

#define CALVORN_WM_MOUSE_CRACKER(MSG)                                                                        \
    CALVORN_WM_CRACKER(MSG, void (C::*)(UINT, CPoint),                                                       \
                       (self->*H)(static_cast<UINT>(wp), CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));        \
                       return 0)
CALVORN_WM_MOUSE_CRACKER(WM_MOUSEMOVE)
CALVORN_WM_MOUSE_CRACKER(WM_LBUTTONDOWN)
CALVORN_WM_MOUSE_CRACKER(WM_LBUTTONUP)
CALVORN_WM_MOUSE_CRACKER(WM_LBUTTONDBLCLK)
CALVORN_WM_MOUSE_CRACKER(WM_RBUTTONDOWN)
CALVORN_WM_MOUSE_CRACKER(WM_RBUTTONUP)
CALVORN_WM_MOUSE_CRACKER(WM_RBUTTONDBLCLK)
CALVORN_WM_MOUSE_CRACKER(WM_MBUTTONDOWN)
CALVORN_WM_MOUSE_CRACKER(WM_MBUTTONUP)
CALVORN_WM_MOUSE_CRACKER(WM_MOUSEHOVER)

#define CALVORN_WM_KEY_CRACKER(MSG)                                                                          \
    CALVORN_WM_CRACKER(                                                                                      \
        MSG, void (C::*)(UINT, UINT, UINT),                                                                  \
        (self->*H)(static_cast<UINT>(wp), LOWORD(static_cast<WPARAM>(lp)), HIWORD(static_cast<WPARAM>(lp))); \
        return 0)
CALVORN_WM_KEY_CRACKER(WM_KEYDOWN)
CALVORN_WM_KEY_CRACKER(WM_KEYUP)
CALVORN_WM_KEY_CRACKER(WM_CHAR)
CALVORN_WM_KEY_CRACKER(WM_SYSKEYDOWN)
CALVORN_WM_KEY_CRACKER(WM_SYSKEYUP)
CALVORN_WM_KEY_CRACKER(WM_SYSCHAR)

#undef CALVORN_WM_KEY_CRACKER
#undef CALVORN_WM_MOUSE_CRACKER

// Entry for a standard message with its typed handler.
template <UINT Message, auto Handler> MessageMapEntry OnWm()
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, typename WmCracker<Message>::template Handler<C>>();
    return { Message, 0, 0, 0, [](CCmdTarget* t, WPARAM wp, LPARAM lp) -> LRESULT {
                return WmCracker<Message>::template Call<C, Handler>(static_cast<C*>(t), wp, lp);
            } };
}

// void Handler(UINT_PTR id): WM_TIMER.
template <auto Handler> MessageMapEntry OnTimerMsg()
{
    return OnWm<WM_TIMER, Handler>();
}
