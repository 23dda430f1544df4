#pragma once
// Old place of static.h: include "platform/wnd/controls/static.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/static.h"
