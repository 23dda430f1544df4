#include <gtest/gtest.h>

#include <cctype>

#include "tests/ethernet/transfer_jobs_fixture.h"

// Every wait of a TCP job met by every answer a scale may give out of turn:
// early, twice, stray, cut or meaning nothing there. After the stray answer the
// scale answers as usual, or not at all at the greeting; the job ends either
// way and gives back its place in the active count.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

struct Wait {
    const char* name;
    TransferCommand direction;
    DataKind kind;
    TransferScope selection;
    int at; // index of the packet answered out of turn; -1: the greeting
    bool afterAck; // the stray follows the acknowledgement (the wait for records)
};

struct Stray {
    const char* name;
    Bytes bytes;
};

std::vector<Stray> Strays()
{
    return {
        { "ack", TcpReply::Packet(0x0101) },
        { "unknown refusal", TcpReply::Packet(0x0100, { 0x34, 0x12 }) },
        { "no such item", TcpReply::Packet(0x0100, { 0x28, 0x20 }) },
        { "record", TcpReply::Packet(0x0005, PluPayload(9, "X", 9)) },
        { "end of data", TcpReply::Packet(0x0600) },
        { "unknown command", TcpReply::Packet(0x0777, { 1, 2 }) },
        { "length over the limit", Bytes { 0x01, 0x01, 0xFF, 0xFF, 0 } },
        { "cut", Bytes { 0x05, 0x00, 0x72 } },
        { "greeting again", Bytes { 'w', 'e', 'l', 'c', 'o', 'm', 'e' } },
    };
}

std::string WaitName(const ::testing::TestParamInfo<Wait>& param)
{
    std::string name;
    for (const char* c = param.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

class TransferStrayTest : public TransferJobsTest, public ::testing::WithParamInterface<Wait> { };

TEST_P(TransferStrayTest, EveryStrayAnswerStillEndsTheJob)
{
    const Wait& wait = GetParam();
    TransferTimings quick = kFast;
    quick.replyMs = 100;
    m_host.jobs->SetTimings(quick);
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2) });
    for (const Stray& stray : Strays()) {
        SCOPED_TRACE(stray.name);
        MessageBoxScript::Reset();
        m_host.activeChanges.clear();
        ScaleMemory memory;
        memory.Put(kPlu, 1, PluPayload(1, "A", 1));
        TcpScale scale;
        ASSERT_TRUE(scale.Start(
            [&](const TcpPacket& p, std::size_t index) {
                if (static_cast<int>(index) != wait.at)
                    return memory.Answer(p);
                TcpReply reply;
                if (wait.afterAck)
                    reply.writes.push_back(TcpReply::Packet(0x0101));
                reply.writes.push_back(stray.bytes);
                return reply;
            },
            wait.at < 0 ? TcpScale::Greeting::None : TcpScale::Greeting::Welcome));
        ASSERT_TRUE(Start(wait.direction, wait.kind, wait.selection, { &scale }, { 1 }));
        if (wait.at < 0) {
            ASSERT_TRUE(scale.WaitForConnections(1, 4000));
            ASSERT_TRUE(scale.SendNow(stray.bytes));
        }
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(m_host.jobs->ActiveCount(), 0);
        ASSERT_FALSE(m_host.activeChanges.empty());
        EXPECT_EQ(m_host.activeChanges.back(), 0);
        EXPECT_FALSE(Texts().empty()); // "Trans Complete", a refusal's text or "3 times out"
    }
}

INSTANTIATE_TEST_SUITE_P(Waits, TransferStrayTest,
    ::testing::Values(
        Wait { "greeting", TransferCommand::Trans, DataKind::Item, TransferScope::All, -1, false },
        Wait { "clear", TransferCommand::Trans, DataKind::Item, TransferScope::All, 0, false },
        Wait { "record", TransferCommand::Trans, DataKind::Item, TransferScope::All, 1, false },
        Wait { "reset", TransferCommand::Trans, DataKind::Item, TransferScope::All, 3, false },
        Wait {
            "settings reset", TransferCommand::Trans, DataKind::ScaleRootInfo, TransferScope::All, 1, false },
        Wait { "request", TransferCommand::Recv, DataKind::Item, TransferScope::Select, 0, false },
        Wait { "records", TransferCommand::Recv, DataKind::Item, TransferScope::Select, 0, true },
        Wait {
            "records of a whole read", TransferCommand::Recv, DataKind::Item, TransferScope::All, 0, true }),
    WaitName);

} // namespace
