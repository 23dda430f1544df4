#pragma once
// Old place of msgbox.h: include "platform/wnd/core/msgbox.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/msgbox.h"
