#pragma once
// Old place of combobox.h: include "platform/wnd/controls/combobox.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/combobox.h"
