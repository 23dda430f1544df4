#pragma once
// Old place of wnd.h: include "platform/wnd/core/wnd.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/wnd.h"
