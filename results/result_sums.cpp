#include "results/result_sums.h"

#include <optional>

SaleSums SaleSums::WithoutNegatives() const
{
    return { price < 0 ? 0 : price, weight < 0 ? 0 : weight, count < 0 ? 0 : count };
}

void PeriodSums::Clear()
{
    m_weekdays.fill(SaleSums {});
    m_weeks.fill(SaleSums {});
    m_touched.fill(false);
    m_month = SaleSums {};
}

void PeriodSums::AddDay(const ResultDate& date, const SaleSums& day)
{
    const SaleSums counted = day.WithoutNegatives();
    m_weekdays[static_cast<size_t>(DayOfWeek(date))].Add(counted);
    const auto week = static_cast<size_t>(WeekOfMonth(date) - 1);
    m_weeks[week].Add(counted);
    m_touched[week] = true;
    m_month.Add(counted);
}

CString SumText(double sum)
{
    const CString text = CString::Formatted("%.0f", sum);
    return text;
}

CString InsertDecimalPoint(const CString& text, int decimals)
{
    if (decimals <= 0)
        return text;
    const bool negative = !text.IsEmpty() && text[0] == '-';
    CString digits = negative ? text.Mid(1) : text;
    while (digits.GetLength() < decimals)
        digits = "0" + digits;
    if (digits.GetLength() == decimals)
        digits = "0" + digits;
    const int point = digits.GetLength() - decimals;
    return (negative ? "-" : "") + digits.Left(point) + "." + digits.Mid(point);
}

void WalkPeriodRows(const ResultDate& begin, const ResultDate& end, ResultMode mode, PeriodSums& sums,
    const std::function<std::map<CString, SaleSums>()>& readDays,
    const std::function<void(const CString&, const SaleSums&)>& row)
{
    std::optional<std::map<CString, SaleSums>> days;
    auto onDay = [&](const ResultDate& date) {
        if (!days)
            days = readDays();
        const CString key = DayKey(date);
        const auto found = days->find(key);
        const SaleSums day = found == days->end() ? SaleSums {} : found->second;
        if (mode == ResultMode::Daily)
            row(key, day);
        else
            sums.AddDay(date, day);
    };
    auto onMonth = [&](int, int month) {
        if (mode == ResultMode::Weekly) {
            for (int week = 1; week <= kWeeksPerMonth; ++week)
                if (sums.WeekTouched(week))
                    row(CString::Formatted("%d/%d", month, week), sums.Week(week));
            sums.Clear();
        } else if (mode == ResultMode::Monthly) {
            row(CString::Formatted("%d", month), sums.Month());
            sums.Clear();
        }
    };
    WalkResultDays(begin, end, onDay, onMonth);
}
