#pragma once
// Old place of menu.h: include "platform/wnd/core/menu.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/menu.h"
