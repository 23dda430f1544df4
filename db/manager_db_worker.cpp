#include "db/manager_db_worker.h"

#include "db/db_messages.h"

namespace {

WorkerProtocol ManagerProtocol()
{
    WorkerProtocol p;
    p.rowMessage = WM_MGRQUERY_ROW;
    p.emptyMessage = WM_MGRQUERY_EMPTY;
    p.doneMessage = WM_MGRQUERY_DONE;
    p.tableWord = "Manager";
    return p;
}

} // namespace

CManagerDbWorker::CManagerDbWorker()
    : CDbRequestWorker(ManagerProtocol())
{ }
