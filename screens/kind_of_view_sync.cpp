// The Synchronization buttons 1065 and 1066 hand on to the sync commands.

#include "screens/kind_of_view.h"
#include "screens/server_sync_commands.h"

void CKindOfView::OnSyncTables()
{
    m_sync.OnSyncTables(m_strServerDbPath);
}

void CKindOfView::OnSyncPresetLabel()
{
    m_sync.OnSyncPresetLabel(m_strServerDbPath);
}

void CKindOfView::SyncUserLabels()
{
    m_sync.SyncUserLabels(m_strServerDbPath);
}
