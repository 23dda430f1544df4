#pragma once
// Old place of ddv.h: include "platform/wnd/dialogs/ddv.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/dialogs/ddv.h"
