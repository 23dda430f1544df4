#pragma once
// Old place of doc.h: include "platform/wnd/docview/doc.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/doc.h"
