// The work screen's busy check, the grid's rebuild and the settings rows read
// back, as its parts see them through the screen's context.

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
