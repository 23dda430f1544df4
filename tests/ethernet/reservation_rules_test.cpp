// Reservation rules: what the setup dialog refuses, when a reservation is due,
// and the texts of the list, the report and the statements.

#include <gtest/gtest.h>

#include "ethernet/reservation_rules.h"
#include "platform/base/datetime.h"
#include "tests/support/temp_folder.h"

namespace {

ReservationRow Row(const char* period, const char* year, const CString& month, const CString& day,
    const char* hour, const char* minute)
{
    ReservationRow row;
    row.number = "7";
    row.period = period;
    row.managerId = "kim";
    row.year = year;
    row.month = month;
    row.day = day;
    row.hour = hour;
    row.minute = minute;
    row.kind = "1";
    row.address = "127.0.0.9";
    row.direction = "0";
    row.status = "wait";
    return row;
}

const ReservationClockTime kNow { 2007, 3, 5, 9, 7 };

struct InputCase {
    int period;
    const char *year, *month, *day, *hour, *minute, *scale;
    ReservationField field;
    const char* message;
};

TEST(ReservationRules, SetupInputIsCheckedFieldByField)
{
    using F = ReservationField;
    const InputCase cases[] = {
        // Once: not before now, field by field; the current minute passes.
        { 0, "2007", "3", "5", "9", "7", "1.2.3.4", F::None, nullptr },
        { 0, "2007", "3", "5", "9", "6", "1.2.3.4", F::Minute, "Minute Input error." },
        { 0, "2007", "3", "5", "8", "59", "1.2.3.4", F::Hour, "Hour Input error." },
        { 0, "2007", "3", "4", "23", "59", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2007", "2", "28", "9", "7", "1.2.3.4", F::Month, "Month Input error." },
        { 0, "2006", "12", "31", "9", "7", "1.2.3.4", F::Year, "Year Input error." },
        { 0, "2007", "3", "6", "0", "0", "1.2.3.4", F::None, nullptr }, // a later day: an earlier hour passes
        // The form: 4-character year, a real date, a clock time.
        { 0, "02007", "3", "5", "9", "8", "1.2.3.4", F::Year, "Year Input error." },
        { 0, "2008", "13", "1", "9", "8", "1.2.3.4", F::Month, "Month Input error." },
        { 0, "2008", "0", "1", "9", "8", "1.2.3.4", F::Month, "Month Input error." },
        { 0, "2008", "1", "32", "9", "8", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2007", "4", "31", "9", "8", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2009", "2", "29", "9", "8", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2008", "2", "29", "9", "8", "1.2.3.4", F::None, nullptr },
        { 0, "2008", "1", "0", "9", "8", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2008", "01", "001", "9", "8", "1.2.3.4", F::Day, "Day Input error." },
        { 0, "2008", "1", "1", "24", "0", "1.2.3.4", F::Hour, "Hour Input error." },
        { 0, "2008", "1", "1", "123", "0", "1.2.3.4", F::Hour, "Hour Input error." },
        { 0, "2008", "1", "1", "23", "60", "1.2.3.4", F::Minute, "Minute Input error." },
        { 0, "2008", "1", "1", "23", "059", "1.2.3.4", F::Minute, "Minute Input error." },
        { 0, "2008", "1", "1", "23", "59", "", F::Scales, "Select Scales." },
        // Every day: hour, minute and scale only; the date holds "0".
        { 1, "0", "0", "0", "23", "59", "1.2.3.4", F::None, nullptr },
        { 1, "0", "0", "0", "24", "0", "1.2.3.4", F::Hour, "Hour Input error." },
        { 1, "0", "0", "0", "8", "60", "1.2.3.4", F::Minute, "Minute Input error." },
        { 1, "0", "0", "0", "8", "0", "", F::Scales, "Select Scales." },
        // Week: only a scale.
        { 2, "", "", "", "77", "", "1.2.3.4", F::None, nullptr },
        { 2, "", "", "", "", "", "", F::Scales, "Select Scales." },
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.period << " " << c.year << "/" << c.month << "/" << c.day << " "
                                        << c.hour << ":" << c.minute << " [" << c.scale << "]");
        const ReservationCheck check = CheckReservationInput(
            c.period, Row("0", c.year, c.month, c.day, c.hour, c.minute), c.scale, kNow);
        EXPECT_EQ(check.field, c.field);
        EXPECT_STREQ(check.message, c.message);
    }
}

TEST(ReservationRules, EveryMonthTakesItsLastDayAndNoMore)
{
    const int lastDays[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    for (int month = 1; month <= 12; ++month) {
        for (const char* year : { "2009", "2012" }) {
            const int last = lastDays[month - 1] + (month == 2 && std::string(year) == "2012");
            const CString monthText = CString::Formatted("%d", month);
            const CString lastText = CString::Formatted("%d", last);
            const CString afterText = CString::Formatted("%d", last + 1);
            SCOPED_TRACE(testing::Message() << year << "-" << month << "-" << last);
            EXPECT_EQ(CheckReservationInput(0, Row("0", year, monthText, lastText, "9", "0"), "1.2.3.4", kNow)
                          .field,
                ReservationField::None);
            EXPECT_STREQ(
                CheckReservationInput(0, Row("0", year, monthText, afterText, "9", "0"), "1.2.3.4", kNow)
                    .message,
                "Day Input error.");
        }
    }
}

struct DueCase {
    const char *period, *year, *month, *day, *hour, *minute;
    ReservationClockTime now;
    std::int64_t lastRunDay;
    bool due;
};

TEST(ReservationRules, DueDuringTheStoredMinuteOnly)
{
    const DueCase cases[] = {
        { "0", "2007", "3", "5", "9", "7", { 2007, 3, 5, 9, 7 }, 0, true },
        { "0", "2007", "03", "05", "09", "07", { 2007, 3, 5, 9, 7 }, 0, true },
        { "0", "2007", "3", "5", "9", "7", { 2007, 3, 5, 9, 6 }, 0, false },
        { "0", "2007", "3", "5", "9", "7", { 2007, 3, 5, 9, 8 }, 0, false },
        { "0", "2007", "3", "5", "9", "7", { 2008, 3, 5, 9, 7 }, 0, false },
        { "0", "2007", "3", "5", "9", "7", { 2007, 3, 6, 9, 7 }, 0, false },
        { "1", "0", "0", "0", "8", "0", { 2031, 12, 24, 8, 0 }, 0, true },
        { "1", "2007", "3", "5", "8", "0", { 2031, 12, 24, 8, 0 }, 20071231, true },
        { "1", "0", "0", "0", "8", "0", { 2031, 12, 24, 8, 0 }, 20311224, false }, // ran today already
        { "1", "0", "0", "0", "8", "0", { 2031, 12, 24, 8, 1 }, 0, false },
        { "1", "0", "0", "0", "8", "0", { 2031, 12, 24, 9, 0 }, 0, false },
        { "2", "2007", "3", "5", "9", "7", { 2007, 3, 5, 9, 7 }, 0, false },
        { "3", "2007", "3", "5", "9", "7", { 2007, 3, 5, 9, 7 }, 0, false },
    };
    for (const DueCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.period << " " << c.year << c.month << c.day << c.hour << c.minute
                                        << " at " << ReservationTimeKey(c.now));
        EXPECT_EQ(
            IsReservationDue(Row(c.period, c.year, c.month, c.day, c.hour, c.minute), c.now, c.lastRunDay),
            c.due);
    }
}

TEST(ReservationRules, OnlyOnceReservationsBeforeNowExpire)
{
    EXPECT_TRUE(IsReservationExpired(Row("0", "2007", "3", "5", "9", "6"), kNow));
    EXPECT_FALSE(IsReservationExpired(Row("0", "2007", "3", "5", "9", "7"), kNow));
    EXPECT_FALSE(IsReservationExpired(Row("1", "0", "0", "0", "9", "6"), kNow));
    EXPECT_FALSE(IsReservationExpired(Row("2", "2001", "1", "1", "0", "0"), kNow));
    // The key needs 64 bits: 2100-01-01 00:00 lies after 2099-12-31 23:59.
    EXPECT_EQ(ReservationTimeKey(ReservationClockTime { 2100, 1, 1, 0, 0 }), 210001010000LL);
    EXPECT_TRUE(IsReservationExpired(Row("0", "2099", "12", "31", "23", "59"), { 2100, 1, 1, 0, 0 }));
    EXPECT_FALSE(IsReservationExpired(Row("0", "2100", "1", "1", "0", "0"), { 2099, 12, 31, 23, 59 }));
}

TEST(ReservationRules, MinuteBoundariesAndMonthLengths)
{
    EXPECT_EQ(NextMinuteBoundary(120), 180);
    EXPECT_EQ(NextMinuteBoundary(179), 180);
    EXPECT_EQ(NextMinuteBoundary(0), 60);
    const std::pair<std::pair<int, int>, int> months[] = { { { 2007, 1 }, 31 }, { { 2007, 2 }, 28 },
        { { 2008, 2 }, 29 }, { { 1900, 2 }, 28 }, { { 2000, 2 }, 29 }, { { 2007, 4 }, 30 },
        { { 2007, 12 }, 31 }, { { 2007, 13 }, 0 }, { { 2007, 0 }, 0 } };
    for (const auto& [month, days] : months)
        EXPECT_EQ(DaysInMonth(month.first, month.second), days) << month.first << "-" << month.second;
    const CTime local(2007, 3, 5, 9, 7, 30);
    const ReservationClockTime t = LocalClockTime(local.GetTime());
    EXPECT_EQ(ReservationTimeKey(t), 200703050907LL);
    EXPECT_EQ(DayKey(t), 20070305);
}

TEST(ReservationRules, ListLineNamesPeriodKindAndMode)
{
    struct Case {
        const char *period, *kind, *direction, *hour;
        const char* line;
    } cases[] = {
        { "0", "1", "0", "9",
            "R_Num=7#R_period=One#manager=kim#Time=200703050907#R_kind=Item#IP=127.0.0.9#R_mode=send#R_"
            "status=wait#&" },
        { "1", "2", "1", "19",
            "R_Num=7#R_period=Day#manager=kim#Time=200703051907#R_kind= "
            "Add#IP=127.0.0.9#R_mode=recv#R_status=wait#&" },
        { "2", "4", "0", "9",
            "R_Num=7#R_period=Week#manager=kim#Time=200703050907#R_kind= "
            "Adv#IP=127.0.0.9#R_mode=send#R_status=wait#&" },
        { "5", "19", "3", "9",
            "R_Num=7#R_period=5#manager=kim#Time=200703050907#R_kind=Land#IP=127.0.0.9#R_mode=3#R_status="
            "wait#&" },
        { "0", "3", "0", "9",
            "R_Num=7#R_period=One#manager=kim#Time=200703050907#R_kind= "
            "Pre#IP=127.0.0.9#R_mode=send#R_status=wait#&" },
        { "0", "17", "0", "9",
            "R_Num=7#R_period=One#manager=kim#Time=200703050907#R_kind=17#IP=127.0.0.9#R_mode=send#R_status="
            "wait#&" },
    };
    for (const Case& c : cases) {
        ReservationRow row = Row(c.period, "2007", "3", "5", c.hour, "7");
        row.kind = c.kind;
        row.direction = c.direction;
        EXPECT_EQ(ReservationListLine(row), c.line);
        // Delete reads the kind back from the line: the same kind as the stored code.
        EXPECT_EQ(ReservationKindOfListText(ParseReservationListLine(c.line).kind), row.Kind()) << c.kind;
    }
    EXPECT_EQ(ReservationKindOfCode(19), DataKind::LandAddition);
    EXPECT_EQ(ReservationKindOfCode(3), DataKind::Preset);
    ReservationRow daily = Row("1", "0", "0", "0", "8", "0");
    EXPECT_EQ(ReservationTimeText(daily), "000000800");

    const ReservationListKey key = ParseReservationListLine(cases[0].line);
    EXPECT_EQ(key.number, "7");
    EXPECT_EQ(key.kind, "Item");
    EXPECT_EQ(key.address, "127.0.0.9");
    EXPECT_EQ(key.status, "wait");
    const ReservationListKey none = ParseReservationListLine("no fields");
    EXPECT_EQ(none.number, "");
    EXPECT_EQ(none.status, "");
}

TEST(ReservationRules, ReportLineAlignsEveryValue)
{
    ReservationRow row = Row("0", "2007", "3", "5", "9", "7");
    EXPECT_EQ(ReservationReportLine(row, "OK"),
        "Mangaer =        kim||Time =     20073597||IP =       127.0.0.9||Communication = Trans||Report =    "
        "         OK");
    row.direction = "1";
    row.managerId = "a-very-long-manager";
    EXPECT_EQ(ReservationReportLine(row, "3 times out"),
        "Mangaer = a-very-long-manager||Time =     20073597||IP =       127.0.0.9||Communication = "
        "Recv||Report =    3 times out");
}

TEST(ReservationRules, ReportLinesAreAppended)
{
    TempFolder folder;
    const std::string path = folder.File("report.txt");
    EXPECT_TRUE(AppendReservationReport("first", path.c_str()));
    EXPECT_TRUE(AppendReservationReport("second", path.c_str()));
    EXPECT_FALSE(AppendReservationReport("lost", folder.File("missing/report.txt").c_str()));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char buffer[64] = {};
    const std::size_t read = std::fread(buffer, 1, sizeof(buffer) - 1, file);
    std::fclose(file);
    EXPECT_EQ(std::string(buffer, read), "first\r\nsecond\r\n");
}

TEST(ReservationRules, RowsSplitFromReplyText)
{
    const ReservationRow row = SplitReservationRow(
        "12\tjo/1\tjo/lee\tjo/0\tjo/0\tjo/0\tjo/8\tjo/30\tjo/1\tjo/10.0.0.1\tjo/0\tjo/");
    EXPECT_EQ(row.Number(), 12);
    EXPECT_EQ(row.Period(), 1);
    EXPECT_EQ(row.managerId, "lee");
    EXPECT_EQ(row.hour, "8");
    EXPECT_EQ(row.minute, "30");
    EXPECT_EQ(row.Kind(), DataKind::Item);
    EXPECT_EQ(row.address, "10.0.0.1");
    EXPECT_EQ(row.Direction(), 0);
    EXPECT_EQ(row.status, "");
    EXPECT_EQ(SplitReplyRow("a\tjo/b\tjo/c", 5), (std::vector<CString> { "a", "b" }));
    EXPECT_EQ(SplitReplyRow("a\tjo/b\tjo/c\tjo/", 2), (std::vector<CString> { "a", "b" }));
}

TEST(ReservationRules, StatementsQuoteEveryText)
{
    ReservationRow row = Row("1", "0", "0", "0", "8", "0");
    row.managerId = "o'neil";
    EXPECT_EQ(InsertReservationSql(row),
        "INSERT INTO [Reservation_Table]([reservation_num], [reservation_period], [year], [month], [day], "
        "[hour], "
        "[min], [ip],[reservation_kind], [mg_id], [reservation_trans], [reservation_status]) VALUES('7', "
        "'1', "
        "'0', '0', '0', '8', '0', '127.0.0.9', '1', 'o''neil', '0', 'wait')");
    EXPECT_EQ(ReservationStatusSql("Trans", "o'neil", 7, "1.2.3.4"),
        "UPDATE [Reservation_Table] SET [reservation_status] = 'Trans' WHERE [mg_id] = 'o''neil' AND "
        "[reservation_num] = '7' AND [ip] = '1.2.3.4'");
    EXPECT_EQ(ReservationListSql("vexo"),
        "SELECT [reservation_num], [reservation_period], [mg_id], [year], [month], [day], [hour], [min], "
        "[reservation_kind], [ip], [reservation_trans], [reservation_status] FROM [Reservation_Table]");
    EXPECT_EQ(ReservationListSql("kim").Right(22), " WHERE [mg_id] = 'kim'");
    EXPECT_EQ(PickedItemSql("vexo", 12).Right(23), "WHERE [item_num] = '12'");
    EXPECT_EQ(PickedItemSql("kim", 12).Right(43), "WHERE [mg_id] = 'kim' AND [item_num] = '12'");
    EXPECT_EQ(DeleteReservationSql(3), "DELETE FROM [Reservation_Table] WHERE [reservation_num] = '3'");
    EXPECT_EQ(DeleteReservationItemsSql(3), "DELETE FROM [Item] WHERE [reservation_num] = '3'");
}

} // namespace
