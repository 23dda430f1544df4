#include "platform/dao/jet_status.h"

#include "platform/dao/dao_exception.h"

void ThrowIfFailed(const JetStatus& status, const char* source)
{
    if (!status.Ok())
        AfxThrowDaoException(static_cast<long>(status.code), status.text, source);
}
