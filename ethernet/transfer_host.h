#pragma once
// What a TCP transfer job needs of the work screen that starts it beyond what
// every transfer needs (CTransferScreenHost): the screen's data kind and the
// Ethernet stop flag. Its window is the target of the jobs' socket messages
// and reply timers. The work screen's CTransferHosts implements it; tests
// give their own.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"
#include "transfer/transfer_screen_host.h"

// Socket data of a transfer job (wParam = the job's token, lParam 0).
inline constexpr UINT WM_TRANS_SOCKET_DATA = 1324;
// The exchange of one scale for a sales-total kind has ended (wParam, lParam 0).
inline constexpr UINT WM_RESULT_STEP_DONE = 1326;

class CTransferHost : public virtual CTransferScreenHost {
public:
    // Ethernet stop flag: set by the progress dialog, read between steps.
    virtual int GetEthernetStop() = 0;
    virtual void SetEthernetStop(int stop) = 0;

protected:
    ~CTransferHost() = default;
};
