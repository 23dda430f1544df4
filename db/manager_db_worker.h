#pragma once
// CManagerDbWorker: the left pane's request worker on the manager database.
// Serves requests whose table word is "Manager" (rows 0x401, no row 0x402, done
// 0x403, no header row); any other word shows "Right db read ok" and gets the
// done message at once.

#include "db/db_request_worker.h"

class CManagerDbWorker : public CDbRequestWorker {
public:
    CManagerDbWorker();

    using CDaoHelper::ProbeQuery;
};
