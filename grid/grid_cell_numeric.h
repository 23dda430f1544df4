#pragma once
// A cell edited with a text editor that takes digits only.

#include "grid/grid_cell.h"

class CGridCellNumeric : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridCellNumeric";

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
};
