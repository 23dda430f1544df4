#pragma once
// Dotted IPv4 addresses as users type them: four numbers 0 to 255 of one to
// three digits each, joined by dots, nothing before or after.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using DottedQuad = std::array<std::uint8_t, 4>;

// The four numbers of text; nothing when text is no such address.
[[nodiscard]] std::optional<DottedQuad> ParseDottedQuad(std::string_view text);
[[nodiscard]] inline bool IsDottedQuad(std::string_view text)
{
    return ParseDottedQuad(text).has_value();
}
// "a.b.c.d" without leading zeros.
[[nodiscard]] std::string DottedText(const DottedQuad& quad);
