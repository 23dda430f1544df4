#pragma once
// The calling thread's last system error, as the Win32 calls report it. The
// platform's file, directory, serial and socket calls set it on failure with
// the Windows error numbers below.

#include "platform/base/types.h"

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_WRITE_PROTECT = 19;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_BUSY = 170;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;

DWORD GetLastError();
void SetLastError(DWORD error);

// The Windows error number for an errno value (ENOENT -> ERROR_FILE_NOT_FOUND ...).
DWORD ErrnoToWin32Error(int osError);

// Sets the last error from errno-style osError and returns FALSE, for the
// failure paths of BOOL calls.
BOOL SetLastErrorFromErrno(int osError);
