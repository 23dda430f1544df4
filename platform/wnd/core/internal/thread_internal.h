#pragma once
// Internal pieces shared by the thread, wait and dispatch code.

#include "platform/wnd/core/internal/platform_only.h"

#include "platform/base/types.h"

namespace thread_internal {

// Thrown by AfxEndThread to unwind the thread; caught only by the thread's
// entry function (every catch-all on the way rethrows it).
struct ThreadExit {
    UINT exitCode;
};

// Blocks the calling CWinThread while its suspend count is above zero; returns
// at once on other threads.
void WaitWhileSuspended();

// Queues WM_QUIT to the calling CWinThread's loop; false on other threads.
bool PostQuitToCurrentWinThread(int exitCode);

} // namespace thread_internal
