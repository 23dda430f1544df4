#include "results/server_queries.h"

#include "db/item_schema.h"
#include "db/sql_text.h"

namespace {

struct RequestQuery {
    const char* logName;
    const char* table;
    const char* key; // the column of the number asked for
    std::span<const char* const> columns = {}; // none: every column
};

// By table kind.
const RequestQuery kRequestQueries[] = {
    { "       Item Num=", kTableItem, kItemValueColumns[0], kItemValueColumns },
    { "    AddItem Num=", kTableAdd, kAddColumns[0], kAddColumns },
    { "        Adv Num=", kTableAdv, kAdvColumns[0], kAdvColumns },
    { "Preset Page Num=", kTablePreset, kPresetPage, kPresetKeyColumns },
    { "  UserLabel Num=", kTableUserLabel, "file_num" },
    { "  Land Add Num=", kTableLandAdd, kLandAddColumns[0], kLandAddColumns },
};

} // namespace

CString ScaleManagerSql(const CString& ip)
{
    CString sql;
    sql.Format("SELECT [mg_id] FROM [ScaleMG] WHERE [ip] = '%s'", SqlEscape(ip).GetString());
    return sql;
}

CString ScaleAddressesSql()
{
    return "SELECT [ip] FROM [ScaleMG]";
}

CString ScaleNameSql(const CString& ip)
{
    CString sql;
    sql.Format("SELECT [scale_name]FROM [ScaleMG] WHERE [ip] = '%s'", SqlEscape(ip).GetString());
    return sql;
}

CString ItemNameSql(std::uint32_t itemNumber, const CString& mgId)
{
    CString sql;
    sql.Format("SELECT [item_name]FROM [Item] WHERE [item_num] = '%lu' AND [mg_id] = '%s'",
        static_cast<unsigned long>(itemNumber), SqlEscape(mgId).GetString());
    return sql;
}

CString ItemPosCodeSql(std::uint32_t itemNumber, const CString& mgId)
{
    CString sql;
    sql.Format("SELECT [pos_code] FROM [Item] WHERE [item_num] = '%lu' AND [mg_id] = '%s'",
        static_cast<unsigned long>(itemNumber), SqlEscape(mgId).GetString());
    return sql;
}

CString RequestedRecordSql(std::uint16_t tableKind, const CString& mgId, std::uint32_t number)
{
    if (tableKind >= std::size(kRequestQueries))
        return CString();
    const RequestQuery& query = kRequestQueries[tableKind];
    const CString columns = query.columns.empty() ? CString("*") : ColumnList(query.columns);
    CString sql;
    sql.Format("SELECT %s FROM [%s] WHERE [mg_id] = '%s' AND [%s] = '%lu'", columns, query.table,
        SqlEscape(mgId).GetString(), query.key, static_cast<unsigned long>(number));
    return sql;
}

CString RequestLogValue(std::uint16_t tableKind, std::uint32_t number)
{
    if (tableKind >= std::size(kRequestQueries))
        return CString();
    CString text;
    text.Format(
        "||Process Value : %s%6lu", kRequestQueries[tableKind].logName, static_cast<unsigned long>(number));
    return text;
}

CString SaleInsertSql(const SaleRow& row)
{
    CString sql;
    sql.Format(
        "INSERT INTO [Server_DB]([code_gds], [PrintCnt], [Result_day], [Totalprice], [Totalweight], [ip], "
        "[mg_id], [item_name], [result_time], [scale_name], [item_poscode]) VALUES('%lu', '%d', %s, '%lld', "
        "'%lld', %s, %s, %s, %s, %s, %s)",
        static_cast<unsigned long>(row.itemNumber), row.printCount, SqlLiteral(row.day).GetString(),
        static_cast<long long>(row.price), static_cast<long long>(row.weight), SqlLiteral(row.ip).GetString(),
        SqlLiteral(row.mgId).GetString(), SqlLiteral(row.itemName).GetString(),
        SqlLiteral(row.time).GetString(), SqlLiteral(row.scaleName).GetString(),
        SqlLiteral(row.posCode).GetString());
    return sql;
}

CString SaleLogValue(const SaleRow& row)
{
    CString text;
    text.Format("Item Num=%6lu, Result date=%s, Price=%6lld, Weight=%6lld",
        static_cast<unsigned long>(row.itemNumber), row.day.GetString(), static_cast<long long>(row.price),
        static_cast<long long>(row.weight));
    return text;
}
