#include "platform/base/file_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <dirent.h>

#include "platform/base/cp949.h"
#include "platform/base/last_error.h"
#include "platform/base/path.h"
#include "platform/base/posix_io.h"
#include "platform/base/process.h"

namespace {

DWORD AttributesOf(const struct stat& st)
{
    const bool readOnly = (st.st_mode & S_IWUSR) == 0;
    if (S_ISDIR(st.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY | (readOnly ? FILE_ATTRIBUTE_READONLY : 0);
    if (!S_ISREG(st.st_mode))
        return FILE_ATTRIBUTE_DEVICE | (readOnly ? FILE_ATTRIBUTE_READONLY : 0);
    return readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

std::string Native(LPCTSTR path)
{
    return MapWindowsPath(path ? path : "");
}

// Copies all of in to out; returns 0 or an errno value.
int CopyBytes(int in, int out)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ReadFully(in, buffer, sizeof buffer);
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        if (const int osError = WriteFully(out, buffer, static_cast<std::size_t>(n)))
            return osError;
    }
}

bool MatchNoCase(const char* pattern, const char* name)
{
    // Iterative wildcard match with back-tracking to the last '*'.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?'
            || (*pattern
                && std::tolower(static_cast<unsigned char>(*pattern))
                    == std::tolower(static_cast<unsigned char>(*name)))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

bool MatchesPattern(const std::string& pattern, const std::string& name)
{
    if (MatchNoCase(pattern.c_str(), name.c_str()))
        return true;
    // "name.*" also finds "name" with no extension.
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
        return MatchNoCase(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
    return false;
}

} // namespace

DWORD GetFileAttributes(LPCTSTR path)
{
    const std::string native = Native(path);
    struct stat st { };
    if (native.empty() || ::stat(native.c_str(), &st) != 0) {
        SetLastErrorFromErrno(native.empty() ? ENOENT : errno);
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(st);
}

BOOL SetFileAttributes(LPCTSTR path, DWORD attributes)
{
    const std::string native = Native(path);
    struct stat st { };
    if (native.empty() || ::stat(native.c_str(), &st) != 0)
        return SetLastErrorFromErrno(native.empty() ? ENOENT : errno);
    mode_t mode = st.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    else
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && ::chmod(native.c_str(), mode) != 0)
        return SetLastErrorFromErrno(errno);
    return TRUE;
}

BOOL CreateDirectory(LPCTSTR path, void*)
{
    const std::string native = Native(path);
    if (native.empty())
        return SetLastErrorFromErrno(ENOENT);
    if (::mkdir(native.c_str(), 0777) != 0) {
        if (errno == ENOENT) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return FALSE;
        }
        return SetLastErrorFromErrno(errno);
    }
    return TRUE;
}

BOOL RemoveDirectory(LPCTSTR path)
{
    const std::string native = Native(path);
    if (native.empty())
        return SetLastErrorFromErrno(ENOENT);
    if (::rmdir(native.c_str()) != 0)
        return SetLastErrorFromErrno(errno);
    return TRUE;
}

BOOL DeleteFile(LPCTSTR path)
{
    const std::string native = Native(path);
    struct stat st { };
    if (native.empty() || ::lstat(native.c_str(), &st) != 0)
        return SetLastErrorFromErrno(native.empty() ? ENOENT : errno);
    if (S_ISDIR(st.st_mode))
        return SetLastErrorFromErrno(EACCES);
    if (::unlink(native.c_str()) != 0)
        return SetLastErrorFromErrno(errno);
    return TRUE;
}

BOOL CopyFile(LPCTSTR existingPath, LPCTSTR newPath, BOOL failIfExists)
{
    const std::string from = Native(existingPath);
    const std::string to = Native(newPath);
    if (from.empty() || to.empty())
        return SetLastErrorFromErrno(ENOENT);
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return SetLastErrorFromErrno(errno);
    struct stat st { };
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(in);
        return SetLastErrorFromErrno(EACCES);
    }
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
    const int out = ::open(to.c_str(), flags, 0666);
    if (out < 0) {
        const int osError = errno;
        ::close(in);
        if (osError == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
            return FALSE;
        }
        return SetLastErrorFromErrno(osError);
    }
    const int copyError = CopyBytes(in, out);
    ::close(in);
    const int closeError = ::close(out) != 0 ? errno : 0;
    if (copyError != 0 || closeError != 0)
        return SetLastErrorFromErrno(copyError != 0 ? copyError : closeError);
    return TRUE;
}

namespace {

bool SameEntry(const std::string& first, const std::string& second)
{
    struct stat a { };
    struct stat b { };
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

// Folder and name of a native path ("." for a bare name).
std::pair<std::string, std::string> SplitNative(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return { ".", path };
    return { slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1) };
}

// A rename lives in the folder: until the folder is on disk a power cut may
// leave neither file. The file is in place already, so a folder that cannot be
// synced (one without read permission) is not a failure.
void SyncFolderOf(const std::string& native)
{
    const int folder = ::open(SplitNative(native).first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

// A save writes "<file>.tmp-<process id>-XXXXXX" beside the file: a save
// killed before its rename leaves one, which tells whose it was.
constexpr const char* kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryUnique = 6;

std::string TemporaryTemplate(const std::string& native)
{
    return native + kTemporaryMark + std::to_string(GetCurrentProcessId()) + "-"
        + std::string(kTemporaryUnique, 'X');
}

// The process whose save of file left name, 0 when name is no temporary of file.
DWORD TemporaryOwner(const std::string& file, const std::string& name)
{
    const std::string mark = file + kTemporaryMark;
    if (name.size() <= mark.size() || name.compare(0, mark.size(), mark) != 0)
        return 0;
    const std::string rest = name.substr(mark.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 || rest.size() != dash + 1 + kTemporaryUnique)
        return 0;
    DWORD owner = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(rest[i])))
            return 0;
        owner = owner * 10 + static_cast<DWORD>(rest[i] - '0');
    }
    return owner;
}

void RemoveLeftTemporaries(const std::string& native)
{
    const auto [folder, file] = SplitNative(native);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> left;
    while (const dirent* d = ::readdir(dir)) {
        const DWORD owner = TemporaryOwner(file, d->d_name);
        if (owner != 0 && !IsProcessRunning(owner))
            left.push_back(folder + "/" + d->d_name);
    }
    ::closedir(dir);
    for (const std::string& path : left) {
        struct stat st { };
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.c_str());
    }
}

} // namespace

void RemoveLeftoverTemporaries(LPCTSTR path)
{
    const std::string native = Native(path);
    if (!native.empty())
        RemoveLeftTemporaries(native);
}

BOOL IsSameFile(LPCTSTR first, LPCTSTR second)
{
    const std::string a = Native(first);
    const std::string b = Native(second);
    if (a.empty() || b.empty())
        return FALSE;
    if (SameEntry(a, b))
        return TRUE;
    struct stat st { };
    if (::stat(a.c_str(), &st) == 0 && ::stat(b.c_str(), &st) == 0)
        return FALSE; // two existing, different entries
    const auto [folderA, nameA] = SplitNative(a);
    const auto [folderB, nameB] = SplitNative(b);
    if (nameA.empty() || nameA.size() != nameB.size() || !SameEntry(folderA, folderB))
        return FALSE;
    return std::equal(nameA.begin(), nameA.end(), nameB.begin(),
               [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x))
                       == std::tolower(static_cast<unsigned char>(y));
               })
        ? TRUE
        : FALSE;
}

BOOL MoveFile(LPCTSTR existingPath, LPCTSTR newPath)
{
    const std::string from = Native(existingPath);
    const std::string to = Native(newPath);
    if (from.empty() || to.empty())
        return SetLastErrorFromErrno(ENOENT);
    struct stat st { };
    if (::lstat(to.c_str(), &st) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        return SetLastErrorFromErrno(errno);
    return TRUE;
}

BOOL MoveFileEx(LPCTSTR existingPath, LPCTSTR newPath, DWORD flags)
{
    if (!(flags & MOVEFILE_REPLACE_EXISTING))
        return MoveFile(existingPath, newPath);
    const std::string from = Native(existingPath);
    const std::string to = Native(newPath);
    if (from.empty() || to.empty())
        return SetLastErrorFromErrno(ENOENT);
    struct stat st { };
    if (::stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        return SetLastErrorFromErrno(errno);
    if (flags & MOVEFILE_WRITE_THROUGH)
        SyncFolderOf(to);
    return TRUE;
}

UINT GetTempFileName(LPCTSTR pathName, LPCTSTR prefix, UINT unique, CString& tempFileName)
{
    const std::string folder = pathName ? pathName : "";
    const std::string nativeFolder = Native(folder.c_str());
    if (nativeFolder.empty() || unique != 0) {
        SetLastErrorFromErrno(unique != 0 ? EINVAL : ENOENT);
        return 0;
    }
    const std::string start = std::string(prefix ? prefix : "").substr(0, 3);
    std::string name = nativeFolder + "/" + start + "XXXXXX.tmp";
    const int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0) {
        SetLastErrorFromErrno(errno);
        return 0;
    }
    ::fchmod(fd, 0644);
    ::close(fd);
    const std::string file = name.substr(nativeFolder.size() + 1);
    const bool windows = !IsNativePath(folder);
    const char separator = windows ? '\\' : '/';
    tempFileName = folder.back() == separator ? folder + file : folder + separator + file;
    return 1;
}

BOOL WriteFileAtomically(LPCTSTR path, std::span<const std::uint8_t> bytes, CFileException* error)
{
    auto fail = [&](int osError) {
        if (error) {
            error->m_cause = CFileException::OsErrorToException(osError);
            error->m_lOsError = osError;
            error->m_strFileName = path;
        }
        return SetLastErrorFromErrno(osError);
    };
    const std::string native = Native(path);
    if (native.empty())
        return fail(ENOENT);
    RemoveLeftTemporaries(native);
    std::string temp = TemporaryTemplate(native);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    int osError = WriteFully(fd, bytes.data(), bytes.size());
    // The new file keeps the old one's permissions; a first one gets rw-r--r--.
    struct stat old { };
    const mode_t mode = ::stat(native.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (osError == 0 && ::fchmod(fd, mode) != 0)
        osError = errno;
    if (osError == 0 && ::fsync(fd) != 0)
        osError = errno;
    if (::close(fd) != 0 && osError == 0)
        osError = errno;
    if (osError == 0 && ::rename(temp.c_str(), native.c_str()) != 0)
        osError = errno;
    if (osError != 0) {
        ::unlink(temp.c_str());
        return fail(osError);
    }
    SyncFolderOf(native);
    return TRUE;
}

BOOL WriteTextFileAtomically(LPCTSTR path, const CString& text, CString* error)
{
    std::string utf8;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '\n')
            utf8 += '\r';
        utf8 += text[i];
    }
    const std::string bytes = Utf8ToCp949(utf8);
    CFileException failure;
    if (WriteFileAtomically(path,
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            &failure))
        return TRUE;
    if (error)
        *error = failure.GetErrorText();
    return FALSE;
}

// CFileFind

BOOL CFileFind::FindFile(LPCTSTR name, DWORD)
{
    Close();
    const std::string given = name && *name ? name : "*.*";
    const std::size_t cut = given.find_last_of(IsNativePath(given) ? "/" : "\\/:");
    std::string folder;
    std::string pattern = given;
    if (cut != std::string::npos) {
        // Keep "C:" and "C:\" whole so they still name the drive's root.
        folder = given.substr(0, given[cut] == ':' ? cut + 1 : cut);
        if (folder.empty() || (folder.size() == 2 && folder[1] == ':'))
            folder = given.substr(0, cut + 1);
        pattern = given.substr(cut + 1);
    }
    m_root = folder;
    m_separator = IsNativePath(given) ? '/' : '\\';
    if (!m_root.IsEmpty()) {
        const char last = m_root[m_root.GetLength() - 1];
        if (last == '\\' || last == '/')
            m_root = m_root.Left(m_root.GetLength() - 1);
    }
    const std::string nativeFolder = folder.empty() ? std::string(".") : MapWindowsPath(folder);
    if (nativeFolder.empty() || pattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }

    DIR* dir = ::opendir(nativeFolder.c_str());
    if (!dir) {
        SetLastErrorFromErrno(errno == ENOENT ? ENOTDIR : errno);
        return FALSE;
    }
    const bool wild = pattern.find_first_of("*?") != std::string::npos;
    while (const dirent* d = ::readdir(dir)) {
        const std::string entryName = d->d_name;
        if (!MatchesPattern(pattern, entryName))
            continue;
        if (!wild && (entryName == "." || entryName == ".."))
            continue;
        struct stat st { };
        if (::stat((nativeFolder + "/" + entryName).c_str(), &st) != 0)
            continue;
        m_entries.push_back({ CString(entryName), AttributesOf(st),
            S_ISDIR(st.st_mode) ? 0 : static_cast<ULONGLONG>(st.st_size) });
    }
    ::closedir(dir);
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.name.CompareNoCase(b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    if (m_entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_next >= m_entries.size())
        return FALSE;
    ++m_next;
    return m_next < m_entries.size();
}

void CFileFind::Close()
{
    m_entries.clear();
    m_next = 0;
    m_root.Empty();
}

const CFileFind::Entry* CFileFind::Current() const
{
    return m_next == 0 || m_next > m_entries.size() ? nullptr : &m_entries[m_next - 1];
}

CString CFileFind::GetFileName() const
{
    const Entry* e = Current();
    return e ? e->name : CString();
}

CString CFileFind::GetFilePath() const
{
    const Entry* e = Current();
    if (!e)
        return CString();
    if (m_root.IsEmpty())
        return e->name;
    return m_root + m_separator + e->name;
}

CString CFileFind::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot <= 0 ? name : name.Left(dot);
}

ULONGLONG CFileFind::GetLength() const
{
    const Entry* e = Current();
    return e ? e->length : 0;
}

BOOL CFileFind::IsDirectory() const
{
    return MatchesMask(FILE_ATTRIBUTE_DIRECTORY);
}
BOOL CFileFind::IsReadOnly() const
{
    return MatchesMask(FILE_ATTRIBUTE_READONLY);
}

BOOL CFileFind::IsDots() const
{
    const CString name = GetFileName();
    return IsDirectory() && (name == "." || name == "..");
}

BOOL CFileFind::MatchesMask(DWORD mask) const
{
    const Entry* e = Current();
    return e && (e->attributes & mask) != 0;
}
