#include "shell/windows_version.h"

CString WindowsVersionName(const OSVERSIONINFO& info)
{
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return "Microsoft Win32s";
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 0 && info.szCSDVersion[1] == 'C')
            return "Microsoft Windows 95";
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 10 && info.szCSDVersion[1] == 'A')
            return "Microsoft Windows 98";
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 90)
            return "Microsoft Windows Me";
        return CString();
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion < 5)
            return "Microsoft Windows NT";
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0)
            return "Microsoft Windows 2000";
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1)
            return "Whistler";
        return CString();
    default:
        return CString();
    }
}

CString GetWindowsVersionName()
{
    OSVERSIONINFO info;
    if (!GetVersionEx(&info))
        return CString();
    return WindowsVersionName(info);
}
