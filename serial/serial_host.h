#pragma once
// CSerialHost: what the serial transfer (engine, scale link and the walk over
// the chosen scales) needs of the work screen that owns it beyond what every
// transfer needs (CTransferScreenHost, whose window takes timer 150 and the
// messages 1224-1227): the serial mailbox edits, the grid's column count, the
// numbers of a selective read, the lamps, the received-data databases and the
// transfer buttons. Every call is made on the user-interface thread.

#include <array>
#include <optional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_mailbox.h"
#include "transfer/transfer_screen_host.h"

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

class CSerialHost : public virtual CTransferScreenHost {
public:
    virtual CString GetSerialText(int id) = 0;
    virtual void SetSerialText(int id, const CString& text) = 0;
    virtual int GetGridColumnCount() = 0;
    // The numbers of a selective read, up to the first 0.
    virtual std::vector<int> GetRequestNumbers() = 0;
    virtual void FlashSendLamp() = 0;
    virtual void FlashRecvLamp() = 0;
    // The database a read of scale scaleId (two characters) goes into: a file
    // per scale, named by its ID. Nothing is written yet.
    virtual CString MakeReceivedDataPath(const CString& scaleId) = 0;
    // Makes the database at path (folders, the item template) when it is
    // missing or empty, as the read's first record comes; FALSE when it
    // could not be made (told). A scale that sends nothing gets no file.
    virtual BOOL MakeReceivedDatabase(const CString& path) = 0;
    virtual void EnableItemTransButtons(BOOL enable) = 0;
    virtual void EnableScaleTransButtons(BOOL enable) = 0;
    virtual void EnableTransStopButton(BOOL enable) = 0;

protected:
    ~CSerialHost() = default;
};

// The mailbox's command and kind, parsed where they are read.
inline std::optional<TransferCommand> MailboxCommand(CSerialHost& host)
{
    return CommandOfWord(host.GetSerialText(IDC_SERIAL_COMMAND).View());
}

inline std::optional<DataKind> MailboxKind(CSerialHost& host)
{
    return KindOfWord(host.GetSerialText(IDC_SERIAL_KIND).View());
}
