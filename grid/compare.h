#pragma once
// Text helpers of the grid's compare functions.

#include <cstdint>

// The value of the leading decimal integer of text as the C runtime's atol
// reads it (blanks, an optional sign, digits; 0 without digits), in 64 bits
// and clamped at the 64-bit limits instead of overflowing.
std::int64_t LeadingInteger64(const char* text);

// Byte-wise comparison of the two texts in the ANSI code page (CP949), so that
// double-byte characters compare as whole characters: <0, 0 or >0.
int CompareAnsiText(const char* a, const char* b);
