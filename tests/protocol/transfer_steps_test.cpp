#include <gtest/gtest.h>

#include <set>
#include <string>

#include "protocol/scale_packet.h"
#include "protocol/transfer_steps.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::FromHex;
using scalesim::Hex;

namespace {

TEST(TransferStepTest, EveryWordNamesOneStep)
{
    std::set<std::string> words;
    int steps = 0;
    for (int i = static_cast<int>(TransferStep::PluClear); i <= static_cast<int>(TransferStep::AllReset);
         ++i) {
        const auto step = static_cast<TransferStep>(i);
        const std::string word = ToString(step);
        EXPECT_FALSE(word.empty()) << i;
        words.insert(word);
        TransferStep back = TransferStep::Close;
        ASSERT_TRUE(StepFromWord(word, back)) << word;
        EXPECT_EQ(back, step) << word;
        ++steps;
    }
    EXPECT_EQ(words.size(), static_cast<std::size_t>(steps)) << "no two steps share a word";
    EXPECT_EQ(steps, 43);
    TransferStep step = TransferStep::Close;
    for (const char* other : { "", "plu_clear", "PLU_CLEAR ", "SELECT_SCALE_INFORMATION", "PLU" })
        EXPECT_FALSE(StepFromWord(other, step)) << other;
}

TEST(TransferStepTest, StepsNameTheirPackets)
{
    struct Case {
        const char* word;
        std::optional<ScaleCommand> command;
        std::optional<TableCode> table;
    } cases[] = {
        { "PLU_CLEAR", ScaleCommand::Clear, TableCode::Plu },
        { "ADD_TRANS", ScaleCommand::Record, TableCode::Add },
        { "PRE_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::Preset },
        { "ADV_REQUEST", ScaleCommand::RequestOne, TableCode::AdvT },
        { "LAND_ADD_CLEAR", ScaleCommand::Clear, TableCode::LandAdd },
        { "USER_LABEL_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::UserLabel },
        { "RESULT_ALL_READ", ScaleCommand::RequestOne, TableCode::TotalResult },
        { "RESULT_ITEM_ALL_READ", ScaleCommand::RequestAll, TableCode::TotalItemResult },
        { "RESULT_ITEM_DAY_READ", ScaleCommand::RequestAll, TableCode::TotalItemDay },
        { "RESULT_DAY_READ", ScaleCommand::RequestAll, TableCode::TotalDayResult },
        { "RESULT_ALL_CLEAR", ScaleCommand::Clear, TableCode::TotalResult },
        { "SELECT_SCALE_INFOMATION", ScaleCommand::Record, TableCode::ScaleInfo },
        { "SELECT_SCALE_ROOT_INFOMATION", ScaleCommand::Record, TableCode::ScaleRootInfo },
        { "TASK_RESET", ScaleCommand::TaskReset, std::nullopt },
        { "RESET_SCALE", ScaleCommand::ResetScale, std::nullopt },
        { "ALL_RESET", ScaleCommand::ResetScale, std::nullopt },
        { "ENDJOIN", ScaleCommand::EndJoin, std::nullopt },
        { "ALL_ENDJOIN", ScaleCommand::EndJoin, std::nullopt },
        { "BROAD_START", ScaleCommand::BroadStart, std::nullopt },
        { "BROAD_STATUS_REQ", ScaleCommand::BroadStatusRequest, std::nullopt },
        { "CLOSE", std::nullopt, std::nullopt },
        { "JOIN", std::nullopt, std::nullopt },
    };
    for (const Case& c : cases) {
        TransferStep step = TransferStep::Close;
        ASSERT_TRUE(StepFromWord(c.word, step)) << c.word;
        EXPECT_EQ(StepCommand(step), c.command) << c.word;
        EXPECT_EQ(StepTable(step), c.table) << c.word;
    }
}

TEST(LastSentPacketTest, KeepsTheWholePacketUntilTheNextOneIsBuilt)
{
    LastSentPacket last;
    EXPECT_EQ(last.Length(), 0u);
    const ByteBuffer payload = FromHex("00 01 2a 00 00 00");
    ASSERT_TRUE(last.Build(ScaleCommand::RequestOne, payload).ok());
    EXPECT_EQ(Hex(last.Bytes()), "04 00 06 00 00 01 2a 00 00 00");
    EXPECT_EQ(last.Length(), 10u);
    EXPECT_EQ(Hex(last.Bytes()), "04 00 06 00 00 01 2a 00 00 00") << "a resend sends the same bytes";

    const ByteBuffer tooLong(kMaxPacketPayload + 1, 0x11);
    EXPECT_EQ(last.Build(ScaleCommand::Record, tooLong).Code(), IoCode::InvalidArgument);
    EXPECT_EQ(Hex(last.Bytes()), "04 00 06 00 00 01 2a 00 00 00") << "a refused packet replaces nothing";
    const ByteBuffer fits(kMaxPacketPayload, 0x22);
    ASSERT_TRUE(last.Build(0x0003, fits).ok());
    EXPECT_EQ(last.Length(), kMaxPacketSize);
    EXPECT_EQ(Hex(last.Bytes().first(5)), "03 00 fc 07 22");

    ASSERT_TRUE(last.Keep(EncodePacket(ScaleCommand::TaskReset)).ok());
    EXPECT_EQ(Hex(last.Bytes()), "20 41 00 00");
    EXPECT_EQ(last.Keep(FromHex("01 01 01 00")).Code(), IoCode::BadLength) << "length without its payload";
    EXPECT_EQ(last.Keep(FromHex("01 01")).Code(), IoCode::BadLength);
    EXPECT_EQ(Hex(last.Bytes()), "20 41 00 00");
    ASSERT_TRUE(last.Keep(EncodeClear(TableCode::UserLabel)).ok());
    EXPECT_EQ(Hex(last.Bytes()), "02 00 02 00 04 01");
}

} // namespace
