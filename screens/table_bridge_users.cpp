// The table bridge's part of the users screen: the manager ids of
// Manager.mdb into list 1053, and the statements of the register and delete
// buttons.

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/store_paths.h"
#include "screens/reply_row.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"
#include "shell/calvorn_view.h"

BOOL CTableBridge::RequestManagers(CString databasePath, CString columnList)
{
    m_managers.ClearUserIds();
    m_nColumnCount = m_nNextRow = m_nRowsReceived = 0;
    ClearRowBuffer();
    const CMailboxDlg::Query query = m_data.DbMailbox().TakeQuery();
    const CString columns = columnList.IsEmpty() ? CString("[mg_id], [mg_pass]") : columnList;
    // Only the administrator lists the managers; for anyone else no request
    // goes out (an empty one would run as a statement).
    if (query.user != kAdministratorId)
        return FALSE;
    SendSelect(databasePath, "SELECT " + columns + " FROM [Manager]", query.name);
    return TRUE;
}

void CTableBridge::OnPlainRow(CString rowText)
{
    ClearRowBuffer();
    SplitReplyRow(rowText, m_rowBuffer);
    ++m_nRowsReceived;
    if (m_nRowsReceived > 1)
        m_managers.AddUserId(m_rowBuffer[0]);
    ++m_nNextRow;
    Acknowledge();
}

void CTableBridge::InsertManager(CString sql, CString databasePath)
{
    m_nColumnCount = m_nNextRow = m_nRowsReceived = 0;
    ClearRowBuffer();
    m_data.ItemWorker().ClearRequest();
    // The done message reads the manager list afresh, whatever the INSERT did.
    static_cast<void>(RunRequest(databasePath, DbRequest::ManagerRegister, sql));
}

BOOL CTableBridge::DeleteManager(CString sql, CString databasePath)
{
    m_nColumnCount = m_nNextRow = m_nRowsReceived = 0;
    ClearRowBuffer();
    m_data.ItemWorker().ClearRequest();
    return RunRequest(databasePath, DbRequest::ManagerRemove, sql) != kDbDoneFailed;
}
