#include "tests/support/scale_sim_bytes.h"

#include <cstdio>
#include <cstdlib>

namespace scalesim {

namespace {

int Nibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::vector<std::uint8_t> FromHex(std::string_view hex)
{
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char c : hex) {
        if (c == ' ' || c == '\n' || c == '|')
            continue;
        const int n = Nibble(c);
        if (n < 0) {
            std::fprintf(stderr, "FromHex: bad character '%c'\n", c);
            std::abort();
        }
        if (high < 0) {
            high = n;
        } else {
            out.push_back(static_cast<std::uint8_t>(high << 4 | n));
            high = -1;
        }
    }
    if (high >= 0) {
        std::fprintf(stderr, "FromHex: odd number of digits\n");
        std::abort();
    }
    return out;
}

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string out;
    char two[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof two, "%02x", bytes[i]);
        if (i > 0)
            out += ' ';
        out += two;
    }
    return out;
}

std::vector<std::uint8_t> BytesOf(std::string_view text)
{
    return { text.begin(), text.end() };
}

} // namespace scalesim
