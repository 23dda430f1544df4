#include <gtest/gtest.h>

#include "db/record_sql.h"
#include "protocol/scale_packet.h"
#include "protocol/scale_records.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::BytesOf;
using scalesim::FromHex;
using scalesim::Hex;

namespace {

const RecordContext kContext { "vexo", "2024-05-01", "192.168.0.15" };

// Item grid row: heading, then columns 1-15.
RecordRow ItemRow(std::string name, std::string name2 = "NULL")
{
    return { "List 1", "1234", std::move(name), std::move(name2), "1500", "0", "3", "27", "123", "2", "500",
        "1", "1", "1", "7", "12" };
}

constexpr const char* kItemPayloadHex
    = "00 01 | d2 04 00 00 | 03 00 | 0c 00 | 00 00 00 00 | 02 00 | dc 05 00 00 | 00 00 00 00 | f4 01 | 01 00 "
      "|"
      "01 00 | 1b 00 30 30 30 30 31 32 33 00 00 00 00 00 00 00 | 01 00 | 07 00 | 00 00 |"
      "bb e7 b0 fa 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 |"
      "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 | 00 00";

std::string OneInsert(RecordKind kind, const ByteBuffer& payload, const RecordContext& context = kContext)
{
    std::vector<std::string> statements;
    const IoStatus s = ReceivedRecordSql(kind, payload, context, RecordCarriage::Tcp, statements);
    EXPECT_TRUE(s.ok()) << s.ToString();
    EXPECT_EQ(statements.size(), 1u);
    return statements.empty() ? std::string() : statements[0];
}

std::string ValuesOf(const std::string& sql)
{
    const std::size_t at = sql.find(" VALUES(");
    return at == std::string::npos ? sql : sql.substr(at + 1);
}

// ---- item record -------------------------------------------------------------

TEST(PluRecordTest, RowPacksIntoTheGoldenBytes)
{
    const ByteBuffer payload = BuildPluRecord(ItemRow("사과")).Payload();
    ASSERT_EQ(payload.size(), kPluPayloadSize);
    EXPECT_EQ(Hex(payload), Hex(FromHex(kItemPayloadHex)));
}

TEST(PluRecordTest, ReceivedRecordBecomesTheItemInsert)
{
    EXPECT_EQ(OneInsert(RecordKind::Item, FromHex(kItemPayloadHex)),
        "INSERT INTO [Item]([item_num], [item_name], [item_name2], [unitprice], [fix_price], [land], "
        "[pos_flg], [pos_code], [piece], [weight], [fmark], [pos_kind], [dateprint], [limit_day], [additem], "
        "[mg_id]) VALUES('1234', '사과', '', '1500', '0', '3', '27', '0000123', '2', '500', '1', '1', '1', "
        "'7','12','vexo')");
}

TEST(PluRecordTest, PosCodeFollowsThePosKind)
{
    struct Case {
        std::int32_t code;
        std::int32_t kind;
        const char* expected;
    } cases[] = {
        { 123, 1, "0000123" },
        { 1234567, 1, "1234567" },
        { 12345678, 1, "1234567" },
        { 123, 0, "00123" },
        { 12345, 0, "12345" },
        { 123456, 0, "123456" },
        { 1234567, 0, "123456" },
        { 123, 2, "123" },
        { 12345678, 2, "12345678" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPosCode(c.code, c.kind), c.expected) << c.code << " kind " << c.kind;

    RecordRow row = ItemRow("x");
    row[8] = "00123"; // leading zeros of the cell are lost
    row[12] = "2";
    EXPECT_EQ(BuildPluRecord(row).posCode, "123");
}

TEST(PluRecordTest, CellsConvertAsAtolDoes)
{
    RecordRow row = ItemRow("x");
    row[1] = "12abc";
    row[4] = "";
    row[6] = "  -5";
    row[5] = "99999999999";
    const PluRecord p = BuildPluRecord(row);
    EXPECT_EQ(p.itemNum, 12u);
    EXPECT_EQ(p.unitPrice, 0u);
    EXPECT_EQ(p.land, 0xFFFB);
    EXPECT_EQ(p.fixPrice, 0x7FFFFFFFu);
    EXPECT_EQ(BuildPluRecord(RecordRow {}).itemNum, 0u) << "missing columns read as empty";
}

TEST(PluRecordTest, NamesNullZeroOrEmptyLeaveTheFieldEmpty)
{
    for (const char* name : { "", "NULL", "0" }) {
        const ByteBuffer payload = BuildPluRecord(ItemRow(name, name)).Payload();
        EXPECT_EQ(Hex(std::span(payload).subspan(2 + 50, 60)), Hex(ByteBuffer(60, 0))) << '"' << name << '"';
    }
}

TEST(PluRecordTest, LongNameIsCutBetweenCharacters)
{
    const std::string fifteen = "가나다라마바사아자차카타파하가"; // 30 CP949 bytes
    const ByteBuffer whole = BuildPluRecord(ItemRow(fifteen)).Payload();
    EXPECT_EQ(Hex(std::span(whole).subspan(52, 30)),
        "b0 a1 b3 aa b4 d9 b6 f3 b8 b6 b9 d9 bb e7 be c6 c0 da c2 f7 c4 ab c5 b8 c6 c4 c7 cf b0 a1");
    EXPECT_NE(ValuesOf(OneInsert(RecordKind::Item, whole)).find("'" + fifteen + "'"), std::string::npos)
        << "a name filling its field is read to the field's end";

    const ByteBuffer cut = BuildPluRecord(ItemRow("A" + fifteen)).Payload();
    EXPECT_EQ(cut[52], 'A');
    EXPECT_EQ(Hex(std::span(cut).subspan(52 + 27, 2)), "c7 cf") << "14 syllables fit";
    EXPECT_EQ(cut[52 + 29], 0x00) << "the 15th would be split: left out";
    EXPECT_NE(ValuesOf(OneInsert(RecordKind::Item, cut)).find("'A가나다라마바사아자차카타파하'"),
        std::string::npos);
}

TEST(PluRecordTest, QuoteInANameIsStoredIntact)
{
    const ByteBuffer payload = BuildPluRecord(ItemRow("Kim's", "O'Neil")).Payload();
    const std::string sql = OneInsert(RecordKind::Item, payload);
    EXPECT_NE(sql.find("'Kim''s', 'O''Neil'"), std::string::npos) << sql;
}

TEST(PluRecordTest, StoredItemFieldsPackLikeTheGridRow)
{
    const RecordRow grid = ItemRow("사과");
    const std::vector<std::string> fields(grid.begin() + 1, grid.end());
    EXPECT_EQ(Hex(BuildPluRecord(PluRowFromItemFields(fields)).Payload()), Hex(FromHex(kItemPayloadHex)));
}

// Every field of the record carries its own value, so that a field written
// at the place of another, or a byte off, shows.
TEST(PluRecordTest, EveryFieldHasItsOwnPlace)
{
    const RecordRow row { "List 1", "168496141", "Apple", "Pear", "1122867", "4478310", "1537", "1793",
        "1234567", "2305", "2561", "2817", "1", "3329", "3585", "3841" };
    const char* const payloadHex
        = "00 01 | 0d 0c 0b 0a | 01 06 | 01 0f | 66 55 44 00 | 01 09 | 33 22 11 00 | 00 00 00 00 | 01 0a |"
          "01 0b | 01 00 | 01 07 31 32 33 34 35 36 37 00 00 00 00 00 00 00 | 01 0d | 01 0e | 00 00 |"
          "41 70 70 6c 65 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 |"
          "50 65 61 72 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 | 00 00";
    EXPECT_EQ(Hex(BuildPluRecord(row).Payload()), Hex(FromHex(payloadHex)));

    std::vector<ReceivedRow> rows;
    ASSERT_TRUE(
        ParseReceivedRecord(RecordKind::Item, FromHex(payloadHex), kContext, RecordCarriage::Tcp, rows).ok());
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> expected { "168496141", "Apple", "Pear", "1122867", "4478310", "1537",
        "1793", "1234567", "2305", "2561", "2817", "1", "3329", "3585", "3841", "vexo" };
    EXPECT_EQ(rows[0].values, expected)
        << "item_num name name2 unitprice fix_price land pos_flg pos_code piece weight fmark pos_kind "
           "dateprint limit_day additem mg_id";
}

TEST(PluRecordTest, StoredItemRowTextPacksLikeTheGridRow)
{
    const std::string text
        = "1234\tjo/사과\tjo/NULL\tjo/1500\tjo/0\tjo/3\tjo/27\tjo/123\tjo/2\tjo/500\tjo/1\tjo/"
          "1\tjo/1\tjo/7\tjo/12\tjo/88\tjo/";
    const RecordRow row = PluRowFromStoredItem(text);
    const RecordRow expected { "", "1234", "사과", "", "1500", "", "3", "27", "123", "2", "500", "1", "1",
        "1", "7", "12" };
    EXPECT_EQ(row, expected) << "NULL and 0 count as empty; the ID after additem is not a column";
    EXPECT_EQ(Hex(BuildPluRecord(row).Payload()), Hex(FromHex(kItemPayloadHex)));
    EXPECT_EQ(PluRowFromStoredItem("FALSE"), (RecordRow { "", "FALSE" })) << "no stored row";
    EXPECT_EQ(PluRowFromStoredItem("5\tjo/a\tjo/b"), (RecordRow { "", "5", "a", "b" }));
}

// ---- scale settings ----------------------------------------------------------

TEST(ScaleSettingsRecordTest, ScaleInformationGoldenBytes)
{
    RecordRow row(20);
    for (std::size_t column = 1; column < row.size(); ++column)
        row[column] = std::to_string(100 + column);
    row[18] = "70000"; // password: low 16 bits only
    const ByteBuffer record = BuildScaleInfoRecord(row);
    ASSERT_EQ(record.size(), kScaleInfoRecordSize);
    EXPECT_EQ(Hex(record),
        Hex(FromHex("1f 01 | 00 00 00 00 | 70 11 00 00 | 65 00 | 66 00 | 67 00 | 75 00 | 00 00 |"
                    "77 00 | 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 |"
                    "68 00 69 00 6a 00 6b 00 6c 00 6d 00 6e 00 6f 00 70 00 71 00 | 00 00 |"
                    "72 00 73 00 74 00 |"
                    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")));
}

TEST(ScaleSettingsRecordTest, NetworkSettingsGoldenBytes)
{
    const RecordRow row { "", "1", "0", "7", "192.168.0.15", "255.255.255.0", "10", "1239" };
    const ByteBuffer record = BuildScaleRootInfoRecord(row);
    ASSERT_EQ(record.size(), kScaleRootInfoRecordSize);
    EXPECT_EQ(Hex(record),
        Hex(FromHex("20 01 | 00 00 00 00 | 01 00 | 00 00 | 30 37 | c0 a8 00 0f | ff ff ff 00 |"
                    "00 00 00 00 | d7 04 | 00 00 00 00")));
    const RecordRow distinct { "", "513", "770", "45", "1.2.3.4", "5.6.7.8", "9.10.11.12", "3342" };
    EXPECT_EQ(Hex(BuildScaleRootInfoRecord(distinct)),
        Hex(FromHex("20 01 | 00 00 00 00 | 01 02 | 02 03 | 34 35 | 01 02 03 04 | 05 06 07 08 | 09 0a 0b 0c |"
                    "0e 0d | 00 00 00 00")))
        << "every field at its own place";
}

TEST(ScaleSettingsRecordTest, MyIdKeepsTwoCharacters)
{
    auto myId = [](const char* text) {
        const ByteBuffer r = BuildScaleRootInfoRecord({ "", "", "", text });
        return Hex(std::span(r).subspan(10, 2));
    };
    EXPECT_EQ(myId("7"), "30 37");
    EXPECT_EQ(myId("12"), "31 32");
    EXPECT_EQ(myId("123"), "31 32");
    EXPECT_EQ(myId(""), "00 00");
}

// ---- user label --------------------------------------------------------------

RecordRow UserLabelRow()
{
    RecordRow row(50);
    row[1] = "7";
    row[2] = "100"; // item_nameX
    row[3] = "100"; // item_nameY
    row[4] = "5";
    row[22] = "2"; // barcode form
    row[23] = "75"; // barcodeLength
    row[40] = "1"; // advLine
    row[41] = "60"; // labelX
    row[42] = "50"; // labelY
    row[43] = "20"; // label_Gab
    row[47] = "8"; // vatpriceX
    return row;
}

TEST(UserLabelRecordTest, RowPacksIntoTheGoldenBytes)
{
    const ByteBuffer record = BuildUserLabelRecord(UserLabelRow()).Encode();
    ASSERT_EQ(record.size(), kUserLabelRecordSize);
    ByteBuffer expected = FromHex("04 01 | 07 00 00 00 | f4 01 | 3c 00 | 14 00 | 50 00 44 00 05 00");
    expected.resize(kUserLabelRecordSize);
    expected[52] = 2;
    expected[53] = 75;
    expected[92] = 1;
    expected[100] = 6;
    EXPECT_EQ(Hex(record), Hex(expected));
}

// Every grid column and every record field its own value: a field written at
// the place of another, or a byte off, shows in one direction or the other.
TEST(UserLabelRecordTest, EveryFieldHasItsOwnPlace)
{
    const RecordRow row { "", "16909060", "25", "333", "6", "55", "363", "9", "85", "393", "12", "115", "423",
        "15", "145", "453", "18", "175", "483", "21", "205", "513", "22", "23", "245", "553", "28", "275",
        "583", "31", "305", "613", "34", "335", "643", "37", "36", "375", "683", "41", "40", "141", "47",
        "143", "445", "753", "48", "475", "783", "51" };
    const char* const recordHex
        = "04 01 | 04 03 02 01 | d6 01 | 8d 00 | 8f 00 | 14 00 e5 00 06 00 | 2c 00 fa 00 09 00 |"
          "44 00 0f 01 0c 00 | 5c 00 23 01 0f 00 | 74 00 38 01 12 00 | 8c 00 4d 01 15 00 | a4 00 61 01 | 16 "
          "| 17 |"
          "c4 00 7d 01 1c 00 | dc 00 92 01 1f 00 | f4 00 a6 01 22 00 | 00 00 00 00 00 00 |"
          "0c 01 bb 01 25 00 24 00 | 2c 01 d7 01 29 00 28 00 | 64 01 07 02 30 00 | 7c 01 1c 02 33 00";
    EXPECT_EQ(Hex(BuildUserLabelRecord(row).Encode()), Hex(FromHex(recordHex)));

    std::vector<ReceivedRow> rows;
    ASSERT_TRUE(
        ParseReceivedRecord(RecordKind::UserLabel, FromHex(recordHex), kContext, RecordCarriage::Serial, rows)
            .ok());
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> expected { "16909060", "26", "333", "6", "56", "363", "9", "86", "393",
        "12", "116", "422", "15", "146", "453", "18", "176", "483", "21", "206", "512", "22", "23", "246",
        "553", "28", "276", "583", "31", "306", "612", "34", "336", "643", "37", "36", "376", "683", "41",
        "40", "141", "47", "143", "446", "753", "48", "476", "784", "51", "vexo" };
    EXPECT_EQ(rows[0].values, expected);
    ASSERT_EQ(ReceivedUserLabelColumns().size(), expected.size());
    EXPECT_STREQ(ReceivedUserLabelColumns()[24], "priceY");
    EXPECT_STREQ(ReceivedUserLabelColumns()[27], "item_numY");
    EXPECT_STREQ(ReceivedUserLabelColumns()[41], "labelY");
}

TEST(UserLabelRecordTest, UnitsConvertBothWays)
{
    EXPECT_EQ(LabelXToDots(100), 80);
    EXPECT_EQ(LabelXFromDots(80), 101);
    EXPECT_EQ(LabelYToDots(100), 68);
    EXPECT_EQ(LabelYFromDots(68), 99);
    EXPECT_EQ(LabelXToDots(1250), 1000);
    EXPECT_EQ(LabelYToDots(1450), 1000);
    EXPECT_EQ(LabelXFromDots(65535), (65535 * 125 / 100 + 1) & 0xFFFF) << "kept to 16 bits";
}

TEST(UserLabelRecordTest, ReceivedRecordBecomesTheUserLabelInsert)
{
    const std::string sql = OneInsert(RecordKind::UserLabel, BuildUserLabelRecord(UserLabelRow()).Encode());
    EXPECT_EQ(
        sql.rfind(
            "INSERT INTO [UserLabel]([file_num], [item_nameX], [item_nameY], [item_nameKind], [OriginX]", 0),
        0u);
    EXPECT_NE(sql.find("[barcodeY], [barcode form], [barcodeLength], [priceX]"), std::string::npos);
    EXPECT_NE(sql.find("[labelX], [labelY], [label_Gab], [vatX]"), std::string::npos);
    EXPECT_EQ(ValuesOf(sql),
        "VALUES('7', '101', '99', '5', '1', '1', '0', '1', '1', '0', '1', '1', '0', '1', '1', '0', "
        "'1', '1', '0', '1', '1', '2', '75', '1', '1', '0', '1', '1', '0', '1', '1', '0', "
        "'1', '1', '0', '0', '1', '1', '0', '1', '60', '50', '20', '1', '1', '0', '8', '1', '0', 'vexo')");
}

TEST(UserLabelRecordTest, DecodeReadsWhatEncodeWrote)
{
    UserLabelRecord u = BuildUserLabelRecord(UserLabelRow());
    u.saleMark = { 1, 2, 3 };
    UserLabelRecord back;
    ASSERT_TRUE(UserLabelRecord::Decode(u.Encode(), back));
    EXPECT_EQ(Hex(back.Encode()), Hex(u.Encode()));
    const ByteBuffer bytes = u.Encode();
    EXPECT_FALSE(UserLabelRecord::Decode(std::span(bytes).first(105), back));
}

// ---- text records ------------------------------------------------------------

TEST(TextRecordTest, RowsPackIntoTheGoldenBytes)
{
    struct Case {
        const char* name;
        TableCode table;
        RecordRow row;
        const char* hex;
    } cases[] = {
        { "add, empty cell skipped", TableCode::Add, { "", "5", "a", "", "b", "NULL" },
            "01 01 05 00 00 00 04 00 61 0d 0a 62" },
        { "add, one line", TableCode::Add,
            { "", "6", "only", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL" },
            "01 01 06 00 00 00 04 00 6f 6e 6c 79" },
        { "add, no number", TableCode::Add, { "", "", "lost" }, "01 01 00 00 00 00 00 00" },
        { "add, NULL number", TableCode::Add, { "", "NULL", "lost" }, "01 01 00 00 00 00 00 00" },
        { "advertisement", TableCode::AdvT, { "", "258", "x", "y", "not sent" },
            "02 01 02 01 00 00 04 00 78 0d 0a 79" },
        { "origin", TableCode::LandAdd, { "", "3", "국산", "not sent" },
            "05 01 03 00 00 00 04 00 b1 b9 bb ea" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hex(BuildTextRecord(c.table, c.row).Encode()), c.hex) << c.name;
}

TEST(TextRecordTest, TextIsBoundBetweenCharacters)
{
    RecordRow row { "", "1", std::string(1500, 'a'), std::string(1500, 'b') };
    const TextRecord wide = BuildTextRecord(TableCode::AdvT, row);
    EXPECT_EQ(wide.text.size(), kMaxTextRecordText);
    EXPECT_EQ(wide.Encode().size() + kPacketHeaderSize, kMaxPacketSize);

    row = { "", "1", "a" + std::string("가나다") };
    EXPECT_EQ(BuildTextRecord(TableCode::LandAdd, row, 4).text, "a\xb0\xa1") << "half a syllable is left out";
}

TEST(TextRecordTest, TextColumnsOfEachTable)
{
    const RecordRow row { "", "6", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k" };
    EXPECT_EQ(BuildTextRecord(TableCode::Add, row).text, "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj")
        << "columns 2 to 11";
    EXPECT_EQ(BuildTextRecord(TableCode::AdvT, row).text, "a\r\nb") << "columns 2 and 3";
    EXPECT_EQ(BuildTextRecord(TableCode::LandAdd, row).text, "a") << "column 2";
}

TEST(TextRecordTest, SerialTextsStopAtTheLinksTextBuffer)
{
    const RecordRow row { "", "8", std::string(700, 'a'), std::string(700, 'b'), std::string(700, 'c') };
    struct Case {
        RecordCarriage carriage;
        std::size_t bound;
        std::size_t text;
    } cases[]
        = { { RecordCarriage::Tcp, kMaxTextRecordText, 2104 - 68 }, { RecordCarriage::Serial, 1000, 1000 } };
    for (const Case& c : cases) {
        EXPECT_EQ(MaxRecordText(c.carriage), c.bound);
        const TextRecord record = BuildTextRecord(TableCode::Add, row, c.carriage);
        EXPECT_EQ(record.text.size(), c.text) << static_cast<int>(c.carriage);
        EXPECT_EQ(record.text.substr(700, 2), "\r\n");
        EXPECT_EQ(record.Encode().size(), kTextRecordHeadSize + c.text);
    }
}

TEST(TextRecordTest, ReceivedTextsBecomeTheirInserts)
{
    auto payload = [](std::uint8_t table, std::string_view text) {
        ByteBuffer p { table, 1, 9, 0, 0, 0 };
        PutU16LE(p, static_cast<std::uint16_t>(text.size()));
        p.insert(p.end(), text.begin(), text.end());
        return p;
    };
    EXPECT_EQ(OneInsert(RecordKind::Add, payload(1, "abc\r\n\r\ndef")),
        "INSERT INTO [Add]([num], [str1], [str2], [str3], [str4], [str5], [str6], [str7], [str8], [str9], "
        "[str10], [mg_id]) VALUES('9', 'abc', 'NULL', 'def', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', "
        "'NULL', 'vexo')");
    EXPECT_EQ(OneInsert(RecordKind::AdvT, payload(2, "one\r\n \r\nthree")),
        "INSERT INTO [AdvT]([adv_num], [str1], [str2], [mg_id]) VALUES('9', 'one', 'NULL', 'vexo')");
    EXPECT_EQ(OneInsert(RecordKind::LandAdd, payload(5, "x\ry\r\nz")),
        "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('9', 'x\ry', 'vexo')");
    EXPECT_EQ(ValuesOf(OneInsert(RecordKind::LandAdd, payload(5, "it's"))), "VALUES('9', 'it''s', 'vexo')");
    EXPECT_EQ(ValuesOf(OneInsert(RecordKind::LandAdd, payload(5, std::string_view("ab\0cd", 5)))),
        "VALUES('9', 'ab', 'vexo')");
    // A CR that ends the record stays in its line; the byte after the record
    // (an LF left in the buffer) is not read.
    ByteBuffer lastCr = payload(5, "x\r\n");
    lastCr.pop_back();
    EXPECT_EQ(ValuesOf(OneInsert(RecordKind::LandAdd, lastCr)), "VALUES('9', 'x\r', 'vexo')");
    EXPECT_EQ(ValuesOf(OneInsert(RecordKind::Add, payload(1, ""))),
        "VALUES('9', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', "
        "'vexo')");
}

TEST(TextRecordTest, SerialLinesAreCutTo99BytesBetweenCharactersTcpLinesAreWhole)
{
    std::string fifty; // 100 CP949 bytes
    std::string fiftyUtf8;
    for (int i = 0; i < 50; ++i) {
        fifty += "\xb0\xa1";
        fiftyUtf8 += "가";
    }
    const std::string fortyNine = fiftyUtf8.substr(0, fiftyUtf8.size() - std::string("가").size());
    const std::string z120(120, 'z');
    auto payload = [](std::uint8_t table, const std::string& text) {
        ByteBuffer p = BytesOf(std::string(8, '\0') + text);
        p[0] = table;
        p[1] = 1;
        p[2] = 3;
        return p;
    };
    struct Case {
        RecordKind kind;
        std::uint8_t table;
        RecordCarriage carriage;
        std::vector<std::string> expected; // values after the number, mg_id left out
    } cases[] = {
        { RecordKind::AdvT, 2, RecordCarriage::Serial, { fortyNine, std::string(99, 'z') } },
        { RecordKind::AdvT, 2, RecordCarriage::Tcp, { fiftyUtf8, z120 } },
        { RecordKind::LandAdd, 5, RecordCarriage::Serial, { fortyNine } },
        { RecordKind::LandAdd, 5, RecordCarriage::Tcp, { fiftyUtf8 } },
        { RecordKind::Add, 1, RecordCarriage::Serial,
            { fiftyUtf8, z120, "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL" } },
    };
    for (const Case& c : cases) {
        std::vector<ReceivedRow> rows;
        ASSERT_TRUE(
            ParseReceivedRecord(c.kind, payload(c.table, fifty + "\r\n" + z120), kContext, c.carriage, rows)
                .ok());
        ASSERT_EQ(rows.size(), 1u);
        std::vector<std::string> expected { "3" };
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        expected.push_back("vexo");
        EXPECT_EQ(rows[0].values, expected)
            << static_cast<int>(c.kind) << " carriage " << static_cast<int>(c.carriage);
    }
}

TEST(TextRecordTest, AddRowSentAndReceivedKeepsItsLines)
{
    RecordRow row { "", "4", "first" };
    row.resize(12, "NULL");
    const std::string sql = OneInsert(RecordKind::Add, BuildTextRecord(TableCode::Add, row).Encode());
    EXPECT_EQ(ValuesOf(sql),
        "VALUES('4', 'first', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', 'NULL', "
        "'NULL', 'vexo')");
}

// ---- preset page -------------------------------------------------------------

TEST(PresetPageTest, KeysPackIntoTheGoldenPage)
{
    std::vector<std::string> keys(kPresetKeyCount);
    keys[0] = "123\r\nApple";
    keys[1] = "9876543210";
    keys[59] = "77";
    const ByteBuffer page = BuildPresetPage(2, keys);
    ASSERT_EQ(page.size(), kPresetPageSize);
    EXPECT_EQ(Hex(std::span(page).first(24)),
        "03 01 02 00 00 00 7b 00 00 00 01 00 b1 68 de 3a 02 00 00 00 00 00 03 00");
    EXPECT_EQ(Hex(std::span(page).last(6)), "4d 00 00 00 3c 00");
}

TEST(PresetPageTest, ReceivedPageStoresOneRowPerKeyNumberedByPosition)
{
    std::vector<PresetEntry> entries;
    for (std::uint16_t k = 0; k < kPresetKeyCount; ++k)
        entries.push_back({ 1000u + k, static_cast<std::uint16_t>(500 + k) });
    ByteBuffer payload = EncodePresetPage(3, entries);
    payload.push_back(0xEE); // part of an entry: not read
    std::vector<std::string> statements;
    ASSERT_TRUE(
        ReceivedRecordSql(RecordKind::Preset, payload, kContext, RecordCarriage::Tcp, statements).ok());
    ASSERT_EQ(statements.size(), 60u);
    EXPECT_EQ(statements[0],
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('3', '1', '1000', 'vexo')");
    EXPECT_EQ(ValuesOf(statements[59]), "VALUES('3', '60', '1059', 'vexo')");
}

// ---- sales totals ------------------------------------------------------------

TEST(SalesTotalTest, ReceivedTotalsBecomeTheirInserts)
{
    const RecordContext serial { "m1", "2024-05-01", "07" };
    const ByteBuffer whole = FromHex("3d 01 | 00 00 00 00 | 05 00 | e8 07 | 03 | 09 | 00 00 | 39 30 00 00 |"
                                     "ff ff ff ff | 01 00 | 02 00 | 03 00 | 04 00");
    EXPECT_EQ(OneInsert(RecordKind::TotalResult, whole, serial),
        "INSERT INTO [TotalResult]([begin_day], [print_cnt], [total_weight], [total_price], [rev_day], "
        "[current_scale], [item_memory], [write_item_memory], [day_memory], [write_day_memory], [mg_id]) "
        "VALUES('2024-03-09', '5', '4294967295', '12345', '2024-05-01', '07', '1', '2', '3', '4', 'm1')");

    const ByteBuffer perItem = FromHex("3e 01 | 2a 00 00 00 | 01 00 | d0 07 | 0c | 1f | 00 00 | 0a 00 00 00 |"
                                       "14 00 00 00");
    EXPECT_EQ(OneInsert(RecordKind::TotalItemResult, perItem),
        "INSERT INTO [TotalItemResult]([num], [begin_day], [print_cnt], [total_weight], [total_price], "
        "[rev_day], [current_scale], [mg_id]) VALUES('42', '2000-12-31', '1', '20', '10', '2024-05-01', "
        "'192.168.0.15', 'vexo')");

    ByteBuffer perItemDay = perItem;
    perItemDay[0] = 0x3F;
    EXPECT_EQ(ValuesOf(OneInsert(RecordKind::TotalItemDay, perItemDay)),
        "VALUES('42', '2000-12-31', '1', '20', '10', '2024-05-01', '192.168.0.15', 'vexo')");
    EXPECT_NE(
        OneInsert(RecordKind::TotalItemDay, perItemDay).find("[num], [day], [print_cnt]"), std::string::npos);

    ByteBuffer perDay = perItem;
    perDay[0] = 0x40;
    EXPECT_EQ(OneInsert(RecordKind::TotalDayResult, perDay),
        "INSERT INTO [TotalDayResult]([day], [print_cnt], [total_weight], [total_price], [rev_day], "
        "[current_scale], [mg_id]) VALUES('2000-12-31', '1', '20', '10', '2024-05-01', '192.168.0.15', "
        "'vexo')")
        << "the day record's number is not stored";
}

TEST(SalesTotalTest, DatesPrintWithFourTwoAndTwoDigits)
{
    EXPECT_EQ(FormatDay(2024, 3, 9), "2024-03-09");
    EXPECT_EQ(FormatDay(999, 12, 1), " 999-12-01");
}

// ---- refused records ---------------------------------------------------------

TEST(ReceivedRecordTest, ShortOrForeignRecordsMakeNoStatement)
{
    struct Case {
        RecordKind kind;
        std::size_t length;
    } cases[] = {
        { RecordKind::Item, kPluPayloadSize },
        { RecordKind::UserLabel, kUserLabelRecordSize },
        { RecordKind::Add, 8 },
        { RecordKind::AdvT, 8 },
        { RecordKind::LandAdd, 8 },
        { RecordKind::Preset, 6 },
        { RecordKind::TotalResult, 30 },
        { RecordKind::TotalItemResult, 22 },
        { RecordKind::TotalItemDay, 22 },
        { RecordKind::TotalDayResult, 22 },
    };
    const std::uint8_t tables[] = { 0, 4, 1, 2, 5, 3, 0x3D, 0x3E, 0x3F, 0x40 };
    std::size_t i = 0;
    for (const Case& c : cases) {
        ByteBuffer payload(c.length, 0);
        payload[0] = tables[i++];
        payload[1] = 1;
        std::vector<std::string> statements { "stale" };
        EXPECT_TRUE(ReceivedRecordSql(c.kind, payload, kContext, RecordCarriage::Tcp, statements).ok())
            << static_cast<int>(c.kind);
        payload.pop_back();
        EXPECT_EQ(ReceivedRecordSql(c.kind, payload, kContext, RecordCarriage::Tcp, statements).Code(),
            IoCode::BadLength);
        EXPECT_TRUE(statements.empty());
        payload.push_back(0);
        payload[0] ^= 0x80;
        EXPECT_EQ(ReceivedRecordSql(c.kind, payload, kContext, RecordCarriage::Tcp, statements).Code(),
            IoCode::UnexpectedReply);
    }
}

} // namespace
