#include "results/registered_addresses.h"

#include "db/checked_dao_helper.h"
#include "platform/base/exception.h"
#include "results/server_queries.h"

bool CRegisteredAddresses::Contains(const CString& ip)
{
    RefreshIfDue();
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_bRead || m_addresses.count(ip.Str()) > 0;
}

void CRegisteredAddresses::RefreshIfDue()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const auto now = std::chrono::steady_clock::now();
        if (m_bReading || now < m_due)
            return;
        m_bReading = true;
    }
    std::set<std::string> addresses;
    bool read = false;
    CCheckedDaoHelper dao;
    try {
        dao.OpenDatabase(m_strPath);
        CCheckedDaoHelper::Rows rows;
        CString error;
        read = dao.SelectQuiet(ScaleAddressesSql(), &rows, error) != CCheckedDaoHelper::Lookup::Failed;
        for (const auto& row : rows)
            if (!row.empty())
                addresses.insert(row.front().Str());
    } catch (CException* e) {
        ExceptionPtr hold(e);
        read = false;
    }
    dao.CloseDatabase();
    std::lock_guard<std::mutex> guard(m_lock);
    m_bReading = false;
    m_due = std::chrono::steady_clock::now() + (read ? m_refresh : 10 * m_refresh);
    if (!read)
        return;
    m_addresses.swap(addresses);
    m_bRead = true;
}
