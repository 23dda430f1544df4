// Label file bytes.

#include "labeltool/label_file.h"

namespace {

constexpr std::size_t kValuesOffset = 6;
constexpr std::uint32_t kSummedBytes = 26 * 2;

} // namespace

std::uint32_t ByteSum(const std::uint8_t* bytes, std::uint32_t count)
{
    const std::uint16_t n = static_cast<std::uint16_t>(count);
    std::uint32_t sum = 0;
    for (std::uint16_t i = 0; i < n; ++i)
        sum += bytes[i];
    return sum;
}

ByteBuffer EncodeLabelFile(const LabelValues& values)
{
    ByteBuffer out;
    out.reserve(kLabelFileSize);
    PutU16LE(out, kLabelFileType);
    PutU16LE(out, kLabelFileVersion);
    PutU16LE(out, static_cast<std::uint16_t>(values[kValueLabelLength]));
    for (int value : values)
        PutU16LE(out, static_cast<std::uint16_t>(value));
    PutU32LE(out, ByteSum(out.data() + kValuesOffset, kSummedBytes));
    return out;
}

LabelFileError DecodeLabelFile(std::span<const std::uint8_t> bytes, LabelValues& values)
{
    ByteReader reader(bytes);
    std::uint16_t type = 0;
    std::uint16_t version = 0;
    std::uint16_t copy = 0;
    if (!reader.GetU16LE(type) || type != kLabelFileType)
        return LabelFileError::Type;
    if (!reader.GetU16LE(version) || version != kLabelFileVersion)
        return LabelFileError::Version;
    if (!reader.GetU16LE(copy))
        return LabelFileError::CopyCut;
    LabelValues read {};
    for (int& value : read) {
        std::uint16_t word = 0;
        if (!reader.GetU16LE(word))
            return LabelFileError::ValueCut;
        value = word;
    }
    std::uint32_t sum = 0;
    if (!reader.GetU32LE(sum) || sum != ByteSum(bytes.data() + kValuesOffset, kSummedBytes))
        return LabelFileError::Sum;
    values = read;
    return LabelFileError::None;
}

const char* LabelFileErrorText(LabelFileError error)
{
    switch (error) {
    case LabelFileError::Type:
        return "Unknow Label Type. Error!";
    case LabelFileError::Version:
        return "Unknow Label Version. Error!";
    case LabelFileError::CopyCut:
        return "Broken Data File. Error1!";
    case LabelFileError::ValueCut:
        return "Broken Data File. Error2!";
    case LabelFileError::Sum:
        return "Broken Data File. Error3!";
    case LabelFileError::None:
        break;
    }
    return "";
}
