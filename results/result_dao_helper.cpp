#include "results/result_dao_helper.h"

#include "db/sql_text.h"
#include "grid/compare.h"

std::vector<std::vector<CString>> CResultDaoHelper::ReadRows(const CString& sql)
{
    QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return {};
    }
    return std::move(result.rows);
}

std::map<CString, CResultDaoHelper::DaySums> CResultDaoHelper::SumByKeyAndDay(const CString& sql)
{
    std::map<CString, DaySums> keys;
    for (const auto& row : ReadRows(sql)) {
        if (row.size() < 5)
            continue;
        auto value = [&row](size_t i) { return static_cast<double>(LeadingInteger64(row[i].GetString())); };
        keys[SqlTextKey(row[0])][row[1]].Add({ value(2), value(3), value(4) });
    }
    return keys;
}
