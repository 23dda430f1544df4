#pragma once
// CReservationDaoHelper: the synchronous helper of the reservation dialogs and
// the reservation transfer thread, always on the reservation database.

#include "db/dao_helper.h"

class CReservationDaoHelper : public CDaoHelper {
public:
    CReservationDaoHelper() = default;

    using CDaoHelper::GetRecordAt;
    using CDaoHelper::GetRows;
    using CDaoHelper::GetValues;
};
