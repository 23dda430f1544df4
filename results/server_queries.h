#pragma once
// The results server's SQL and the texts it logs: every value goes into the
// statements through the database layer's quoting.

#include <cstdint>

#include "platform/base/cstring.h"

// [mg_id] of the scale at ip in [ScaleMG] (Manager.mdb).
CString ScaleManagerSql(const CString& ip);
// [ip] of every scale of [ScaleMG].
CString ScaleAddressesSql();
// [scale_name] of the scale at ip in [ScaleMG].
CString ScaleNameSql(const CString& ip);
// [item_name] and [pos_code] of an item of the manager in Server_Store.mdb.
CString ItemNameSql(std::uint32_t itemNumber, const CString& mgId);
CString ItemPosCodeSql(std::uint32_t itemNumber, const CString& mgId);

// The query of a data request of table kind 0-5 (Item, Add, AdvT, Preset,
// UserLabel, Land_Add) for the manager; empty for another kind.
CString RequestedRecordSql(std::uint16_t tableKind, const CString& mgId, std::uint32_t number);
// "||Process Value : <kind's name>=" and the number in six places.
CString RequestLogValue(std::uint16_t tableKind, std::uint32_t number);

// One row of [Server_DB]: a sale (PrintCnt 1) or a sale taken back (-1, its
// price and weight negated). The values are kept as the scale sent them: the
// item number unsigned, a negated -2^31 as 2^31.
struct SaleRow {
    std::uint32_t itemNumber = 0;
    int printCount = 1;
    CString day; // "%4d-%2d-%2d"
    std::int64_t price = 0;
    std::int64_t weight = 0;
    CString ip;
    CString mgId;
    CString itemName;
    CString time; // "%2d:%2d"
    CString scaleName;
    CString posCode;
};

CString SaleInsertSql(const SaleRow& row);
// "Item Num=%6ld, Result date=%s, Price=%6ld, Weight=%6ld".
CString SaleLogValue(const SaleRow& row);
