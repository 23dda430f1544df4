#pragma once
// The result grid of both result dialogs: a heading row, result rows headed
// "List %d", and a last read-only row headed "-->" above which every result
// row is inserted.

#include <vector>

#include "grid/grid_ctrl.h"

// Background of the grid's normal cells: RGB(255, 255, 224).
inline constexpr COLORREF kResultCellColour = 0x00E0FFFF;

// The opening grid: 2 x 2 with one fixed row and column, "-->" heading the
// last row, light yellow cells, drag and drop, headings that select, hidable
// columns, numeric sort. With images, the grid shows them and every heading
// of the fixed column gets one picked at random.
void ResetResultGrid(CGridCtrl& grid, CImageList* images);

// Columns 1.. titled in row 0; the "-->" row stays read-only.
void SetResultColumns(CGridCtrl& grid, const std::vector<const char*>& titles);

// A row above the "-->" row, headed "List %d" of its index, with texts in
// columns 1.. and every cell read-only. Its index.
int AddResultRow(CGridCtrl& grid, const std::vector<CString>& texts);
