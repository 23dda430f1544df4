// The table bridge's sales-total screens: the four SELECTs, their reply rows
// and the move of the shown totals into the result summary database.

#include <cstdlib>

#include "db/totals_move.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/grid_cells.h"
#include "screens/reply_row.h"
#include "screens/result_kinds.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"

void CTableBridge::RequestResults(DataKind read, const CString& databasePath, const CString& columnList)
{
    m_nColumnCount = m_nNextRow = m_nRowsReceived = 0;
    ClearRowBuffer();
    const ResultKind* kind = FindResultKind(read);
    CString name;
    const CString where = TakeUserWhere(name, " WHERE ");
    const CString columns = columnList.IsEmpty() ? ResultColumnList(*kind) : columnList;
    // The rows' titles.
    m_resultRead = read;
    SendSelect(databasePath, "SELECT " + columns + " FROM [" + kind->table + "]" + where, name);
}

void CTableBridge::OnResultRow(CString rowText)
{
    const int values = TakeReplyRow(rowText);
    CGridCtrl& grid = m_grid.Grid();
    if (m_nRowsReceived == 1) {
        SetGridColumnCount(m_grid.Grid(), values + 1);
        if (const ResultKind* kind = FindResultKind(m_resultRead)) {
            int column = 1;
            for (auto name = kind->columns.begin(); name != kind->columns.end() && column <= values; ++name)
                grid.SetItemText(0, column++, ResultColumnTitle(*name, m_screen.Language()));
        }
    } else {
        const int row = InsertListRow();
        for (int i = 0; row >= 0 && i < values; ++i)
            grid.SetItemText(row, i + 1, m_rowBuffer[i]);
    }
    ++m_nNextRow;
    Acknowledge();
}

BOOL CTableBridge::ImportScaleResults(
    CString sourcePath, CString summaryPath, std::optional<DataKind> read, CString userId)
{
    const ResultKind* kind = FindResultKind(read);
    if (!kind) {
        m_screen.SetUpdateLock(0);
        return FALSE;
    }
    TotalsMove move;
    move.sourcePath = sourcePath;
    move.targetPath = summaryPath;
    move.table = kind->table;
    for (const char* column : kind->columns) {
        if (CString(column) != "ID")
            move.columns.emplace_back(column);
    }
    move.userId = userId;
    const CGridCtrl& grid = m_grid.Grid();
    const int columns = static_cast<int>(kind->columns.size());
    for (int r = 1; r <= grid.GetRowCount() - 2; ++r) {
        const CString key = grid.GetItemText(r, columns);
        // Only a row with a whole-number key can be found in the file.
        if (IsIntegerKey(key))
            move.keys.push_back(std::strtoll(key.GetString(), nullptr, 10));
    }
    const TotalsMoveOutcome outcome = MoveTotals(move);
    m_screen.SetUpdateLock(0);
    if (!outcome.error.IsEmpty()) {
        AfxMessageBox(outcome.error + "\n\nNo totals were moved: they stay in the open item database.",
            MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (outcome.gone > 0)
        AfxMessageBox(CString::Formatted(kTotalsGoneText, outcome.gone, outcome.gone + outcome.moved),
            MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}
