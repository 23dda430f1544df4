#pragma once
// Old place of listctrl.h: include "platform/wnd/controls/listctrl.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/listctrl.h"
