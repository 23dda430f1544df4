#pragma once
// The operating system version the programs see: Windows NT 5.1 (XP), build
// 2600, service pack 3, on every machine.

#include "platform/base/types.h"

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    char szCSDVersion[128] = {};
};

// Low byte major, next byte minor, high word the build; the top bit is clear on
// the NT family.
DWORD GetVersion();
// Fills the record; FALSE when dwOSVersionInfoSize is smaller than the record.
BOOL GetVersionEx(OSVERSIONINFO* info);
