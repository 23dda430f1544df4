#include "screens/preset_sheet.h"

#include <string>

#include "platform/base/cp949.h"

PresetKeyLines WrapPresetKeyText(const CString& text)
{
    const std::string bytes = Utf8ToCp949(text.View());
    std::array<std::string, kPresetSheetLines> lines;
    std::size_t line = 0;
    int breaks = 0;
    for (std::size_t i = 0; i < bytes.size() && line < lines.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            i += 2;
            if (!lines[line].empty())
                ++line;
            if (++breaks == kPresetSheetLines)
                break;
            continue;
        }
        const std::size_t width = IsCp949LeadByte(byte) && i + 1 < bytes.size() ? 2 : 1;
        if (lines[line].size() + width > kPresetSheetLineBytes) {
            ++line;
            continue;
        }
        lines[line].append(bytes, i, width);
        i += width;
    }
    PresetKeyLines result;
    for (std::size_t l = 0; l < lines.size(); ++l)
        result[l] = CString(Cp949ToUtf8(lines[l]));
    return result;
}
