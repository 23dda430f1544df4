// The settings the work screen reads: the saved communication settings and
// the POS check of the send commands; the item default values are
// CItemDefaults' (kind_of_view_defaults.cpp).

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/pos_codes.h"
#include "screens/transfer_port.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"

void CKindOfView::MakeDirectoryPath(const CString& path)
{
    ::MakeDirectoryPath(path);
}

int CKindOfView::LoadDefaultValues()
{
    return m_defaults.LoadDefaultValues();
}

CString CKindOfView::CheckPosCodes(const CString& scope)
{
    CString result;
    const int kindColumn = FindColumn("POS_KIND", 1);
    const int codeColumn = FindColumn("POS_CODE", 1);
    // A grid without the POS columns has nothing to check.
    if (kindColumn < 0 || codeColumn < 0)
        return result;
    std::vector<int> rows;
    if (scope == "all") {
        for (int r = 1; r <= m_grid.GetRowCount() - 2; ++r)
            rows.push_back(r);
    } else {
        rows = PickedRows(GridPickState(m_grid), m_grid.GetRowCount(), PickRule::Transfer);
    }
    for (int r : rows) {
        if (!PosCodeAccepted(m_grid.GetItemText(r, kindColumn), m_grid.GetItemText(r, codeColumn)))
            result += CString::Formatted("%7s number : pos code Err\r\n", m_grid.GetItemText(r, 1));
    }
    return result;
}
