#pragma once
// Conversion between the program's UTF-8 text and CP949, the Korean ANSI code
// page that scales, records and the program's files carry.

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 to CP949 bytes. A character with no CP949 form, or a malformed UTF-8
// sequence, becomes '?'.
std::string Utf8ToCp949(std::string_view utf8);

// CP949 bytes to UTF-8. A byte sequence that is not CP949 becomes '?' per byte.
// A NUL byte ends nothing: it is kept as U+0000.
std::string Cp949ToUtf8(std::string_view cp949);

// Number of bytes the UTF-8 text takes in CP949.
std::size_t Cp949Length(std::string_view utf8);

// The longest prefix of CP949 bytes that is at most maxBytes long and does not
// cut a double-byte character.
std::string_view Cp949Prefix(std::string_view cp949, std::size_t maxBytes);

// True when byte b starts a double-byte CP949 character.
constexpr bool IsCp949LeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}
