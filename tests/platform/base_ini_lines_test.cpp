#include <gtest/gtest.h>

#include "platform/base/ini_lines.h"

namespace {

using Kind = IniTextLine::Kind;

struct Case {
    const char* text;
    std::vector<IniTextLine> lines;
};

TEST(IniLinesTest, SplitsSectionsEntriesAndOtherLines)
{
    const Case cases[] = {
        { "", {} },
        { "[A]\r\nk=v\r\n", { { Kind::Section, "A", "" }, { Kind::Entry, "k", "v" } } },
        // LF ends, a last line without an end, an empty section name.
        { "[]\nk=v", { { Kind::Section, "", "" }, { Kind::Entry, "k", "v" } } },
        // Blank lines and comments are other lines, kept as they stand.
        { "\r\n; note\r\n\n",
            { { Kind::Other, "", "" }, { Kind::Other, "; note", "" }, { Kind::Other, "", "" } } },
        // The first "=" splits; nothing is trimmed, ";" stays in the value.
        { " k = a=b ;c\r\n=x\r\nk=\r\n",
            { { Kind::Entry, " k ", " a=b ;c" }, { Kind::Entry, "", "x" }, { Kind::Entry, "k", "" } } },
        // Not sections: brackets that do not close the line, a lone bracket.
        { "[A] \r\n[\r\n[x=y]x\r\n",
            { { Kind::Other, "[A] ", "" }, { Kind::Other, "[", "" }, { Kind::Entry, "[x", "y]x" } } },
        // A section wins over "="; only one CR is taken off.
        { "[a=b]\r\nk=v\r\r\n", { { Kind::Section, "a=b", "" }, { Kind::Entry, "k", "v\r" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        const std::vector<IniTextLine> lines = SplitIniLines(c.text);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].kind, c.lines[i].kind) << i;
            EXPECT_EQ(lines[i].name, c.lines[i].name) << i;
            EXPECT_EQ(lines[i].value, c.lines[i].value) << i;
        }
    }
}

} // namespace
