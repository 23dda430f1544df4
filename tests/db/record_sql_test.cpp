#include <gtest/gtest.h>

#include "db/record_sql.h"

namespace {

TEST(RecordSqlTest, StoredItemIsSelectedForTheManagerOrForAll)
{
    const std::string columns = "[item_num], [item_name], [item_name2], [unitprice], [fix_price], [land], "
                                "[pos_flg], [pos_code], [piece], [weight], [fmark], [pos_kind], [dateprint], "
                                "[limit_day], [additem], [ID]";
    EXPECT_EQ(
        StoredItemSql("vexo", "1234", true), "SELECT " + columns + " FROM [Item] WHERE [item_num] = '1234'");
    EXPECT_EQ(StoredItemSql("kim", "1234", false),
        "SELECT " + columns + " FROM [Item] WHERE [mg_id] = 'kim' AND [item_num] = '1234'");
    EXPECT_EQ(StoredItemSql("o'neil", "1'2", false),
        "SELECT " + columns + " FROM [Item] WHERE [mg_id] = 'o''neil' AND [item_num] = '1''2'");
}

TEST(RecordSqlTest, ValuesAreQuotedLiteralsAndMissingOnesEmpty)
{
    EXPECT_EQ(InsertSql({ RecordKind::LandAdd, { "7", "it's", "m1" } }),
        "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('7', 'it''s', 'm1')");
    EXPECT_EQ(InsertSql({ RecordKind::AdvT, { "7" } }),
        "INSERT INTO [AdvT]([adv_num], [str1], [str2], [mg_id]) VALUES('7', '', '', '')");
    EXPECT_EQ(InsertSql({ RecordKind::Preset, { "1", "2", "3", "'" } }),
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '2', '3', '''')");
}

TEST(RecordSqlTest, RefusedRecordMakesNoStatement)
{
    std::vector<std::string> statements { "stale" };
    const ByteBuffer shortItem(kPluPayloadSize - 1, 0);
    EXPECT_EQ(ReceivedRecordSql(RecordKind::Item, shortItem, {}, RecordCarriage::Tcp, statements).Code(),
        IoCode::BadLength);
    EXPECT_TRUE(statements.empty());
}

} // namespace
