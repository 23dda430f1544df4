#pragma once
// CWorkScreenGrid: the work screen's grid (1005) as its parts see it: the
// grid itself and its rebuild between the form's data exchanges. The clicked
// cell is CGridRows', a cell's write-back CCellEditor's and the shared cell
// routines are in screens/grid_cells.h. UI thread.

class CGridCtrl;

class CWorkScreenGrid {
public:
    virtual CGridCtrl& Grid() = 0;
    // A grid of two rows and two columns, the trailing row "-->" and locked.
    virtual void RebuildGrid() = 0;

protected:
    ~CWorkScreenGrid() = default;
};
