#pragma once
// Old place of cursor.h: include "platform/wnd/core/cursor.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/cursor.h"
