#include "platform/wnd/dialogs/dialog_nav.h"

#include <algorithm>

#include "platform/wnd/core/internal/window_state.h"

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(dialog);
    if (!state || state->children.empty())
        return nullptr;
    std::vector<HWND> order = state->children;
    if (previous)
        std::reverse(order.begin(), order.end());
    auto start = std::find(order.begin(), order.end(), control);
    const size_t count = order.size();
    const size_t first = start == order.end() ? 0 : static_cast<size_t>(start - order.begin()) + 1;
    for (size_t i = 0; i < count; ++i) {
        const HWND candidate = order[(first + i) % count];
        std::shared_ptr<WindowState> child = window_table::FindLocked(candidate);
        if (!child || !child->IsChild())
            continue;
        const DWORD style = child->style;
        if ((style & WS_VISIBLE) && !(style & WS_DISABLED) && (style & WS_TABSTOP))
            return candidate;
    }
    return nullptr;
}
