// The label tool's user-label record against the one the back-office program
// builds from the same values, and the way back.

#include <gtest/gtest.h>

#include <string>

#include "labeltool/label_record.h"
#include "protocol/scale_records.h"

namespace {

// The user-label grid row of the values: file number, then the columns in
// table order (positions in tenths, label length in millimetres).
RecordRow GridRow(const LabelValues& v, int fileNumber)
{
    RecordRow row { "", std::to_string(fileNumber) };
    const auto put = [&row, &v](std::initializer_list<int> indices) {
        for (int i : indices)
            row.push_back(std::to_string(v[static_cast<std::size_t>(i)]));
    };
    put({ 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24 });
    put({ 25, 26, 27, 28, 29, 30, 31, 32, 33, 37, 38, 39, 40, 41, 42, 43, 44, 1, 0, 2 });
    put({ 45, 46, 47, 48, 49, 50 });
    return row;
}

} // namespace

TEST(LabelRecordTest, EqualsTheSharedRecordApartFromTheMarkAndTheAdvertisementLines)
{
    LabelValues values {};
    for (int i = 0; i < kLabelValueCount; ++i)
        values[static_cast<std::size_t>(i)] = 100 + 13 * i;
    values[kValueLabelLength] = 44;
    values[kValueBarcodeOrientation] = 2;
    values[kValueBarcodeLength] = 75;
    values[ItemValueIndices(kItemAdvertisement).lines] = 0;
    const ByteBuffer ours = LabelRecordFromValues(values, 40000).Encode();
    const ByteBuffer shared = BuildUserLabelRecord(GridRow(values, 40000)).Encode();
    ASSERT_EQ(ours.size(), kUserLabelRecordSize);
    ASSERT_EQ(shared.size(), kUserLabelRecordSize);
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (!(i >= 72 && i < 78) && !(i >= 92 && i < 94)) {
            EXPECT_EQ(ours[i], shared[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(ours[6], 440 & 0xFF);
    EXPECT_EQ(ours[7], 440 >> 8);
    // The mark: X and Y in dots, its size index; the advertisement index 0 as 1.
    EXPECT_EQ(ours[72] | ours[73] << 8, LabelXToDots(values[34]));
    EXPECT_EQ(ours[74] | ours[75] << 8, LabelYToDots(values[35]));
    EXPECT_EQ(ours[76] | ours[77] << 8, values[36]);
    EXPECT_EQ(ours[92] | ours[93] << 8, 1);
}

TEST(LabelRecordTest, ARecordGivesBackItsValues)
{
    LabelValues values {};
    for (int i = 0; i < kLabelValueCount; ++i)
        values[static_cast<std::size_t>(i)] = 7 * i + 1;
    UserLabelRecord record = LabelRecordFromValues(values, 9);
    record.labelY = 445;
    record.advLine = 2;
    const LabelValues back = LabelValuesFromRecord(record);
    EXPECT_EQ(back[kValueLabelLength], 44);
    EXPECT_EQ(back[ItemValueIndices(kItemAdvertisement).lines], 1);
    EXPECT_EQ(back[kValueLabelWidth], values[kValueLabelWidth]);
    EXPECT_EQ(back[kValueBarcodeLength], values[kValueBarcodeLength]);
    for (int item = 0; item < kLabelItemCount; ++item) {
        const LabelItemValueIndices& at = ItemValueIndices(item);
        EXPECT_EQ(back[at.x], LabelXToDots(values[at.x]) * 125 / 100 + 1) << item;
        EXPECT_EQ(back[at.y], LabelYToDots(values[at.y]) * 145 / 100 + 1) << item;
        EXPECT_EQ(back[at.font], values[at.font]) << item;
    }
}

TEST(LabelRecordTest, ValuesBeyondTheirFieldsAreNamed)
{
    const LabelValues fits = [] {
        LabelValues v = DefaultLabelValues();
        v[kValueBarcodeLength] = 255;
        v[kValueLabelLength] = 6553;
        v[kValueLabelWidth] = 65535;
        v[kValueGap] = 0;
        return v;
    }();
    EXPECT_FALSE(LabelRecordMisfit(fits, 65535));
    struct Case {
        int value;
        int set;
        int fileNumber;
        const char* box;
    };
    const Case cases[] = {
        { kValueGap, 0, 65536, "Error - File Num is : 0 ~ 65535" },
        { kValueBarcodeLength, 256, 1, "Error - BarCode Length is : 0 ~ 255" },
        { kValueLabelLength, 6554, 1, "Error - Label Length is : 0 ~ 6553" },
        { kValueLabelWidth, 65536, 1, "Error - Label Width is : 0 ~ 65535" },
        { kValueGap, -1, 1, "Error - Edge is : 0 ~ 65535" },
    };
    for (const Case& c : cases) {
        LabelValues v = fits;
        v[static_cast<std::size_t>(c.value)] = c.set;
        EXPECT_STREQ(LabelRecordMisfit(v, c.fileNumber).value_or(""), c.box);
    }
}
