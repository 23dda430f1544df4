// What both transports read and write of the work screen: its grid, preset
// keys, manager, databases and default values, the serial mailbox, the lamps
// and the progress text, and the transfers' shared state.

#include "screens/transfer_hosts.h"

#include <algorithm>
#include <cstdlib>

#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/base/datetime.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/grid_rows.h"
#include "screens/item_defaults.h"
#include "screens/preset_keys.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_panels.h"
#include "shell/file_helpers.h"

namespace {

constexpr UINT kLampFlashMs = 15;
// The empty item database a received-data database starts from.
constexpr UINT kReceivedDataTemplate = 150;

} // namespace

CTransferHosts::CTransferHosts(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
    CWorkScreenDatabase& data, CPresetKeys& presetKeys, CItemDefaults& defaults, const CGridRows& rows)
    : m_screen(screen)
    , m_grid(grid)
    , m_panels(panels)
    , m_data(data)
    , m_presetKeys(presetKeys)
    , m_defaults(defaults)
    , m_rows(rows)
    , m_serialMailbox(nullptr)
{
    m_serialMailbox.Create(nullptr);
}

void CTransferHosts::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_SEND_LAMP, m_lampSend);
    DDX_Control(dx, IDC_WORK_RECV_LAMP, m_lampRecv);
}

void CTransferHosts::Start()
{
    m_lampSend.SetImage(32, 1, 0);
    m_lampRecv.SetImage(32, 1, 0);
}

// The typed numbers up to the first 0, in their order, each once: a scale keeps
// one record a number, and its second answer would read as a copy of the first.
void CTransferHosts::SetReceiveNumbers(const std::vector<int>& typed)
{
    m_recvNumbers.clear();
    for (int n : typed) {
        if (n == 0)
            break;
        if (std::find(m_recvNumbers.begin(), m_recvNumbers.end(), n) == m_recvNumbers.end())
            m_recvNumbers.push_back(n);
    }
}

HWND CTransferHosts::GetTransferWindow()
{
    return m_screen.Form().GetSafeHwnd();
}

int CTransferHosts::GetGridRowCount()
{
    return m_grid.Grid().GetRowCount();
}

CString CTransferHosts::GetGridItemText(int row, int column)
{
    return m_grid.Grid().GetItemText(row, column);
}

int CTransferHosts::GetGridColumnCount()
{
    return m_grid.Grid().GetColumnCount();
}

int CTransferHosts::GetCurrentGridRow()
{
    const int row = m_rows.GetClickedRow();
    return row >= 1 ? row : 1;
}

GridPicks CTransferHosts::GetTransferSelection()
{
    return m_grid.Grid().Picks();
}

int CTransferHosts::GetPresetPage()
{
    return m_presetKeys.GetComboPage();
}

std::vector<CString> CTransferHosts::GetPresetKeyTexts()
{
    return m_presetKeys.GetKeyTexts();
}

int CTransferHosts::GetPresetReadPage()
{
    CString text;
    m_screen.Form().GetDlgItemText(IDC_WORK_SCALE_RECV_PAGE, text);
    return static_cast<int>(std::strtol(text.GetString(), nullptr, 10));
}

CString CTransferHosts::GetUserId()
{
    return m_screen.UserId();
}

CString CTransferHosts::GetItemDbPath()
{
    return m_data.ItemDbPath();
}

int CTransferHosts::LoadDefaultValues()
{
    return m_defaults.LoadDefaultValues();
}

// Both transports tell their start and end once each: a count over both, so
// that the end of one leaves the other counted. The transfer buttons are grey
// while any transfer runs.
void CTransferHosts::SetTransferActive(int active)
{
    const int before = m_nTransferActive.load();
    if (active)
        ++m_nTransferActive;
    else if (before > 0)
        --m_nTransferActive;
    const int now = m_nTransferActive.load();
    if ((before == 0) != (now == 0)) {
        m_panels.EnableItemTransButtons(now == 0);
        m_panels.EnableScaleTransButtons(now == 0);
    }
}

void CTransferHosts::NoteReceivedRecord(const CString& request, const CString& sql)
{
    m_data.ItemWorker().Note(RequestOfName(request.View()), sql);
}

void CTransferHosts::ShowTransferProgress(const CString& text)
{
    m_screen.Form().SetDlgItemText(IDC_WORK_PROGRESS, text);
}

void CTransferHosts::FlashSendLamp()
{
    if (m_lampSend.GetSafeHwnd())
        m_lampSend.Flash(kLampFlashMs);
}

void CTransferHosts::FlashRecvLamp()
{
    if (m_lampRecv.GetSafeHwnd())
        m_lampRecv.Flash(kLampFlashMs);
}

CString CTransferHosts::MakeReceivedDataPath(const CString& scaleId)
{
    // Each scale's reads go into its own database, named by its ID, kept for
    // the run and told once.
    CString& path = m_receivedDataPaths[scaleId];
    if (path.IsEmpty()) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        path = CString::Formatted("C:\\ZUVAR\\ScaleData\\%4d-%02d-%02d\\%dHour\\%s.mdb", now.wYear,
            now.wMonth, now.wDay, now.wHour, scaleId);
        AfxMessageBox(path, MB_OK);
    }
    return path;
}

BOOL CTransferHosts::MakeReceivedDatabase(const CString& path)
{
    if (MakeDirectoryPath(path.Left(path.ReverseFind('\\')))
        && ProvisionDatabaseFile(kReceivedDataTemplate, path))
        return TRUE;
    AfxMessageBox(
        CString::Formatted("The received-data database %s could not be made.", path), MB_OK | MB_ICONSTOP);
    return FALSE;
}

// The button groups are the view's layout: one place for their ids.
void CTransferHosts::EnableItemTransButtons(BOOL enable)
{
    m_panels.EnableItemTransButtons(enable);
}

void CTransferHosts::EnableScaleTransButtons(BOOL enable)
{
    m_panels.EnableScaleTransButtons(enable);
}

void CTransferHosts::EnableTransStopButton(BOOL enable)
{
    m_panels.EnableTransStopButton(enable);
}
