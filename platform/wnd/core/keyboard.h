#pragma once
// Keyboard state as the window procedures see it. UI thread.

#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"

// Negative (high bit set) while the key is down. For VK_SHIFT, VK_CONTROL and
// VK_MENU it reflects the modifiers of the input event being handled, or the
// state set by SetKeyStateOverride. The low bit is set while Caps Lock (0x14),
// Num Lock (0x90) or Scroll Lock (0x91) is on: the keyboard's lights on an X
// display, else off.
SHORT GetKeyState(int virtKey);
// Forces the reported on/off state of a lock key (tests).
void SetKeyToggleOverride(int virtKey, BOOL toggled);

// Forces the reported state of a key (tests drive keyboard messages with it);
// ClearKeyStateOverrides returns to the real keyboard.
void SetKeyStateOverride(int virtKey, BOOL down);
void ClearKeyStateOverrides();

// Input method: WM_IME_CHAR carries one composed character (its code point in
// wParam) after the WM_KEYDOWN of the composition.
inline constexpr unsigned WM_IME_CHAR = 0x0286;

// Lets the window receive composed input-method text (as WM_IME_CHAR). UI thread.
void EnableImeInput(HWND hwnd);
