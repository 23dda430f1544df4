#pragma once
// Old place of dialog_nav.h: include "platform/wnd/dialogs/dialog_nav.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/dialogs/dialog_nav.h"
