#pragma once
// Old place of edit.h: include "platform/wnd/controls/edit.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/edit.h"
