#pragma once
// Old place of owner_draw.h: include "platform/wnd/core/owner_draw.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/owner_draw.h"
