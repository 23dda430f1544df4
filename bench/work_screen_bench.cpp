// The work screen's Item load: the rows of [Item] (10,000, or the count given
// as the first argument) read by the item worker thread, each row handed over
// with its "Report" handshake and written into the grid, from the left pane's
// hint to the end of the load (auto-size included). Beside it, in the same run:
// the same SELECT streamed by the worker to an owner that only acknowledges
// each row (what the hand-over costs), and the same rows read in-process by
// the database class (what reading them costs). Targets on an idle machine:
// the load under 0.3 s per 10,000 rows, the stream at most three times the
// read. Without "--one" it runs itself twice: offscreen, and on the display of
// $DISPLAY (xcb), where painting and the X connection add their costs. The
// machine's load average is printed first.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_program.h"
#include "db/db_messages.h"
#include "db/general_dao_helper.h"
#include "db/item_db_worker.h"
#include "db/item_schema.h"
#include "db/mailbox_dlg.h"
#include "platform/base/path.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/register_screens.h"
#include "shell/calvorn_app.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRows = 10000;
constexpr double kLoadTargetPer10k = 0.3; // seconds
constexpr double kStreamOverReadTarget = 3.0;
// The work screen's Item SELECT for the administrator.
CString ItemSelect()
{
    return "SELECT " + ItemValueList() + ", [ID] FROM [Item]";
}

// An owner that answers every reply with "Report" and keeps nothing.
class AckOwner : public CWnd {
public:
    AckOwner()
    {
        CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
        m_mailbox.Create(this);
        m_worker.SetOwner(this, &m_mailbox);
    }
    ~AckOwner() override { DestroyWindow(); }

    // Streams sql from the database at path; the rows counted, -1 when it
    // did not end within a minute.
    int Stream(const CString& path, const CString& sql)
    {
        m_rows = 0;
        m_done = false;
        m_worker.OpenDatabase(path);
        m_worker.Send(DbRequest::ItemRead, sql);
        return AfxPumpUntil([this] { return m_done; }, 60000) ? m_rows : -1;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_DBQUERY_ROW && message != WM_DBQUERY_EMPTY && message != WM_DBQUERY_DONE)
            return CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_DBQUERY_ROW)
            ++m_rows;
        if (message == WM_DBQUERY_DONE) {
            m_worker.CloseDatabase();
            m_done = true;
        }
        m_worker.Acknowledge();
        return 0;
    }

private:
    CMailboxDlg m_mailbox { this };
    CItemDbWorker m_worker;
    int m_rows = 0;
    bool m_done = false;
};

// Best of three timings of run, which returns false on failure; negative then.
template <class Run> double BestOfThree(const char* what, int rows, Run&& run)
{
    double best = 1e9;
    for (int turn = 0; turn < 3; ++turn) {
        const Clock::time_point start = Clock::now();
        if (!run())
            return -1;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%s %d: %d rows in %.3f s\n", what, turn + 1, rows, seconds);
        best = std::min(best, seconds);
    }
    return best;
}

// The bare stream of the Item SELECT to an owner that only acknowledges.
double BestStream(const CString& path, int rows)
{
    AckOwner owner;
    return BestOfThree("stream", rows, [&] {
        const int got = owner.Stream(path, ItemSelect());
        if (got != rows + 1) // the column names come first
            std::fprintf(stderr, "stream failed: %d rows\n", got);
        return got == rows + 1;
    });
}

// The same rows read on this thread as reply-row text by the database class.
double BestRead(const CString& path, int rows)
{
    CGeneralDaoHelper helper;
    return BestOfThree("read", rows, [&] {
        helper.OpenDatabase(path);
        const CString text = helper.GetRows(ItemSelect());
        helper.CloseDatabase();
        return !text.IsEmpty() && text != kDbNoRows;
    });
}

// The machine's load average over 1, 5 and 15 minutes, as the kernel gives it.
std::string LoadAverage()
{
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    char text[128] = "unknown";
    if (file) {
        if (!std::fgets(text, sizeof text, file))
            std::snprintf(text, sizeof text, "unknown");
        std::fclose(file);
    }
    std::string load(text);
    const std::size_t third = load.find(' ', load.find(' ', load.find(' ') + 1) + 1);
    return load.substr(0, third);
}

// rows item rows: one, doubled until there are enough, the rest deleted.
bool FillItems(const CString& path, int rows)
{
    CGeneralDaoHelper helper;
    auto run = [&](const CString& sql) {
        helper.OpenDatabase(path);
        helper.Execute(sql);
    };
    const CString columns = ItemValueList() + ", [mg_id]";
    run("INSERT INTO [Item](" + columns
        + ") VALUES('123', '돼지고기 삼겹살', 'Pork belly', '2300', '0', '12', '1', '123456', '1', '0', '1', "
          "'0', '3', '5', '0', 'vexo')");
    for (int count = 1; count < rows; count *= 2)
        run("INSERT INTO [Item](" + columns + ") SELECT " + columns + " FROM [Item]");
    run(CString::Formatted("DELETE FROM [Item] WHERE [ID] > %d", rows));
    helper.OpenDatabase(path);
    const CString count = helper.GetValueAt("SELECT COUNT(*) FROM [Item]", 0);
    helper.CloseDatabase();
    return count == CString::Formatted("%d", rows);
}

} // namespace

// Runs this program on platform (QT_QPA_PLATFORM) for rows; its exit code.
int RunOn(const char* self, const char* platform, int rows)
{
    std::printf("== %s (load average %s) ==\n", platform, LoadAverage().c_str());
    std::fflush(stdout);
    const std::string command
        = std::string("QT_QPA_PLATFORM=") + platform + " '" + self + "' --one " + std::to_string(rows);
    const int status = std::system(command.c_str());
    return status == 0 ? 0 : (status > 0xFF ? status >> 8 : status);
}

int RunBoth(const char* self, int rows)
{
    const int offscreen = RunOn(self, "offscreen", rows);
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::printf("== xcb ==\nskipped: no DISPLAY (start Xvfb and set DISPLAY)\n");
        return offscreen;
    }
    const int shown = RunOn(self, "xcb", rows);
    return std::max(offscreen, shown);
}

// Loads the Item screen three times; the best time, negative on failure.
double BestLoad(CKindOfView* screen, const CString& path, int rows)
{
    CCalvornView* left = GetMainFrame()->GetCalvornView();
    return BestOfThree("load", rows, [&] {
        left->Mailbox().PutQuery(DbRequest::ItemRead, "vexo");
        CString text = path;
        left->SendHint(Screen::Item, &text);
        const BOOL done = AfxPumpUntil(
            [screen] {
                return screen->Context().GetUpdateLock() == 0 && !screen->GetItemWorker()->IsDatabaseOpen();
            },
            120000);
        if (!done || screen->GetGrid().GetRowCount() != rows + 2)
            std::fprintf(stderr, "load failed: %d rows\n", screen->GetGrid().GetRowCount());
        return done && screen->GetGrid().GetRowCount() == rows + 2;
    });
}

int main(int argc, char** argv)
{
    const bool one = argc >= 2 && std::string(argv[1]) == "--one";
    const int rows = std::max(1, ArgumentOr(argc, argv, one ? 2 : 1, kDefaultRows));
    if (!one)
        return RunBoth(argv[0], rows);
    CBenchProgram program("calvorn-work-screen-bench", argc, argv);
    CKindOfView* screen = program.Screen();
    const CString path = program.RootFile("items.mdb");
    if (!screen || !WriteResourceFile(150, path) || !FillItems(path, rows)) {
        std::fprintf(stderr, "set-up failed\n");
        return 1;
    }
    const double load = BestLoad(screen, path, rows);
    const double stream = load > 0 ? BestStream(path, rows) : -1;
    const double read = stream > 0 ? BestRead(path, rows) : -1;
    if (read <= 0)
        return 1;
    const double loadTarget = kLoadTargetPer10k * rows / 10000.0;
    std::printf("best load %.3f s (target under %.2f s), stream %.3f s, read %.3f s\n", load, loadTarget,
        stream, read);
    std::printf("load / stream %.2f; stream / read %.2f (target at most %.1f)\n", load / stream,
        stream / read, kStreamOverReadTarget);
    program.Close();
    return load < loadTarget && stream / read <= kStreamOverReadTarget ? 0 : 2;
}
