#include "db/totals_move.h"

#include "db/dao_helper.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"

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

// Runs the statements in order under one transaction of the database at path
// until one fails; the number that ran, all committed (0 when the database did
// not open or the commit failed).
int RunUntilFailure(const CString& path, const std::vector<CString>& statements, CString& error)
{
    int done = 0;
    try {
        CDaoDatabase database;
        database.Open(path, FALSE, FALSE, kStoreDatabaseConnect);
        database.BeginTrans();
        for (const CString& sql : statements) {
            try {
                database.Execute(sql, kDbExecuteOptions);
            } catch (CException* e) {
                error = ErrorText(e);
                break;
            }
            ++done;
        }
        database.CommitTrans();
    } catch (CException* e) {
        const CString text = ErrorText(e);
        if (error.IsEmpty())
            error = text;
        done = 0;
    }
    return done;
}

} // namespace

TotalsMoveOutcome MoveTotals(const TotalsMove& move)
{
    TotalsMoveOutcome outcome;
    std::vector<CString> statements;
    for (const TotalsRow& row : move.rows)
        statements.push_back(InsertSql(move, row));
    outcome.copied = RunUntilFailure(move.targetPath, statements, outcome.error);
    // Exactly the rows copied leave the source.
    statements.clear();
    for (int i = 0; i < outcome.copied; ++i)
        statements.push_back(CString::Formatted("DELETE FROM %s WHERE [ID] = %lld", SqlName(move.table),
            move.rows[static_cast<std::size_t>(i)].key));
    if (!statements.empty())
        outcome.deleted = RunUntilFailure(move.sourcePath, statements, outcome.error);
    return outcome;
}
