#pragma once
// CWorkScreenGrid: the work screen's grid (1005) as its parts see it: the
// grid itself, where the user clicked in it, its shape and the picks, and a
// cell's write-back as if typed. UI thread.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CGridCtrl;

class CWorkScreenGrid {
public:
    virtual CGridCtrl& Grid() = 0;
    // The grid row last clicked (0 for none); forgetting it also forgets the
    // clicked column, in the screen and in the grid.
    virtual int ClickedRow() const = 0;
    virtual void ForgetClickedCell() = 0;
    // The first column from start whose heading is title (-1 for none).
    virtual int FindColumn(const char* title, int start = 0) const = 0;

    // Cells made read-only, columns added (their headings empty), a row
    // inserted before position (its index).
    virtual void SetCellReadOnly(int row, int column) = 0;
    virtual void SetGridColumnCount(int count) = 0;
    virtual int InsertGridRow(const CString& heading, int position) = 0;
    // A grid of two rows and two columns, the trailing row "-->" and locked.
    virtual void RebuildGrid() = 0;
    // The grid's pick anchors forgotten; ClearPickedRows also its picks.
    virtual void ResetGridSelection() = 0;
    virtual void ClearPickedRows() = 0;

    // A cell's text checked and written back as if typed (the edit panel's
    // rule).
    virtual void OnGridCellEdited(int row, int column) = 0;

protected:
    ~CWorkScreenGrid() = default;
};
