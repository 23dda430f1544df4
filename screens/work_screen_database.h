#pragma once
// CWorkScreenDatabase: the work screen's database side as its parts see it:
// the item database worker with its mailbox (dialog 132), the table bridge,
// the item database's path and the server database of a synchronisation.
// UI thread.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CItemDbWorker;
class CMailboxDlg;
class CTableBridge;

class CWorkScreenDatabase {
public:
    virtual CMailboxDlg& DbMailbox() = 0;
    virtual CItemDbWorker& ItemWorker() = 0;
    // The loads of the table screens and their write-back.
    virtual CTableBridge& TableBridge() = 0;
    // TRUE (after saying so) while the item worker serves a request.
    virtual BOOL RefuseWhileBusy() = 0;

    virtual CString ItemDbPath() const = 0;
    virtual void SetItemDbPath(const CString& path) = 0;
    // The server database of the synchronisation ("" while none runs).
    virtual CString ServerDbPath() const = 0;
    virtual void SetServerDbPath(const CString& path) = 0;

protected:
    ~CWorkScreenDatabase() = default;
};
