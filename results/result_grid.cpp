#include "results/result_grid.h"

#include <cstdlib>

namespace {

void MarkReadOnly(CGridCtrl& grid, int row, int firstColumn)
{
    for (int c = firstColumn; c < grid.GetColumnCount(); ++c)
        grid.SetItemState(row, c, grid.GetItemState(row, c) | GRIDSTATE_READONLY);
}

} // namespace

void ResetResultGrid(CGridCtrl& grid, CImageList* images)
{
    if (images)
        grid.SetImageList(images);
    grid.EnableDragAndDrop(TRUE);
    grid.GetDefaultCell(FALSE, FALSE)->SetBackClr(kResultCellColour);
    grid.SetEditable(TRUE);
    grid.SetVirtualMode(FALSE);
    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetAutoSizeStyle(3);
    const int imageCount = images ? images->GetImageCount() : 0;
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            GRIDITEM item;
            item.row = r;
            item.col = c;
            item.mask = GRIDITEM_TEXT;
            item.strText = r == 1 && c == 0 ? "-->" : "";
            if (c == 0 && imageCount > 0) {
                item.mask |= GRIDITEM_IMAGE;
                item.iImage = std::rand() % imageCount;
            }
            grid.SetItem(&item);
        }
    }
    MarkReadOnly(grid, 1, 0);
    grid.AutoSize();
    grid.SetListMode(FALSE);
    grid.SetFixedRowSelection(TRUE);
    grid.SetFixedColumnSelection(TRUE);
    grid.AllowColumnHide(TRUE);
    grid.AutoSize();
    grid.SetCompareFunction(CGridCtrl::CompareItemNumber);
    grid.Invalidate();
}

void SetResultColumns(CGridCtrl& grid, const std::vector<const char*>& titles)
{
    grid.SetColumnCount(static_cast<int>(titles.size()) + 1);
    for (size_t i = 0; i < titles.size(); ++i)
        grid.SetItemText(0, static_cast<int>(i) + 1, titles[i]);
    MarkReadOnly(grid, grid.GetRowCount() - 1, 0);
}

int AddResultRow(CGridCtrl& grid, const std::vector<CString>& texts)
{
    const int row = grid.GetRowCount() - 1;
    grid.InsertRow(CString::Formatted("List %d", row), row);
    for (size_t i = 0; i < texts.size() && static_cast<int>(i) + 1 < grid.GetColumnCount(); ++i)
        grid.SetItemText(row, static_cast<int>(i) + 1, texts[i]);
    MarkReadOnly(grid, row, 1);
    return row;
}
