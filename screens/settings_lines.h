#pragma once
// The small settings files of the data folder: one value per line, CP949 on
// disk, lines ended by LF or CR LF. Lines are read whole, whatever their length.

#include <vector>

#include "platform/base/cstring.h"

// Every line of the file (UTF-8, without line ends); none for a missing or
// unreadable file.
std::vector<CString> ReadWholeLines(const CString& path);
