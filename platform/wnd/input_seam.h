#pragma once
// Old place of input_seam.h: include "platform/wnd/core/input_seam.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/input_seam.h"
