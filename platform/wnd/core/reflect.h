#pragma once
// Reflected notifications: a control may handle the notifications it sends to
// its parent (and the parent's owner-draw and colour messages about it) in its
// own message map, under WM_REFLECT_BASE + message. A control sends through
// SendNotifyToParent, which offers the notification to the control first.
// UI thread.

#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/wnd.h"

class CDC;

inline constexpr UINT WM_REFLECT_BASE = 0xBC00;
// The colour messages (WM_CTLCOLORBTN ...) are reflected as this one, with
// the CTLCOLOR_ kind.
inline constexpr UINT WM_CTLCOLOR = 0x0019;
inline constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT CTLCOLOR_MSGBOX = 0;
inline constexpr UINT CTLCOLOR_EDIT = 1;
inline constexpr UINT CTLCOLOR_LISTBOX = 2;
inline constexpr UINT CTLCOLOR_BTN = 3;
inline constexpr UINT CTLCOLOR_DLG = 4;
inline constexpr UINT CTLCOLOR_STATIC = 6;

namespace reflect_detail {
template <class C> using ReflectExHandler = BOOL (C::*)();
template <class C> using ReflectHandler = void (C::*)();
template <class C> using CtlColorHandler = HBRUSH (C::*)(CDC*, UINT);
LRESULT CallCtlColor(
    CCmdTarget* target, WPARAM wParam, LPARAM lParam, HBRUSH (*call)(CCmdTarget*, CDC*, UINT));
} // namespace reflect_detail

// BOOL Handler() for a notification code the control sends: TRUE keeps it
// from the parent, FALSE lets the parent see it too.
template <auto Handler> MessageMapEntry OnControlReflectEx(UINT code)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, reflect_detail::ReflectExHandler<C>>();
    return { WM_REFLECT_BASE + WM_COMMAND, code, 0, 0xFFFF,
        [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { return (static_cast<C*>(t)->*Handler)(); } };
}

// void Handler() for a notification code the control sends; the parent does
// not see it.
template <auto Handler> MessageMapEntry OnControlReflect(UINT code)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, reflect_detail::ReflectHandler<C>>();
    return { WM_REFLECT_BASE + WM_COMMAND, code, 0, 0xFFFF, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                (static_cast<C*>(t)->*Handler)();
                return TRUE;
            } };
}

// HBRUSH Handler(CDC* dc, UINT ctlColor) for the parent's colour message about
// the control; a null brush leaves the message to the parent.
template <auto Handler> MessageMapEntry OnCtlColorReflect()
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, reflect_detail::CtlColorHandler<C>>();
    return { WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, [](CCmdTarget* t, WPARAM wp, LPARAM lp) -> LRESULT {
                return reflect_detail::CallCtlColor(t, wp, lp, [](CCmdTarget* target, CDC* dc, UINT kind) {
                    return (static_cast<C*>(target)->*Handler)(dc, kind);
                });
            } };
}

// Offers a message that the parent received about control to the control's
// reflection entries: WM_COMMAND (by notification code), WM_DRAWITEM,
// WM_MEASUREITEM and the WM_CTLCOLOR messages. TRUE when the control handled
// it (result then holds the answer).
BOOL ReflectNotification(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Sends notification code as WM_COMMAND from control to its parent, after
// offering it to the control's reflection entries. Returns the parent's result
// (0 when the control kept the notification).
LRESULT SendNotifyToParent(HWND control, UINT code);
