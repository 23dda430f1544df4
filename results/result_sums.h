#pragma once
// The sums of the result dialogs: one day's price, weight and count, the sums
// per weekday, per week of the month and per month, and the texts they show.

#include <array>
#include <functional>
#include <map>

#include "platform/base/cstring.h"
#include "results/result_dates.h"

// Price, weight and print count of [Server_DB] rows.
struct SaleSums {
    double price = 0;
    double weight = 0;
    double count = 0;

    void Add(const SaleSums& other)
    {
        price += other.price;
        weight += other.weight;
        count += other.count;
    }
    // Each value below 0 (cancels outweigh sales) becomes 0.
    [[nodiscard]] SaleSums WithoutNegatives() const;
};

// The period sums of one scale and item (or one manager) while a range is
// walked. A week no day of the range fell into is marked untouched.
class PeriodSums {
public:
    PeriodSums() { Clear(); }

    // Weekday sums and month sums 0, every week untouched.
    void Clear();
    // A day's sums, negatives counted as 0.
    void AddDay(const ResultDate& date, const SaleSums& day);

    [[nodiscard]] const SaleSums& Weekday(int weekday) const
    {
        return m_weekdays[static_cast<size_t>(weekday)];
    }
    // week 1..kWeeksPerMonth.
    [[nodiscard]] bool WeekTouched(int week) const { return m_touched[static_cast<size_t>(week - 1)]; }
    [[nodiscard]] const SaleSums& Week(int week) const { return m_weeks[static_cast<size_t>(week - 1)]; }
    [[nodiscard]] const SaleSums& Month() const { return m_month; }

private:
    std::array<SaleSums, 7> m_weekdays;
    std::array<SaleSums, kWeeksPerMonth> m_weeks;
    std::array<bool, kWeeksPerMonth> m_touched {};
    SaleSums m_month;
};

// "%.0f" of a sum.
[[nodiscard]] CString SumText(double sum);

// The text with a decimal point before its last decimals digits (0: as it
// is): 12345 with 2 reads 123.45, 5 reads 0.05, -5 reads -0.05.
[[nodiscard]] CString InsertDecimalPoint(const CString& text, int decimals);

// What a result grid shows: the sums' periods and the list.
enum class ResultMode { Daily = 0, DayOfWeek = 1, Weekly = 2, Monthly = 3, List = 4 };

// Sums of the days begin..end by mode: Daily gives a row per day (the day
// text), Weekly a row per week of each month that a day fell into ("%d/%d"
// of month and week), Monthly a row per month entered ("%d" of the month);
// DayOfWeek only adds into sums. readDays, the sums per day text, is called
// once, at the first day walked. sums is cleared after each weekly or
// monthly month.
void WalkPeriodRows(const ResultDate& begin, const ResultDate& end, ResultMode mode, PeriodSums& sums,
    const std::function<std::map<CString, SaleSums>()>& readDays,
    const std::function<void(const CString& period, const SaleSums& sums)>& row);
