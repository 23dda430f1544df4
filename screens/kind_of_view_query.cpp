// The work screen's query replies hand on to the table load; the grid
// routines the parts use through the screen's context.

#include "db/item_db_worker.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/result_screens.h"

namespace {

constexpr const char* kBusyText
    = "The work screen is still reading its table.\nTry again when it has finished.";

} // namespace

BOOL CKindOfView::RefuseWhileBusy()
{
    if (!m_pItemWorker->IsRequestInFlight())
        return FALSE;
    AfxMessageBox(kBusyText, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

LRESULT CKindOfView::OnDbQueryRow(WPARAM, LPARAM)
{
    m_load.OnDbQueryRow();
    return 1;
}

LRESULT CKindOfView::OnDbQueryEmpty(WPARAM, LPARAM)
{
    m_load.OnDbQueryEmpty();
    return 1;
}

LRESULT CKindOfView::OnDbQueryDone(WPARAM outcome, LPARAM)
{
    switch (m_load.OnDbQueryDone(outcome)) {
    case CTableLoad::LoadEnd::ManagersChanged:
        // The manager list is read afresh.
        m_mailbox.SetText(IDC_MAILBOX_NAME, "Mg_Reg_Read");
        m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
        m_users.RequestManagers();
        break;
    case CTableLoad::LoadEnd::ResultsLoaded:
        GetResultScreens().OnLoadDone();
        break;
    case CTableLoad::LoadEnd::None:
        break;
    }
    return 1;
}

// The grid rebuilt between the form's data exchanges.
void CKindOfView::RebuildGrid()
{
    UpdateData(TRUE);
    m_load.RebuildGrid();
    UpdateData(FALSE);
}

void CKindOfView::SplitScaleInfoRowText(CString row)
{
    m_scaleSettings.SplitScaleInfoRowText(row);
}
