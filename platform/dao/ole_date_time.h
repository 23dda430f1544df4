#pragma once
// OLE automation date: days since 30 December 1899 in the integer part, the time
// of day as the fraction. Only what the database layer shows is offered.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

using DATE = double;

class COleDateTime {
public:
    COleDateTime() = default;
    explicit COleDateTime(DATE value)
        : m_dt(value)
    { }
    // A valid calendar date and time; an invalid one leaves the status invalid.
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    enum class DateTimeStatus { Valid, Invalid };

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    DateTimeStatus GetStatus() const { return m_status; }

    // strftime-style formatting ("%m %d %y"); an empty text for an invalid date.
    CString Format(const char* format) const;

    DATE m_dt = 0;

private:
    struct Parts {
        int year, month, day, hour, minute, second;
    };
    Parts Split() const;

    DateTimeStatus m_status = DateTimeStatus::Valid;
};
