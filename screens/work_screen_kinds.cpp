#include "screens/work_screen_kinds.h"

#include <utility>

#include "shell/view_hints.h"

namespace {

// The numbered screens that show a data kind.
constexpr std::pair<LPARAM, DataKind> kScreens[] = {
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

} // namespace

std::optional<DataKind> KindOfHint(int hint)
{
    for (const auto& [number, kind] : kScreens) {
        if (number == hint)
            return kind;
    }
    return std::nullopt;
}

int HintOfKind(DataKind kind)
{
    for (const auto& [number, shown] : kScreens) {
        if (shown == kind)
            return static_cast<int>(number);
    }
    return 0;
}
