#pragma once
// The question Tarnel asks before it drops label or cassette values that
// differ from the last opened, saved or received ones.

#include <functional>

#include "platform/base/types.h"

// Nothing asked when modified is FALSE. Otherwise Yes runs save (as its Save
// As command) and No goes on; FALSE when the user stays: Cancel, or a save
// that did not happen.
[[nodiscard]] BOOL SaveEditsFirst(BOOL modified, const char* what, const std::function<BOOL()>& save);
