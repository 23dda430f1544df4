#include "shell/screen_table.h"

#include <array>

namespace {

using K = DataKind;
using W = ScreenWord;
using U = ScreenSetUp;

// One row per screen, in the order of the numbers.
constexpr std::array<ScreenInfo, 19> kScreens = { {
    { .screen = Screen::Item,
        .english = "Item",
        .korean = "상품",
        .query = DbRequest::ItemRead,
        .kind = K::Item,
        .word = W::Kind,
        .caption = "Item Display",
        .rightPane = RightPane::Split,
        .reservationButtons = ReservationButtons::Shown,
        .printKind = "ItemPrint",
        .setUp = U::Items },
    { .screen = Screen::Ingredient,
        .english = "Ingredient",
        .korean = "첨가물",
        .query = DbRequest::AddRead,
        .kind = K::Add,
        .word = W::Kind,
        .caption = "Ingredient Display",
        .rightPane = RightPane::Split,
        .printKind = "AddPrint",
        .setUp = U::Table },
    { .screen = Screen::Preset,
        .english = "Preset",
        .korean = "프리셋",
        .query = DbRequest::PresetRead,
        .kind = K::Preset,
        .word = W::Kind,
        .caption = "Preset Display",
        .rightPane = RightPane::Split,
        .printKind = "PresetPrint",
        .setUp = U::Preset },
    { .screen = Screen::Advertisement,
        .english = "Advertisement",
        .korean = "광고문",
        .query = DbRequest::AdvRead,
        .kind = K::Adv,
        .word = W::Kind,
        .caption = "Advertisement Display",
        .rightPane = RightPane::Split,
        .printKind = "AdvPrint",
        .setUp = U::Table },
    { .screen = Screen::ScaleInfo,
        .english = "Scale Info",
        .korean = "저울 정보",
        .query = DbRequest::ScaleInfoRead,
        .kind = K::ScaleInfo,
        .word = W::Kind,
        .caption = "Scale Information",
        .rightPane = RightPane::Split,
        .setUp = U::ScaleInfo },
    { .screen = Screen::ScaleReg,
        .english = "Scale Reg",
        .korean = "저울 등록",
        .query = DbRequest::ScaleRegRead,
        .word = W::Own,
        .ownWord = "Scale_reg",
        .caption = "Scale Register",
        .rightPane = RightPane::Split,
        .setUp = U::ScaleReg },
    { .screen = Screen::CommMode, .query = DbRequest::CommModeRead, .setUp = U::CommSetup },
    { .screen = Screen::LoggedIn, .setUp = U::LogIn },
    { .screen = Screen::LoggedOut, .setUp = U::LogOut },
    // The log-out screen clears the kind word.
    { .screen = Screen::Refresh,
        .word = W::Own,
        .ownWord = "",
        .caption = "Initial Display",
        .rightPane = RightPane::Split,
        .setUp = U::LogOutScreen },
    { .screen = Screen::DatabaseChanged,
        .word = W::Keep,
        .caption = "Initial Display",
        .rightPane = RightPane::Split,
        .setUp = U::Initial },
    // The sales totals' captions follow the language.
    { .screen = Screen::ScaleTotal,
        .english = "Scale Total Result",
        .korean = "저울 총집계",
        .query = DbRequest::ResultAllRead,
        .kind = K::ResultAll,
        .word = W::Query,
        .rightPane = RightPane::Split,
        .printKind = "ResultAllPrint",
        .setUp = U::Results },
    { .screen = Screen::ItemTotal,
        .english = "Item Total Result",
        .korean = "상품별 총집계",
        .query = DbRequest::ResultItemAllRead,
        .kind = K::ResultItemAll,
        .word = W::Query,
        .rightPane = RightPane::Split,
        .printKind = "ResultItemPrint",
        .setUp = U::Results },
    { .screen = Screen::ItemDay,
        .english = "Item Day Result",
        .korean = "상품별 일일 총집계",
        .query = DbRequest::ResultItemDayRead,
        .kind = K::ResultItemDay,
        .word = W::Query,
        .rightPane = RightPane::Split,
        .printKind = "ResultItemDayPrint",
        .setUp = U::Results },
    { .screen = Screen::OneDay,
        .english = "One Day Result",
        .korean = "일일 총집계",
        .query = DbRequest::ResultDayRead,
        .kind = K::ResultDay,
        .word = W::Query,
        .rightPane = RightPane::Split,
        .printKind = "ResultDayPrint",
        .setUp = U::Results },
    // The tree never offers the managers and the user labels (a text of
    // theirs still finds them).
    { .screen = Screen::Management,
        .english = "Management",
        .korean = "관리",
        .query = DbRequest::ManagersRead,
        .word = W::Own,
        .ownWord = RequestName(DbRequest::ManagersRead),
        .caption = "User Management",
        .rightPane = RightPane::Split,
        .setUp = U::Users },
    // The user-label pane sizes the split itself.
    { .screen = Screen::UserLabel,
        .english = "User-label",
        .korean = "유저라벨",
        .query = DbRequest::UserLabelRead,
        .kind = K::UserLabel,
        .word = W::Kind,
        .caption = "User-label",
        .printKind = "LabelPrint",
        .setUp = U::UserLabel },
    { .screen = Screen::ScaleRootInfo,
        .english = "Scale Info2",
        .korean = "저울 정보2",
        .query = DbRequest::ScaleRootInfoRead,
        .kind = K::ScaleRootInfo,
        .word = W::Kind,
        .caption = "Scale Information2",
        .setUp = U::ScaleRootInfo },
    { .screen = Screen::LandAddition,
        .english = "Land Addition",
        .korean = "추가 원산지",
        .query = DbRequest::LandAddRead,
        .kind = K::LandAddition,
        .word = W::Kind,
        .caption = "Land Addition Dispaly",
        .rightPane = RightPane::Split,
        .printKind = "LandPrint",
        .setUp = U::Table },
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
