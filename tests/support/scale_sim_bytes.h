#pragma once
// Byte vectors for protocol tests: written as hex text, printed as hex text.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scalesim {

// "01 02 ff" (blanks, newlines and '|' are ignored) as bytes; aborts the test
// program on a malformed text, which is a fault of the test itself.
std::vector<std::uint8_t> FromHex(std::string_view hex);

// "01 02 ff".
std::string Hex(std::span<const std::uint8_t> bytes);

// Bytes of a text, without terminator.
std::vector<std::uint8_t> BytesOf(std::string_view text);

} // namespace scalesim
