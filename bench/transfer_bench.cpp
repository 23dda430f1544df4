// TCP transfer benchmark: 5,000 item records sent to 1, 10 and 50 simulated
// scales at once (127.0.0.x:1239), first with scales that answer at once, then
// with scales that answer each packet after 2 ms. Prints the wall time, the
// records per second over all scales, and the user-interface thread's CPU time
// per record (the thread that builds, sends and answers every packet).
//
//   transfer_bench [records [scales [fast|slow]]]   (scales and mode: that run alone)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "ethernet/eth_trans_status_dlg.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "tests/support/fake_transfer_host.h"
#include "tests/support/scale_memory.h"

namespace {

struct Result {
    double seconds = 0;
    double recordsPerSecond = 0;
    double uiMicrosPerRecord = 0;
    bool complete = false;
};

Result Run(FakeTransferHost& host, int scales, int records, scalesim::ScaleMemory::Mode mode)
{
    std::vector<std::unique_ptr<scalesim::ScaleMemory>> memories;
    std::vector<std::unique_ptr<scalesim::TcpScale>> sims;
    TransferOrder order;
    order.command = TransferCommand::Trans;
    order.kind = DataKind::Item;
    order.scope = TransferScope::All;
    for (int i = 0; i < scales; ++i) {
        memories.push_back(std::make_unique<scalesim::ScaleMemory>(mode));
        sims.push_back(std::make_unique<scalesim::TcpScale>());
        if (!sims.back()->Start(memories.back()->Script())) {
            std::fprintf(stderr, "cannot start simulator %d\n", i);
            std::exit(1);
        }
        order.scales.push_back(ScaleAt(CString(sims.back()->Address())));
    }
    MessageBoxScript::Reset();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    host.StartJobs(order);
    AfxPumpUntil([&] { return host.jobs->JobCount() == 0; }, 600000);
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Result r;
    r.seconds = seconds;
    const double total = static_cast<double>(scales) * records;
    r.recordsPerSecond = total / seconds;
    r.uiMicrosPerRecord = cpu * 1e6 / total;
    r.complete = true;
    for (const auto& m : memories)
        r.complete = r.complete && m->Table(0).size() == static_cast<std::size_t>(records);
    for (const MessageBoxRecord& box : MessageBoxScript::Records())
        r.complete = r.complete
            && (box.text == "Trans Complete"
                || box.text.View().ends_with(": Trans Complete")); // named with several
    sims.clear();
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    const int records = ArgumentOr(argc, argv, 1, 5000);
    const int onlyScales = ArgumentOr(argc, argv, 2, 0);
    const std::string onlyMode = argc > 3 ? argv[3] : "";
    // No display is needed: the windows are drawn off screen unless told otherwise.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    StartBenchUi(argc, argv);

    FakeTransferHost host(TransferTimings { 3000, 5000, 1000 });
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= records; ++i)
        rows.push_back({ "List", CString::Formatted("%d", i), CString::Formatted("사과 %d", i), "NULL",
            CString::Formatted("%d", 1000 + i), "0", "12", "1", CString::Formatted("%d", 100 + i % 900), "1",
            "500", "0", "0", "1", "3", "0" });
    host.SetRows(rows);
    CEthTransStatusDlg status;
    status.SetOwnerView(&host);
    if (status.Create(nullptr))
        host.jobs->SetStatusDialog(&status);

    std::printf("%d item records per scale\n", records);
    std::printf("%-28s %8s %10s %14s %10s\n", "run", "scales", "seconds", "records/s", "UI us/rec");
    double slowOne = 0;
    for (const auto& [mode, name] : { std::pair { scalesim::ScaleMemory::Mode::Normal, "answering at once" },
             std::pair { scalesim::ScaleMemory::Mode::Slow, "answering after 2 ms" } }) {
        for (int scales : { 1, 10, 50 }) {
            if (onlyScales != 0 && scales != onlyScales)
                continue;
            if (!onlyMode.empty() && (onlyMode == "slow") != (mode == scalesim::ScaleMemory::Mode::Slow))
                continue;
            const Result r = Run(host, scales, records, mode);
            std::printf("%-28s %8d %10.2f %14.0f %10.2f%s\n", name, scales, r.seconds, r.recordsPerSecond,
                r.uiMicrosPerRecord, r.complete ? "" : "  INCOMPLETE");
            std::fflush(stdout);
            if (mode == scalesim::ScaleMemory::Mode::Slow && scales == 1)
                slowOne = r.seconds;
            // The ratio only when both runs were made.
            if (mode == scalesim::ScaleMemory::Mode::Slow && scales == 50 && slowOne > 0)
                std::printf("slow 50 scales / slow 1 scale = %.2f (goal < 1.2)\n", r.seconds / slowOne);
        }
    }
    host.jobs->SetStatusDialog(nullptr);
    return 0;
}
