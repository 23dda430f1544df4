#include "results/manager_result_view_dlg.h"

#include "db/sql_text.h"
#include "platform/wnd/core/msgbox.h"
#include "results/result_controls.h"
#include "results/result_grid.h"
#include "shell/selection_dlg.h"

namespace {

std::vector<const char*> Titles(ResultPeriod period)
{
    switch (period) {
    case ResultPeriod::DayOfWeek: {
        std::vector<const char*> titles = { "Manager name" };
        titles.insert(titles.end(), WeekdaySumTitles().begin(), WeekdaySumTitles().end());
        return titles;
    }
    case ResultPeriod::Weekly:
        return { "Manager name", "Week", "Price", "Weight", "Print" };
    case ResultPeriod::Monthly:
        return { "Manager name", "Month", "Price", "Weight", "Print" };
    case ResultPeriod::Daily:
    case ResultPeriod::List:
        break;
    }
    return { "Manager name", "Date", "Price", "Weight", "Print" };
}

} // namespace

CManagerResultViewDlg::CManagerResultViewDlg(CWnd* parent)
    : CDialog(IDD_MANAGER_RESULT_VIEW, parent)
{ }

const MessageMap* CManagerResultViewDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CManagerResultViewDlg::OnSelectManager>(IDC_RESULT_SELECT_MANAGER),
            OnCommandMsg<&CManagerResultViewDlg::OnDailyResult>(IDC_RESULT_DAILY),
            OnCommandMsg<&CManagerResultViewDlg::OnDayOfWeekResult>(IDC_RESULT_DAY_OF_WEEK),
            OnCommandMsg<&CManagerResultViewDlg::OnWeeklyResult>(IDC_RESULT_WEEKLY),
            OnCommandMsg<&CManagerResultViewDlg::OnMonthlyResult>(IDC_RESULT_MONTHLY),
            OnCommandMsg<&CManagerResultViewDlg::OnResult>(IDC_RESULT_RUN),
            OnCommandMsg<&CManagerResultViewDlg::OnPrint>(IDC_RESULT_PRINT),
        });
    return &kMap;
}

void CManagerResultViewDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RESULT_MANAGER_LIST, m_managerList);
    DDX_Control(dx, IDC_RESULT_BEGIN, m_beginPicker);
    DDX_Control(dx, IDC_RESULT_END, m_endPicker);
    DDX_Control(dx, IDC_RESULT_RUN, m_resultButton);
    DDX_Control(dx, IDC_RESULT_PRINT, m_printButton);
    DDX_Control(dx, IDC_RESULT_GRID, m_grid);
}

BOOL CManagerResultViewDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetPickersToToday(m_beginPicker, m_endPicker);
    ResetResultGrid(m_grid, nullptr);
    return TRUE;
}

void CManagerResultViewDlg::OnSelectManager()
{
    m_nManagerChosen = 1;
    m_managerList.ResetContent();
    m_managerIds.clear();
    CManagerSelectDlg dialog;
    if (dialog.DoModal() != IDOK || dialog.m_strResult.IsEmpty())
        return;
    m_managerIds = SplitSelectionEntries(dialog.m_strResult);
    for (const CString& id : m_managerIds)
        m_managerList.AddString(id);
}

void CManagerResultViewDlg::SetPeriodFlags(int daily, int dayOfWeek, int weekly, int monthly)
{
    m_nDaily = daily;
    m_nDayOfWeek = dayOfWeek;
    m_nWeekly = weekly;
    m_nMonthly = monthly;
}

void CManagerResultViewDlg::OnDailyResult()
{
    SetPeriodFlags(1, 0, 0, 0);
}
void CManagerResultViewDlg::OnDayOfWeekResult()
{
    SetPeriodFlags(0, 1, 0, 0);
}
void CManagerResultViewDlg::OnWeeklyResult()
{
    SetPeriodFlags(0, 0, 1, 0);
}
void CManagerResultViewDlg::OnMonthlyResult()
{
    SetPeriodFlags(0, 0, 0, 1);
}

BOOL CManagerResultViewDlg::ChosenPeriod(ResultPeriod& period) const
{
    if (m_nDaily)
        period = ResultPeriod::Daily;
    else if (m_nDayOfWeek)
        period = ResultPeriod::DayOfWeek;
    else if (m_nWeekly)
        period = ResultPeriod::Weekly;
    else if (m_nMonthly)
        period = ResultPeriod::Monthly;
    else
        return FALSE;
    return TRUE;
}

void CManagerResultViewDlg::OnResult()
{
    if (!m_nManagerChosen) {
        AfxMessageBox("Select Manager", MB_OK);
        return;
    }
    ResultPeriod period;
    if (!ChosenPeriod(period)) {
        AfxMessageBox("Select Date option", MB_OK);
        return;
    }
    ResetResultGrid(m_grid, nullptr);
    m_managerSums.clear();
    m_bSumsRead = FALSE;
    for (const CString& id : m_managerIds)
        SetGridColumns(id);
}

void CManagerResultViewDlg::SetGridColumns(const CString& managerId)
{
    m_sums.Clear();
    ResultPeriod period;
    if (!ChosenPeriod(period))
        return;
    SetResultColumns(m_grid, Titles(period));
    FillResultGrid(PickerDate(m_beginPicker), PickerDate(m_endPicker), managerId, period);
    if (period == ResultPeriod::DayOfWeek)
        FlushDayOfWeek(managerId);
    m_grid.AutoSize();
}

void CManagerResultViewDlg::FillResultGrid(
    const ResultDate& begin, const ResultDate& end, const CString& managerId, ResultPeriod period)
{
    auto readDays = [&] { return ManagerSums(managerId, begin, end); };
    WalkPeriodRows(begin, end, period, m_sums, readDays, [&](const CString& label, const SaleSums& sums) {
        AddResultRow(
            m_grid, { managerId, label, SumText(sums.price), SumText(sums.weight), SumText(sums.count) });
    });
    m_grid.AutoSize();
}

CResultDaoHelper::DaySums CManagerResultViewDlg::ManagerSums(
    const CString& managerId, const ResultDate& begin, const ResultDate& end)
{
    if (!m_bSumsRead) {
        CString ids;
        for (const CString& id : m_managerIds)
            ids += (ids.IsEmpty() ? "" : ", ") + SqlLiteral(id);
        const CString sql = "SELECT [mg_id], [Result_day], [Totalprice], [Totalweight], [PrintCnt] FROM "
                            "[Server_DB] WHERE [Result_day] BETWEEN "
            + SqlLiteral(DayKey(begin)) + " AND " + SqlLiteral(DayKey(end)) + " AND [mg_id] IN (" + ids + ")";
        m_daoHelper.OpenStore();
        m_managerSums = m_daoHelper.SumByKeyAndDay(sql);
        m_daoHelper.CloseDatabase();
        m_bSumsRead = TRUE;
    }
    const auto found = m_managerSums.find(SqlTextKey(managerId));
    return found == m_managerSums.end() ? CResultDaoHelper::DaySums {} : found->second;
}

void CManagerResultViewDlg::FlushDayOfWeek(const CString& managerId)
{
    std::vector<CString> texts = { managerId };
    for (int day = 0; day < 7; ++day) {
        const SaleSums& sums = m_sums.Weekday(day);
        texts.push_back(SumText(sums.price));
        texts.push_back(SumText(sums.weight));
        texts.push_back(SumText(sums.count));
    }
    AddResultRow(m_grid, texts);
}
