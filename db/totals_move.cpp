#include "db/totals_move.h"

#include "db/dao_helper.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"

namespace {

// The summary's name inside the item database's connection.
constexpr const char* kSummaryAlias = "summary";

// Copies the source's row of key (when it holds one) into the summary.
CString CopySql(const TotalsMove& move, long long key)
{
    CString names;
    for (const CString& column : move.columns)
        names += SqlName(column) + ", ";
    return "INSERT INTO " + SqlName(kSummaryAlias) + "." + SqlName(move.table) + "(" + names
        + "[mg_id]) SELECT " + names + SqlLiteral(move.userId) + " FROM [main]." + SqlName(move.table)
        + CString::Formatted(" WHERE [ID] = %lld", key);
}

// Each row the source holds is copied and deleted, in one transaction over
// both files. Throws at the first failure.
void Move(const TotalsMove& move, CDaoDatabase& source, TotalsMoveOutcome& outcome)
{
    source.Open(move.sourcePath, FALSE, FALSE, kStoreDatabaseConnect);
    source.Attach(move.targetPath, kSummaryAlias, kStoreDatabaseConnect);
    source.BeginTrans();
    for (const long long key : move.keys) {
        source.Execute(CopySql(move, key), kDbExecuteOptions);
        if (source.GetRecordsAffected() == 0) {
            ++outcome.gone;
            continue;
        }
        source.Execute(CString::Formatted(
                           "DELETE FROM [main].%s WHERE [ID] = %lld", SqlName(move.table).GetString(), key),
            kDbExecuteOptions);
        ++outcome.moved;
    }
    source.CommitTrans();
}

} // namespace

TotalsMoveOutcome MoveTotals(const TotalsMove& move)
{
    TotalsMoveOutcome outcome;
    if (move.keys.empty())
        return outcome;
    CDaoDatabase source;
    try {
        Move(move, source, outcome);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        outcome = TotalsMoveOutcome();
        outcome.error = e->GetErrorText();
        return outcome; // the close rolls back what the transaction holds
    }
    return outcome;
}
