#pragma once
// Old place of modal_script.h: include "platform/wnd/dialogs/modal_script.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/dialogs/modal_script.h"
