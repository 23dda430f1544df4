#pragma once
// Old place of tray.h: include "platform/wnd/desktop/tray.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/desktop/tray.h"
