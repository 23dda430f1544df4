#pragma once
// Old place of ipaddress.h: include "platform/wnd/controls/ipaddress.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/ipaddress.h"
