#include "platform/wnd/controls/datetime_ctrl.h"

#include <QDateTimeEdit>
#include <QSignalBlocker>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QWidget* MakePicker(HWND hwnd, QWidget* parent)
{
    auto* picker = new QDateTimeEdit(parent);
    // The short date form, or the time of day, as the window text shows it.
    const CWnd* wnd = CWnd::FromHandle(hwnd);
    const bool timeFormat = wnd && (wnd->GetStyle() & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    picker->setDisplayFormat(timeFormat ? QStringLiteral("HH:mm:ss") : QStringLiteral("yyyy-MM-dd"));
    picker->setCalendarPopup(true);
    QObject::connect(picker, &QDateTimeEdit::dateTimeChanged, picker, [hwnd](const QDateTime& value) {
        if (auto* ctrl = dynamic_cast<CDateTimeCtrl*>(CWnd::FromHandle(hwnd)))
            ctrl->SetTime(CTime(static_cast<std::time_t>(value.toSecsSinceEpoch())));
    });
    return picker;
}

// Pickers of dialog templates get the widget too, so a dialog can bind them
// with DDX_Control.
bool RegisterPicker()
{
    static const bool registered = [] {
        wnd_internal::RegisterWidgetFactory("SysDateTimePick32", &MakePicker);
        return true;
    }();
    return registered;
}

const bool kPickerRegistered = RegisterPicker();

} // namespace

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)kPickerRegistered;
    RegisterPicker();
    return CWnd::Create("SysDateTimePick32", nullptr, style | WS_CHILD, rect, parent, id);
}

BOOL CDateTimeCtrl::SetTime(const CTime& time)
{
    m_time = time;
    m_bHasTime = TRUE;
    // The text shows the date in the short date form (year-month-day);
    // DTS_TIMEFORMAT shows the time of day.
    SetWindowText(time.Format((GetStyle() & DTS_TIMEFORMAT) == DTS_TIMEFORMAT ? "%H:%M:%S" : "%Y-%m-%d"));
    SyncWidget();
    return TRUE;
}

DWORD CDateTimeCtrl::GetTime(CTime& time) const
{
    if (!m_bHasTime)
        return GDT_NONE;
    time = m_time;
    return GDT_VALID;
}

void CDateTimeCtrl::SyncWidget()
{
    auto* picker = qobject_cast<QDateTimeEdit*>(wnd_internal::ExistingWidgetOf(GetSafeHwnd()));
    if (!picker)
        return;
    const QSignalBlocker blocker(picker);
    picker->setDateTime(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(m_time.GetTime())));
}
