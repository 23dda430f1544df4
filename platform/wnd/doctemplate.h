#pragma once
// Old place of doctemplate.h: include "platform/wnd/docview/doctemplate.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/doctemplate.h"
