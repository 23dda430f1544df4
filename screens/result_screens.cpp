#include "screens/result_screens.h"

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/result_exchange.h"
#include "screens/result_kinds.h"
#include "screens/result_loop.h"
#include "screens/scale_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_ports.h"
#include "screens/work_screen_context.h"
#include "serial/serial_transfer.h"
#include "shell/file_helpers.h"

CResultScreens::CResultScreens(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CScaleScreens& scales, CResultExchange& exchange)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_scales(scales)
    , m_exchange(exchange)
{ }

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
    m_exchange.ClearSerialMailbox();
    const CCommSettings& settings = m_scales.CommSettings();
    if (!settings.GetMode()) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    if (settings.IsSerial()) {
        StartSerial(kind);
        return;
    }
    if (settings.GetChosen().empty()) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    ResultLoopOrder order;
    order.command = clear ? TransferCommand::Trans : TransferCommand::Recv;
    order.kind = kind;
    order.databasePath = m_data.ItemDbPath();
    order.languageIndex = m_screen.Language();
    for (const CString& line : settings.GetChosen()) {
        order.addresses.push_back(CWorkScreenTransports::AddressOfLine(line));
        order.names.push_back(CWorkScreenTransports::NameOfLine(line));
    }
    m_exchange.StartResultLoop(order);
}

void CResultScreens::StartSerial(DataKind kind)
{
    SerialOrder order;
    order.command = kind == DataKind::ResultAllClear ? TransferCommand::Trans : TransferCommand::Recv;
    order.dataKind = kind;
    order.scope = TransferScope::All;
    order.scales = m_scales.CommSettings().GetChosen();
    order.comPort = m_scales.GetComPort();
    order.targetDatabase = m_data.ItemDbPath();
    // The clear goes to each scale's own ID, never as a broadcast.
    order.oneByOne = TRUE;
    m_exchange.StartSerialOrder(order);
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
