#pragma once
// Old place of datetime_ctrl.h: include "platform/wnd/controls/datetime_ctrl.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/datetime_ctrl.h"
