#pragma once
// The packed sale fields of [Item], as the scales read them, in explicit 32-bit
// arithmetic:
//   sale_price = kind << 24 | price        (kind bits 24-31, price bits 0-23)
//   sale_day   = period kind << 13 | flags | period value
//                (bit 0x1000: option 1 is 1, bit 0x800: option 1 is 0, both for
//                 period kind 1 only; value bits 0-10)

#include <cstdint>
#include <string>
#include <string_view>

// "%ld" of kind << 24 | price (the price is not masked); "0" when kind is 0.
std::string PackSalePrice(std::string_view kind, std::string_view price);

// "%d" of the sale day word for the period kind, option 1 and period value texts.
std::string PackSaleDay(std::string_view periodKind, std::string_view option1, std::string_view periodValue);

struct SalePrice {
    std::uint32_t kind = 0; // 0-255
    std::uint32_t price = 0; // 0-0xFFFFFF
};
SalePrice UnpackSalePrice(std::string_view stored);

struct SaleDay {
    std::uint32_t periodKind = 0; // 0-7
    int option1 = 0; // 0 or 1
    std::uint32_t periodValue = 0; // 0-2047
};
SaleDay UnpackSaleDay(std::string_view stored);
