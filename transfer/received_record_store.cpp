#include "transfer/received_record_store.h"

#include <string>
#include <vector>

#include "db/record_sql.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"

BOOL CReceivedRecordStore::Store(const CString& path, RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, const Note& note, const Tell& tell)
{
    std::vector<std::string> statements;
    const IoStatus parsed = ReceivedRecordSql(kind, payload, context, carriage, statements);
    if (!parsed.ok()) {
        tell(CString(("A record from the scale was not stored: " + parsed.Text() + ".").c_str()),
            MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    // The preset entries of a TCP read leave the request word as it is.
    const CString request = kind == RecordKind::UserLabel               ? "User_Label_Insert"
        : kind == RecordKind::Preset && carriage == RecordCarriage::Tcp ? ""
                                                                        : "ITEM_REV";
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
