#include "platform/wnd/keyboard.h"

#include <map>

#include <QGuiApplication>
#include <QWidget>

#include "platform/wnd/messages.h"
#include "platform/wnd/wnd_internal.h"

namespace {

std::map<int, bool> g_overrides;

} // namespace

SHORT GetKeyState(int virtKey)
{
    if (auto it = g_overrides.find(virtKey); it != g_overrides.end())
        return it->second ? static_cast<SHORT>(-128) : 0;
    if (!qGuiApp)
        return 0;
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    bool down = false;
    switch (static_cast<UINT>(virtKey)) {
    case VK_SHIFT:
        down = mods & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = mods & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = mods & Qt::AltModifier;
        break;
    default:
        break;
    }
    return down ? static_cast<SHORT>(-128) : 0;
}

void SetKeyStateOverride(int virtKey, BOOL down)
{
    g_overrides[virtKey] = down != FALSE;
}

void ClearKeyStateOverrides()
{
    g_overrides.clear();
}

void EnableImeInput(HWND hwnd)
{
    if (QWidget* widget = wnd_internal::WidgetOf(hwnd))
        widget->setAttribute(Qt::WA_InputMethodEnabled, true);
}
