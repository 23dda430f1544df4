#include <gtest/gtest.h>

#include "platform/base/bytes.h"
#include "platform/base/cp949.h"
#include "platform/base/cstring.h"

TEST(CStringTest, FormatTakesCStringForPercentS)
{
    CString name("scale1");
    CString s;
    s.Format("%s=%d:%5.2f", name, 42, 1.5);
    EXPECT_EQ(s, "scale1=42: 1.50");
    s.AppendFormat("/%s", CString("x"));
    EXPECT_EQ(s, "scale1=42: 1.50/x");
}

TEST(CStringTest, SubstringsClampOutOfRangeArguments)
{
    CString s("abcdef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(2, 100), "cdef");
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(10), "abcdef");
    EXPECT_EQ(s.GetAt(6), 0);
}

TEST(CStringTest, SearchReplaceAndTrim)
{
    CString s("  a\tjo/b\tjo/  ");
    EXPECT_EQ(s.Find("\tjo/"), 3);
    EXPECT_EQ(s.Find("\tjo/", 4), 8);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.ReverseFind('/'), 11);
    CString t = s;
    EXPECT_EQ(t.Replace("\tjo/", ","), 2);
    EXPECT_EQ(t.Trim(), "a,b,");
    EXPECT_EQ(CString("xxhixx").TrimLeft('x'), "hixx");
    EXPECT_EQ(CString("hi\r\n").TrimRight("\r\n"), "hi");
    EXPECT_EQ(CString("aaa").Replace("a", "aa"), 3);
}

TEST(CStringTest, CaseOnlyTouchesAsciiLetters)
{
    CString s("Item_한글");
    s.MakeUpper();
    EXPECT_EQ(s, "ITEM_한글");
    EXPECT_EQ(CString("VEXO").CompareNoCase("vexo"), 0);
    EXPECT_NE(CString("VEXO").Compare("vexo"), 0);
    EXPECT_LT(CString("a").CompareNoCase("B"), 0);
}

TEST(CStringTest, TokenizeSkipsEmptyTokens)
{
    CString s("1,,2,3");
    int pos = 0;
    EXPECT_EQ(s.Tokenize(",", pos), "1");
    EXPECT_EQ(s.Tokenize(",", pos), "2");
    EXPECT_EQ(s.Tokenize(",", pos), "3");
    EXPECT_EQ(s.Tokenize(",", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(CStringTest, BufferReleaseCutsAtNul)
{
    CString s;
    char* p = s.GetBuffer(10);
    p[0] = 'o';
    p[1] = 'k';
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(s, "ok");
    EXPECT_EQ(s.GetLength(), 2);
}

TEST(Cp949Test, RoundTripsHangulAndAscii)
{
    const std::string utf8 = "사과 apple";
    const std::string bytes = Utf8ToCp949(utf8);
    EXPECT_EQ(bytes.size(), 10u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xBB);
    EXPECT_EQ(Cp949ToUtf8(bytes), utf8);
    EXPECT_EQ(Cp949Length("한글한글한글한글한글한글한글"), 28u);
}

TEST(Cp949Test, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp949("a\xF0\x9F\x98\x80"
                          "b"),
        "a?b"); // emoji has no CP949 form
    EXPECT_EQ(Utf8ToCp949("a\xC3"
                          "b"),
        "a?b"); // truncated sequence
    EXPECT_EQ(Cp949ToUtf8(std::string("\xB0", 1)), "?"); // lone lead byte at the end
}

TEST(Cp949Test, PrefixNeverCutsACharacter)
{
    const std::string bytes = Utf8ToCp949("a한글"); // 1 + 2 + 2 bytes
    EXPECT_EQ(Cp949Prefix(bytes, 5).size(), 5u);
    EXPECT_EQ(Cp949Prefix(bytes, 4).size(), 3u);
    EXPECT_EQ(Cp949Prefix(bytes, 2).size(), 1u);
    EXPECT_EQ(Cp949Prefix(bytes, 0).size(), 0u);
}

TEST(BytesTest, WritersAndReaderAgreeAndReaderStopsAtTheEnd)
{
    ByteBuffer b;
    PutU16LE(b, 0x1234);
    PutU32LE(b, 0xA1B2C3D4);
    PutU16BE(b, 0x1234);
    PutFixedText(b, "abc", 5);
    ASSERT_EQ(b.size(), 13u);
    EXPECT_EQ(b[0], 0x34);
    EXPECT_EQ(b[2], 0xD4);
    EXPECT_EQ(b[6], 0x12);
    ByteReader r(b);
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    std::string text;
    ASSERT_TRUE(r.GetU16LE(u16));
    ASSERT_TRUE(r.GetU32LE(u32));
    EXPECT_EQ(u32, 0xA1B2C3D4u);
    ASSERT_TRUE(r.GetU16BE(u16));
    EXPECT_EQ(u16, 0x1234);
    ASSERT_TRUE(r.GetFixedText(5, text));
    EXPECT_EQ(text, "abc");
    EXPECT_FALSE(r.GetU8(b[0]));
    EXPECT_TRUE(r.AtEnd());
}
