#pragma once
// Moving sales totals from one store database into another (the result
// summary): every row is inserted into the target table with its values
// quoted and the mover's manager id, all inserts under one transaction; at
// the first failure the inserting stops and the rows before it are kept.
// Then exactly the copied rows are deleted from the source by their keys,
// again under one transaction. Synchronous; any thread.

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
    int copied = 0;
    int deleted = 0;
    CString error; // the database's text of the failure that stopped it, "" for none
};

[[nodiscard]] TotalsMoveOutcome MoveTotals(const TotalsMove& move);
