#pragma once
// Value conversions shared by the scale records: the C library's atol/atoi as a
// 32-bit Windows long, cells of a grid row, CP949 text fields, day texts.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A row of the work screen's grid, UTF-8: index n is grid column n (column 0 is
// the row heading). A column past the end reads as "".
using RecordRow = std::vector<std::string>;

// atol of a 32-bit long: leading blanks, an optional sign, then digits; a text
// that is not a number gives 0; values past the range stop at its ends.
std::int32_t ScaleAtol(std::string_view text);

// A record number as a table holds it, up to 4294967295 (the scales' numbers
// are unsigned 32 bits); any other text as ScaleAtol's 32 bits.
std::uint32_t ScaleRecordNumber(std::string_view text);

// Cell n of the row, "" past its end.
std::string_view Cell(const RecordRow& row, std::size_t column);

// The 32-bit number of cell n.
std::int32_t CellNumber(const RecordRow& row, std::size_t column);

// True for a cell the records treat as no value: "" or "NULL".
bool IsNullCell(std::string_view cell);

// UTF-8 text as CP949 bytes, cut to at most maxBytes between characters.
std::string ToScaleText(std::string_view utf8, std::size_t maxBytes);

// CP949 bytes of a received field: up to the first NUL, at most maxBytes, never
// ending in half a character; as UTF-8.
std::string FromScaleText(std::span<const std::uint8_t> field, std::size_t maxBytes);
std::string FromScaleText(std::string_view field, std::size_t maxBytes);

// "%4d-%02d-%02d".
std::string FormatDay(int year, int month, int day);
