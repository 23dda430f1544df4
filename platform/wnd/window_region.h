#pragma once
// Old place of window_region.h: include "platform/wnd/core/window_region.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/window_region.h"
