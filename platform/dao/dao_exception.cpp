#include "platform/dao/dao_exception.h"

CDaoException::CDaoException()
    : m_info(std::make_unique<CDaoErrorInfo>())
{
    m_pErrorInfo = m_info.get();
}

CDaoException::CDaoException(long errorCode, const CString& source, const CString& description)
    : CDaoException()
{
    m_info->m_lErrorCode = errorCode;
    m_info->m_strSource = source;
    m_info->m_strDescription = description;
}

CDaoException::~CDaoException() = default;

CString CDaoException::ErrorText() const
{
    return m_pErrorInfo ? m_pErrorInfo->m_strDescription : CString();
}

BOOL CDaoException::GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext) const
{
    return CopyErrorText(ErrorText(), buffer, maxError, helpContext);
}

void AfxThrowDaoException(long errorCode, const CString& description, const char* source)
{
    throw new CDaoException(errorCode, source, description);
}
