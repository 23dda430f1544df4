#pragma once
// Old place of listbox.h: include "platform/wnd/controls/listbox.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/listbox.h"
