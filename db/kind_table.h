#pragma once
// The item database's table of each data kind's rows, and its columns.

#include <span>

#include "protocol/data_kinds.h"

// "Item", "Add", "AdvT", "Land_Add", "Preset" or "UserLabel" (db/item_schema.h);
// nullptr for the kinds the item database keeps none of.
[[nodiscard]] const char* ItemTableOf(DataKind kind);

// The value columns of the kinds whose rows the grid edits (Item, Add, Adv,
// LandAddition), the key first; none for the others.
[[nodiscard]] std::span<const char* const> ValueColumnsOf(DataKind kind);
