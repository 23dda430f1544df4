#pragma once
// A command as a menu item or an accelerator sends it: WM_COMMAND with the
// id and notification code 0, to target.

#include "platform/wnd/core/wnd.h"

inline void Command(CWnd& target, UINT id)
{
    target.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
