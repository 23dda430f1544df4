#include "db/checked_dao_helper.h"

#include "platform/base/exception.h"

CCheckedDaoHelper::Lookup CCheckedDaoHelper::Select(const CString& sql, Rows* rows)
{
    CString error;
    const Lookup found = SelectQuiet(sql, rows, error);
    if (found == Lookup::Failed)
        ReportError(error);
    return found;
}

CCheckedDaoHelper::Lookup CCheckedDaoHelper::SelectQuiet(const CString& sql, Rows* rows, CString& error)
{
    QueryResult result = Query(sql);
    if (!result.ok) {
        error = result.error;
        return Lookup::Failed;
    }
    const Lookup found = result.rows.empty() ? Lookup::Missing : Lookup::Found;
    if (rows)
        *rows = std::move(result.rows);
    return found;
}

BOOL CCheckedDaoHelper::ExecuteChecked(const CString& sql)
{
    CString error;
    if (ExecuteLocked(sql, FALSE, error))
        return TRUE;
    ReportError(error);
    return FALSE;
}

void CCheckedDaoHelper::BeginBatch()
{
    m_strLostBatch.Empty();
    OpenBatch();
}

void CCheckedDaoHelper::OpenBatch()
{
    std::lock_guard<std::mutex> lock(m_lock);
    try {
        m_database->BeginTrans();
        m_bBatch = TRUE;
    } catch (CException* e) {
        e->Delete(); // no database: the statements run one by one
    }
}

BOOL CCheckedDaoHelper::EndBatch()
{
    CString error;
    if (!CommitBatch(error))
        ReportDaoError(error);
    const BOOL lost = !m_strLostBatch.IsEmpty();
    m_strLostBatch.Empty();
    return error.IsEmpty() && !lost;
}

BOOL CCheckedDaoHelper::CommitBatch(CString& error)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bBatch)
        return TRUE;
    m_bBatch = FALSE;
    try {
        m_database->CommitTrans();
        return TRUE;
    } catch (CException* e) {
        error = TakeErrorText(e);
    }
    try {
        m_database->Rollback();
    } catch (CException* e) {
        e->Delete(); // the engine ended the transaction itself
    }
    return FALSE;
}

void CCheckedDaoHelper::ReportError(const CString& text)
{
    const BOOL batch = m_bBatch;
    CString error;
    if (!CommitBatch(error)) {
        m_strLostBatch = error;
        ReportDaoError(error);
    }
    ReportDaoError(text);
    if (batch)
        OpenBatch();
}
