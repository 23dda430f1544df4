#pragma once
// OLE automation date: days since 30 December 1899 in the integer part, the time
// of day as the fraction. Only what the database layer shows is offered.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

using DATE = double;

// TRUE for a finite date from 1 January 100 to 31 December 9999, the range an
// OLE date covers (before the epoch the fraction counts forward: -657434.5
// is noon of 1 January 100).
constexpr bool IsValidOleDate(DATE value)
{
    return value > -657435.0 && value < 2958466.0;
}

class COleDateTime {
public:
    COleDateTime() = default;
    // A date outside IsValidOleDate leaves the status invalid.
    explicit COleDateTime(DATE value)
        : m_dt(value)
        , m_status(IsValidOleDate(value) ? DateTimeStatus::Valid : DateTimeStatus::Invalid)
    { }
    // A valid calendar date and time; an invalid one leaves the status invalid.
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    enum class DateTimeStatus { Valid, Invalid };

    // The parts of the date; -1 each for a date outside IsValidOleDate.
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
