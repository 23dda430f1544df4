#include <gtest/gtest.h>

#include <vector>

#include "platform/dao/dao_exception.h"
#include "platform/dao/ole_currency.h"
#include "platform/dao/ole_date_time.h"
#include "platform/dao/ole_variant.h"

namespace {

TEST(OleVariantTest, ConstructorsSetTypeCodeAndValue)
{
    EXPECT_EQ(COleVariant().vt, VT_EMPTY);
    EXPECT_EQ(COleVariant("abc").vt, VT_BSTR);
    EXPECT_EQ(COleVariant("abc").bstrVal, "abc");
    const COleVariant l(17);
    EXPECT_EQ(l.vt, VT_I4);
    EXPECT_EQ(l.lVal, 17);
    EXPECT_EQ(COleVariant(static_cast<SHORT>(-3)).iVal, -3);
    EXPECT_EQ(COleVariant(static_cast<SHORT>(1), VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(COleVariant(2.5).vt, VT_R8);
    EXPECT_EQ(COleVariant(2.5, VT_DATE).vt, VT_DATE);
    EXPECT_EQ(COleVariant(1.5f).vt, VT_R4);
    EXPECT_EQ(COleVariant(static_cast<BYTE>(0xAB)).bVal, 0xAB);
    EXPECT_EQ(COleVariant(std::vector<BYTE> { 1, 2 }).vt, VT_ARRAY | VT_UI1);
    COleVariant v = COleVariant::OfType(VT_BYREF | VT_I4);
    EXPECT_EQ(v.vt, VT_BYREF | VT_I4);
    v.Clear();
    EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(OleCurrencyTest, FormatsUnitsAndTrimmedFraction)
{
    EXPECT_EQ(COleCurrency(12, 5000).Format(), "12.5");
    EXPECT_EQ(COleCurrency(-3, 0).Format(), "-3");
    EXPECT_EQ(COleCurrency(0, 1).Format(), "0.0001");
    CY smallest;
    smallest.int64 = INT64_MIN;
    EXPECT_EQ(COleCurrency(smallest).Format(), "-922337203685477.5808");
}

TEST(OleDateTimeTest, SplitsAndFormatsOleDates)
{
    // 2 January 1900 is day 3; 0.5 is noon.
    const COleDateTime noon(3.5);
    EXPECT_EQ(noon.GetYear(), 1900);
    EXPECT_EQ(noon.GetMonth(), 1);
    EXPECT_EQ(noon.GetDay(), 2);
    EXPECT_EQ(noon.GetHour(), 12);
    EXPECT_EQ(noon.Format("%m %d %y"), "01 02 00");

    const COleDateTime made(2024, 2, 29, 23, 59, 58);
    EXPECT_EQ(made.GetStatus(), COleDateTime::DateTimeStatus::Valid);
    EXPECT_EQ(COleDateTime(made.m_dt).Format("%Y-%m-%d %H:%M:%S"), "2024-02-29 23:59:58");
    EXPECT_EQ(COleDateTime(2023, 2, 29, 0, 0, 0).GetStatus(), COleDateTime::DateTimeStatus::Invalid);
    EXPECT_EQ(COleDateTime(2023, 2, 29, 0, 0, 0).Format("%m"), "");
    // Before the epoch the time of day still counts forward.
    EXPECT_EQ(COleDateTime(-1.25).Format("%Y-%m-%d %H:%M"), "1899-12-29 06:00");
    // The last second of a year is a time; a date past 9999 has no parts.
    EXPECT_EQ(COleDateTime(2024, 12, 31, 23, 59, 59).GetStatus(), COleDateTime::DateTimeStatus::Valid);
    const COleDateTime outside(1e10);
    EXPECT_EQ(outside.GetStatus(), COleDateTime::DateTimeStatus::Invalid);
    EXPECT_EQ(std::vector<int>({ outside.GetYear(), outside.GetMonth(), outside.GetDay(), outside.GetHour(),
                  outside.GetMinute(), outside.GetSecond() }),
        std::vector<int>(6, -1));
}

TEST(DaoExceptionTest, CarriesEngineNumberAndTextIntoABoundedBuffer)
{
    CDaoException e(3024, "DAO.Database", "Could not find file 'x.mdb'.");
    EXPECT_EQ(e.m_pErrorInfo->m_lErrorCode, 3024);
    EXPECT_EQ(e.GetErrorCount(), 1);
    char buffer[12];
    EXPECT_TRUE(e.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "Could not f");
    EXPECT_EQ(e.GetErrorText(), "Could not find file 'x.mdb'.");
}

} // namespace
