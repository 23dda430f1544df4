#pragma once

#include <chrono>
// The results server's text log: one folder per day under C:\Zuvar\Server log,
// one line per start, stop, connection, request, result and disconnect. Each
// line is appended by opening the file, writing the line (CP949, CR LF) and
// closing it; a line that cannot be written is lost, and its caller told.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

// "C:\Zuvar\Server log\<y>_<m>_<d>\Calvorn_log.txt" of today (not padded),
// its folder made.
CString MakeServerLogPath();

// FALSE, with the cause, when the line could not be written.
BOOL AppendServerLog(const CString& path, const CString& line, CString* error = nullptr);

// The box of a log that cannot be written.
CString ServerLogFailureText(const CString& path, const CString& error);

// "Connected Client : Destination IP Addr : " + ip: how every line about a
// scale begins.
CString ServerLogClient(const CString& ip);

// The log lines of one kind of refused message of one connection: the first
// of each minute is written, the others only counted.
class CRefusalLogLimit {
public:
    using Clock = std::chrono::steady_clock;
    // TRUE when the refusal at now is to be logged.
    BOOL Admit(Clock::time_point now);
    // The refusals not logged since the last line logged, and forgets them.
    int TakeUnlogged();

private:
    Clock::time_point m_since;
    BOOL m_bOpen = FALSE;
    int m_unlogged = 0;
};
