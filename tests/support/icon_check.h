#pragma once
// Whether an icon button of a dialog shows the icon of the given resource id:
// loading that icon again changes no pixel of the button.

#include "controls/icon_button.h"
#include "tests/support/pixels.h"

inline bool ShowsIcon(CWnd& parent, int id, int icon)
{
    auto* button = dynamic_cast<CIconButton*>(parent.GetDlgItem(id));
    if (!button)
        return false;
    Snapshot before(*button);
    button->LoadIcons(icon, CIconButton::kAutoDarker);
    Snapshot after(*button);
    if (!before.Ok() || !after.Ok())
        return false;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x)
            if (before.At(x, y) != after.At(x, y))
                return false;
    return true;
}
