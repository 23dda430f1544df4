#pragma once
// Moving sales totals from one store database into another (the result
// summary): each row is copied as the source holds it, with the mover's
// manager id, into the target table under a new key, and deleted from the
// source. All or nothing, also across a crash: the summary is attached to the
// source's connection and both files commit in one transaction. A row the
// source no longer holds (another program moved or deleted it first) is
// neither copied nor counted as moved.
// Synchronous; any thread.

#include <vector>

#include "platform/base/cstring.h"

struct TotalsMove {
    CString sourcePath;
    CString targetPath;
    CString table; // the same table in both
    std::vector<CString> columns; // value columns, without ID and mg_id
    CString userId; // written as every copy's mg_id
    std::vector<long long> keys; // the IDs of the rows to move, in the source
};

struct TotalsMoveOutcome {
    int moved = 0; // rows copied and deleted (none after an error)
    int gone = 0; // keys whose row the source no longer held
    CString error; // the database's text of the failure, "" for none
};

[[nodiscard]] TotalsMoveOutcome MoveTotals(const TotalsMove& move);
