#pragma once
// Old place of dialogbar.h: include "platform/wnd/docview/dialogbar.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/dialogbar.h"
