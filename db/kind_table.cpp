#include "db/kind_table.h"

#include "db/item_schema.h"
#include "protocol/plu_fields.h"

// Each kind's record is its table's value columns.
static_assert(kItemValueColumns.size() == kPluRecordColumns);
static_assert(kAddColumns.size() == kAddRecordColumns);
static_assert(kAdvColumns.size() == kAdvRecordColumns);
static_assert(kLandAddColumns.size() == kLandAddRecordColumns);

namespace {

struct KindTable {
    DataKind kind;
    const char* table;
    std::span<const char* const> columns; // none: the grid edits no rows of it
};

constexpr KindTable kKindTables[] = {
    { DataKind::Item, kTableItem, kItemValueColumns },
    { DataKind::Add, kTableAdd, kAddColumns },
    { DataKind::Adv, kTableAdv, kAdvColumns },
    { DataKind::LandAddition, kTableLandAdd, kLandAddColumns },
    { DataKind::Preset, kTablePreset, {} },
    { DataKind::UserLabel, kTableUserLabel, {} },
};

const KindTable* Find(DataKind kind)
{
    for (const KindTable& entry : kKindTables) {
        if (entry.kind == kind)
            return &entry;
    }
    return nullptr;
}

} // namespace

const char* ItemTableOf(DataKind kind)
{
    const KindTable* entry = Find(kind);
    return entry ? entry->table : nullptr;
}

std::span<const char* const> ValueColumnsOf(DataKind kind)
{
    const KindTable* entry = Find(kind);
    return entry ? entry->columns : std::span<const char* const>();
}
