#pragma once
// UI-thread helpers for tests: waits with a deadline instead of sleeps, and a
// message box script that starts and ends empty.

#include <chrono>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"

// Deadlines stretch by CALVORN_TEST_TIME_SCALE (1 to 20; the sanitizer runs
// set it): a deadline bounds a wait for something that must happen, so a
// slower build may take longer without changing what is checked.
inline int TestTimeScale()
{
    static const int scale = [] {
        const char* text = std::getenv("CALVORN_TEST_TIME_SCALE");
        const int value = text ? std::atoi(text) : 1;
        return value < 1 ? 1 : (value > 20 ? 20 : value);
    }();
    return scale;
}

// A deadline of the tests, stretched for slow builds.
inline std::chrono::milliseconds TestDeadline(std::chrono::milliseconds deadline)
{
    return deadline * TestTimeScale();
}

// Pumps the UI thread until done() holds; false when the deadline passes first.
inline bool PumpUntil(
    const std::function<bool()>& done, std::chrono::milliseconds deadline = std::chrono::milliseconds(5000))
{
    return AfxPumpUntil(done, static_cast<DWORD>(TestDeadline(deadline).count())) != FALSE;
}

// Pumps the UI thread for the given time (to show that something does NOT
// happen within it).
inline void PumpFor(std::chrono::milliseconds time)
{
    AfxPumpUntil([] { return false; }, static_cast<DWORD>(time.count()));
}

// Message boxes answered by script for the scope of one test; queued answers
// and records are cleared on entry and exit.
class ScopedMessageBoxScript {
public:
    ScopedMessageBoxScript()
    {
        MessageBoxScript::Enable();
        MessageBoxScript::Reset();
    }
    ~ScopedMessageBoxScript() { MessageBoxScript::Reset(); }
    ScopedMessageBoxScript(const ScopedMessageBoxScript&) = delete;
    ScopedMessageBoxScript& operator=(const ScopedMessageBoxScript&) = delete;

    // The boxes shown so far in this scope.
    std::vector<MessageBoxRecord> Records() const { return MessageBoxScript::Records(); }
};
