#pragma once
// Old place of cmdui.h: include "platform/wnd/core/cmdui.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/cmdui.h"
