// Fills a grid of 10,000 rows x 25 columns and paints it once; prints both
// times. Target on the build machine: under 0.5 s each.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "grid/grid_ctrl.h"
#include "platform/wnd/app.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxWinInit(argc, argv);

    CWnd owner;
    owner.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1280, 1000), nullptr, 0);
    CGridCtrl grid;
    grid.Create(CRect(0, 0, 1200, 900), &owner, 1005, WS_CHILD | WS_VISIBLE);

    constexpr int kRows = 10000;
    constexpr int kCols = 25;
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

    CRect client;
    grid.GetClientRect(client);
    CDC screen;
    screen.Attach(GdiCreateScreenDC());
    CDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    CBitmap* old = memDC.SelectObject(&bitmap);
    const Clock::time_point paintStart = Clock::now();
    grid.OnDraw(&memDC);
    const double paintTime = Seconds(paintStart);
    memDC.SelectObject(old);

    std::printf("grid %d x %d: fill %.3f s, paint %.3f s (%ld x %ld pixels)\n", kRows, kCols, fillTime,
        paintTime, static_cast<long>(client.Width()), static_cast<long>(client.Height()));
    grid.DestroyWindow();
    owner.DestroyWindow();
    return 0;
}
