#pragma once
// A click where the user sees a control: at the middle of its rectangle, in
// its parent's client coordinates, through the input path's hit test, so it
// reaches whatever window lies there (the control, or one that covers it).

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
