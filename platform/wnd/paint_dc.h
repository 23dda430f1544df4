#pragma once
// Old place of paint_dc.h: include "platform/wnd/core/paint_dc.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/paint_dc.h"
