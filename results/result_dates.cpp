#include "results/result_dates.h"

#include "ethernet/reservation_rules.h"

namespace {

// Days since 1970-01-01 of a Gregorian date.
long DaysFromCivil(int year, int month, int day)
{
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

} // namespace

CString DayKey(const ResultDate& date)
{
    return CString::Formatted("%4d-%2d-%2d", date.year, date.month, date.day);
}

int DayOfWeek(const ResultDate& date)
{
    // 1970-01-01 was a Thursday (4).
    const long days = DaysFromCivil(date.year, date.month, date.day);
    return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

int WeekOfMonth(const ResultDate& date)
{
    const int firstWeekday = DayOfWeek({ date.year, date.month, 1 });
    const int firstSunday = 1 + (7 - firstWeekday) % 7;
    const int sundays = date.day < firstSunday ? 0 : 1 + (date.day - firstSunday) / 7;
    return 1 + sundays;
}

void WalkResultDays(const ResultDate& begin, const ResultDate& end,
    const std::function<void(const ResultDate&)>& day, const std::function<void(int, int)>& monthDone)
{
    const long first = static_cast<long>(begin.year) * 12 + begin.month - 1;
    const long last = static_cast<long>(end.year) * 12 + end.month - 1;
    for (long index = first; index <= last; ++index) {
        const int year = static_cast<int>(index / 12);
        const int month = static_cast<int>(index % 12) + 1;
        const int from = index == first ? begin.day : 1;
        const int to = index == last ? end.day : DaysInMonth(year, month);
        for (int d = from; d <= to; ++d)
            day({ year, month, d });
        monthDone(year, month);
    }
}
