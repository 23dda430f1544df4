// The work screen's four sales-total screens: their set-up, the buttons
// Result Receive (1050), Result Clear (1051), Reload Result (1052) and Result
// DB Sum (1057), and the step of the receive loop (1326).

#include "db/db_messages.h"
#include "platform/base/file_system.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/result_kinds.h"
#include "screens/result_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_glue.h"

CResultScreens& CKindOfView::GetResultScreens()
{
    return *m_pResults;
}

void CKindOfView::RequestResults(DataKind read)
{
    StartLoad([&] {
        m_nUpdateLock = 1;
        m_pTableBridge->Request(read, m_strItemDbPath);
    });
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
    RequestResults(kind->kind);
    PlaceItemGrid();
}

void CKindOfView::OnResultReceive()
{
    StartResultLoop(m_kind, FALSE);
}

void CKindOfView::OnResultClear()
{
    StartResultLoop(m_kind, TRUE);
}

void CKindOfView::StartResultLoop(std::optional<DataKind> read, BOOL clear)
{
    GetResultScreens().StartLoop(read, clear);
}

void CKindOfView::ResultLoopStep(int index)
{
    m_pTransfers->ResultLoopStep(index);
}

LRESULT CKindOfView::OnResultStepDone(WPARAM, LPARAM)
{
    m_pTransfers->OnResultStepDone();
    return 1;
}

LRESULT CKindOfView::OnResultLoopNext(WPARAM, LPARAM)
{
    m_pTransfers->OnResultLoopNext();
    return 1;
}

BOOL CKindOfView::ReloadResults()
{
    if (RefuseWhileBusy())
        return FALSE;
    for (int n = m_grid.GetRowCount() - 2; n > 0; --n)
        m_grid.DeleteRow(1);
    const ResultKind* kind = FindResultKind(m_kind);
    if (!kind)
        return TRUE;
    m_mailbox.SetText(IDC_MAILBOX_NAME, m_strKind);
    m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
    RequestResults(kind->kind);
    return TRUE;
}

void CKindOfView::OnResultReload()
{
    ReloadResults();
}

void CKindOfView::OnResultAccumulate()
{
    if (!ReloadResults())
        return;
    const int answer = m_nLanguage == 1
        ? MessageBox("누적을 실행하면 현재 열려있는 상품DB에 있는 집계정보는 사라집니다. 계속 하시겠습니까?",
            "주의", MB_YESNO | MB_ICONQUESTION)
        : MessageBox(
            "'This Result information be lost', To be continued?", "Attention", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES)
        return;
    GetResultScreens().Accumulate();
}
