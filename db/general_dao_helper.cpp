#include "db/general_dao_helper.h"

void CGeneralDaoHelper::Execute(CString sql)
{
    CString error;
    if (!ExecuteLocked(sql, TRUE, error))
        ReportDaoError(error);
}
