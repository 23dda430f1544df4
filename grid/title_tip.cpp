#include "grid/title_tip.h"

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/mouse_track.h"
#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/system_params.h"

CGridTitleTip::CGridTitleTip() = default;

CGridTitleTip::~CGridTitleTip()
{
    if (GetSafeHwnd())
        CWnd::DestroyWindow();
}

const MessageMap* CGridTitleTip::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CGridTitleTip::OnPaint>(),
            OnWm<WM_MOUSEMOVE, &CGridTitleTip::OnMouseMove>(),
        });
    return &kMap;
}

BOOL CGridTitleTip::Create(CWnd* pParentWnd)
{
    if (m_bCreated && GetSafeHwnd())
        return TRUE;
    m_pParentWnd = pParentWnd;
    m_bCreated
        = CreateEx(WS_EX_TOOLWINDOW, nullptr, nullptr, WS_POPUP | WS_BORDER, CRect(0, 0, 1, 1), nullptr, 0);
    return m_bCreated;
}

BOOL CGridTitleTip::DestroyWindow()
{
    m_bCreated = FALSE;
    m_bShown = FALSE;
    return CWnd::DestroyWindow();
}

void CGridTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset, LPRECT lpHoverRect,
    const LOGFONT* lpLogFont, COLORREF crTextClr, COLORREF crBackClr)
{
    if (!GetSafeHwnd() && !Create(m_pParentWnd))
        return;
    if (rectTitle.IsRectEmpty() || m_bShown || !m_pParentWnd || !lpszTitleText)
        return;
    m_rectHover = lpHoverRect ? CRect(*lpHoverRect) : rectTitle;
    m_rectHover.right++;
    m_rectHover.bottom++;
    m_pParentWnd->ClientToScreen(m_rectHover);
    ScreenToClient(m_rectHover);

    if (!CWnd::GetFocus())
        return;

    m_rectTitle = CRect(-xoffset - 1, -1, rectTitle.Width() - xoffset, rectTitle.Height() + 1);
    m_pParentWnd->ClientToScreen(rectTitle);

    m_strText = CString(" ") + lpszTitleText + " ";
    m_bHasFont = lpLogFont != nullptr;
    if (lpLogFont)
        m_font = *lpLogFont;
    m_crText = crTextClr;
    m_crBack = crBackClr;

    HDC screen = GdiCreateScreenDC();
    if (!screen)
        return;
    CDC* dc = CDC::FromHandle(screen);
    CFont font;
    CFont* old = nullptr;
    if (m_bHasFont && font.CreateFontIndirect(&m_font))
        old = dc->SelectObject(&font);
    CSize size = dc->GetTextExtent(m_strText);
    TEXTMETRIC tm {};
    dc->GetTextMetrics(&tm);
    size.cx += tm.tmOverhang;
    if (old)
        dc->SelectObject(old);
    DeleteDC(screen);

    CRect display = rectTitle;
    display.left += xoffset;
    display.right = display.left + size.cx + xoffset;
    if (display.right > rectTitle.right - xoffset) {
        SetWindowPos(nullptr, display.left, display.top, display.Width(), display.Height(),
            SWP_SHOWWINDOW | SWP_NOACTIVATE);
        m_bShown = TRUE;
        Invalidate();
        SetCapture();
    }
}

void CGridTitleTip::Hide()
{
    if (!GetSafeHwnd())
        return;
    if (CWnd::GetCapture() == this)
        ReleaseCapture();
    ShowWindow(SW_HIDE);
    m_bShown = FALSE;
}

void CGridTitleTip::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(rect);
    if (m_crBack != CLR_DEFAULT)
        dc.FillSolidRect(rect, m_crBack);
    else
        dc.FillSolidRect(rect, ::GetSysColor(COLOR_INFOBK));
    dc.SetTextColor(m_crText != CLR_DEFAULT ? m_crText : ::GetSysColor(COLOR_INFOTEXT));
    dc.SetBkMode(TRANSPARENT);
    CFont font;
    if (m_bHasFont && font.CreateFontIndirect(&m_font))
        dc.SelectObject(&font);
    dc.TextOut(0, 0, m_strText);
}

void CGridTitleTip::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_rectHover.PtInRect(point))
        return;
    Hide();
    if (!m_pParentWnd || !m_pParentWnd->GetSafeHwnd())
        return;
    ClientToScreen(&point);
    m_pParentWnd->ScreenToClient(&point);
    m_pParentWnd->PostMessage(
        WM_MOUSEMOVE, nFlags, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

namespace {

inline constexpr UINT kNcHitTest = 0x0084;
inline constexpr UINT kNcLButtonDown = 0x00A1;
inline constexpr UINT kNcRButtonDown = 0x00A4;
inline constexpr UINT kNcMButtonDown = 0x00A7;

// The hit-test code of window at the screen point: its own answer, or, when it
// gives none, whether the point lies in its client area.
UINT HitTest(CWnd& window, CPoint screenPoint)
{
    const LRESULT code = window.SendMessage(
        kNcHitTest, 0, MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
    if (code != 0)
        return static_cast<UINT>(code);
    CRect client;
    window.GetClientRect(client);
    window.ClientToScreen(client);
    return client.PtInRect(screenPoint) ? HTCLIENT : HTNOWHERE;
}

} // namespace

BOOL CGridTitleTip::PreTranslateMessage(MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
        ClientToScreen(&point);
        CWnd* target = CWnd::FromHandle(::WindowFromPoint(point));
        if (!target)
            return CWnd::PreTranslateMessage(pMsg);
        if (target == this)
            target = m_pParentWnd;
        Hide();
        if (!target || !target->GetSafeHwnd())
            return TRUE;
        UINT message = pMsg->message;
        if (message == WM_LBUTTONDOWN) {
            // A second press within the double-click time is a double click.
            const DWORD now = pMsg->time ? pMsg->time : GetTickCount();
            if (m_dwLastLButtonDown != static_cast<DWORD>(-1)
                && now - m_dwLastLButtonDown <= GetDoubleClickTime())
                message = WM_LBUTTONDBLCLK;
            m_dwLastLButtonDown = message == WM_LBUTTONDBLCLK ? static_cast<DWORD>(-1) : now;
        }
        const UINT hitTest = HitTest(*target, point);
        if (hitTest == HTCLIENT) {
            target->ScreenToClient(&point);
            target->PostMessage(
                message, pMsg->wParam, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        } else {
            const UINT ncMessage = message == WM_RBUTTONDOWN ? kNcRButtonDown
                : message == WM_MBUTTONDOWN                  ? kNcMButtonDown
                                                             : kNcLButtonDown;
            target->PostMessage(
                ncMessage, hitTest, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        }
        return TRUE;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
            m_pParentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    default:
        if (CWnd::GetFocus())
            return CWnd::PreTranslateMessage(pMsg);
        Hide();
        return TRUE;
    }
}
