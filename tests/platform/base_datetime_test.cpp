#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/base/datetime.h"

namespace {

// Runs the test body in a fixed zone (Korea, UTC+9, no daylight saving) and
// restores the clock and zone afterwards.
class DateTimeTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        m_hadTz = tz != nullptr;
        if (tz)
            m_savedTz = tz;
        setenv("TZ", "KST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        AfxSetClock(nullptr);
        if (m_hadTz)
            setenv("TZ", m_savedTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    static void FixClock(std::time_t seconds, int milliseconds = 0)
    {
        const auto point
            = std::chrono::system_clock::from_time_t(seconds) + std::chrono::milliseconds(milliseconds);
        AfxSetClock([point] { return point; });
    }

private:
    bool m_hadTz = false;
    std::string m_savedTz;
};

// 2007-03-05 09:07:30 in Korea is 00:07:30 UTC.
constexpr std::time_t kMarch5 = 1173053250;

} // namespace

TEST_F(DateTimeTest, FieldsOfALocalTime)
{
    const CTime t(2007, 3, 5, 9, 7, 30);
    EXPECT_EQ(t.GetTime(), kMarch5);
    EXPECT_EQ(t.GetYear(), 2007);
    EXPECT_EQ(t.GetMonth(), 3);
    EXPECT_EQ(t.GetDay(), 5);
    EXPECT_EQ(t.GetHour(), 9);
    EXPECT_EQ(t.GetMinute(), 7);
    EXPECT_EQ(t.GetSecond(), 30);
    EXPECT_EQ(t.GetDayOfWeek(), 2); // Monday
    struct tm tm { };
    EXPECT_EQ(t.GetLocalTm(&tm)->tm_wday, 1);
}

TEST_F(DateTimeTest, FormatLocalAndGmt)
{
    const CTime t(2007, 3, 5, 9, 7, 30);
    EXPECT_EQ(t.Format("%H:%M:%S"), "09:07:30");
    EXPECT_EQ(t.Format("%d/%m/%Y"), "05/03/2007");
    EXPECT_EQ(t.Format("%#d.%#m.%y %%"), "5.3.07 %");
    EXPECT_EQ(t.FormatGmt("%m/%d/%y %H:%M:%S GMT"), "03/05/07 00:07:30 GMT");
    EXPECT_EQ(t.Format(""), "");
    EXPECT_EQ(t.Format(nullptr), "");
}

TEST_F(DateTimeTest, OutOfRangeFieldsCarryOver)
{
    // The first of "month 13" is January of the next year: December has 31 days.
    const CTime dec1(2006, 12, 1, 0, 0, 0);
    const CTime next(2006, 13, 1, 0, 0, 0);
    EXPECT_EQ(next.GetYear(), 2007);
    EXPECT_EQ(next.GetMonth(), 1);
    EXPECT_EQ((next - dec1).GetDays(), 31);
    EXPECT_EQ((CTime(2008, 3, 1, 0, 0, 0) - CTime(2008, 2, 1, 0, 0, 0)).GetDays(), 29);
}

TEST_F(DateTimeTest, SpanArithmetic)
{
    const CTime t(2007, 3, 5, 9, 7, 30);
    const CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalHours(), 26);
    const CTime later = t + span;
    EXPECT_EQ(later.Format("%Y-%m-%d %H:%M:%S"), "2007-03-06 11:10:34");
    EXPECT_EQ(later - t, span);
    EXPECT_LT(t, later);
    CTime moving = later;
    moving -= span;
    EXPECT_EQ(moving, t);
}

TEST_F(DateTimeTest, NowComesFromTheInjectedClock)
{
    FixClock(kMarch5, 250);
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), kMarch5);
    SYSTEMTIME local {};
    GetLocalTime(&local);
    EXPECT_EQ(local.wYear, 2007);
    EXPECT_EQ(local.wMonth, 3);
    EXPECT_EQ(local.wDay, 5);
    EXPECT_EQ(local.wDayOfWeek, 1);
    EXPECT_EQ(local.wHour, 9);
    EXPECT_EQ(local.wMinute, 7);
    EXPECT_EQ(local.wSecond, 30);
    EXPECT_EQ(local.wMilliseconds, 250);
    SYSTEMTIME utc {};
    GetSystemTime(&utc);
    EXPECT_EQ(utc.wHour, 0);

    // Without a clock, the system's (time() reads a coarser clock, which may
    // still show the last second).
    AfxSetClock(nullptr);
    using std::chrono::system_clock;
    const std::time_t before = system_clock::to_time_t(system_clock::now());
    const std::time_t now = CTime::GetCurrentTime().GetTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, system_clock::to_time_t(system_clock::now()));
}

TEST_F(DateTimeTest, SystemTimeRoundTrip)
{
    SYSTEMTIME st { 2007, 3, 0, 5, 9, 7, 30, 0 };
    const CTime t(st);
    EXPECT_EQ(t.GetTime(), kMarch5);
    SYSTEMTIME back {};
    ASSERT_TRUE(t.GetAsSystemTime(back));
    EXPECT_EQ(back.wDayOfWeek, 1);
    EXPECT_EQ(back.wMinute, 7);
}
