#pragma once
// Old place of button.h: include "platform/wnd/controls/button.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/button.h"
