#pragma once
// CCommandParts: the command targets a window is made of, offered its
// commands, notifications and messages before the window's own map, in the
// order given (as the class library routes a frame's commands to its view).
// The window overrides OnCmdMsg, OnNotify and WindowProc to ask the parts
// first; a part is any CCmdTarget with its own message map. A part with a
// public DoDataExchange binds its controls in the window's, in the order
// added. The parts are not owned and outlive the window's last message. UI
// thread.

#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/wnd/core/cmdtarget.h"

class CDataExchange;

class CCommandParts {
public:
    CCommandParts() = default;
    explicit CCommandParts(std::initializer_list<CCmdTarget*> parts)
        : m_parts(parts)
    { }

    template <class Part> void Add(Part& part)
    {
        m_parts.push_back(&part);
        if constexpr (requires(CDataExchange * dx) { part.DoDataExchange(dx); })
            m_exchanges.push_back([&part](CDataExchange* dx) { part.DoDataExchange(dx); });
    }

    // The first part whose map handles command id for code; TRUE when one did.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) const;
    // The first part whose map has the notification's entry ran it.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    // The first part whose map has the message's entry ran it (neither
    // WM_COMMAND nor WM_NOTIFY).
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    // Every part's data exchange, in the order added.
    void DoDataExchange(CDataExchange* dx) const;

private:
    std::vector<CCmdTarget*> m_parts;
    std::vector<std::function<void(CDataExchange*)>> m_exchanges;
};
