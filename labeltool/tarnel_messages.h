#pragma once
// Window messages between Tarnel's preview, frame and label data viewer.

#include "platform/wnd/core/messages.h"

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
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_LABEL_SAVE_AS = 32784;
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr UINT ID_FILE_PRINT_SETUP = 57606;
inline constexpr UINT ID_TRANS_MODE = 32790;
inline constexpr UINT ID_SERIAL_JOIN = 32771;
inline constexpr UINT ID_NOT_JOIN = 32786;
inline constexpr UINT ID_GET_DATA = 32772;
inline constexpr UINT ID_PUT_DATA = 32773;
inline constexpr UINT ID_CASSETTE_OPEN = 32778;
inline constexpr UINT ID_CASSETTE_SAVE_AS = 32779;
inline constexpr UINT ID_CASSETTE_DIALOG = 32780;
inline constexpr UINT ID_VIEW_LABEL_DATA_VIEWER = 32787;
inline constexpr UINT ID_LABEL_FRAME_VIEWER = 32788;
inline constexpr UINT ID_INDICATOR_CONNECTION = 32789;
inline constexpr UINT ID_APP_ABOUT = 57664;
