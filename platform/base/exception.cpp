#include "platform/base/exception.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/base/resource_script.h"

namespace {

std::atomic<ErrorReporter> g_reporter { nullptr };

// Set by CException::operator new, taken by the constructor that follows it.
thread_local bool t_allocatingException = false;

constexpr int kIdOk = 1;

// Length of the longest prefix of text[0, limit) that ends on a UTF-8 boundary.
std::size_t Utf8Prefix(const std::string& text, std::size_t limit)
{
    if (limit >= text.size())
        return text.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

} // namespace

CException::CException(BOOL autoDelete)
    : m_bAutoDelete(autoDelete)
    , m_onHeap(t_allocatingException)
{
    t_allocatingException = false;
}

void* CException::operator new(std::size_t size)
{
    void* block = ::operator new(size);
    t_allocatingException = true;
    return block;
}

void CException::operator delete(void* block) noexcept
{
    ::operator delete(block);
}

BOOL CException::CopyErrorText(const CString& text, LPTSTR buffer, UINT maxError, UINT* helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxError == 0)
        return FALSE;
    const std::size_t n = Utf8Prefix(text.Str(), maxError - 1);
    std::memcpy(buffer, text.GetString(), n);
    buffer[n] = '\0';
    return text.IsEmpty() ? FALSE : TRUE;
}

BOOL CException::GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext) const
{
    return CopyErrorText(ErrorText(), buffer, maxError, helpContext);
}

CString CException::GetErrorText() const
{
    // Ask through the virtual GetErrorMessage so overrides of it are honoured.
    std::string buffer(4096, '\0');
    GetErrorMessage(buffer.data(), static_cast<UINT>(buffer.size()));
    return CString(buffer.c_str());
}

int CException::ReportError(UINT type, UINT messageId) const
{
    CString text = GetErrorText();
    if (text.IsEmpty()) {
        if (messageId == 0 || !AfxLoadString(messageId, text))
            text = "An unsupported operation was attempted.";
    }
    if (const ErrorReporter reporter = g_reporter.load())
        return reporter(text, type);
    std::fprintf(stderr, "%s\n", text.GetString());
    return kIdOk;
}

void CException::Delete()
{
    if (m_bAutoDelete && m_onHeap)
        delete this;
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case EIO:
        return hardIO;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    default:
        return genericException;
    }
}

CString CFileException::ErrorText() const
{
    const char* name = m_strFileName.IsEmpty() ? "an unnamed file" : m_strFileName.GetString();
    switch (m_cause) {
    case none:
        return CString();
    case fileNotFound:
        return CString::Formatted("%s was not found.", name);
    case badPath:
        return CString::Formatted("All or part of the path %s is not valid.", name);
    case tooManyOpenFiles:
        return CString::Formatted("%s could not be opened because there are too many open files.", name);
    case accessDenied:
        return CString::Formatted("Access to %s was denied.", name);
    case invalidFile:
        return CString::Formatted("An invalid file handle was associated with %s.", name);
    case removeCurrentDir:
        return CString::Formatted("%s could not be removed because it is the current directory.", name);
    case directoryFull:
        return CString::Formatted("%s could not be created because the directory is full.", name);
    case badSeek:
        return CString::Formatted("Seek failed on %s.", name);
    case hardIO:
        return CString::Formatted("A hardware I/O error was reported while accessing %s.", name);
    case sharingViolation:
        return CString::Formatted("A sharing violation occurred while accessing %s.", name);
    case lockViolation:
        return CString::Formatted("A locking violation occurred while accessing %s.", name);
    case diskFull:
        return CString::Formatted("Disk full while accessing %s.", name);
    case endOfFile:
        return CString::Formatted("An attempt was made to access %s past its end.", name);
    default:
        return CString::Formatted("An unexpected error occurred while accessing %s.", name);
    }
}

void AfxSetErrorReporter(ErrorReporter reporter)
{
    g_reporter.store(reporter);
}

void AfxThrowMemoryException()
{
    throw new CMemoryException();
}
void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException();
}
void AfxThrowResourceException()
{
    throw new CResourceException();
}
void AfxThrowUserException()
{
    throw new CUserException();
}
void AfxThrowFileException(int cause, LONG osError, const char* fileName)
{
    throw new CFileException(cause, osError, fileName);
}
