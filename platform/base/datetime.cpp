#include "platform/base/datetime.h"

#include <mutex>
#include <string>

namespace {

std::mutex g_clockMutex;
ClockFunction g_clock;

constexpr std::size_t kMaxFormatted = 255;

void ToSystemTime(const struct tm& tm, int milliseconds, SYSTEMTIME* out)
{
    out->wYear = static_cast<WORD>(tm.tm_year + 1900);
    out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out->wDay = static_cast<WORD>(tm.tm_mday);
    out->wHour = static_cast<WORD>(tm.tm_hour);
    out->wMinute = static_cast<WORD>(tm.tm_min);
    out->wSecond = static_cast<WORD>(tm.tm_sec);
    out->wMilliseconds = static_cast<WORD>(milliseconds);
}

void SplitNow(std::time_t& seconds, int& milliseconds)
{
    const auto ms
        = std::chrono::duration_cast<std::chrono::milliseconds>(AfxNow().time_since_epoch()).count();
    seconds = static_cast<std::time_t>(ms / 1000);
    milliseconds = static_cast<int>(ms % 1000);
    if (milliseconds < 0) {
        milliseconds += 1000;
        --seconds;
    }
}

// The Windows "#" flag (no leading zeros) becomes glibc's "-".
std::string TranslateFormat(const char* format)
{
    std::string out;
    for (const char* p = format; *p; ++p) {
        out += *p;
        if (*p == '%' && p[1] == '#') {
            out += '-';
            ++p;
        } else if (*p == '%' && p[1] == '%') {
            out += *++p;
        }
    }
    return out;
}

CString FormatTm(const struct tm& tm, const char* format)
{
    if (!format || !*format)
        return CString();
    const std::string translated = TranslateFormat(format);
    char buffer[kMaxFormatted + 1];
    const std::size_t n = std::strftime(buffer, sizeof buffer, translated.c_str(), &tm);
    // strftime gives 0 both for an empty result and for one that does not fit.
    return CString(buffer, static_cast<int>(n));
}

} // namespace

void AfxSetClock(ClockFunction clock)
{
    std::lock_guard lock(g_clockMutex);
    g_clock = std::move(clock);
}

std::chrono::system_clock::time_point AfxNow()
{
    ClockFunction clock;
    {
        std::lock_guard lock(g_clockMutex);
        clock = g_clock;
    }
    return clock ? clock() : std::chrono::system_clock::now();
}

namespace {

void FillNow(SYSTEMTIME* time, struct tm* (*breakDown)(const std::time_t*, struct tm*))
{
    if (!time)
        return;
    std::time_t seconds;
    int milliseconds;
    SplitNow(seconds, milliseconds);
    struct tm tm { };
    breakDown(&seconds, &tm);
    ToSystemTime(tm, milliseconds, time);
}

} // namespace

void GetLocalTime(SYSTEMTIME* time)
{
    FillNow(time, localtime_r);
}

void GetSystemTime(SYSTEMTIME* time)
{
    FillNow(time, gmtime_r);
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    struct tm tm { };
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = dst;
    m_time = std::mktime(&tm);
}

CTime::CTime(const SYSTEMTIME& time, int dst)
    : CTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, dst)
{ }

CTime CTime::GetCurrentTime()
{
    std::time_t seconds;
    int milliseconds;
    SplitNow(seconds, milliseconds);
    return CTime(seconds);
}

struct tm CTime::Local() const
{
    struct tm tm { };
    localtime_r(&m_time, &tm);
    return tm;
}

struct tm* CTime::GetLocalTm(struct tm* tm) const
{
    if (!tm)
        return nullptr;
    *tm = Local();
    return tm;
}

struct tm* CTime::GetGmtTm(struct tm* tm) const
{
    if (!tm)
        return nullptr;
    gmtime_r(&m_time, tm);
    return tm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& time) const
{
    ToSystemTime(Local(), 0, &time);
    return TRUE;
}

CString CTime::Format(const char* format) const
{
    return FormatTm(Local(), format);
}

CString CTime::FormatGmt(const char* format) const
{
    struct tm tm { };
    gmtime_r(&m_time, &tm);
    return FormatTm(tm, format);
}
