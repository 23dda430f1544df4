#include "db/item_schema.h"

#include <algorithm>

#include "db/sql_text.h"

int ItemValueIndex(std::string_view column)
{
    for (std::size_t i = 0; i < kItemValueCount; ++i) {
        if (column == std::string_view(kItemValueColumns[i]))
            return static_cast<int>(i);
    }
    return -1;
}

CString ColumnList(std::span<const char* const> columns)
{
    CString list;
    for (const char* column : columns)
        list += (list.IsEmpty() ? "" : ", ") + SqlName(column);
    return list;
}

CString ItemValueList(std::size_t first, std::size_t last)
{
    last = std::min(last, kItemValueCount);
    return first < last ? ColumnList(std::span(kItemValueColumns).subspan(first, last - first)) : CString();
}
