#pragma once
// CFile and CStdioFile: the class library's file objects over the system's
// files. File names are Windows paths (mapped by MapWindowsPath,
// platform/base/path.h) or native paths. Failures of Read, Write, Seek,
// SetLength, Flush and Close throw a heap-allocated CFileException.
// An object is used by one thread at a time.

#include <string>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/types.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens at once; throws CFileException* when the open fails.
    CFile(LPCTSTR fileName, UINT openFlags);
    // Closes the file when it is open; never throws.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens fileName. Access: modeRead, modeWrite or modeReadWrite. modeCreate
    // creates the file, truncating an existing one unless modeNoTruncate is
    // also given; without modeCreate the file must exist. The share flags and
    // modeNoInherit are accepted and have no effect. A folder cannot be opened.
    // On failure returns FALSE and, when error is given, fills its cause, errno
    // and file name.
    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);

    // Reads up to count bytes at the position; returns the count read, less
    // than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes at the position.
    virtual void Write(const void* buffer, UINT count);
    // Moves the position; returns the new position. A position before the
    // start throws (badSeek).
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    // Cuts or extends (with zeros) the file to length bytes.
    virtual void SetLength(ULONGLONG length);
    virtual void Flush();
    // Closes the file; a failing close throws. Closing a closed file does nothing.
    virtual void Close();
    // Closes without reporting failures.
    virtual void Abort();

    // The name as given to Open, its last component, and its title (the name
    // without extension).
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;

protected:
    // Throws CFileException* (invalidFile) when no file is open.
    void RequireOpen() const;
    [[noreturn]] void ThrowOsError(int osError) const;

private:
    int m_fd = -1;
    CString m_strFileName;
};

// A buffered text file. In text mode (the default) line ends are CR LF on disk
// and '\n' in the program; in both modes text is CP949 on disk and UTF-8 in the
// program.
class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    // Opens at once; throws CFileException* when the open fails.
    CStdioFile(LPCTSTR fileName, UINT openFlags);
    ~CStdioFile() override;

    BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

    // Writes text; in text mode each '\n' becomes CR LF on disk.
    virtual void WriteString(LPCTSTR text);

    // Reads the next line into text without its '\n' (a CR LF line end is
    // dropped whole in text mode). Returns FALSE at the end of the file when
    // nothing was read.
    virtual BOOL ReadString(CString& text);

    // fgets-style: reads at most maxLength - 1 bytes of the line, the '\n'
    // included when it fits, into buffer (UTF-8, NUL-terminated). A longer line
    // comes in pieces on the following calls; a character is never split. The
    // limit holds both for the bytes on disk and for the UTF-8 written, so the
    // buffer never overflows. Returns buffer, or nullptr at the end of the file.
    virtual LPTSTR ReadString(LPTSTR buffer, UINT maxLength);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG length) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    // Reads ahead until count unread bytes are buffered; false at the end.
    bool Ensure(std::size_t count);
    // The unread byte at offset, or -1 past the end of the file.
    int PeekAt(std::size_t offset);
    // Gives back what was read ahead, so the descriptor's position is ours.
    void DropReadAhead();
    // The next character (one or two CP949 bytes, CR LF folded to '\n' in text
    // mode) as UTF-8, without consuming it; returns its byte count on disk, 0 at
    // the end of the file.
    std::size_t PeekDiskChar(std::string& utf8);

    bool m_text = true;
    std::string m_readAhead;
    std::size_t m_readPos = 0;
};
