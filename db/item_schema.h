#pragma once
// The item database's schema, spelled once: the names of its tables, the
// fifteen value columns of its Item table and the columns of the Add, AdvT,
// Land_Add and Preset tables. Every SQL text, settings file and grid that
// names them takes them from here.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "platform/base/cstring.h"

inline constexpr const char* kTableItem = "Item";
inline constexpr const char* kTableAdd = "Add";
inline constexpr const char* kTableAdv = "AdvT";
inline constexpr const char* kTableLandAdd = "Land_Add";
inline constexpr const char* kTablePreset = "Preset";
inline constexpr const char* kTableUserLabel = "UserLabel";

// The Item table's value columns in the order of the grid, the scale's item
// record and the settings files. The table also holds [ID], [mg_id], the sale
// columns and the reservation columns.
inline constexpr std::size_t kItemValueCount = 15;
inline constexpr std::array<const char*, kItemValueCount> kItemValueColumns
    = { "item_num", "item_name", "item_name2", "unitprice", "fix_price", "land", "pos_flg", "pos_code",
          "piece", "weight", "fmark", "pos_kind", "dateprint", "limit_day", "additem" };
// The value columns the sale columns follow: the first fourteen; [additem]
// comes after them.
inline constexpr std::size_t kItemValuesBeforeSale = 14;

// The value columns of the other tables whose rows the grid edits, the key
// first.
inline constexpr std::array<const char*, 11> kAddColumns
    = { "num", "str1", "str2", "str3", "str4", "str5", "str6", "str7", "str8", "str9", "str10" };
inline constexpr std::array<const char*, 3> kAdvColumns = { "adv_num", "str1", "str2" };
inline constexpr std::array<const char*, 2> kLandAddColumns = { "land_num", "land_str" };

// The Preset table's columns: a key's page, its place on the page (1 to 60)
// and its text; the table also holds [ID] and [mg_id]. A page's rows are read
// as kPresetKeyColumns.
inline constexpr const char* kPresetPage = "page_num";
inline constexpr const char* kPresetKey = "num";
inline constexpr const char* kPresetText = "str";
inline constexpr std::array<const char*, 3> kPresetColumns = { kPresetPage, kPresetKey, kPresetText };
inline constexpr std::array<const char*, 2> kPresetKeyColumns = { kPresetKey, kPresetText };

// The columns bracketed and joined by ", ": "[num], [str1]".
[[nodiscard]] CString ColumnList(std::span<const char* const> columns);

// Index of a column in kItemValueColumns (exact comparison), -1 for none.
[[nodiscard]] int ItemValueIndex(std::string_view column);

// The value columns [first, last) bracketed and joined by ", ":
// "[item_num], [item_name], ... [additem]" for the whole list.
[[nodiscard]] CString ItemValueList(std::size_t first = 0, std::size_t last = kItemValueCount);
