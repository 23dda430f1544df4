#include <gtest/gtest.h>

#include <random>

#include "protocol/link_frame.h"

// Random and mutated line bytes for the link decoders. The loop is bounded;
// under AddressSanitizer a read past any buffer fails it.

namespace {

constexpr int kRounds = 4000;

std::uint8_t LineByte(std::mt19937& random)
{
    static constexpr std::uint8_t kSpecial[] = { 0xC0, 0xDB, 0xDC, 0xDD, 0x02, 0x03, 0x00, 0xFF };
    return random() % 2 ? kSpecial[random() % sizeof kSpecial] : static_cast<std::uint8_t>(random());
}

TEST(FrameFuzzTest, ReceiverAndParserTakeAnyLineBytes)
{
    std::mt19937 random(21);
    LinkReceiver receiver;
    int frames = 0;
    for (int round = 0; round < kRounds; ++round) {
        ByteBuffer line(random() % 300);
        for (std::uint8_t& b : line)
            b = LineByte(random);
        if (round % 5 == 0) { // a long run that overflows the capture buffer
            line.assign(1500, 0x41);
            line.front() = 0xC0;
            line.back() = 0xC0;
        }
        for (std::uint8_t b : line) {
            const LinkReceiver::Event e = receiver.Feed(b);
            if (e == LinkReceiver::Event::None)
                continue;
            ASSERT_LE(receiver.Captured().size(), kCaptureSize);
            const ByteBuffer unstuffed = UnstuffFrame(receiver.Captured());
            LinkFrame frame;
            if (ParseLinkFrame(unstuffed, frame).ok()) {
                ++frames;
                EXPECT_EQ(frame.payload.size() + kMinLinkFrameSize, unstuffed.size());
            }
            CheckJoinReply(BuildJoinFrame("07"), receiver.Captured());
        }
    }
    RecordProperty("frames", frames);
}

TEST(FrameFuzzTest, PiecesAndAssemblyStayInBounds)
{
    std::mt19937 random(22);
    RecordAssembly assembly;
    for (int round = 0; round < kRounds; ++round) {
        ByteBuffer frame(random() % 600);
        for (std::uint8_t& b : frame)
            b = LineByte(random);
        ByteBuffer piece;
        if (BuildPiece(frame, random() % 6, piece).ok()) {
            LinkFrame parsed;
            ASSERT_TRUE(ParseLinkFrame(piece, parsed).ok());
            EXPECT_LE(parsed.payload.size(), kPieceSize);
        }
        const auto count = static_cast<std::uint8_t>(random() % 8);
        const auto number = static_cast<std::uint8_t>(random() % 9);
        const auto result
            = assembly.Add(count, number, std::span(frame).first(random() % (frame.size() + 1)));
        EXPECT_LE(assembly.Record().size(), kAssemblySize);
        if (result != RecordAssembly::Result::Refused && count > 0) {
            EXPECT_GE(assembly.Record().size(), (number - 1u) * kPieceSize)
                << "a kept piece lies inside the record";
        }
        LinkFrameHeader header;
        LinkFrameHeader::Decode(frame, header);
        const ByteBuffer stuffed = StuffFrame(frame);
        EXPECT_EQ(UnstuffFrame(std::span(stuffed).subspan(4, stuffed.size() - 8)), frame);
    }
}

} // namespace
