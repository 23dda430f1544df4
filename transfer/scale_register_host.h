#pragma once
// The seam between the work screen and the scale register with the
// communication dialog (141). CScaleRegisterHost is what the register and the
// dialog use of the work screen; CScaleRegisterPort is what the work screen
// uses of the register (CScaleRegister, or a test's stand-in). UI thread.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "transfer/comm_settings.h"

class CGridCtrl;
class CItemDbWorker;
class CListCtrl;
class CMailboxDlg;
class CWnd;

// Sent to the work screen after a mode change: wParam 1 Ethernet, 2 serial.
inline constexpr UINT WM_COMMMODE_CHANGED = 0x408;

class CScaleRegisterHost {
public:
    // The work screen's window: target of the worker's replies and of the
    // dialog's WM_COMMMODE_CHANGED.
    virtual CWnd* GetHostWindow() = 0;
    // The item database worker and the database mailbox (dialog 132).
    virtual CItemDbWorker* GetItemWorker() = 0;
    virtual CMailboxDlg* GetDbMailbox() = 0;
    // The grid of the scale settings screens and the scale list 900 of the
    // register screen.
    virtual CGridCtrl* GetGrid() = 0;
    virtual CListCtrl* GetScaleList() = 0;
    // Sizes the grid (the new title cells empty) and adds a row with a heading
    // before position; the row's index.
    virtual void SetGridColumnCount(int count) = 0;
    virtual int InsertGridRow(const CString& heading, int position) = 0;
    // Mode, port, registered and chosen scales.
    virtual CCommSettings& GetCommSettings() = 0;
    // Take-first flag: while set, the first registered scale listed is also
    // chosen (and the flag cleared).
    virtual int GetPickFirstScale() const = 0;
    virtual void SetPickFirstScale(int flag) = 0;
    // While set, the screen switch drops the left pane's hints.
    virtual void SetUpdateLock(int lock) = 0;
    // The COM port (1-8) the serial transfers open.
    virtual void SetComPort(int port) = 0;

protected:
    ~CScaleRegisterHost() = default;
};

class CScaleRegisterPort {
public:
    // Loads started by the screen switch, the settings reader and the
    // communication commands; the request name and the manager id are in the
    // work screen's mailbox. An empty column list reads the default columns.
    virtual void SelectScaleInfo(const CString& columns) = 0;
    virtual void SelectScaleRootInfo(const CString& columns) = 0;
    virtual void SelectScales(const CString& columns) = 0;
    virtual void SelectScaleAddress(const CString& databasePath, const CString& columns, Transport mode) = 0;
    // Reply rows of those loads; each answers "Report" itself.
    virtual void SplitRows(const CString& row) = 0;
    virtual void FillScaleInfoGrid(const CString& row) = 0;
    virtual void FillScaleRootInfoGrid(const CString& row) = 0;
    virtual void FillScaleList(const CString& row) = 0;
    // Register writes: the request name is in the mailbox; each runs at once
    // and ends with the worker's done message.
    virtual void UpdateScale(const CString& number, const CString& name, const CString& ip,
        const CString& scaleId, const CString& managerId, const CString& key)
        = 0;
    virtual void InsertScale(const CString& number, const CString& name, const CString& ip,
        const CString& scaleId, const CString& managerId)
        = 0;
    virtual void DeleteScale(const CString& key) = 0;

protected:
    ~CScaleRegisterPort() = default;
};
