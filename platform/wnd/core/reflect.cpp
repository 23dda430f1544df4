// Reflection of a parent's control messages back to the control.

#include "platform/wnd/core/reflect.h"

#include "platform/gdi/dc.h"

namespace {

// The reflection entry of target's map for message (and code, for commands).
const MessageMapEntry* FindReflected(const CCmdTarget* target, UINT message, UINT code)
{
    const UINT reflected = WM_REFLECT_BASE + message;
    for (const MessageMap* map = target->GetMessageMap(); map; map = map->Base()) {
        for (const MessageMapEntry& entry : map->Entries()) {
            if (entry.message == reflected && (message != WM_COMMAND || entry.code == code))
                return &entry;
        }
    }
    return nullptr;
}

} // namespace

namespace reflect_detail {

LRESULT CallCtlColor(
    CCmdTarget* target, WPARAM wParam, LPARAM lParam, HBRUSH (*call)(CCmdTarget*, CDC*, UINT))
{
    CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    return reinterpret_cast<LRESULT>(call(target, dc, static_cast<UINT>(lParam)));
}

} // namespace reflect_detail

BOOL ReflectNotification(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* object = CWnd::FromHandle(control);
    if (!object)
        return FALSE;
    UINT code = 0;
    UINT key = message;
    LPARAM argument = lParam;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        key = WM_CTLCOLOR;
        argument = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);
    }
    const MessageMapEntry* entry = FindReflected(object, key, code);
    if (!entry)
        return FALSE;
    const LRESULT answer = entry->thunk(object, wParam, argument);
    if (key == WM_COMMAND) {
        // Reflected commands answer whether the parent is kept from them.
        if (result)
            *result = 0;
        return answer != 0;
    }
    if (key == WM_CTLCOLOR && answer == 0)
        return FALSE;
    if (result)
        *result = answer;
    return TRUE;
}

LRESULT SendNotifyToParent(HWND control, UINT code)
{
    CWnd* object = CWnd::FromHandle(control);
    CWnd* parentObject = object ? object->GetParent() : nullptr;
    // Handles only from here on: the reflected handler may destroy windows.
    const HWND parent = parentObject ? parentObject->GetSafeHwnd() : nullptr;
    const UINT id = object ? static_cast<UINT>(object->GetDlgCtrlID()) : 0;
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code));
    if (ReflectNotification(control, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control), nullptr))
        return 0;
    if (!parent || !IsWindow(control))
        return 0;
    return ::SendMessage(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}
