#include "transfer/received_record_store.h"

#include <string>
#include <vector>

#include "db/db_request.h"
#include "db/record_sql.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"

namespace {

// Characters the text columns of a received row hold ([Add] str1-str10,
// [AdvT] str1-str2, [Land_Add] land_str), after the number; 0 for the others.
std::size_t TextColumnSize(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Add:
        return 60;
    case RecordKind::AdvT:
    case RecordKind::LandAdd:
        return 50;
    default:
        return 0;
    }
}

// Cuts the UTF-8 text after its first `characters` characters; true when it
// was longer.
bool CutToCharacters(std::string& text, std::size_t characters)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue; // inside a character
        if (seen++ == characters) {
            text.resize(i);
            return true;
        }
    }
    return false;
}

// The row's text lines cut to their column; how many were cut.
int CutTextLines(ReceivedRow& row)
{
    const std::size_t size = TextColumnSize(row.kind);
    int cut = 0;
    // The number first and the manager last are no lines.
    for (std::size_t i = 1; size > 0 && i + 1 < row.values.size(); ++i)
        cut += CutToCharacters(row.values[i], size) ? 1 : 0;
    return cut;
}

} // namespace

BOOL CReceivedRecordStore::Store(const CString& path, RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, const Note& note, const Tell& tell, int* cutLines)
{
    std::vector<ReceivedRow> rows;
    const IoStatus parsed = ParseReceivedRecord(kind, payload, context, carriage, rows);
    std::vector<std::string> statements;
    for (ReceivedRow& row : rows) {
        const int cut = CutTextLines(row);
        if (cutLines != nullptr)
            *cutLines += cut;
        statements.push_back(InsertSql(row));
    }
    if (!parsed.ok()) {
        tell(CString(("A record from the scale was not stored: " + parsed.Text() + ".").c_str()),
            MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    // The preset entries of a TCP read leave the request word as it is.
    const CString request = kind == RecordKind::UserLabel ? RequestName(DbRequest::UserLabelInsert)
        : kind == RecordKind::Preset && carriage == RecordCarriage::Tcp
        ? ""
        : RequestName(DbRequest::ItemReceived);
    for (const std::string& sql : statements) {
        note(request, CString(sql.c_str()));
        try {
            OpenDatabase(path);
        } catch (CException* e) {
            ExceptionPtr hold(e);
            tell(e->GetErrorText(), MB_OK | MB_ICONSTOP);
            return FALSE;
        }
        CString error;
        if (!ExecuteLocked(CString(sql.c_str()), TRUE, error)) {
            tell(error, MB_OK | MB_ICONSTOP);
            return FALSE;
        }
    }
    return TRUE;
}
