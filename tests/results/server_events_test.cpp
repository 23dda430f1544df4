#include <gtest/gtest.h>

#include "results/server_events.h"

namespace {

// A message of command with length bytes in all.
ByteBuffer Message(std::uint8_t command, std::size_t length)
{
    ByteBuffer bytes(length, 0);
    bytes[0] = command;
    return bytes;
}

ByteBuffer Join(std::initializer_list<ByteBuffer> parts)
{
    ByteBuffer bytes;
    for (const ByteBuffer& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

} // namespace

// Messages are cut by their command's length: 20 bytes for a data request,
// 42 for a report or cancel; what is left waits, and an unknown command drops
// everything received.
TEST(ServerMessageCutTest, MessagesAreCutByTheirCommand)
{
    const ByteBuffer request = Message(0x1F, 20);
    const ByteBuffer report = Message(0x31, 42);
    const ByteBuffer cancel = Message(0x3D, 42);
    struct Case {
        const char* name;
        ByteBuffer pending;
        std::vector<std::size_t> cut; // lengths of the messages taken
        std::size_t left;
    } cases[] = {
        { "one request", request, { 20 }, 0 },
        { "request, report and cancel", Join({ request, report, cancel }), { 20, 42, 42 }, 0 },
        { "report and half a request", Join({ report, Message(0x1F, 3) }), { 42 }, 3 },
        { "one byte", { 0x31 }, {}, 1 },
        { "a cancel's start", Message(0x3D, 41), {}, 41 },
        { "unknown command drops all", Join({ Message(0x99, 20), request }), {}, 0 },
        { "unknown high byte", Join({ { 0x1F, 0x01 }, request }), {}, 0 },
        { "unknown after a request", Join({ request, Message(0x20, 2) }), { 20 }, 0 },
    };
    for (const Case& c : cases) {
        ByteBuffer pending = c.pending;
        const std::vector<ByteBuffer> messages = CutServerMessages(pending);
        std::vector<std::size_t> lengths;
        for (const ByteBuffer& m : messages)
            lengths.push_back(m.size());
        EXPECT_EQ(lengths, c.cut) << c.name;
        EXPECT_EQ(pending.size(), c.left) << c.name;
    }
}
