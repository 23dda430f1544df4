#pragma once
// The class library's exceptions. They are thrown by pointer, as the class library
// does: the thrower allocates (`throw new CFileException(...)`, or one of the
// AfxThrowXxx helpers), the catcher takes `CException*` (or a derived pointer) and
// calls Delete() when done. Deriving classes override GetErrorMessage.

#include <cstddef>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CException {
public:
    // autoDelete: Delete() frees the object (TRUE for every heap-allocated throw).
    explicit CException(BOOL autoDelete = TRUE);
    virtual ~CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Copies the error text into buffer (at most maxError - 1 bytes plus a NUL; a
    // cut never splits a UTF-8 sequence). helpContext, when given, is set to 0.
    // Returns FALSE, with an empty buffer, when the exception carries no text.
    virtual BOOL GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext = nullptr) const;

    // The error text as a whole (what GetErrorMessage would copy with no limit).
    CString GetErrorText() const;

    // Shows the error text in a message box of the given type (see
    // AfxSetErrorReporter); messageId's string is used when there is no text.
    // Returns the box's answer.
    virtual int ReportError(UINT type = 0, UINT messageId = 0) const;

    // Frees the exception when it was allocated with new and m_bAutoDelete is
    // set; a no-op for an exception on the stack or in a member.
    void Delete();

    // Record whether an exception lives on the heap, so Delete() is safe.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    BOOL m_bAutoDelete;

protected:
    // Derived classes fill in their text through this; the default is none.
    virtual CString ErrorText() const { return CString(); }
    // Helper for GetErrorMessage overrides: copies text with the same rules.
    static BOOL CopyErrorText(const CString& text, LPTSTR buffer, UINT maxError, UINT* helpContext);

private:
    bool m_onHeap;
};

// Deleter for holding a caught exception in a unique_ptr: ExceptionPtr e(caught);
struct ExceptionDeleter {
    void operator()(CException* e) const
    {
        if (e)
            e->Delete();
    }
};
using ExceptionPtr = std::unique_ptr<CException, ExceptionDeleter>;

// Out of memory.
class CMemoryException : public CException {
protected:
    CString ErrorText() const override { return "Out of memory."; }
};

// An operation the object does not support.
class CNotSupportedException : public CException {
protected:
    CString ErrorText() const override { return "An unsupported operation was attempted."; }
};

// A resource could not be found or allocated (for example, a window class).
class CResourceException : public CException {
protected:
    CString ErrorText() const override { return "A required resource was unavailable."; }
};

// Stops an operation after the user has been told why; carries no text, and the
// dispatcher shows nothing for it.
class CUserException : public CException { };

// A file operation failed. m_cause is one of the causes below; m_lOsError the
// system error number (errno) or -1; m_strFileName the path as the caller gave it.
class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr)
        : m_cause(cause)
        , m_lOsError(osError)
        , m_strFileName(fileName)
    { }

    // Maps an errno value to a cause (ENOENT -> fileNotFound, EACCES -> accessDenied ...).
    static int OsErrorToException(LONG osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;

protected:
    CString ErrorText() const override;
};

// Called by ReportError to show an exception's text. The window layer installs
// its message box; without one, the text goes to stderr and the result is IDOK.
using ErrorReporter = int (*)(const char* text, UINT type);
void AfxSetErrorReporter(ErrorReporter reporter);

// Throw helpers (heap-allocated, caught as pointers).
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const char* fileName = nullptr);
