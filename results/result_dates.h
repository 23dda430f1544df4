#pragma once
// The calendar of the result dialogs: the day keys of [Server_DB].[Result_day]
// ("%4d-%2d-%2d", space-padded: 3 May 2006 is "2006- 5- 3"), weekdays, weeks
// of the month and the walk over the days of a range.

#include <functional>

#include "platform/base/cstring.h"

struct ResultDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0; // 1..31
};

// Month lengths come from DaysInMonth (ethernet/reservation_rules.h).

// The most weeks a month touches: week 6 holds the days from a month's fifth
// Sunday on (a month of 30 or 31 days that begins on a Saturday or Sunday).
inline constexpr int kWeeksPerMonth = 6;

// "%4d-%2d-%2d" of the date.
[[nodiscard]] CString DayKey(const ResultDate& date);
// 0 Sunday .. 6 Saturday.
[[nodiscard]] int DayOfWeek(const ResultDate& date);
// 1 + the Sundays among days 1..day of the month: weeks begin on Sunday, so a
// month that begins on a Sunday starts in week 2. 1..6.
[[nodiscard]] int WeekOfMonth(const ResultDate& date);

// Walks every day from begin to end, both included, month by month; after the
// days of each month entered, monthDone(year, month). A begin month after the
// end month walks nothing; within one month, a begin day after the end day
// walks no day but still ends the month.
void WalkResultDays(const ResultDate& begin, const ResultDate& end,
    const std::function<void(const ResultDate&)>& day,
    const std::function<void(int year, int month)>& monthDone);
