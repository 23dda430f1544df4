#include "shell/screen_table.h"

#include <array>

namespace {

using K = DataKind;
using W = ScreenWord;
using U = ScreenSetUp;
constexpr std::nullopt_t none = std::nullopt;

// screen, tree texts, query word, data kind, kind word, caption, split,
// reservation buttons, print kind, set-up.
constexpr std::array<ScreenInfo, 19> kScreens = { {
    { Screen::Item, "Item", "상품", "Item_Read", K::Item, W::Kind, nullptr, "Item Display", true, true,
        "ItemPrint", U::Items },
    { Screen::Ingredient, "Ingredient", "첨가물", "Add_Read", K::Add, W::Kind, nullptr, "Ingredient Display",
        true, false, "AddPrint", U::Table },
    { Screen::Preset, "Preset", "프리셋", "Pre_Read", K::Preset, W::Kind, nullptr, "Preset Display", true,
        false, "PresetPrint", U::Preset },
    { Screen::Advertisement, "Advertisement", "광고문", "Adv_Read", K::Adv, W::Kind, nullptr,
        "Advertisement Display", true, false, "AdvPrint", U::Table },
    { Screen::ScaleInfo, "Scale Info", "저울 정보", "Scale_Info_Read", K::ScaleInfo, W::Kind, nullptr,
        "Scale Information", true, false, "", U::ScaleInfo },
    { Screen::ScaleReg, "Scale Reg", "저울 등록", "Scale_Reg_Read", none, W::Own, "Scale_reg",
        "Scale Register", true, false, "", U::ScaleReg },
    { Screen::CommMode, nullptr, nullptr, "Comm_Mode_Read", none, W::None, nullptr, nullptr, false, false, "",
        U::CommSetup },
    { Screen::LoggedIn, nullptr, nullptr, nullptr, none, W::None, nullptr, nullptr, false, false, "",
        U::LogIn },
    { Screen::LoggedOut, nullptr, nullptr, nullptr, none, W::None, nullptr, nullptr, false, false, "",
        U::LogOut },
    // The log-out screen clears the kind word.
    { Screen::Refresh, nullptr, nullptr, nullptr, none, W::Own, "", "Initial Display", true, false, "",
        U::LogOutScreen },
    { Screen::DatabaseChanged, nullptr, nullptr, nullptr, none, W::Keep, nullptr, "Initial Display", true,
        false, "", U::Initial },
    // The sales totals' captions follow the language.
    { Screen::ScaleTotal, "Scale Total Result", "저울 총집계", "Scale_Result_All_Read", K::ResultAll,
        W::Query, nullptr, nullptr, true, false, "ResultAllPrint", U::Results },
    { Screen::ItemTotal, "Item Total Result", "상품별 총집계", "Scale_Result_Item_All_Read", K::ResultItemAll,
        W::Query, nullptr, nullptr, true, false, "ResultItemPrint", U::Results },
    { Screen::ItemDay, "Item Day Result", "상품별 일일 총집계", "Scale_Result_Item_Day_Read",
        K::ResultItemDay, W::Query, nullptr, nullptr, true, false, "ResultItemDayPrint", U::Results },
    { Screen::OneDay, "One Day Result", "일일 총집계", "Scale_Result_Day_Read", K::ResultDay, W::Query,
        nullptr, nullptr, true, false, "ResultDayPrint", U::Results },
    // The tree never offers the managers and the user labels (a text of
    // theirs still finds them).
    { Screen::Management, "Management", "관리", "Mg_Reg_Read", none, W::Own, "Mg_Reg_Read", "User Management",
        true, false, "", U::Users },
    // The user-label pane sizes the split itself.
    { Screen::UserLabel, "User-label", "유저라벨", "User_Label_Read", K::UserLabel, W::Kind, nullptr,
        "User-label", false, false, "LabelPrint", U::UserLabel },
    { Screen::ScaleRootInfo, "Scale Info2", "저울 정보2", "Scale_Root_Info_Read", K::ScaleRootInfo, W::Kind,
        nullptr, "Scale Information2", false, false, "", U::ScaleRootInfo },
    { Screen::LandAddition, "Land Addition", "추가 원산지", "Land_Add_Read", K::LandAddition, W::Kind,
        nullptr, "Land Addition Dispaly", true, false, "LandPrint", U::Table },
} };

constexpr bool InNumberOrder()
{
    for (std::size_t i = 0; i < kScreens.size(); ++i) {
        if (HintOf(kScreens[i].screen) != static_cast<LPARAM>(i + 1))
            return false;
    }
    return true;
}
static_assert(InNumberOrder(), "InfoOf indexes the table by the number");

} // namespace

std::span<const ScreenInfo> AllScreens()
{
    return kScreens;
}

const ScreenInfo& InfoOf(Screen screen)
{
    return kScreens[static_cast<std::size_t>(HintOf(screen) - 1)];
}

const ScreenInfo* FindScreen(LPARAM hint)
{
    if (hint < 1 || hint > static_cast<LPARAM>(kScreens.size()))
        return nullptr;
    return &kScreens[static_cast<std::size_t>(hint - 1)];
}

const ScreenInfo* FindTreeScreen(std::string_view text, int language)
{
    for (const ScreenInfo& info : kScreens) {
        const char* entry = language == 1 ? info.korean : info.english;
        if (entry && text == std::string_view(entry))
            return &info;
    }
    return nullptr;
}

std::optional<Screen> ScreenOfWord(std::optional<DataKind> kind, std::string_view word)
{
    for (const ScreenInfo& info : kScreens) {
        if (kind ? info.kind == kind
                 : info.word == ScreenWord::Own && !word.empty() && word == std::string_view(info.ownWord))
            return info.screen;
    }
    return std::nullopt;
}
