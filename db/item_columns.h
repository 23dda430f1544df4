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

// A number: a digit edit in the dialog, a whole number in a cell; an empty
// value is written as "0".
enum class ColumnValue { Text, Number };

// Whether the default-value dialog tests the column (the item number and the
// POS code are never offered there).
enum class DefaultDialog { Offers, Omits };

// Whether the sale columns' language (3) holds a cell to the column's limits
// or takes any value.
enum class SalesLanguage { Holds, TakesAny };

// A row names its fields; a field it leaves out is the default given here.
struct ItemColumn {
    PluField field;
    // The English grid title (the upper-case name; the cell check knows the
    // column by it) and the title in language 1.
    const char* title;
    const char* koreanTitle;
    ColumnValue value = ColumnValue::Text;
    // A value is refused above these (CP949 bytes, the number); 0 for no
    // test. Language 1 holds the cell to koreanMaxValue where it is not 0.
    std::size_t maxLength = 0;
    long maxValue = 0;
    long koreanMaxValue = 0;
    // The refusal texts; nullptr where the column is not tested.
    const char* refusal = nullptr;
    const char* koreanRefusal = nullptr;
    DefaultDialog defaultDialog = DefaultDialog::Offers;
    SalesLanguage salesLanguage = SalesLanguage::Holds;
};

namespace item_columns {
using F = PluField;
inline constexpr auto kAll = std::to_array<ItemColumn>({
    { .field = F::ItemNum,
        .title = "ITEM_NUM",
        .koreanTitle = "상품번호",
        .value = ColumnValue::Number,
        .maxLength = 5,
        .maxValue = 100000,
        .refusal = " Item number is a 1 - 99999.",
        .koreanRefusal = "상품번호는 1 - 99999번이내로 하여야 함",
        .defaultDialog = DefaultDialog::Omits },
    { .field = F::ItemName,
        .title = "ITEM_NAME",
        .koreanTitle = "상품명",
        .maxLength = 28,
        .refusal = " Item Name is a 28 character.",
        .koreanRefusal = "상품명은 한글 14자, 영문 및 숫자는 28자까지 가능 " },
    { .field = F::ItemName2,
        .title = "ITEM_NAME2",
        .koreanTitle = "상품명2",
        .maxLength = 28,
        .refusal = " Item Name2 is a 28 character.",
        .koreanRefusal = "상품명2은 한글 14자, 영문 및 숫자는 28자까지 가능 " },
    { .field = F::UnitPrice,
        .title = "UNITPRICE",
        .koreanTitle = "단가",
        .value = ColumnValue::Number,
        .maxLength = 6,
        .maxValue = 1000000,
        .refusal = "Unit price is a 1 - 999999.",
        .koreanRefusal = "단가는 1 - 999999번이내로 하여야 함" },
    { .field = F::FixPrice,
        .title = "FIX_PRICE",
        .koreanTitle = "정금액",
        .value = ColumnValue::Number,
        .maxLength = 5,
        .maxValue = 100000,
        .refusal = "Fix_price is a 1 - 99999.",
        .koreanRefusal = "정금액는 1 - 99999번이내로 하여야 함" },
    { .field = F::Land,
        .title = "LAND",
        .koreanTitle = "원산지",
        .value = ColumnValue::Number,
        .maxLength = 3,
        .maxValue = 300,
        .koreanMaxValue = 480,
        .refusal = "Land is a 0 - 300.",
        .koreanRefusal = "원산지는 0 - 480번이내로 하여야 함",
        .salesLanguage = SalesLanguage::TakesAny },
    { .field = F::PosFlg,
        .title = "POS_FLG",
        .koreanTitle = "포스플래그",
        .value = ColumnValue::Number,
        .maxLength = 3,
        .maxValue = 1000,
        .refusal = "Pos flag is a 1 - 999.",
        .koreanRefusal = "포스플래그는 1 - 999번이내로 하여야 함" },
    // Held to the row's POS kind (screens/pos_codes.h).
    { .field = F::PosCode,
        .title = "POS_CODE",
        .koreanTitle = "포스코드",
        .value = ColumnValue::Number,
        .defaultDialog = DefaultDialog::Omits },
    { .field = F::Piece, .title = "PIECE", .koreanTitle = "개수", .value = ColumnValue::Number },
    { .field = F::Weight, .title = "WEIGHT", .koreanTitle = "무게", .value = ColumnValue::Number },
    { .field = F::Fmark, .title = "FMARK", .koreanTitle = "단위", .value = ColumnValue::Number },
    { .field = F::PosKind,
        .title = "POS_KIND",
        .koreanTitle = "바코드종류",
        .value = ColumnValue::Number,
        .maxLength = 2,
        .maxValue = 3,
        .refusal = "Pos Kind is a 0 - 3.",
        .koreanRefusal = "바코드종류는 0 - 3번이내로 하여야 함" },
    { .field = F::DatePrint,
        .title = "DATEPRINT",
        .koreanTitle = "날짜출력 옵션",
        .value = ColumnValue::Number,
        .maxLength = 2,
        .maxValue = 7,
        .refusal = "DatePrinting is a 0 - 7.",
        .koreanRefusal = "날짜출력 옵션은 0 - 7번이내로 하여야 함" },
    { .field = F::LimitDay, .title = "LIMIT_DAY", .koreanTitle = "유효일", .value = ColumnValue::Number },
    // The grid shows it as "INGREDIENT".
    { .field = F::Additem, .title = "ADDITEM", .koreanTitle = "첨가물 번호", .value = ColumnValue::Number },
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
