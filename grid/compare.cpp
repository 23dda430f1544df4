#include "grid/compare.h"

#include <cstring>
#include <limits>
#include <string>

#include "platform/base/cp949.h"

std::int64_t LeadingInteger64(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Accumulate as a negative number so that the minimum is representable.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const int digit = *p - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            while (p[1] >= '0' && p[1] <= '9')
                ++p;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

int CompareAnsiText(const char* a, const char* b)
{
    const std::string ansiA = Utf8ToCp949(a ? a : "");
    const std::string ansiB = Utf8ToCp949(b ? b : "");
    const int result = std::strcmp(ansiA.c_str(), ansiB.c_str());
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}
