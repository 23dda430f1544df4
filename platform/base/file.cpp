#include "platform/base/file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/cp949.h"
#include "platform/base/last_error.h"
#include "platform/base/path.h"
#include "platform/base/posix_io.h"

namespace {

constexpr UINT kAccessMask = 0x0003;
constexpr std::size_t kReadChunk = 4096;

int RetryOpen(const char* path, int flags)
{
    int fd;
    do {
        fd = ::open(path, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// ENOENT on a missing folder on the way is a bad path, as on Windows; on a
// missing file in an existing folder it is file-not-found.
int CauseForOpenError(int osError, const std::string& nativePath)
{
    if (osError == ENOENT) {
        const std::size_t slash = nativePath.find_last_of('/');
        struct stat st { };
        if (slash != std::string::npos && slash > 0
            && (::stat(nativePath.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
            return CFileException::badPath;
        return CFileException::fileNotFound;
    }
    return CFileException::OsErrorToException(osError);
}

// The read-only attribute, as GetFileAttributes reports it: no owner write bit.
bool IsReadOnlyFile(const struct stat& st)
{
    return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

void FillError(CFileException* error, int cause, int osError, LPCTSTR fileName)
{
    if (!error)
        return;
    error->m_cause = cause;
    error->m_lOsError = osError;
    error->m_strFileName = fileName;
}

} // namespace

CFile::CFile(LPCTSTR fileName, UINT openFlags)
{
    CFileException error;
    if (!CFile::Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error)
{
    if (m_fd >= 0)
        Abort();
    m_strFileName = fileName;
    const std::string native = MapWindowsPath(fileName ? fileName : "");
    if (native.empty()) {
        FillError(error, CFileException::badPath, ENOENT, fileName);
        return SetLastErrorFromErrno(ENOENT);
    }

    int flags = O_CLOEXEC;
    switch (openFlags & kAccessMask) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        FillError(error, CFileException::genericException, EINVAL, fileName);
        return SetLastErrorFromErrno(EINVAL);
    }
    const bool create = (openFlags & modeCreate) != 0;
    const bool truncate = create && (openFlags & modeNoTruncate) == 0;
    if (create)
        flags |= O_CREAT;

    int fd = RetryOpen(native.c_str(), flags);
    if (fd >= 0) {
        struct stat st { };
        const bool writes = (flags & O_ACCMODE) != O_RDONLY;
        if (::fstat(fd, &st) == 0 && (S_ISDIR(st.st_mode) || (writes && IsReadOnlyFile(st)))) {
            // A folder, or a file with the read-only attribute: no write access
            // for anyone, the superuser included (permission bits do not stop him).
            ::close(fd);
            fd = -1;
            errno = EACCES;
        } else if (truncate && ::ftruncate(fd, 0) != 0) {
            // A read-only open cannot cut the file itself.
            const int writable = RetryOpen(native.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            const int saved = errno;
            if (writable >= 0) {
                ::close(writable);
            } else {
                ::close(fd);
                fd = -1;
                errno = saved;
            }
        }
    }
    if (fd < 0) {
        const int osError = errno;
        FillError(error, CauseForOpenError(osError, native), osError, fileName);
        return SetLastErrorFromErrno(osError);
    }
    m_fd = fd;
    return TRUE;
}

void CFile::ThrowOsError(int osError) const
{
    // A read from a write-only file (or the reverse) is refused access.
    const int cause = osError == EBADF && m_fd >= 0 ? CFileException::accessDenied
                                                    : CFileException::OsErrorToException(osError);
    AfxThrowFileException(cause, osError, m_strFileName);
}

void CFile::RequireOpen() const
{
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count)
{
    RequireOpen();
    const ssize_t n = ReadFully(m_fd, buffer, count);
    if (n < 0)
        ThrowOsError(errno);
    return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count)
{
    RequireOpen();
    if (const int osError = WriteFully(m_fd, buffer, count))
        ThrowOsError(osError);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    RequireOpen();
    int whence = SEEK_SET;
    if (from == current)
        whence = SEEK_CUR;
    else if (from == end)
        whence = SEEK_END;
    else if (from != begin)
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    const off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const
{
    RequireOpen();
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowOsError(errno);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    RequireOpen();
    struct stat st { };
    if (::fstat(m_fd, &st) != 0)
        ThrowOsError(errno);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG length)
{
    RequireOpen();
    int rc;
    do {
        rc = ::ftruncate(m_fd, static_cast<off_t>(length));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        ThrowOsError(errno == EINVAL ? EBADF : errno);
}

void CFile::Flush()
{
    if (m_fd < 0)
        return;
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowOsError(errno);
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowOsError(errno);
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

CString CFile::GetFileName() const
{
    const int slash = m_strFileName.FindOneOf("\\/:");
    if (slash < 0)
        return m_strFileName;
    int last = -1;
    for (int i = 0; i < m_strFileName.GetLength(); ++i) {
        const char c = m_strFileName[i];
        if (c == '\\' || c == '/' || c == ':')
            last = i;
    }
    return m_strFileName.Mid(last + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

// CStdioFile

CStdioFile::CStdioFile(LPCTSTR fileName, UINT openFlags)
{
    CFileException error;
    if (!CStdioFile::Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile() = default;

BOOL CStdioFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error)
{
    m_readAhead.clear();
    m_readPos = 0;
    m_text = (openFlags & typeBinary) == 0;
    return CFile::Open(fileName, openFlags & ~(typeText | typeBinary), error);
}

bool CStdioFile::Ensure(std::size_t count)
{
    while (m_readAhead.size() - m_readPos < count) {
        if (m_readPos > 0) {
            m_readAhead.erase(0, m_readPos);
            m_readPos = 0;
        }
        char chunk[kReadChunk];
        const UINT n = CFile::Read(chunk, sizeof chunk);
        if (n == 0)
            return false;
        m_readAhead.append(chunk, n);
    }
    return true;
}

int CStdioFile::PeekAt(std::size_t offset)
{
    if (!Ensure(offset + 1))
        return -1;
    return static_cast<unsigned char>(m_readAhead[m_readPos + offset]);
}

void CStdioFile::DropReadAhead()
{
    const std::size_t unread = m_readAhead.size() - m_readPos;
    m_readAhead.clear();
    m_readPos = 0;
    if (unread > 0)
        CFile::Seek(-static_cast<LONGLONG>(unread), current);
}

std::size_t CStdioFile::PeekDiskChar(std::string& utf8)
{
    const int b0 = PeekAt(0);
    if (b0 < 0)
        return 0;
    if (b0 == '\n' || (m_text && b0 == '\r' && PeekAt(1) == '\n')) {
        utf8 = "\n";
        return b0 == '\n' ? 1 : 2;
    }
    std::size_t length = 1;
    if (IsCp949LeadByte(static_cast<unsigned char>(b0))) {
        const int b1 = PeekAt(1);
        if (b1 >= 0x41 && b1 <= 0xFE)
            length = 2;
    }
    utf8 = Cp949ToUtf8(std::string_view(m_readAhead).substr(m_readPos, length));
    return length;
}

BOOL CStdioFile::ReadString(CString& text)
{
    // CP949 trail bytes are never '\n', so the line ends at the first '\n' byte.
    std::string line;
    if (PeekAt(0) < 0) {
        text.Empty();
        return FALSE;
    }
    for (;;) {
        if (m_readPos >= m_readAhead.size() && !Ensure(1))
            break;
        const std::size_t from = m_readPos;
        const std::size_t newline = m_readAhead.find('\n', from);
        if (newline == std::string::npos) {
            line.append(m_readAhead, from, std::string::npos);
            m_readPos = m_readAhead.size();
            continue;
        }
        line.append(m_readAhead, from, newline - from);
        m_readPos = newline + 1;
        break;
    }
    if (m_text && !line.empty() && line.back() == '\r')
        line.pop_back();
    text = Cp949ToUtf8(line);
    return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR buffer, UINT maxLength)
{
    if (!buffer || maxLength == 0)
        return nullptr;
    if (PeekAt(0) < 0)
        return nullptr;
    // Counted in characters after line-end folding, like the C library's reader.
    const std::size_t limit = maxLength - 1;
    std::size_t diskCount = 0;
    std::string out;
    std::string utf8;
    while (diskCount < limit) {
        const std::size_t consumed = PeekDiskChar(utf8);
        if (consumed == 0)
            break;
        const std::size_t counted = utf8 == "\n" ? 1 : consumed;
        if (diskCount + counted > limit || out.size() + utf8.size() > limit) {
            if (!out.empty())
                break; // the rest of the line comes with the next call
            utf8 = "?"; // a double-byte character in a one- or two-byte buffer
        }
        m_readPos += consumed;
        diskCount += counted;
        out += utf8;
        if (utf8 == "\n")
            break;
    }
    std::memcpy(buffer, out.data(), out.size());
    buffer[out.size()] = '\0';
    return buffer;
}

void CStdioFile::WriteString(LPCTSTR text)
{
    if (!text)
        AfxThrowFileException(CFileException::genericException, EINVAL, GetFilePath());
    std::string bytes = Utf8ToCp949(text);
    if (m_text) {
        std::string converted;
        converted.reserve(bytes.size() + 8);
        for (const char c : bytes) {
            if (c == '\n')
                converted += '\r';
            converted += c;
        }
        bytes.swap(converted);
    }
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    auto* out = static_cast<char*>(buffer);
    UINT total = 0;
    const std::size_t buffered = m_readAhead.size() - m_readPos;
    if (buffered > 0) {
        total = static_cast<UINT>(std::min<std::size_t>(buffered, count));
        std::memcpy(out, m_readAhead.data() + m_readPos, total);
        m_readPos += total;
    }
    if (total < count)
        total += CFile::Read(out + total, count - total);
    return total;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    DropReadAhead();
    CFile::Write(buffer, count);
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from)
{
    DropReadAhead();
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readAhead.size() - m_readPos);
}

ULONGLONG CStdioFile::GetLength() const
{
    return CFile::GetLength();
}

void CStdioFile::SetLength(ULONGLONG length)
{
    DropReadAhead();
    CFile::SetLength(length);
}

void CStdioFile::Flush()
{
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Abort();
}
