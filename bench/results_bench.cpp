// results_bench: the result dialogs over 200,000 [Server_DB] rows, a month of
// 20 scales. Daily and Weekly sums of 10 scales with Total Item over 31 days
// (goal under 3 s each), and the list of one day holding 7,000 rows (goal
// under 2 s), each timed from the click on Result to the filled grid.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "db/store_paths.h"
#include "platform/base/path.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/controls/datetime_ctrl.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "results/manager_result_view_dlg.h"
#include "results/result_dao_helper.h"
#include "results/result_view_dlg.h"
#include "shell/file_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kConnect = ";PWD=quendrav";
constexpr int kScales = 20;
constexpr int kDays = 31;
constexpr int kRows = 200000;
constexpr int kBusyDay = 15;
constexpr int kBusyDayRows = 7000;

// 20 scales, the even ones kim's; 200,000 sales in March 2009, 7,000 of them
// on the busy day.
void Seed()
{
    MakeDirectoryPath("C:\\Windows\\system\\Manager");
    WriteResourceFile(152, kManagerDatabase);
    WriteResourceFile(195, kServerDatabase);
    CDaoDatabase manager;
    manager.Open(kManagerDatabase, FALSE, FALSE, kConnect);
    for (int s = 0; s < kScales; ++s)
        manager.Execute(CString::Formatted("INSERT INTO [ScaleMG] ([scale_name], [ip], [mg_id]) VALUES "
                                           "('scale%02d', '10.0.0.%d', '%s')",
            s, s + 1, s % 2 ? "lee" : "kim"));
    for (const char* id : { "kim", "lee" })
        manager.Execute(CString::Formatted(
            "INSERT INTO [Manager] ([mg_id], [mg_pass], [corner_code]) VALUES ('%s', '1', '1')", id));
    manager.Close();

    CDaoDatabase store;
    store.Open(kServerDatabase, FALSE, FALSE, kConnect);
    const int otherDayRows = (kRows - kBusyDayRows) / (kDays - 1);
    int written = 0;
    for (int day = 1; day <= kDays; ++day) {
        const int rows = day == kBusyDay ? kBusyDayRows : day == kDays ? kRows - written : otherDayRows;
        for (int first = 0; first < rows; first += 500) {
            CString sql = "INSERT INTO [Server_DB] ([code_gds], [PrintCnt], [Result_day], [Totalprice], "
                          "[Totalweight], [ip], [mg_id], [item_name], [result_time], [scale_name], "
                          "[item_poscode]) VALUES ";
            for (int r = first; r < std::min(rows, first + 500); ++r) {
                const int scale = r % kScales;
                sql += CString::Formatted(
                    "%s('%d', '1', '2009- 3-%2d', '%d', '%d', '10.0.0.%d', '%s', 'Item %d', "
                    "'10:%02d:00', 'scale%02d', '880')",
                    r == first ? "" : ", ", r % 300, day, 100 + r % 900, 50 + r % 400, scale + 1,
                    scale % 2 ? "lee" : "kim", r % 300, r % 60, scale);
            }
            store.Execute(sql);
        }
        written += rows;
    }
    store.Close();
    std::printf("seeded %d rows\n", written);
}

// Runs the Result View as user with the options clicked; the seconds Result
// took and the rows it gave.
void TimeResult(
    const char* what, const char* user, std::initializer_list<int> options, int beginDay, int endDay)
{
    CResultViewDlg dialog;
    dialog.m_strUserId = user;
    double seconds = 0;
    int rows = 0;
    ModalDialogScript::Push([&](CDialog& d) {
        for (int id : options)
            AfxClickDlgButton(d, id);
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(1087))->SetTime(CTime(2009, 3, beginDay, 0, 0, 0));
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(1088))->SetTime(CTime(2009, 3, endDay, 0, 0, 0));
        const auto start = Clock::now();
        AfxClickDlgButton(d, 1001);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        rows = dialog.m_grid.GetRowCount() - 2;
    });
    dialog.DoModal();
    std::printf("%-44s %7.3f s  (%d rows)\n", what, seconds, rows);
}

// The Manager Result View's Daily of kim, lee, kim and lee over March: the
// click, and of it the read of the range's rows and their sums.
void TimeManagerDaily()
{
    CManagerResultViewDlg dialog;
    double seconds = 0;
    int rows = 0;
    ModalDialogScript::Push([&](CDialog& d) {
        ModalDialogScript::Push([](CDialog& select) {
            auto* candidates = dynamic_cast<CListBox*>(select.GetDlgItem(1083));
            for (const char* id : { "kim", "lee", "kim", "lee" }) {
                for (int i = 0; i < candidates->GetCount(); ++i) {
                    CString entry;
                    candidates->GetText(i, entry);
                    if (entry == id)
                        candidates->SetCurSel(i);
                }
                AfxClickDlgButton(select, 1001);
            }
            AfxClickDlgButton(select, IDOK);
        });
        AfxClickDlgButton(d, 1110);
        AfxClickDlgButton(d, 1089);
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(1087))->SetTime(CTime(2009, 3, 1, 0, 0, 0));
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(1088))->SetTime(CTime(2009, 3, kDays, 0, 0, 0));
        const auto start = Clock::now();
        AfxClickDlgButton(d, 1001);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        rows = dialog.m_grid.GetRowCount() - 2;
    });
    dialog.DoModal();
    std::printf("%-44s %7.3f s  (%d rows)\n", "Manager Daily, 4 managers, 31 days", seconds, rows);

    CResultDaoHelper dao;
    const auto start = Clock::now();
    dao.OpenDatabase(kServerDatabase);
    const auto sums
        = dao.SumByKeyAndDay("SELECT [mg_id], [Result_day], [Totalprice], [Totalweight], [PrintCnt] "
                             "FROM [Server_DB] WHERE [Result_day] BETWEEN '2009- 3- 1' AND "
                             "'2009- 3-31' AND [mg_id] IN ('kim', 'lee', 'kim', 'lee')");
    dao.CloseDatabase();
    std::printf("%-44s %7.3f s  (%zu managers)\n", "  of it the read and sum of the range's rows",
        std::chrono::duration<double>(Clock::now() - start).count(), sums.size());
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxWinInit(argc, argv);
    MessageBoxScript::Enable();
    ModalDialogScript::Enable();
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "results_bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    AfxSetDataRoot(root.string());
    const auto seedStart = Clock::now();
    Seed();
    std::printf("seeding took %.1f s\n", std::chrono::duration<double>(Clock::now() - seedStart).count());

    // Sums mode, All Scales (kim's 10), Total Item, then the date option.
    TimeResult("Daily, 10 scales, Total Item, 31 days", "kim", { 1139, 1074, 1077, 1089 }, 1, 31);
    TimeResult("Weekly, 10 scales, Total Item, 31 days", "kim", { 1139, 1074, 1077, 1091 }, 1, 31);
    TimeResult("List of a day of 7,000 rows (vexo)", "vexo", { 1138 }, kBusyDay, kBusyDay);
    TimeManagerDaily();
    std::filesystem::remove_all(root);
    return 0;
}
