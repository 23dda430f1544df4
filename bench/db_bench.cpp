// db_bench: the cost of opening and closing a store database, and of streaming
// 10,000 Item rows through the item worker to a window with the "Report"
// handshake. Targets: open + close under 5 ms; the stream under 1 s.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/item_schema.h"
#include "db/mailbox_dlg.h"
#include "platform/base/resource.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/wnd.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Receives the streamed rows and acknowledges each one.
class BenchOwner : public CWnd {
public:
    BenchOwner()
    {
        const RECT rect { 0, 0, 10, 10 };
        CreateEx(0, nullptr, "bench", WS_POPUP, rect, nullptr, 0);
        m_mailbox.Create(this);
    }
    ~BenchOwner() override { DestroyWindow(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message < WM_DBQUERY_ROW || message > WM_DBQUERY_DONE)
            return CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_DBQUERY_ROW)
            ++m_rows;
        if (message == WM_DBQUERY_DONE) {
            m_worker->CloseDatabase();
            m_done = true;
        }
        m_worker->Acknowledge();
        return 0;
    }

    CMailboxDlg m_mailbox { this };
    CItemDbWorker* m_worker = nullptr;
    long m_rows = 0;
    bool m_done = false;
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxWinInit(argc, argv);
    const auto folder = std::filesystem::temp_directory_path() / "calvorn_db_bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "bench.mdb").string();
    {
        const auto bytes = AfxGetResource("MDB", 150);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    CItemDbWorker worker;
    auto start = Clock::now();
    worker.OpenDatabase(path.c_str());
    worker.CloseDatabase();
    std::printf("first OpenDatabase + CloseDatabase (keys the file): %.2f ms\n", MsSince(start));
    constexpr int kOpens = 500;
    start = Clock::now();
    for (int i = 0; i < kOpens; ++i) {
        worker.OpenDatabase(path.c_str());
        worker.CloseDatabase();
    }
    const double perOpen = MsSince(start) / kOpens;
    std::printf(
        "OpenDatabase + CloseDatabase: %.3f ms (target < 5 ms) %s\n", perOpen, perOpen < 5 ? "ok" : "SLOW");

    worker.OpenDatabase(path.c_str());
    worker.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                   "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) "
                   "SELECT i, 'item ' || i, i * 10, 'vexo' FROM n");
    worker.CloseDatabase();

    BenchOwner owner;
    owner.m_worker = &worker;
    worker.SetOwner(&owner, &owner.m_mailbox);
    start = Clock::now();
    worker.OpenDatabase(path.c_str());
    worker.Send(
        DbRequest::ItemRead, "SELECT " + ItemValueList() + ", [ID] FROM [Item] WHERE [mg_id] = 'vexo'");
    const bool done = AfxPumpUntil([&] { return owner.m_done; }, 60000);
    const double streamMs = MsSince(start);
    std::printf(
        "stream %ld Item rows (header included) with the Report handshake: %.1f ms (target < 1000 ms) %s\n",
        owner.m_rows, streamMs, done && streamMs < 1000 ? "ok" : "SLOW");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return done ? 0 : 1;
}
