#include "db/item_schema.h"

#include "db/sql_text.h"

int ItemValueIndex(std::string_view column)
{
    for (std::size_t i = 0; i < kItemValueCount; ++i) {
        if (column == std::string_view(kItemValueColumns[i]))
            return static_cast<int>(i);
    }
    return -1;
}

CString ItemValueList(std::size_t first, std::size_t last)
{
    CString list;
    for (std::size_t i = first; i < last && i < kItemValueCount; ++i)
        list += (i == first ? "" : ", ") + SqlName(kItemValueColumns[i]);
    return list;
}
