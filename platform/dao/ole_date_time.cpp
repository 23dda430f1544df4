#include "platform/dao/ole_date_time.h"

#include <cmath>
#include <ctime>

namespace {

// Days between 1899-12-30 and 1970-01-01.
constexpr long kOleEpochToUnixDays = 25569;

// Civil date of a day count relative to 1970-01-01 (proleptic Gregorian).
void CivilFromDays(long z, int& year, int& month, int& day)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

long DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yoe = year - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    static const int kDaysInMonth[] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1]
        || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        m_status = DateTimeStatus::Invalid;
        return;
    }
    const long days = DaysFromCivil(year, month, day) + kOleEpochToUnixDays;
    int y = 0, m = 0, d = 0;
    CivilFromDays(days - kOleEpochToUnixDays, y, m, d);
    if (d != day) { // 29 February of a common year
        m_status = DateTimeStatus::Invalid;
        return;
    }
    const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before the epoch the fraction counts forward from the day's start, as OLE does.
    m_dt = days >= 0 ? days + fraction : days - fraction;
}

COleDateTime::Parts COleDateTime::Split() const
{
    if (!IsValidOleDate(m_dt))
        return Parts { -1, -1, -1, -1, -1, -1 };
    // OLE dates below zero keep the time of day as a positive fraction.
    const double whole = std::trunc(m_dt);
    const double fraction = std::fabs(m_dt - whole);
    long seconds = std::lround(fraction * 86400.0);
    long days = static_cast<long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += m_dt >= 0 ? 1 : -1;
    }
    Parts p {};
    CivilFromDays(days - kOleEpochToUnixDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

int COleDateTime::GetYear() const
{
    return Split().year;
}
int COleDateTime::GetMonth() const
{
    return Split().month;
}
int COleDateTime::GetDay() const
{
    return Split().day;
}
int COleDateTime::GetHour() const
{
    return Split().hour;
}
int COleDateTime::GetMinute() const
{
    return Split().minute;
}
int COleDateTime::GetSecond() const
{
    return Split().second;
}

CString COleDateTime::Format(const char* format) const
{
    if (m_status != DateTimeStatus::Valid || !IsValidOleDate(m_dt) || !format)
        return CString();
    const Parts p = Split();
    std::tm tm {};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    const long days = DaysFromCivil(p.year, p.month, p.day);
    tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(p.year, 1, 1));
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return CString(buffer, static_cast<int>(n));
}
