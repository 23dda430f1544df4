#pragma once
// Old place of oledata.h: include "platform/wnd/desktop/oledata.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/desktop/oledata.h"
