#pragma once
// What the reservation dialogs and threads need of the work screen. The work
// screen implements it; tests give a stand-in.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"

class CReservationHost {
public:
    // The window that gets message 1624 (wParam = a reservation's job token)
    // and owns the reply timers 600 + slot.
    virtual HWND GetReservationWindow() const = 0;
    // Nonzero while an interactive transfer runs. Any thread.
    virtual int GetTransferActive() const = 0;
    // The logged-in manager id. UI thread.
    virtual CString GetLoggedInManagerId() const = 0;
    // Flashes the reservation lamp for a packet. UI thread.
    virtual void FlashReservationLamp() = 0;
    // Ends the threads of reservation number (timer killed, connection closed,
    // no report). UI thread.
    virtual void CancelReservationThreads(long number) = 0;

protected:
    ~CReservationHost() = default;
};
