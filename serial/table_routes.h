#pragma once
// The tables that the scale link sends and reads record by record, by the
// work screen's kind word: the step word of each frame, the table's code and
// the clear's bytes. One entry per table; the link's senders take it.

#include <cstdint>
#include <optional>

#include "platform/base/cstring.h"
#include "protocol/scale_codes.h"
#include "protocol/scale_records.h"
#include "serial/serial_words.h"

struct TableRoute {
    SerialWord kind;
    SerialWord clearStep;
    SerialWord dataStep;
    SerialWord selectStep;
    SerialWord allRequestStep;
    std::optional<SerialWord> requestStep; // none: read whole only
    TableCode table;
    std::uint8_t clearSecond; // the clear's second byte
    bool clearRestartsSequence; // the clear's frame goes out as number 0
    RecordKind record;
    int cap; // records of a send at most, 0 for no cap
};

// Which of a route's words is looked up.
enum class RouteStep { Kind, Clear, Data, SelectData, Request };

// The route whose word of that kind the text is; nullptr for none.
[[nodiscard]] const TableRoute* FindRoute(RouteStep which, const CString& word);
