#pragma once
// CManagerResultViewDlg: the "Manager Result View" (dialog 212). It sums the
// [Server_DB] rows of chosen managers, whoever is logged in, per day, weekday,
// week of the month or month, one manager after the other in the order
// chosen, and prints the grid.

#include <vector>

#include "controls/xp_button.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/controls/datetime_ctrl.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "results/result_dao_helper.h"
#include "results/result_sums.h"

// The periods of the Manager Result View (ResultMode less the list).
using ResultPeriod = ResultMode;

class CManagerResultViewDlg : public CDialog {
public:
    explicit CManagerResultViewDlg(CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnSelectManager();
    void OnDailyResult();
    void OnDayOfWeekResult();
    void OnWeeklyResult();
    void OnMonthlyResult();
    void OnResult();
    void OnPrint();

    CGridCtrl m_grid;

private:
    void SetPeriodFlags(int daily, int dayOfWeek, int weekly, int monthly);
    // The period of the first set flag, in the order Daily, DayOfWeek,
    // Weekly, Monthly; FALSE when none is set.
    BOOL ChosenPeriod(ResultPeriod& period) const;
    void SetGridColumns(const CString& managerId);
    void FillResultGrid(
        const ResultDate& begin, const ResultDate& end, const CString& managerId, ResultPeriod period);
    void FlushDayOfWeek(const CString& managerId);
    void PrintResults(ResultPeriod period);

    // The day sums of each chosen manager over the range, read at once when
    // the first manager's first day is walked.
    CResultDaoHelper::DaySums ManagerSums(
        const CString& managerId, const ResultDate& begin, const ResultDate& end);

    std::vector<CString> m_managerIds; // list IDC_RESULT_MANAGER_LIST, in order
    std::map<CString, CResultDaoHelper::DaySums> m_managerSums;
    BOOL m_bSumsRead = FALSE;
    int m_nDaily = 0;
    int m_nDayOfWeek = 0;
    int m_nWeekly = 0;
    int m_nMonthly = 0;
    int m_nManagerChosen = 0;
    CResultDaoHelper m_daoHelper;
    PeriodSums m_sums;

    CListBox m_managerList;
    CDateTimeCtrl m_beginPicker;
    CDateTimeCtrl m_endPicker;
    CXPButton m_resultButton;
    CXPButton m_printButton;
};
