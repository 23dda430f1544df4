#pragma once
// The cell routines the work screen's parts share on its grid (1005): the
// column search by heading, locked cells, and columns added with empty
// headings whose trailing-row cells stay locked like the others. UI thread.

class CGridCtrl;

// The first column from start whose row-0 heading is title, or -1.
[[nodiscard]] int FindColumn(const CGridCtrl& grid, const char* title, int start = 0);
// The cell made a plain text cell and locked against editing.
void SetCellReadOnly(CGridCtrl& grid, int row, int column);
// Columns added get empty headings, their trailing-row cells locked; a count
// the grid refuses is reported and nothing changes.
void SetGridColumnCount(CGridCtrl& grid, int count);
