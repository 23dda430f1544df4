#include "screens/screen_panels.h"

#include <array>

#include "resources/calvorn_ids.h"

namespace {

using G = PanelGroup;
using S = ScreenSetUp;

constexpr PanelPlace kPresetPlaces[] = {
    { IDC_WORK_SYNC_PRESET_LABEL, 630, 80, 130, 50 },
    { IDC_WORK_SCALE_TRANS_GROUP, 780, 60, 150, 250 },
    { IDC_WORK_SCALE_TRANS, 800, 80, 100, 50 },
    { IDC_WORK_SCALE_RECV_ALL, 800, 140, 100, 50 },
    { IDC_WORK_SCALE_RECV_PAGE, 800, 210, 100, 20 },
    { IDC_WORK_SCALE_RECV_SELECT, 800, 235, 100, 50 },
};

constexpr PanelPlace kUserLabelPlaces[] = {
    { IDC_WORK_LABEL_INSERT, 50, 270, 60, 30 },
    { IDC_WORK_LABEL_DELETE, 120, 270, 60, 30 },
    { IDC_WORK_LABEL_TRANS_ALL, 480, 270, 70, 30 },
    { IDC_WORK_LABEL_TRANS_SELECT, 560, 270, 100, 30 },
    { IDC_WORK_LABEL_RECV, 680, 270, 70, 30 },
    { IDC_WORK_LABEL_IMAGE, 50, 310, 130, 30 },
    { IDC_WORK_PROGRESS_GROUP, 190, 260, 285, 80 },
    { IDC_WORK_PC_LABEL, 200, 278, 55, 20 },
    { IDC_WORK_SEND_LAMP, 200, 303, 45, 30 },
    { IDC_WORK_PROGRESS, 270, 278, 95, 20 },
    { IDC_WORK_SCALE_LABEL, 375, 278, 85, 20 },
    { IDC_WORK_RECV_LAMP, 375, 303, 45, 30 },
    { IDC_WORK_SYNC_PRESET_LABEL, 480, 310, 130, 30 },
};

constexpr PanelRect kItemGrid { 30, 70, 720, 400 };

// One row per screen layout.
constexpr ScreenPanels kPanels[] = {
    { .setUps = Bits({ S::Initial }), .gridCells = GridCells::Rebuilt, .scaleList = ScaleList::Emptied },
    { .setUps = Bits({ S::Items, S::Table }),
        .shown = Groups({ G::Edit, G::Progress }),
        .serverShown = Groups({ G::SyncTables }),
        .grid = kItemGrid,
        .progress = PanelCorner { 200, 492 },
        .gridCells = GridCells::Rebuilt },
    { .setUps = Bits({ S::Preset }),
        .shown = Groups({ G::ScaleData, G::Progress, G::PresetKeys }),
        .serverShown = Groups({ G::SyncPreset }),
        .progress = PanelCorner { 630, 142 },
        .places = kPresetPlaces,
        .gridCells = GridCells::Rebuilt },
    { .setUps = Bits({ S::ScaleInfo, S::ScaleRootInfo }),
        .shown = Groups({ G::ScaleInfo, G::Progress }),
        .grid = PanelRect { 50, 60, 700, 350 },
        .progress = PanelCorner { 570, 432 },
        .gridCells = GridCells::Rebuilt },
    { .setUps = Bits({ S::ScaleReg }),
        .shown = Groups({ G::ScaleRegister }),
        .gridCells = GridCells::Rebuilt,
        .scaleList = ScaleList::Emptied },
    { .setUps = Bits({ S::Results }),
        .shown = Groups({ G::Result, G::Progress }),
        .grid = kItemGrid,
        .progress = PanelCorner { 50, 492 },
        .gridCells = GridCells::Rebuilt,
        .scaleList = ScaleList::Emptied },
    { .setUps = Bits({ S::Users }), .shown = Groups({ G::Users }), .scaleList = ScaleList::Emptied },
    { .setUps = Bits({ S::UserLabel }),
        .shown = Groups({ G::UserLabel, G::Progress }),
        .serverShown = Groups({ G::SyncPreset }),
        .grid = PanelRect { 50, 60, 700, 200 },
        .places = kUserLabelPlaces,
        .gridCells = GridCells::Rebuilt },
};

constexpr bool EachSetUpInOneRowAtMost()
{
    SetUps seen = 0;
    for (const ScreenPanels& row : kPanels) {
        if (seen & row.setUps)
            return false;
        seen |= row.setUps;
    }
    return true;
}
static_assert(EachSetUpInOneRowAtMost(), "a set-up has one row of panels");

} // namespace

const ScreenPanels* PanelsOf(ScreenSetUp setUp)
{
    for (const ScreenPanels& row : kPanels) {
        if (row.setUps & Bits({ setUp }))
            return &row;
    }
    return nullptr;
}
