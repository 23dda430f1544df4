// Scales that answer late and twice, send equal records, or answer a status
// request with no count: what the scale holds or the read stored against what
// the program said.

#include <filesystem>
#include <memory>
#include <mutex>
#include <set>

#include "tests/serial/serial_transfer_fixture.h"
#include "tests/support/scale_sim_bytes.h"

namespace serialtest {
namespace {

constexpr std::uint16_t kEndOfData = 0x0600;

// script's answers; a frame that late picks is first left unanswered and
// answered at its resend; it and a frame that twice picks are answered once
// more (with unnumbered, by a bare ACK) just before the answer to the next
// frame that is no acknowledgement.
scalesim::SerialScript AnsweringTwice(scalesim::SerialScript script,
    std::function<bool(const SerialFrame&)> late, std::function<bool(const SerialFrame&)> twice = nullptr,
    bool unnumbered = false)
{
    struct Owed {
        std::mutex lock;
        std::set<std::uint16_t> held;
        std::vector<Bytes> writes;
    };
    auto owed = std::make_shared<Owed>();
    return [=](const SerialFrame& f, std::size_t n) {
        std::lock_guard<std::mutex> guard(owed->lock);
        SerialReply reply;
        if (f.command != kAck)
            reply.writes.swap(owed->writes);
        const bool isLate = !f.join && late && late(f);
        if (isLate && owed->held.insert(f.sequence).second)
            return reply;
        const SerialReply own = script(f, n);
        const std::vector<Bytes> again = unnumbered ? SerialReply::Ack(f.scaleId).writes : own.writes;
        if (isLate || (!f.join && twice && twice(f)))
            owed->writes.insert(owed->writes.end(), again.begin(), again.end());
        reply.writes.insert(reply.writes.end(), own.writes.begin(), own.writes.end());
        return reply;
    };
}

std::uint32_t RecordNumber(const SerialFrame& f)
{
    return f.payload.size() < 6 ? 0 : f.payload[2] | f.payload[3] << 8;
}

// ---- answers matched to the frame they answer ------------------------------------

struct TwiceCase {
    const char* name;
    bool lateFifth; // record 5 answered late, after its resend, and so twice
    bool everyTwice; // every record acknowledged twice
    std::size_t recordFrames;
    bool unnumberedCopy = false; // the second answer carries no number
};

class AnsweredTwiceTest : public SerialTransferTest, public ::testing::WithParamInterface<TwiceCase> { };

// A scale whose memory takes 11 records refuses the 12th; an ACK that
// answers an earlier frame is not taken for the next record's.
TEST_P(AnsweredTwiceTest, TheRefusalOfTheLastRecordIsHeard)
{
    const TwiceCase& c = GetParam();
    m_screen->Engine().SetReplyTimeout(300);
    SerialScaleModel model({ "07" });
    model.SetRefusal([](const SerialFrame& f) -> std::optional<std::uint16_t> {
        if (f.command == kRecord && RecordNumber(f) == 12)
            return 0x2025; // memory full
        return std::nullopt;
    });
    StartScript(AnsweringTwice(
        model.Script(),
        [&](const SerialFrame& f) { return c.lateFifth && f.command == kRecord && RecordNumber(f) == 5; },
        [&](const SerialFrame& f) { return c.everyTwice && f.command == kRecord; }, c.unnumberedCopy));
    m_screen->SetDataRows(ItemRows(12));

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("07") });

    EXPECT_EQ(model.TablesOf("07")[0].size(), 11u);
    const auto commands = Commands(Frames());
    EXPECT_EQ(
        static_cast<std::size_t>(std::count(commands.begin(), commands.end(), kRecord)), c.recordFrames);
    EXPECT_EQ(Texts(),
        (std::vector<std::string> { "scale memory full",
            Ending("07", "Trans Failed (scale memory full)", "11 of 12 records sent.") }));
    ExpectWalkEnded();
    m_line.Stop(); // the script reads c
}

INSTANTIATE_TEST_SUITE_P(Scales, AnsweredTwiceTest,
    ::testing::Values(TwiceCase { "LateFifth", true, false, 13 }, TwiceCase { "EveryTwice", false, true, 12 },
        // A scale that numbers its answers is held to it.
        TwiceCase { "EveryTwiceOneUnnumbered", false, true, 12, true }),
    [](const auto& test) { return std::string(test.param.name); });

// ---- answers written twice or repeated -------------------------------------------

// The command of a link frame as written on the line (delimited and stuffed).
std::uint16_t CommandOnLine(const Bytes& line)
{
    Bytes frame;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == 0xC0)
            continue;
        const bool escaped = line[i] == 0xDB && i + 1 < line.size();
        frame.push_back(escaped ? (line[++i] == 0xDC ? 0xC0 : 0xDB) : line[i]);
    }
    return frame.size() < 10 ? 0 : static_cast<std::uint16_t>(frame[8] | frame[9] << 8);
}

// script's scale writing each answer twice, at once; records of a read once.
scalesim::SerialScript WritingTwice(scalesim::SerialScript script)
{
    return [=](const SerialFrame& f, std::size_t n) {
        SerialReply reply;
        for (const Bytes& write : script(f, n).writes) {
            reply.writes.push_back(write);
            if (f.join || CommandOnLine(write) != kData)
                reply.writes.push_back(write);
        }
        return reply;
    };
}

// script's scale writing its previous answer of the session again before
// each answer.
scalesim::SerialScript RepeatingThePrevious(scalesim::SerialScript script)
{
    auto last = std::make_shared<std::vector<Bytes>>();
    return [=](const SerialFrame& f, std::size_t n) {
        SerialReply reply { f.join ? std::vector<Bytes> {} : *last };
        *last = script(f, n).writes;
        reply.writes.insert(reply.writes.end(), last->begin(), last->end());
        return reply;
    };
}

struct RepeatCase {
    const char* name;
    bool twice; // else the previous answer first
    TransferCommand command;
    int capacity; // records the scale keeps before it refuses
    std::vector<std::string> texts;
};

class RepeatedAnswerTest : public SerialTransferTest, public ::testing::WithParamInterface<RepeatCase> { };

// Each scale's session ends once, with the count the scale holds.
TEST_P(RepeatedAnswerTest, EachScaleEndsOnceWithWhatItHolds)
{
    const RepeatCase& c = GetParam();
    SerialScaleModel model({ "07", "08" });
    for (int n = 1; n <= 3; ++n)
        model.Put("08", PluPayload(n, "item", n));
    model.SetRefusal([&](const SerialFrame& f) -> std::optional<std::uint16_t> {
        if (f.command == kRecord && RecordNumber(f) > static_cast<std::uint32_t>(c.capacity))
            return 0x2025; // memory full
        return std::nullopt;
    });
    StartScript(c.twice ? WritingTwice(model.Script()) : RepeatingThePrevious(model.Script()));
    // Each box stays open, as a user's does, until the copy of the answer it
    // tells of has come.
    for (std::size_t i = 0; c.twice && i < c.texts.size(); ++i) {
        MessageBoxScript::PushAnswerWhen(IDOK, [&, shown = std::make_shared<int>(-1)] {
            if (*shown < 0)
                *shown = m_screen->m_recvFlashes;
            return m_screen->m_recvFlashes > *shown;
        });
    }
    m_screen->SetDataRows(ItemRows(12));
    m_oneByOne = TRUE;

    Run(c.command, DataKind::Item, TransferScope::All, { Line("07"), Line("08") });

    EXPECT_EQ(Texts(), c.texts);
    if (c.command == TransferCommand::Trans) {
        EXPECT_EQ(model.TablesOf("07")[0].size(), static_cast<std::size_t>(std::min(c.capacity, 12)));
        EXPECT_EQ(model.TablesOf("08")[0].size(), static_cast<std::size_t>(std::min(c.capacity, 12)));
        const auto commands = model.CommandsTo("07");
        EXPECT_EQ(std::count(commands.begin(), commands.end(), kRecord), std::min(c.capacity + 1, 12));
    } else {
        ASSERT_EQ(m_screen->m_receivedPaths.size(), 2u);
        EXPECT_EQ(Rows(m_screen->m_receivedPaths[1].second, "SELECT [item_num] FROM [Item]"),
            (std::vector<std::string> { "1", "2", "3" }));
    }
    EXPECT_EQ(MessageBoxScript::TimedOutCount(), 0u);
    ExpectWalkEnded();
    m_line.Stop(); // the script reads c
}

std::vector<std::string> BothEnd(const std::string& how, const std::string& count)
{
    return { Ending("07", how, count), Ending("08", how, count) };
}

const std::vector<std::string> kBothRefused { "scale memory full",
    Ending("07", "Trans Failed (scale memory full)", "0 of 12 records sent."), "scale memory full",
    Ending("08", "Trans Failed (scale memory full)", "0 of 12 records sent.") };

INSTANTIATE_TEST_SUITE_P(Scales, RepeatedAnswerTest,
    ::testing::Values(RepeatCase { "TwiceComplete", true, TransferCommand::Trans, 12,
                          BothEnd("Trans Complete", "12 of 12 records sent.") },
        RepeatCase { "TwiceRefused", true, TransferCommand::Trans, 0, kBothRefused },
        RepeatCase { "TwiceRead", true, TransferCommand::Recv, 12,
            { "S07 (ID 07): Trans Complete, no records stored.", "S08 (ID 08): Trans Complete, 3 records" } },
        RepeatCase { "PreviousFirstComplete", false, TransferCommand::Trans, 12,
            BothEnd("Trans Complete", "12 of 12 records sent.") },
        // The clear's answer again before the refusal of record 1.
        RepeatCase { "PreviousFirstRefused", false, TransferCommand::Trans, 0, kBothRefused }),
    [](const auto& test) { return std::string(test.param.name); });

// What a scale showed of its numbering holds for its session only: the next
// scale on the ID may leave its answers at 0.
TEST_F(SerialTransferTest, EachSessionLearnsAgainWhetherItsScaleNumbersItsAnswers)
{
    SerialScaleModel model({ "07" });
    m_screen->SetDataRows(ItemRows(2));
    m_screen->m_pick.firstRow = 1;
    m_screen->m_pick.lastRow = 2;
    for (bool numbered : { true, false }) {
        StartScript(numbered ? model.Script() : [](const SerialFrame& f, std::size_t) {
            return f.join ? SerialReply::JoinReply(f) : SerialReply::Ack("07");
        });
        Run(TransferCommand::Trans, DataKind::Item, TransferScope::Select, { Line("07") });
        m_line.Stop();
    }
    const std::string sent = Ending("07", "Trans Complete", "2 of 2 records sent.");
    EXPECT_EQ(Texts(), (std::vector<std::string> { sent, sent }));
    EXPECT_EQ(Commands(Frames()),
        (std::vector<std::uint16_t> {
            kJoinMark, kRecord, kRecord, kEndJoin, kJoinMark, kRecord, kRecord, kEndJoin }));
    ExpectWalkEnded();
}

// ---- copies ------------------------------------------------------------------------

Bytes ItemTotal(std::uint32_t number, std::uint8_t price)
{
    Bytes total = scalesim::FromHex("3e 01 00 00 00 00 01 00 d0 07 0c 1f 00 00 0a 00 00 00 00 00 00 00");
    total[2] = static_cast<std::uint8_t>(number);
    total[18] = price;
    return total;
}

// A whole read of lines, one per acknowledgement, then the end of data; with
// lateFirst its first request is answered after the resend: both sends, and
// the read starts again from its first line.
scalesim::SerialScript ReadingScale(std::vector<Bytes> lines, bool lateFirst)
{
    struct State {
        std::mutex lock;
        int requests = 0;
        std::size_t next = 0;
        bool ended = false;
    };
    auto state = std::make_shared<State>();
    return [=](const SerialFrame& f, std::size_t) {
        std::lock_guard<std::mutex> guard(state->lock);
        if (f.join)
            return SerialReply::JoinReply(f);
        const Bytes ack = scalesim::AnswerFrame("07", kAck, {}, f);
        if (f.command == kRequestAll) {
            if (lateFirst && ++state->requests == 1)
                return SerialReply::Silence();
            state->next = lateFirst ? 0 : 1;
            SerialReply reply { { ack, SerialReply::Frame("07", kData, lines[0]) } };
            if (lateFirst)
                reply.writes.push_back(ack);
            return reply;
        }
        if (f.command != kAck)
            return SerialReply { { ack } };
        if (state->next < lines.size())
            return SerialReply { { SerialReply::Frame("07", kData, lines[state->next++]) } };
        if (state->ended)
            return SerialReply::Silence();
        state->ended = true;
        return SerialReply { { SerialReply::Frame("07", kEndOfData, {}) } };
    };
}

// Equal sales lines add up to the day's sales: each is stored unless the
// scale was asked twice; then a copy is dropped and told.
TEST_F(SerialTransferTest, EqualTotalLinesAreStoredAndOnlyACopyAfterAResendIsDropped)
{
    m_screen->Engine().SetReplyTimeout(300);
    std::vector<Bytes> lines;
    for (std::uint32_t n = 1; n <= 12; ++n)
        lines.push_back(ItemTotal(n == 8 ? 3 : n, 20));
    for (bool late : { false, true }) {
        m_screen->m_itemDbPath = m_screen->m_folder.FromTemplate(150, late ? "b.mdb" : "a.mdb").c_str();
        StartScript(ReadingScale(lines, late));
        MessageBoxScript::Reset();

        Run(TransferCommand::Recv, DataKind::ResultItemAll, TransferScope::All, { Line("07") });

        const auto stored = Rows(m_screen->m_itemDbPath.GetString(), "SELECT [num] FROM [TotalItemResult]");
        EXPECT_EQ(stored.size(), 12u) << late;
        EXPECT_EQ(std::count(stored.begin(), stored.end(), "3"), 2) << late;
        const CString ending = CString("Trans Complete, 12 records stored in ") + m_screen->m_itemDbPath
            + (late ? "; 1 copy the scale sent again was not stored." : ".");
        EXPECT_EQ(m_boxes.Records().back().text, ending);
        ExpectWalkEnded();
        m_line.Stop();
    }
}

// A request answered after its resend is answered twice: the second answer
// comes while the next number is asked for.
TEST_F(SerialTransferTest, AReadByNumberDropsTheSecondAnswerToAResentRequest)
{
    m_screen->Engine().SetReplyTimeout(300);
    SerialScaleModel model({ "07" });
    model.Put("07", TextPayload(TableCode::LandAdd, 201, "Jeju"));
    model.Put("07", TextPayload(TableCode::LandAdd, 203, "Busan"));
    StartScript(AnsweringTwice(model.Script(),
        [](const SerialFrame& f) { return f.command == kRequestOne && RecordNumber(f) == 201; }));
    m_screen->m_requestNumbers = { 201, 203 };

    Run(TransferCommand::Recv, DataKind::LandAddition, TransferScope::Select, { Line("07") });

    EXPECT_EQ(Rows(m_screen->m_receivedPaths.at(0).second, "SELECT [land_num], [land_str] FROM [Land_Add]"),
        (std::vector<std::string> { "201|Jeju", "203|Busan" }));
    EXPECT_EQ(m_boxes.Records().back().text,
        CString(("Trans Complete, 2 records stored in " + m_screen->m_receivedPaths[0].second
            + "; 1 copy the scale sent again was not stored.")
                    .c_str()));
    ExpectWalkEnded();
    m_line.Stop();
}

// ---- broadcast status ------------------------------------------------------------

struct StatusCase {
    const char* name;
    std::optional<Bytes> payload; // of 02's status reply; none: a bare ACK
    std::vector<std::string> texts;
};

class BroadcastStatusTest : public SerialTransferTest, public ::testing::WithParamInterface<StatusCase> { };

// Scale 02 kept 11 of 12 records; a count it gives is used, a status without
// one fails the broadcast by its name.
TEST_P(BroadcastStatusTest, AStatusWithoutItsCountFailsTheBroadcast)
{
    const StatusCase& c = GetParam();
    SerialScaleModel model({ "01", "02", "03" });
    std::atomic<int> toSecond { 0 };
    model.SetDropped([&](const std::string& id, const SerialFrame& f) {
        return id == "02" && f.scaleId == "99" && ++toSecond == 5;
    });
    StartScript([&, answer = model.Script()](const SerialFrame& f, std::size_t n) {
        if (f.command == kStatusRequest && f.scaleId == "02")
            return SerialReply { { scalesim::AnswerFrame(
                "02", c.payload ? kStatusReply : kAck, c.payload.value_or(Bytes {}), f) } };
        return answer(f, n);
    });
    m_screen->SetDataRows(ItemRows(12));

    Run(TransferCommand::Trans, DataKind::Item, TransferScope::All, { Line("01"), Line("02"), Line("03") });

    EXPECT_EQ(model.TablesOf("02")[0].size(), 11u);
    EXPECT_EQ(Texts(), c.texts);
    EXPECT_EQ(m_boxes.Records().back().type & 0xF0u, static_cast<UINT>(MB_ICONEXCLAMATION));
    ExpectWalkEnded();
    m_line.Stop(); // the script reads locals of this test
}

const std::string kUnreadable
    = "Broadcast to 3 scales: Trans Failed (S02 (ID 02) status unreadable), 12 of 12 records sent.";

INSTANTIATE_TEST_SUITE_P(Replies, BroadcastStatusTest,
    ::testing::Values(
        StatusCase { "CountOnly", Bytes { 11, 0 },
            { "4849....OKcode su=12", "4851....OKcode su=12",
                "Broadcast to 3 scales: Trans Failed (S02 (ID 02) kept 11), 12 of 12 records sent." } },
        StatusCase {
            "OneByte", Bytes { 11 }, { "4849....OKcode su=12", "4851....OKcode su=12", kUnreadable } },
        StatusCase { "Empty", Bytes {}, { "4849....OKcode su=12", "4851....OKcode su=12", kUnreadable } },
        StatusCase {
            "BareAck", std::nullopt, { "4849....OKcode su=12", "4851....OKcode su=12", kUnreadable } }),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace serialtest
