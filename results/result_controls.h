#pragma once
// Controls both result dialogs have: the Begin and End pickers and the
// titles of the weekday columns.

#include <vector>

#include "platform/wnd/controls/datetime_ctrl.h"
#include "results/result_dates.h"

// Both pickers on today at 00:00:00.
void SetPickersToToday(CDateTimeCtrl& begin, CDateTimeCtrl& end);
// The picker's day (today when it holds none).
[[nodiscard]] ResultDate PickerDate(const CDateTimeCtrl& picker);
// "Price(SUN)", "Weight(SUN)", "Print(SUN)", ... to "Print(SAT)".
[[nodiscard]] const std::vector<const char*>& WeekdaySumTitles();
