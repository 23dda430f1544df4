// The work screen's four sales-total screens: their set-up; their buttons
// are CResultScreens', the receive loop's steps (1326) the transfers'.

#include "db/db_messages.h"
#include "platform/base/file_system.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/result_kinds.h"
#include "screens/result_screens.h"
#include "screens/table_bridge.h"

CResultScreens& CKindOfView::GetResultScreens()
{
    return *m_pResults;
}

void CKindOfView::ShowResultScreen()
{
    const ResultKind* kind = FindResultKind(m_hintKind);
    if (!kind)
        return;
    if (m_captionPanel.GetSafeHwnd()) {
        m_captionPanel.SetCaption(m_nLanguage == 1 ? kind->koreanCaption : kind->englishCaption);
        m_captionPanel.SetTipText(m_nLanguage == 1 ? kind->koreanTip : kind->englishCaption);
    }
    Invalidate();
    HideAllPanels();
    m_scales.ClearScaleList();
    ShowControls({ 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1025, 1027, 1028, 1029, 1032, 1030,
                     1033, 1034, 1049 },
        FALSE);
    PlaceProgressGroup(50, 492);
    ShowControls({ 1050, 1052 }, TRUE);
    ShowControls({ 1051 }, kind->kind == DataKind::ResultAll);
    // A database picked in a file dialog has a native path: compared as files.
    ShowControls({ 1057 }, !IsSameFile(m_strItemDbPath, kResultSumPath));
    m_pResults->RequestResults(kind->kind);
    PlaceItemGrid();
}
