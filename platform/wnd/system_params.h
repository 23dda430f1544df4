#pragma once
// Old place of system_params.h: include "platform/wnd/core/system_params.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/system_params.h"
