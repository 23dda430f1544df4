// Grid of 10,000 rows x 25 columns. Two runs:
//  - set-up: SetRowCount, SetItemText per cell, one paint;
//  - screen path, as the screens fill their grids: InsertRow per row,
//    SetItemText per cell, AutoSize, one paint.
// Targets on the build machine: the screen path under 0.5 s, AutoSize alone
// under 0.2 s.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/app.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRows = 10000;
constexpr int kCols = 25;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of the process since start (the machine is shared: wall time
// also counts other programs).
double CpuSeconds(std::clock_t start)
{
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// A cell text like the screens show: item numbers, names, prices, flags and
// dates, some columns with few distinct values.
CString CellText(int row, int col)
{
    switch (col % 5) {
    case 0:
        return CString::Formatted("%d", 100000 + row);
    case 1:
        return CString::Formatted("상품 %d번 %s", row, (row % 3) ? "국내산" : "수입");
    case 2:
        return CString::Formatted("%d", (row * 37 % 500) * 10);
    case 3:
        return (row + col) % 2 ? "1" : "0";
    default:
        return CString::Formatted("2026-%02d-%02d", row % 12 + 1, row % 28 + 1);
    }
}

double Paint(CGridCtrl& grid)
{
    CRect client;
    grid.GetClientRect(client);
    CDC screen;
    screen.Attach(GdiCreateScreenDC());
    CDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    CBitmap* old = memDC.SelectObject(&bitmap);
    const Clock::time_point start = Clock::now();
    grid.OnDraw(&memDC);
    const double time = Seconds(start);
    memDC.SelectObject(old);
    return time;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxWinInit(argc, argv);

    CWnd owner;
    owner.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1280, 1000), nullptr, 0);

    {
        CGridCtrl grid;
        grid.Create(CRect(0, 0, 1200, 900), &owner, 1005, WS_CHILD | WS_VISIBLE);
        const Clock::time_point fillStart = Clock::now();
        grid.SetRowCount(kRows);
        grid.SetColumnCount(kCols);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int row = 0; row < kRows; ++row) {
            for (int col = 0; col < kCols; ++col)
                grid.SetItemText(row, col, CString::Formatted("%d-%d", row, col));
        }
        const double fillTime = Seconds(fillStart);
        const double paintTime = Paint(grid);
        std::printf("set-up %d x %d: fill %.3f s, paint %.3f s\n", kRows, kCols, fillTime, paintTime);
        grid.DestroyWindow();
    }

    {
        // The texts are made first: only the grid's work is timed.
        std::vector<CString> texts(static_cast<size_t>(kRows * kCols));
        for (int row = 1; row < kRows; ++row) {
            texts[static_cast<size_t>(row * kCols)] = CString::Formatted("%d", row);
            for (int col = 1; col < kCols; ++col)
                texts[static_cast<size_t>(row * kCols + col)] = CellText(row, col);
        }
        CGridCtrl grid;
        grid.Create(CRect(0, 0, 1200, 900), &owner, 1005, WS_CHILD | WS_VISIBLE);
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        grid.SetColumnCount(kCols);
        grid.SetRowCount(1);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int col = 0; col < kCols; ++col)
            grid.SetItemText(0, col, CString::Formatted("열 %d", col));
        for (int row = 1; row < kRows; ++row) {
            const int index = grid.InsertRow(texts[static_cast<size_t>(row * kCols)]);
            for (int col = 1; col < kCols; ++col)
                grid.SetItemText(index, col, texts[static_cast<size_t>(row * kCols + col)]);
        }
        const double fillTime = Seconds(start);
        const Clock::time_point autoStart = Clock::now();
        const std::clock_t autoCpuStart = std::clock();
        grid.AutoSize();
        const double autoTime = Seconds(autoStart);
        const double autoCpu = CpuSeconds(autoCpuStart);
        const double paintTime = Paint(grid);
        std::printf("screen path %d x %d: insert+fill %.3f s, AutoSize %.3f s (cpu %.3f s), paint %.3f s, "
                    "total %.3f s (cpu %.3f s)\n",
            kRows, kCols, fillTime, autoTime, autoCpu, paintTime, Seconds(start), CpuSeconds(cpuStart));
        grid.DestroyWindow();
    }
    owner.DestroyWindow();
    return 0;
}
