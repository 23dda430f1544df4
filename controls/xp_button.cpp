// The gradient push button.

#include "controls/xp_button.h"

#include <algorithm>
#include <array>

#include "controls/offscreen_dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/mouse_track.h"

namespace {

constexpr COLORREF kFaceColor = RGB(222, 223, 236);
constexpr int kCornerSize = 10;

} // namespace

CXPButton::CXPButton()
{
    m_framePen.CreatePen(PS_INSIDEFRAME, 1, RGB(0, 0, 0));
    m_hoverLeft.CreatePen(PS_INSIDEFRAME, 3, RGB(250, 196, 88));
    m_hoverTop.CreatePen(PS_INSIDEFRAME, 2, RGB(252, 210, 121));
    m_hoverRight.CreatePen(PS_INSIDEFRAME, 3, RGB(251, 202, 106));
    m_hoverBottom.CreatePen(PS_INSIDEFRAME, 2, RGB(229, 151, 0));
    m_focusLeft.CreatePen(PS_INSIDEFRAME, 3, RGB(153, 198, 252));
    m_focusTop.CreatePen(PS_INSIDEFRAME, 2, RGB(162, 201, 255));
    m_focusRight.CreatePen(PS_INSIDEFRAME, 3, RGB(162, 189, 252));
    m_focusBottom.CreatePen(PS_INSIDEFRAME, 2, RGB(162, 201, 255));
    m_hoverBrush.CreateSolidBrush(kFaceColor);
    m_normalBrush.CreateSolidBrush(kFaceColor);
}

CXPButton::~CXPButton() = default;

const MessageMap* CXPButton::GetMessageMap() const
{
    static const MessageMap kMap(CButton::GetMessageMap(),
        {
            OnWm<WM_MOUSEMOVE, &CXPButton::OnMouseMove>(),
            OnMessage<&CXPButton::OnMouseHoverMessage>(WM_MOUSEHOVER),
            OnMessage<&CXPButton::OnMouseLeaveMessage>(WM_MOUSELEAVE),
        });
    return &kMap;
}

const CRuntimeClass* CXPButton::GetThisClass()
{
    static const CRuntimeClass kClass { "CXPButton", &AfxCreateObject<CXPButton>, CButton::GetThisClass() };
    return &kClass;
}

void CXPButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

COLORREF CXPButton::GradientColor(int step, BOOL hovered, BOOL emphasis)
{
    const int i = std::clamp(step, 0, kGradientSteps - 1);
    if (hovered)
        return emphasis ? RGB(255 - i / 4, 255 - i / 4, 255 - i / 3)
                        : RGB(255 - i / 4, 255 - i / 4, 255 - i / 5);
    return emphasis ? RGB(255 - i / 3, 255 - i / 3, 255 - i / 4) : RGB(255 - i / 3, 255 - i / 3, 255 - i / 5);
}

int CXPButton::GradientStep(int y, int height)
{
    if (height <= 0)
        return kGradientSteps - 1;
    return std::clamp((y * (kGradientSteps - 1)) / height, 0, kGradientSteps - 1);
}

void CXPButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* target = CDC::FromHandle(drawItem->hDC);
    if (!target)
        return;
    COffscreenDC dc(target, nullptr);
    CRect rect(drawItem->rcItem);
    const UINT state = drawItem->itemState;
    CString caption;
    GetWindowText(caption);

    m_oldPen = dc.SelectObject(&m_framePen);
    dc.RoundRect(&rect, CPoint(kCornerSize, kCornerSize));
    m_focus = (state & ODS_FOCUS) ? TRUE : FALSE;
    m_emphasis = (state & (ODS_FOCUS | ODS_SELECTED | ODS_DEFAULT)) ? TRUE : FALSE;
    dc.SelectObject(m_oldPen);

    rect.DeflateRect(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    m_oldBrush = dc.SelectObject(m_hover ? &m_hoverBrush : &m_normalBrush);
    DrawGradient(&dc, rect);
    if (m_focus || m_hover)
        DrawInnerFrame(&dc, rect);
    dc.SelectObject(m_oldBrush);

    if (!caption.IsEmpty()) {
        const CSize extent = dc.GetTextExtent(caption);
        const CPoint centre = rect.CenterPoint();
        CPoint at(centre.x - extent.cx / 2, centre.y - extent.cy / 2);
        if (state & ODS_SELECTED)
            at.Offset(1, 1);
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        if (state & ODS_DISABLED)
            dc.DrawState(
                at, CSize(0, 0), caption.GetString(), DSS_DISABLED, TRUE, 0, static_cast<CBrush*>(nullptr));
        else
            dc.TextOut(at.x, at.y, caption);
        dc.SetBkMode(oldMode);
    }
}

void CXPButton::DrawGradient(CDC* dc, const CRect& rect)
{
    std::array<CBrush, kGradientSteps> brushes;
    for (int i = 0; i < kGradientSteps; ++i)
        brushes[static_cast<size_t>(i)].CreateSolidBrush(GradientColor(i, m_hover, m_emphasis));
    const int width = rect.Width();
    const int height = rect.Height();
    for (int y = rect.top; y < height + 2; ++y) {
        const CRect row(rect.left, y, width + 2, y + 1);
        dc->FillRect(&row, &brushes[static_cast<size_t>(GradientStep(y, height))]);
    }
}

void CXPButton::DrawInnerFrame(CDC* dc, const CRect& rect)
{
    const bool focusLook = m_focus && !m_hover;
    CPen& left = focusLook ? m_focusLeft : m_hoverLeft;
    CPen& top = focusLook ? m_focusTop : m_hoverTop;
    CPen& right = focusLook ? m_focusRight : m_hoverRight;
    CPen& bottom = focusLook ? m_focusBottom : m_hoverBottom;
    const CPoint position = dc->GetCurrentPosition();
    m_oldPen = dc->SelectObject(&left);
    dc->MoveTo(rect.left, rect.bottom - 3);
    dc->LineTo(rect.left, rect.top + 2);
    dc->SelectObject(&right);
    dc->MoveTo(rect.right - 1, rect.bottom - 3);
    dc->LineTo(rect.right - 1, rect.top + 2);
    dc->SelectObject(&top);
    dc->MoveTo(rect.left + 2, rect.top);
    dc->LineTo(rect.right - 2, rect.top);
    dc->SelectObject(&bottom);
    dc->MoveTo(rect.left + 2, rect.bottom);
    dc->LineTo(rect.right - 2, rect.bottom);
    dc->SelectObject(m_oldPen);
    dc->MoveTo(position);
}

void CXPButton::OnMouseMove(UINT, CPoint)
{
    if (!m_tracking) {
        TRACKMOUSEEVENT request;
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = GetSafeHwnd();
        request.dwHoverTime = 1;
        m_tracking = _TrackMouseEvent(&request);
    }
    Default();
}

LRESULT CXPButton::OnMouseHoverMessage(WPARAM, LPARAM)
{
    m_hover = TRUE;
    Invalidate(TRUE);
    return 1;
}

LRESULT CXPButton::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    m_tracking = FALSE;
    m_hover = FALSE;
    Invalidate(FALSE);
    return 0;
}
