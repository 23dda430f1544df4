#include "db/totals_move.h"

#include "db/dao_helper.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"

namespace {

// The summary's name inside the item database's connection.
constexpr const char* kSummaryAlias = "summary";

CString InsertSql(const TotalsMove& move, const TotalsRow& row)
{
    CString names;
    CString values;
    for (std::size_t i = 0; i < move.columns.size(); ++i) {
        names += SqlName(move.columns[i]) + ", ";
        values += SqlLiteral(i < row.values.size() ? row.values[i] : CString()) + ", ";
    }
    return "INSERT INTO " + SqlName(kSummaryAlias) + "." + SqlName(move.table) + "(" + names
        + "[mg_id]) VALUES(" + values + SqlLiteral(move.userId) + ")";
}

// The source's rows deleted and the copies inserted in one transaction over
// both files. Throws at the first failure.
void Move(const TotalsMove& move, CDaoDatabase& source)
{
    source.Open(move.sourcePath, FALSE, FALSE, kStoreDatabaseConnect);
    source.Attach(move.targetPath, kSummaryAlias, kStoreDatabaseConnect);
    source.BeginTrans();
    for (const TotalsRow& row : move.rows)
        source.Execute(
            CString::Formatted("DELETE FROM [main].%s WHERE [ID] = %lld", SqlName(move.table), row.key),
            kDbExecuteOptions);
    for (const TotalsRow& row : move.rows)
        source.Execute(InsertSql(move, row), kDbExecuteOptions);
    source.CommitTrans();
}

} // namespace

TotalsMoveOutcome MoveTotals(const TotalsMove& move)
{
    TotalsMoveOutcome outcome;
    if (move.rows.empty())
        return outcome;
    CDaoDatabase source;
    try {
        Move(move, source);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        outcome.error = e->GetErrorText();
        return outcome; // the close rolls back what the transaction holds
    }
    outcome.moved = static_cast<int>(move.rows.size());
    return outcome;
}
