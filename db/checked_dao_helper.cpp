#include "db/checked_dao_helper.h"

CCheckedDaoHelper::Lookup CCheckedDaoHelper::Select(const CString& sql, Rows* rows)
{
    QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return Lookup::Failed;
    }
    const Lookup found = result.rows.empty() ? Lookup::Missing : Lookup::Found;
    if (rows)
        *rows = std::move(result.rows);
    return found;
}

BOOL CCheckedDaoHelper::ExecuteChecked(const CString& sql)
{
    CString error;
    if (ExecuteLocked(sql, FALSE, error))
        return TRUE;
    ReportDaoError(error);
    return FALSE;
}
