#include <atomic>
#include <cctype>

#include "protocol/link_frame.h"
#include "tests/serial/serial_transfer_fixture.h"

// Every wait of a serial session met by every answer a scale may give out of
// turn: early, twice, stray, with a wrong sum, or meaning nothing there. After
// the stray answer the scale answers as usual; the walk ends either way, with
// the port closed, the buttons back and the active flag cleared.

namespace serialtest {
namespace {

struct Wait {
    const char* name;
    TransferCommand command;
    DataKind kind;
    TransferScope scope;
    std::size_t at; // index of the frame answered out of turn (0: the join)
    bool afterAck; // the stray follows the acknowledgement (the wait for records)
};

struct Stray {
    const char* name;
    Bytes bytes;
};

std::vector<Stray> Strays()
{
    SerialFrame join;
    join.join = true;
    join.bytes = BuildJoinFrame("07");
    return {
        { "ack", SerialReply::Frame("07", kAck, {}) },
        { "unknown refusal", SerialReply::Frame("07", kNak, { 0x34, 0x12 }) },
        { "no such item", SerialReply::Frame("07", kNak, { 0x28, 0x20 }) },
        { "record", SerialReply::Frame("07", kData, PluPayload(9, "x", 9)) },
        { "end of data", SerialReply::Frame("07", 0x0600, {}) },
        { "unknown command", SerialReply::Frame("07", 0x0777, { 1 }) },
        { "wrong sum", SerialReply::Frame("07", kAck, {}, 0, 0, true) },
        { "join reply", SerialReply::JoinReply(join).writes.front() },
    };
}

std::string WaitName(const ::testing::TestParamInfo<Wait>& param)
{
    std::string name;
    for (const char* c = param.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

class SerialStrayTest : public SerialTransferTest, public ::testing::WithParamInterface<Wait> { };

TEST_P(SerialStrayTest, EveryStrayAnswerStillEndsTheWalk)
{
    const Wait& wait = GetParam();
    m_screen->Engine().SetReplyTimeout(60);
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    m_screen->m_requestNumbers = { 1 };
    for (const Stray& stray : Strays()) {
        SCOPED_TRACE(stray.name);
        MessageBoxScript::Reset();
        SerialScaleModel model({ "07" });
        model.Put("07", PluPayload(1, "a", 1));
        std::atomic<std::size_t> seen { 0 }; // the line counts the frames of every case
        StartScript([&](const SerialFrame& frame, std::size_t) {
            if (seen++ != wait.at)
                return model.Answer(frame);
            SerialReply reply;
            if (wait.afterAck)
                reply.writes.push_back(SerialReply::Frame("07", kAck, {}));
            reply.writes.push_back(stray.bytes);
            return reply;
        });
        Run(wait.command, wait.kind, wait.scope, { Line("07") });
        ExpectWalkEnded();
        m_line.Stop();
    }
}

INSTANTIATE_TEST_SUITE_P(Waits, SerialStrayTest,
    ::testing::Values(Wait { "join", TransferCommand::Trans, DataKind::Item, TransferScope::All, 0, false },
        Wait { "clear", TransferCommand::Trans, DataKind::Item, TransferScope::All, 1, false },
        Wait { "record", TransferCommand::Trans, DataKind::Item, TransferScope::All, 2, false },
        Wait { "end", TransferCommand::Trans, DataKind::Item, TransferScope::All, 3, false },
        Wait { "reset", TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::All, 2, false },
        Wait { "request", TransferCommand::Recv, DataKind::Item, TransferScope::Select, 1, false },
        Wait { "records", TransferCommand::Recv, DataKind::Item, TransferScope::Select, 1, true },
        Wait {
            "records of a whole read", TransferCommand::Recv, DataKind::Item, TransferScope::All, 1, true }),
    WaitName);

// A scale that refuses the end of every session is closed all the same.
TEST_F(SerialTransferTest, ARefusedEndStillClosesTheSession)
{
    StartScript([](const SerialFrame& f, std::size_t) {
        if (f.join)
            return SerialReply::JoinReply(f);
        if (f.command == kEndJoin)
            return SerialReply::Nak("07", 0x2025);
        return SerialReply::Ack("07");
    });
    m_screen->SetDataRows({ ItemRow(1, "a", 1) });
    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });
    EXPECT_EQ(Commands(Frames()), (std::vector<std::uint16_t> { kJoinMark, kClear, kRecord, kEndJoin }));
    ExpectWalkEnded();
}

// A flag left by the scale read before takes no record of the next scale for
// the answer to its request: the early record is not stored.
TEST_F(SerialTransferTest, EachScalesReadStartsWithItsRequestUnanswered)
{
    SerialScaleModel model({ "07", "08" });
    model.Put("07", PluPayload(1, "a", 1));
    model.Put("08", PluPayload(1, "b", 2));
    std::atomic<bool> early { true };
    StartScript([&](const SerialFrame& frame, std::size_t) {
        if (!frame.join && frame.scaleId == "08" && frame.command == kRequestOne && early.exchange(false))
            return SerialReply::Data("08", PluPayload(5, "early", 5));
        return model.Answer(frame);
    });
    m_screen->Engine().SetReplyTimeout(100);
    m_screen->m_requestNumbers = { 1 };
    Run(TransferCommand::Recv, DataKind::Item, TransferScope::Select, { Line("07"), Line("08") });
    ASSERT_EQ(m_screen->m_receivedPaths.size(), 2u);
    EXPECT_EQ(Rows(m_screen->m_receivedPaths[1].second, "SELECT [item_num], [item_name] FROM [Item]"),
        std::vector<std::string> { "1|b" });
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

} // namespace
} // namespace serialtest
