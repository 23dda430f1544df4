#pragma once
// The data kinds of the work screen's table screens and the size of a reply
// row, shared by the screen and its parts.

#include <cstddef>

// The data kinds of the screens (equal to the hint that opens them).
inline constexpr int kKindItem = 1;
inline constexpr int kKindAdd = 2;
inline constexpr int kKindAdv = 4;
inline constexpr int kKindScaleInfo = 5;
inline constexpr int kKindUserLabel = 17;
inline constexpr int kKindLandAdd = 19;

// Number of texts one reply row may carry; values beyond are dropped.
inline constexpr std::size_t kRowFieldCount = 400;
