#include "db/reservation_dao_helper.h"

#include "platform/base/exception.h"

BOOL CReservationDaoHelper::OpenDatabase(CString path)
{
    try {
        CDaoHelper::OpenDatabase(path);
        return TRUE;
    } catch (CException* e) {
        ReportDaoError(TakeErrorText(e));
        return FALSE;
    }
}
