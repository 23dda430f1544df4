#include "results/server_store_worker.h"

#include "db/checked_dao_helper.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_exception.h"

namespace {

// Jet's "Couldn't update; currently locked by another session."
constexpr long kJetLocked = 3260;
constexpr auto kRetryPause = std::chrono::milliseconds(100);

using Clock = std::chrono::steady_clock;

// The first value of the first row of sql, "FALSE" when there is none; FALSE
// with the engine's text when the query failed.
BOOL FirstValue(CCheckedDaoHelper& dao, const CString& sql, CString& value, CString& error)
{
    CCheckedDaoHelper::Rows rows;
    const CCheckedDaoHelper::Lookup found = dao.SelectQuiet(sql, &rows, error);
    if (found == CCheckedDaoHelper::Lookup::Failed)
        return FALSE;
    value = found == CCheckedDaoHelper::Lookup::Missing || rows.front().empty() ? CString(kDbNoRows)
                                                                                : rows.front().front();
    return TRUE;
}

// A lookup that fails (the store locked) is no missing item: the item is
// refused.
void LookUp(const StoreBatch& batch, StoreItem& item)
{
    try {
        CCheckedDaoHelper dao;
        SaleRow& row = item.row;
        dao.OpenDatabase(batch.serverPath);
        if (!FirstValue(dao, ItemNameSql(row.itemNumber, row.mgId), row.itemName, item.error)
            || !FirstValue(dao, ItemPosCodeSql(row.itemNumber, row.mgId), row.posCode, item.error))
            return;
        dao.OpenDatabase(batch.managerPath);
        CString ignored;
        (void)FirstValue(dao, ScaleNameSql(row.ip), row.scaleName, ignored);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        item.error = e->GetErrorText();
    }
}

// Begins the transaction, again after a lock until late; the failure's text.
CString Begin(CDaoDatabase& database, const StoreBatch& batch, Clock::time_point late)
{
    for (;;) {
        try {
            database.Open(batch.serverPath, FALSE, FALSE, kStoreDatabaseConnect);
            database.BeginTrans();
            return CString();
        } catch (CDaoException* e) {
            ExceptionPtr hold(e);
            const bool locked = e->m_pErrorInfo && e->m_pErrorInfo->m_lErrorCode == kJetLocked;
            if (!locked || Clock::now() >= late)
                return e->GetErrorText();
        }
        // The engine may refuse at once right after a wait ran out.
        std::this_thread::sleep_for(kRetryPause);
    }
}

void Insert(CDaoDatabase& database, StoreBatch& batch)
{
    CString refused; // the first insert's failure
    for (StoreItem& item : batch.items) {
        if (!item.error.IsEmpty())
            continue;
        try {
            database.Execute(SaleInsertSql(item.row), kDbExecuteOptions);
            item.stored = TRUE;
        } catch (CException* e) {
            ExceptionPtr hold(e);
            item.error = e->GetErrorText();
            if (refused.IsEmpty())
                refused = item.error;
        }
    }
    try {
        database.CommitTrans();
        return;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        // After a full disk, say, the engine has ended the transaction
        // itself: the commit fails for the insert's cause.
        batch.failure = refused.IsEmpty() ? e->GetErrorText() : refused;
    }
    for (StoreItem& item : batch.items)
        item.stored = FALSE; // the close rolls the transaction back
}

} // namespace

void StoreReports(StoreBatch& batch)
{
    const Clock::time_point late = batch.oldest + kReportStoreLimit;
    for (StoreItem& item : batch.items) {
        if (Clock::now() >= late)
            item.error = kReportNotInTime;
        else
            LookUp(batch, item);
    }
    const auto waiting = [&] {
        for (const StoreItem& item : batch.items)
            if (item.error.IsEmpty())
                return true;
        return false;
    };
    if (!waiting())
        return;
    CDaoDatabase database;
    batch.failure = Clock::now() < late ? Begin(database, batch, late) : CString(kReportNotInTime);
    if (batch.failure.IsEmpty())
        Insert(database, batch);
    for (StoreItem& item : batch.items) {
        if (!item.stored && item.error.IsEmpty())
            item.error = batch.failure;
    }
}

CServerStoreWorker::CServerStoreWorker(std::function<void()> finished)
    : m_finished(std::move(finished))
    , m_thread([this] { Run(); })
{ }

CServerStoreWorker::~CServerStoreWorker()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CServerStoreWorker::Start(StoreBatch batch)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_batch = std::move(batch);
        m_bWork = true;
        m_bDone = false;
    }
    m_bBusy = TRUE;
    m_wake.notify_all();
}

BOOL CServerStoreWorker::Done()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_bDone ? TRUE : FALSE;
}

StoreBatch CServerStoreWorker::Take()
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_wake.wait(guard, [this] { return m_bDone; });
    m_bDone = false;
    m_bBusy = FALSE;
    return std::move(m_batch);
}

void CServerStoreWorker::Run()
{
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [this] { return m_bWork || m_bStop; });
        if (m_bStop)
            return;
        StoreBatch batch = std::move(m_batch);
        m_bWork = false;
        guard.unlock();
        StoreReports(batch);
        guard.lock();
        m_batch = std::move(batch);
        m_bDone = true;
        m_wake.notify_all();
        guard.unlock();
        m_finished();
        guard.lock();
    }
}
