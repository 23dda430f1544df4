#include "screens/result_screens.h"

#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/result_kinds.h"
#include "screens/result_loop.h"
#include "screens/table_bridge.h"
#include "screens/transfer_ports.h"
#include "serial/serial_transfer.h"
#include "shell/file_helpers.h"

CResultScreens::CResultScreens(CKindOfView& view)
    : m_view(view)
{ }

CResultScreens::~CResultScreens() = default;

CResultLoop* CResultScreens::Loop()
{
    if (!m_pLoop && m_view.GetTransports())
        m_pLoop = std::make_unique<CResultLoop>(m_view.GetTransports()->Jobs(), m_view.GetSafeHwnd());
    return m_pLoop.get();
}

BOOL CResultScreens::IsLoopRunning() const
{
    const CSerialTransfer* serial = m_view.GetSerialTransfer();
    return (m_pLoop && m_pLoop->IsRunning()) || (serial && serial->IsRunning());
}

void CResultScreens::StartLoop(const CString& requestWord, BOOL clear)
{
    if (IsLoopRunning()) {
        AfxMessageBox(kResultLoopBusyText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_view.m_nSerialStop.store(0);
    m_view.m_serialMailbox.ClearAll();
    m_view.m_nSerialScaleIndex = m_view.m_nSerialScaleCount = 0;
    m_view.m_nEthThreadCount = m_view.m_nBroadcast = 0;
    const CCommSettings& settings = m_view.Scales().CommSettings();
    if (settings.GetMode() < 0) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    if (settings.IsSerial()) {
        StartSerial(requestWord, clear);
        return;
    }
    if (settings.m_scales.empty()) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    CResultLoop* loop = Loop();
    if (!loop)
        return;
    ResultLoopOrder order;
    order.command = clear ? "TRANS" : "RECV";
    order.kind = clear ? CString(kResultClearWord) : requestWord;
    order.databasePath = m_view.m_strItemDbPath;
    order.languageIndex = m_view.m_nLanguage;
    for (const CString& line : settings.m_scales)
        order.addresses.push_back(CWorkScreenTransports::AddressOfLine(line));
    m_view.m_nEthThreadCount = static_cast<int>(order.addresses.size());
    loop->Start(order);
}

void CResultScreens::StartSerial(const CString& word, BOOL clear)
{
    CSerialTransfer* serial = m_view.GetSerialTransfer();
    if (!serial)
        return;
    SerialOrder order;
    order.command = clear ? "TRANS" : "RECV";
    order.dataKind = clear ? CString(kResultClearWord) : word;
    order.scope = "all";
    order.scales = m_view.Scales().CommSettings().m_scales;
    order.comPort = m_view.Scales().GetComPort();
    order.targetDatabase = m_view.m_strItemDbPath;
    // The clear goes to each scale's own ID, never as a broadcast.
    order.oneByOne = TRUE;
    serial->Start(order);
}

void CResultScreens::Accumulate()
{
    CKindOfView::MakeDirectoryPath(kResultSumFolder);
    if (!ProvisionDatabaseFile(150, kResultSumPath))
        return;
    Import import { m_view.m_strItemDbPath, m_view.m_strKind, m_view.m_strUserId };
    // The reload's rows are still coming: the move waits for its done message.
    if (m_view.m_nUpdateLock) {
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
    m_view.m_nUpdateLock = 1;
    m_view.m_pTableBridge->ImportScaleResults(import.source, kResultSumPath, import.word, import.userId);
    for (int n = m_view.m_grid.GetRowCount() - 2; n > 0; --n)
        m_view.m_grid.DeleteRow(1);
    m_view.Invalidate();
}
