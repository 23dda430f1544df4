// The three wire decoders: a scale's TCP stream and the records it carries,
// the RS-232 link's line bytes, and the messages the results server reads.

#include <algorithm>
#include <vector>

#include "protocol/link_frame.h"
#include "protocol/scale_packet.h"
#include "protocol/scale_records.h"
#include "protocol/server_messages.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

constexpr RecordKind kRecordKinds[] = { RecordKind::Item, RecordKind::Add, RecordKind::Preset,
    RecordKind::AdvT, RecordKind::TotalResult, RecordKind::TotalItemResult, RecordKind::TotalItemDay,
    RecordKind::TotalDayResult, RecordKind::UserLabel, RecordKind::LandAdd };

// A received payload as every kind of record: refused ones add no row.
void ParseAsRecords(std::span<const std::uint8_t> payload, RecordCarriage carriage)
{
    const RecordContext context { "fuzz", "2024-03-09", "10.0.0.1" };
    for (const RecordKind kind : kRecordKinds) {
        std::vector<ReceivedRow> rows;
        const IoStatus status = ParseReceivedRecord(kind, payload, context, carriage, rows);
        FuzzCheck(status.ok() || rows.empty());
        for (const ReceivedRow& row : rows)
            FuzzCheck(row.kind == kind);
    }
}

} // namespace

void FuzzTcpInput(std::span<const std::uint8_t> input)
{
    if (input.empty())
        return;
    // Byte 0: bit 0 whether the greeting is awaited, the rest the size of a read.
    const std::size_t read = 1 + (input[0] >> 1) % 97;
    ScalePacketFramer framer(
        (input[0] & 1) ? ScalePacketFramer::Start::Packets : ScalePacketFramer::Start::AwaitGreeting);
    const std::span<const std::uint8_t> stream = input.subspan(1);
    std::vector<ScalePacketFramer::Event> events;
    for (std::size_t at = 0; at < stream.size(); at += read)
        framer.Feed(stream.subspan(at, std::min(read, stream.size() - at)), events);
    framer.DiscardPending(events);
    FuzzCheck(framer.Pending() == 0);
    for (const ScalePacketFramer::Event& event : events) {
        if (event.kind != ScalePacketFramer::Kind::Packet)
            continue;
        const ScalePacket& packet = event.packet;
        FuzzCheck(packet.payload.size() <= kMaxPacketPayload);
        ByteBuffer block;
        FuzzCheck(EncodePacket(packet.command, packet.payload, block).ok());
        ScalePacket again;
        FuzzCheck(DecodePacket(block, again).ok() && again.command == packet.command
            && again.payload == packet.payload);
        ParseAsRecords(packet.payload, RecordCarriage::Tcp);
    }
}

void FuzzLinkInput(std::span<const std::uint8_t> input)
{
    const ByteBuffer join = BuildJoinFrame("01");
    LinkReceiver receiver;
    RecordAssembly assembly;
    for (const std::uint8_t byte : input) {
        const LinkReceiver::Event event = receiver.Feed(byte);
        if (event == LinkReceiver::Event::JoinReply) {
            (void)CheckJoinReply(join, receiver.Captured());
            continue;
        }
        if (event != LinkReceiver::Event::Frame)
            continue;
        const ByteBuffer frame = UnstuffFrame(receiver.Captured());
        // Stuffed again, the frame comes through a receiver as itself.
        const ByteBuffer line = StuffFrame(frame);
        LinkReceiver echo;
        bool received = false;
        for (const std::uint8_t b : line)
            if (echo.Feed(b) == LinkReceiver::Event::Frame)
                received = UnstuffFrame(echo.Captured()) == frame;
        FuzzCheck(received || line.size() > kCaptureSize + 8);
        LinkFrame parsed;
        if (!ParseLinkFrame(frame, parsed).ok())
            continue;
        FuzzCheck(parsed.payload.size() == frame.size() - kMinLinkFrameSize);
        const RecordAssembly::Result joined
            = assembly.Add(parsed.header.pieceCount, parsed.header.pieceNumber, parsed.payload);
        if (joined == RecordAssembly::Result::Whole) {
            FuzzCheck(assembly.Record().size() <= kAssemblySize);
            ParseAsRecords(assembly.Record(), RecordCarriage::Serial);
        }
    }
}

void FuzzServerInput(std::span<const std::uint8_t> input)
{
    ServerMessage message;
    if (!DecodeServerMessage(input, message).ok())
        return;
    FuzzCheck(input.size() >= kServerHeaderSize);
    switch (message.kind) {
    case ServerMessageKind::ResultReport:
    case ServerMessageKind::ResultCancel: {
        FuzzCheck(input.size() >= kSaleMessageSize);
        FuzzCheck(BuildResultReply(input).size() == kServerReplySize);
        const auto command = message.kind == ServerMessageKind::ResultReport ? ServerCommand::ResultReport
                                                                             : ServerCommand::ResultCancel;
        ServerMessage again;
        FuzzCheck(DecodeServerMessage(EncodeSaleMessage(command, message.sale), again).ok()
            && again.kind == message.kind && again.sale.itemNumber == message.sale.itemNumber
            && again.sale.totalPrice == message.sale.totalPrice
            && again.sale.totalWeight == message.sale.totalWeight);
        break;
    }
    case ServerMessageKind::DataRequest:
        FuzzCheck(message.header.tableKind <= kServerMaxTableKind);
        FuzzCheck(BuildNotFoundReply(message.header.tableKind).size() == kServerReplySize);
        break;
    case ServerMessageKind::Ignored:
        break;
    }
}
