#pragma once
// The records carried to and from scales, on TCP and on the serial link alike.
// All numbers little-endian; unwritten bytes are zero.
//
//   PluRecord (112)       item_num:u32 land:u16 additem:u16 fix_price:u32 piece:u16
//                         unitprice:u32 zero[4] weight:u16 fmark:u16 pos_kind:u16
//                         pos_flg:u16 pos_code[14] dateprint:u16 limit_day:u16 zero[2]
//                         item_name[30] item_name2[30] zero[2]
//                         (sent behind table code 0 and 1: payload 114)
//   ScaleInfoRecord (90)  0x1F 1 zero[4] password:u32 ... (see BuildScaleInfoRecord)
//   ScaleRootInfoRecord (30) 0x20 1 zero[4] init:u16 stat:u16 my_id[2] ip[4] mask[4]
//                         destination_ip[4] destination_port:u16 zero[4]
//   UserLabelRecord (106) 4 1 file_num:u32 labelY*10:u16 labelX:u16 gap:u16 fields...
//   TextRecord            table 1 number:u32 n:u16 text[n]   (n <= 2036)
//   Preset page (366)     3 1 page:u32 60 x (plu:u32 key:u16)
//   Sales totals          table 1 num:u32 print_cnt:u16 year:u16 month:u8 day:u8
//                         zero[2] total_price:u32 total_weight:u32
//                         [item_memory write_item_memory day_memory write_day_memory: u16]
//
// Builders take a row of cell texts (UTF-8) and convert numbers with ScaleAtol
// and text to CP949; parsers turn a received payload into the values of the
// rows it adds (record_sql.h makes the statements that store them).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/io_status.h"
#include "protocol/record_values.h"
#include "protocol/scale_codes.h"

inline constexpr std::size_t kPluRecordSize = 112;
inline constexpr std::size_t kPluPayloadSize = 2 + kPluRecordSize;
inline constexpr std::size_t kPosCodeSize = 14;
inline constexpr std::size_t kNameFieldSize = 30;
inline constexpr std::size_t kScaleInfoRecordSize = 90;
inline constexpr std::size_t kScaleRootInfoRecordSize = 30;
inline constexpr std::size_t kUserLabelRecordSize = 106;
inline constexpr std::size_t kTextRecordHeadSize = 8;
inline constexpr std::size_t kMaxTextRecordText = 2036; // 4 + 8 + 2036: the packet fills 2048 bytes
inline constexpr std::size_t kSerialTextBuffer = 1000; // text of a text record sent on the serial link
inline constexpr std::size_t kPresetKeyCount = 60;
inline constexpr std::size_t kPresetHeadSize = 6;
inline constexpr std::size_t kPresetEntrySize = 6;
inline constexpr std::size_t kPresetPageSize = kPresetHeadSize + kPresetKeyCount * kPresetEntrySize;
inline constexpr std::size_t kSerialReceivedLineMax = 99; // AdvT and Land_Add lines read from the serial link

static_assert(kPresetPageSize == 366);

// The two ways records travel: in TCP packets, or in serial link frames. They
// differ only in the bounds of texts.
enum class RecordCarriage { Tcp, Serial };

// Bytes of text a text record may carry: kMaxTextRecordText on TCP,
// kSerialTextBuffer on the serial link.
std::size_t MaxRecordText(RecordCarriage carriage);

// ---- item record -------------------------------------------------------------

struct PluRecord {
    std::uint32_t itemNum = 0;
    std::uint16_t land = 0;
    std::uint16_t additem = 0;
    std::uint32_t fixPrice = 0;
    std::uint16_t piece = 0;
    std::uint32_t unitPrice = 0;
    std::uint16_t weight = 0;
    std::uint16_t fmark = 0;
    std::uint16_t posKind = 0;
    std::uint16_t posFlg = 0;
    std::string posCode; // ASCII digits, at most 13 bytes
    std::uint16_t datePrint = 0;
    std::uint16_t limitDay = 0;
    std::string itemName; // CP949, at most 30 bytes
    std::string itemName2; // CP949, at most 30 bytes

    // Appends the 112 record bytes.
    void EncodeTo(ByteBuffer& out) const;
    // Table code 0, 1 and the record: the payload of a record packet.
    ByteBuffer Payload() const;
    // Reads the 112 record bytes; false when fewer are given.
    static bool Decode(std::span<const std::uint8_t> record, PluRecord& out);
};

// The POS code text of the record: pos_code printed "%ld", then padded or cut by
// pos_kind (1: to 7 digits; 0: at least 5, at most 6; other kinds as printed).
std::string BuildPosCode(std::int32_t posCode, std::int32_t posKind);

// From Item grid columns 1 to 15: item_num, item_name, item_name2, unitprice,
// fix_price, land, pos_flg, pos_code, piece, weight, fmark, pos_kind, dateprint,
// limit_day, additem. A name cell "", "NULL" or "0" leaves its field empty.
PluRecord BuildPluRecord(const RecordRow& row);

// The same row from the fields of a stored [Item] row, read in the column order
// item_num, item_name, ... additem (the order of BuildPluRecord's columns).
RecordRow PluRowFromItemFields(std::span<const std::string> fields);

// The row a record is sent from when the manager's default values are in force:
// the text of the stored [Item] row (StoredItemSql in record_sql.h: every value
// followed by TAB "jo/") cut into at most kMaxStoredItemFields fields, "NULL"
// and "0" counting as empty, as PluRowFromItemFields gives it.
inline constexpr std::size_t kMaxStoredItemFields = 400;
RecordRow PluRowFromStoredItem(std::string_view rowText);

// ---- scale settings ----------------------------------------------------------

// 90 bytes from the scale information grid: columns 1 WeightNum, 2 PriceNum,
// 3 WeightUnit, 4 PresetPageSelect, 5 LimitTime, 6 LabelInfo, 7 ULabelInfo,
// 8 pos_flag, 9 BarCodePrintFormat, 10 BarCodePriceSelect, 11 ItemNameSorting,
// 12 ItemLandSorting, 13 CodeLand, 14 PrintAdvNum, 15 wLimtTotalInfo,
// 16 wLimitPntType, 17 PriceUnit, 18 PassWord (low 16 bits), 19 VAT.
ByteBuffer BuildScaleInfoRecord(const RecordRow& row);

// 30 bytes from the scale network grid: columns 1 Ethernet_Init, 2 Ethernet_Stat,
// 3 MyID, 4 IP, 5 MASK, 6 Destination_IP, 7 Destination_Port.
ByteBuffer BuildScaleRootInfoRecord(const RecordRow& row);

// ---- user label --------------------------------------------------------------

struct LabelFieldPosition {
    std::uint16_t x = 0; // dots
    std::uint16_t y = 0; // dots
    std::uint16_t kind = 0;
};

// The record as carried: positions in dots, label length times 10.
struct UserLabelRecord {
    std::uint32_t fileNum = 0;
    std::uint16_t labelY = 0; // label length x 10
    std::uint16_t labelX = 0;
    std::uint16_t labelGap = 0;
    LabelFieldPosition itemName, origin, packDate, limitDate, piecePrice, weight;
    std::uint16_t barcodeX = 0;
    std::uint16_t barcodeY = 0;
    std::uint8_t barcodeForm = 0;
    std::uint8_t barcodeLength = 0;
    LabelFieldPosition price, itemNum, count;
    LabelFieldPosition saleMark; // bytes 72-77: the label tool's sale kind mark; zero from Calvorn
    LabelFieldPosition additem;
    std::uint16_t additemLine = 0;
    LabelFieldPosition adv;
    std::uint16_t advLine = 0;
    LabelFieldPosition vat, vatPrice;

    // The 106 bytes, starting with table code 4 and 1.
    ByteBuffer Encode() const;
    // Reads 106 bytes; false when fewer are given.
    static bool Decode(std::span<const std::uint8_t> record, UserLabelRecord& out);
};

// Tenths of a millimetre to dots and back: across x*1000/125/10, back
// x*125/100+1; along y*1000/145/10, back y*145/100+1 (truncating, 16 bits).
std::uint16_t LabelXToDots(std::int32_t x);
std::uint16_t LabelYToDots(std::int32_t y);
std::uint16_t LabelXFromDots(std::uint16_t dots);
std::uint16_t LabelYFromDots(std::uint16_t dots);

// From user-label grid columns 1 to 49 (file_num, then the UserLabel columns in
// table order: X and Y converted to dots, labelY times 10).
UserLabelRecord BuildUserLabelRecord(const RecordRow& row);

// ---- text records and preset page --------------------------------------------

struct TextRecord {
    TableCode table = TableCode::Add;
    std::uint32_t number = 0;
    std::string text; // CP949

    // table, 1, number, text length, text.
    ByteBuffer Encode() const;
};

// Number from column 1 and the text cells (Add 2-11, AdvT 2-3, Land_Add 2) that
// are neither "" nor "NULL", joined by CR LF. An empty or "NULL" number cell
// gives number 0 and no text. The text is cut, between characters, to maxText.
TextRecord BuildTextRecord(TableCode table, const RecordRow& row, std::size_t maxText = kMaxTextRecordText);
// The same within the carriage's bound (MaxRecordText).
TextRecord BuildTextRecord(TableCode table, const RecordRow& row, RecordCarriage carriage);

// The lines (UTF-8) as CP949 joined by CR LF, no CR LF after the last; cut,
// between characters, to maxText (at most kMaxTextRecordText).
std::string JoinTextLines(std::span<const std::string_view> lines, std::size_t maxText = kMaxTextRecordText);

struct PresetEntry {
    std::uint32_t plu = 0;
    std::uint16_t key = 0;
};

// 3, 1, page, then the entries.
ByteBuffer EncodePresetPage(std::uint32_t page, std::span<const PresetEntry> entries);

// The page of the 60 preset key texts (key k = keyTexts[k - 1], missing keys 0):
// each PLU number is the text up to its first CR, at most 9 characters, by atol.
ByteBuffer BuildPresetPage(std::uint32_t page, std::span<const std::string> keyTexts);

// ---- received records --------------------------------------------------------

// Kinds of received records: the work screen's hint numbers of the tables.
enum class RecordKind {
    Item = 1,
    Add = 2,
    Preset = 3,
    AdvT = 4,
    TotalResult = 12,
    TotalItemResult = 13,
    TotalItemDay = 14,
    TotalDayResult = 15,
    UserLabel = 17,
    LandAdd = 19,
};

struct RecordContext {
    std::string mgId; // manager id written into [mg_id]
    std::string revDay; // date of receipt, FormatDay
    std::string currentScale; // the scale's IP address (TCP) or its ID (serial)
};

// One row that a received record adds to its table: the values as text, in the
// column order of the table's INSERT (record_sql.h):
//   Item       item_num item_name item_name2 unitprice fix_price land pos_flg
//              pos_code piece weight fmark pos_kind dateprint limit_day additem mg_id
//   Add        num str1..str10 mg_id          AdvT      adv_num str1 str2 mg_id
//   Land_Add   land_num land_str mg_id        Preset    page_num num str mg_id
//   UserLabel  file_num, the 48 columns of ReceivedUserLabelColumns, mg_id
//   TotalResult      begin_day print_cnt total_weight total_price rev_day
//                    current_scale item_memory write_item_memory day_memory
//                    write_day_memory mg_id
//   TotalItemResult  num begin_day print_cnt total_weight total_price rev_day current_scale mg_id
//   TotalItemDay     num day ... (as TotalItemResult)
//   TotalDayResult   day print_cnt total_weight total_price rev_day current_scale mg_id
struct ReceivedRow {
    RecordKind kind = RecordKind::Item;
    std::vector<std::string> values;
};

// The UserLabel columns of a received user-label row, file_num first, mg_id last.
std::span<const char* const> ReceivedUserLabelColumns();

// The rows of one received record payload (the payload of a data reply: table
// code first): one row, one per entry for a preset page. Received AdvT and
// Land_Add lines keep at most kSerialReceivedLineMax bytes on the serial link and
// are whole on TCP. A payload too short for its fields, or of another table, is
// refused (BadLength, UnexpectedReply) and rows is left empty.
IoStatus ParseReceivedRecord(RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, std::vector<ReceivedRow>& rows);

// The lines of a received text: cut at each CR LF (a CR before any other byte
// stays in the line), each up to its first NUL and at most maxLineBytes (between
// characters), as UTF-8. Lines that are "" or " " become "NULL"; the result has
// exactly lineCount entries, "NULL" for missing lines.
std::vector<std::string> SplitReceivedLines(
    std::span<const std::uint8_t> text, std::size_t lineCount, std::size_t maxLineBytes);
