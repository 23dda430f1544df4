#pragma once
// Moving sales totals from one store database into another (the result
// summary): every row is inserted into the target table with its values
// quoted and the mover's manager id, and deleted from the source by its key.
// All or nothing, also across a crash: the summary is attached to the source's
// connection and both files commit in one transaction.
// Synchronous; any thread.

#include <vector>

#include "platform/base/cstring.h"

struct TotalsRow {
    std::vector<CString> values; // in the order of TotalsMove::columns
    long long key = 0; // the row's ID in the source
};

struct TotalsMove {
    CString sourcePath;
    CString targetPath;
    CString table; // the same table in both
    std::vector<CString> columns; // value columns, without ID and mg_id
    CString userId; // written as every copy's mg_id
    std::vector<TotalsRow> rows;
};

struct TotalsMoveOutcome {
    int moved = 0; // every row, or none
    CString error; // the database's text of the failure, "" for none
};

[[nodiscard]] TotalsMoveOutcome MoveTotals(const TotalsMove& move);
