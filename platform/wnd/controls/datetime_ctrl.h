#pragma once
// CDateTimeCtrl: a date and time picker. The time belongs to the control
// object; the user's changes reach it through the widget. UI thread.

#include "platform/base/datetime.h"
#include "platform/wnd/core/wnd.h"

inline constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
inline constexpr DWORD DTS_UPDOWN = 0x0001;
inline constexpr DWORD DTS_TIMEFORMAT = 0x0009;
inline constexpr DWORD GDT_VALID = 0;
inline constexpr DWORD GDT_NONE = 1;

class CDateTimeCtrl : public CWnd {
public:
    // Creates a "SysDateTimePick32" child window.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Sets the time; the window text becomes it as shown ("2024-01-31", or
    // "13:05:00" with DTS_TIMEFORMAT).
    BOOL SetTime(const CTime& time);
    // GDT_VALID with the time, GDT_NONE when none was ever set.
    DWORD GetTime(CTime& time) const;

private:
    void SyncWidget();

    CTime m_time;
    BOOL m_bHasTime = FALSE;
};
