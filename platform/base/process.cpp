#include "platform/base/process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(::getpid());
}

BOOL IsProcessRunning(DWORD processId)
{
    if (processId == 0 || processId > 0x7FFFFFFFu)
        return FALSE;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM ? TRUE : FALSE;
}
