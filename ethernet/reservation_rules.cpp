#include "ethernet/reservation_rules.h"

#include "db/item_schema.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "protocol/record_values.h"

namespace {

constexpr const char* kValueEnd = "\tjo/";
constexpr const char* kRowColumns
    = "[reservation_num], [reservation_period], [mg_id], [year], [month], [day], "
      "[hour], [min], [reservation_kind], [ip], [reservation_trans]";

int Number(const CString& text)
{
    return ScaleAtol(text.GetString());
}

CString Quoted(const CString& value)
{
    return SqlLiteral(value);
}

// "0" in front of a text shorter than 2 characters.
CString TwoPlaces(const CString& text)
{
    return text.GetLength() < 2 ? "0" + text : text;
}

// The text between the first begin and the end after it ("" when either is
// missing).
CString Between(const CString& line, const char* begin, const char* end)
{
    const int start = line.Find(begin);
    if (start < 0)
        return "";
    const int from = start + CString(begin).GetLength();
    const int stop = line.Find(end, from);
    return stop < 0 ? CString() : line.Mid(from, stop - from);
}

// The stored codes and what the list shows for them; a code outside a table is
// shown as stored.
struct CodeText {
    const char* code;
    const char* text;
};

constexpr CodeText kPeriodTexts[] = { { "0", "One" }, { "1", "Day" }, { "2", "Week" } };
constexpr CodeText kModeTexts[] = { { "0", "send" }, { "1", "recv" } };

struct KindEntry {
    const char* code;
    const char* text;
    DataKind kind;
};

constexpr KindEntry kKindCodes[] = {
    { "1", "Item", DataKind::Item },
    { "2", " Add", DataKind::Add },
    { "3", " Pre", DataKind::Preset },
    { "4", " Adv", DataKind::Adv },
    { "19", "Land", DataKind::LandAddition },
};

template <typename Entry, std::size_t N> CString ListText(const CString& code, const Entry (&table)[N])
{
    for (const Entry& entry : table)
        if (code == entry.code)
            return entry.text;
    return code;
}

ReservationCheck Refuse(ReservationField field, const char* message)
{
    return { field, message };
}

// Hour and minute of every period that has a time: at most 2 characters, a
// time of the clock.
ReservationCheck CheckClock(const ReservationRow& input)
{
    if (input.hour.GetLength() > 2 || Number(input.hour) < 0 || Number(input.hour) > 23)
        return Refuse(ReservationField::Hour, "Hour Input error.");
    if (input.minute.GetLength() > 2 || Number(input.minute) < 0 || Number(input.minute) > 59)
        return Refuse(ReservationField::Minute, "Minute Input error.");
    return {};
}

ReservationCheck CheckScale(const CString& firstScale)
{
    if (firstScale.IsEmpty())
        return Refuse(ReservationField::Scales, "Select Scales.");
    return {};
}

// Once: the time may not lie before now, compared field by field.
ReservationCheck CheckNotBefore(const ReservationRow& input, const ReservationClockTime& now)
{
    const struct {
        int value;
        int current;
        ReservationField field;
        const char* message;
    } fields[] = {
        { Number(input.year), now.year, ReservationField::Year, "Year Input error." },
        { Number(input.month), now.month, ReservationField::Month, "Month Input error." },
        { Number(input.day), now.day, ReservationField::Day, "Day Input error." },
        { Number(input.hour), now.hour, ReservationField::Hour, "Hour Input error." },
        { Number(input.minute), now.minute, ReservationField::Minute, "Minute Input error." },
    };
    for (const auto& f : fields) {
        if (f.value < f.current)
            return Refuse(f.field, f.message);
        if (f.value > f.current)
            break;
    }
    return {};
}

ReservationCheck CheckDate(const ReservationRow& input)
{
    if (input.year.GetLength() != 4)
        return Refuse(ReservationField::Year, "Year Input error.");
    const int month = Number(input.month);
    if (input.month.GetLength() > 2 || month < 1 || month > 12)
        return Refuse(ReservationField::Month, "Month Input error.");
    const int day = Number(input.day);
    if (input.day.GetLength() > 2 || day < 1 || day > DaysInMonth(Number(input.year), month))
        return Refuse(ReservationField::Day, "Day Input error.");
    return {};
}

} // namespace

long ReservationRow::Number() const
{
    return ::Number(number);
}

int ReservationRow::Period() const
{
    return ::Number(period);
}

int ReservationRow::KindCode() const
{
    return ::Number(kind);
}

std::optional<DataKind> ReservationRow::Kind() const
{
    return ReservationKindOfCode(KindCode());
}

std::optional<DataKind> ReservationKindOfCode(int code)
{
    for (const KindEntry& entry : kKindCodes)
        if (Number(entry.code) == code)
            return entry.kind;
    return std::nullopt;
}

int ReservationRow::Direction() const
{
    return ::Number(direction);
}

std::vector<CString> SplitReplyRow(const CString& rowText, std::size_t maxFields)
{
    std::vector<CString> fields;
    const std::string& text = rowText.Str();
    std::size_t start = 0;
    while (fields.size() < maxFields) {
        const std::size_t end = text.find(kValueEnd, start);
        if (end == std::string::npos)
            break;
        fields.emplace_back(text.substr(start, end - start));
        start = end + 4;
    }
    return fields;
}

ReservationRow SplitReservationRow(const CString& rowText)
{
    std::vector<CString> f = SplitReplyRow(rowText, 12);
    f.resize(12);
    ReservationRow row;
    row.number = f[0];
    row.period = f[1];
    row.managerId = f[2];
    row.year = f[3];
    row.month = f[4];
    row.day = f[5];
    row.hour = f[6];
    row.minute = f[7];
    row.kind = f[8];
    row.address = f[9];
    row.direction = f[10];
    row.status = f[11];
    return row;
}

ReservationClockTime LocalClockTime(std::time_t when)
{
    const CTime time(when);
    return { time.GetYear(), time.GetMonth(), time.GetDay(), time.GetHour(), time.GetMinute() };
}

std::int64_t ReservationTimeKey(const ReservationClockTime& t)
{
    return (((static_cast<std::int64_t>(t.year) * 100 + t.month) * 100 + t.day) * 100 + t.hour) * 100
        + t.minute;
}

std::int64_t ReservationTimeKey(const ReservationRow& row)
{
    return ReservationTimeKey(ReservationClockTime {
        Number(row.year), Number(row.month), Number(row.day), Number(row.hour), Number(row.minute) });
}

std::int64_t DayKey(const ReservationClockTime& time)
{
    return ReservationTimeKey(time) / 10000;
}

bool IsReservationExpired(const ReservationRow& row, const ReservationClockTime& now)
{
    return row.Period() == kPeriodOnce && ReservationTimeKey(now) > ReservationTimeKey(row);
}

bool IsReservationDue(const ReservationRow& row, const ReservationClockTime& now, std::int64_t lastRunDay)
{
    switch (row.Period()) {
    case kPeriodOnce:
        return ReservationTimeKey(now) == ReservationTimeKey(row);
    case kPeriodEveryDay:
        return now.hour == Number(row.hour) && now.minute == Number(row.minute) && DayKey(now) != lastRunDay;
    default:
        return false;
    }
}

std::time_t NextMinuteBoundary(std::time_t when)
{
    return (when / 60 + 1) * 60;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

ReservationCheck CheckReservationInput(
    int period, const ReservationRow& input, const CString& firstScale, const ReservationClockTime& now)
{
    ReservationCheck check;
    if (period == kPeriodOnce) {
        if ((check = CheckNotBefore(input, now)).message || (check = CheckDate(input)).message
            || (check = CheckClock(input)).message)
            return check;
        return CheckScale(firstScale);
    }
    if (period == kPeriodEveryDay && (check = CheckClock(input)).message)
        return check;
    return CheckScale(firstScale);
}

CString ReservationTimeText(const ReservationRow& row)
{
    return row.year + TwoPlaces(row.month) + TwoPlaces(row.day) + TwoPlaces(row.hour) + TwoPlaces(row.minute);
}

CString ReservationListLine(const ReservationRow& row)
{
    const CString period = ListText(row.period, kPeriodTexts);
    const CString kind = ListText(row.kind, kKindCodes);
    const CString mode = ListText(row.direction, kModeTexts);
    CString line;
    line.Format("R_Num=%s#R_period=%s#manager=%s#Time=%s#R_kind=%s#IP=%s#R_mode=%s#R_status=%s#&", row.number,
        period, row.managerId, ReservationTimeText(row), kind, row.address, mode, row.status);
    return line;
}

ReservationListKey ParseReservationListLine(const CString& line)
{
    return { Between(line, "R_Num=", "#R_period"), Between(line, "#R_kind=", "#IP="),
        Between(line, "#IP=", "#R_mode="), Between(line, "#R_status=", "#&") };
}

std::optional<DataKind> ReservationKindOfListText(const CString& text)
{
    for (const KindEntry& entry : kKindCodes)
        if (text == entry.text)
            return entry.kind;
    return std::nullopt;
}

CString ReservationReportLine(const ReservationRow& row, const CString& report)
{
    const CString time = row.year + row.month + row.day + row.hour + row.minute;
    CString line;
    line.Format("Mangaer = %10s||Time = %12s||IP = %15s||Communication = %4s||Report = %14s", row.managerId,
        time, row.address, row.Direction() == 0 ? "Trans" : "Recv", report);
    return line;
}

BOOL AppendReservationReport(const CString& line, const CString& path)
{
    try {
        CStdioFile file(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.SeekToEnd();
        file.WriteString(line + "\n");
        file.Close();
        return TRUE;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        return FALSE;
    }
}

CString ReservationReadSql()
{
    return CString("SELECT ") + kRowColumns + " FROM [Reservation_Table]";
}

CString ReservationReadSql(long number)
{
    CString sql;
    sql.Format("SELECT %s FROM [Reservation_Table] WHERE [reservation_num] = '%ld'", kRowColumns, number);
    return sql;
}

CString ReservationListSql(const CString& managerId)
{
    CString sql = CString("SELECT ") + kRowColumns + ", [reservation_status] FROM [Reservation_Table]";
    if (managerId != kAdministratorId)
        sql += " WHERE [mg_id] = " + Quoted(managerId);
    return sql;
}

CString ReservationNumberSql(long number)
{
    CString sql;
    sql.Format("SELECT [reservation_num] FROM [Reservation_Table] WHERE [reservation_num] = '%ld'", number);
    return sql;
}

CString DeleteReservationSql(long number)
{
    CString sql;
    sql.Format("DELETE FROM [Reservation_Table] WHERE [reservation_num] = '%ld'", number);
    return sql;
}

CString DeleteReservationItemsSql(long number)
{
    CString sql;
    sql.Format("DELETE FROM [Item] WHERE [reservation_num] = '%ld'", number);
    return sql;
}

CString InsertReservationSql(const ReservationRow& row)
{
    CString sql;
    sql.Format(
        "INSERT INTO [Reservation_Table]([reservation_num], [reservation_period], [year], [month], [day], "
        "[hour], [min], [ip],[reservation_kind], [mg_id], [reservation_trans], [reservation_status]) "
        "VALUES('%ld', '%d', %s, %s, %s, %s, %s, %s, '%d', %s, '%d', %s)",
        row.Number(), row.Period(), Quoted(row.year), Quoted(row.month), Quoted(row.day), Quoted(row.hour),
        Quoted(row.minute), Quoted(row.address), row.KindCode(), Quoted(row.managerId), row.Direction(),
        Quoted(row.status));
    return sql;
}

CString InsertReservationItemSql(
    const std::vector<CString>& item, const CString& managerId, long number, int period, int direction)
{
    CString values;
    for (std::size_t i = 0; i < kItemValueCount; ++i)
        values += Quoted(i < item.size() ? item[i] : CString()) + ", ";
    CString sql;
    sql.Format("INSERT INTO [Item](%s, [mg_id],[reservation_num], [reservation_period], [reservation_trans]) "
               "VALUES(%s%s,'%ld','%d', '%d')",
        ItemValueList(), values, Quoted(managerId), number, period, direction);
    return sql;
}

CString ReservationStatusSql(
    const CString& status, const CString& managerId, long number, const CString& address)
{
    CString sql;
    sql.Format("UPDATE [Reservation_Table] SET [reservation_status] = %s WHERE [mg_id] = %s AND "
               "[reservation_num] = '%ld' AND [ip] = %s",
        Quoted(status), Quoted(managerId), number, Quoted(address));
    return sql;
}

CString CountReservationItemsSql(long number, const CString& managerId)
{
    CString sql;
    sql.Format(
        "SELECT COUNT (*) AS [reservation_num] FROM [Item] WHERE [reservation_num] = '%ld' AND [mg_id] = %s",
        number, Quoted(managerId));
    return sql;
}

CString ReservationItemSql(const CString& managerId, long number)
{
    CString sql;
    sql.Format("SELECT %s FROM [Item] WHERE [mg_id] = %s AND [reservation_num] = '%ld' ORDER BY [ID]",
        ItemValueList(), Quoted(managerId), number);
    return sql;
}

CString PickedItemSql(const CString& managerId, long itemNumber)
{
    CString sql;
    if (managerId == kAdministratorId)
        sql.Format("SELECT %s, [ID] FROM [Item] WHERE [item_num] = '%ld'", ItemValueList(), itemNumber);
    else
        sql.Format("SELECT %s, [ID] FROM [Item] WHERE [mg_id] = %s AND [item_num] = '%ld'", ItemValueList(),
            Quoted(managerId), itemNumber);
    return sql;
}
