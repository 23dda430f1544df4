#pragma once
// The grid's pick state as the work screen hands it on, and the one rule that
// turns it into grid rows. Data rows are 1 to row count - 2: row 0 is the
// heading row and the last row is no data row.

#include <vector>

class CGridCtrl;

// The grid's pick state, copied when a command counts its rows.
struct TransferSelection {
    int listFlag = 0; // rows picked one by one (control-click)
    std::vector<int> pickedRows; // in pick order; the first 0 ends them
    int rangeFlag = 0; // a range picked with shift
    int rangeA = 0;
    int rangeB = 0; // the range's ends, either order
    int firstRow = 0;
    int lastRow = 0; // the rows where the button went down and up, either order
    int clickRow = 0; // the row of the last click
};

// The grid's pick list holds at most this many rows.
inline constexpr int kMaxPickedRows = 1000;

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
[[nodiscard]] PickedRowList PickRows(const TransferSelection& pick, int rowCount, PickRule rule);
// The rows alone.
[[nodiscard]] std::vector<int> PickedRows(const TransferSelection& pick, int rowCount, PickRule rule);

// The pick state the grid holds now.
[[nodiscard]] TransferSelection GridPickState(const CGridCtrl& grid);
