#include "platform/base/ini_lines.h"

namespace {

IniTextLine ParseIniLine(std::string_view line)
{
    using Kind = IniTextLine::Kind;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
        return { Kind::Section, std::string(line.substr(1, line.size() - 2)), {} };
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return { Kind::Other, std::string(line), {} };
    return { Kind::Entry, std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)) };
}

} // namespace

std::vector<IniTextLine> SplitIniLines(std::string_view text)
{
    std::vector<IniTextLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(ParseIniLine(line));
    }
    return lines;
}
