#include "results/result_controls.h"

void SetPickersToToday(CDateTimeCtrl& begin, CDateTimeCtrl& end)
{
    const CTime now = CTime::GetCurrentTime();
    const CTime today(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
    begin.SetTime(today);
    end.SetTime(today);
}

ResultDate PickerDate(const CDateTimeCtrl& picker)
{
    CTime time;
    if (picker.GetTime(time) != GDT_VALID)
        time = CTime::GetCurrentTime();
    return { time.GetYear(), time.GetMonth(), time.GetDay() };
}

const std::vector<const char*>& WeekdaySumTitles()
{
    static const std::vector<CString> kTexts = [] {
        std::vector<CString> texts;
        for (const char* day : { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" })
            for (const char* what : { "Price", "Weight", "Print" })
                texts.push_back(CString::Formatted("%s(%s)", what, day));
        return texts;
    }();
    static const std::vector<const char*> kTitles = [] {
        std::vector<const char*> titles;
        for (const CString& text : kTexts)
            titles.push_back(text.GetString());
        return titles;
    }();
    return kTitles;
}
