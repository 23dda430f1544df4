#include "platform/base/version.h"

#include <cstring>

namespace {
constexpr DWORD kMajor = 5;
constexpr DWORD kMinor = 1;
constexpr DWORD kBuild = 2600;
} // namespace

DWORD GetVersion()
{
    return kMajor | (kMinor << 8) | (kBuild << 16);
}

BOOL GetVersionEx(OSVERSIONINFO* info)
{
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFO))
        return FALSE;
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strcpy(info->szCSDVersion, "Service Pack 3");
    return TRUE;
}
