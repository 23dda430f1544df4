// Printing of the Result View: the list, the daily, weekly and monthly sums
// as ruled tables, the weekday sums as blocks of 14 lines.

#include "platform/wnd/core/msgbox.h"
#include "results/result_print.h"
#include "results/result_view_dlg.h"

namespace {

constexpr const char* kDocName = "Print1: Server Result View";

// The PLU column is narrower for weeks and months.
std::vector<PrintColumn> SumColumns(int pluWidth)
{
    return { { 1, 10 }, { 2, 15 }, { 3, pluWidth }, { 4, 10 }, { 5, 11 }, { 6, 11 }, { 7, 8 } };
}

} // namespace

void CResultViewDlg::OnPrint()
{
    const int n = m_grid.GetRowCount() - 1;
    ResultMode mode;
    if (m_nDaily)
        mode = ResultMode::Daily;
    else if (m_nListMode)
        mode = ResultMode::List;
    else if (m_nDayOfWeek)
        mode = ResultMode::DayOfWeek;
    else if (m_nWeekly)
        mode = ResultMode::Weekly;
    else if (m_nMonthly)
        mode = ResultMode::Monthly;
    else
        return;
    if (n <= 1) {
        AfxMessageBox("Not found Result Infomation", MB_OK);
        return;
    }
    PrintResults(mode);
}

void CResultViewDlg::PrintResults(ResultMode mode)
{
    ResultPrintRun run(kDocName);
    if (!run.Open())
        return;
    const int n = m_grid.GetRowCount() - 1;
    switch (mode) {
    case ResultMode::List:
        run.PrintList(m_grid, "- List Print -",
            { { 1, 6 }, { 2, 15, PrintAlign::Left }, { 3, 6 }, { 4, 8 }, { 5, 5 },
                { 6, 7, PrintAlign::Right }, { 7, 8, PrintAlign::Right }, { 8, 12, PrintAlign::Left },
                { 9, 7 } },
            n);
        break;
    case ResultMode::Daily:
        run.PrintList(m_grid, "- Daily Result -", SumColumns(8), n);
        break;
    case ResultMode::Weekly:
        run.PrintList(m_grid, "- Weekly Result -", SumColumns(6), n);
        break;
    case ResultMode::Monthly:
        run.PrintList(m_grid, "- Monthly Result -", SumColumns(6), n);
        break;
    case ResultMode::DayOfWeek:
        run.PrintWeekdayBlocks(m_grid, "- A day of week Result -",
            { { { 1, 10 }, { 2, 15 }, { 3, 8 } }, 4, { 11, 11, 11 } }, n - 1);
        break;
    }
}
