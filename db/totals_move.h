#pragma once
// Moving sales totals from one store database into another (the result
// summary): every row is inserted into the target table with its values
// quoted and the mover's manager id, and deleted from the source by its key.
// All or nothing: both databases commit together, or neither keeps a change
// (copies already committed when the source's commit fails are taken back).
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
    BOOL copiesLeft = FALSE; // the copies could not be taken back after a failure
};

[[nodiscard]] TotalsMoveOutcome MoveTotals(const TotalsMove& move);
