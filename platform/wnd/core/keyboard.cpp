#include "platform/wnd/core/keyboard.h"

#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <map>

#include <QGuiApplication>
#include <QWidget>
#include <qguiapplication_platform.h>

#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/messages.h"

namespace {

std::map<int, bool> g_overrides;
std::map<int, bool> g_toggleOverrides;

constexpr int kCapsLock = 0x14;
constexpr int kNumLock = 0x90;
constexpr int kScrollLock = 0x91;

// The keyboard LEDs of the X server (bit 0 Caps Lock, 1 Num Lock, 2 Scroll
// Lock), read through the display's own xcb connection; libxcb is loaded at
// run time, so nothing is needed to build. -1 when there is no X display.
long KeyboardLedMask()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    void* connection = x11 ? static_cast<void*>(x11->connection()) : nullptr;
    if (!connection)
        return -1;
    struct Cookie {
        unsigned int sequence;
    };
    struct Reply {
        std::uint8_t responseType;
        std::uint8_t globalAutoRepeat;
        std::uint16_t sequence;
        std::uint32_t length;
        std::uint32_t ledMask;
    };
    using Request = Cookie (*)(void*);
    using Wait = Reply* (*)(void*, Cookie, void**);
    static void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    static auto request
        = library ? reinterpret_cast<Request>(::dlsym(library, "xcb_get_keyboard_control")) : nullptr;
    static auto wait
        = library ? reinterpret_cast<Wait>(::dlsym(library, "xcb_get_keyboard_control_reply")) : nullptr;
    if (!request || !wait)
        return -1;
    void* error = nullptr;
    Reply* reply = wait(connection, request(connection), &error);
    std::free(error);
    if (!reply)
        return -1;
    const long mask = static_cast<long>(reply->ledMask);
    std::free(reply);
    return mask;
}

// TRUE when the lock key's light is on.
bool IsToggled(int virtKey)
{
    if (auto it = g_toggleOverrides.find(virtKey); it != g_toggleOverrides.end())
        return it->second;
    int bit;
    switch (virtKey) {
    case kCapsLock:
        bit = 0;
        break;
    case kNumLock:
        bit = 1;
        break;
    case kScrollLock:
        bit = 2;
        break;
    default:
        return false;
    }
    const long mask = KeyboardLedMask();
    return mask >= 0 && (mask >> bit) & 1;
}

} // namespace

SHORT GetKeyState(int virtKey)
{
    const SHORT toggled = IsToggled(virtKey) ? 1 : 0;
    if (auto it = g_overrides.find(virtKey); it != g_overrides.end())
        return static_cast<SHORT>((it->second ? -128 : 0) | toggled);
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
    return static_cast<SHORT>((down ? -128 : 0) | toggled);
}

void SetKeyToggleOverride(int virtKey, BOOL toggled)
{
    g_toggleOverrides[virtKey] = toggled != FALSE;
}

void SetKeyStateOverride(int virtKey, BOOL down)
{
    g_overrides[virtKey] = down != FALSE;
}

void ClearKeyStateOverrides()
{
    g_overrides.clear();
    g_toggleOverrides.clear();
}

void EnableImeInput(HWND hwnd)
{
    if (QWidget* widget = wnd_internal::WidgetOf(hwnd))
        widget->setAttribute(Qt::WA_InputMethodEnabled, true);
}
