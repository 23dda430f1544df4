#pragma once
// TransferRows: what a transfer sends and where it stores, read from the work
// screen once, when the user starts it. The jobs and the serial link build
// their records from it, so that nothing the user does meanwhile (another
// screen, another selection, an edited cell) changes what goes to a scale.

#include <memory>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/record_values.h"

class CTransferScreenHost;

struct TransferRows {
    std::vector<int> gridRows; // the grid row each record was read from
    std::vector<RecordRow> rows; // its cells, columns 0 to the last one read
    int presetPage = 0; // the page sent
    std::vector<std::string> presetKeys; // its 60 key texts
    int presetReadPage = 0; // the page a read of one page asks for
    std::string userId; // the manager whose rows are stored and looked up
    CString itemDbPath; // where stored item rows are looked up
    BOOL defaultValues = FALSE; // items go from their stored rows
};

using TransferRowsPtr = std::shared_ptr<const TransferRows>;

// Reads the cells of gridRows, columns 0 to columns - 1, and the screen's
// preset page, manager, item database and default values.
[[nodiscard]] TransferRowsPtr ReadTransferRows(
    CTransferScreenHost& host, std::vector<int> gridRows, int columns, BOOL itemRows);

// Rows 1 to the last data row, at most cap of them (cap 0: no cap).
[[nodiscard]] std::vector<int> AllDataRows(int rowCount, int cap);
