#include <gtest/gtest.h>

#include "db/item_schema.h"
#include "db/reply_row.h"
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

// A column's place among the Item value columns; -1 for another name.
TEST(ItemSchemaTest, ValueIndexFindsTheColumnByItsName)
{
    EXPECT_EQ(ItemValueIndex("item_num"), 0);
    EXPECT_EQ(ItemValueIndex(kItemValueColumns[kItemValueCount - 1]), static_cast<int>(kItemValueCount) - 1);
    EXPECT_EQ(ItemValueIndex("nope"), -1);
}

// A reply row splits at TAB "jo/" only: a TAB with part of it stays in the value.
TEST(ReplyRowTest, SplitsAtTheWholeSeparatorOnly)
{
    std::vector<CString> fields(3);
    EXPECT_EQ(SplitReplyRow("a\tjo/b\tjoke\tjo/", fields), 2);
    EXPECT_EQ(fields, (std::vector<CString> { "a", "b\tjoke", "" }));
}
