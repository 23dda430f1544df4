// result_server_bench: 20 simulated scales report sales to the results server
// as fast as it answers, each waiting for the reply to its last report. Goal:
// at least 100 stored reports per second; the user-interface thread's CPU time
// per report is shown beside it.
//
//   result_server_bench [reports per scale] [scales]

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "db/checked_dao_helper.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "results/result_server.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/scale_dialogs.h"
#include "tests/support/server_client.h"
#include "tests/support/temp_data_root.h"

namespace {

bool Execute(const char* path, const CString& sql)
{
    CCheckedDaoHelper dao;
    dao.OpenDatabase(path);
    const BOOL ok = dao.ExecuteChecked(sql);
    dao.CloseDatabase();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const int reports = ArgumentOr(argc, argv, 1, 100);
    const int scales = ArgumentOr(argc, argv, 2, 20);
    StartBenchUi(argc, argv);
    TempDataRoot root;
    MakeDirectoryPath(kManagerFolder);
    ProvisionDatabaseFile(kManagerTemplateId, kManagerDatabase);
    ProvisionDatabaseFile(kServerTemplateId, kServerDatabase);
    Execute(kManagerDatabase,
        "INSERT INTO [ScaleMG]([scale_name], [ip], [mg_id]) VALUES('S', '127.0.0.1', 'm1')");
    for (int item = 1; item <= 100; ++item)
        Execute(kServerDatabase,
            CString::Formatted(
                "INSERT INTO [Item]([item_num], [item_name], [pos_code], [mg_id]) VALUES('%d', "
                "'Item %d', '%d', 'm1')",
                item, item, 1000 + item));
    const unsigned port = scalesim::FreeServerPort("127.0.0.1");
    TempDataRoot::WriteAll(root.Native(kServerPortFile), std::to_string(port));

    auto pane = std::make_unique<CCalvornView>();
    pane->LogIn("m1", "");
    CResultServer server(*pane);
    server.SetListenAddress("127.0.0.1");
    if (!server.StartResultServer()) {
        std::fprintf(stderr, "result_server_bench: the server does not start\n");
        return 1;
    }
    std::vector<std::unique_ptr<scalesim::ServerClient>> clients;
    for (int i = 0; i < scales; ++i) {
        clients.push_back(std::make_unique<scalesim::ServerClient>());
        if (!clients.back()->Connect("127.0.0.1", port))
            return 1;
    }
    AfxPumpUntil([&] { return server.GetConnectionCount() == static_cast<std::size_t>(scales); }, 5000);

    std::atomic<int> done { 0 };
    std::atomic<int> lost { 0 };
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds() * 1e3;
    std::vector<std::thread> threads;
    for (int i = 0; i < scales; ++i)
        threads.emplace_back([&, i] {
            scalesim::ServerClient& client = *clients[static_cast<std::size_t>(i)];
            for (int n = 1; n <= reports; ++n) {
                if (!client.Send(scalesim::SaleMessage(false, static_cast<std::uint32_t>(n % 100 + 1), n, n))
                    || !client.WaitForReplies(static_cast<std::size_t>(n), 10000)) {
                    ++lost;
                    break;
                }
            }
            ++done;
        });
    AfxPumpUntil([&] { return done.load() == scales; }, 600000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuMs = ThreadCpuSeconds() * 1e3 - cpuStart;
    for (std::thread& thread : threads)
        thread.join();

    CCheckedDaoHelper dao;
    dao.OpenDatabase(kServerDatabase);
    CCheckedDaoHelper::Rows rows;
    (void)dao.Select("SELECT COUNT(*) FROM [Server_DB]", &rows);
    dao.CloseDatabase();
    const long stored = rows.empty() ? 0 : std::atol(rows.front().front().GetString());
    std::printf(
        "%d scales x %d reports: %ld stored in %.2f s = %.0f reports/s (goal >= 100); UI thread %.3f ms "
        "CPU per report; %d scales stopped early\n",
        scales, reports, stored, seconds, static_cast<double>(stored) / seconds,
        cpuMs / static_cast<double>(std::max(stored, 1L)), lost.load());
    clients.clear();
    return stored >= static_cast<long>(scales) * reports ? 0 : 1;
}
