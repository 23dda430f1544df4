#pragma once
// Window messages between Tarnel's preview, frame and label data viewer.

#include "platform/wnd/core/messages.h"
#include "resources/tarnel_ids.h"

// To the main frame: an item moved or the label size changed (wParam: code
// in the low byte, item or size code in the next; lParam: X << 16 | Y in
// dots, or a size value) and a cassette file was read. The frame forwards
// them to the viewer as the WM_BAR_ messages.
inline constexpr UINT WM_LABEL_ITEM_MOVED = 0x415;
inline constexpr UINT WM_CASSETTE_LOADED = 0x417;
inline constexpr UINT WM_BAR_INITDATA = 0x401;
inline constexpr UINT WM_BAR_ITEM_MOVED = 0x416;
inline constexpr UINT WM_BAR_CASSETTE_LOADED = 0x418;

// Command ids of Tarnel's menus and toolbar.
