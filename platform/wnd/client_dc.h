#pragma once
// Old place of client_dc.h: include "platform/wnd/core/client_dc.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/client_dc.h"
