#include "db/reply_row.h"

#include <algorithm>

int SplitReplyRow(const CString& row, std::vector<CString>& fields)
{
    std::fill(fields.begin(), fields.end(), CString());
    const std::string_view text = row.View();
    std::size_t index = 0;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t' && text.substr(i, 4) == std::string_view("\tjo/")) {
            if (index < fields.size())
                fields[index] = CString(current);
            ++index;
            current.clear();
            i += 3;
        } else {
            current += text[i];
        }
    }
    return static_cast<int>(index);
}
