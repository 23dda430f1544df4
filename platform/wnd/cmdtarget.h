#pragma once
// Old place of cmdtarget.h: include "platform/wnd/core/cmdtarget.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/cmdtarget.h"
