// Printing of the Manager Result View: daily, weekly and monthly sums as
// ruled tables, the weekday sums as one block of 14 lines per manager.

#include "platform/wnd/core/msgbox.h"
#include "results/manager_result_view_dlg.h"
#include "results/result_print.h"

namespace {

constexpr const char* kDocName = "Print1: Server User Result View";

} // namespace

void CManagerResultViewDlg::OnPrint()
{
    ResultPeriod period;
    if (!ChosenPeriod(period))
        return;
    if (m_grid.GetRowCount() - 1 <= 1) {
        AfxMessageBox("Not found Result Infomation", MB_OK);
        return;
    }
    PrintResults(period);
}

void CManagerResultViewDlg::PrintResults(ResultPeriod period)
{
    ResultPrintRun run(kDocName);
    if (!run.Open())
        return;
    const int lines = m_grid.GetRowCount() - 1;
    const int periodWidth = period == ResultPeriod::Daily ? 10 : 6;
    const std::vector<PrintColumn> columns
        = { { 1, 12 }, { 2, periodWidth }, { 3, 11 }, { 4, 11 }, { 5, 8 } };
    switch (period) {
    case ResultPeriod::Daily:
        run.PrintList(m_grid, "- Daily Result -", columns, lines);
        break;
    case ResultPeriod::Weekly:
        run.PrintList(m_grid, "- Weekly Result -", columns, lines);
        break;
    case ResultPeriod::Monthly:
    case ResultPeriod::List:
        run.PrintList(m_grid, "- Monthly Result -", columns, lines);
        break;
    case ResultPeriod::DayOfWeek:
        run.PrintWeekdayBlocks(
            m_grid, "- A day of week Result -", { { { 1, 12 } }, 2, { 11, 11, 11 } }, lines - 1);
        break;
    }
}
