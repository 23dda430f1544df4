#include "results/result_dao_helper.h"

#include "db/sql_text.h"
#include "grid/compare.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_exception.h"

namespace {

// The engine's "couldn't read" error.
constexpr long kReadErrorCode = 3197;
constexpr const char* kReadErrorNote = "\n\nThe result shows only what was read before this error.";

} // namespace

void CResultDaoHelper::OpenStore()
{
    CString error;
    try {
        OpenDatabase(kServerDatabase);
        return;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        error = e->GetErrorText();
    }
    AfxThrowDaoException(kReadErrorCode, error + kReadErrorNote);
}

std::vector<std::vector<CString>> CResultDaoHelper::ReadRows(const CString& sql)
{
    QueryResult result = Query(sql);
    if (!result.ok) {
        // As for a file that does not open: the command ends here, and the
        // grid keeps only the rows read before.
        CloseDatabase();
        AfxThrowDaoException(kReadErrorCode, result.error + kReadErrorNote);
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
