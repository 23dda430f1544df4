// The user-label record of the label values.

#include "labeltool/label_record.h"

namespace {

constexpr int kMaxU16 = 0xFFFF;

LabelFieldPosition PositionOf(const LabelValues& values, int item)
{
    const LabelItemValueIndices& at = ItemValueIndices(item);
    return { LabelXToDots(values[at.x]), LabelYToDots(values[at.y]),
        static_cast<std::uint16_t>(values[at.font]) };
}

void SetPosition(LabelValues& values, int item, const LabelFieldPosition& position)
{
    const LabelItemValueIndices& at = ItemValueIndices(item);
    values[at.x] = XTenthsFromDots(position.x);
    values[at.y] = YTenthsFromDots(position.y);
    values[at.font] = position.kind;
}

// The record's positions in item order (items 0 to 14; the barcode's is not one).
template <typename Record> auto Positions(Record& r)
{
    return std::array { &r.itemName, &r.origin, &r.packDate, &r.limitDate, &r.piecePrice, &r.weight,
        static_cast<decltype(&r.itemName)>(nullptr), &r.price, &r.itemNum, &r.count, &r.saleMark, &r.additem,
        &r.adv, &r.vat, &r.vatPrice };
}

} // namespace

UserLabelRecord LabelRecordFromValues(const LabelValues& values, int fileNumber)
{
    UserLabelRecord r;
    r.fileNum = static_cast<std::uint16_t>(fileNumber);
    r.labelY = static_cast<std::uint16_t>(values[kValueLabelLength] * 10);
    r.labelX = static_cast<std::uint16_t>(values[kValueLabelWidth]);
    r.labelGap = static_cast<std::uint16_t>(values[kValueGap]);
    const auto positions = Positions(r);
    for (int item = 0; item < kLabelItemCount; ++item)
        if (positions[static_cast<std::size_t>(item)])
            *positions[static_cast<std::size_t>(item)] = PositionOf(values, item);
    const LabelItemValueIndices& barcode = ItemValueIndices(kItemBarcode);
    r.barcodeX = LabelXToDots(values[barcode.x]);
    r.barcodeY = LabelYToDots(values[barcode.y]);
    r.barcodeForm = static_cast<std::uint8_t>(values[kValueBarcodeOrientation]);
    r.barcodeLength = static_cast<std::uint8_t>(values[kValueBarcodeLength]);
    r.additemLine = static_cast<std::uint16_t>(values[ItemValueIndices(kItemAddition).lines]);
    r.advLine = static_cast<std::uint16_t>(values[ItemValueIndices(kItemAdvertisement).lines] + 1);
    return r;
}

LabelValues LabelValuesFromRecord(const UserLabelRecord& record)
{
    LabelValues values {};
    values[kValueLabelLength] = record.labelY / 10;
    values[kValueLabelWidth] = record.labelX;
    values[kValueGap] = record.labelGap;
    const auto positions = Positions(record);
    for (int item = 0; item < kLabelItemCount; ++item)
        if (positions[static_cast<std::size_t>(item)])
            SetPosition(values, item, *positions[static_cast<std::size_t>(item)]);
    const LabelItemValueIndices& barcode = ItemValueIndices(kItemBarcode);
    values[barcode.x] = XTenthsFromDots(record.barcodeX);
    values[barcode.y] = YTenthsFromDots(record.barcodeY);
    values[kValueBarcodeOrientation] = record.barcodeForm;
    values[kValueBarcodeLength] = record.barcodeLength;
    values[ItemValueIndices(kItemAddition).lines] = record.additemLine;
    values[ItemValueIndices(kItemAdvertisement).lines] = record.advLine - 1;
    return values;
}

std::optional<const char*> LabelRecordMisfit(const LabelValues& values, int fileNumber)
{
    const auto outside = [](int value, int most) { return value < 0 || value > most; };
    if (outside(fileNumber, kMaxU16))
        return "Error - File Num is : 0 ~ 65535";
    if (outside(values[kValueBarcodeLength], 0xFF))
        return "Error - BarCode Length is : 0 ~ 255";
    if (outside(values[kValueLabelLength], kMaxU16 / 10))
        return "Error - Label Length is : 0 ~ 6553";
    if (outside(values[kValueLabelWidth], kMaxU16))
        return "Error - Label Width is : 0 ~ 65535";
    if (outside(values[kValueGap], kMaxU16))
        return "Error - Edge is : 0 ~ 65535";
    return std::nullopt;
}
