#pragma once
// Statements that store what scales send, and the query of the stored item row
// a record is sent from. Values come from the record parsers (scale_records.h)
// and enter the text only through the database layer's quoting (db/sql_text.h),
// so a name such as "Kim's" is stored intact.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/io_status.h"
#include "protocol/scale_records.h"

// The INSERT of one received row into its table, every value a quoted literal.
std::string InsertSql(const ReceivedRow& row);

// The INSERT statements of one received record payload (ParseReceivedRecord);
// statements is left empty when the payload is refused.
IoStatus ReceivedRecordSql(RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, std::vector<std::string>& statements);

// The SELECT of the stored [Item] row whose item number is itemNum: of the
// manager mgId, or of any manager when everyManager (the administrator). Its row
// text goes to PluRowFromStoredItem.
std::string StoredItemSql(std::string_view mgId, std::string_view itemNum, bool everyManager);
