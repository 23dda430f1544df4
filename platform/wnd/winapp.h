#pragma once
// Old place of winapp.h: include "platform/wnd/docview/winapp.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/winapp.h"
