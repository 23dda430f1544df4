#include <gtest/gtest.h>

#include <string>

#include "platform/base/resource_names.h"

namespace {

constexpr const char* kHeader = "#pragma once\n"
                                "inline constexpr UINT IDD_SAMPLE = 140;\n"
                                "inline constexpr UINT IDC_SAMPLE_NAME = 1003; // the name\n"
                                "inline constexpr UINT ID_SAMPLE_SEND = 0x8003;\n"
                                "inline constexpr UINT kSampleLimit = 20;\n";

TEST(ResourceNames, ReplacesWholeNamesOutsideStringsAndComments)
{
    ResourceNames names;
    ReadResourceNames(kHeader, names);
    EXPECT_EQ(names.size(), 3u);
    const struct {
        const char* script;
        const char* resolved; // nullptr: refused
    } cases[] = {
        { "DIALOG IDD_SAMPLE 0 0 10 10", "DIALOG 140 0 0 10 10" },
        { "  CONTROL IDC_SAMPLE_NAME EDIT \"\" 1 2 3 4", "  CONTROL 1003 EDIT \"\" 1 2 3 4" },
        { "ITEM ID_SAMPLE_SEND \"ID_SAMPLE_SEND \\\"IDC_NONE\\\"\"",
            "ITEM 32771 \"ID_SAMPLE_SEND \\\"IDC_NONE\\\"\"" },
        { "CONTROL IDC_STATIC STATIC \"\" 1 2 3 4 // IDC_NONE",
            "CONTROL IDC_STATIC STATIC \"\" 1 2 3 4 // IDC_NONE" },
        { "CONTROL IDOK BUTTON \"\" 1 2 3 4 WS_TABSTOP", "CONTROL IDOK BUTTON \"\" 1 2 3 4 WS_TABSTOP" },
        { "CONTROL IDC_SAMPLE_NAMES EDIT \"\" 1 2 3 4", nullptr },
    };
    for (const auto& c : cases) {
        std::string out;
        std::string error;
        const bool resolved = ResolveResourceNames(c.script, names, out, error);
        EXPECT_EQ(resolved, c.resolved != nullptr) << c.script;
        if (c.resolved)
            EXPECT_EQ(out, c.resolved);
        else
            EXPECT_NE(error.find("unknown id"), std::string::npos) << error;
    }
    std::string out;
    std::string error;
    EXPECT_FALSE(ResolveResourceNames("STRINGTABLE\n  IDS_NONE \"x\"\nEND\n", names, out, error));
    EXPECT_EQ(error, "line 2: unknown id IDS_NONE");
}

} // namespace
