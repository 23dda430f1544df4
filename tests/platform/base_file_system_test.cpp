#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/file_system.h"
#include "platform/base/last_error.h"
#include "tests/support/store_fault.h"
#include "tests/support/temp_data_root.h"

namespace {

// The left pane's folder maker, written over these calls as the shell does:
// true when the path ends up naming a plain folder (attributes exactly 0x10).
bool MakeDirectoryPath(const std::string& path)
{
    if (GetFileAttributes(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY)
        return true;
    std::string prefix;
    std::vector<std::string> prefixes;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\')
            prefixes.push_back(prefix);
        prefix += path[i];
    }
    prefixes.push_back(prefix);
    for (std::size_t i = 1; i < prefixes.size(); ++i)
        if (CreateDirectory(prefixes[i].c_str(), nullptr))
            SetFileAttributes(prefixes[i].c_str(), FILE_ATTRIBUTE_NORMAL);
    return GetFileAttributes(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

std::vector<std::string> FindAll(const char* pattern, bool paths = false)
{
    std::vector<std::string> found;
    CFileFind find;
    BOOL more = find.FindFile(pattern);
    while (more) {
        more = find.FindNextFile();
        found.push_back((paths ? find.GetFilePath() : find.GetFileName()).Str());
    }
    return found;
}

} // namespace

TEST(FileSystemTest, AttributesOfFoldersFilesAndMissingEntries)
{
    TempDataRoot root;
    EXPECT_EQ(GetFileAttributes("C:\\Nothing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(CreateDirectory("C:\\Zuvar", nullptr));
    EXPECT_EQ(GetFileAttributes("C:\\ZUVAR"), FILE_ATTRIBUTE_DIRECTORY);
    TempDataRoot::WriteAll("C:\\Zuvar\\f.txt", "x");
    EXPECT_EQ(GetFileAttributes("C:\\zuvar\\F.TXT"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributes("/dev/null"), FILE_ATTRIBUTE_DEVICE) << "neither a file nor a folder";

    ASSERT_TRUE(SetFileAttributes("C:\\Zuvar\\f.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes("C:\\Zuvar\\f.txt"), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributes("C:\\Zuvar\\f.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes("C:\\Zuvar\\f.txt"), FILE_ATTRIBUTE_NORMAL);
    // NORMAL on a folder leaves it a plain folder.
    ASSERT_TRUE(SetFileAttributes("C:\\Zuvar", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes("C:\\Zuvar"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(SetFileAttributes("C:\\Nothing", FILE_ATTRIBUTE_NORMAL));
}

TEST(FileSystemTest, CreateDirectoryReportsExistingAndMissingParent)
{
    TempDataRoot root;
    EXPECT_TRUE(CreateDirectory("C:\\Windows", nullptr));
    EXPECT_FALSE(CreateDirectory("C:\\WINDOWS", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectory("C:\\a\\b", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(RemoveDirectory("C:\\windows"));
    EXPECT_EQ(GetFileAttributes("C:\\Windows"), INVALID_FILE_ATTRIBUTES);
}

TEST(FileSystemTest, FolderMakerCreatesEveryLevelOutermostFirst)
{
    TempDataRoot root;
    EXPECT_TRUE(MakeDirectoryPath("C:\\Windows\\system\\Manager"));
    EXPECT_EQ(GetFileAttributes("C:\\Windows\\system"), FILE_ATTRIBUTE_DIRECTORY);
    // Again: an existing plain folder returns at once.
    EXPECT_TRUE(MakeDirectoryPath("C:\\windows\\SYSTEM\\manager"));
    // A trailing backslash makes the same folders.
    EXPECT_TRUE(MakeDirectoryPath("C:\\Zuvar\\ResultData\\"));
    EXPECT_EQ(GetFileAttributes("C:\\Zuvar\\ResultData"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FileSystemTest, ReadOnlyFolderIsNotAPlainFolder)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\Locked", nullptr));
    ASSERT_TRUE(SetFileAttributes("C:\\Locked", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes("C:\\Locked"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(MakeDirectoryPath("C:\\Locked"));
}

TEST(FileSystemTest, DeleteCopyAndMove)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\Zuvinf.ini", "[SCALE]\r\nCOUNT=0\r\n");
    EXPECT_TRUE(CopyFile("C:\\zuvinf.ini", "C:\\Zuvinf.ini.001", FALSE));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\Zuvinf.ini.001"), "[SCALE]\r\nCOUNT=0\r\n");
    EXPECT_FALSE(CopyFile("C:\\Zuvinf.ini", "C:\\Zuvinf.ini.001", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    TempDataRoot::WriteAll("C:\\Zuvinf.ini", "new");
    EXPECT_TRUE(CopyFile("C:\\Zuvinf.ini", "C:\\Zuvinf.ini.001", FALSE));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\Zuvinf.ini.001"), "new");
    EXPECT_FALSE(CopyFile("C:\\none", "C:\\x", FALSE));

    EXPECT_FALSE(MoveFile("C:\\Zuvinf.ini", "C:\\Zuvinf.ini.001"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFile("C:\\Zuvinf.ini", "C:\\moved.ini"));
    EXPECT_FALSE(TempDataRoot::Exists("C:\\Zuvinf.ini"));

    EXPECT_TRUE(DeleteFile("C:\\MOVED.INI"));
    EXPECT_FALSE(DeleteFile("C:\\moved.ini"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(CreateDirectory("C:\\dir", nullptr));
    EXPECT_FALSE(DeleteFile("C:\\dir"));
}

TEST(FileSystemTest, AtomicWriteReplacesWholeFileAndLeavesNoTemporary)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\t", nullptr));
    TempDataRoot::WriteAll("C:\\t\\template.bin", "old");
    const std::vector<std::uint8_t> bytes = { 1, 2, 3, 4 };
    ASSERT_TRUE(WriteFileAtomically("C:\\t\\template.bin", bytes));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\template.bin"), std::string("\1\2\3\4", 4));
    EXPECT_EQ(FindAll("C:\\t\\*.*"), (std::vector<std::string> { ".", "..", "template.bin" }));

    CFileException error;
    EXPECT_FALSE(WriteFileAtomically("C:\\missing\\x.bin", bytes, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
}

// A save killed mid-write (the file size limit ends the child in its second
// write) leaves its temporary; the next save of that file removes it, and
// nothing else: not a running save's temporary, not a file of another name.
TEST(FileSystemTest, TheTemporaryOfAKilledSaveGoesAtTheNextSave)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\t", nullptr));
    TempDataRoot::WriteAll("C:\\t\\label.ubl", "old");
    const pid_t child = RunKilledMidWrite(
        [] { (void)WriteFileAtomically("C:\\t\\label.ubl", std::vector<std::uint8_t>(1 << 20, 7)); }, 4096);
    ASSERT_NE(child, 0);
    ASSERT_EQ(FindAll("C:\\t\\label.ubl.tmp-*").size(), 1u);
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\label.ubl"), "old");

    const std::string dead = std::to_string(child);
    const std::vector<std::string> kept = { "label.ubl.tmp-" + std::to_string(::getppid()) + "-abcdef",
        "label.ubl.tmp-abcdef", "label.ubl.tmp-" + dead + "-abcdefg", "label.ubl.tmp-" + dead + "x-abcdef",
        "label.ubl.tmp--abcdef", "other.ubl.tmp-" + dead + "-abcdef", "label.ubl.bak" };
    for (const std::string& name : kept)
        TempDataRoot::WriteAll("C:\\t\\" + name, "mine");
    TempDataRoot::WriteAll("C:\\t\\label.ubl.tmp-" + dead + "-Zq81aB", "left");
    ASSERT_TRUE(WriteFileAtomically("C:\\t\\label.ubl", std::vector<std::uint8_t> { 'n', 'e', 'w' }));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\label.ubl"), "new");
    EXPECT_EQ(FindAll("C:\\t\\*.*").size(), 3 + kept.size());
    for (const std::string& name : kept)
        EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\" + name), "mine") << name;
    // The same without a save.
    TempDataRoot::WriteAll("C:\\t\\label.ubl.tmp-" + dead + "-Zq81aB", "left");
    RemoveLeftoverTemporaries("C:\\t\\label.ubl");
    EXPECT_EQ(FindAll("C:\\t\\*.*").size(), 3 + kept.size());
}

TEST(FileSystemTest, AtomicTextWriteEndsLinesWithCrLfInCp949)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\t", nullptr));
    ASSERT_TRUE(WriteTextFileAtomically("C:\\t\\a.bin", "\xEA\xB0\x80\nb"));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\a.bin"), "\xB0\xA1\r\nb");

    CString error;
    EXPECT_FALSE(WriteTextFileAtomically("C:\\missing\\a.bin", "x", &error));
    EXPECT_FALSE(error.IsEmpty());
}

TEST(FileSystemTest, TempFileNameAndReplacingMove)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\t", nullptr));
    CString temp;
    ASSERT_NE(GetTempFileName("C:\\t", "calvorn", 0, temp), 0u);
    EXPECT_EQ(temp.Left(8), "C:\\t\\cal");
    EXPECT_EQ(temp.Right(4), ".tmp");
    EXPECT_EQ(temp.GetLength(), 18);
    EXPECT_EQ(GetFileAttributes(temp), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetTempFileName("C:\\missing", "cal", 0, temp), 0u);

    TempDataRoot::WriteAll("C:\\t\\a.mdb", "new");
    TempDataRoot::WriteAll("C:\\t\\b.mdb", "old");
    EXPECT_FALSE(MoveFileEx("C:\\t\\a.mdb", "C:\\t\\b.mdb", 0));
    ASSERT_TRUE(
        MoveFileEx("C:\\t\\a.mdb", "C:\\t\\b.mdb", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\t\\b.mdb"), "new");
    EXPECT_FALSE(TempDataRoot::Exists("C:\\t\\a.mdb"));
    EXPECT_FALSE(MoveFileEx("C:\\t\\b.mdb", "C:\\t", MOVEFILE_REPLACE_EXISTING));
}

TEST(FileSystemTest, FindMatchesWildcardsWithoutCase)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\Zuvinf.ini", "a");
    TempDataRoot::WriteAll("C:\\Zuvinf.ini.001", "b");
    TempDataRoot::WriteAll("C:\\ZUVINF.INI.007", "c");
    TempDataRoot::WriteAll("C:\\Zuvinf", "d");
    TempDataRoot::WriteAll("C:\\other.txt", "e");

    // The backup search: the path without extension plus "*.*".
    EXPECT_EQ(FindAll("C:\\Zuvinf*.*"),
        (std::vector<std::string> { "Zuvinf", "Zuvinf.ini", "Zuvinf.ini.001", "ZUVINF.INI.007" }));
    EXPECT_EQ(FindAll("C:\\*.tx?", true), (std::vector<std::string> { "C:\\other.txt" }));
    EXPECT_EQ(FindAll("c:\\zuvinf.ini"), (std::vector<std::string> { "Zuvinf.ini" }));
    EXPECT_TRUE(FindAll("C:\\none*.*").empty());
    EXPECT_TRUE(FindAll("C:\\nofolder\\*.*").empty());
}

TEST(FileSystemTest, FindReportsFolderEntries)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\Windows", nullptr));
    TempDataRoot::WriteAll("C:\\Windows\\f.bin", "12345");
    CFileFind find;
    ASSERT_TRUE(find.FindFile("C:\\windows"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_TRUE(find.IsDirectory());
    EXPECT_FALSE(find.IsDots());
    EXPECT_EQ(find.GetFilePath(), "C:\\Windows");

    ASSERT_TRUE(find.FindFile("C:\\Windows\\*.bin"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_FALSE(find.IsDirectory());
    EXPECT_EQ(find.GetLength(), 5u);
    EXPECT_EQ(find.GetFileTitle(), "f");
    EXPECT_TRUE(find.MatchesMask(FILE_ATTRIBUTE_NORMAL));

    // Before the first FindNextFile there is no current entry.
    ASSERT_TRUE(find.FindFile("C:\\Windows\\*"));
    EXPECT_TRUE(find.GetFileName().IsEmpty());
}
