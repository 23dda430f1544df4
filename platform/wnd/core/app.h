#pragma once
// The application's minimum: the UI thread, its message pump, and the calls
// that wait on it. AfxWinInit must run on the main thread before any window,
// timer or cross-thread message is used.

#include <functional>

#include "platform/base/types.h"

// Creates the application (once; later calls return TRUE and change nothing)
// and makes the calling thread the UI thread. Installs the message box as the
// exception reporter. argc/argv must outlive the application.
BOOL AfxWinInit(int& argc, char** argv);

// TRUE on the UI thread.
BOOL AfxIsUiThread();
// Id (GetCurrentThreadId form) of the UI thread; 0 before AfxWinInit.
DWORD AfxGetUiThreadId();

// Processes the UI thread's pending events once: window events, posted
// messages, cross-thread sends, timers. Waits up to waitMs for the first event
// when none is pending. UI thread.
void AfxPumpMessage(DWORD waitMs = 0);

// Pumps until done() holds (TRUE) or timeoutMs passes (FALSE). done is checked
// before every turn, so an already-true condition returns at once. UI thread.
BOOL AfxPumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Runs the UI thread's loop until PostQuitMessage is called on it; returns the
// exit code given there.
int AfxRunMessageLoop();
// The same, calling onIdle after every turn of the loop (a turn waits up to
// 50 ms for an event); the application's idle-time updates run there.
int AfxRunMessageLoop(const std::function<void()>& onIdle);

// Name shown as the caption of message boxes without one. Defaults to the
// program's file name.
const char* AfxGetAppName();
void AfxSetAppName(const char* name);
