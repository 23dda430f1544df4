#pragma once
// Old place of statusbar.h: include "platform/wnd/docview/statusbar.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/statusbar.h"
