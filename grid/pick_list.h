#pragma once
// The multi-row pick list that hosts read after a Ctrl-click: the distinct
// data rows of the selection, highest row first, ended by the first 0.

#include "grid/selection_map.h"

inline constexpr int kPickListSize = 1000;

// Fills all kPickListSize entries of pickList with 0, then collects the rows of
// the selected cells (row 0 and rows already held are skipped) and then downRow
// when it is not held yet, never more than kPickListSize entries. Returns the
// number of entries collected; the caller sorts them.
int CollectPickedRows(const CGridSelectionMap& selected, int downRow, int* pickList);

// Removes every entry equal to row; the entries after it close up and the
// list ends with 0s.
void RemovePickedRow(int* pickList, int row);

// Shell sort of the first n keys in descending order, moving index[] along.
void SortPickKeysDescending(int n, int* keys, int* index);
