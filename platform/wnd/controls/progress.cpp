#include "platform/wnd/controls/progress.h"

#include <algorithm>

#include <QProgressBar>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QWidget* MakeProgress(HWND hwnd, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    int lower = 0, upper = 100, pos = 0;
    if (const auto* control = dynamic_cast<const CProgressCtrl*>(CWnd::FromHandle(hwnd))) {
        control->GetRange(lower, upper);
        pos = control->GetPos();
    }
    bar->setRange(std::min(lower, upper), std::max(lower, upper));
    bar->setValue(pos);
    return bar;
}

bool RegisterProgress()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("msctls_progress32", &MakeProgress);
        wnd_internal::RegisterControlObjectFactory(
            "msctls_progress32", []() -> CWnd* { return new CProgressCtrl; });
        return true;
    }();
    return registered;
}

const bool kProgressRegistered = RegisterProgress();

} // namespace

CProgressCtrl::CProgressCtrl()
{
    (void)kProgressRegistered;
    RegisterProgress();
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    RegisterProgress();
    return CWnd::Create("msctls_progress32", nullptr, style | WS_CHILD, rect, parent, id);
}

void CProgressCtrl::SetRange32(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_pos = std::clamp(m_pos, std::min(lower, upper), std::max(lower, upper));
    SyncWidget();
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    lower = m_lower;
    upper = m_upper;
}

int CProgressCtrl::SetPos(int pos)
{
    const int before = m_pos;
    m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    SyncWidget();
    return before;
}

void CProgressCtrl::SyncWidget() const
{
    if (auto* bar = qobject_cast<QProgressBar*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()))) {
        bar->setRange(std::min(m_lower, m_upper), std::max(m_lower, m_upper));
        bar->setValue(m_pos);
    }
}
