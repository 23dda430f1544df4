// result_view: opens a result dialog over the data root ($CALVORN_ROOT), as
// the left pane's commands would, and ends when it is closed.
// Usage: result_view [--manager] [--user <id>] [--seed]
//   --manager    the Manager Result View (212) instead of the Result View (199)
//   --user <id>  the logged-in manager id handed to the Result View ("vexo")
//   --seed       first adds two scales of "vexo" and sample sales on every day of
//                the current month
// Manager.mdb and Server_Store.mdb are written from their templates when missing.

#include <cstdio>
#include <cstring>

#include "db/store_paths.h"
#include "ethernet/reservation_rules.h"
#include "platform/base/file_system.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/core/app.h"
#include "results/manager_result_view_dlg.h"
#include "results/result_view_dlg.h"
#include "shell/file_helpers.h"

namespace {

void SeedSamples()
{
    CDaoDatabase manager;
    manager.Open(kManagerDatabase, FALSE, FALSE, ";PWD=quendrav");
    manager.Execute(
        "INSERT INTO [ScaleMG] ([scale_name], [ip], [mg_id]) VALUES ('front', '10.0.0.1', 'vexo')");
    manager.Execute(
        "INSERT INTO [ScaleMG] ([scale_name], [ip], [mg_id]) VALUES ('back', '10.0.0.2', 'vexo')");
    manager.Close();
    CDaoDatabase store;
    store.Open(kServerDatabase, FALSE, FALSE, ";PWD=quendrav");
    const CTime now = CTime::GetCurrentTime();
    for (int day = 1; day <= DaysInMonth(now.GetYear(), now.GetMonth()); ++day) {
        for (int n = 0; n < 3; ++n) {
            const int item = 1 + (day + n) % 4;
            store.Execute(CString::Formatted(
                "INSERT INTO [Server_DB] ([code_gds], [PrintCnt], [Result_day], [Totalprice], [Totalweight], "
                "[ip], [mg_id], [item_name], [result_time], [scale_name], [item_poscode]) VALUES ('%d', '1', "
                "'%s', '%d', '%d', '10.0.0.%d', 'vexo', 'Item %d', '1%d:00:00', '%s', '88%d')",
                item, DayKey(ResultDate { now.GetYear(), now.GetMonth(), day }).GetString(),
                1000 + 125 * day + n, 250 + 5 * day, 1 + n % 2, item, n, n % 2 ? "back" : "front", item));
        }
    }
    store.Close();
}

} // namespace

int main(int argc, char** argv)
{
    bool managerView = false;
    bool seed = false;
    CString user = "vexo";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--manager") == 0) {
            managerView = true;
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            seed = true;
        } else if (std::strcmp(argv[i], "--user") == 0 && i + 1 < argc) {
            user = argv[++i];
        } else {
            std::fprintf(stderr, "usage: result_view [--manager] [--user <id>] [--seed]\n");
            return 2;
        }
    }
    AfxWinInit(argc, argv);
    MakeDirectoryPath("C:\\Windows\\system\\Manager");
    for (const auto& [id, path] : { std::pair<UINT, const char*> { 152, kManagerDatabase },
             std::pair<UINT, const char*> { 195, kServerDatabase } })
        if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES)
            WriteResourceFile(id, path);
    if (seed)
        SeedSamples();
    if (managerView) {
        auto* dialog = new CManagerResultViewDlg;
        dialog->DoModal();
        delete dialog;
    } else {
        auto* dialog = new CResultViewDlg;
        dialog->m_strUserId = user;
        dialog->DoModal();
        delete dialog;
    }
    return 0;
}
