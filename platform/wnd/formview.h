#pragma once
// Old place of formview.h: include "platform/wnd/docview/formview.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/docview/formview.h"
