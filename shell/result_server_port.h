#pragma once
// What the left pane needs of the sales-results subsystem (results/, which
// links shell/): the results server it owns and the handlers of the "Server
// Prog" commands 32775 to 32781. The program registers them before the frame
// is built; without them the server never starts and the commands do nothing.
// Each part registers its own commands by id, so the server's commands and
// the result dialogs' stay in their own files. UI thread.

#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CCalvornView;

// What the results server uses of the left pane (CCalvornView, or a test's
// stand-in): it tells the pane the database and log it serves with when it
// starts and that it stopped, and reads the manager logged in. UI thread.
class CResultServerHost {
public:
    virtual ~CResultServerHost() = default;
    virtual void ServerStarted(const CString& database, const CString& logPath) = 0;
    virtual void ServerStopped() = 0;
    virtual const CString& UserId() const = 0;
};

class CResultServerPort {
public:
    virtual ~CResultServerPort() = default;
    // The pane's first update: starts the server when its stored setting
    // (Server_Start_Ok.bin) asks for it.
    virtual void StartAtStartUp() = 0;
    // Timer 2000: the keep-alive to every connected scale.
    virtual void SendKeepAlive() = 0;
};

// Makes the pane's results server (not yet running).
using ResultServerFactory = std::unique_ptr<CResultServerPort> (*)(CCalvornView& pane);
// Runs one "Server Prog" command for the pane.
using ServerCommandHandler = void (*)(CCalvornView& pane);

void SetResultServerFactory(ResultServerFactory factory);
ResultServerFactory GetResultServerFactory();

// The handler of command id (32775 to 32781); nullptr removes it.
void SetServerCommandHandler(UINT id, ServerCommandHandler handler);
// nullptr when none is registered.
ServerCommandHandler GetServerCommandHandler(UINT id);
