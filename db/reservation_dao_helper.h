#pragma once
// CReservationDaoHelper: the synchronous helper of the reservation dialogs and
// the reservation transfer thread, always on the reservation database.

#include "db/dao_helper.h"

class CReservationDaoHelper : public CDaoHelper {
public:
    CReservationDaoHelper() = default;

    // Opens the file as CDaoHelper does, but a failure (missing file, not a
    // database, another key) is shown with the engine's text in a stop box
    // instead of thrown: FALSE then, and no database is open.
    BOOL OpenDatabase(CString path);

    using CDaoHelper::GetRecordAt;
    using CDaoHelper::GetRows;
    using CDaoHelper::GetValues;
};
