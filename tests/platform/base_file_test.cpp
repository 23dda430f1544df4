#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/file_system.h"
#include "tests/support/temp_data_root.h"

namespace {

constexpr const char* kDb = "C:\\Windows\\system\\Manager\\Manager.mdb";

// Runs f, which must throw a CFileException*; returns its cause (or -1).
template <typename F> int ThrownCause(F f)
{
    try {
        f();
    } catch (CFileException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

} // namespace

TEST(FileTest, CreateNoTruncateProbesLengthWithoutTouchingContent)
{
    TempDataRoot root;
    ASSERT_TRUE(CreateDirectory("C:\\Windows", nullptr));
    ASSERT_TRUE(CreateDirectory("C:\\Windows\\system", nullptr));
    ASSERT_TRUE(CreateDirectory("C:\\Windows\\system\\Manager", nullptr));

    // A missing file is created empty: the caller then writes its template.
    CFile probe;
    ASSERT_TRUE(probe.Open(kDb, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead));
    EXPECT_EQ(probe.GetLength(), 0u);
    probe.Close();
    EXPECT_TRUE(TempDataRoot::Exists(kDb));

    TempDataRoot::WriteAll(kDb, "template");
    ASSERT_TRUE(probe.Open(kDb, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead));
    EXPECT_EQ(probe.GetLength(), 8u);
    probe.Close();
    EXPECT_EQ(TempDataRoot::ReadAll(kDb), "template");
}

TEST(FileTest, CreateTruncatesAndWritesWholeContent)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\a.bin", "old content that is longer");
    CFile file("c:\\A.BIN", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    const unsigned char bytes[] = { 0, 1, 2, 0xFF, '\n' };
    file.Write(bytes, sizeof bytes);
    file.Close();
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\a.bin"), std::string("\0\1\2\xFF\n", 5));

    // A read-only open with modeCreate still cuts the file, as CREATE_ALWAYS does.
    CFile reader("C:\\a.bin", CFile::modeCreate | CFile::modeRead);
    EXPECT_EQ(reader.GetLength(), 0u);
}

TEST(FileTest, ReadSeekPositionAndSetLength)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\data.bin", "0123456789");
    CFile file("C:\\data.bin", CFile::modeReadWrite | CFile::shareDenyNone);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.GetPosition(), 4u);
    EXPECT_EQ(file.Seek(-2, CFile::end), 8u);
    EXPECT_EQ(file.Read(buffer, 16), 2u); // short read at the end
    EXPECT_EQ(file.Read(buffer, 16), 0u);
    file.SeekToBegin();
    file.Write("ab", 2);
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    file.SetLength(7);
    file.Close();
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\data.bin"), std::string("ab234\0\0", 7));
}

TEST(FileTest, OpenFailuresAreReportedWithCause)
{
    TempDataRoot root;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("C:\\missing.bin", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, "C:\\missing.bin");

    EXPECT_FALSE(file.Open("C:\\no\\such\\folder\\x.bin", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);

    ASSERT_TRUE(CreateDirectory("C:\\Folder", nullptr));
    EXPECT_FALSE(file.Open("C:\\Folder", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);

    EXPECT_FALSE(file.Open("\\\\server\\share\\x", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));

    // The constructor form throws instead.
    EXPECT_EQ(ThrownCause([] { CFile f("C:\\missing.bin", CFile::modeRead); }), CFileException::fileNotFound);
}

TEST(FileTest, ReadOnlyFileCannotBeOpenedForWriting)
{
    // The read-only attribute refuses write access to everyone, as on Windows,
    // also to a process whose privileges ignore permission bits.
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\label.ubl", "label");
    ASSERT_TRUE(SetFileAttributes("C:\\label.ubl", FILE_ATTRIBUTE_READONLY));
    for (UINT mode : { static_cast<UINT>(CFile::modeWrite), CFile::modeReadWrite | CFile::shareExclusive,
             CFile::modeCreate | CFile::modeWrite,
             CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite }) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open("C:\\label.ubl", mode, &error)) << "mode " << mode;
        EXPECT_EQ(error.m_cause, CFileException::accessDenied) << "mode " << mode;
    }
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\label.ubl"), "label"); // not truncated
    CFile reader;
    EXPECT_TRUE(reader.Open("C:\\label.ubl", CFile::modeRead));
    reader.Close();

    // The attribute taken away, the file opens for writing again.
    ASSERT_TRUE(SetFileAttributes("C:\\label.ubl", FILE_ATTRIBUTE_NORMAL));
    CFile writer;
    EXPECT_TRUE(writer.Open("C:\\label.ubl", CFile::modeReadWrite));
}

TEST(FileTest, WrongDirectionAndClosedFileThrow)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\r.bin", "abc");
    CFile reader("C:\\r.bin", CFile::modeRead);
    EXPECT_EQ(ThrownCause([&] { reader.Write("x", 1); }), CFileException::accessDenied);
    EXPECT_EQ(ThrownCause([&] { reader.Seek(-1, CFile::begin); }), CFileException::badSeek);
    reader.Close();
    reader.Close(); // closing twice is harmless
    char c;
    EXPECT_EQ(ThrownCause([&] { reader.Read(&c, 1); }), CFileException::invalidFile);
}

TEST(FileTest, NamesOfTheOpenFile)
{
    TempDataRoot root;
    CFile file("C:\\Zuvar\\..\\Report.txt", CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(file.GetFilePath(), "C:\\Zuvar\\..\\Report.txt");
    EXPECT_EQ(file.GetFileName(), "Report.txt");
    EXPECT_EQ(file.GetFileTitle(), "Report");
}

TEST(StdioFileTest, WritesCp949WithCrLf)
{
    TempDataRoot root;
    {
        CStdioFile file("C:\\Auto_Comset_File.bin", CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString("Auto\n");
        file.WriteString("Scale name = 저울1, IP=192.168.0.130\n");
        file.WriteString("end");
    }
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\Auto_Comset_File.bin"),
        "Auto\r\nScale name = \xC0\xFA\xBF\xEF"
        "1, IP=192.168.0.130\r\nend");
}

TEST(StdioFileTest, BinaryModeKeepsLineEnds)
{
    TempDataRoot root;
    {
        CStdioFile file("C:\\b.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString("a\nb");
    }
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\b.txt"), "a\nb");
    TempDataRoot::WriteAll("C:\\b.txt", "x\r\ny");
    CStdioFile file("C:\\b.txt", CFile::modeRead | CFile::typeBinary);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "x\r");
}

TEST(StdioFileTest, ReadsLinesEndedByCrLfOrLf)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\v.bin", "vexo\r\nTRUE\n\xC0\xFA\xBF\xEF\r\n\r\nlast");
    CStdioFile file("C:\\v.bin", CFile::modeRead | CFile::typeText);
    CString line;
    std::vector<std::string> lines;
    while (file.ReadString(line))
        lines.push_back(line.Str());
    EXPECT_EQ(lines, (std::vector<std::string> { "vexo", "TRUE", "저울", "", "last" }));
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(StdioFileTest, BufferReaderComesInPiecesAndNeverOverflows)
{
    TempDataRoot root;
    // "3000" then a Korean line longer than the buffer.
    TempDataRoot::WriteAll("C:\\Server_Port.bin", "3000\r\n\xC0\xFA\xBF\xEF\xC0\xFA\xBF\xEF\n");
    CStdioFile file("C:\\Server_Port.bin", CFile::modeRead);
    char buffer[8];
    std::memset(buffer, 'Z', sizeof buffer);
    ASSERT_NE(file.ReadString(buffer, 8), nullptr);
    EXPECT_STREQ(buffer, "3000\n");
    // Each syllable is 3 UTF-8 bytes: two fit in 7, the rest follows.
    ASSERT_NE(file.ReadString(buffer, 8), nullptr);
    EXPECT_STREQ(buffer, "저울");
    ASSERT_NE(file.ReadString(buffer, 8), nullptr);
    EXPECT_STREQ(buffer, "저울\n");
    EXPECT_EQ(file.ReadString(buffer, 8), nullptr);
}

TEST(StdioFileTest, TinyBufferStillMovesForward)
{
    TempDataRoot root;
    TempDataRoot::WriteAll("C:\\t.txt",
        "\xC0\xFA"
        "a");
    CStdioFile file("C:\\t.txt", CFile::modeRead);
    char buffer[2];
    ASSERT_NE(file.ReadString(buffer, 2), nullptr);
    EXPECT_STREQ(buffer, "?");
    ASSERT_NE(file.ReadString(buffer, 2), nullptr);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(file.ReadString(buffer, 2), nullptr);
}

TEST(StdioFileTest, AppendAfterSeekToEndAndMixedReadWrite)
{
    TempDataRoot root;
    const char* report = "C:\\Zuvar\\Reservation_Report\\Reservation_Report.txt";
    TempDataRoot::WriteAll(report, "first\r\n");
    {
        CStdioFile file(report, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.SeekToEnd();
        file.WriteString("second\n");
    }
    EXPECT_EQ(TempDataRoot::ReadAll(report), "first\r\nsecond\r\n");

    // A write after a buffered read lands right after what was read.
    CStdioFile file(report, CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(file.GetPosition(), 7u);
    file.WriteString("X");
    file.Close();
    EXPECT_EQ(TempDataRoot::ReadAll(report), "first\r\nXecond\r\n");
}
