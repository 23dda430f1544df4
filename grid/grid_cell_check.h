#pragma once
// A cell with a check box at its left, toggled by a click on the box. The text
// starts after the box.

#include "grid/grid_cell.h"

class CGridCellCheck : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridCellCheck";

    // Sets the mark and redraws the cell where it was last drawn; the
    // previous mark.
    BOOL SetCheck(BOOL bChecked = TRUE);
    BOOL GetCheck() const { return m_bChecked; }

    // The ordinary drawing, then the box in its square.
    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
    BOOL GetTextRect(LPRECT pRect) override;
    CSize GetCellExtent(CDC* pDC) override;
    // A click inside the box toggles the mark.
    void OnClick(CPoint pointCellRelative) override;

    // The box's square in grid client coordinates (from the last drawing).
    CRect GetCheckPlacement() const;

protected:
    BOOL m_bChecked = FALSE;
    CRect m_Rect; // the cell as last drawn
};
