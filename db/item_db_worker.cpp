#include "db/item_db_worker.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "platform/base/exception.h"

namespace {

WorkerProtocol ItemProtocol()
{
    WorkerProtocol p;
    p.rowMessage = WM_DBQUERY_ROW;
    p.emptyMessage = WM_DBQUERY_EMPTY;
    p.doneMessage = WM_DBQUERY_DONE;
    p.sendsHeader = true;
    p.readsMarker = true;
    p.stopsAfterInsertRow = true;
    return p;
}

} // namespace

CItemDbWorker::CItemDbWorker()
    : CDbRequestWorker(ItemProtocol())
{ }

void CItemDbWorker::HandleInsertRead(CString sql)
{
    CString name;
    if (CMailboxDlg* mailbox = Mailbox())
        name = mailbox->Text(IDC_MAILBOX_NAME);
    InsertRead(name, sql);
}

void CItemDbWorker::ReadInserted(DbRequest request, const CString& sql, TextEdit text)
{
    if (CMailboxDlg* mailbox = Mailbox()) {
        mailbox->SetText(IDC_MAILBOX_NAME, "");
        mailbox->SetText(IDC_MAILBOX_NAME, RequestName(request));
        if (text == TextEdit::Emptied)
            mailbox->SetText(IDC_MAILBOX_TEXT, "");
    }
    HandleInsertRead(sql);
}

std::optional<CString> CItemDbWorker::ReadValueQuietly(const CString& path, const CString& sql)
{
    try {
        OpenDatabase(path);
    } catch (CException* e) {
        e->Delete();
        return std::nullopt;
    }
    const QueryResult result = Query(sql);
    CloseDatabase();
    if (!result.ok || result.rows.empty() || result.rows.front().empty())
        return std::nullopt;
    return result.rows.front().front();
}
