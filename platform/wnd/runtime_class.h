#pragma once
// Old place of runtime_class.h: include "platform/wnd/core/runtime_class.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/runtime_class.h"
