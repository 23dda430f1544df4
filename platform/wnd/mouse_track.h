#pragma once
// Old place of mouse_track.h: include "platform/wnd/core/mouse_track.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/mouse_track.h"
