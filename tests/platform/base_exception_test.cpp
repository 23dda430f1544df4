#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/base/exception.h"
#include "platform/base/resource_script.h"

namespace {

std::string g_reported;
UINT g_reportedType = 0;

int RecordReport(const char* text, UINT type)
{
    g_reported = text;
    g_reportedType = type;
    return 7;
}

class SocketLikeException : public CException {
public:
    SocketLikeException(const char* operation, int code)
        : m_operation(operation)
        , m_code(code)
    { }
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* help = nullptr) const override
    {
        CString text = m_code != 0 ? CString::Formatted("%s error #%d", m_operation.GetString(), m_code)
                                   : CString::Formatted("%s error", m_operation.GetString());
        return CopyErrorText(text, buffer, maxError, help);
    }

private:
    CString m_operation;
    int m_code;
};

} // namespace

TEST(ExceptionTest, ThrownByPointerAndDeletedByCatcher)
{
    try {
        AfxThrowFileException(CFileException::diskFull, ENOSPC, "C:\\x.mdb");
    } catch (CException* e) {
        auto* file = dynamic_cast<CFileException*>(e);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->m_cause, CFileException::diskFull);
        EXPECT_EQ(file->m_lOsError, ENOSPC);
        EXPECT_EQ(e->GetErrorText(), "Disk full while accessing C:\\x.mdb.");
        ExceptionPtr holder(e); // deletes it
    }
}

TEST(ExceptionTest, MessageIsCutWithTerminatorAndWholeCharacters)
{
    CFileException e(CFileException::fileNotFound, ENOENT, "C:\\저울.mdb");
    char buffer[8];
    UINT help = 99;
    EXPECT_TRUE(e.GetErrorMessage(buffer, sizeof buffer, &help));
    EXPECT_EQ(help, 0u);
    // 7 bytes fit: "C:\" and 저 (3 bytes); 울 would straddle the limit.
    EXPECT_STREQ(buffer, "C:\\저");
    EXPECT_FALSE(e.GetErrorMessage(buffer, 0));
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));

    CFileException none;
    buffer[0] = 'x';
    EXPECT_FALSE(none.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
}

TEST(ExceptionTest, OverriddenMessageIsUsedEverywhere)
{
    SocketLikeException withCode("Receive", 10054);
    SocketLikeException noCode("Receive timeout", 0);
    EXPECT_EQ(withCode.GetErrorText(), "Receive error #10054");
    EXPECT_EQ(noCode.GetErrorText(), "Receive timeout error");
    char small[8];
    withCode.GetErrorMessage(small, sizeof small);
    EXPECT_STREQ(small, "Receive");
}

TEST(ExceptionTest, ReportErrorGoesThroughTheInstalledReporter)
{
    AfxSetErrorReporter(RecordReport);
    CMemoryException memory;
    EXPECT_EQ(memory.ReportError(0x10), 7);
    EXPECT_EQ(g_reported, "Out of memory.");
    EXPECT_EQ(g_reportedType, 0x10u);

    // No text of its own: the string resource given is shown.
    std::vector<ResourceScriptError> errors;
    ASSERT_TRUE(AfxAddResourceScript("STRINGTABLE\n  61234 \"Operation stopped\"\nEND\n", "test", &errors));
    CUserException user;
    user.ReportError(0, 61234);
    EXPECT_EQ(g_reported, "Operation stopped");
    AfxSetErrorReporter(nullptr);
}

TEST(ExceptionTest, ErrnoMapsToCauses)
{
    EXPECT_EQ(CFileException::OsErrorToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::OsErrorToException(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToException(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::OsErrorToException(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(EXDEV), CFileException::genericException);
}

TEST(ExceptionTest, DeleteFreesOnlyHeapExceptions)
{
    // Stack objects, as the Open(..., &error) callers use, survive Delete().
    CFileException onStack(CFileException::badPath);
    onStack.Delete();
    EXPECT_EQ(onStack.m_cause, CFileException::badPath);
    CUserException second;
    second.Delete();

    // A heap exception with auto-delete off is the owner's to free.
    auto* kept = new CMemoryException();
    kept->m_bAutoDelete = FALSE;
    kept->Delete();
    EXPECT_EQ(kept->GetErrorText(), "Out of memory.");
    delete kept;
}
