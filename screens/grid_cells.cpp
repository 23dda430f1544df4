#include "screens/grid_cells.h"

#include <typeinfo>

#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"

namespace {

// A plain text cell, editable.
void SetCellPlain(CGridCtrl& grid, int row, int column)
{
    const CGridCellBase* cell = grid.GetCell(row, column);
    if (!cell)
        return;
    if (typeid(*cell) != typeid(CGridCell))
        grid.SetCellType(row, column, GridCellClassOf<CGridCell>());
    grid.SetItemState(row, column, grid.GetItemState(row, column) & ~GRIDSTATE_READONLY);
}

} // namespace

int FindColumn(const CGridCtrl& grid, const char* title, int start)
{
    for (int c = start; c < grid.GetColumnCount(); ++c) {
        if (grid.GetItemText(0, c) == title)
            return c;
    }
    return -1;
}

void SetCellReadOnly(CGridCtrl& grid, int row, int column)
{
    SetCellPlain(grid, row, column);
    grid.SetItemState(row, column, grid.GetItemState(row, column) | GRIDSTATE_READONLY);
}

void SetGridColumnCount(CGridCtrl& grid, int count)
{
    const int old = grid.GetColumnCount();
    try {
        grid.SetColumnCount(count);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        e->ReportError();
        return;
    }
    for (int c = old; c < count; ++c)
        grid.SetItemText(0, c, "");
    // New cells of the trailing row stay locked like the others.
    const int last = grid.GetRowCount() - 1;
    for (int c = old; last > 0 && c < count; ++c)
        SetCellReadOnly(grid, last, c);
}
