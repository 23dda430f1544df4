#pragma once
// TransferRows: what a transfer sends and where it stores, read from the work
// screen once, when the user starts it. The screen takes them into the order it
// hands a transport; the jobs and the serial link build their records from
// them, so that nothing the user does meanwhile (another screen, another
// selection, an edited cell) changes what goes to a scale.

#include <memory>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
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

// What a send of command, kind and scope takes, read from the screen now, for
// both transports: the data rows (all, or the picked ones), at most the kind's
// cap of them, or the clicked row of a scale settings send; reads and kinds
// that send no grid row take none. Each row is read as cells 0 to columns - 1.
[[nodiscard]] TransferRowsPtr TakeTransferRows(
    CTransferScreenHost& host, TransferCommand command, DataKind kind, TransferScope scope, int columns);

// The cells a TCP record of kind is built from: columns 0 to the kind's last
// one. A serial record takes the grid's columns.
[[nodiscard]] inline int RecordColumns(DataKind kind)
{
    return KindInfo(kind).lastColumn + 1;
}
