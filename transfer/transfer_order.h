#pragma once
// TransferOrder: one transfer as the work screen starts it, for either
// transport. The screen builds it after its checks, with the chosen scales'
// list lines parsed once and the rows it sends taken once
// (TakeOrderRows); the TCP jobs run one job per scale of it, the serial walk
// serves its scales one after the other or as one broadcast. Nothing the user
// does meanwhile changes what it sends or where it stores.

#include <array>
#include <functional>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "transfer/transfer_rows.h"

class CTransferScreenHost;

enum class TransferLink { Tcp, Serial };

// A chosen scale's list line ("Scale name = <name>, IP=<address>, Scale
// ID=<id>") and what the transports read of it.
struct OrderScale {
    CString line;
    CString address; // behind "IP="
    CString name; // behind "Scale name = ", up to its comma
    std::array<char, 2> id { '0', '0' }; // the two ID characters
    // TCP reads: where this scale's records go ("": the order's target).
    CString database;
};

[[nodiscard]] OrderScale ParseScaleLine(const CString& line);
[[nodiscard]] std::vector<OrderScale> ParseScaleLines(const std::vector<CString>& lines);
// The text after "IP=" of a list line.
[[nodiscard]] CString AddressOfScaleLine(const CString& line);
// The text after "Scale name = ", up to its comma.
[[nodiscard]] CString NameOfScaleLine(const CString& line);
// The text after "ID=": its first two characters, or "0" and its only one.
[[nodiscard]] std::array<char, 2> IdOfScaleLine(const CString& line);

struct TransferOrder {
    TransferLink link = TransferLink::Tcp;
    TransferCommand command = TransferCommand::Trans; // serial: a send to two or more goes out as a broadcast
    DataKind kind = DataKind::Item;
    TransferScope scope = TransferScope::All;
    int languageIndex = 2;
    std::vector<OrderScale> scales;
    int comPort = 0; // serial: 1-8
    std::vector<int> receiveNumbers; // selective reads: the numbers asked for
    // Reads: the database every scale's records go into; "" for one per
    // scale (TCP: OrderScale::database, serial: a dated one by scale ID).
    CString targetDatabase;
    // TCP reads: readies a scale's database before its first record.
    std::function<void(const CString& path)> prepareDb;
    // Serial sends: scale by scale to each one's own ID, also to two or more.
    BOOL oneByOne = FALSE;
    // What the order sends and where it stores, taken when the user started.
    TransferRowsPtr rows;
};

// The rows order takes (TakeTransferRows), each row read as the cells both
// transports build their records from: columns 0 to the grid's last one
// (gridColumns) or to the kind's last record column, whichever is further.
[[nodiscard]] TransferRowsPtr TakeOrderRows(
    CTransferScreenHost& host, const TransferOrder& order, int gridColumns);
