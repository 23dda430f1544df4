#include "platform/wnd/docview/toolbar.h"

#include <QCursor>
#include <QToolTip>

#include "platform/base/resource_script.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/mouse_track.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/docview/frame.h"

namespace {

constexpr int kSeparatorWidth = 8;
constexpr int kGripperWidth = 8;
constexpr int kBarMargin = 2;

// The update rules' view of one button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        static_cast<CToolBar*>(m_pOther)->EnableButton(static_cast<int>(m_nIndex), on);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        static_cast<CToolBar*>(m_pOther)->SetButtonCheck(static_cast<int>(m_nIndex), check);
    }
    void SetText(LPCTSTR) override { }
};

} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() = default;

const MessageMap* CToolBar::GetMessageMap() const
{
    static const MessageMap kMap(CControlBar::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CToolBar::OnPaint>(),
            OnWm<WM_LBUTTONDOWN, &CToolBar::OnLButtonDown>(),
            OnWm<WM_LBUTTONUP, &CToolBar::OnLButtonUp>(),
            OnWm<WM_MOUSEMOVE, &CToolBar::OnMouseMove>(),
            OnMessage<&CToolBar::OnMouseLeave>(WM_MOUSELEAVE),
        });
    return &kMap;
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, const RECT&, UINT id)
{
    m_controlStyle = controlStyle;
    return CreateBar("ToolbarWindow32", parent, style, id);
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    const ToolbarTemplate* toolbar = AfxFindToolbarTemplate(resourceId);
    if (!toolbar)
        return FALSE;
    m_imageSize = CSize(toolbar->buttonWidth, toolbar->buttonHeight);
    m_buttonSize = CSize(toolbar->buttonWidth + 7, toolbar->buttonHeight + 7);
    m_images.DeleteImageList();
    m_images.Create(
        toolbar->bitmapId ? toolbar->bitmapId : resourceId, toolbar->buttonWidth, 1, RGB(192, 192, 192));
    m_buttons.clear();
    int image = 0;
    for (UINT item : toolbar->items) {
        Button button;
        button.id = item;
        button.image = item != 0 ? image++ : -1;
        m_buttons.push_back(button);
    }
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout();
    Invalidate();
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<std::size_t>(index)].id : 0;
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_buttons[static_cast<std::size_t>(i)].id == id && id != 0)
            return i;
    return -1;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (!rect)
        return;
    int x = kBarMargin + ((m_dwStyle & CBRS_GRIPPER) ? kGripperWidth : 0);
    for (int i = 0; i < GetCount(); ++i) {
        const int width = m_buttons[static_cast<std::size_t>(i)].id == 0 ? kSeparatorWidth : m_buttonSize.cx;
        if (i == index) {
            *rect = CRect(x, kBarMargin, x + width, kBarMargin + m_buttonSize.cy);
            return;
        }
        x += width;
    }
    *rect = CRect();
}

BOOL CToolBar::IsButtonEnabled(int index) const
{
    return index >= 0 && index < GetCount() && m_buttons[static_cast<std::size_t>(index)].enabled;
}

void CToolBar::EnableButton(int index, BOOL enable)
{
    if (index < 0 || index >= GetCount())
        return;
    Button& button = m_buttons[static_cast<std::size_t>(index)];
    if ((button.enabled != FALSE) == (enable != FALSE))
        return;
    button.enabled = enable ? TRUE : FALSE;
    CRect rect;
    GetItemRect(index, &rect);
    InvalidateRect(&rect);
}

int CToolBar::GetButtonCheck(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<std::size_t>(index)].check : 0;
}

void CToolBar::SetButtonCheck(int index, int check)
{
    if (index < 0 || index >= GetCount() || m_buttons[static_cast<std::size_t>(index)].check == check)
        return;
    m_buttons[static_cast<std::size_t>(index)].check = check;
    CRect rect;
    GetItemRect(index, &rect);
    InvalidateRect(&rect);
}

CSize CToolBar::CalcFixedLayout(int cx)
{
    return CSize(cx, m_buttonSize.cy + 2 * kBarMargin);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    for (int i = 0; i < GetCount(); ++i) {
        const UINT id = m_buttons[static_cast<std::size_t>(i)].id;
        if (id == 0)
            continue;
        CToolCmdUI state;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(GetCount());
        state.m_pOther = this;
        state.DoUpdate(target, disableIfNoHandler);
        if (!GetSafeHwnd())
            return;
    }
}

int CToolBar::HitTest(CPoint point) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_buttons[static_cast<std::size_t>(i)].id == 0)
            continue;
        CRect rect;
        GetItemRect(i, &rect);
        if (rect.PtInRect(point))
            return i;
    }
    return -1;
}

void CToolBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(&client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    if (m_dwStyle & CBRS_GRIPPER) {
        const CRect grip(kBarMargin + 1, kBarMargin + 1, kBarMargin + 4, client.bottom - kBarMargin - 1);
        dc.Draw3dRect(&grip, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_buttons[static_cast<std::size_t>(i)];
        CRect rect;
        GetItemRect(i, &rect);
        if (button.id == 0) {
            const int x = rect.left + rect.Width() / 2 - 1;
            dc.Draw3dRect(x, rect.top + 1, 2, rect.Height() - 2, GetSysColor(COLOR_BTNSHADOW),
                GetSysColor(COLOR_BTNHIGHLIGHT));
            continue;
        }
        const bool sunken = button.check != 0 || i == m_pressed;
        if (sunken)
            dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        const CPoint at(rect.left + (rect.Width() - m_imageSize.cx) / 2 + (sunken ? 1 : 0),
            rect.top + (rect.Height() - m_imageSize.cy) / 2 + (sunken ? 1 : 0));
        if (button.image < 0 || button.image >= m_images.GetImageCount())
            continue;
        if (button.enabled) {
            m_images.Draw(&dc, button.image, at, ILD_TRANSPARENT);
        } else if (HICON icon = m_images.ExtractIcon(button.image)) {
            dc.DrawState(at, m_imageSize, icon, DST_ICON | DSS_DISABLED);
            DestroyIcon(icon);
        }
    }
}

void CToolBar::OnLButtonDown(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (index < 0 || !m_buttons[static_cast<std::size_t>(index)].enabled)
        return;
    m_pressed = index;
    SetCapture();
    Invalidate();
}

void CToolBar::OnLButtonUp(UINT, CPoint point)
{
    const int pressed = m_pressed;
    if (pressed < 0)
        return;
    m_pressed = -1;
    ReleaseCapture();
    Invalidate();
    if (HitTest(point) != pressed || !m_buttons[static_cast<std::size_t>(pressed)].enabled)
        return;
    const UINT id = m_buttons[static_cast<std::size_t>(pressed)].id;
    if (CWnd* owner = GetParent())
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
            reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CToolBar::OnMouseMove(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (index == m_hover)
        return;
    if (m_hover < 0) {
        TRACKMOUSEEVENT track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = GetSafeHwnd();
        TrackMouseEvent(&track);
    }
    SetHover(index);
}

LRESULT CToolBar::OnMouseLeave(WPARAM, LPARAM)
{
    SetHover(-1);
    return 0;
}

void CToolBar::SetHover(int index)
{
    m_hover = index;
    const UINT id = index >= 0 ? m_buttons[static_cast<std::size_t>(index)].id : 0;
    m_hoverTip.Empty();
    if (id != 0) {
        CString text;
        if (AfxLoadString(id, text)) {
            const int end = text.Find('\n');
            m_hoverTip = end < 0 ? CString() : text.Mid(end + 1);
        }
    }
    if (CWnd* frame = GetParentFrame())
        frame->SendMessage(WM_SETMESSAGESTRING, id, 0);
    if (QWidget* widget = wnd_internal::ExistingWidgetOf(GetSafeHwnd())) {
        if (m_hoverTip.IsEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(QCursor::pos(), QString::fromUtf8(m_hoverTip.GetString()), widget);
    }
}
