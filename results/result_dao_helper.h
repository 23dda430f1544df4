#pragma once
// The result dialogs' database helper: CGeneralDaoHelper with two readers
// that take a query's rows whole, so that a day, or a scale's range of days,
// is read once.

#include <map>
#include <vector>

#include "db/general_dao_helper.h"
#include "results/result_sums.h"
#include "results/server_store.h"

class CResultDaoHelper : public CGeneralDaoHelper {
public:
    // Opens Server_Store.mdb. A file that does not open (missing, or held by
    // another process) throws its text with the note that the result ends.
    void OpenStore();

    // Every row of sql, each value as the DbReplyRow readers give it ("NULL"
    // for a null). A database error closes the database and throws its text,
    // with a note that the result ends there.
    [[nodiscard]] std::vector<std::vector<CString>> ReadRows(const CString& sql);

    // Day sums (day text -> sums) of one key.
    using DaySums = std::map<CString, SaleSums>;

    // The rows of sql, whose columns are a key (a scale's [ip], a manager's
    // [mg_id]), [Result_day], [Totalprice], [Totalweight] and [PrintCnt],
    // summed per key and day text. Keys are folded as the engine compares
    // text (SqlTextKey); each value counts as SumColumn reads it (its leading
    // decimal integer).
    [[nodiscard]] std::map<CString, DaySums> SumByKeyAndDay(const CString& sql);
};
