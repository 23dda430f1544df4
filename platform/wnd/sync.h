#pragma once
// Old place of sync.h: include "platform/wnd/core/sync.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/sync.h"
