// server_sync_bench: 10,000 Item rows synchronised into an empty server
// database, then again (every row found and updated), on both paths: the
// grid's rows, and the rows read from the item database (default values on).
// Goal: under 5 s each.
//
//   server_sync_bench [rows]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "db/checked_dao_helper.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/server_sync.h"
#include "shell/file_helpers.h"
#include "tests/support/temp_data_root.h"

namespace {

constexpr const char* kItemDb = "C:\\items.mdb";
constexpr const char* kGridServer = "C:\\grid_server.mdb";
constexpr const char* kStoredServer = "C:\\stored_server.mdb";

RecordRow ItemRow(int n)
{
    return { "", std::to_string(n), "사과 " + std::to_string(n), "", std::to_string(1000 + n), "0", "12", "1",
        std::to_string(100 + n % 900), "1", "500", "0", "0", "1", "3", "0" };
}

template <typename Run> double Seconds(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int count = ArgumentOr(argc, argv, 1, 10000);
    StartBenchUi(argc, argv);
    TempDataRoot root;
    for (const char* path : { kItemDb, kGridServer, kStoredServer })
        WriteResourceFile(path == kItemDb ? 150 : 195, path);

    std::vector<RecordRow> rows;
    std::vector<std::string> keys;
    for (int n = 1; n <= count; ++n) {
        rows.push_back(ItemRow(n));
        keys.push_back(std::to_string(n));
    }
    {
        CServerSync fill(kItemDb, "m1");
        if (!fill.Open() || fill.WriteGridRows(DataKind::Item, rows).failed != 0)
            return 1;
        fill.Close();
    }

    int failures = 0;
    std::printf("%d items\n%-34s %10s %10s\n", count, "path", "insert s", "update s");
    for (const bool stored : { false, true }) {
        double times[2] = {};
        for (double& time : times) {
            CServerSync sync(stored ? kStoredServer : kGridServer, "m1");
            if (!sync.Open())
                return 1;
            time = Seconds([&] {
                const SyncResult result = stored ? sync.WriteStoredItems(kItemDb, keys)
                                                 : sync.WriteGridRows(DataKind::Item, rows);
                failures += result.failed;
            });
            sync.Close();
        }
        std::printf("%-34s %10.2f %10.2f   (goal < 5 s each)\n",
            stored ? "item database (default values on)" : "grid rows", times[0], times[1]);
    }
    std::printf("%d rows not written, %zu message boxes\n", failures, MessageBoxScript::Count());
    return failures == 0 ? 0 : 1;
}
