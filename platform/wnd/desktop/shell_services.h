#pragma once
// Sounds and shell requests. Each request is recorded (tests read the
// records) and reported as done. Sounds are not played; an "open" request is
// carried out by the desktop (its associated program for a file, the browser
// for an address) when the program runs in a desktop session, never on the
// offscreen platform of the tests. Any thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/resource.h"
#include "platform/wnd/core/wnd.h"

inline constexpr DWORD SND_SYNC = 0x0000;
inline constexpr DWORD SND_ASYNC = 0x0001;
inline constexpr DWORD SND_NODEFAULT = 0x0002;
inline constexpr DWORD SND_NOWAIT = 0x2000;
inline constexpr DWORD SND_RESOURCE = 0x40004;
inline constexpr DWORD SND_FILENAME = 0x20000;

inline constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x0400;

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    LPCTSTR lpVerb = nullptr;
    LPCTSTR lpFile = nullptr;
    LPCTSTR lpParameters = nullptr;
    LPCTSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
};

// One recorded request: a sound (name is the file name, or the resource id in
// decimal with SND_RESOURCE) or a shell execution (verb and file).
struct ShellRecord {
    enum class Kind { Sound, Execute };
    Kind kind = Kind::Sound;
    CString name;
    CString verb;
    DWORD flags = 0;
    int show = 0;
};

// Records the sound; TRUE. With SND_RESOURCE name is a resource id.
BOOL PlaySound(LPCTSTR name, HINSTANCE module, DWORD flags);
// Records the request; TRUE for a record with a file.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);

// The records so far, oldest first, and clearing them.
std::vector<ShellRecord> AfxGetShellRecords();
void AfxClearShellRecords();
