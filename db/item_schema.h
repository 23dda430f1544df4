#pragma once
// The item database's schema, spelled once: the names of its tables and the
// fifteen value columns of its Item table. Every SQL text, settings file and
// grid that names them takes them from here.

#include <array>
#include <cstddef>
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

// Index of a column in kItemValueColumns (exact comparison), -1 for none.
[[nodiscard]] int ItemValueIndex(std::string_view column);

// The value columns [first, last) bracketed and joined by ", ":
// "[item_num], [item_name], ... [additem]" for the whole list.
[[nodiscard]] CString ItemValueList(std::size_t first = 0, std::size_t last = kItemValueCount);
