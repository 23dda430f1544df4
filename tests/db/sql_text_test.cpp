#include <gtest/gtest.h>

#include "db/sql_text.h"

namespace {

TEST(SqlTextTest, EscapeDoublesEverySingleQuoteAndNothingElse)
{
    EXPECT_EQ(SqlEscape(""), "");
    EXPECT_EQ(SqlEscape("vexo"), "vexo");
    EXPECT_EQ(SqlEscape("O'Brien"), "O''Brien");
    EXPECT_EQ(SqlEscape("''"), "''''");
    EXPECT_EQ(SqlEscape("a'; DELETE FROM [Item]; --"), "a''; DELETE FROM [Item]; --");
    EXPECT_EQ(SqlEscape("\"[x]\" 사과"), "\"[x]\" 사과");
    EXPECT_EQ(SqlEscape(CString(std::string("ab\0'c", 5))), "ab");
}

TEST(SqlTextTest, LiteralQuotesTheEscapedText)
{
    EXPECT_EQ(SqlLiteral("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlLiteral(""), "''");
}

TEST(SqlTextTest, NamesAreBracketedAndCannotCloseTheBracket)
{
    EXPECT_EQ(SqlName("barcode form"), "[barcode form]");
    EXPECT_EQ(SqlName("mg_id"), "[mg_id]");
    EXPECT_EQ(SqlName("a]; DROP TABLE [Item"), "[a; DROP TABLE Item]");
}

} // namespace
