// The button procedure: mouse and space-key tracking, check state, clicks and
// owner-draw painting.

#include "platform/wnd/controls/button.h"

#include <algorithm>
#include <vector>

#include <QAbstractButton>
#include <QImage>
#include <QPushButton>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/paint_dc.h"

namespace {

constexpr int kCheckBoxSize = 13;

bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE
        || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsRadioType(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

QAbstractButton* NativeButton(HWND hwnd)
{
    return qobject_cast<QAbstractButton*>(wnd_internal::ExistingWidgetOf(hwnd));
}

// The siblings of hwnd in its group: from the nearest WS_GROUP window at or
// before it up to the next one, in creation order.
std::vector<HWND> RadioGroupOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    std::shared_ptr<WindowState> parent = state ? window_table::FindLocked(state->parent) : nullptr;
    if (!parent)
        return {};
    const std::vector<HWND>& all = parent->children;
    auto self = std::find(all.begin(), all.end(), hwnd);
    if (self == all.end())
        return {};
    auto first = self;
    while (first != all.begin()) {
        std::shared_ptr<WindowState> s = window_table::FindLocked(*first);
        if (s && (s->style & WS_GROUP))
            break;
        --first;
    }
    std::vector<HWND> group { *first };
    for (auto it = first + 1; it != all.end(); ++it) {
        std::shared_ptr<WindowState> s = window_table::FindLocked(*it);
        if (s && (s->style & WS_GROUP))
            break;
        group.push_back(*it);
    }
    return group;
}

const bool kRegistered = (AfxRegisterButtonClass(), true);

} // namespace

void AfxRegisterButtonClass()
{
    static const bool done = [] {
        wnd_internal::RegisterControlObjectFactory("BUTTON", []() -> CWnd* { return new CButton; });
        return true;
    }();
    (void)done;
    (void)kRegistered;
}

CButton::CButton()
{
    AfxRegisterButtonClass();
}

CButton::~CButton() = default;

const MessageMap* CButton::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnMessage<&CButton::OnReflectedDrawItem>(WM_REFLECT_BASE + WM_DRAWITEM),
        });
    return &kMap;
}

const CRuntimeClass* CButton::GetThisClass()
{
    static const CRuntimeClass kClass { "CButton", &AfxCreateObject<CButton>, CCmdTarget::GetThisClass() };
    return &kClass;
}

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CWnd::Create("BUTTON", caption, style | WS_CHILD, rect, parent, id))
        return FALSE;
    // A created button is attached as a subclassed one is.
    PreSubclassWindow();
    return TRUE;
}

int CButton::GetCheck() const
{
    return static_cast<int>(SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int check)
{
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

UINT CButton::GetState() const
{
    return static_cast<UINT>(SendMessage(BM_GETSTATE));
}

void CButton::SetState(BOOL pushed)
{
    SendMessage(BM_SETSTATE, pushed ? TRUE : FALSE);
}

UINT CButton::GetButtonStyle() const
{
    return GetStyle() & 0xFFFF;
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    SendMessage(BM_SETSTYLE, style, redraw ? TRUE : FALSE);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) { }

LRESULT CButton::OnReflectedDrawItem(WPARAM, LPARAM lParam)
{
    auto* drawItem = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    if (drawItem && drawItem->CtlType == ODT_BUTTON)
        DrawItem(drawItem);
    return TRUE;
}

void CButton::SetPushed(bool pushed)
{
    if (m_pushed == pushed)
        return;
    m_pushed = pushed;
    if (QAbstractButton* native = NativeButton(GetSafeHwnd()))
        native->setDown(pushed);
    Invalidate(FALSE);
}

void CButton::Click()
{
    const DWORD type = Type();
    if (type == BS_AUTOCHECKBOX) {
        SetCheck(m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (type == BS_AUTO3STATE) {
        SetCheck(static_cast<int>((m_check + 1) % 3));
    } else if (type == BS_AUTORADIOBUTTON) {
        for (HWND sibling : RadioGroupOf(GetSafeHwnd())) {
            CWnd* other = CWnd::FromHandle(sibling);
            if (sibling != GetSafeHwnd() && other && (other->GetStyle() & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                other->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        }
        SetCheck(BST_CHECKED);
    }
    SendNotifyToParent(GetSafeHwnd(), BN_CLICKED);
}

void CButton::OnLButtonDown(UINT, CPoint)
{
    SetFocus();
    SetCapture();
    m_tracking = true;
    SetPushed(true);
}

void CButton::OnLButtonDblClk(UINT flags, CPoint point)
{
    OnLButtonDown(flags, point);
}

void CButton::OnMouseMove(UINT, CPoint point)
{
    if (!m_tracking)
        return;
    CRect client;
    GetClientRect(&client);
    SetPushed(client.PtInRect(point) != FALSE);
}

void CButton::OnLButtonUp(UINT, CPoint)
{
    if (!m_tracking)
        return;
    m_tracking = false;
    const bool clicked = m_pushed;
    SetPushed(false);
    if (GetCapture() == this)
        ReleaseCapture();
    if (clicked)
        Click();
}

void CButton::OnCaptureChanged(CWnd* window)
{
    if (m_tracking && window != this) {
        m_tracking = false;
        SetPushed(false);
    }
}

void CButton::OnSetFocus(CWnd*)
{
    Invalidate(FALSE);
}

void CButton::OnKillFocus(CWnd*)
{
    if (m_pushed && !m_tracking)
        SetPushed(false);
    Invalidate(FALSE);
}

void CButton::OnEnableMessage(BOOL)
{
    Invalidate(FALSE);
}

void CButton::OnKeyDown(UINT key, UINT, UINT flags)
{
    if (key == VK_SPACE && !(flags & 0x4000))
        SetPushed(true);
}

void CButton::OnKeyUp(UINT key, UINT, UINT)
{
    if (key == VK_SPACE && m_pushed && !m_tracking) {
        SetPushed(false);
        Click();
    }
}

void CButton::PaintOwnerDraw()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    QImage image(std::max<int>(1, client.Width()), std::max<int>(1, client.Height()), QImage::Format_RGB32);
    image.fill(GdiColor(GetSysColor(COLOR_BTNFACE)));
    const HWND hwnd = GetSafeHwnd();
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    HDC dc = GdiCreateDeviceDC(&image, QPoint(0, 0));
    // The owner draws with the control's font selected, as the control paints.
    HFONT font = nullptr;
    if (std::shared_ptr<WindowState> state = window_table::Find(hwnd); state && state->font)
        font = ::CreateFontIndirect(&*state->font);
    if (font)
        ::SelectObject(dc, font);
    DRAWITEMSTRUCT drawItem;
    drawItem.CtlType = ODT_BUTTON;
    drawItem.CtlID = id;
    drawItem.itemAction = ODA_DRAWENTIRE;
    drawItem.itemState = (m_pushed ? ODS_SELECTED : 0) | (window_focus::Focus() == hwnd ? ODS_FOCUS : 0)
        | (IsWindowEnabled() ? 0 : ODS_DISABLED);
    drawItem.hwndItem = hwnd;
    drawItem.hDC = dc;
    drawItem.rcItem = client;
    bool defaultReached = true;
    if (CWnd* parent = GetParent())
        dispatch_internal::Dispatch(
            parent->GetSafeHwnd(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&drawItem), &defaultReached);
    if (defaultReached && IsWindow(hwnd))
        ReflectNotification(hwnd, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&drawItem), nullptr);
    ::DeleteDC(dc);
    if (font)
        ::DeleteObject(font);
    if (!paint.GetSafeHdc())
        return;
    CDC source;
    source.Attach(GdiCreateDeviceDC(&image, QPoint(0, 0)));
    paint.BitBlt(0, 0, client.Width(), client.Height(), &source, 0, 0, SRCCOPY);
}

void CButton::PaintStandard()
{
    CPaintDC paint(this);
    if (!paint.GetSafeHdc())
        return;
    CRect client;
    GetClientRect(&client);
    const DWORD type = Type();
    CString caption;
    GetWindowText(caption);
    paint.SetBkMode(TRANSPARENT);
    paint.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    // A group box paints its frame and caption only: what lies inside shows.
    if (type == BS_GROUPBOX) {
        CRect frame(client.left, client.top + 6, client.right, client.bottom);
        paint.DrawEdge(&frame, EDGE_ETCHED, BF_RECT);
        const CSize extent = paint.GetTextExtent(caption);
        paint.FillSolidRect(
            client.left + 6, client.top, extent.cx + 4, extent.cy, GetSysColor(COLOR_BTNFACE));
        paint.TextOut(client.left + 8, client.top, caption);
        return;
    }
    paint.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    if (IsCheckType(type)) {
        CRect box(client.left, client.top + (client.Height() - kCheckBoxSize) / 2,
            client.left + kCheckBoxSize, client.top + (client.Height() - kCheckBoxSize) / 2 + kCheckBoxSize);
        UINT state = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (m_check != BST_UNCHECKED)
            state |= DFCS_CHECKED;
        if (m_pushed)
            state |= DFCS_PUSHED;
        if (!IsWindowEnabled())
            state |= DFCS_INACTIVE;
        paint.DrawFrameControl(&box, DFC_BUTTON, state);
        CRect text(client.left + kCheckBoxSize + 4, client.top, client.right, client.bottom);
        paint.DrawText(caption, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        return;
    }
    CRect face(client);
    paint.DrawFrameControl(&face, DFC_BUTTON, DFCS_BUTTONPUSH | (m_pushed ? DFCS_PUSHED : 0));
    CRect text(client);
    if (m_pushed)
        text.OffsetRect(1, 1);
    paint.DrawText(caption, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void CButton::OnButtonPaint()
{
    if (Type() == BS_OWNERDRAW)
        PaintOwnerDraw();
    else
        PaintStandard();
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        if (Type() != BS_OWNERDRAW && NativeButton(GetSafeHwnd()))
            break; // the native push button paints itself
        OnButtonPaint();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_ENABLE:
        OnEnableMessage(static_cast<BOOL>(wParam));
        break;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE)
            break;
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<WPARAM>(lParam)),
            HIWORD(static_cast<WPARAM>(lParam)));
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            break;
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(static_cast<WPARAM>(lParam)),
            HIWORD(static_cast<WPARAM>(lParam)));
        return 0;
    case WM_CHAR:
        if (wParam == ' ')
            return 0;
        break;
    case WM_SETTEXT: {
        const LRESULT result = CWnd::DefWindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        return result;
    }
    case WM_GETDLGCODE: {
        const DWORD type = Type();
        UINT code = DLGC_BUTTON;
        if (type == BS_DEFPUSHBUTTON)
            code |= DLGC_DEFPUSHBUTTON;
        else if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW)
            code |= DLGC_UNDEFPUSHBUTTON;
        else if (IsRadioType(type))
            code |= DLGC_RADIOBUTTON;
        return code;
    }
    case BM_GETCHECK:
        return IsCheckType(Type()) ? m_check : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheckType(Type()) && m_check != static_cast<UINT>(wParam)) {
            m_check = static_cast<UINT>(wParam) > BST_INDETERMINATE ? BST_CHECKED : static_cast<UINT>(wParam);
            Invalidate(FALSE);
        }
        return 0;
    case BM_GETSTATE:
        return (IsCheckType(Type()) ? m_check : 0) | (m_pushed ? BST_PUSHED : 0)
            | (window_focus::Focus() == GetSafeHwnd() ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        ModifyStyle(0xFFFF, LOWORD(wParam));
        if (auto* push = qobject_cast<QPushButton*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd())))
            push->setDefault((LOWORD(wParam) & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        if (lParam)
            Invalidate(FALSE);
        return 0;
    }
    case BM_CLICK:
        Click();
        return 0;
    default:
        break;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
