#pragma once
// The reply rows of the work screen's loads, split by db/reply_row.h.

#include <cstddef>

#include "db/reply_row.h"

// Number of texts one reply row may carry; values beyond are dropped.
inline constexpr std::size_t kRowFieldCount = 400;
