#include "db/kind_table.h"

#include "db/item_schema.h"

const char* ItemTableOf(DataKind kind)
{
    switch (kind) {
    case DataKind::Item:
        return kTableItem;
    case DataKind::Add:
        return kTableAdd;
    case DataKind::Adv:
        return kTableAdv;
    case DataKind::LandAddition:
        return kTableLandAdd;
    case DataKind::Preset:
        return kTablePreset;
    case DataKind::UserLabel:
        return kTableUserLabel;
    default:
        return nullptr;
    }
}

std::span<const char* const> ValueColumnsOf(DataKind kind)
{
    switch (kind) {
    case DataKind::Item:
        return kItemValueColumns;
    case DataKind::Add:
        return kAddColumns;
    case DataKind::Adv:
        return kAdvColumns;
    case DataKind::LandAddition:
        return kLandAddColumns;
    default:
        return {};
    }
}
