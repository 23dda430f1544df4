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

// One row per screen layout: set-ups, groups shown, in server mode also,
// grid, progress group, other places, grid rebuilt, scale list emptied.
constexpr ScreenPanels kPanels[] = {
    { Bits({ S::Initial }), 0, 0, std::nullopt, std::nullopt, {}, true, true },
    { Bits({ S::Items, S::Table }), Groups({ G::Edit, G::Progress }), Groups({ G::SyncTables }), kItemGrid,
        PanelCorner { 200, 492 }, {}, true, false },
    { Bits({ S::Preset }), Groups({ G::ScaleData, G::Progress, G::PresetKeys }), Groups({ G::SyncPreset }),
        std::nullopt, PanelCorner { 630, 142 }, kPresetPlaces, true, false },
    { Bits({ S::ScaleInfo, S::ScaleRootInfo }), Groups({ G::ScaleInfo, G::Progress }), 0,
        PanelRect { 50, 60, 700, 350 }, PanelCorner { 570, 432 }, {}, true, false },
    { Bits({ S::ScaleReg }), Groups({ G::ScaleRegister }), 0, std::nullopt, std::nullopt, {}, true, true },
    { Bits({ S::Results }), Groups({ G::Result, G::Progress }), 0, kItemGrid, PanelCorner { 50, 492 }, {},
        true, true },
    { Bits({ S::Users }), Groups({ G::Users }), 0, std::nullopt, std::nullopt, {}, false, true },
    { Bits({ S::UserLabel }), Groups({ G::UserLabel, G::Progress }), Groups({ G::SyncPreset }),
        PanelRect { 50, 60, 700, 200 }, std::nullopt, kUserLabelPlaces, true, false },
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
