#pragma once
// Old place of keyboard.h: include "platform/wnd/core/keyboard.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/keyboard.h"
