// The one reader of the data folder's small text files: every line whole,
// whatever its length, CP949 on disk and UTF-8 in the program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/cp949.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"
#include "shell/scale_dialogs.h"
#include "tests/support/temp_data_root.h"

namespace {

class SettingsLinesTest : public testing::Test {
protected:
    SettingsLinesTest() { MakeDirectoryPath(kSettingsFolder); }

    void Write(const std::string& utf8) { TempDataRoot::WriteAll(m_root.Native(kPath), Utf8ToCp949(utf8)); }

    static constexpr const char* kPath = "C:\\Windows\\system\\Manager\\Total_Value_kim.bin";
    TempDataRoot m_root;
};

TEST_F(SettingsLinesTest, LinesComeWholeWithoutTheirEnds)
{
    const std::string longHangul = [] {
        std::string text;
        for (int i = 0; i < 150; ++i)
            text += "가"; // 300 bytes in CP949
        return text;
    }();
    const std::string longAscii(1000, 'x');
    struct Case {
        std::string bytes;
        std::vector<CString> lines;
    };
    const Case cases[] = {
        { "item_name\r\n" + longHangul + "\r\n", { "item_name", longHangul.c_str() } },
        { longAscii + "\nlast", { longAscii.c_str(), "last" } },
        { std::string(199, 'a') + "b\r\n", { (std::string(199, 'a') + "b").c_str() } },
        { "a\r\n\r\nb", { "a", "", "b" } },
        { "\r\n", { "" } },
        { "", {} },
        { "한글 값\r\n국산", { "한글 값", "국산" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 40));
        Write(c.bytes);
        EXPECT_EQ(ReadSettingsLines(kPath), c.lines);
    }
    EXPECT_TRUE(ReadSettingsLines("C:\\Windows\\system\\Manager\\missing.bin").empty());
}

TEST_F(SettingsLinesTest, LongValuesReachTheirColumns)
{
    const std::string name(250, 'n');
    Write("item_name\r\n" + name + "\r\nland\r\n7\r\n");
    const ItemSettingValues values = ReadItemSettingValues(kPath);
    ASSERT_TRUE(values[static_cast<std::size_t>(ItemValueIndex("item_name"))].has_value());
    EXPECT_EQ(*values[static_cast<std::size_t>(ItemValueIndex("item_name"))], name.c_str());
    // Before, the name's tail was read as a column name and shifted the pairs.
    EXPECT_EQ(*values[static_cast<std::size_t>(ItemValueIndex("land"))], "7");
}

TEST_F(SettingsLinesTest, ServerPortIsTheLastLineWhole)
{
    TempDataRoot::WriteAll(m_root.Native(kServerPortFile), "1500\r\n" + std::string(220, ' ') + "4000");
    EXPECT_EQ(CServerPortDlg::ReadPortText(), (std::string(220, ' ') + "4000").c_str());
}

} // namespace
