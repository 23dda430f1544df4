#include "screens/sale_fields.h"

#include "protocol/record_values.h"

std::string PackSalePrice(std::string_view kind, std::string_view price)
{
    const auto k = static_cast<std::uint32_t>(ScaleAtol(kind));
    const auto p = static_cast<std::uint32_t>(ScaleAtol(price));
    if (k == 0)
        return "0";
    return std::to_string(static_cast<std::int32_t>((k << 24) | p));
}

std::string PackSaleDay(std::string_view periodKind, std::string_view option1, std::string_view periodValue)
{
    const std::int32_t k = ScaleAtol(periodKind);
    const std::int32_t o = ScaleAtol(option1);
    const auto v = static_cast<std::uint32_t>(ScaleAtol(periodValue));
    std::uint32_t word = 0;
    if (periodKind.empty() || k == 0)
        word = 0;
    else if (k == 1)
        word = (o == 1 ? 0x3000u : 0x2800u) | v;
    else if (k >= 2 && k <= 4)
        word = (static_cast<std::uint32_t>(k) << 13) | v;
    return std::to_string(static_cast<std::int32_t>(word));
}

SalePrice UnpackSalePrice(std::string_view stored)
{
    const auto v = static_cast<std::uint32_t>(ScaleAtol(stored));
    return { (v & 0xFF000000u) >> 24, v & 0xFFFFFFu };
}

SaleDay UnpackSaleDay(std::string_view stored)
{
    const auto v = static_cast<std::uint32_t>(ScaleAtol(stored));
    SaleDay d;
    d.periodKind = (v & 0xE000u) >> 13;
    d.option1 = d.periodKind == 1 && (v & 0x800u) == 0 ? 1 : 0;
    d.periodValue = v & 0x7FFu;
    return d;
}
