#include "platform/wnd/controls/tooltip.h"

#include <algorithm>

#include <QPoint>
#include <QString>
#include <QToolTip>

#include "platform/wnd/core/internal/wnd_internal.h"

CToolTipCtrl::~CToolTipCtrl()
{
    if (!m_shown.IsEmpty())
        QToolTip::hideText();
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(0, "tooltips_class32", nullptr, WS_POPUP | style, 0, 0, 0, 0,
        parent ? parent->GetSafeHwnd() : nullptr, 0);
}

CToolTipCtrl::Tool* CToolTipCtrl::FindTool(HWND window, UINT_PTR id)
{
    auto it = std::find_if(m_tools.begin(), m_tools.end(),
        [&](const Tool& tool) { return tool.window == window && tool.id == id; });
    return it == m_tools.end() ? nullptr : &*it;
}

const CToolTipCtrl::Tool* CToolTipCtrl::FindTool(HWND window, UINT_PTR id) const
{
    return const_cast<CToolTipCtrl*>(this)->FindTool(window, id);
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCTSTR text, LPCRECT rect, UINT_PTR id)
{
    if (!GetSafeHwnd() || !window || !window->GetSafeHwnd())
        return FALSE;
    Tool tool;
    tool.window = window->GetSafeHwnd();
    tool.id = id;
    tool.wholeClient = rect == nullptr;
    if (rect)
        tool.rect = *rect;
    tool.text = text ? text : "";
    if (Tool* existing = FindTool(tool.window, id))
        *existing = tool;
    else
        m_tools.push_back(tool);
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR id)
{
    const HWND hwnd = window ? window->GetSafeHwnd() : nullptr;
    m_tools.erase(std::remove_if(m_tools.begin(), m_tools.end(),
                      [&](const Tool& tool) { return tool.window == hwnd && tool.id == id; }),
        m_tools.end());
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* window, UINT_PTR id)
{
    if (Tool* tool = FindTool(window ? window->GetSafeHwnd() : nullptr, id))
        tool->text = text ? text : "";
}

void CToolTipCtrl::GetText(CString& text, CWnd* window, UINT_PTR id) const
{
    const Tool* tool = FindTool(window ? window->GetSafeHwnd() : nullptr, id);
    text = tool ? tool->text : CString();
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(m_tools.size());
}

void CToolTipCtrl::Activate(BOOL activate)
{
    m_active = activate ? TRUE : FALSE;
    if (!m_active)
        Pop();
}

int CToolTipCtrl::SetMaxTipWidth(int width)
{
    const int previous = m_maxWidth;
    m_maxWidth = width;
    return previous;
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    if (!msg)
        return;
    if (msg->message != WM_MOUSEMOVE || !m_active) {
        Pop();
        return;
    }
    const CPoint point(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam));
    const Tool* hit = nullptr;
    for (const Tool& tool : m_tools) {
        if (tool.window != msg->hwnd)
            continue;
        CRect area = tool.rect;
        if (tool.wholeClient) {
            if (CWnd* window = CWnd::FromHandle(tool.window))
                window->GetClientRect(&area);
        }
        if (area.PtInRect(point)) {
            hit = &tool;
            break;
        }
    }
    if (!hit || hit->text.IsEmpty()) {
        Pop();
        return;
    }
    m_shown = hit->text;
    if (QWidget* widget = wnd_internal::ExistingWidgetOf(hit->window)) {
        if (widget->isVisible())
            QToolTip::showText(widget->mapToGlobal(QPoint(point.x, point.y)),
                QString::fromUtf8(m_shown.GetString(), m_shown.GetLength()), widget);
    }
}

void CToolTipCtrl::Pop()
{
    if (m_shown.IsEmpty())
        return;
    m_shown.Empty();
    QToolTip::hideText();
}

LRESULT CToolTipCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TTM_ACTIVATE:
        Activate(static_cast<BOOL>(wParam));
        return 0;
    case TTM_RELAYEVENT:
        RelayEvent(reinterpret_cast<MSG*>(lParam));
        return 0;
    case TTM_GETTOOLCOUNT:
        return GetToolCount();
    case TTM_SETMAXTIPWIDTH:
        return SetMaxTipWidth(static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH:
        return m_maxWidth;
    case TTM_POP:
        Pop();
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
