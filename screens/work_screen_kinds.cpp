#include "screens/work_screen_kinds.h"

#include <utility>

#include "shell/view_hints.h"

std::optional<DataKind> KindOfHint(int hint)
{
    static constexpr std::pair<LPARAM, DataKind> kScreens[] = {
        { kHintItem, DataKind::Item },
        { kHintIngredient, DataKind::Add },
        { kHintPreset, DataKind::Preset },
        { kHintAdvertisement, DataKind::Adv },
        { kHintScaleInfo, DataKind::ScaleInfo },
        { kHintScaleTotal, DataKind::ResultAll },
        { kHintItemTotal, DataKind::ResultItemAll },
        { kHintItemDay, DataKind::ResultItemDay },
        { kHintOneDay, DataKind::ResultDay },
        { kHintUserLabel, DataKind::UserLabel },
        { kHintScaleRootInfo, DataKind::ScaleRootInfo },
        { kHintLandAddition, DataKind::LandAddition },
    };
    for (const auto& [number, kind] : kScreens) {
        if (number == hint)
            return kind;
    }
    return std::nullopt;
}

const char* ItemTableOf(DataKind kind)
{
    switch (kind) {
    case DataKind::Item:
        return "Item";
    case DataKind::Add:
        return "Add";
    case DataKind::Adv:
        return "AdvT";
    case DataKind::LandAddition:
        return "Land_Add";
    case DataKind::Preset:
        return "Preset";
    case DataKind::UserLabel:
        return "UserLabel";
    default:
        return nullptr;
    }
}
