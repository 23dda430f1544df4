#pragma once
// Old place of tooltip.h: include "platform/wnd/controls/tooltip.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/tooltip.h"
