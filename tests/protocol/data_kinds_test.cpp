#include <gtest/gtest.h>

#include "protocol/data_kinds.h"

namespace {

TEST(DataKindsTest, WordsParseToTheirKindAndBack)
{
    struct Case {
        const char* word;
        const char* screenWord;
        DataKind kind;
    };
    const Case cases[] = {
        { "Item", "Item", DataKind::Item },
        { "Pre", "Pre", DataKind::Preset },
        { "Land_addition", "Land_addition", DataKind::LandAddition },
        { "USER_LABEL", "User_Label_Read", DataKind::UserLabel },
        { "SCALE_INFOMATION", "Scale_Info", DataKind::ScaleInfo },
        { "SCALE_ROOT_INFOMATION", "Scale_Root_Info", DataKind::ScaleRootInfo },
        { "Scale_Result_Item_Day_Read", "Scale_Result_Item_Day_Read", DataKind::ResultItemDay },
        { "Scale_Result_All_Clear", "Scale_Result_All_Clear", DataKind::ResultAllClear },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(KindOfWord(c.word), c.kind);
        EXPECT_EQ(KindOfScreenWord(c.screenWord), c.kind);
        EXPECT_STREQ(Word(c.kind), c.word);
    }
    // Words are whole and keep their case; a screen's word is not a job's.
    for (const char* other : { "", "item", "Scale_reg", "Mg_Reg_Read", "Scale_Info", "User_Label_Read" })
        EXPECT_FALSE(KindOfWord(other)) << other;
    EXPECT_FALSE(KindOfScreenWord("SCALE_INFOMATION"));
    EXPECT_EQ(CommandOfWord("BROAD_TRANS"), TransferCommand::BroadTrans);
    EXPECT_STREQ(Word(TransferCommand::Recv), "RECV");
    EXPECT_FALSE(CommandOfWord("SEND"));
    EXPECT_EQ(ScopeOfWord("select"), TransferScope::Select);
    EXPECT_STREQ(Word(TransferScope::All), "all");
    EXPECT_FALSE(ScopeOfWord("some"));
}

} // namespace
