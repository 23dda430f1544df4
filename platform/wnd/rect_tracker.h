#pragma once
// Old place of rect_tracker.h: include "platform/wnd/controls/rect_tracker.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/rect_tracker.h"
