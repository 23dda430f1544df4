#pragma once
// The view hints through which the left pane steers the work screens, and
// the category tree's entries. Hint numbers and query names are read by the
// work screens: never renumber them.

#include <span>

#include "platform/base/types.h"

inline constexpr LPARAM kHintItem = 1;
inline constexpr LPARAM kHintIngredient = 2;
inline constexpr LPARAM kHintPreset = 3;
inline constexpr LPARAM kHintAdvertisement = 4;
inline constexpr LPARAM kHintScaleInfo = 5;
inline constexpr LPARAM kHintScaleReg = 6;
inline constexpr LPARAM kHintCommMode = 7;
inline constexpr LPARAM kHintLoggedIn = 8;
inline constexpr LPARAM kHintLoggedOut = 9;
inline constexpr LPARAM kHintRefresh = 10;
inline constexpr LPARAM kHintDatabaseChanged = 11;
inline constexpr LPARAM kHintScaleTotal = 12;
inline constexpr LPARAM kHintItemTotal = 13;
inline constexpr LPARAM kHintItemDay = 14;
inline constexpr LPARAM kHintOneDay = 15;
inline constexpr LPARAM kHintManagement = 16;
inline constexpr LPARAM kHintUserLabel = 17;
inline constexpr LPARAM kHintScaleRootInfo = 18;
inline constexpr LPARAM kHintLandAddition = 19;

inline constexpr const char* kQueryItemRead = "Item_Read";
inline constexpr const char* kQueryCommModeRead = "Comm_Mode_Read";

// One entry of the category tree: its texts in English (language index 2
// and 3) and Korean (1), the hint it sends and the query name written before.
struct CategoryEntry {
    const char* english;
    const char* korean;
    LPARAM hint;
    const char* queryName;
};

// The fourteen entries a tree text is matched against (also the two that the
// tree never shows: "Management" and "User-label").
std::span<const CategoryEntry> CategoryEntries();
// The entry whose text in the language equals text exactly, or nullptr.
const CategoryEntry* FindCategoryEntry(const char* text, int languageIndex);
