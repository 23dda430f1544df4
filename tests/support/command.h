#pragma once
// A command as a menu item or an accelerator sends it: the command's update
// rules run through target's route first and a command they grey is not sent
// (the menu shows it greyed); else WM_COMMAND with the id and notification
// code 0, to target. False when greyed.

#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/wnd.h"

inline bool Command(CWnd& target, UINT id)
{
    CCmdUI state;
    state.m_nID = id;
    state.DoUpdate(&target, FALSE);
    if (!state.m_bEnabled)
        return false;
    target.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}
