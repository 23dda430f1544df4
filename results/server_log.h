#pragma once
// The results server's text log: one folder per day under C:\Zuvar\Server log,
// one line per start, stop, connection, request, result and disconnect. Each
// line is appended by opening the file, writing the line (CP949, CR LF) and
// closing it; a line that cannot be written is lost silently.

#include "platform/base/cstring.h"

// "C:\Zuvar\Server log\<y>_<m>_<d>\Calvorn_log.txt" of today (not padded),
// its folder made.
CString MakeServerLogPath();

void AppendServerLog(const CString& path, const CString& line);

// "Connected Client : Destination IP Addr : " + ip: how every line about a
// scale begins.
CString ServerLogClient(const CString& ip);
