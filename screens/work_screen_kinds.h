#pragma once
// The data kinds of the work screen's numbered screens and the size of a
// reply row, shared by the screen and its parts.

#include <cstddef>
#include <optional>

#include "protocol/data_kinds.h"

// The parse of a screen number (the left pane's hint): the data kind its
// screen shows; none for the screens that show none (6-11, 16, beyond 19).
[[nodiscard]] std::optional<DataKind> KindOfHint(int hint);
// The number of the screen that shows a kind; 0 for none.
[[nodiscard]] int HintOfKind(DataKind kind);

// Number of texts one reply row may carry; values beyond are dropped.
inline constexpr std::size_t kRowFieldCount = 400;
