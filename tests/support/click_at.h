#pragma once
// A click where the user sees a control: at the middle of its rectangle, in
// its parent's client coordinates, through the input path's hit test, so it
// reaches whatever window lies there (the control, or one that covers it).

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/wnd.h"

// False when parent has no control id or is not shown.
inline bool ClickAtControl(CWnd& parent, int id)
{
    CWnd* control = parent.GetDlgItem(id);
    if (!control)
        return false;
    CRect place;
    control->GetWindowRect(&place);
    parent.ScreenToClient(&place);
    return AfxSimulateClickAt(parent.GetSafeHwnd(), place.CenterPoint()) != FALSE;
}

// A press of button id as the user makes it: a click at its place, then the
// messages the click posted handled. A greyed button ignores the click and
// one that is hidden is not there to be hit. False as ClickAtControl.
inline bool ClickButton(CWnd& parent, int id)
{
    if (!ClickAtControl(parent, id))
        return false;
    AfxPumpUntil([] { return false; }, 0);
    return true;
}
