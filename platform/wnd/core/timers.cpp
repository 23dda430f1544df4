// Window timers. The table of timers may be changed from any thread; the Qt
// timers that drive them live on the UI thread and are brought in line with
// the table there. A timer fires only while its table entry is the one that
// started it, so no WM_TIMER follows KillTimer, whichever thread called it.

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include <QTimer>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

using TimerKey = std::pair<HWND, UINT_PTR>;

struct TimerEntry {
    UINT elapseMs = 0;
    unsigned generation = 0;
};

// The Qt timer of one key. A killed timer is only stopped and is started again
// by the next SetTimer of its key: a reply timer restarted per packet costs no
// object, connection or deferred delete.
struct RunningTimer {
    std::unique_ptr<QTimer> timer;
    unsigned generation = 0; // of the table entry that started it
};

struct Timers {
    std::mutex mutex;
    std::map<TimerKey, TimerEntry> entries; // any thread, under mutex
    unsigned nextGeneration = 1;
    std::map<TimerKey, RunningTimer> running; // UI thread only
};

// The timer may be the one whose timeout is being delivered: let Qt delete it
// once the delivery is over.
void Retire(std::unique_ptr<QTimer>& timer)
{
    timer->stop();
    timer->disconnect();
    timer.release()->deleteLater();
}

Timers& TheTimers()
{
    static Timers* timers = new Timers;
    return *timers;
}

bool IsCurrent(const TimerKey& key, unsigned generation)
{
    Timers& timers = TheTimers();
    std::lock_guard lock(timers.mutex);
    auto it = timers.entries.find(key);
    return it != timers.entries.end() && it->second.generation == generation;
}

// UI thread: a Qt timer of key timed out.
void Fire(const TimerKey& key)
{
    Timers& timers = TheTimers();
    auto running = timers.running.find(key);
    if (running == timers.running.end())
        return;
    if (IsCurrent(key, running->second.generation) && IsWindow(key.first))
        dispatch_internal::Dispatch(key.first, WM_TIMER, key.second, 0);
}

// UI thread: starts, restarts or stops the Qt timer of key to match the table.
void Sync(const TimerKey& key)
{
    Timers& timers = TheTimers();
    TimerEntry entry;
    bool present;
    {
        std::lock_guard lock(timers.mutex);
        auto it = timers.entries.find(key);
        present = it != timers.entries.end();
        if (present)
            entry = it->second;
    }
    auto running = timers.running.find(key);
    if (!present) {
        if (running != timers.running.end())
            running->second.timer->stop();
        return;
    }
    if (running == timers.running.end()) {
        RunningTimer created;
        created.timer = std::make_unique<QTimer>();
        QObject::connect(created.timer.get(), &QTimer::timeout, [key] { Fire(key); });
        running = timers.running.emplace(key, std::move(created)).first;
    }
    running->second.generation = entry.generation;
    running->second.timer->start(static_cast<int>(entry.elapseMs));
}

void SyncOnUiThread(const TimerKey& key)
{
    if (AfxIsUiThread())
        Sync(key);
    else
        wnd_internal::PostToUiThread([key] { Sync(key); });
}

} // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, void*)
{
    if (!IsWindow(hwnd))
        return 0;
    Timers& timers = TheTimers();
    const TimerKey key(hwnd, id);
    {
        std::lock_guard lock(timers.mutex);
        TimerEntry& entry = timers.entries[key];
        entry.elapseMs = elapseMs;
        entry.generation = timers.nextGeneration++;
    }
    SyncOnUiThread(key);
    return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    Timers& timers = TheTimers();
    const TimerKey key(hwnd, id);
    {
        std::lock_guard lock(timers.mutex);
        if (timers.entries.erase(key) == 0)
            return FALSE;
    }
    SyncOnUiThread(key);
    return TRUE;
}

namespace window_timers {

void KillAll(HWND hwnd)
{
    Timers& timers = TheTimers();
    {
        std::lock_guard lock(timers.mutex);
        for (auto it = timers.entries.begin(); it != timers.entries.end();)
            it = it->first.first == hwnd ? timers.entries.erase(it) : std::next(it);
    }
    for (auto it = timers.running.begin(); it != timers.running.end();) {
        if (it->first.first == hwnd) {
            Retire(it->second.timer);
            it = timers.running.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace window_timers
