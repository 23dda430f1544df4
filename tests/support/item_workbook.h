#pragma once
// A workbook as Access To Excel writes it: the five item sheets in order,
// the Item sheet with its whole header row and one row per item (number and
// name; the other cells empty).

#include <string>
#include <utility>
#include <vector>

#include "platform/sheet/sheet_data.h"

inline WorkbookData ItemWorkbook(const std::vector<std::pair<std::string, std::string>>& items)
{
    static const char* const kHeader[] = { "ID", "item_num", "item_name", "item_name2", "land", "additem",
        "fix_price", "piece", "unitprice", "weight", "fmark", "pos_kind", "pos_flg", "pos_code", "dateprint",
        "limit_day", "limit_time", "sale_start", "sale_price", "sale_day", "total_weight", "total_price",
        "total_print", "mg_id", "info" };
    WorkbookData book;
    for (const char* table : { "Item", "Add", "AdvT", "Preset", "Land_Add" }) {
        book.sheets.emplace_back();
        book.sheets.back().name = table;
    }
    for (long c = 0; c < static_cast<long>(std::size(kHeader)); ++c)
        book.sheets[0].cells[{ 0, c }].value = COleVariant(kHeader[c]);
    for (long r = 1; r <= static_cast<long>(items.size()); ++r) {
        book.sheets[0].cells[{ r, 1 }].value
            = COleVariant(items[static_cast<std::size_t>(r - 1)].first.c_str());
        book.sheets[0].cells[{ r, 2 }].value
            = COleVariant(items[static_cast<std::size_t>(r - 1)].second.c_str());
    }
    return book;
}
