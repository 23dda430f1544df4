#include "ethernet/sql_text.h"

#include "db/sql_text.h"

namespace {

// Length of the quoted conversion at the front of s, 0 when there is none.
std::size_t ConversionLength(std::string_view s)
{
    for (std::string_view conversion : { "'%s'", "'%d'", "'%ld'" }) {
        if (s.starts_with(conversion))
            return conversion.size();
    }
    return 0;
}

} // namespace

std::string FillSql(std::string_view format, std::span<const std::string> values)
{
    std::string out;
    auto next = values.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        if (const std::size_t n = ConversionLength(format.substr(i)); n > 0) {
            out += SqlLiteral(next != values.end() ? CString(*next++) : CString()).Str();
            i += n;
        } else {
            out += format[i++];
        }
    }
    return out;
}
