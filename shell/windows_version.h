#pragma once
// The name of the Windows version the program runs on, as the left pane uses
// it to choose where the sample item database goes.

#include "platform/base/cstring.h"
#include "platform/base/version.h"

// "Microsoft Win32s", "Microsoft Windows 95", "Microsoft Windows 98",
// "Microsoft Windows Me", "Microsoft Windows NT", "Microsoft Windows 2000",
// "Whistler" (5.1), or empty for anything else.
CString WindowsVersionName(const OSVERSIONINFO& info);
// The name for the running system.
CString GetWindowsVersionName();
