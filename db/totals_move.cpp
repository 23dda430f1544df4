#include "db/totals_move.h"

#include "db/dao_helper.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_recordset.h"

namespace {

CString ErrorText(CException* caught)
{
    ExceptionPtr hold(caught);
    return caught->GetErrorText();
}

CString InsertSql(const TotalsMove& move, const TotalsRow& row)
{
    CString names;
    CString values;
    for (std::size_t i = 0; i < move.columns.size(); ++i) {
        names += SqlName(move.columns[i]) + ", ";
        values += SqlLiteral(i < row.values.size() ? row.values[i] : CString()) + ", ";
    }
    return "INSERT INTO " + SqlName(move.table) + "(" + names + "[mg_id]) VALUES(" + values
        + SqlLiteral(move.userId) + ")";
}

// The highest ID of the table, 0 when it is empty.
long long HighestId(CDaoDatabase& database, const CString& table)
{
    CDaoRecordset recordset(&database);
    recordset.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT MAX([ID]) FROM " + SqlName(table), 0);
    const CString text
        = recordset.IsEOF() ? CString() : CDaoHelper::VariantToText(recordset.GetFieldValue(0));
    recordset.Close();
    return std::strtoll(text.GetString(), nullptr, 10);
}

void RollbackQuietly(CDaoDatabase& database)
{
    try {
        database.Rollback();
    } catch (CException* e) {
        e->Delete(); // no transaction left to end
    }
}

// Both databases under one transaction each: the source's rows deleted, the
// copies inserted. Throws at the first failure.
void Stage(const TotalsMove& move, CDaoDatabase& source, CDaoDatabase& target, long long& firstCopy)
{
    source.Open(move.sourcePath, FALSE, FALSE, kStoreDatabaseConnect);
    source.BeginTrans();
    for (const TotalsRow& row : move.rows)
        source.Execute(CString::Formatted("DELETE FROM %s WHERE [ID] = %lld", SqlName(move.table), row.key),
            kDbExecuteOptions);
    target.Open(move.targetPath, FALSE, FALSE, kStoreDatabaseConnect);
    target.BeginTrans();
    firstCopy = HighestId(target, move.table) + 1;
    for (const TotalsRow& row : move.rows)
        target.Execute(InsertSql(move, row), kDbExecuteOptions);
}

// Takes the committed copies back out of the target.
BOOL TakeBack(const TotalsMove& move, long long firstCopy)
{
    try {
        CDaoDatabase target;
        target.Open(move.targetPath, FALSE, FALSE, kStoreDatabaseConnect);
        target.Execute(
            CString::Formatted("DELETE FROM %s WHERE [ID] >= %lld", SqlName(move.table), firstCopy),
            kDbExecuteOptions);
        return TRUE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

} // namespace

TotalsMoveOutcome MoveTotals(const TotalsMove& move)
{
    TotalsMoveOutcome outcome;
    if (move.rows.empty())
        return outcome;
    CDaoDatabase source;
    CDaoDatabase target;
    long long firstCopy = 0;
    try {
        Stage(move, source, target, firstCopy);
    } catch (CException* e) {
        outcome.error = ErrorText(e);
        RollbackQuietly(target);
        RollbackQuietly(source);
        return outcome;
    }
    try {
        target.CommitTrans();
    } catch (CException* e) {
        outcome.error = ErrorText(e);
        RollbackQuietly(source);
        return outcome;
    }
    try {
        source.CommitTrans();
    } catch (CException* e) {
        outcome.error = ErrorText(e);
        outcome.copiesLeft = !TakeBack(move, firstCopy);
        return outcome;
    }
    outcome.moved = static_cast<int>(move.rows.size());
    return outcome;
}
