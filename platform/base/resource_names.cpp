#include "platform/base/resource_names.h"

#include <cctype>
#include <regex>

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool IsIdName(std::string_view word)
{
    static const std::regex kIdName("(AFX_)?ID[A-Z]*_[A-Za-z0-9_]+");
    return std::regex_match(word.begin(), word.end(), kIdName);
}

// Copies one line, replacing id names outside strings and comments.
bool ResolveLine(std::string_view line, const ResourceNames& names, std::string& out, std::string& unknown)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"') {
            std::size_t j = i + 1;
            while (j < line.size() && line[j] != '"')
                j += line[j] == '\\' ? 2 : 1;
            j = std::min(j + 1, line.size());
            out.append(line.substr(i, j - i));
            i = j;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            out.append(line.substr(i));
            return true;
        } else if (IsWordChar(c)) {
            std::size_t j = i;
            while (j < line.size() && IsWordChar(line[j]))
                ++j;
            const std::string_view word = line.substr(i, j - i);
            if (word != "IDC_STATIC" && IsIdName(word)) {
                const auto found = names.find(word);
                if (found == names.end()) {
                    unknown = word;
                    return false;
                }
                out += std::to_string(found->second);
            } else {
                out.append(word);
            }
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return true;
}

} // namespace

void ReadResourceNames(std::string_view header, ResourceNames& names)
{
    static const std::regex kConstant(
        R"(^inline constexpr UINT (\w+) = (0[xX][0-9A-Fa-f]+|[0-9]+);)", std::regex::multiline);
    const std::string text(header);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kConstant); it != std::sregex_iterator();
         ++it) {
        const std::string name = (*it)[1];
        if (IsIdName(name))
            names[name] = std::stoul((*it)[2], nullptr, 0);
    }
}

bool ResolveResourceNames(
    std::string_view script, const ResourceNames& names, std::string& out, std::string& error)
{
    out.clear();
    std::size_t number = 1;
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        std::string unknown;
        if (!ResolveLine(line, names, out, unknown)) {
            error = "line " + std::to_string(number) + ": unknown id " + unknown;
            return false;
        }
        if (end == std::string_view::npos)
            break;
        out += '\n';
        script.remove_prefix(end + 1);
        ++number;
    }
    return true;
}
