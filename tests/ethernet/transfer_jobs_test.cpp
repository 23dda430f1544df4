#include <gtest/gtest.h>

#include "tests/ethernet/transfer_jobs_fixture.h"

// TCP transfer jobs end to end: a work screen stand-in starts jobs against
// simulated scales on 127.0.0.x:1239 and pumps the user-interface thread until
// they end.

namespace {

using namespace transfertest;

TEST_F(TransferJobsTest, SendingAllItemsClearsSendsEveryDataRowResetsAndCompletes)
{
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script(), TcpScale::Greeting::WelcomeNuls));
    m_host.SetRows({ ItemRow(11, "Apple", 1500), ItemRow(12, "Kim's pear", 2500), ItemRow(13, "Plum", 900) });

    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(memory.Clears(kPlu), 1);
    const auto table = memory.Table(kPlu);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(12), PluPayload(12, "Kim's pear", 2500));
    EXPECT_EQ(memory.TaskResets(), 1);
    const auto packets = scale.Received();
    ASSERT_EQ(packets.size(), 5u); // clear, three records, reset
    EXPECT_EQ(packets.front().command, 0x0002);
    EXPECT_EQ(packets.back().command, 0x4120);
    EXPECT_EQ(Texts(), std::vector<CString> { "Trans Complete" });
    EXPECT_EQ(m_host.activeChanges, (std::vector<int> { 1, 0 }));
    EXPECT_EQ(m_host.progress, "3");
}

// Which rows a selection takes is the shared row choice's (tests/transfer); a
// job sends them in the pick's order and clears nothing.
TEST_F(TransferJobsTest, ASelectiveSendTakesThePickedRowsInTheirOrder)
{
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back(ItemRow(100 + i, "Item", i));
    m_host.SetRows(rows);
    m_host.selection.listFlag = 1;
    m_host.selection.pickedRows = { 9, 2, 5 };
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    std::vector<std::uint32_t> sent;
    for (const auto& p : scale.Received()) {
        if (p.command == 0x0003)
            sent.push_back(scalesim::RecordNumber(p.payload));
    }
    EXPECT_EQ(sent, (std::vector<std::uint32_t> { 109, 102, 105 }));
    EXPECT_EQ(memory.Clears(kPlu), 0);
    EXPECT_EQ(scale.Received().back().command, 0x4120);
}

TEST_F(TransferJobsTest, ReadingAllItemsStoresEveryRecordWithQuotesIntact)
{
    ScaleMemory memory;
    memory.Put(kPlu, 5, PluPayload(5, "Kim's apple", 1200));
    memory.Put(kPlu, 6, PluPayload(6, "O'Neil", 300));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));

    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(Rows("SELECT [item_num], [item_name], [unitprice], [mg_id] FROM [Item] ORDER BY [item_num]"),
        (std::vector<std::string> { "5|Kim's apple|1200|kim", "6|O'Neil|300|kim" }));
    EXPECT_EQ(Texts(), std::vector<CString> { Received(2) });
    EXPECT_EQ(m_host.noteRequest, "ITEM_REV");
}

TEST_F(TransferJobsTest, ReadingByNumbersSkipsAMissingNumberAndEndsAfterTheLast)
{
    ScaleMemory memory;
    memory.Put(kPlu, 1, PluPayload(1, "One", 100));
    memory.Put(kPlu, 3, PluPayload(3, "Three", 300));
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));

    ASSERT_TRUE(Start(TransferCommand::Recv, DataKind::Item, TransferScope::Select, { &scale }, { 1, 7, 3 }));
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(Rows("SELECT [item_num], [item_name] FROM [Item] ORDER BY [item_num]"),
        (std::vector<std::string> { "1|One", "3|Three" }));
    std::vector<std::uint32_t> asked;
    for (const auto& p : scale.Received()) {
        if (p.command == 0x0004)
            asked.push_back(scalesim::RecordNumber(p.payload));
    }
    EXPECT_EQ(asked, (std::vector<std::uint32_t> { 1, 7, 3 }));
    EXPECT_EQ(Texts(), std::vector<CString> { Received(2) });
}

TEST_F(TransferJobsTest, ASilentScaleGetsThreeResendsThenTheTimeOutMessage)
{
    ScaleMemory memory(ScaleMemory::Mode::Silent);
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1) });

    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());

    const auto packets = scale.Received();
    ASSERT_EQ(packets.size(), 4u);
    for (const auto& p : packets)
        EXPECT_EQ(p.command, 0x0002);
    EXPECT_EQ(Texts(), (std::vector<CString> { "3 times out", Sent(scale, "No answer", 0, 1) }));
    EXPECT_EQ(m_host.activeChanges, (std::vector<int> { 1, 0 }));
}

// A scale that greets and refuses in one write: the greeting starts the job
// and the refusal that came with it answers the first packet (the silent
// scale then lets the job run out).
TEST_F(TransferJobsTest, AGreetingGluedToARefusalStartsTheJobAndTheRefusalEndsIt)
{
    ScaleMemory memory(ScaleMemory::Mode::Silent);
    TcpScale scale;
    scale.GlueToGreeting(TcpReply::Packet(0x0100, { 0x25, 0x20 }));
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1) });

    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());

    ASSERT_FALSE(Texts().empty());
    EXPECT_EQ(Texts().front(), "SCALE memory full");
}

} // namespace
