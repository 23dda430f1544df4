#pragma once
// SQL text of received records. Every value goes between single quotes with its
// own quotes doubled (db/sql_text.h), so a name such as "Kim's" is stored intact.

#include <span>
#include <string>
#include <string_view>

// Replaces each quoted conversion of format ('%s', '%d', '%ld') in order by the
// next value as a quoted literal. Conversions left over when the values run out
// are replaced by ''.
std::string FillSql(std::string_view format, std::span<const std::string> values);
