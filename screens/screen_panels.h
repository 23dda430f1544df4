#pragma once
// The work screen's panels as data: each set-up of the table of screens
// (shell/screen_table.h) that lays out a screen has one row here, the groups
// its screen shows and where it places them. The parts declare their
// controls (screens/work_screen_panels.h); CWorkScreenLayout derives from
// both which controls a screen hides and shows and what they say.

#include <initializer_list>
#include <optional>
#include <span>

#include "screens/work_screen_panels.h"
#include "shell/screen_table.h"

// A set of set-ups, one bit each.
using SetUps = unsigned;

struct PanelPlace {
    int id;
    int x, y, cx, cy;
};

struct PanelRect {
    int x, y, cx, cy;
};

struct PanelCorner {
    int x, y;
};

// Whether the grid is rebuilt before the screen is laid out.
enum class GridCells { Kept, Rebuilt };

// Whether the scale register's list is emptied.
enum class ScaleList { Kept, Emptied };

// The panels of one or more set-ups. A row names its fields; a field it
// leaves out is the default given here.
struct ScreenPanels {
    SetUps setUps;
    PanelGroups shown = 0;
    // Shown in server mode only.
    PanelGroups serverShown = 0;
    // Where the grid stands; none hides it.
    std::optional<PanelRect> grid {};
    // The progress group's corner (its controls stand relative to it).
    std::optional<PanelCorner> progress {};
    // Other places, each taken by a control of a shown group.
    std::span<const PanelPlace> places {};
    GridCells gridCells = GridCells::Kept;
    ScaleList scaleList = ScaleList::Kept;
};

// The panels of a set-up; nullptr for a set-up that lays out no screen.
[[nodiscard]] const ScreenPanels* PanelsOf(ScreenSetUp setUp);
