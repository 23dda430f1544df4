// The Synchronization buttons 1065 and 1066: the screen's rows into the server
// database (server_sync.h), under the update lock with the buttons disabled.

#include <algorithm>
#include <optional>

#include "ethernet/scale_records.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/server_sync.h"

namespace {

constexpr int kPresetHint = 3;
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

void CKindOfView::OnSyncTables()
{
    const BOOL storedItems = m_nHint == kKindItem && LoadDefaultValues();
    m_nUpdateLock = 1;
    EnableEditButtons(FALSE);
    const std::vector<RecordRow> rows = DataRows(m_grid);
    const std::optional<SyncResult> result = RunSync(m_strServerDbPath, m_strUserId, [&](CServerSync& sync) {
        if (!storedItems)
            return sync.WriteGridRows(m_nHint, rows);
        std::vector<std::string> keys;
        for (const RecordRow& row : rows)
            keys.emplace_back(Cell(row, 1));
        return sync.WriteStoredItems(m_strItemDbPath, keys);
    });
    EnableEditButtons(TRUE);
    m_nUpdateLock = 0;
    ShowOutcome(result);
}

void CKindOfView::OnSyncPresetLabel()
{
    if (m_nHint == kKindUserLabel) {
        SyncUserLabels();
        return;
    }
    if (m_nHint != kPresetHint)
        return;
    m_btnSyncPresetLabel.EnableWindow(FALSE);
    m_nUpdateLock = 1;
    std::vector<std::string> keys;
    for (const CString& text : GetPresetKeyTexts())
        keys.push_back(text.Str());
    keys.resize(static_cast<std::size_t>(m_presetKeys.GetKeyCount()));
    const std::optional<SyncResult> result = RunSync(m_strServerDbPath, m_strUserId,
        [&](CServerSync& sync) { return sync.WritePresetPage(m_presetKeys.GetPage(), keys); });
    m_nUpdateLock = 0;
    m_btnSyncPresetLabel.EnableWindow(TRUE);
    ShowOutcome(result);
}

void CKindOfView::SyncUserLabels()
{
    m_btnSyncPresetLabel.EnableWindow(FALSE);
    m_nUpdateLock = 1;
    const std::vector<RecordRow> rows = DataRows(m_grid);
    const std::optional<SyncResult> result = RunSync(
        m_strServerDbPath, m_strUserId, [&](CServerSync& sync) { return sync.WriteUserLabels(rows); });
    m_nUpdateLock = 0;
    m_btnSyncPresetLabel.EnableWindow(TRUE);
    ShowOutcome(result);
}
