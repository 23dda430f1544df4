#pragma once
// Internal: the state behind CDaoDatabase, shared with CDaoRecordset.

#include <memory>
#include <mutex>

#include "platform/dao/dao_database.h"
#include "platform/dao/dao_engine.h"

struct CDaoDatabase::Impl {
    mutable std::mutex lock;
    std::shared_ptr<DaoConnection> connection;
    CString name;
    CString connect;
    long recordsAffected = 0;

    void CloseLocked()
    {
        DaoRelease(std::move(connection));
        connection.reset();
        name.Empty();
        connect.Empty();
    }
};
