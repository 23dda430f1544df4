#pragma once
// Old place of messages.h: include "platform/wnd/core/messages.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/core/messages.h"
