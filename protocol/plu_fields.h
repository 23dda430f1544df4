#pragma once
// The fields of the scale's item (PLU) record in the order of the item
// grid's value columns 1 to 15: a record is built from grid columns 1 to
// kPluRecordColumns, field f from column f + 1.

#include <cstddef>

enum class PluField : std::size_t {
    ItemNum,
    ItemName,
    ItemName2,
    UnitPrice,
    FixPrice,
    Land,
    PosFlg,
    PosCode,
    Piece,
    Weight,
    Fmark,
    PosKind,
    DatePrint,
    LimitDay,
    Additem,
    Count,
};

inline constexpr std::size_t kPluRecordColumns = static_cast<std::size_t>(PluField::Count);

// The grid column of a field.
[[nodiscard]] constexpr std::size_t PluColumn(PluField field)
{
    return static_cast<std::size_t>(field) + 1;
}

// The columns of the other tables' records (grid columns 1 to n, the key
// first).
inline constexpr std::size_t kAddRecordColumns = 11;
inline constexpr std::size_t kAdvRecordColumns = 3;
inline constexpr std::size_t kLandAddRecordColumns = 2;
