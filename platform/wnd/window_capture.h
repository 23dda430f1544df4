#pragma once
// Old place of window_capture.h: include "platform/wnd/core/window_capture.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/window_capture.h"
