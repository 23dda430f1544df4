#pragma once
// Old place of toolbar.h: include "platform/wnd/docview/toolbar.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/toolbar.h"
