#pragma once
// CWorkScreenContext: what the work screen's concern parts (the scale screens,
// the transfer glue, the reservations) use of the screen itself: its form
// window, the grid and where the user clicked in it, the screen's kind word
// and hint, the logged-in manager, the item database with its worker and
// mailbox, the update lock and the load starter. CKindOfView implements it
// and hands it to each part it owns; the parts never see CKindOfView. UI
// thread.

#include <functional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CGridCtrl;
class CItemDbWorker;
class CMailboxDlg;
class CTableBridge;
class CWnd;

class CWorkScreenContext {
public:
    // The form (template 130): parent of the parts' dialogs and run-time
    // controls, owner of their timers, target of their messages.
    virtual CWnd& Form() = 0;
    virtual CGridCtrl& Grid() = 0;
    // The database mailbox (dialog 132) and the item database worker.
    virtual CMailboxDlg& DbMailbox() = 0;
    virtual CItemDbWorker& ItemWorker() = 0;
    // The table bridge: the loads of the table screens and their write-back.
    virtual CTableBridge& TableBridge() = 0;
    // 1 selects the Korean texts, 2 and 3 the English ones.
    virtual int Language() const = 0;

    // The kind word of the screen shown ("Item", "Scale_Info" ...) and its
    // hint (screen number).
    virtual CString Kind() const = 0;
    virtual int Hint() const = 0;
    virtual void SetHint(int hint) = 0;
    // The logged-in manager; the automatic log-in makes the administrator
    // the logged-in manager.
    virtual CString UserId() const = 0;
    virtual void SignInAdministrator() = 0;
    virtual CString ItemDbPath() const = 0;
    // The words the left pane's switch sets (a test sets them alone).
    virtual void SetUserId(const CString& userId) = 0;
    virtual void SetKind(const CString& kind) = 0;
    virtual void SetItemDbPath(const CString& path) = 0;
    // The server database of the synchronisation ("" while none runs).
    virtual CString ServerDbPath() const = 0;
    virtual void SetServerDbPath(const CString& path) = 0;

    // The grid row last clicked (0 for none), the first column from start
    // whose heading is title (-1 for none), cells made read-only, columns
    // added (their headings empty), a row inserted before position (its
    // index), and the pick state forgotten.
    virtual int ClickedRow() const = 0;
    virtual int FindColumn(const char* title, int start = 0) const = 0;
    virtual void SetCellReadOnly(int row, int column) = 0;
    virtual void SetGridColumnCount(int count) = 0;
    virtual int InsertGridRow(const CString& heading, int position) = 0;
    virtual void ResetGridSelection() = 0;
    // A grid of two rows and two columns, the trailing row "-->" and locked.
    virtual void RebuildGrid() = 0;
    // A cell's text checked and written back as if typed (the edit panel's
    // rule), and the edit buttons enabled or greyed.
    virtual void OnGridCellEdited(int row, int column) = 0;
    virtual void EnableEditButtons(BOOL enable) = 0;
    // The panels' button groups (ids in the view's layout only): the item
    // transfers 1009/1010/1001/1002, the scale settings' 1025/1027/1029, and
    // the stop 1030.
    virtual void EnableItemTransButtons(BOOL enable) = 0;
    virtual void EnableScaleTransButtons(BOOL enable) = 0;
    virtual void EnableTransStopButton(BOOL enable) = 0;

    // While set, the screen switch drops the left pane's hints.
    virtual int GetUpdateLock() const = 0;
    virtual void SetUpdateLock(int lock) = 0;
    // Runs start; when it throws, says why and clears the lock and mailbox.
    virtual void StartLoad(const std::function<void()>& start) = 0;
    // TRUE (after saying so) while the item worker serves a request.
    virtual BOOL RefuseWhileBusy() = 0;

    // The preset page (1-3) and the 60 preset key texts.
    virtual int GetPresetPage() = 0;
    virtual std::vector<CString> GetPresetKeyTexts() = 0;
    // Nonzero while the manager's default values are in force.
    virtual int LoadDefaultValues() = 0;

protected:
    ~CWorkScreenContext() = default;
};
