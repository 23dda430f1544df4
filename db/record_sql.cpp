#include "db/record_sql.h"

#include "db/item_schema.h"
#include "db/sql_text.h"

namespace {

constexpr const char* kItemValues = " VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', "
                                    "'%s', '%s', '%s', '%s','%s','%s')";
constexpr const char* kAddValues
    = " VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s')";
constexpr const char* kAdvTValues = " VALUES('%ld', '%s', '%s', '%s')";
constexpr const char* kLandAddValues = " VALUES('%ld', '%s', '%s')";
constexpr const char* kPresetValues = " VALUES('%ld', '%d', '%ld', '%s')";
constexpr const char* kInsertTotalResult
    = "INSERT INTO [TotalResult]([begin_day], [print_cnt], [total_weight], [total_price], [rev_day], "
      "[current_scale], [item_memory], [write_item_memory], [day_memory], [write_day_memory], [mg_id]) "
      "VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s')";
constexpr const char* kInsertTotalItemResult
    = "INSERT INTO [TotalItemResult]([num], [begin_day], [print_cnt], [total_weight], [total_price], "
      "[rev_day], [current_scale], [mg_id]) VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s')";
constexpr const char* kInsertTotalItemDay
    = "INSERT INTO [TotalItemDay]([num], [day], [print_cnt], [total_weight], [total_price], [rev_day], "
      "[current_scale], [mg_id]) VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s', '%s')";
constexpr const char* kInsertTotalDayResult
    = "INSERT INTO [TotalDayResult]([day], [print_cnt], [total_weight], [total_price], [rev_day], "
      "[current_scale], [mg_id]) VALUES('%s', '%s', '%s', '%s', '%s', '%s', '%s')";

std::string UserLabelInsertFormat()
{
    std::string sql = "INSERT INTO [UserLabel](";
    std::string values = " VALUES(";
    bool first = true;
    for (const char* column : ReceivedUserLabelColumns()) {
        if (!first) {
            sql += ", ";
            values += ", ";
        }
        first = false;
        sql += SqlName(column).Str();
        values += "'%s'";
    }
    return sql + ")" + values + ")";
}

std::string FormatOf(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Item:
        return "INSERT INTO [Item](" + ItemValueList().Str() + ", [mg_id])" + kItemValues;
    case RecordKind::Add:
        return "INSERT INTO [Add](" + ColumnList(kAddColumns).Str() + ", [mg_id])" + kAddValues;
    case RecordKind::AdvT:
        return "INSERT INTO [AdvT](" + ColumnList(kAdvColumns).Str() + ", [mg_id])" + kAdvTValues;
    case RecordKind::LandAdd:
        return "INSERT INTO [Land_Add](" + ColumnList(kLandAddColumns).Str() + ", [mg_id])" + kLandAddValues;
    case RecordKind::Preset:
        return "INSERT INTO [Preset](" + ColumnList(kPresetColumns).Str() + ", [mg_id])" + kPresetValues;
    case RecordKind::UserLabel:
        return UserLabelInsertFormat();
    case RecordKind::TotalResult:
        return kInsertTotalResult;
    case RecordKind::TotalItemResult:
        return kInsertTotalItemResult;
    case RecordKind::TotalItemDay:
        return kInsertTotalItemDay;
    case RecordKind::TotalDayResult:
        return kInsertTotalDayResult;
    }
    return std::string();
}

// Length of the quoted conversion ('%s', '%d', '%ld') at the front of s, 0 when
// there is none.
std::size_t ConversionLength(std::string_view s)
{
    for (std::string_view conversion : { "'%s'", "'%d'", "'%ld'" }) {
        if (s.starts_with(conversion))
            return conversion.size();
    }
    return 0;
}

// The format with each quoted conversion replaced, in order, by the next value
// as a quoted literal; conversions left over when the values run out become ''.
std::string Fill(std::string_view format, std::span<const std::string> values)
{
    std::string out;
    auto next = values.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        if (const std::size_t n = ConversionLength(format.substr(i)); n > 0) {
            out += SqlLiteral(next != values.end() ? CString(*next++) : CString()).Str();
            i += n;
        } else {
            out += format[i++];
        }
    }
    return out;
}

} // namespace

std::string InsertSql(const ReceivedRow& row)
{
    return Fill(FormatOf(row.kind), row.values);
}

IoStatus ReceivedRecordSql(RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, std::vector<std::string>& statements)
{
    statements.clear();
    std::vector<ReceivedRow> rows;
    const IoStatus status = ParseReceivedRecord(kind, payload, context, carriage, rows);
    for (const ReceivedRow& row : rows)
        statements.push_back(InsertSql(row));
    return status;
}

std::string StoredItemSql(std::string_view mgId, std::string_view itemNum, bool everyManager)
{
    std::string sql = "SELECT " + ItemValueList().Str() + ", [ID] FROM [Item] WHERE ";
    if (!everyManager)
        sql += "[mg_id] = " + std::string(SqlLiteral(CString(mgId)).Str()) + " AND ";
    return sql + "[item_num] = " + SqlLiteral(CString(itemNum)).Str();
}
