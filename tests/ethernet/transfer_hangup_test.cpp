#include <gtest/gtest.h>

#include "tests/ethernet/transfer_jobs_fixture.h"

// A scale that hangs up (FIN) or resets (RST) at each wait of a send and of a
// read: the job ends at once as a failure, telling what the scale holds.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

enum class End { Fin, FinAfterAnswer, Reset, ResetAfterAnswer };

// Answers as memory until packet `at`, where the scale ends the connection.
scalesim::TcpScript EndAt(ScaleMemory& memory, std::size_t at, End how)
{
    return [&memory, at, how](const TcpPacket& p, std::size_t index) {
        if (index != at)
            return memory.Answer(p);
        const bool answered = how == End::FinAfterAnswer || how == End::ResetAfterAnswer;
        TcpReply reply = answered ? memory.Answer(p) : TcpReply::Silence();
        reply.close = how == End::Fin || how == End::FinAfterAnswer;
        reply.reset = !reply.close;
        return reply;
    };
}

const char* How(End how)
{
    return how == End::Reset || how == End::ResetAfterAnswer ? "Connection reset by the scale"
                                                             : "Connection closed by the scale";
}

TEST_F(TransferJobsTest, AHangUpOrResetDuringASendIsNoAnswer)
{
    struct Case {
        const char* name;
        std::size_t at; // 0 clear, 1-3 records, 4 reset
        End how;
        const char* stopAt; // progress at which Stop is pressed
        int held;
    };
    const Case cases[] = {
        { "clear", 0, End::Fin, "", 0 },
        { "second record", 2, End::Reset, "", 1 },
        { "second record after a stop", 2, End::Fin, "2", 1 },
        { "closing reset", 4, End::Fin, "", 3 },
        { "closing reset, reset", 4, End::Reset, "", 3 },
        // Nothing is owed once the closing reset is answered: the send is complete.
        { "after the closing reset's answer", 4, End::FinAfterAnswer, "", 3 },
        { "after the closing reset's answer, reset", 4, End::ResetAfterAnswer, "", 3 },
    };
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2), ItemRow(3, "C", 3) });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        m_host.ethernetStop = 0;
        m_host.stopAtProgress = c.stopAt;
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(EndAt(memory, c.at, c.how)));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(memory.Table(kPlu).size(), static_cast<std::size_t>(c.held));
        const bool complete = c.how == End::FinAfterAnswer || c.how == End::ResetAfterAnswer;
        EXPECT_EQ(Texts(),
            std::vector<CString> {
                complete ? CString("Trans Complete") : Sent(scale, How(c.how), c.held, 3) });
        EXPECT_EQ(scale.Received().size(), c.at + 1) << "nothing sent after the hang-up";
    }
}

// The scale settings record was taken; the scale hangs up instead of taking the
// restart that follows it, or right after answering it.
TEST_F(TransferJobsTest, AHangUpAtTheRestartAfterTheSettingsCountsTheirRecord)
{
    m_host.SetRows({ { "", "1", "2" } });
    m_host.currentRow = 1;
    for (End how : { End::Fin, End::FinAfterAnswer }) {
        MessageBoxScript::Reset();
        ScaleMemory memory;
        TcpScale scale;
        ASSERT_TRUE(scale.Start(EndAt(memory, 1, how)));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Commands(scale), (std::vector<std::uint16_t> { 0x0003, 0x4130 }));
        // The restart answered, the scale may go down with it.
        EXPECT_EQ(Texts(),
            std::vector<CString> { how == End::Fin ? Sent(scale, How(End::Fin), 1, 1) : "Trans Complete" });
    }
}

TEST_F(TransferJobsTest, AHangUpOrResetDuringAReadStoresOnlyWhatCame)
{
    struct Case {
        const char* name;
        std::size_t at; // 0 request, 1-3 acknowledgements of the records
        End how;
        int stored;
    };
    const Case cases[] = {
        { "request", 0, End::Fin, 0 },
        { "after the second record", 1, End::FinAfterAnswer, 2 },
        { "third record", 2, End::Reset, 2 },
        { "end of data", 3, End::Fin, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxScript::Reset();
        const std::size_t before = Rows("SELECT [item_num] FROM [Item]").size();
        ScaleMemory memory;
        for (int n = 1; n <= 3; ++n)
            memory.Put(kPlu, static_cast<std::uint32_t>(n), PluPayload(n, "R", n));
        TcpScale scale;
        ASSERT_TRUE(scale.Start(EndAt(memory, c.at, c.how)));
        ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(Texts(), std::vector<CString> { Stored(scale, How(c.how), c.stored) });
        EXPECT_EQ(Rows("SELECT [item_num] FROM [Item]").size() - before, static_cast<std::size_t>(c.stored));
    }
}

// The greeting the framer must find: after an acknowledgement in the same
// write, or not at all (the count is the order's all the same).
TEST_F(TransferJobsTest, TheGreetingIsFoundBehindStrayBytesAndTheTotalIsTheOrders)
{
    TransferTimings quick = kFast;
    quick.replyMs = 100;
    m_host.jobs->SetTimings(quick);
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2), ItemRow(3, "C", 3) });
    const Bytes ack = TcpReply::Packet(0x0101);
    for (const bool greets : { true, false }) {
        SCOPED_TRACE(greets ? "ack glued before welcome" : "no greeting");
        MessageBoxScript::Reset();
        ScaleMemory memory;
        TcpScale scale;
        scale.GlueBeforeGreeting(ack);
        ASSERT_TRUE(
            scale.Start(memory.Script(), greets ? TcpScale::Greeting::Welcome : TcpScale::Greeting::None));
        ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(memory.Table(kPlu).size(), greets ? 3u : 0u);
        const std::vector<CString> ending = greets
            ? std::vector<CString> { "Trans Complete" }
            : std::vector<CString> { "3 times out", Sent(scale, "No answer", 0, 3) };
        EXPECT_EQ(Texts(), ending);
    }
}

} // namespace
