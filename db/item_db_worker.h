#pragma once
// CItemDbWorker: the work screen's request worker on the item database.
// Replies 0x404 (header row, then one per row), 0x405 (no row), 0x406 (done);
// column names come upper-cased except for "User_Label_Read" and
// "Scale_Info_Read"; the four *_Insert_Read names stream only their first row.

#include <optional>

#include "db/db_request_worker.h"

class CItemDbWorker : public CDbRequestWorker {
public:
    CItemDbWorker();

    // Reads back a freshly inserted row (sql selects its newest ID) on the
    // owner's thread: the name in edit 1003 (kept) picks the owner's parser for
    // the first row: "Item_Insert_Read", "Add_Insert_Read",
    // "Adv_Update_Insert_Read", "Land_Add_Update_Insert_Read" ->
    // SplitItemRowText; "User_Label_Insert_Read" -> SplitUserLabelRowText;
    // "Scale_Information_Insert_read", "Scale_Root_Information_Insert_read" ->
    // SplitScaleInfoRowText. No message is sent.
    void HandleInsertRead(CString sql);
    // The same for request: its name written into edit 1003 (emptied first),
    // and edit 1002 emptied when asked, then HandleInsertRead.
    enum class TextEdit { Kept, Emptied };
    void ReadInserted(DbRequest request, const CString& sql, TextEdit text = TextEdit::Kept);

    // The first value of sql's first row in the database at path (opened and
    // closed here); nothing when the file does not open, the statement fails
    // or finds no row. No message is shown.
    [[nodiscard]] std::optional<CString> ReadValueQuietly(const CString& path, const CString& sql);

    using CDaoHelper::GetRecordAt;
    using CDaoHelper::ReadTable;
};
