#pragma once
// Old place of thread.h: include "platform/wnd/core/thread.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/thread.h"
