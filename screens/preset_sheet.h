#pragma once
// The text of one key on the printed preset-key sheet: at most four lines.

#include <array>
#include <vector>

#include "platform/base/cstring.h"

inline constexpr int kPresetSheetLines = 4;
inline constexpr std::size_t kPresetSheetLineBytes = 6;

using PresetKeyLines = std::array<CString, kPresetSheetLines>;

// Breaks a key's text into lines: a CR LF starts the next line (an empty line
// takes none), and what does not fit in four lines is dropped. Without
// shownLineStarts a full line (6 CP949 bytes) goes on to the next, a
// double-byte character that would not fit moving whole; with them (the byte
// offsets at which the key on screen starts each line it shows) a line ends
// where the screen's does. The lines come back as UTF-8.
PresetKeyLines WrapPresetKeyText(const CString& text, const std::vector<int>* shownLineStarts = nullptr);
