#pragma once
// Old place of splitter.h: include "platform/wnd/docview/splitter.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/splitter.h"
