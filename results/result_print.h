#pragma once
// Printing of the result grids: ruled tables drawn on the printer's DC, a
// list layout (one grid row per line) and a weekday block layout (14 lines
// per result row, a title and a value line for each day from Sunday). Every
// page is a print job of its own. Positions are laid out in 1/600 inch and
// scaled to the printer's resolution; fonts keep their point sizes.

#include <memory>
#include <vector>

#include "grid/grid_ctrl.h"

enum class PrintAlign {
    Center,
    Right, // the text with one space appended
    Left, // the text with one space put in front
};

struct PrintColumn {
    int gridColumn;
    int width; // in width units
    PrintAlign align = PrintAlign::Center;
};

// The weekday blocks: lead columns written in a block's first two lines
// only, then three columns per weekday (price, weight, count), the first of
// Sunday's at firstDayColumn.
struct WeekdayBlockLayout {
    std::vector<PrintColumn> lead;
    int firstDayColumn;
    int dayWidths[3];
};

// The page geometry of one orientation, in 1/600 inch.
struct ResultPageGeometry {
    int start; // s: the table's left edge lies at 2s
    int unit; // u: one width unit
    int linesPerPage;
    int blocksPerPage;
    int fontHeightPt;
    int fontWidthPt;
};

[[nodiscard]] const ResultPageGeometry& ResultGeometryFor(BOOL portrait);

class ResultPrintRun {
public:
    explicit ResultPrintRun(const char* docName);
    ~ResultPrintRun();
    ResultPrintRun(const ResultPrintRun&) = delete;
    ResultPrintRun& operator=(const ResultPrintRun&) = delete;

    // The print dialog (all pages, no page numbers or selection, no print to
    // file); FALSE when it is cancelled or gives no printer.
    [[nodiscard]] BOOL Open();

    // Grid rows 0 .. lines - 1, linesPerPage to a page.
    void PrintList(
        const CGridCtrl& grid, const char* title, const std::vector<PrintColumn>& columns, int lines);
    // Grid rows 1 .. blocks, blocksPerPage to a page.
    void PrintWeekdayBlocks(
        const CGridCtrl& grid, const char* title, const WeekdayBlockLayout& layout, int blocks);

private:
    class Page;

    CString m_docName;
    struct State;
    std::unique_ptr<State> m_state;
};
