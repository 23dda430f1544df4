// The label tool's reading of the serial line: join replies collected from
// STX, frames between C0 bytes with their escapes, and what is dropped.

#include <gtest/gtest.h>

#include <vector>

#include "labeltool/label_link_line.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    std::vector<Bytes> captured; // each reply or frame taken, in order
};

Outcome Feed(const Bytes& line, bool joined)
{
    LabelLineDecoder decoder;
    Outcome out;
    for (std::uint8_t b : line)
        if (decoder.Feed(b, joined) != LabelLineDecoder::Event::None)
            out.captured.emplace_back(decoder.Captured().begin(), decoder.Captured().end());
    return out;
}

Bytes Join(const char* id, const char* pc, const char* version)
{
    Bytes r { 0x02, 'I', 'D', 'C', 'F', 'M', static_cast<std::uint8_t>(id[0]),
        static_cast<std::uint8_t>(id[1]), static_cast<std::uint8_t>(pc[0]), static_cast<std::uint8_t>(pc[1]),
        static_cast<std::uint8_t>(version[0]), static_cast<std::uint8_t>(version[1]), 0x77, 0x03 };
    return r;
}

Bytes Frame(std::size_t size, std::uint8_t fill)
{
    return Bytes(size, fill);
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(LabelLineTest, JoinRepliesCloseAtTheirFourteenthByte)
{
    const Bytes reply = Join("07", "00", "02");
    EXPECT_EQ(Feed(Cat({ { 0x55, 0x03 }, reply }), false).captured, (std::vector<Bytes> { reply }));
    // An STX inside starts again; an ETX elsewhere closes nothing.
    const Bytes early = Cat({ Bytes(reply.begin(), reply.begin() + 5), reply });
    EXPECT_EQ(Feed(early, false).captured, (std::vector<Bytes> { reply }));
    Bytes late = reply;
    late.insert(late.end() - 1, 0x44);
    EXPECT_TRUE(Feed(late, false).captured.empty());
}

TEST(LabelLineTest, FramesBetweenEndBytesWithTheirEscapes)
{
    const Bytes c0 { 0xC0, 0xC0, 0xC0, 0xC0 };
    const Bytes body = Frame(18, 0x11);
    Bytes escaped = body;
    escaped[3] = 0xDB; // DB DC -> C0
    escaped.insert(escaped.begin() + 4, 0xDC);
    escaped[10] = 0xDB; // DB DD -> DB
    escaped.insert(escaped.begin() + 11, 0xDD);
    Bytes unescaped = body;
    unescaped[3] = 0xC0;
    unescaped[9] = 0xDB;
    struct Case {
        const char* name;
        Bytes line;
        std::vector<Bytes> frames;
    };
    const Case cases[] = {
        { "plain", Cat({ c0, body, c0 }), { body } },
        { "escapes", Cat({ c0, escaped, c0 }), { unescaped } },
        { "17 bytes", Cat({ c0, Frame(17, 1), c0 }), {} },
        { "218 bytes", Cat({ c0, Frame(218, 2), c0 }), { Frame(218, 2) } },
        { "219 bytes", Cat({ c0, Frame(219, 3), c0 }), {} },
        { "bad escape, then a good frame", Cat({ c0, { 0xDB, 0x01 }, body, c0, body, c0 }), { body } },
        { "two frames", Cat({ c0, body, c0, c0, Frame(20, 4), c0 }), { body, Frame(20, 4) } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Feed(c.line, true).captured, c.frames) << c.name;
}

TEST(LabelLineTest, JoinRepliesAreJudgedFieldByField)
{
    const std::array<char, 2> digits { '0', '7' };
    struct Case {
        Bytes reply;
        bool multi;
        JoinVerdict verdict;
    };
    const Case cases[] = {
        { Join("07", "00", "02"), true, JoinVerdict::Joined },
        { Join("45", "00", "02"), false, JoinVerdict::Joined },
        { Join("45", "00", "02"), true, JoinVerdict::Ignored },
        { Join("70", "00", "02"), true, JoinVerdict::Ignored },
        { Join("07", "01", "02"), false, JoinVerdict::Ignored },
        { Join("07", "10", "02"), false, JoinVerdict::Ignored },
        { Join("07", "00", "03"), false, JoinVerdict::VersionError },
        { Join("07", "00", "12"), false, JoinVerdict::VersionError },
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeJoinReply(c.reply, digits, c.multi), c.verdict);
    Bytes notOurs = Join("07", "00", "02");
    notOurs[3] = 'X';
    EXPECT_EQ(JudgeJoinReply(notOurs, digits, false), JoinVerdict::Ignored);
}
