#pragma once
// The database request protocol: reply messages of the workers (sent with
// SendMessage, wParam = lParam = 0), the mailbox dialog and its edits.

#include "platform/base/types.h"
#include "resources/calvorn_ids.h"

// Manager worker to the left pane.
inline constexpr UINT WM_MGRQUERY_ROW
    = 0x401; // one row: name in IDC_MAILBOX_NAME, DbReplyRow in IDC_MAILBOX_TEXT
inline constexpr UINT WM_MGRQUERY_EMPTY = 0x402; // the SELECT returned no row
inline constexpr UINT WM_MGRQUERY_DONE = 0x403; // the request is finished
// Item worker to the work screen (the header row of column names comes first).
inline constexpr UINT WM_DBQUERY_ROW = 0x404;
inline constexpr UINT WM_DBQUERY_EMPTY = 0x405;
inline constexpr UINT WM_DBQUERY_DONE = 0x406;
// The manager log-in to the left pane at log-out.
inline constexpr UINT WM_MANAGER_REFRESH = 0x407;

// wParam of a done message: how the request ended. A statement that ran but
// changed no row (an UPDATE or DELETE whose row is gone) is told apart.
inline constexpr WPARAM kDbDoneOk = 0;
inline constexpr WPARAM kDbDoneFailed = 1; // the engine's error was shown
inline constexpr WPARAM kDbDoneNoRow = 2;

// The owner's acknowledgement of a reply message.
inline constexpr const char* kMailboxReport = "Report";
