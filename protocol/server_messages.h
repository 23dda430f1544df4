#pragma once
// Messages between the scales and the results server (the PC listens, the
// scales connect). All numbers little-endian. A connection's bytes are a
// stream of messages: a read may hold part of one or several, and a message's
// length follows from its command (ServerMessageLength).
//
//   header (20) := command:u16 table_kind:u16 direction:u16 status:u16
//                  reserved[6] record_number:u32 data_length:u16
//   data request   0x001F, direction 0, no data
//   result report  0x0031, SaleResultRecord (22): skip[2] item:u32 skip[2]
//   result cancel  0x003D                         skip[6] price:i32 weight:i32
//   reply          every reply is 532 bytes: header, data, zeros
//   keep-alive     ten 'A' bytes, no header

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/base/bytes.h"
#include "platform/base/io_status.h"
#include "protocol/scale_codes.h"

enum class ServerCommand : std::uint16_t {
    DataRequest = 0x001F,
    ResultReport = 0x0031,
    ResultCancel = 0x003D,
};

inline constexpr std::size_t kServerHeaderSize = 20;
inline constexpr std::size_t kSaleResultSize = 22;
inline constexpr std::size_t kSaleMessageSize = kServerHeaderSize + kSaleResultSize;
inline constexpr std::size_t kServerReplySize = 532;
// Data bytes a reply carries, the text a text record may hold in them, and
// the preset entries that fit them whole.
inline constexpr std::size_t kServerReplyData = kServerReplySize - kServerHeaderSize;
inline constexpr std::size_t kServerReplyText = kServerReplyData - 8;
inline constexpr std::size_t kServerPresetEntries = (kServerReplyData - 6) / 6;
inline constexpr std::uint16_t kServerDirectionRequest = 0;
inline constexpr std::uint16_t kServerDirectionReply = 3;
inline constexpr std::uint16_t kServerStatusNotFound = 0;
inline constexpr std::uint16_t kServerStatusFound = 1;
inline constexpr std::uint16_t kServerStatusResult = 0x0111;
inline constexpr std::uint16_t kServerMaxTableKind = 5;

struct ServerPacketHeader {
    std::uint16_t command = 0;
    std::uint16_t tableKind = 0;
    std::uint16_t direction = 0;
    std::uint16_t status = 0;
    std::array<std::uint8_t, 6> reserved {};
    std::uint32_t recordNumber = 0;
    std::uint16_t dataLength = 0;

    void EncodeTo(ByteBuffer& out) const;
    static bool Decode(std::span<const std::uint8_t> bytes, ServerPacketHeader& out);
};

struct SaleResultRecord {
    std::uint32_t itemNumber = 0; // stored as code_gds
    std::int32_t totalPrice = 0;
    std::int32_t totalWeight = 0;
};

enum class ServerMessageKind {
    DataRequest,
    ResultReport,
    ResultCancel,
    Ignored, // gets no reply: another command, or a request of another direction or table
};

struct ServerMessage {
    ServerMessageKind kind = ServerMessageKind::Ignored;
    ServerPacketHeader header;
    SaleResultRecord sale; // result report and cancel
};

// The length of a whole message of command: the header alone for a data
// request, kSaleMessageSize for a result report or cancel; 0 for a command
// the server has none of.
std::size_t ServerMessageLength(std::uint16_t command);
// True for a whole message, of the length of its command, that is a result
// report or cancel.
bool IsSaleMessage(std::span<const std::uint8_t> message);

// Decodes one message. BadLength, and no message, when the block is shorter
// than the header or a report or cancel is shorter than 42 bytes. A data
// request is DataRequest only when it is to be answered (direction 0, a table
// kind up to kServerMaxTableKind); another is Ignored.
IoStatus DecodeServerMessage(std::span<const std::uint8_t> block, ServerMessage& out);

// Messages as a scale sends them.
ByteBuffer EncodeDataRequest(std::uint16_t tableKind, std::uint32_t recordNumber);
ByteBuffer EncodeSaleMessage(ServerCommand command, const SaleResultRecord& sale);

// The 532-byte reply to a request whose record does not exist.
ByteBuffer BuildNotFoundReply(std::uint16_t tableKind);

// The 532-byte reply carrying a found record's data (the table's record bytes,
// beginning with the table code), cut to the 512 bytes the frame holds. Its
// data length field counts the bytes sent, two more for AdvT and Land_Add.
ByteBuffer BuildDataReply(TableCode table, std::uint32_t recordNumber, std::span<const std::uint8_t> data);

// The 532-byte reply for a found row of the requested table. fields are the
// row's values as the server's query reads them (UTF-8, a NULL column as
// "NULL"): Item item_num, item_name, item_name2, unitprice, fix_price, land,
// pos_flg, pos_code, piece, weight, fmark, pos_kind, dateprint, limit_day,
// additem; Add num, str1-str10; AdvT adv_num, str1, str2; Preset the (num, str)
// pairs of every row of the page, in query order; UserLabel the table's columns
// in order (file_num first); Land_Add land_num, land_str. Item names "",
// "NULL" and "0" are empty, as in a transfer; the texts leave out empty and
// "NULL" strings and are cut, between characters, to what the frame holds; a
// preset page keeps the entries that fit. The record number is the record's
// own number, for Preset the requested page. False, and no reply at all, for an AdvT row whose two strings
// are empty, a Land_Add row whose text is empty, or a table other than these six.
bool BuildRecordReply(
    TableCode table, std::uint32_t requested, std::span<const std::string> fields, ByteBuffer& reply);

// The reply to a result report or cancel: the message with direction 3 and
// status 0x0111, zero bytes up to 532.
ByteBuffer BuildResultReply(std::span<const std::uint8_t> message);

// Ten 'A' bytes.
ByteBuffer BuildKeepAlive();
