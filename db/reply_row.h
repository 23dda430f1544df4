#pragma once
// Splitting a DbReplyRow (every value followed by TAB and "jo/") into its
// values. A TAB not followed by the whole of "jo/" stays inside the value.

#include <vector>

#include "platform/base/cstring.h"

// Clears fields and fills them from row; values past fields.size() are
// dropped. The number of values the row held.
int SplitReplyRow(const CString& row, std::vector<CString>& fields);
