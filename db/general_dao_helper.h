#pragma once
// CGeneralDaoHelper: the synchronous helper of the settings and selection
// dialogs, the result dialogs and the results server. Its Execute closes the
// database after the statement, also after an error.

#include "db/dao_helper.h"

class CWnd;

class CGeneralDaoHelper : public CDaoHelper {
public:
    CGeneralDaoHelper() = default;

    // Remembers the owner window; the synchronous helper sends it nothing.
    void SetOwner(CWnd* owner) { m_pOwner = owner; }

    // Runs one statement, shows an error, then closes the database.
    void Execute(CString sql) override;

    using CDaoHelper::GetFirstRow;
    using CDaoHelper::GetRecordAt;
    using CDaoHelper::GetRows;
    using CDaoHelper::GetValueAt;
    using CDaoHelper::SumColumn;

private:
    CWnd* m_pOwner = nullptr;
};
