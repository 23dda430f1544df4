// The label and cassette files: exact bytes, every reading error, and the
// cassette dialog's rules and units.

#include <gtest/gtest.h>

#include "labeltool/cassette.h"
#include "labeltool/label_file.h"

namespace {

ByteBuffer Cut(ByteBuffer bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

} // namespace

TEST(LabelFile, DefaultBytesAndSum)
{
    const LabelValues defaults = { 40, 60, 20, 1, 8, 5, 1, 99, 5, 1, 147, 2, 146, 147, 2, 291, 147, 5, 436,
        147, 5, 18, 198, 0, 75, 343, 286, 9, 493, 195, 2, 316, 147, 2, 1, 1, 1, 18, 23, 0, 0, 1, 346, 1, 1,
        334, 240, 5, 334, 195, 5 };
    EXPECT_EQ(DefaultLabelValues(), defaults);
    const ByteBuffer bytes = EncodeLabelFile(DefaultLabelValues());
    ASSERT_EQ(bytes.size(), kLabelFileSize);
    const ByteBuffer head(bytes.begin(), bytes.begin() + 14);
    // type, version, the label length copy, then values 0 to 3 (40, 60, 20, 1).
    EXPECT_EQ(head, (ByteBuffer { 0x19, 0x01, 0x00, 0x02, 40, 0, 40, 0, 60, 0, 20, 0, 1, 0 }));
    // Value 50 last before the sum; the sum covers values 0 to 25.
    EXPECT_EQ(bytes[106], 5);
    EXPECT_EQ(bytes[108] | bytes[109] << 8 | bytes[110] << 16 | bytes[111] << 24, 1584);
    LabelValues read {};
    ASSERT_EQ(DecodeLabelFile(bytes, read), LabelFileError::None);
    EXPECT_EQ(read, DefaultLabelValues());
}

TEST(LabelFile, ValuesAreSixteenBitsAndTheSumSkipsTheLaterHalf)
{
    LabelValues values = DefaultLabelValues();
    values[30] = 70000;
    ByteBuffer bytes = EncodeLabelFile(values);
    LabelValues read {};
    ASSERT_EQ(DecodeLabelFile(bytes, read), LabelFileError::None);
    EXPECT_EQ(read[30], 4464);
    // Values 26 to 50 may change without the sum noticing; value 25 may not.
    bytes[6 + 2 * 26] ^= 0x7F;
    bytes[6 + 2 * 50] ^= 0x01;
    ASSERT_EQ(DecodeLabelFile(bytes, read), LabelFileError::None);
    EXPECT_EQ(read[50], 4);
    bytes[6 + 2 * 25] ^= 0x01;
    EXPECT_EQ(DecodeLabelFile(bytes, read), LabelFileError::Sum);
}

TEST(LabelFile, EveryReadingErrorLeavesTheValues)
{
    const ByteBuffer good = EncodeLabelFile(DefaultLabelValues());
    ByteBuffer wrongType = good;
    wrongType[0] = 0x18;
    ByteBuffer wrongVersion = good;
    wrongVersion[3] = 0x01;
    ByteBuffer wrongSum = good;
    wrongSum[110] = 1;
    const struct {
        ByteBuffer bytes;
        LabelFileError error;
        const char* text;
    } cases[] = {
        { wrongType, LabelFileError::Type, "Unknow Label Type. Error!" },
        { Cut(good, 1), LabelFileError::Type, "Unknow Label Type. Error!" },
        { wrongVersion, LabelFileError::Version, "Unknow Label Version. Error!" },
        { Cut(good, 5), LabelFileError::CopyCut, "Broken Data File. Error1!" },
        { Cut(good, 6), LabelFileError::ValueCut, "Broken Data File. Error2!" },
        { Cut(good, 107), LabelFileError::ValueCut, "Broken Data File. Error2!" },
        { Cut(good, 111), LabelFileError::Sum, "Broken Data File. Error3!" },
        { wrongSum, LabelFileError::Sum, "Broken Data File. Error3!" },
    };
    for (const auto& c : cases) {
        LabelValues values {};
        values[0] = 77;
        const LabelFileError error = DecodeLabelFile(c.bytes, values);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_STREQ(LabelFileErrorText(error), c.text);
        EXPECT_EQ(values[0], 77);
    }
}

TEST(LabelFile, ByteSumCountsSixteenBits)
{
    ByteBuffer bytes(70000, 1);
    EXPECT_EQ(ByteSum(bytes.data(), 3), 3u);
    EXPECT_EQ(ByteSum(bytes.data(), 0), 0u);
    EXPECT_EQ(ByteSum(bytes.data(), 65537), 1u);
}

TEST(CassetteFile, DefaultBytesSumAndErrors)
{
    const ByteBuffer bytes = EncodeCassetteFile(CassetteGeometry {});
    EXPECT_EQ(bytes,
        (ByteBuffer { 0x17, 0x02, 0x00, 0x02, 0x00, 0x00, 0x0D, 0x00, 0x0C, 0x01, 0xE0, 0x01, 0x08, 0x00,
            0xC0, 0x01, 0xC4, 0x01, 0x00, 0x00 }));
    CassetteGeometry custom;
    custom.leftExtra = 40;
    custom.tphWidth = 1;
    CassetteGeometry read;
    ASSERT_EQ(DecodeCassetteFile(EncodeCassetteFile(custom), read), CassetteFileError::None);
    EXPECT_EQ(read, custom);
    ByteBuffer wrongType = bytes;
    wrongType[1] = 3;
    ByteBuffer wrongVersion = bytes;
    wrongVersion[2] = 1;
    ByteBuffer wrongSum = bytes;
    wrongSum[4] = 1;
    const struct {
        ByteBuffer bytes;
        CassetteFileError error;
        const char* text;
    } cases[] = {
        { wrongType, CassetteFileError::Type, "Unkown Casette Type. Error!" },
        { wrongVersion, CassetteFileError::Version, "Unkown Version Type. Error!" },
        { Cut(bytes, 4), CassetteFileError::ValueCut, "Broken data file. Error1!" },
        { Cut(bytes, 15), CassetteFileError::ValueCut, "Broken data file. Error1!" },
        { Cut(bytes, 19), CassetteFileError::Sum, "Broken data file. Error2!" },
        { wrongSum, CassetteFileError::Sum, "Broken data file. Error2!" },
    };
    for (const auto& c : cases) {
        CassetteGeometry kept = custom;
        const CassetteFileError error = DecodeCassetteFile(c.bytes, kept);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_STREQ(CassetteFileErrorText(error), c.text);
        EXPECT_EQ(kept, custom);
    }
}

TEST(CassetteDialogRules, TenthsAndTheSixChecks)
{
    const CassetteTenths shown = CassetteToTenths(CassetteGeometry {});
    EXPECT_EQ(std::vector<int>({ shown.leftExtra, shown.bottomExtra, shown.tphWidth, shown.labelWidth,
                  shown.labelLength, shown.gap }),
        std::vector<int>({ 11, 1, 561, 601, 389, 19 }));
    // The shown values come back as the same dots.
    EXPECT_EQ(CassetteFromTenths(shown), CassetteGeometry {});
    EXPECT_TRUE(CheckCassetteTenths(shown).empty());
    CassetteTenths bad = shown;
    bad.leftExtra = 51;
    bad.gap = 5;
    EXPECT_EQ(CheckCassetteTenths(bad),
        std::vector<CString>({ "Left extra is : 0 ~ 50. value : 51", "Label gab is : 10 ~ 50. value : 5" }));
    const CassetteTenths edges[] = {
        { -1, 61, 560, 299, 1501, 51 },
        { 51, -1, 562, 661, 299, 9 },
    };
    for (const CassetteTenths& t : edges)
        EXPECT_EQ(CheckCassetteTenths(t).size(), 6u);
    EXPECT_EQ(CheckCassetteTenths({ 0, 0, 561, 300, 300, 10 }).size(), 0u);
    EXPECT_EQ(CheckCassetteTenths({ 50, 60, 561, 660, 1500, 50 }).size(), 0u);
    EXPECT_EQ(
        CheckCassetteTenths({ 0, -1, 561, 300, 300, 10 }).front(), "Bottom extra is : 0 ~ 60. value : -1");
    EXPECT_EQ(CheckCassetteTenths({ 0, 0, 1, 300, 300, 10 }).front(), "TPH width is fixed : 561");
    EXPECT_EQ(
        CheckCassetteTenths({ 0, 0, 561, 1, 300, 10 }).front(), "Label width is : 300 ~ 660. value : 1");
    EXPECT_EQ(
        CheckCassetteTenths({ 0, 0, 561, 300, 1, 10 }).front(), "Label length is : 300 ~ 1500. value : 1");
}

TEST(LabelUnits, LabelLengthRoundTripsThroughDots)
{
    // 40 mm is 268 dots; the length sent back for 268 dots is 40 again.
    EXPECT_EQ(LabelLengthDots(40), 268);
    EXPECT_EQ(LabelLengthMillimetres(268), 40);
    for (int mm = 25; mm <= 150; ++mm)
        EXPECT_EQ(LabelLengthMillimetres(LabelLengthDots(mm)), mm) << mm;
    EXPECT_EQ(XDotsFromTenths(10), 8);
    EXPECT_EQ(YDotsFromTenths(10), 6);
    EXPECT_EQ(XDotsFromTenths(-10), -8);
    EXPECT_EQ(XTenthsFromDots(80), 101);
    EXPECT_EQ(YTenthsFromDots(68), 99);
}

TEST(LabelUnits, FontCells)
{
    const CSize cells[] = { { 8, 16 }, { 8, 32 }, { 16, 16 }, { 16, 24 }, { 16, 32 }, { 16, 48 }, { 32, 32 },
        { 32, 48 }, { 18, 40 } };
    for (int font = 1; font <= 9; ++font) {
        EXPECT_EQ(CSize(GetFontCellSize(font, 0), GetFontCellSize(font, 1)), cells[font - 1]) << font;
        EXPECT_EQ(AddCellHeights(100, font, 3), 100 + 3 * cells[font - 1].cy);
        EXPECT_EQ(AddCellHeight(100, font), 100 + cells[font - 1].cy);
    }
    for (int font : { 0, 10, -1 }) {
        EXPECT_EQ(GetFontCellSize(font, 0), 0);
        EXPECT_EQ(GetFontCellSize(font, 1), 0);
        EXPECT_EQ(AddCellHeight(7, font), 7);
    }
}
