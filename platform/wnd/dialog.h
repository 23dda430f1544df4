#pragma once
// Old place of dialog.h: include "platform/wnd/dialogs/dialog.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/dialogs/dialog.h"
