#pragma once
// The grid's pick state as a host reads it, and the rules that turn it into
// the data rows a command acts on. Data rows are 1 to row count - 2: row 0 is
// the heading row and the last row is no data row.

#include <vector>

// The grid's pick state, copied when a command counts its rows.
struct GridPicks {
    int listFlag = 0; // rows picked one by one (control-click)
    std::vector<int> pickedRows; // in pick order; the first 0 ends them
    int rangeFlag = 0; // a range picked with shift
    int rangeA = 0;
    int rangeB = 0; // the range's ends, either order
    int firstRow = 0;
    int lastRow = 0; // the rows where the button went down and up, either order
    int clickRow = 0; // the row of the last click
};

// Where the commands differ once neither picks nor a shift range are set:
// - Transfer: the rows from the button-down row to the button-up row (one row
//   when they are equal); also the reservation's items and the POS-code check.
// - Insert: that block only when it spans rows (up row neither -1 nor 0), else
//   none (the count is then asked for).
// - Delete: that block when it spans rows (up row not -1), else the clicked
//   row, else the last data row.
enum class PickRule { Transfer, Insert, Delete };

// The data rows a command acts on, and whether the marks chose them (picks, a
// shift range or a spanning block) rather than the rule's fallback.
struct PickedRowList {
    std::vector<int> rows;
    bool marked = false;
};

// The data rows a command acts on, given the grid's row count: the picked rows
// in pick order (up to the first 0, at most 1000, each once), the shift range
// lowest first, or the rule's choice above.
[[nodiscard]] PickedRowList PickRows(const GridPicks& pick, int rowCount, PickRule rule);
// The rows alone.
[[nodiscard]] std::vector<int> PickedRows(const GridPicks& pick, int rowCount, PickRule rule);
// True when nothing but one row is marked: no picks, no shift range, and the
// button went down and up on the same row.
[[nodiscard]] bool MarksOneRow(const GridPicks& pick);
