#pragma once
// Old place of view.h: include "platform/wnd/docview/view.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/view.h"
