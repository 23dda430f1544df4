#pragma once
// Wall-clock time: CTime (seconds since 1970, shown in local time), CTimeSpan,
// and the Win32 SYSTEMTIME calls. "Now" comes from one clock that tests may
// replace (AfxSetClock).

#include <chrono>
#include <compare>
#include <ctime>
#include <functional>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth; // 1..12
    WORD wDayOfWeek; // 0 Sunday .. 6 Saturday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The current local time / UTC time.
void GetLocalTime(SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);

// Replaces the clock behind every "now" (tests). nullptr restores the system
// clock. Safe from any thread.
using ClockFunction = std::function<std::chrono::system_clock::time_point()>;
void AfxSetClock(ClockFunction clock);
std::chrono::system_clock::time_point AfxNow();

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(std::time_t seconds)
        : m_span(seconds)
    { }
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((static_cast<std::time_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds)
    { }

    LONGLONG GetDays() const { return m_span / (24 * 3600); }
    LONGLONG GetTotalHours() const { return m_span / 3600; }
    LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const { return m_span / 60; }
    LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const { return m_span; }
    LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
    std::time_t GetTimeSpan() const { return m_span; }

    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_span + other.m_span); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_span - other.m_span); }
    CTimeSpan& operator+=(CTimeSpan other)
    {
        m_span += other.m_span;
        return *this;
    }
    CTimeSpan& operator-=(CTimeSpan other)
    {
        m_span -= other.m_span;
        return *this;
    }
    auto operator<=>(const CTimeSpan&) const = default;

private:
    std::time_t m_span = 0;
};

class CTime {
public:
    CTime() = default;
    CTime(std::time_t time)
        : m_time(time)
    { }
    // A local date and time. Out-of-range fields carry over as mktime does
    // (month 13 is January of the next year); dst < 0 lets the system decide.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    explicit CTime(const SYSTEMTIME& time, int dst = -1);

    static CTime GetCurrentTime();

    std::time_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    // 1 Sunday .. 7 Saturday.
    int GetDayOfWeek() const { return Local().tm_wday + 1; }

    // The broken-down local (or UTC) time; fills and returns tm.
    struct tm* GetLocalTm(struct tm* tm) const;
    struct tm* GetGmtTm(struct tm* tm) const;
    BOOL GetAsSystemTime(SYSTEMTIME& time) const;

    // strftime formatting in local time (Format) or UTC (FormatGmt). The
    // "%#d"-style flag (no leading zero) is understood. Results are cut at 255
    // bytes.
    CString Format(const char* format) const;
    CString FormatGmt(const char* format) const;

    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan span)
    {
        m_time += span.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan span)
    {
        m_time -= span.GetTimeSpan();
        return *this;
    }
    auto operator<=>(const CTime&) const = default;

private:
    struct tm Local() const;

    std::time_t m_time = 0;
};
