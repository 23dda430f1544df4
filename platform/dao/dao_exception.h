#pragma once
// CDaoException: the error of the database engine, thrown by pointer like every
// class library exception (catch CDaoException* or CException*, then Delete()).
// m_pErrorInfo carries the engine's error number and its readable text.

#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/types.h"

struct CDaoErrorInfo {
    long m_lErrorCode = 0; // engine error number (3024 "Could not find file", ...)
    CString m_strSource; // "DAO.Database", "DAO.Recordset"
    CString m_strDescription; // readable engine text
    CString m_strHelpFile;
    long m_lHelpContext = 0;
};

class CDaoException : public CException {
public:
    CDaoException();
    CDaoException(long errorCode, const CString& source, const CString& description);
    ~CDaoException() override;

    // The text is m_pErrorInfo->m_strDescription, cut to maxError - 1 bytes.
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext = nullptr) const override;

    // One error record per exception in this engine.
    short GetErrorCount() const { return m_pErrorInfo ? 1 : 0; }

    CDaoErrorInfo* m_pErrorInfo = nullptr;
    long m_scode = 0;
    int m_nAfxDaoError = 0;

protected:
    CString ErrorText() const override;

private:
    std::unique_ptr<CDaoErrorInfo> m_info;
};

// Throws a heap-allocated CDaoException with the engine error and text.
[[noreturn]] void AfxThrowDaoException(
    long errorCode, const CString& description, const char* source = "DAO.Database");
