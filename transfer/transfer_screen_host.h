#pragma once
// CTransferScreenHost: what every transfer, TCP or RS-232, needs of the work
// screen that starts it: its window, its grid and pick state, the preset page,
// the manager's settings, the transfer-active flag and where received records
// and progress are told. CTransferHost (the TCP jobs) and CSerialHost (the
// serial walk) add their own; CTransferHosts implements both. UI thread.

#include <vector>

#include "grid/pick_rules.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"

class CTransferScreenHost {
public:
    // The window that receives the transports' messages and owns their reply
    // timers.
    virtual HWND GetTransferWindow() = 0;

    // The grid: row 0 is the heading row and the last row is not a data row.
    virtual int GetGridRowCount() = 0;
    virtual CString GetGridItemText(int row, int column) = 0;
    // The row whose scale settings are sent.
    virtual int GetCurrentGridRow() = 0;
    virtual GridPicks GetTransferSelection() = 0;

    // The preset page sent (the page list's selection + 1), the 60 key texts,
    // and the page number a read of one page asks for.
    virtual int GetPresetPage() = 0;
    virtual std::vector<CString> GetPresetKeyTexts() = 0;
    virtual int GetPresetReadPage() = 0;

    // The logged-in manager, the item database, and whether the manager's
    // default values are in force (items are then sent from their stored rows).
    virtual CString GetUserId() = 0;
    virtual CString GetItemDbPath() = 0;
    virtual int LoadDefaultValues() = 0;

    // 1 when a transfer starts, 0 when it has ended: once each way, so that the
    // screen can count the transfers of both transports.
    virtual void SetTransferActive(int active) = 0;
    // A received record was stored: the request word and its statement.
    virtual void NoteReceivedRecord(const CString& request, const CString& sql) = 0;
    // The progress field: the record being sent or the count received.
    virtual void ShowTransferProgress(const CString& text) = 0;

protected:
    ~CTransferScreenHost() = default;
};
