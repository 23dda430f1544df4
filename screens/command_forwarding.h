#pragma once
// The work screens hand most menu commands (and their update rules) to the
// left pane, which handles them for the whole program.

#include <initializer_list>

#include "platform/base/types.h"

// Offers command id to the left pane of the main frame when id is in ids.
// TRUE when it was forwarded and the pane handled it.
BOOL ForwardToLeftPane(
    std::initializer_list<UINT> ids, UINT id, int code, void* extra, void* handlerInfo, BOOL* forwarded);
