#pragma once
// The lines of a text in the ini layout, as the profile and the label tool's
// ini files read them:
//
//   text  := (line ("\r\n" | "\n"))* [line]
//   line  := "[" name "]"      a section
//          | key "=" value     an entry, split at the first "="
//          | other             no "=": a blank line or a comment
//
// Nothing is trimmed and ";" means nothing here: what to make of an other
// line, and of a comment after a value, is the caller's choice.

#include <string>
#include <string_view>
#include <vector>

struct IniTextLine {
    enum class Kind { Section, Entry, Other };
    Kind kind;
    std::string name; // the section's name, the entry's key, or the other line whole
    std::string value; // the entry's text after the "="
};

// The lines of text in file order.
std::vector<IniTextLine> SplitIniLines(std::string_view text);
