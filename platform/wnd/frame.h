#pragma once
// Old place of frame.h: include "platform/wnd/docview/frame.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/frame.h"
