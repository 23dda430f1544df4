#pragma once
// The item database's table of each data kind's rows.

#include "protocol/data_kinds.h"

// "Item", "Add", "AdvT", "Land_Add", "Preset" or "UserLabel" (db/item_schema.h);
// nullptr for the kinds the item database keeps none of.
[[nodiscard]] const char* ItemTableOf(DataKind kind);
