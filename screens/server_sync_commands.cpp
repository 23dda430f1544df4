// The Synchronization buttons 1065 and 1066: the screen's rows into the server
// database (server_sync.h), under the update lock with the buttons disabled.

#include <algorithm>
#include <optional>

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/dialogs/dialog.h"
#include "protocol/scale_records.h"
#include "resources/calvorn_ids.h"
#include "screens/item_defaults.h"
#include "screens/preset_keys.h"
#include "screens/server_sync.h"
#include "screens/server_sync_commands.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_panels.h"

namespace {

constexpr int kSmallModelKeys = 50;

// The grid's data rows: row 1 to the row before the trailing "-->" row.
std::vector<RecordRow> DataRows(CGridCtrl& grid)
{
    std::vector<RecordRow> rows;
    const int columns = grid.GetColumnCount();
    for (int r = 1; r <= grid.GetRowCount() - 2; ++r) {
        RecordRow row(static_cast<std::size_t>(std::max(columns, 1)));
        for (int c = 1; c < columns; ++c)
            row[static_cast<std::size_t>(c)] = grid.GetItemText(r, c).Str();
        rows.push_back(std::move(row));
    }
    return rows;
}

// Runs write on the opened server database; the result, or none when the
// database could not be opened (its error was shown).
template <typename Write>
std::optional<SyncResult> RunSync(const CString& path, const CString& userId, Write write)
{
    CServerSync sync(path, userId);
    if (!sync.Open())
        return std::nullopt;
    const SyncResult result = write(sync);
    sync.Close();
    return result;
}

void ShowOutcome(const std::optional<SyncResult>& result)
{
    if (result)
        AfxMessageBox(SyncOutcomeText(*result), MB_OK);
}

} // namespace

CServerSyncCommands::CServerSyncCommands(CWorkScreenState& screen, CWorkScreenGrid& grid,
    CWorkScreenPanels& panels, CWorkScreenDatabase& data, CPresetKeys& presetKeys, CItemDefaults& defaults)
    : m_screen(screen)
    , m_grid(grid)
    , m_panels(panels)
    , m_data(data)
    , m_presetKeys(presetKeys)
    , m_defaults(defaults)
{ }

const MessageMap* CServerSyncCommands::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CServerSyncCommands::OnSyncTables>(IDC_WORK_SYNC_TABLES),
            OnCommandMsg<&CServerSyncCommands::OnSyncPresetLabel>(IDC_WORK_SYNC_PRESET_LABEL),
        });
    return &kMap;
}

std::span<const PanelControl> CServerSyncCommands::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_SYNC_TABLES, PanelGroup::SyncTables, "Synchronization" },
        { IDC_WORK_SYNC_PRESET_LABEL, PanelGroup::SyncPreset, "Synchronization" },
    };
    return kControls;
}

void CServerSyncCommands::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_SYNC_TABLES, m_btnTables);
    DDX_Control(dx, IDC_WORK_SYNC_PRESET_LABEL, m_btnPresetLabel);
}

void CServerSyncCommands::EnablePresetLabelButton(BOOL enable)
{
    if (CWnd* button = m_screen.Form().GetDlgItem(IDC_WORK_SYNC_PRESET_LABEL))
        button->EnableWindow(enable);
}

void CServerSyncCommands::OnSyncTables()
{
    // The grid holds only part of its rows while a load streams them.
    if (m_data.RefuseWhileBusy())
        return;
    const std::optional<DataKind> kind = m_screen.HintKind();
    const BOOL storedItems = kind == DataKind::Item && m_defaults.LoadDefaultValues();
    m_screen.SetUpdateLock(1);
    m_panels.EnableEditButtons(FALSE);
    const std::vector<RecordRow> rows = DataRows(m_grid.Grid());
    const std::optional<SyncResult> result
        = RunSync(m_data.ServerDbPath(), m_screen.UserId(), [&](CServerSync& sync) {
              if (!storedItems)
                  return kind ? sync.WriteGridRows(*kind, rows) : SyncResult();
              std::vector<std::string> keys;
              for (const RecordRow& row : rows)
                  keys.emplace_back(Cell(row, 1));
              return sync.WriteStoredItems(m_data.ItemDbPath(), keys);
          });
    m_panels.EnableEditButtons(TRUE);
    m_screen.SetUpdateLock(0);
    ShowOutcome(result);
}

void CServerSyncCommands::OnSyncPresetLabel()
{
    if (m_data.RefuseWhileBusy())
        return;
    if (m_screen.HintKind() == DataKind::UserLabel) {
        SyncUserLabels();
        return;
    }
    if (m_screen.HintKind() != DataKind::Preset)
        return;
    EnablePresetLabelButton(FALSE);
    m_screen.SetUpdateLock(1);
    std::vector<std::string> keys;
    for (const CString& text : m_presetKeys.GetKeyTexts())
        keys.push_back(text.Str());
    keys.resize(static_cast<std::size_t>(m_presetKeys.GetKeyCount()));
    const std::optional<SyncResult> result = RunSync(m_data.ServerDbPath(), m_screen.UserId(),
        [&](CServerSync& sync) { return sync.WritePresetPage(m_presetKeys.GetPage(), keys); });
    m_screen.SetUpdateLock(0);
    EnablePresetLabelButton(TRUE);
    ShowOutcome(result);
}

void CServerSyncCommands::SyncUserLabels()
{
    EnablePresetLabelButton(FALSE);
    m_screen.SetUpdateLock(1);
    const std::vector<RecordRow> rows = DataRows(m_grid.Grid());
    const std::optional<SyncResult> result = RunSync(m_data.ServerDbPath(), m_screen.UserId(),
        [&](CServerSync& sync) { return sync.WriteUserLabels(rows); });
    m_screen.SetUpdateLock(0);
    EnablePresetLabelButton(TRUE);
    ShowOutcome(result);
}
