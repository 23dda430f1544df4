#include "protocol/server_messages.h"

#include <algorithm>

#include "protocol/scale_records.h"

void ServerPacketHeader::EncodeTo(ByteBuffer& out) const
{
    PutU16LE(out, command);
    PutU16LE(out, tableKind);
    PutU16LE(out, direction);
    PutU16LE(out, status);
    PutBytes(out, reserved);
    PutU32LE(out, recordNumber);
    PutU16LE(out, dataLength);
}

bool ServerPacketHeader::Decode(std::span<const std::uint8_t> bytes, ServerPacketHeader& out)
{
    ByteReader r(bytes);
    ServerPacketHeader h;
    std::span<const std::uint8_t> reserved;
    if (!r.GetU16LE(h.command) || !r.GetU16LE(h.tableKind) || !r.GetU16LE(h.direction)
        || !r.GetU16LE(h.status) || !r.GetBytes(h.reserved.size(), reserved) || !r.GetU32LE(h.recordNumber)
        || !r.GetU16LE(h.dataLength))
        return false;
    std::copy(reserved.begin(), reserved.end(), h.reserved.begin());
    out = h;
    return true;
}

std::size_t ServerMessageLength(std::uint16_t command)
{
    switch (static_cast<ServerCommand>(command)) {
    case ServerCommand::DataRequest:
        return kServerHeaderSize;
    case ServerCommand::ResultReport:
    case ServerCommand::ResultCancel:
        return kSaleMessageSize;
    }
    return 0;
}

bool IsSaleMessage(std::span<const std::uint8_t> message)
{
    ServerPacketHeader header;
    if (!ServerPacketHeader::Decode(message, header))
        return false;
    const auto command = static_cast<ServerCommand>(header.command);
    return (command == ServerCommand::ResultReport || command == ServerCommand::ResultCancel)
        && message.size() == ServerMessageLength(header.command);
}

IoStatus DecodeServerMessage(std::span<const std::uint8_t> block, ServerMessage& out)
{
    out = ServerMessage();
    if (!ServerPacketHeader::Decode(block, out.header))
        return IoStatus::Error(
            IoCode::BadLength, "message of " + std::to_string(block.size()) + " bytes has no header");
    switch (static_cast<ServerCommand>(out.header.command)) {
    case ServerCommand::DataRequest:
        if (out.header.direction == kServerDirectionRequest && out.header.tableKind <= kServerMaxTableKind)
            out.kind = ServerMessageKind::DataRequest;
        return IoStatus::Ok();
    case ServerCommand::ResultReport:
    case ServerCommand::ResultCancel: {
        ByteReader r(block.subspan(kServerHeaderSize));
        std::uint32_t item = 0, price = 0, weight = 0;
        if (!r.Skip(2) || !r.GetU32LE(item) || !r.Skip(8) || !r.GetU32LE(price) || !r.GetU32LE(weight))
            return IoStatus::Error(
                IoCode::BadLength, "sale message of " + std::to_string(block.size()) + " bytes, 42 expected");
        out.kind = out.header.command == static_cast<std::uint16_t>(ServerCommand::ResultReport)
            ? ServerMessageKind::ResultReport
            : ServerMessageKind::ResultCancel;
        out.sale = { item, static_cast<std::int32_t>(price), static_cast<std::int32_t>(weight) };
        return IoStatus::Ok();
    }
    }
    return IoStatus::Ok();
}

ByteBuffer EncodeDataRequest(std::uint16_t tableKind, std::uint32_t recordNumber)
{
    ServerPacketHeader h;
    h.command = static_cast<std::uint16_t>(ServerCommand::DataRequest);
    h.tableKind = tableKind;
    h.recordNumber = recordNumber;
    ByteBuffer out;
    h.EncodeTo(out);
    return out;
}

ByteBuffer EncodeSaleMessage(ServerCommand command, const SaleResultRecord& sale)
{
    ServerPacketHeader h;
    h.command = static_cast<std::uint16_t>(command);
    h.dataLength = kSaleResultSize;
    ByteBuffer out;
    h.EncodeTo(out);
    out.insert(out.end(), 2, 0);
    PutU32LE(out, sale.itemNumber);
    out.insert(out.end(), 8, 0);
    PutU32LE(out, static_cast<std::uint32_t>(sale.totalPrice));
    PutU32LE(out, static_cast<std::uint32_t>(sale.totalWeight));
    return out;
}

namespace {

// Zero bytes up to the reply size; anything past it does not go out.
ByteBuffer ToReplySize(ByteBuffer reply)
{
    reply.resize(kServerReplySize, 0);
    return reply;
}

} // namespace

ByteBuffer BuildNotFoundReply(std::uint16_t tableKind)
{
    ServerPacketHeader h;
    h.command = static_cast<std::uint16_t>(ServerCommand::DataRequest);
    h.tableKind = tableKind;
    h.direction = kServerDirectionReply;
    h.status = kServerStatusNotFound;
    ByteBuffer out;
    h.EncodeTo(out);
    return ToReplySize(std::move(out));
}

ByteBuffer BuildDataReply(TableCode table, std::uint32_t recordNumber, std::span<const std::uint8_t> data)
{
    const std::size_t extra = table == TableCode::AdvT || table == TableCode::LandAdd ? 2 : 0;
    ServerPacketHeader h;
    h.command = static_cast<std::uint16_t>(ServerCommand::DataRequest);
    h.tableKind = ToByte(table);
    h.direction = kServerDirectionReply;
    h.status = kServerStatusFound;
    h.recordNumber = recordNumber;
    const std::span<const std::uint8_t> sent = data.first(std::min(data.size(), kServerReplyData));
    h.dataLength = static_cast<std::uint16_t>(sent.size() + extra);
    ByteBuffer out;
    h.EncodeTo(out);
    PutBytes(out, sent);
    return ToReplySize(std::move(out));
}

ByteBuffer BuildResultReply(std::span<const std::uint8_t> message)
{
    ByteBuffer out(message.begin(),
        message.begin() + static_cast<std::ptrdiff_t>(std::min(message.size(), kServerReplySize)));
    StoreU16LE(out, 4, kServerDirectionReply);
    StoreU16LE(out, 6, kServerStatusResult);
    return ToReplySize(std::move(out));
}

ByteBuffer BuildKeepAlive()
{
    return ByteBuffer(10, 'A');
}

namespace {

std::string_view Field(std::span<const std::string> fields, std::size_t i)
{
    return i < fields.size() ? std::string_view(fields[i]) : std::string_view();
}

// The text record of a row: number in field 0, the strings of fields 1 to
// last that are neither empty nor "NULL" joined by CR LF, cut to what the
// reply frame holds.
TextRecord ServerTextRecord(TableCode table, std::span<const std::string> fields, std::size_t last)
{
    std::vector<std::string_view> lines;
    for (std::size_t i = 1; i <= last; ++i) {
        const std::string_view value = Field(fields, i);
        if (!IsNullCell(value))
            lines.push_back(value);
    }
    return { table, ScaleRecordNumber(Field(fields, 0)), JoinTextLines(lines, kServerReplyText) };
}

} // namespace

bool BuildRecordReply(
    TableCode table, std::uint32_t requested, std::span<const std::string> fields, ByteBuffer& reply)
{
    reply.clear();
    RecordRow row(1); // grid column n is field n - 1
    row.insert(row.end(), fields.begin(), fields.end());
    switch (table) {
    case TableCode::Plu: {
        PluRecord p = BuildPluRecord(row);
        p.itemNum = ScaleRecordNumber(Field(fields, 0));
        reply = BuildDataReply(table, p.itemNum, p.Payload());
        return true;
    }
    case TableCode::Add: {
        const TextRecord t = ServerTextRecord(table, fields, 10);
        reply = BuildDataReply(table, t.number, t.Encode());
        return true;
    }
    case TableCode::AdvT:
    case TableCode::LandAdd: {
        const TextRecord t = ServerTextRecord(table, fields, table == TableCode::AdvT ? 2 : 1);
        if (t.text.empty())
            return false;
        reply = BuildDataReply(table, t.number, t.Encode());
        return true;
    }
    case TableCode::Preset: {
        std::vector<PresetEntry> entries;
        for (std::size_t i = 0; i + 1 < fields.size() && entries.size() < kServerPresetEntries; i += 2)
            entries.push_back(
                { ScaleRecordNumber(fields[i + 1]), static_cast<std::uint16_t>(ScaleAtol(fields[i])) });
        reply = BuildDataReply(table, requested, EncodePresetPage(requested, entries));
        return true;
    }
    case TableCode::UserLabel: {
        UserLabelRecord u = BuildUserLabelRecord(row);
        u.fileNum = ScaleRecordNumber(Field(fields, 0));
        reply = BuildDataReply(table, u.fileNum, u.Encode());
        return true;
    }
    default:
        return false;
    }
}
