#pragma once
// The window table: what the layer knows of each window. Structure (parent,
// children, id, style, rectangle) is guarded by the table lock and may be read
// from any thread; the text has its own lock; widget, update region and
// selection are touched on the UI thread only.

#include "platform/wnd/core/internal/platform_only.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include "platform/base/cstring.h"
#include "platform/base/geometry.h"
#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/wnd.h"

struct WindowState {
    HWND hwnd = nullptr;
    std::atomic<CWnd*> object { nullptr };
    // Objects the layer made for template controls; deleted after WM_NCDESTROY.
    std::vector<std::unique_ptr<CWnd>> ownedObjects;

    // Guarded by the table lock.
    CString className; // upper case; empty for plain windows
    HWND parent = nullptr;
    std::vector<HWND> children; // child windows and owned popups, in creation order
    UINT id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    HICON bigIcon = nullptr; // WM_SETICON, not owned
    HICON smallIcon = nullptr;
    CRect rect; // child: parent client coordinates; popup: screen
    bool maximized = false;

    // Guarded by textMutex.
    std::mutex textMutex;
    CString text;
    // Edits: typed since the text was last set by code (EM_GETMODIFY).
    bool modified = false;
    // The widget is on show: another thread's new text is handed to the UI
    // thread for it. Else the text waits for the widget's showing (or a
    // FlushText), marked pending.
    bool textOnShow = false;
    bool textPending = false; // the text has not reached the widget yet

    std::atomic<bool> destroying { false };

    // UI thread only.
    QPointer<QWidget> widget;
    QRegion dirty;
    bool erasePending = false; // some invalidation asked for the background to be erased
    bool redraw = true;
    int selStart = 0;
    int selEnd = 0;
    UINT limitText = 0;
    std::optional<LOGFONT> font; // the template font a dialog hands its controls

    bool IsChild() const { return (style & WS_CHILD) != 0; }
};

namespace window_table {

std::mutex& Mutex();
// nullptr when hwnd is not (or no longer) a window.
std::shared_ptr<WindowState> Find(HWND hwnd);
// Caller holds Mutex().
std::shared_ptr<WindowState> FindLocked(HWND hwnd);
// Adds a new window with a fresh handle (never reused).
std::shared_ptr<WindowState> Add();
void Remove(HWND hwnd);

} // namespace window_table
