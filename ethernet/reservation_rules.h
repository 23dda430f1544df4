#pragma once
// Reservations: the rows of [Reservation_Table] and their item copies, the
// checks of a new reservation, when a reservation is due, and the texts that
// the list dialog, the report file and the statements are made of.
//
//   Reservation_Table row  reservation_num period mg_id year month day hour min
//                          reservation_kind ip reservation_trans [reservation_status]
//   period                 0 once, 1 every day, 2 week (never due)
//   reservation_kind       the work screen's hint: 1 items, 2 additions, 3
//                          presets, 4 advertisements, 19 land additions
//   time key               YYYYMMDDhhmm as a 64-bit number
//
// Every value that enters a statement is quoted with the database layer's
// helper, so a quote in a text is stored intact.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"

inline constexpr const char* kReservationReportFolder = "C:\\Zuvar\\Reservation_Report";
inline constexpr const char* kReservationReportPath = "C:\\Zuvar\\Reservation_Report\\Reservation_Report.txt";

inline constexpr int kPeriodOnce = 0;
inline constexpr int kPeriodEveryDay = 1;
inline constexpr int kPeriodWeek = 2;

// Status words of a row.
inline constexpr const char* kStatusWait = "wait";
inline constexpr const char* kStatusTrans = "Trans";
inline constexpr const char* kStatusOnceEnded = "Trans Stop";
inline constexpr const char* kStatusDailyEnded = "Trans..ing";
// Refused at its minute, as the same manager's own transfer ran.
inline constexpr const char* kStatusNotSent = "Not sent";

// One stored row, as its texts.
struct ReservationRow {
    CString number;
    CString period;
    CString managerId;
    CString year, month, day, hour, minute;
    CString kind;
    CString address;
    CString direction;
    CString status;

    long Number() const;
    int Period() const;
    // The stored hint number, and the kind it names (none for another number).
    int KindCode() const;
    std::optional<DataKind> Kind() const;
    int Direction() const;
};

// A row of ReservationReadSql (11 values, or 12 with the status) from its
// DbReplyRow text; missing values are "".
ReservationRow SplitReservationRow(const CString& rowText);

// The kind a stored hint number names (none for another number).
std::optional<DataKind> ReservationKindOfCode(int code);

// Values of a DbReplyRow text (each ended by TAB "jo/"), at most maxFields.
std::vector<CString> SplitReplyRow(const CString& rowText, std::size_t maxFields = 400);

// ---- time ---------------------------------------------------------------------

// A local date and time by its fields.
struct ReservationClockTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
ReservationClockTime LocalClockTime(std::time_t when);

// YYYYMMDDhhmm of the fields (each read as atol reads it).
std::int64_t ReservationTimeKey(const ReservationRow& row);
std::int64_t ReservationTimeKey(const ReservationClockTime& time);

// A once-reservation whose minute lies before now's minute.
bool IsReservationExpired(const ReservationRow& row, const ReservationClockTime& now);

// Due during its minute: once on its date; every day at hour:minute of any day
// but lastRunDay (YYYYMMDD of the day it last became due, 0 for none); a week
// reservation never.
bool IsReservationDue(
    const ReservationRow& row, const ReservationClockTime& now, std::int64_t lastRunDay = 0);

// YYYYMMDD of a time.
std::int64_t DayKey(const ReservationClockTime& time);

// The first whole minute after when.
std::time_t NextMinuteBoundary(std::time_t when);

// Days of a month of a year (0 for a month outside 1-12).
int DaysInMonth(int year, int month);

// ---- checks of the setup dialog ------------------------------------------------

// Which edit a refused input concerns.
enum class ReservationField { None, Year, Month, Day, Hour, Minute, Scales };

struct ReservationCheck {
    ReservationField field = ReservationField::None; // None: accepted
    const char* message = nullptr;
};

// The texts of the setup dialog: period, date and time as typed, the first
// chosen scale line. Once: not before now (field by field), year of 4
// characters, a real date, hour 0-23, minute 0-59, a scale. Every day: hour,
// minute and a scale. Week: a scale.
ReservationCheck CheckReservationInput(
    int period, const ReservationRow& input, const CString& firstScale, const ReservationClockTime& now);

// ---- texts ----------------------------------------------------------------------

// "%ld" of the stored time fields with month, day, hour and minute given a
// leading "0" when shorter than 2 characters.
CString ReservationTimeText(const ReservationRow& row);

// One line of the Reservation Info List.
CString ReservationListLine(const ReservationRow& row);

// The parts of a list line that delete needs: between "R_Num=" and "#R_period",
// "#R_kind=" and "#IP=", "#IP=" and "#R_mode=", "#R_status=" and "#&".
struct ReservationListKey {
    CString number;
    CString kind;
    CString address;
    CString status;
};
ReservationListKey ParseReservationListLine(const CString& line);
// The kind a list line's kind text names (none for a number shown as stored).
std::optional<DataKind> ReservationKindOfListText(const CString& text);

// One line of the report file (without its line end).
CString ReservationReportLine(const ReservationRow& row, const CString& report);

// Appends the line and a line end to the report file; FALSE when the file
// cannot be opened.
BOOL AppendReservationReport(const CString& line, const CString& path = kReservationReportPath);

// ---- statements -----------------------------------------------------------------

CString ReservationReadSql(); // every row (11 columns)
CString ReservationReadSql(long number); // the rows of one reservation
CString ReservationListSql(const CString& managerId); // 12 columns, the manager's rows
CString ReservationNumberSql(long number);
CString DeleteReservationSql(long number);
CString DeleteReservationItemsSql(long number);
CString InsertReservationSql(const ReservationRow& row);
// item: the 15 item columns in table order.
CString InsertReservationItemSql(
    const std::vector<CString>& item, const CString& managerId, long number, int period, int direction);
CString ReservationStatusSql(
    const CString& status, const CString& managerId, long number, const CString& address);
CString CountReservationItemsSql(long number, const CString& managerId);
CString ReservationItemSql(const CString& managerId, long number);
// The items picked for a reservation, from the item database (16 columns, ID last).
CString PickedItemSql(const CString& managerId, long itemNumber);
