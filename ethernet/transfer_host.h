#pragma once
// What a TCP transfer job needs of the work screen that starts it: its window
// (the target of the jobs' socket messages and reply timers), its grid, the
// pick state of the grid, the preset page, the manager's settings and the
// shared flags. CKindOfView implements it; tests give their own.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/messages.h"

// Socket data of a transfer job (wParam = the job's token, lParam 0).
inline constexpr UINT WM_TRANS_SOCKET_DATA = 1324;
// The exchange of one scale for a sales-total kind has ended (wParam, lParam 0).
inline constexpr UINT WM_RESULT_STEP_DONE = 1326;

// The grid's pick state as the selective senders read it.
struct TransferSelection {
    int listFlag = 0; // rows picked one by one (control-click)
    std::vector<int> pickedRows; // in pick order, without the ending 0
    int rangeFlag = 0; // a range picked with shift
    int rangeA = 0;
    int rangeB = 0; // the range's ends, either order
    int firstRow = 0;
    int lastRow = 0; // the current selection's ends, either order
};

class CTransferHost {
public:
    // The window that receives WM_TRANS_SOCKET_DATA and owns the reply timers.
    virtual HWND GetTransferWindow() = 0;

    // The grid: row 0 is the heading row and the last row is not a data row.
    virtual int GetGridRowCount() = 0;
    virtual CString GetGridItemText(int row, int column) = 0;
    // The row whose scale settings are sent.
    virtual int GetCurrentGridRow() = 0;
    virtual TransferSelection GetTransferSelection() = 0;
    // The data kind word of the screen ("Item", "Add" ...).
    virtual CString GetCurrentKind() = 0;

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

    // Ethernet stop flag: set by the progress dialog, read between steps.
    virtual int GetEthernetStop() = 0;
    virtual void SetEthernetStop(int stop) = 0;
    // 1 when the first job starts, 0 when the last one has ended: once each way,
    // so that the screen can count the transfers of both transports.
    virtual void SetTransferActive(int active) = 0;
    // A received record was stored: the request word and its statement.
    virtual void NoteReceivedRecord(const CString& request, const CString& sql) = 0;
    // The progress field: the record being sent or the count received.
    virtual void ShowTransferProgress(const CString& text) = 0;

protected:
    ~CTransferHost() = default;
};
