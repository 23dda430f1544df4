#pragma once
// The results server's stored start setting and the "Server Prog" commands
// that store its settings: Server Start (32775) and Server Stop (32776) write
// Server_Start_Ok.bin, Port Setting (32779) runs the port dialog; each then
// asks for a restart and ends the program. The server reads the setting at
// start-up (RegisterResultServer makes that so).

#include "platform/base/cstring.h"
#include "platform/base/types.h"

// FALSE when the last line of Server_Start_Ok.bin is "FALSE" or empty, or the
// file is missing; TRUE for any other text. Makes the data folder first.
BOOL ReadServerStartFlag();

// FALSE when text holds what no setting does (a byte that is no printable
// character): the file is not understood.
BOOL IsSettingText(const CString& text);
// The box of a setting file that is not understood.
CString SettingNotUnderstoodText(const char* file);

// Sets the left pane's results server and the handlers of 32775, 32776 and
// 32779 (result_server_port.h). Call once before the frame is built.
void RegisterResultServer();

inline constexpr const char* kRestartText = "Application Change. Restart program";
