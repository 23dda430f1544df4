#pragma once
// Old place of shell_services.h: include "platform/wnd/desktop/shell_services.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/desktop/shell_services.h"
