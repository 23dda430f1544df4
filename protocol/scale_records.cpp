#include "protocol/scale_records.h"

#include <algorithm>
#include <limits>

#include "platform/base/cp949.h"
#include "protocol/plu_fields.h"

namespace {

void PutZeros(ByteBuffer& out, std::size_t count)
{
    out.insert(out.end(), count, 0);
}

std::uint16_t CellU16(const RecordRow& row, std::size_t column)
{
    return static_cast<std::uint16_t>(CellNumber(row, column));
}

std::uint32_t CellU32(const RecordRow& row, std::size_t column)
{
    return static_cast<std::uint32_t>(CellNumber(row, column));
}

std::string Signed(std::uint32_t v)
{
    return std::to_string(static_cast<std::int32_t>(v));
}
std::string Unsigned(std::uint32_t v)
{
    return std::to_string(v);
}

} // namespace

// ---- item record -------------------------------------------------------------

void PluRecord::EncodeTo(ByteBuffer& out) const
{
    PutU32LE(out, itemNum);
    PutU16LE(out, land);
    PutU16LE(out, additem);
    PutU32LE(out, fixPrice);
    PutU16LE(out, piece);
    PutU32LE(out, unitPrice);
    PutZeros(out, 4);
    PutU16LE(out, weight);
    PutU16LE(out, fmark);
    PutU16LE(out, posKind);
    PutU16LE(out, posFlg); // POS-code block: flag, then the code NUL-terminated
    PutFixedText(out, std::string_view(posCode).substr(0, kPosCodeSize - 1), kPosCodeSize);
    PutU16LE(out, datePrint);
    PutU16LE(out, limitDay);
    PutZeros(out, 2);
    PutFixedText(out, itemName, kNameFieldSize);
    PutFixedText(out, itemName2, kNameFieldSize);
    PutZeros(out, 2);
}

ByteBuffer PluRecord::Payload() const
{
    ByteBuffer out { ToByte(TableCode::Plu), 1 };
    EncodeTo(out);
    return out;
}

bool PluRecord::Decode(std::span<const std::uint8_t> record, PluRecord& out)
{
    if (record.size() < kPluRecordSize)
        return false;
    ByteReader r(record);
    PluRecord p;
    r.GetU32LE(p.itemNum);
    r.GetU16LE(p.land);
    r.GetU16LE(p.additem);
    r.GetU32LE(p.fixPrice);
    r.GetU16LE(p.piece);
    r.GetU32LE(p.unitPrice);
    r.Skip(4);
    r.GetU16LE(p.weight);
    r.GetU16LE(p.fmark);
    r.GetU16LE(p.posKind);
    r.GetU16LE(p.posFlg);
    r.GetFixedText(kPosCodeSize, p.posCode);
    r.GetU16LE(p.datePrint);
    r.GetU16LE(p.limitDay);
    r.Skip(2);
    r.GetFixedText(kNameFieldSize, p.itemName);
    r.GetFixedText(kNameFieldSize, p.itemName2);
    out = std::move(p);
    return true;
}

std::string BuildPosCode(std::int32_t posCode, std::int32_t posKind)
{
    std::string text = std::to_string(posCode);
    auto padTo = [&text](std::size_t width) {
        if (text.size() < width)
            text.insert(0, width - text.size(), '0');
    };
    if (posKind == 1) {
        padTo(7);
        text.resize(7);
    } else if (posKind == 0) {
        padTo(5);
        if (text.size() > 6)
            text.resize(6);
    }
    return text;
}

namespace {

std::string NameField(std::string_view cell)
{
    if (IsNullCell(cell) || cell == "0")
        return std::string();
    return ToScaleText(cell, kNameFieldSize);
}

} // namespace

PluRecord BuildPluRecord(const RecordRow& row)
{
    using F = PluField;
    PluRecord p;
    p.itemNum = CellU32(row, PluColumn(F::ItemNum));
    p.itemName = NameField(Cell(row, PluColumn(F::ItemName)));
    p.itemName2 = NameField(Cell(row, PluColumn(F::ItemName2)));
    p.unitPrice = CellU32(row, PluColumn(F::UnitPrice));
    p.fixPrice = CellU32(row, PluColumn(F::FixPrice));
    p.land = CellU16(row, PluColumn(F::Land));
    p.posFlg = CellU16(row, PluColumn(F::PosFlg));
    p.piece = CellU16(row, PluColumn(F::Piece));
    p.weight = CellU16(row, PluColumn(F::Weight));
    p.fmark = CellU16(row, PluColumn(F::Fmark));
    p.posKind = CellU16(row, PluColumn(F::PosKind));
    p.posCode = BuildPosCode(CellNumber(row, PluColumn(F::PosCode)), CellNumber(row, PluColumn(F::PosKind)));
    p.datePrint = CellU16(row, PluColumn(F::DatePrint));
    p.limitDay = CellU16(row, PluColumn(F::LimitDay));
    p.additem = CellU16(row, PluColumn(F::Additem));
    return p;
}

RecordRow PluRowFromItemFields(std::span<const std::string> fields)
{
    RecordRow row(1);
    row.insert(row.end(), fields.begin(),
        fields.begin() + static_cast<std::ptrdiff_t>(std::min(fields.size(), kPluRecordColumns)));
    return row;
}

RecordRow PluRowFromStoredItem(std::string_view rowText)
{
    constexpr std::string_view kValueEnd = "\tjo/";
    std::vector<std::string> fields;
    while (!rowText.empty() && fields.size() < kMaxStoredItemFields) {
        const std::size_t end = rowText.find(kValueEnd);
        std::string field(rowText.substr(0, end));
        fields.push_back(field == "NULL" || field == "0" ? std::string() : std::move(field));
        rowText = end == std::string_view::npos ? std::string_view() : rowText.substr(end + kValueEnd.size());
    }
    return PluRowFromItemFields(fields);
}

// ---- scale settings ----------------------------------------------------------

ByteBuffer BuildScaleInfoRecord(const RecordRow& row)
{
    ByteBuffer out { ToByte(TableCode::ScaleInfo), 1 };
    PutZeros(out, 4);
    PutU32LE(out, CellU32(row, 18) & 0xFFFF); // PassWord
    PutU16LE(out, CellU16(row, 1)); // WeightNum
    PutU16LE(out, CellU16(row, 2)); // PriceNum
    PutU16LE(out, CellU16(row, 3)); // WeightUnit
    PutU16LE(out, CellU16(row, 17)); // PriceUnit
    PutZeros(out, 2);
    PutU16LE(out, CellU16(row, 19)); // VAT
    PutZeros(out, 20);
    for (std::size_t column = 4; column <= 13; ++column) // PresetPageSelect .. CodeLand
        PutU16LE(out, CellU16(row, column));
    PutZeros(out, 2);
    for (std::size_t column = 14; column <= 16; ++column) // PrintAdvNum, wLimtTotalInfo, wLimitPntType
        PutU16LE(out, CellU16(row, column));
    PutZeros(out, 20);
    return out;
}

namespace {

// "a.b.c.d" as four bytes, each atoi of its part; no '.' gives four zeros.
void PutAddress(ByteBuffer& out, std::string_view text)
{
    std::uint8_t parts[4] = {};
    if (text.find('.') != std::string_view::npos) {
        for (std::size_t i = 0; i < 4 && !text.empty(); ++i) {
            const std::size_t dot = text.find('.');
            parts[i] = static_cast<std::uint8_t>(ScaleAtol(text.substr(0, dot)));
            text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
        }
    }
    PutBytes(out, parts);
}

} // namespace

ByteBuffer BuildScaleRootInfoRecord(const RecordRow& row)
{
    ByteBuffer out { ToByte(TableCode::ScaleRootInfo), 1 };
    PutZeros(out, 4);
    PutU16LE(out, CellU16(row, 1)); // Ethernet_Init
    PutU16LE(out, CellU16(row, 2)); // Ethernet_Stat
    std::string myId = ToScaleText(Cell(row, 3), 2);
    if (myId.size() == 1)
        myId.insert(myId.begin(), '0');
    PutFixedText(out, myId, 2);
    PutAddress(out, Cell(row, 4)); // IP
    PutAddress(out, Cell(row, 5)); // MASK
    PutAddress(out, Cell(row, 6)); // Destination_IP
    PutU16LE(out, CellU16(row, 7));
    PutZeros(out, 4);
    return out;
}

// ---- user label --------------------------------------------------------------

std::uint16_t LabelXToDots(std::int32_t x)
{
    return static_cast<std::uint16_t>(std::int64_t { x } * 1000 / 125 / 10);
}
std::uint16_t LabelYToDots(std::int32_t y)
{
    return static_cast<std::uint16_t>(std::int64_t { y } * 1000 / 145 / 10);
}
std::uint16_t LabelXFromDots(std::uint16_t dots)
{
    return static_cast<std::uint16_t>(dots * 125 / 100 + 1);
}
std::uint16_t LabelYFromDots(std::uint16_t dots)
{
    return static_cast<std::uint16_t>(dots * 145 / 100 + 1);
}

namespace {

void PutPosition(ByteBuffer& out, const LabelFieldPosition& p)
{
    PutU16LE(out, p.x);
    PutU16LE(out, p.y);
    PutU16LE(out, p.kind);
}

void GetPosition(ByteReader& r, LabelFieldPosition& p)
{
    r.GetU16LE(p.x);
    r.GetU16LE(p.y);
    r.GetU16LE(p.kind);
}

// Grid columns x, x+1, x+2: X and Y in tenths of a millimetre, then the kind.
LabelFieldPosition PositionFromRow(const RecordRow& row, std::size_t column)
{
    return { LabelXToDots(CellNumber(row, column)), LabelYToDots(CellNumber(row, column + 1)),
        CellU16(row, column + 2) };
}

} // namespace

ByteBuffer UserLabelRecord::Encode() const
{
    ByteBuffer out { ToByte(TableCode::UserLabel), 1 };
    PutU32LE(out, fileNum);
    PutU16LE(out, labelY);
    PutU16LE(out, labelX);
    PutU16LE(out, labelGap);
    for (const LabelFieldPosition* p : { &itemName, &origin, &packDate, &limitDate, &piecePrice, &weight })
        PutPosition(out, *p);
    PutU16LE(out, barcodeX);
    PutU16LE(out, barcodeY);
    PutU8(out, barcodeForm);
    PutU8(out, barcodeLength);
    for (const LabelFieldPosition* p : { &price, &itemNum, &count, &saleMark, &additem })
        PutPosition(out, *p);
    PutU16LE(out, additemLine);
    PutPosition(out, adv);
    PutU16LE(out, advLine);
    PutPosition(out, vat);
    PutPosition(out, vatPrice);
    return out;
}

bool UserLabelRecord::Decode(std::span<const std::uint8_t> record, UserLabelRecord& out)
{
    if (record.size() < kUserLabelRecordSize)
        return false;
    ByteReader r(record);
    UserLabelRecord u;
    r.Skip(2);
    r.GetU32LE(u.fileNum);
    r.GetU16LE(u.labelY);
    r.GetU16LE(u.labelX);
    r.GetU16LE(u.labelGap);
    for (LabelFieldPosition* p :
        { &u.itemName, &u.origin, &u.packDate, &u.limitDate, &u.piecePrice, &u.weight })
        GetPosition(r, *p);
    r.GetU16LE(u.barcodeX);
    r.GetU16LE(u.barcodeY);
    r.GetU8(u.barcodeForm);
    r.GetU8(u.barcodeLength);
    for (LabelFieldPosition* p : { &u.price, &u.itemNum, &u.count, &u.saleMark, &u.additem })
        GetPosition(r, *p);
    r.GetU16LE(u.additemLine);
    GetPosition(r, u.adv);
    r.GetU16LE(u.advLine);
    GetPosition(r, u.vat);
    GetPosition(r, u.vatPrice);
    out = u;
    return true;
}

UserLabelRecord BuildUserLabelRecord(const RecordRow& row)
{
    UserLabelRecord u;
    u.fileNum = CellU32(row, 1);
    u.itemName = PositionFromRow(row, 2);
    u.origin = PositionFromRow(row, 5);
    u.packDate = PositionFromRow(row, 8);
    u.limitDate = PositionFromRow(row, 11);
    u.piecePrice = PositionFromRow(row, 14);
    u.weight = PositionFromRow(row, 17);
    u.barcodeX = LabelXToDots(CellNumber(row, 20));
    u.barcodeY = LabelYToDots(CellNumber(row, 21));
    u.barcodeForm = static_cast<std::uint8_t>(CellNumber(row, 22));
    u.barcodeLength = static_cast<std::uint8_t>(CellNumber(row, 23));
    u.price = PositionFromRow(row, 24);
    u.itemNum = PositionFromRow(row, 27);
    u.count = PositionFromRow(row, 30);
    u.additem = PositionFromRow(row, 33);
    u.additemLine = CellU16(row, 36);
    u.adv = PositionFromRow(row, 37);
    u.advLine = CellU16(row, 40);
    u.labelX = CellU16(row, 41);
    u.labelY = static_cast<std::uint16_t>(std::int64_t { CellNumber(row, 42) } * 10);
    u.labelGap = CellU16(row, 43);
    u.vat = PositionFromRow(row, 44);
    u.vatPrice = PositionFromRow(row, 47);
    return u;
}

// ---- text records and preset page --------------------------------------------

ByteBuffer TextRecord::Encode() const
{
    const std::string_view bytes = Cp949Prefix(text, kMaxTextRecordText);
    ByteBuffer out { ToByte(table), 1 };
    PutU32LE(out, number);
    PutU16LE(out, static_cast<std::uint16_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

TextRecord BuildTextRecord(TableCode table, const RecordRow& row, std::size_t maxText)
{
    TextRecord record;
    record.table = table;
    if (IsNullCell(Cell(row, 1)))
        return record;
    record.number = CellU32(row, 1);
    std::size_t lastColumn = 1;
    switch (table) {
    case TableCode::Add:
        lastColumn = 11;
        break;
    case TableCode::AdvT:
        lastColumn = 3;
        break;
    case TableCode::LandAdd:
        lastColumn = 2;
        break;
    default:
        break;
    }
    std::vector<std::string_view> cells;
    for (std::size_t column = 2; column <= lastColumn; ++column) {
        if (!IsNullCell(Cell(row, column)))
            cells.push_back(Cell(row, column));
    }
    record.text = JoinTextLines(cells, maxText);
    return record;
}

std::string JoinTextLines(std::span<const std::string_view> lines, std::size_t maxText)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += Utf8ToCp949(lines[i]);
    }
    return std::string(Cp949Prefix(text, std::min(maxText, kMaxTextRecordText)));
}

TextRecord BuildTextRecord(TableCode table, const RecordRow& row, RecordCarriage carriage)
{
    return BuildTextRecord(table, row, MaxRecordText(carriage));
}

std::size_t MaxRecordText(RecordCarriage carriage)
{
    return carriage == RecordCarriage::Serial ? kSerialTextBuffer : kMaxTextRecordText;
}

ByteBuffer EncodePresetPage(std::uint32_t page, std::span<const PresetEntry> entries)
{
    ByteBuffer out { ToByte(TableCode::Preset), 1 };
    PutU32LE(out, page);
    for (const PresetEntry& e : entries) {
        PutU32LE(out, e.plu);
        PutU16LE(out, e.key);
    }
    return out;
}

ByteBuffer BuildPresetPage(std::uint32_t page, std::span<const std::string> keyTexts)
{
    std::array<PresetEntry, kPresetKeyCount> entries;
    for (std::size_t k = 0; k < kPresetKeyCount; ++k) {
        std::string_view text = k < keyTexts.size() ? std::string_view(keyTexts[k]) : std::string_view();
        text = text.substr(0, std::min<std::size_t>(text.find('\r'), 9));
        entries[k] = { static_cast<std::uint32_t>(ScaleAtol(text)), static_cast<std::uint16_t>(k + 1) };
    }
    return EncodePresetPage(page, entries);
}

// ---- received records --------------------------------------------------------

std::vector<std::string> SplitReceivedLines(
    std::span<const std::uint8_t> text, std::size_t lineCount, std::size_t maxLineBytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size() && lines.size() < lineCount; ++i) {
        const bool end = i == text.size();
        if (!end && !(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            continue;
        std::string line = FromScaleText(text.subspan(start, i - start), maxLineBytes);
        lines.push_back(line.empty() || line == " " ? "NULL" : std::move(line));
        start = i + 2;
        ++i;
    }
    lines.resize(lineCount, "NULL");
    return lines;
}

namespace {

constexpr const char* kUserLabelColumns[] = {
    "file_num",
    "item_nameX",
    "item_nameY",
    "item_nameKind",
    "OriginX",
    "OriginY",
    "OriginKind",
    "PackDateX",
    "PackDateY",
    "PackDateKind",
    "LimitDateX",
    "LimitDateY",
    "LimitDateKind",
    "PiecePriceX",
    "PiecePriceY",
    "PiecePriceKind",
    "weightX",
    "weightY",
    "weightKind",
    "barcodeX",
    "barcodeY",
    "barcode form",
    "barcodeLength",
    "priceX",
    "priceY",
    "priceKind",
    "item_numX",
    "item_numY",
    "item_numKind",
    "CountX",
    "CountY",
    "CountKind",
    "additemX",
    "additemY",
    "additemKind",
    "additemLine",
    "advX",
    "advY",
    "advKind",
    "advLine",
    "labelX",
    "labelY",
    "label_Gab",
    "vatX",
    "vatY",
    "vatKind",
    "vatpriceX",
    "vatpriceY",
    "vatpriceKind",
    "mg_id",
};

TableCode TableOf(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Item:
        return TableCode::Plu;
    case RecordKind::Add:
        return TableCode::Add;
    case RecordKind::Preset:
        return TableCode::Preset;
    case RecordKind::AdvT:
        return TableCode::AdvT;
    case RecordKind::LandAdd:
        return TableCode::LandAdd;
    case RecordKind::UserLabel:
        return TableCode::UserLabel;
    case RecordKind::TotalResult:
        return TableCode::TotalResult;
    case RecordKind::TotalItemResult:
        return TableCode::TotalItemResult;
    case RecordKind::TotalItemDay:
        return TableCode::TotalItemDay;
    case RecordKind::TotalDayResult:
        return TableCode::TotalDayResult;
    }
    return TableCode::Plu;
}

std::size_t MinimumPayload(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Item:
        return kPluPayloadSize;
    case RecordKind::UserLabel:
        return kUserLabelRecordSize;
    case RecordKind::Add:
    case RecordKind::AdvT:
    case RecordKind::LandAdd:
        return kTextRecordHeadSize;
    case RecordKind::Preset:
        return kPresetHeadSize;
    case RecordKind::TotalResult:
        return 30;
    case RecordKind::TotalItemResult:
    case RecordKind::TotalItemDay:
    case RecordKind::TotalDayResult:
        return 22;
    }
    return 0;
}

ReceivedRow ItemRow(std::span<const std::uint8_t> payload, const RecordContext& context)
{
    PluRecord p;
    PluRecord::Decode(payload.subspan(2), p);
    return { RecordKind::Item,
        {
            Signed(p.itemNum),
            FromScaleText(p.itemName, kNameFieldSize),
            FromScaleText(p.itemName2, kNameFieldSize),
            Signed(p.unitPrice),
            Signed(p.fixPrice),
            Unsigned(p.land),
            Unsigned(p.posFlg),
            FromScaleText(p.posCode, kPosCodeSize),
            Unsigned(p.piece),
            Unsigned(p.weight),
            Unsigned(p.fmark),
            Unsigned(p.posKind),
            Unsigned(p.datePrint),
            Unsigned(p.limitDay),
            Unsigned(p.additem),
            context.mgId,
        } };
}

ReceivedRow UserLabelRow(std::span<const std::uint8_t> payload, const RecordContext& context)
{
    UserLabelRecord u;
    UserLabelRecord::Decode(payload, u);
    ReceivedRow row { RecordKind::UserLabel, { Signed(u.fileNum) } };
    std::vector<std::string>& values = row.values;
    auto position = [&values](const LabelFieldPosition& p) {
        values.push_back(Unsigned(LabelXFromDots(p.x)));
        values.push_back(Unsigned(LabelYFromDots(p.y)));
        values.push_back(Unsigned(p.kind));
    };
    for (const LabelFieldPosition* p :
        { &u.itemName, &u.origin, &u.packDate, &u.limitDate, &u.piecePrice, &u.weight })
        position(*p);
    values.push_back(Unsigned(LabelXFromDots(u.barcodeX)));
    values.push_back(Unsigned(LabelYFromDots(u.barcodeY)));
    values.push_back(Unsigned(u.barcodeForm));
    values.push_back(Unsigned(u.barcodeLength));
    for (const LabelFieldPosition* p : { &u.price, &u.itemNum, &u.count, &u.additem })
        position(*p);
    values.push_back(Unsigned(u.additemLine));
    position(u.adv);
    values.push_back(Unsigned(u.advLine));
    values.push_back(Unsigned(u.labelX));
    values.push_back(Unsigned(u.labelY / 10));
    values.push_back(Unsigned(u.labelGap));
    position(u.vat);
    position(u.vatPrice);
    values.push_back(context.mgId);
    return row;
}

ReceivedRow TextRow(RecordKind kind, std::span<const std::uint8_t> payload, const RecordContext& context,
    RecordCarriage carriage)
{
    ByteReader r(payload);
    std::uint32_t number = 0;
    r.Skip(2);
    r.GetU32LE(number);
    const std::span<const std::uint8_t> text = payload.subspan(kTextRecordHeadSize);
    const std::size_t lineMax = carriage == RecordCarriage::Serial ? kSerialReceivedLineMax
                                                                   : std::numeric_limits<std::size_t>::max();
    std::vector<std::string> lines;
    if (kind == RecordKind::Add)
        lines = SplitReceivedLines(text, 10, std::numeric_limits<std::size_t>::max());
    else
        lines = SplitReceivedLines(text, kind == RecordKind::AdvT ? 2 : 1, lineMax);
    ReceivedRow row { kind, { Signed(number) } };
    row.values.insert(row.values.end(), lines.begin(), lines.end());
    row.values.push_back(context.mgId);
    return row;
}

void PresetRows(
    std::span<const std::uint8_t> payload, const RecordContext& context, std::vector<ReceivedRow>& rows)
{
    ByteReader r(payload);
    std::uint32_t page = 0;
    r.Skip(2);
    r.GetU32LE(page);
    for (int key = 1; r.Remaining() >= kPresetEntrySize; ++key) {
        std::uint32_t plu = 0;
        r.GetU32LE(plu);
        r.Skip(2); // the entry's own key number is not read: its position is
        rows.push_back(
            { RecordKind::Preset, { Signed(page), std::to_string(key), Signed(plu), context.mgId } });
    }
}

ReceivedRow TotalRow(RecordKind kind, std::span<const std::uint8_t> payload, const RecordContext& context)
{
    ByteReader r(payload);
    std::uint32_t num = 0, totalPrice = 0, totalWeight = 0;
    std::uint16_t printCount = 0, year = 0;
    std::uint8_t month = 0, day = 0;
    r.Skip(2);
    r.GetU32LE(num);
    r.GetU16LE(printCount);
    r.GetU16LE(year);
    r.GetU8(month);
    r.GetU8(day);
    r.Skip(2);
    r.GetU32LE(totalPrice);
    r.GetU32LE(totalWeight);
    ReceivedRow row { kind, {} };
    std::vector<std::string>& values = row.values;
    if (kind == RecordKind::TotalItemResult || kind == RecordKind::TotalItemDay)
        values.push_back(Signed(num));
    values.insert(values.end(),
        { FormatDay(year, month, day), Unsigned(printCount), Unsigned(totalWeight), Unsigned(totalPrice),
            context.revDay, context.currentScale });
    if (kind == RecordKind::TotalResult) {
        for (int i = 0; i < 4; ++i) {
            std::uint16_t memory = 0;
            r.GetU16LE(memory);
            values.push_back(Unsigned(memory));
        }
    }
    values.push_back(context.mgId);
    return row;
}

} // namespace

std::span<const char* const> ReceivedUserLabelColumns()
{
    return kUserLabelColumns;
}

IoStatus ParseReceivedRecord(RecordKind kind, std::span<const std::uint8_t> payload,
    const RecordContext& context, RecordCarriage carriage, std::vector<ReceivedRow>& rows)
{
    rows.clear();
    const std::size_t minimum = MinimumPayload(kind);
    if (payload.size() < minimum)
        return IoStatus::Error(IoCode::BadLength,
            "record of " + std::to_string(payload.size()) + " bytes, at least " + std::to_string(minimum)
                + " expected");
    if (payload[0] != ToByte(TableOf(kind)))
        return IoStatus::Error(IoCode::UnexpectedReply,
            "record of table " + std::to_string(payload[0]) + ", table "
                + std::to_string(ToByte(TableOf(kind))) + " expected");
    switch (kind) {
    case RecordKind::Item:
        rows.push_back(ItemRow(payload, context));
        break;
    case RecordKind::UserLabel:
        rows.push_back(UserLabelRow(payload, context));
        break;
    case RecordKind::Add:
    case RecordKind::AdvT:
    case RecordKind::LandAdd:
        rows.push_back(TextRow(kind, payload, context, carriage));
        break;
    case RecordKind::Preset:
        PresetRows(payload, context, rows);
        break;
    case RecordKind::TotalResult:
    case RecordKind::TotalItemResult:
    case RecordKind::TotalItemDay:
    case RecordKind::TotalDayResult:
        rows.push_back(TotalRow(kind, payload, context));
        break;
    }
    return IoStatus::Ok();
}
