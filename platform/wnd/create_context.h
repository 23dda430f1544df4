#pragma once
// Old place of create_context.h: include "platform/wnd/docview/create_context.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/create_context.h"
