#pragma once
// Helpers shared by the grid tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/grid_ctrl.h"

// Fills every cell with "r,c".
inline void FillCoordinates(CGridCtrl& grid)
{
    for (int r = 0; r < grid.GetRowCount(); ++r)
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            grid.SetItemText(r, c, CString::Formatted("%d,%d", r, c));
}

// The selected-cell set equals the cells whose state has the selected bit,
// and only the focus cell carries the focused bit.
inline ::testing::AssertionResult SelectionConsistent(const CGridCtrl& grid)
{
    int selectedBits = 0;
    for (int r = 0; r < grid.GetRowCount(); ++r) {
        for (int c = 0; c < grid.GetColumnCount(); ++c) {
            const UINT state = grid.GetItemState(r, c);
            const bool bit = (state & GRIDSTATE_SELECTED) != 0;
            const bool inMap = grid.GetSelectedCellMap().Contains(r, c);
            if (bit != inMap)
                return ::testing::AssertionFailure()
                    << "cell " << r << "," << c << " bit " << bit << " map " << inMap;
            selectedBits += bit ? 1 : 0;
            const bool focused = (state & GRIDSTATE_FOCUSED) != 0;
            if (focused != (grid.GetFocusCell() == CGridCellCoord(r, c)))
                return ::testing::AssertionFailure() << "focus bit at " << r << "," << c;
        }
    }
    if (selectedBits != grid.GetSelectedCount())
        return ::testing::AssertionFailure() << "map holds cells outside the grid";
    return ::testing::AssertionSuccess();
}

// Row r's texts in column c, top to bottom.
inline std::vector<std::string> ColumnTexts(const CGridCtrl& grid, int c)
{
    std::vector<std::string> out;
    for (int r = 0; r < grid.GetRowCount(); ++r)
        out.push_back(grid.GetItemText(r, c).Str());
    return out;
}
