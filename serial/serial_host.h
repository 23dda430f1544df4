#pragma once
// CSerialHost: what the serial transfer (engine, scale link and the walk over
// the chosen scales) needs of the work screen that owns it: its window (timer
// 150 and the messages 1224-1227), the serial mailbox edits, the grid and pick
// state of the data being sent, the preset controls, the numbers of a
// selective read, the received-data databases, the transfer-active flag and
// the transfer buttons. Every call is made on the user-interface thread.

#include <array>
#include <vector>

#include "ethernet/transfer_host.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/messages.h"

// The serial mailbox edits (dialog 145).
inline constexpr int kSerialCommandEdit = 1020; // "TRANS", "BROAD_TRANS", "RECV"
inline constexpr int kSerialKindEdit = 1021; // data kind word
inline constexpr int kSerialScopeEdit = 1001; // "all" or "select"
inline constexpr int kSerialStepEdit = 1022; // step word; result word after a refusal
inline constexpr int kSerialStatusEdit = 1023; // frame length before a command, status after a report
inline constexpr int kSerialReplyEdit = 1024; // "Report" after every report
inline constexpr int kSerialNoItemEdit = 1025; // "NOITEM"

// Messages of the engine to the work screen (wParam and lParam 0).
inline constexpr UINT WM_SERIAL_PORT_OPENED = 1224;
inline constexpr UINT WM_SERIAL_PORT_OPEN_FAILED = 1225;
inline constexpr UINT WM_SERIAL_SESSION_END = 1226;
inline constexpr UINT WM_SERIAL_SESSION_ERROR = 1227;

// The reply timer of the work screen's window.
inline constexpr UINT_PTR kSerialReplyTimer = 150;
inline constexpr UINT kSerialReplyTimeoutMs = 5000;

// A broadcast takes at most this many scales.
inline constexpr int kMaxBroadcastScales = 100;

class CSerialHost {
public:
    // Members shared with the TCP transfers' host (same names and signatures).
    // The window whose timer 150 guards each reply and that receives 1224-1227.
    virtual HWND GetTransferWindow() = 0;
    // The grid of the data kind being sent: row 0 headings, the last row no data.
    virtual int GetGridRowCount() = 0;
    virtual CString GetGridItemText(int row, int column) = 0;
    // The row whose scale settings are sent.
    virtual int GetCurrentGridRow() = 0;
    virtual TransferSelection GetTransferSelection() = 0;
    // The preset page sent, the 60 key texts, the page a one-page read asks for.
    virtual int GetPresetPage() = 0;
    virtual std::vector<CString> GetPresetKeyTexts() = 0;
    virtual int GetPresetReadPage() = 0;
    // Item records come from the item database when default values are in force.
    virtual CString GetUserId() = 0;
    virtual CString GetItemDbPath() = 0;
    virtual int LoadDefaultValues() = 0;
    // 1 when a walk starts, 0 when it ends: once each way, so that the screen can
    // count the transfers of both transports.
    virtual void SetTransferActive(int active) = 0;
    // A received record was stored: the request word and its statement.
    virtual void NoteReceivedRecord(const CString& request, const CString& sql) = 0;
    virtual void ShowTransferProgress(const CString& text) = 0;

    // The serial link's own.
    virtual CString GetSerialText(int id) = 0;
    virtual void SetSerialText(int id, const CString& text) = 0;
    virtual int GetGridColumnCount() = 0;
    // The numbers of a selective read, up to the first 0.
    virtual std::vector<int> GetRequestNumbers() = 0;
    virtual void FlashSendLamp() = 0;
    virtual void FlashRecvLamp() = 0;
    // The database a read of scale scaleId (two characters) goes into: a file
    // per scale and per receive.
    virtual CString MakeReceivedDataPath(const CString& scaleId) = 0;
    virtual void EnableItemTransButtons(BOOL enable) = 0;
    virtual void EnableScaleTransButtons(BOOL enable) = 0;
    virtual void EnableTransStopButton(BOOL enable) = 0;

protected:
    ~CSerialHost() = default;
};
