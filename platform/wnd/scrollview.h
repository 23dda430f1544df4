#pragma once
// Old place of scrollview.h: include "platform/wnd/docview/scrollview.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/scrollview.h"
