#pragma once
// Old place of scrollbar.h: include "platform/wnd/core/scrollbar.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/scrollbar.h"
