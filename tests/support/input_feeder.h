#pragma once
// Hands queued mouse and key input to a window one event per posted message,
// so that a modal loop started by the first event (a tracker's drag) receives
// the events after it. Create it as a hidden popup; UI thread.

#include <deque>
#include <utility>

#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/ui_pump.h"

class InputFeeder : public CWnd {
public:
    static constexpr UINT kFeed = WM_APP + 73;
    struct Event {
        UINT message; // a mouse message, or WM_KEYDOWN with the key in point.x
        CPoint point;
        UINT keys = MK_LBUTTON;
    };
    BOOL Create() { return CreateEx(0, nullptr, "feeder", WS_POPUP, 0, 0, 1, 1, nullptr, 0); }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(), { OnMessage<&InputFeeder::OnFeed>(kFeed) });
        return &kMap;
    }
    // Delivers events to target (client coordinates) and waits until all went.
    bool Run(HWND target, std::deque<Event> events)
    {
        m_target = target;
        m_events = std::move(events);
        PostMessage(kFeed);
        return PumpUntil([this] { return m_events.empty(); });
    }
    // A press at from, moves to to, and the release there.
    bool Drag(HWND target, CPoint from, CPoint to)
    {
        const CPoint middle((from.x + to.x) / 2, (from.y + to.y) / 2);
        return Run(target,
            { { WM_LBUTTONDOWN, from }, { WM_MOUSEMOVE, middle }, { WM_MOUSEMOVE, to },
                { WM_LBUTTONUP, to, 0 } });
    }

private:
    LRESULT OnFeed(WPARAM, LPARAM)
    {
        if (m_events.empty())
            return 0;
        const Event event = m_events.front();
        m_events.pop_front();
        if (!m_events.empty())
            PostMessage(kFeed);
        if (event.message == WM_KEYDOWN)
            AfxSimulateKey(m_target, static_cast<UINT>(event.point.x));
        else
            AfxSimulateMouse(m_target, event.message, event.point, event.keys);
        return 0;
    }
    HWND m_target = nullptr;
    std::deque<Event> m_events;
};
