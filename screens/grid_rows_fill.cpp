// The column fill (command 32792): from the clicked cell down to the last
// data row, a column gets start, start + increment, ... and every filled cell
// is checked and stored as if it had been typed.

#include <climits>
#include <cstdlib>

#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/cell_editor.h"
#include "screens/grid_rows.h"
#include "screens/row_dialogs.h"
#include "screens/work_screen_context.h"

namespace {

// Text columns that a rising number would spoil.
constexpr const char* kRefusedKorean[] = { "상품명", "상품명2", "단가", "정금액", "문자열1", "문자열2",
    "문자열3", "문자열4", "문자열5", "문자열6", "문자열7", "문자열8", "문자열9", "문자열10", "원산지 명" };
constexpr const char* kRefusedEnglish[] = { "ITEM_NAME", "ITEM_NAME2", "UNITPRICE", "FIX_PRICE", "STR1",
    "STR2", "STR3", "STR4", "STR5", "STR6", "STR7", "STR8", "STR9", "STR10", "LAND_STR" };

bool Holds(const auto& titles, const CString& title)
{
    for (const char* t : titles) {
        if (title == t)
            return true;
    }
    return false;
}

} // namespace

void CGridRows::OnAutoValue()
{
    const std::optional<DataKind> kind = m_screen.HintKind();
    CGridCtrl& grid = m_grid.Grid();
    if (kind != DataKind::Item && kind != DataKind::Add && kind != DataKind::Adv
        && kind != DataKind::LandAddition)
        return;
    if (m_data.RefuseWhileBusy())
        return;
    const int row = m_nClickRow;
    const int column = m_nClickColumn;
    // A data cell: not the heading row, not the trailing row (nothing would be
    // filled there), not the heading column, not the ID column.
    if (row < 1 || row > grid.GetRowCount() - 2 || column < 1 || column > grid.GetColumnCount() - 2)
        return;
    const CString title = grid.GetItemText(0, column);
    if (Holds(kRefusedKorean, title)) {
        AfxMessageBox("해당항목은 사용할수 없습니다", MB_OK);
        return;
    }
    if (Holds(kRefusedEnglish, title)) {
        AfxMessageBox("This Column is not using ", MB_OK);
        return;
    }
    CAutoValueDlg dialog(&m_screen.Form());
    if (dialog.DoModal() != IDOK)
        return;
    const long start = std::strtol(dialog.GetStart().GetString(), nullptr, 10);
    const long increment = std::strtol(dialog.GetIncrement().GetString(), nullptr, 10);
    long value = start;
    const CMessageBoxRepeatFilter once; // a refusal is told once, not per row
    for (int r = row; r < grid.GetRowCount() - 1; ++r) {
        const int rows = grid.GetRowCount();
        // Written as an edit: a refused cell gets back the text it replaced
        // when even the stored value cannot be read.
        grid.SetCellTextAsEdit(r, column, CString::Formatted("%ld", value));
        m_editor.OnGridCellEdited(r, column);
        // A row found gone left the grid: the next row now stands at r.
        if (grid.GetRowCount() < rows)
            --r;
        // The sequence stops rising (or falling) at the ends of long.
        if (__builtin_add_overflow(value, increment, &value))
            value = increment > 0 ? LONG_MAX : LONG_MIN;
    }
}
