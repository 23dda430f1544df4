#include "platform/net/dotted_address.h"

std::optional<DottedQuad> ParseDottedQuad(std::string_view text)
{
    DottedQuad quad {};
    std::size_t part = 0;
    int value = 0;
    int digits = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char ch = i < text.size() ? text[i] : '.';
        if (ch >= '0' && ch <= '9') {
            value = value * 10 + (ch - '0');
            if (++digits > 3 || value > 255)
                return std::nullopt;
        } else if (ch == '.' && digits > 0 && part < quad.size()) {
            quad[part++] = static_cast<std::uint8_t>(value);
            value = 0;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (part != quad.size())
        return std::nullopt;
    return quad;
}

std::string DottedText(const DottedQuad& quad)
{
    std::string text;
    for (std::uint8_t field : quad) {
        if (!text.empty())
            text += '.';
        text += std::to_string(field);
    }
    return text;
}
