#pragma once
// The facts of each Item value column, one descriptor per column in the
// schema's order (db/item_schema.h): its field of the scale's item record,
// its titles in the grid, the limits a typed value is held to and the texts
// of a refusal. The cell editor and the default-value dialog both read them.
// A column added to the schema or to the record without its descriptor does
// not compile.

#include <array>
#include <cstddef>

#include "db/item_schema.h"
#include "protocol/plu_fields.h"

struct ItemColumn {
    PluField field;
    // The English grid title (the upper-case name; the cell check knows the
    // column by it) and the title in language 1.
    const char* title;
    const char* koreanTitle;
    // A number: a digit edit in the dialog, a whole number in a cell; an
    // empty value is written as "0".
    bool digits;
    // A value is refused above these (CP949 bytes, the number); 0 for no
    // test. Language 1 holds the cell to koreanMaxValue where it is not 0.
    std::size_t maxLength;
    long maxValue;
    long koreanMaxValue;
    // The refusal texts; nullptr where the column is not tested.
    const char* refusal;
    const char* koreanRefusal;
    // The default-value dialog tests it (the item number and the POS code
    // are never offered there); the sale columns' language (3) accepts any
    // cell value.
    bool inDialog;
    bool freeWithSales;
};

namespace item_columns {
using F = PluField;
inline constexpr auto kAll = std::to_array<ItemColumn>({
    { F::ItemNum, "ITEM_NUM", "상품번호", true, 5, 100000, 0, " Item number is a 1 - 99999.",
        "상품번호는 1 - 99999번이내로 하여야 함", false, false },
    { F::ItemName, "ITEM_NAME", "상품명", false, 28, 0, 0, " Item Name is a 28 character.",
        "상품명은 한글 14자, 영문 및 숫자는 28자까지 가능 ", true, false },
    { F::ItemName2, "ITEM_NAME2", "상품명2", false, 28, 0, 0, " Item Name2 is a 28 character.",
        "상품명2은 한글 14자, 영문 및 숫자는 28자까지 가능 ", true, false },
    { F::UnitPrice, "UNITPRICE", "단가", true, 6, 1000000, 0, "Unit price is a 1 - 999999.",
        "단가는 1 - 999999번이내로 하여야 함", true, false },
    { F::FixPrice, "FIX_PRICE", "정금액", true, 5, 100000, 0, "Fix_price is a 1 - 99999.",
        "정금액는 1 - 99999번이내로 하여야 함", true, false },
    { F::Land, "LAND", "원산지", true, 3, 300, 480, "Land is a 0 - 300.",
        "원산지는 0 - 480번이내로 하여야 함", true, true },
    { F::PosFlg, "POS_FLG", "포스플래그", true, 3, 1000, 0, "Pos flag is a 1 - 999.",
        "포스플래그는 1 - 999번이내로 하여야 함", true, false },
    // Held to the row's POS kind (screens/pos_codes.h).
    { F::PosCode, "POS_CODE", "포스코드", true, 0, 0, 0, nullptr, nullptr, false, false },
    { F::Piece, "PIECE", "개수", true, 0, 0, 0, nullptr, nullptr, true, false },
    { F::Weight, "WEIGHT", "무게", true, 0, 0, 0, nullptr, nullptr, true, false },
    { F::Fmark, "FMARK", "단위", true, 0, 0, 0, nullptr, nullptr, true, false },
    { F::PosKind, "POS_KIND", "바코드종류", true, 2, 3, 0, "Pos Kind is a 0 - 3.",
        "바코드종류는 0 - 3번이내로 하여야 함", true, false },
    { F::DatePrint, "DATEPRINT", "날짜출력 옵션", true, 2, 7, 0, "DatePrinting is a 0 - 7.",
        "날짜출력 옵션은 0 - 7번이내로 하여야 함", true, false },
    { F::LimitDay, "LIMIT_DAY", "유효일", true, 0, 0, 0, nullptr, nullptr, true, false },
    // The grid shows it as "INGREDIENT".
    { F::Additem, "ADDITEM", "첨가물 번호", true, 0, 0, 0, nullptr, nullptr, true, false },
});

constexpr bool InRecordOrder()
{
    for (std::size_t i = 0; i < kAll.size(); ++i) {
        if (kAll[i].field != static_cast<PluField>(i))
            return false;
    }
    return true;
}
} // namespace item_columns

static_assert(item_columns::kAll.size() == kItemValueCount, "one descriptor per Item value column");
inline constexpr const std::array<ItemColumn, kItemValueCount>& kItemColumns = item_columns::kAll;
static_assert(kPluRecordColumns == kItemValueCount, "the item record holds every Item value column");
static_assert(item_columns::InRecordOrder(), "the descriptors in the record's order");

// The descriptor of a field.
[[nodiscard]] constexpr const ItemColumn& ItemColumnOf(PluField field)
{
    return kItemColumns[static_cast<std::size_t>(field)];
}
