#pragma once
// CCheckedDaoHelper: the synchronous helper of callers that must know what
// each statement did (the results server, the synchronisation into its
// database): a lookup tells a missing row from a failed query, rows come back
// as values, and a statement says whether it took effect. Errors are shown in
// a stop box with the engine's text, as by every helper; the database stays
// open until CloseDatabase.

#include <vector>

#include "db/dao_helper.h"

class CCheckedDaoHelper : public CDaoHelper {
public:
    enum class Lookup { Found, Missing, Failed };
    using Rows = std::vector<std::vector<CString>>;

    // Runs a SELECT; rows (when given) receives the values of every row.
    // Failed, after the error was shown, when the query did not run.
    [[nodiscard]] Lookup Select(const CString& sql, Rows* rows = nullptr);
    // As Select, but the error is not shown: Failed with its text.
    [[nodiscard]] Lookup SelectQuiet(const CString& sql, Rows* rows, CString& error);
    // Runs one INSERT, UPDATE or DELETE; FALSE after the error was shown.
    [[nodiscard]] BOOL ExecuteChecked(const CString& sql);

    // The statements from BeginBatch to EndBatch reach the file together, in
    // one write, instead of one write each. Before an error is shown the
    // statements so far are committed, so no lock is held while its box is
    // open; a statement that fails leaves the others in. Without an open
    // database the statements simply run one by one.
    void BeginBatch();
    // Commits the batch. FALSE, after the error was shown, when the batch's
    // statements (or some of them) did not reach the file.
    [[nodiscard]] BOOL EndBatch();

private:
    void OpenBatch();
    // Commits what the batch holds and ends it; FALSE with the engine's text
    // when the commit failed.
    BOOL CommitBatch(CString& error);
    void ReportError(const CString& text);

    BOOL m_bBatch = FALSE;
    CString m_strLostBatch; // the error of a commit that failed inside the batch
};
