#pragma once
// Old place of controlbar.h: include "platform/wnd/docview/controlbar.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/controlbar.h"
