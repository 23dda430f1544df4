#pragma once
// Folder and file-entry calls in their Win32 shapes, and a folder search
// (CFileFind). Paths are Windows paths (mapped by MapWindowsPath,
// platform/base/path.h) or native paths. The BOOL calls set the thread's last
// error (platform/base/last_error.h) when they fail.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/types.h"

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x40;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Attributes of the entry: a folder is FILE_ATTRIBUTE_DIRECTORY, a file
// FILE_ATTRIBUTE_NORMAL, anything else (a pipe, a device, a socket)
// FILE_ATTRIBUTE_DEVICE; FILE_ATTRIBUTE_READONLY replaces NORMAL (or joins the
// others) when the owner may not write it. INVALID_FILE_ATTRIBUTES when the
// entry does not exist.
DWORD GetFileAttributes(LPCTSTR path);

// FILE_ATTRIBUTE_READONLY clears the owner's write permission, its absence
// restores it; the other bits have no counterpart here and are ignored.
BOOL SetFileAttributes(LPCTSTR path, DWORD attributes);

// Creates one folder; fails when it exists (ERROR_ALREADY_EXISTS) or its parent
// does not (ERROR_PATH_NOT_FOUND). security is ignored.
BOOL CreateDirectory(LPCTSTR path, void* security);
// Removes an empty folder.
BOOL RemoveDirectory(LPCTSTR path);

// Removes a file (not a folder).
BOOL DeleteFile(LPCTSTR path);

// Copies a file's bytes; with failIfExists an existing target fails
// (ERROR_FILE_EXISTS), else it is replaced.
BOOL CopyFile(LPCTSTR existingPath, LPCTSTR newPath, BOOL failIfExists);

// Renames a file or folder; fails when the target exists.
BOOL MoveFile(LPCTSTR existingPath, LPCTSTR newPath);

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x01;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x08;

// Renames a file; with MOVEFILE_REPLACE_EXISTING an existing target file is
// replaced in one step (readers see the old file or the new one), and with
// MOVEFILE_WRITE_THROUGH the folder reaches the disk before the call returns.
// Without flags it is MoveFile.
BOOL MoveFileEx(LPCTSTR existingPath, LPCTSTR newPath, DWORD flags);

// Creates an empty file of a new name in folder pathName: the first three
// letters of prefix, six unique letters, ".tmp"; tempFileName receives its
// path (in pathName's form). unique must be 0. Nonzero when the file was
// created, else 0 with the last error set.
UINT GetTempFileName(LPCTSTR pathName, LPCTSTR prefix, UINT unique, CString& tempFileName);

// TRUE when both paths name one file: the same entry on disk when both
// exist (links and "." or ".." steps included), else the same name, ASCII case
// ignored, in one existing folder. FALSE when either cannot be mapped.
BOOL IsSameFile(LPCTSTR first, LPCTSTR second);

// Replaces path's content with bytes so that readers see the old file or the
// new one, never a part: writes a temporary file beside it
// ("<path>.tmp-<process id>-XXXXXX") and renames it over the path. On failure
// the old file is untouched, the temporary file is removed, FALSE is returned
// and error (when given) is filled. What saves of path killed before their
// rename left beside it is removed first.
BOOL WriteFileAtomically(LPCTSTR path, std::span<const std::uint8_t> bytes, CFileException* error = nullptr);

// Removes the temporaries that saves of path (WriteFileAtomically) left beside
// it when killed: only files of that form whose process is no longer running.
void RemoveLeftoverTemporaries(LPCTSTR path);

// The same for a text file: text is UTF-8, each '\n' is written as CR LF and
// the whole as CP949. FALSE with error (when given) filled with the failure's
// text when it could not be written.
BOOL WriteTextFileAtomically(LPCTSTR path, const CString& text, CString* error = nullptr);

// Entries of one folder whose names match a pattern: "*" any run of
// characters, "?" one character, ASCII case ignored; a pattern ending in ".*"
// also matches names without an extension, as on Windows. Without wildcards
// the pattern finds the entry itself. Usage: FindFile, then FindNextFile before
// each entry; FindNextFile returns FALSE when the entry it moved to is the last.
class CFileFind {
public:
    CFileFind() = default;
    virtual ~CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; FALSE when nothing matches. name defaults to "*.*" in
    // the current folder.
    virtual BOOL FindFile(LPCTSTR name = nullptr, DWORD unused = 0);
    // Moves to the next entry; FALSE when it is the last one (or there is none).
    virtual BOOL FindNextFile();
    void Close();

    // The current entry: its on-disk name, the search folder as given joined
    // with the name (so it can be passed to other calls), the name without
    // extension, and the folder as given.
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const;
    BOOL IsDirectory() const;
    BOOL IsReadOnly() const;
    BOOL IsDots() const;
    // TRUE when the entry has any of the attribute bits in mask.
    BOOL MatchesMask(DWORD mask) const;

private:
    struct Entry {
        CString name;
        DWORD attributes = 0;
        ULONGLONG length = 0;
    };
    const Entry* Current() const;

    CString m_root; // folder part of the pattern, as given
    char m_separator = '\\';
    std::vector<Entry> m_entries;
    std::size_t m_next = 0; // index of the entry FindNextFile moves to
};
