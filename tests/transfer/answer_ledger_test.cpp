#include <gtest/gtest.h>

#include <optional>

#include "transfer/answer_ledger.h"

// The ledger of a sender whose answers carry no number, fed the answers of
// scales that answer late, twice, astray or with a refusal; times in ms.

namespace {

using A = AnswerLedger::Answer;
using M = AnswerLedger::Match;

TEST(AnswerLedgerTest, AScaleAnsweringEachSendInTimeIsNeverWaitedOn)
{
    AnswerLedger ledger(3000);
    for (DWORD t = 0; t < 1000; t += 100) {
        ledger.Sent(true, t);
        EXPECT_FALSE(ledger.IsAnswered());
        EXPECT_EQ(ledger.Take(A::Accepted, t + 5), M::Packet);
        EXPECT_TRUE(ledger.IsAnswered());
        EXPECT_EQ(ledger.Owed(), 0u);
    }
    EXPECT_EQ(ledger.AnswerTime(), 3000u) << "a fast scale keeps the reply deadline";
    EXPECT_EQ(ledger.MeasuredTime(20), 20u);
    EXPECT_TRUE(ledger.IsSettled());
    EXPECT_EQ(ledger.AcceptedRecords(), 10u);
}

// A clear resent at 3 s, answered at 3.5 s and again at 7 s: the second answer
// is the resend's, owed until the scale's own time after the first has passed.
TEST(AnswerLedgerTest, ASlowScaleOwesTheResendsAnswerForItsOwnTime)
{
    AnswerLedger ledger(3000);
    ledger.Sent(false, 0);
    ledger.Resent(3000);
    EXPECT_EQ(ledger.Take(A::Accepted, 3500), M::Packet);
    EXPECT_EQ(ledger.Owed(), 1u);
    EXPECT_EQ(ledger.AnswerTime(), 3000u) << "which send it answers is not known yet";
    EXPECT_EQ(ledger.OwedTimeLeft(3500), 5250u) << "3.5 s at most, half again as margin";
    EXPECT_EQ(ledger.OwedTimeLeft(9000), 0u);
    EXPECT_EQ(ledger.Take(A::Accepted, 7000), M::Copy);
    EXPECT_EQ(ledger.Owed(), 0u);
    EXPECT_EQ(ledger.AnswerTime(), 5250u) << "the copy shows the scale's time";
    ledger.Sent(true, 7000);
    EXPECT_EQ(ledger.Take(A::Accepted, 10500), M::Packet) << "record 1's own answer";
    EXPECT_TRUE(ledger.IsSettled());
    ledger.Sent(true, 10500);
    EXPECT_EQ(ledger.Take(A::Accepted, 10600), M::Packet);
    EXPECT_EQ(ledger.QuietTime(20), 150u) << "the wait for more answers follows the last one";
    EXPECT_EQ(ledger.AnswerTime(), 5250u) << "a resend waits for the slowest";
}

// A scale that answers only a packet's third send: the copies never come; once
// overdue they are given up, and the wait does not grow packet by packet.
TEST(AnswerLedgerTest, AnswersNeverComingAreGivenUpWhenOverdue)
{
    AnswerLedger ledger(150);
    DWORD now = 0;
    for (int packet = 0; packet < 4; ++packet) {
        ledger.Sent(true, now);
        ledger.Resent(now += 150);
        ledger.Resent(now += 150);
        EXPECT_EQ(ledger.Take(A::Accepted, now += 5), M::Packet);
        EXPECT_EQ(ledger.OwedTimeLeft(now), 457u) << packet; // 305 ms at most, half again
        ledger.GiveUpOverdue(now += 456);
        EXPECT_EQ(ledger.Owed(), 2u);
        ledger.GiveUpOverdue(now += 1);
        EXPECT_EQ(ledger.Owed(), 0u);
        EXPECT_EQ(ledger.AnswerTime(), 150u);
    }
    EXPECT_EQ(ledger.GivenUp(), 8u);
    EXPECT_TRUE(ledger.IsSettled());
    EXPECT_EQ(ledger.Take(A::Accepted, now), M::Surplus) << "a copy after all comes beyond the sends";
    EXPECT_FALSE(ledger.IsSettled());
}

TEST(AnswerLedgerTest, UnsettledEndingsAndTheirCertainRecords)
{
    struct Case {
        const char* name;
        std::vector<A> answers; // after a clear, 12 records and the reset, all sent
        bool settled;
        std::size_t certain;
    };
    std::vector<A> twiceFull { A::Accepted };
    for (int r = 0; r < 11; ++r)
        twiceFull.insert(twiceFull.end(), { A::Accepted, A::Accepted });
    twiceFull.insert(twiceFull.end(), { A::Refused, A::Accepted });
    std::vector<A> strayFull(12, A::Accepted); // clear, 11 records and one stray
    strayFull.insert(strayFull.end(), { A::Accepted, A::Refused, A::Accepted });
    std::vector<A> missing(13, A::Accepted);
    const Case cases[] = {
        { "every record twice, memory full at 11", twiceFull, false, 11 },
        { "a stray acknowledgement, memory full at 11", strayFull, false, 11 },
        { "the reset's answer never came", missing, false, 12 },
        { "one answer each", std::vector<A>(14, A::Accepted), true, 12 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // As the sender: the next packet goes when the one in flight is
        // answered and nothing is owed.
        AnswerLedger ledger(3000);
        DWORD now = 0;
        int sent = 0;
        ledger.Sent(false, now);
        for (A a : c.answers) {
            static_cast<void>(ledger.Take(a, now += 10));
            if (ledger.IsAnswered() && ledger.Owed() == 0 && ++sent < 14)
                ledger.Sent(sent < 13, now);
        }
        EXPECT_EQ(ledger.IsSettled(), c.settled);
        EXPECT_EQ(ledger.CertainRecords(), c.certain);
    }
}

// A refusal matched to a packet already passed may be the next packet's.
TEST(AnswerLedgerTest, ARefusalOfAPacketPassedIsAstray)
{
    AnswerLedger ledger(3000);
    ledger.Sent(true, 0);
    ledger.Resent(3000);
    EXPECT_EQ(ledger.Take(A::Accepted, 3100), M::Packet);
    ledger.Sent(true, 9000); // the resend's answer overdue
    EXPECT_EQ(ledger.Take(A::Refused, 9100), M::Copy);
    EXPECT_TRUE(ledger.HasStrayRefusal());
    EXPECT_FALSE(ledger.IsAnswered());
    EXPECT_EQ(ledger.Take(A::Other, 9200), M::Copy) << "an unknown refusal answers no packet";
    EXPECT_FALSE(ledger.IsAnswered());
    EXPECT_EQ(ledger.Take(A::Accepted, 9300), M::Surplus);
    EXPECT_FALSE(ledger.IsSettled());
}

// The wait on owed answers gives up only those overdue; and what a packet of
// the scale is to a sender.
TEST(AnswerLedgerTest, AWaitOnOwedAnswersEndsWhenNoneIsLeft)
{
    AnswerLedger ledger(100);
    ledger.Sent(true, 0);
    ledger.Resent(100);
    ledger.Resent(200);
    EXPECT_EQ(ledger.Take(A::Accepted, 210), M::Packet);
    EXPECT_EQ(ledger.WaitOn(210), 315u) << "210 ms at most, half again";
    EXPECT_EQ(ledger.WaitOn(524), 1u);
    EXPECT_EQ(ledger.Owed(), 2u);
    EXPECT_EQ(ledger.Take(A::Accepted, 300), M::Copy);
    EXPECT_EQ(ledger.Owed(), 1u);
    EXPECT_EQ(ledger.WaitOn(10000), 0u) << "the last one overdue: none owed";
    EXPECT_EQ(ledger.GivenUp(), 1u);

    struct Case {
        ScalePacket packet;
        std::optional<A> answer;
        std::uint16_t code;
    };
    const Case cases[] = {
        { { 0x0101, {} }, A::Accepted, 0 },
        { { 0x0100, { 0x25, 0x20 } }, A::Refused, 0x2025 },
        { { 0x0100, { 0x28, 0x20 } }, A::Other, 0x2028 },
        { { 0x0100, { 0x34, 0x12 } }, A::Other, 0x1234 },
        { { 0x0100, {} }, A::Other, 0 },
        { { 0x0005, { 1, 2 } }, std::nullopt, 0 },
        { { 0x0600, {} }, std::nullopt, 0 },
    };
    for (const Case& c : cases) {
        std::uint16_t code = 7;
        EXPECT_EQ(AnswerLedger::Of(c.packet, code), c.answer) << c.packet.command;
        EXPECT_EQ(code, c.code) << c.packet.command;
    }
}

} // namespace
