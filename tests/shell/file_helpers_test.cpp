// The left pane's file helpers and the Windows version names.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <span>

#include "platform/base/file_system.h"
#include "platform/base/resource.h"
#include "shell/file_helpers.h"
#include "shell/windows_version.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

class FileHelpersTest : public testing::Test {
protected:
    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
};

std::string Template(UINT id)
{
    const std::span<const std::uint8_t> bytes = AfxGetResource("MDB", id);
    return std::string(bytes.begin(), bytes.end());
}

OSVERSIONINFO Version(DWORD platform, DWORD major, DWORD minor, const char* servicePack = "")
{
    OSVERSIONINFO info;
    info.dwPlatformId = platform;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    std::snprintf(info.szCSDVersion, sizeof(info.szCSDVersion), "%s", servicePack);
    return info;
}

} // namespace

TEST_F(FileHelpersTest, MakeDirectoryPathCreatesEveryMissingFolder)
{
    EXPECT_TRUE(MakeDirectoryPath("C:\\One\\Two\\Three"));
    EXPECT_EQ(GetFileAttributes("C:\\One"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes("C:\\One\\Two"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes("C:\\One\\Two\\Three"), FILE_ATTRIBUTE_DIRECTORY);
    // An existing folder, also named in another case.
    EXPECT_TRUE(MakeDirectoryPath("C:\\one\\two"));
}

TEST_F(FileHelpersTest, MakeDirectoryPathAcceptsAReadOnlyFolder)
{
    ASSERT_TRUE(MakeDirectoryPath("C:\\Locked"));
    ASSERT_TRUE(SetFileAttributes("C:\\Locked", FILE_ATTRIBUTE_READONLY));
    ASSERT_NE(GetFileAttributes("C:\\Locked"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(MakeDirectoryPath("C:\\Locked"));
}

TEST_F(FileHelpersTest, MakeDirectoryPathFailsOnAFileOfThatName)
{
    TempDataRoot::WriteAll(m_root.Native("C:\\plain"), "x");
    EXPECT_FALSE(MakeDirectoryPath("C:\\plain"));
    EXPECT_FALSE(MakeDirectoryPath("C:\\plain\\below"));
    EXPECT_FALSE(MakeDirectoryPath(""));
}

TEST_F(FileHelpersTest, WriteResourceFileReplacesTheFileWithTheTemplate)
{
    TempDataRoot::WriteAll(m_root.Native("C:\\a.mdb"), "old content");
    EXPECT_TRUE(WriteResourceFile(150, "C:\\a.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\a.mdb")), Template(150));
    // The id counts as 16 bits.
    EXPECT_TRUE(WriteResourceFile(0x10000 + 152, "C:\\b.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\b.mdb")), Template(152));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(FileHelpersTest, WriteResourceFileWithoutTemplateLeavesTheFile)
{
    TempDataRoot::WriteAll(m_root.Native("C:\\a.mdb"), "old content");
    EXPECT_FALSE(WriteResourceFile(151, "C:\\a.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\a.mdb")), "old content");
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "리소스를 찾을 수 없거나 불러올수 없습니다.");
}

TEST_F(FileHelpersTest, FailedWriteLeavesWhatWasThere)
{
    // The target cannot be replaced (it is a folder with content): nothing of
    // it is lost and the failure is reported.
    ASSERT_TRUE(MakeDirectoryPath("C:\\Busy.mdb"));
    TempDataRoot::WriteAll(m_root.Native("C:\\Busy.mdb\\inside"), "old content");
    EXPECT_FALSE(WriteResourceFile(150, "C:\\Busy.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\Busy.mdb\\inside")), "old content");
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "C:\\Busy.mdb =>DB File not making");
}

TEST_F(FileHelpersTest, FailedWriteIntoAMissingFolderSaysSo)
{
    EXPECT_FALSE(WriteResourceFile(150, "C:\\Nowhere\\a.mdb"));
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "C:\\Nowhere\\a.mdb =>DB File not making");
    // A file that cannot even be created is not taken as provisioned.
    EXPECT_FALSE(ProvisionDatabaseFile(208, "C:\\Nowhere\\b.mdb"));
    ASSERT_EQ(MessageBoxScript::Count(), 2u);
    EXPECT_EQ(MessageBoxScript::Records()[1].text, "C:\\Nowhere\\b.mdb =>DB File not making");
}

TEST_F(FileHelpersTest, ProvisionWritesOnlyMissingOrEmptyFiles)
{
    EXPECT_TRUE(ProvisionDatabaseFile(208, "C:\\new.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\new.mdb")), Template(208));
    TempDataRoot::WriteAll(m_root.Native("C:\\empty.mdb"), "");
    EXPECT_TRUE(ProvisionDatabaseFile(208, "C:\\empty.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\empty.mdb")), Template(208));
    TempDataRoot::WriteAll(m_root.Native("C:\\full.mdb"), "mine");
    EXPECT_TRUE(ProvisionDatabaseFile(208, "C:\\full.mdb"));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native("C:\\full.mdb")), "mine");
}

TEST_F(FileHelpersTest, LogTimeTextHasTheFixedFields)
{
    const CString text = GetLogTimeText();
    ASSERT_EQ(text.GetLength(), 18);
    EXPECT_EQ(text[4], '/');
    EXPECT_EQ(text[7], '/');
    EXPECT_EQ(text[10], ':');
    EXPECT_EQ(text.Mid(13, 2), "H-");
    EXPECT_EQ(text.Right(1), "M");
}

TEST(WindowsVersionTest, NamesFollowThePlatformAndVersion)
{
    EXPECT_EQ(WindowsVersionName(Version(0, 3, 1)), "Microsoft Win32s");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 0, " C")), "Microsoft Windows 95");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 0, " B")), "");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 10, " A")), "Microsoft Windows 98");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 10, " B")), "");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 3, " A")), "");
    EXPECT_EQ(WindowsVersionName(Version(1, 4, 90)), "Microsoft Windows Me");
    EXPECT_EQ(WindowsVersionName(Version(2, 4, 0)), "Microsoft Windows NT");
    EXPECT_EQ(WindowsVersionName(Version(2, 5, 0)), "Microsoft Windows 2000");
    EXPECT_EQ(WindowsVersionName(Version(2, 5, 1)), "Whistler");
    EXPECT_EQ(WindowsVersionName(Version(2, 5, 2)), "");
    EXPECT_EQ(WindowsVersionName(Version(2, 6, 0)), "");
    EXPECT_EQ(WindowsVersionName(Version(3, 5, 1)), "");
    EXPECT_EQ(GetWindowsVersionName(), "Whistler");
}

TEST_F(FileHelpersTest, ProgramDatabasesAreRecognisedHoweverTheyAreSpelled)
{
    ASSERT_TRUE(MakeDirectoryPath("C:\\Windows\\system\\Manager"));
    ASSERT_TRUE(MakeDirectoryPath("C:\\Zuvar\\ResultData"));
    TempDataRoot::WriteAll(m_root.Native("C:\\Windows\\system\\Manager\\Manager.mdb"), "m");
    const std::string manager = m_root.Native("C:\\Windows\\system\\Manager\\Manager.mdb");
    const std::string folder = m_root.Native("C:\\Windows\\system\\Manager");
    struct Case {
        std::string path;
        bool program;
    };
    const Case cases[] = {
        { "C:\\Windows\\system\\Manager\\Manager.mdb", true },
        { "c:\\WINDOWS\\System\\manager\\MANAGER.MDB", true },
        { manager, true },
        { folder + "/../Manager/./Manager.mdb", true },
        // Missing files, named in any case.
        { folder + "/Manager_ScaleInfo.mdb", true },
        { folder + "/reservation_store.MDB", true },
        { folder + "/Server_Store.mdb", true },
        { m_root.Native("C:\\zuvar\\resultdata") + "/Result_Sum.mdb", true },
        { "C:\\Zuvar\\ResultData\\RESULT_SUM.mdb", true },
        // Other files of the same folders, and item databases elsewhere.
        { folder + "/Manager.mdb.bak", false },
        { folder + "/Default_Value_vexo.bin", false },
        { "C:\\Manager.mdb", false },
        { "C:\\Zuvar\\Result_Sum.mdb", false },
        { "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsProgramDatabase(c.path.c_str()), c.program ? TRUE : FALSE);
    }
}

TEST_F(FileHelpersTest, ReceivedDataIsRecognisedHoweverItIsSpelled)
{
    ASSERT_TRUE(MakeDirectoryPath("C:\\ZUVAR\\ScaleData\\2024-03-09\\14Hour"));
    const std::string received = m_root.Native("C:\\ZUVAR\\ScaleData");
    const std::filesystem::path link = std::filesystem::path(m_root.Root()) / "link";
    std::filesystem::create_directory_symlink(received + "/2024-03-09", link);
    struct Case {
        std::string path;
        bool received;
    };
    const Case cases[] = {
        { "C:\\ZUVAR\\ScaleData\\2024-03-09\\14Hour\\192.168.0.7.mdb", true },
        { "c:\\zuvar\\scaledata\\new.mdb", true },
        { received + "/2024-03-09/14Hour/../../x.mdb", true },
        { link.string() + "/14Hour/01.mdb", true },
        { "C:\\ZUVAR\\ScaleData", false },
        { "C:\\ZUVAR\\ScaleData2\\x.mdb", false },
        { received + "/../items.mdb", false },
        { "C:\\items.mdb", false },
        { "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsReceivedDataPath(c.path.c_str()), c.received ? TRUE : FALSE);
    }
}

TEST_F(FileHelpersTest, WritingAFileIsRefusedOrAskedFirst)
{
    ASSERT_TRUE(MakeDirectoryPath("C:\\Windows\\system\\Manager"));
    ASSERT_TRUE(MakeDirectoryPath("C:\\ZUVAR\\ScaleData"));
    TempDataRoot::WriteAll(m_root.Native("C:\\store.mdb"), "items");
    struct Case {
        const char* path;
        int answer; // the user's answer to the box, 0 for no box
        UINT type;
        BOOL write;
    };
    const UINT ask = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
    const Case cases[] = {
        { "C:\\new.mdb", 0, 0, TRUE },
        { "C:\\store.mdb", IDNO, ask, FALSE },
        { "C:\\store.mdb", IDYES, ask, TRUE },
        { "C:\\Windows\\system\\Manager\\Manager.mdb", IDOK, MB_OK | MB_ICONSTOP, FALSE },
        { "C:\\ZUVAR\\ScaleData\\01.mdb", IDOK, MB_OK | MB_ICONSTOP, FALSE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        MessageBoxScript::Reset();
        if (c.answer)
            MessageBoxScript::PushAnswer(c.answer);
        EXPECT_EQ(ConfirmFileWrite(c.path), c.write);
        ASSERT_EQ(MessageBoxScript::Count(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(MessageBoxScript::Records()[0].type, c.type);
        }
    }
    EXPECT_EQ(MessageBoxScript::Records()[0].text,
        "C:\\ZUVAR\\ScaleData\\01.mdb\nis a database of the program itself and cannot be "
        "replaced.\nChoose another file name.");
    MessageBoxScript::Reset();
    ConfirmFileWrite("C:\\store.mdb");
    EXPECT_EQ(
        MessageBoxScript::Records()[0].text, "C:\\store.mdb already exists.\nDo you want to replace it?");
}
