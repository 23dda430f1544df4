#include "db/item_db_worker.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"

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
