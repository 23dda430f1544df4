#include "screens/result_screens.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/result_exchange.h"
#include "screens/result_kinds.h"
#include "screens/scale_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_hosts.h"
#include "screens/work_screen_context.h"
#include "shell/file_helpers.h"

CResultScreens::CResultScreens(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CScaleScreens& scales, CResultExchange& exchange, CTransferHosts& hosts)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_scales(scales)
    , m_exchange(exchange)
    , m_hosts(hosts)
{ }

const MessageMap* CResultScreens::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CResultScreens::OnReceive>(IDC_WORK_RESULT_RECV),
            OnCommandMsg<&CResultScreens::OnClear>(IDC_WORK_RESULT_CLEAR),
            OnCommandMsg<&CResultScreens::OnReload>(IDC_WORK_RESULT_RELOAD),
            OnCommandMsg<&CResultScreens::OnAccumulate>(IDC_WORK_RESULT_SUM),
        });
    return &kMap;
}

std::span<const PanelControl> CResultScreens::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_RESULT_RECV, PanelGroup::Result, "Result Receive" },
        { IDC_WORK_RESULT_CLEAR, PanelGroup::Result, "Result Clear" },
        { IDC_WORK_RESULT_RELOAD, PanelGroup::Result, "Reload Result" },
        { IDC_WORK_RESULT_SUM, PanelGroup::Result, "Result DB Sum" },
    };
    return kControls;
}

void CResultScreens::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_RESULT_RECV, m_btnReceive);
    DDX_Control(dx, IDC_WORK_RESULT_CLEAR, m_btnClear);
    DDX_Control(dx, IDC_WORK_RESULT_RELOAD, m_btnReload);
    DDX_Control(dx, IDC_WORK_RESULT_SUM, m_btnSum);
}

void CResultScreens::OnReceive()
{
    StartLoop(m_screen.ScreenKind(), FALSE);
}

void CResultScreens::OnClear()
{
    StartLoop(m_screen.ScreenKind(), TRUE);
}

void CResultScreens::RequestResults(DataKind read)
{
    m_screen.StartLoad([&] {
        m_screen.SetUpdateLock(1);
        m_data.TableBridge().Request(read, m_data.ItemDbPath());
    });
}

BOOL CResultScreens::ReloadResults()
{
    if (m_data.RefuseWhileBusy())
        return FALSE;
    CGridCtrl& grid = m_grid.Grid();
    for (int n = grid.GetRowCount() - 2; n > 0; --n)
        grid.DeleteRow(1);
    const ResultKind* kind = FindResultKind(m_screen.ScreenKind());
    if (!kind)
        return TRUE;
    const CString word = m_screen.Kind();
    m_data.DbMailbox().PutQuery(&word, m_screen.UserId());
    RequestResults(kind->kind);
    return TRUE;
}

void CResultScreens::OnReload()
{
    ReloadResults();
}

void CResultScreens::OnAccumulate()
{
    if (!ReloadResults())
        return;
    const int answer = m_screen.Language() == 1
        ? m_screen.Form().MessageBox(
            "누적을 실행하면 현재 열려있는 상품DB에 있는 집계정보는 사라집니다. 계속 하시겠습니까?", "주의",
            MB_YESNO | MB_ICONQUESTION)
        : m_screen.Form().MessageBox(
            "'This Result information be lost', To be continued?", "Attention", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES)
        return;
    Accumulate();
}

BOOL CResultScreens::IsLoopRunning() const
{
    return m_exchange.IsResultLoopRunning();
}

void CResultScreens::StartLoop(std::optional<DataKind> read, BOOL clear)
{
    if (IsLoopRunning()) {
        AfxMessageBox(kResultLoopBusyText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!clear && !read) {
        AfxMessageBox("This data cannot be transferred this way.", MB_OK | MB_ICONSTOP);
        return;
    }
    const DataKind kind = clear ? DataKind::ResultAllClear : *read;
    m_hosts.ClearSerialMailbox();
    const CCommSettings& settings = m_scales.CommSettings();
    if (!settings.GetMode()) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    if (!settings.IsSerial() && settings.GetChosen().empty()) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    m_exchange.StartResultExchange(clear ? TransferCommand::Trans : TransferCommand::Recv, kind);
}

void CResultScreens::Accumulate()
{
    MakeDirectoryPath(kResultSumFolder);
    if (!ProvisionDatabaseFile(150, kResultSumPath))
        return;
    Import import { m_data.ItemDbPath(), m_screen.ScreenKind(), m_screen.UserId() };
    // The reload's rows are still coming: the move waits for its done message.
    if (m_screen.GetUpdateLock()) {
        m_pending = import;
        return;
    }
    RunImport(import);
}

void CResultScreens::OnLoadDone()
{
    if (!m_pending)
        return;
    const Import import = *m_pending;
    m_pending.reset();
    RunImport(import);
}

void CResultScreens::RunImport(const Import& import)
{
    m_screen.SetUpdateLock(1);
    // A move that failed changed neither database: the rows stay shown.
    if (!m_data.TableBridge().ImportScaleResults(import.source, kResultSumPath, import.read, import.userId))
        return;
    CGridCtrl& grid = m_grid.Grid();
    for (int n = grid.GetRowCount() - 2; n > 0; --n)
        grid.DeleteRow(1);
    m_screen.Form().Invalidate();
}
