#pragma once
// The running program's process and whether another one is still running, in
// their Win32 shapes.

#include "platform/base/types.h"

// The id of the calling process.
DWORD GetCurrentProcessId();

// TRUE while a process of that id exists (also one of another user, or one
// that has ended but was not yet waited for); FALSE once it is gone.
BOOL IsProcessRunning(DWORD processId);
