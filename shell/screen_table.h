#pragma once
// The work screen's numbered screens, one table: the number the left pane
// sends as the view hint, the category tree's texts and the query word it
// writes before the hint, the data kind and kind word of the screen, its
// fixed caption, the right pane's split, the reservation buttons, the print
// kind and the set-up that builds it (screens/ maps each set-up to its
// function). The numbers are stored and sent between the panes: never
// renumber them.

#include <optional>
#include <span>
#include <string_view>

#include "db/db_request.h"
#include "platform/base/types.h"
#include "protocol/data_kinds.h"

enum class Screen {
    Item = 1,
    Ingredient,
    Preset,
    Advertisement,
    ScaleInfo,
    ScaleReg,
    CommMode,
    LoggedIn,
    LoggedOut,
    Refresh,
    DatabaseChanged,
    ScaleTotal,
    ItemTotal,
    ItemDay,
    OneDay,
    Management,
    UserLabel,
    ScaleRootInfo,
    LandAddition,
};

// Where a screen's kind word comes from. The word and the screen's number
// name one kind, except where a row says Keep or Query.
enum class ScreenWord {
    // Not a screen: hints 7-9 carry the user word only and keep the screen,
    // its number and its word.
    None,
    // The screen word of the row's data kind.
    Kind,
    // The row's own word (the screens of no data kind).
    Own,
    // The word of the screen before stays, under a number of no data kind:
    // a database change shows the initial display, and the communication
    // setup sets the number back from the word, so that the transfers and
    // the scale settings still serve the kind last shown.
    Keep,
    // The query word the left pane wrote: a sales-total screen's set-up
    // follows its number, the totals' reload, receive and move follow the
    // word, which may name another total.
    Query,
};

// What builds a screen (screens/ maps each to its function).
enum class ScreenSetUp {
    CommSetup, // the communication setup opens
    LogIn, // the screen's log-in flag is set
    LogOut, // and cleared
    LogOutScreen, // cleared, and the initial display shows
    Initial, // the initial display
    Items, // the item table with the default values' columns
    Table, // a table of the row's kind
    Preset, // the preset keys
    ScaleInfo, // the scale settings tables
    ScaleRootInfo,
    ScaleReg, // the scale register
    Results, // the sales totals of the row's kind
    Users, // the managers
    UserLabel, // the user labels
};

// Whether the right pane's upper row takes the 900-pixel split.
enum class RightPane { AsItIs, Split };

// Whether the reservation buttons 1116 and 1117 show.
enum class ReservationButtons { Hidden, Shown };

// A row names its fields; a field it leaves out is the default given here.
struct ScreenInfo {
    Screen screen;
    // The tree texts in English (languages 2 and 3) and Korean (1); nullptr
    // for a screen the tree never offers.
    const char* english = nullptr;
    const char* korean = nullptr;
    // The request the left pane names before the hint (its query); none for
    // none.
    std::optional<DbRequest> query {};
    std::optional<DataKind> kind {};
    ScreenWord word = ScreenWord::None;
    // The kind word of ScreenWord::Own.
    const char* ownWord = nullptr;
    // The caption over the grid; nullptr where the set-up chooses it.
    const char* caption = nullptr;
    RightPane rightPane = RightPane::AsItIs;
    ReservationButtons reservationButtons = ReservationButtons::Hidden;
    // What the print command prints ("" for nothing).
    const char* printKind = "";
    ScreenSetUp setUp;
};

[[nodiscard]] constexpr LPARAM HintOf(Screen screen)
{
    return static_cast<LPARAM>(screen);
}

// Every screen, in the order of their numbers.
[[nodiscard]] std::span<const ScreenInfo> AllScreens();
[[nodiscard]] const ScreenInfo& InfoOf(Screen screen);
// The screen of a hint; nullptr for a number of no screen.
[[nodiscard]] const ScreenInfo* FindScreen(LPARAM hint);
// The screen whose tree text in the language equals text exactly; nullptr
// for none.
[[nodiscard]] const ScreenInfo* FindTreeScreen(std::string_view text, int language);
// The screen of a kind word, parsed (kind) or of no data kind (word); none
// for the empty word and a word of no screen.
[[nodiscard]] std::optional<Screen> ScreenOfWord(std::optional<DataKind> kind, std::string_view word);
