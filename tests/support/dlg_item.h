#pragma once
// The control a dialog or form shows under id, as the class it was bound to.

#include <stdexcept>

#include "platform/wnd/core/wnd.h"

template <class Control> Control& DlgItem(const CWnd& parent, int id)
{
    auto* control = dynamic_cast<Control*>(parent.GetDlgItem(id));
    if (!control)
        throw std::logic_error("no such control");
    return *control;
}
