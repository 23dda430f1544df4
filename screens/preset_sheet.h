#pragma once
// The text of one key on the printed preset-key sheet: at most four lines of
// at most six CP949 bytes each.

#include <array>

#include "platform/base/cstring.h"

inline constexpr int kPresetSheetLines = 4;
inline constexpr std::size_t kPresetSheetLineBytes = 6;

using PresetKeyLines = std::array<CString, kPresetSheetLines>;

// Breaks a key's text into lines: a full line (6 bytes) goes on to the next,
// a double-byte character that would not fit moves whole to the next line, a
// CR LF starts the next line (an empty line takes none), and what does not fit
// in four lines is dropped. The lines come back as UTF-8.
PresetKeyLines WrapPresetKeyText(const CString& text);
