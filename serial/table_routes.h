#pragma once
// The kinds that the scale link sends and reads record by record, found by a
// serial step word (protocol/data_kinds.h) that the mailbox holds.

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"

// Which of a kind's serial steps is looked up.
enum class RouteStep { Clear, Data, SelectData, AllRequest, Request };

// The kind whose serial step of that kind the text is; nullptr for none.
[[nodiscard]] const DataKindInfo* FindRoute(RouteStep which, const CString& word);
