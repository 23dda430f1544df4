#include "screens/preset_sheet.h"

#include <algorithm>
#include <string>

#include "platform/base/cp949.h"

namespace {

// The bytes of the UTF-8 character that starts at text[i].
std::size_t CharacterLength(const std::string& text, std::size_t i)
{
    std::size_t length = 1;
    while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

} // namespace

PresetKeyLines WrapPresetKeyText(const CString& text, const std::vector<int>* shownLineStarts)
{
    const std::string bytes = text.Str();
    PresetKeyLines lines;
    std::size_t line = 0;
    std::size_t lineBytes = 0; // CP949 bytes in the line
    int breaks = 0;
    for (std::size_t i = 0; i < bytes.size() && line < lines.size();) {
        if (bytes.compare(i, 2, "\r\n") == 0) {
            i += 2;
            if (!lines[line].IsEmpty()) {
                ++line;
                lineBytes = 0;
            }
            if (++breaks == kPresetSheetLines)
                break;
            continue;
        }
        const std::size_t length = CharacterLength(bytes, i);
        const std::string character = bytes.substr(i, length);
        const std::size_t width = Utf8ToCp949(character).size();
        const bool wrapped = shownLineStarts
            ? std::find(shownLineStarts->begin(), shownLineStarts->end(), static_cast<int>(i))
                != shownLineStarts->end()
            : lineBytes + width > kPresetSheetLineBytes;
        if (wrapped && !lines[line].IsEmpty()) {
            ++line;
            lineBytes = 0;
            continue;
        }
        lines[line] += CString(character.c_str());
        lineBytes += width;
        i += length;
    }
    return lines;
}
