#include "protocol/record_values.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/base/cp949.h"

std::int32_t ScaleAtol(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), limit);
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::uint32_t ScaleRecordNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value <= 0xFFFFFFFFu; ++i, ++digits)
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (digits == 0 || value > 0xFFFFFFFFu)
        return static_cast<std::uint32_t>(ScaleAtol(text));
    return static_cast<std::uint32_t>(value);
}

std::string_view Cell(const RecordRow& row, std::size_t column)
{
    return column < row.size() ? std::string_view(row[column]) : std::string_view();
}

std::int32_t CellNumber(const RecordRow& row, std::size_t column)
{
    return ScaleAtol(Cell(row, column));
}

bool IsNullCell(std::string_view cell)
{
    return cell.empty() || cell == "NULL";
}

std::string ToScaleText(std::string_view utf8, std::size_t maxBytes)
{
    const std::string cp949 = Utf8ToCp949(utf8);
    return std::string(Cp949Prefix(cp949, maxBytes));
}

std::string FromScaleText(std::string_view field, std::size_t maxBytes)
{
    field = field.substr(0, std::min(maxBytes, field.find('\0')));
    std::size_t i = 0; // drop a lead byte whose second half the field lost
    while (i < field.size())
        i += IsCp949LeadByte(static_cast<unsigned char>(field[i])) ? 2 : 1;
    if (i > field.size())
        field.remove_suffix(1);
    return Cp949ToUtf8(field);
}

std::string FromScaleText(std::span<const std::uint8_t> field, std::size_t maxBytes)
{
    return FromScaleText(
        std::string_view(reinterpret_cast<const char*>(field.data()), field.size()), maxBytes);
}

std::string FormatDay(int year, int month, int day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%4d-%02d-%02d", year, month, day);
    return text;
}
