#pragma once
// Old place of app.h: include "platform/wnd/core/app.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/app.h"
