#pragma once
// CReceivedRecordStore: stores the records a read receives, TCP and serial
// alike, each as the rows of its table in the read's target database, which is
// opened and closed around every row. A record is stored whole or refused: one
// that cannot be read, a database that cannot be opened and a row that the
// database refuses are each told in a message box, and the record is not
// counted as stored. Text lines are cut to their columns.

#include <functional>
#include <span>

#include "db/general_dao_helper.h"
#include "protocol/scale_records.h"

class CReceivedRecordStore : public CGeneralDaoHelper {
public:
    // Called before each row: the item mailbox's request word ("" to leave it)
    // and the statement.
    using Note = std::function<void(const CString& request, const CString& sql)>;
    // Shows a message box.
    using Tell = std::function<void(const CString& text, UINT type)>;

    // TRUE when every row of the record was stored. A text line longer than
    // its column is stored cut to the column at a character boundary and
    // counted in cutLines (when given).
    [[nodiscard]] BOOL Store(const CString& path, RecordKind kind, std::span<const std::uint8_t> payload,
        const RecordContext& context, RecordCarriage carriage, const Note& note, const Tell& tell,
        int* cutLines = nullptr);
};
