#pragma once
// Windows paths of the programs and where they live on this system.
//
// Drive X: is the folder "drive_x" under the data root: $CALVORN_ROOT, else
// $XDG_DATA_HOME/calvorn, else ~/.local/share/calvorn. So
// "C:\Windows\system\Manager\Manager.mdb" is
// <root>/drive_c/Windows/system/Manager/Manager.mdb. Both '\' and '/' separate.
// Each component matches an existing entry regardless of ASCII case, as on
// Windows ("C:\ZUVAR" and "C:\zuvar" are one folder); a component that does not
// exist yet keeps the case given. A path that starts with '/' is a native path
// (picked in a file dialog) and is used as it stands. A path with neither a
// drive nor a leading separator is relative to the current directory.

#include <string>
#include <string_view>

// The data root, without a trailing '/'. Thread-safe.
std::string AfxGetDataRoot();

// Replaces the data root for this process (tests); an empty root restores the
// default from the environment.
void AfxSetDataRoot(std::string_view root);

// The native path for a Windows or native path; empty for a path that cannot
// be mapped (empty, or a network path "\\server\share"). Creates the drive's
// folder under the data root when it is missing; nothing else is created.
std::string MapWindowsPath(std::string_view path);

// True for a path that MapWindowsPath leaves as it is.
bool IsNativePath(std::string_view path);

// The Windows form of a native path in the data root ("C:\..." for
// <root>/drive_c/...), as the programs' messages name files; any other path
// as it stands.
std::string WindowsFormOf(std::string_view path);
