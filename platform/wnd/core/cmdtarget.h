#pragma once
// Declarative message maps. Each class that handles messages overrides
// GetMessageMap and returns one static table chained to its base class's table:
//
//   const MessageMap* CMyView::GetMessageMap() const
//   {
//       static const MessageMap kMap(CWnd::GetMessageMap(), {
//           OnWm<WM_CREATE, &CMyView::OnCreate>(),
//           OnWm<WM_TIMER, &CMyView::OnTimer>(),
//           OnMessage<&CMyView::OnQueryRow>(WM_USER + 4),
//           OnCommandMsg<&CMyView::OnInsertRows>(1007),
//           OnControl<&CMyView::OnKillFocusKey>(EN_KILLFOCUS, 600),
//           OnNotifyMsg<&CMyView::OnGridEndEdit>(GVN_ENDLABELEDIT, 1005),
//       });
//       return &kMap;
//   }
//
// The makers check each handler's signature at compile time. (They are named
// ...Msg where a CWnd member of the plain name exists: OnCommand and OnNotify
// would be found first inside a class's own members.) Tables are
// searched from the most derived class to the base; the first matching entry
// handles the message.

#include <initializer_list>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"

class CCmdTarget;
struct CRuntimeClass; // platform/wnd/core/runtime_class.h

// Calls one handler. wParam/lParam are the message's; for commands routed
// through OnCmdMsg wParam is MAKEWPARAM(id, code) and lParam the extra pointer
// (the CCmdUI of an update rule).
using MessageThunk = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message = 0; // WM_ id; WM_COMMAND and WM_NOTIFY entries match code and id too
    UINT code = 0; // notification code (WM_COMMAND: HIWORD(wParam); WM_NOTIFY: NMHDR::code)
    UINT idFirst = 0; // control or command id range (inclusive)
    UINT idLast = 0;
    MessageThunk thunk = nullptr;
};

class MessageMap {
public:
    // base is the base class's map (nullptr for the root).
    MessageMap(const MessageMap* base, std::initializer_list<MessageMapEntry> entries)
        : m_base(base)
        , m_entries(entries)
    { }

    const MessageMap* Base() const { return m_base; }
    std::span<const MessageMapEntry> Entries() const { return m_entries; }

    // First entry of this map or its bases for (message, code, id). For messages
    // other than WM_COMMAND and WM_NOTIFY, code and id are ignored.
    const MessageMapEntry* Find(UINT message, UINT code, UINT id) const;

private:
    const MessageMap* m_base;
    std::vector<MessageMapEntry> m_entries;
};

// Root of everything that receives commands: windows, and (in the framework)
// documents and the application.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The class's message map; the root map is empty.
    virtual const MessageMap* GetMessageMap() const;

    // Run-time class record of the object's class (runtime_class.h); classes
    // without their own record report their nearest base's.
    virtual const CRuntimeClass* GetRuntimeClass() const;
    static const CRuntimeClass* GetThisClass();
    // TRUE when the object's class is runtimeClass or derives from it.
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

    // Runs the handler of command id for code (CN_COMMAND, a control
    // notification, or CN_UPDATE_COMMAND_UI with extra = the CCmdUI). TRUE when
    // a handler ran. With handlerInfo given, only tells whether a handler
    // exists and runs nothing. Routing classes (frames) override this to offer the command
    // to other targets. UI thread.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);
    // Runs the map's WM_NOTIFY entry for the notification (lParam the NMHDR);
    // TRUE when one ran, its result in *result (when given). UI thread.
    BOOL OnNotifyEntry(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs the map's entry for a message other than WM_COMMAND and WM_NOTIFY;
    // TRUE when one ran, its result in *result. UI thread.
    BOOL OnMessageEntry(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

namespace msgmap_detail {
template <class T> struct MemberOf;
template <class C, class F> struct MemberOf<F C::*> {
    using Class = C;
};
template <auto Handler> using HandlerClass = typename MemberOf<decltype(Handler)>::Class;

template <auto Handler, class Expected> constexpr void CheckHandler()
{
    static_assert(std::is_base_of_v<CCmdTarget, HandlerClass<Handler>>,
        "message handlers must be members of a CCmdTarget class");
    static_assert(std::is_same_v<decltype(Handler), Expected>,
        "handler signature does not fit this kind of message map entry");
}
} // namespace msgmap_detail

// A raw entry, for makers defined elsewhere (e.g. update rules with CCmdUI).
constexpr MessageMapEntry MakeMessageEntry(
    UINT message, UINT code, UINT idFirst, UINT idLast, MessageThunk thunk)
{
    return MessageMapEntry { message, code, idFirst, idLast, thunk };
}

// LRESULT Handler(WPARAM, LPARAM) for any message id (typically WM_USER/WM_APP based).
template <auto Handler> MessageMapEntry OnMessage(UINT message)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, LRESULT (C::*)(WPARAM, LPARAM)>();
    return { message, 0, 0, 0, [](CCmdTarget* t, WPARAM wp, LPARAM lp) -> LRESULT {
                return (static_cast<C*>(t)->*Handler)(wp, lp);
            } };
}

// void Handler() for command id (menu item, accelerator, button click).
template <auto Handler> MessageMapEntry OnCommandMsg(UINT id)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)()>();
    return { WM_COMMAND, static_cast<UINT>(CN_COMMAND), id, id, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                (static_cast<C*>(t)->*Handler)();
                return 0;
            } };
}

// void Handler(UINT id) for commands first..last.
template <auto Handler> MessageMapEntry OnCommandRange(UINT first, UINT last)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(UINT)>();
    return { WM_COMMAND, static_cast<UINT>(CN_COMMAND), first, last,
        [](CCmdTarget* t, WPARAM wp, LPARAM) -> LRESULT {
            (static_cast<C*>(t)->*Handler)(LOWORD(wp));
            return 0;
        } };
}

// void Handler() for a control notification (EN_KILLFOCUS, CBN_SELCHANGE ...)
// from control id.
template <auto Handler> MessageMapEntry OnControl(UINT code, UINT id)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)()>();
    return { WM_COMMAND, code, id, id, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                (static_cast<C*>(t)->*Handler)();
                return 0;
            } };
}

// void Handler(UINT id) for a control notification from controls first..last.
template <auto Handler> MessageMapEntry OnControlRange(UINT code, UINT first, UINT last)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(UINT)>();
    return { WM_COMMAND, code, first, last, [](CCmdTarget* t, WPARAM wp, LPARAM) -> LRESULT {
                (static_cast<C*>(t)->*Handler)(LOWORD(wp));
                return 0;
            } };
}

// void Handler(NMHDR*, LRESULT*) for WM_NOTIFY code from control id.
template <auto Handler> MessageMapEntry OnNotifyMsg(UINT code, UINT id)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(NMHDR*, LRESULT*)>();
    return { WM_NOTIFY, code, id, id, [](CCmdTarget* t, WPARAM, LPARAM lp) -> LRESULT {
                LRESULT result = 0;
                (static_cast<C*>(t)->*Handler)(reinterpret_cast<NMHDR*>(lp), &result);
                return result;
            } };
}

// void Handler(UINT id, NMHDR*, LRESULT*) for WM_NOTIFY code from controls first..last.
template <auto Handler> MessageMapEntry OnNotifyRange(UINT code, UINT first, UINT last)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(UINT, NMHDR*, LRESULT*)>();
    return { WM_NOTIFY, code, first, last, [](CCmdTarget* t, WPARAM, LPARAM lp) -> LRESULT {
                LRESULT result = 0;
                auto* header = reinterpret_cast<NMHDR*>(lp);
                (static_cast<C*>(t)->*Handler)(static_cast<UINT>(header->idFrom), header, &result);
                return result;
            } };
}
