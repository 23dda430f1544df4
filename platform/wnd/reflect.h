#pragma once
// Old place of reflect.h: include "platform/wnd/core/reflect.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/reflect.h"
