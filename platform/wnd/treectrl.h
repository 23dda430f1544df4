#pragma once
// Old place of treectrl.h: include "platform/wnd/controls/treectrl.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/controls/treectrl.h"
