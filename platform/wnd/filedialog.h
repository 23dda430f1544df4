#pragma once
// Old place of filedialog.h: include "platform/wnd/dialogs/filedialog.h" (bash /work/wnd_rooms.sh
// rewrites includes). Goes once every include has moved.

#include "platform/wnd/dialogs/filedialog.h"
