// Cassette geometry: file bytes, tenths of a millimetre and the dialog checks.

#include "labeltool/cassette.h"

#include "labeltool/label_file.h"
#include "labeltool/label_values.h"

namespace {

constexpr std::size_t kValuesOffset = 4;
constexpr std::uint32_t kSummedBytes = 12;
constexpr int kLabelOriginX = 16;
constexpr int kLabelOriginY = 27;

// The members in file order.
std::uint16_t CassetteGeometry::*const kFileOrder[]
    = { &CassetteGeometry::bottomExtra, &CassetteGeometry::gap, &CassetteGeometry::labelLength,
          &CassetteGeometry::labelWidth, &CassetteGeometry::leftExtra, &CassetteGeometry::tphWidth };

CString Format(const char* format, int a, int b = 0, int c = 0)
{
    CString text;
    text.Format(format, a, b, c);
    return text;
}

} // namespace

CPoint LabelOrigin(const CassetteGeometry& cassette)
{
    return CPoint(cassette.leftExtra + kLabelOriginX, kLabelOriginY - cassette.bottomExtra);
}

ByteBuffer EncodeCassetteFile(const CassetteGeometry& cassette)
{
    ByteBuffer out;
    out.reserve(kCassetteFileSize);
    PutU16LE(out, kCassetteFileType);
    PutU16LE(out, kCassetteFileVersion);
    for (auto member : kFileOrder)
        PutU16LE(out, cassette.*member);
    PutU32LE(out, ByteSum(out.data() + kValuesOffset, kSummedBytes));
    return out;
}

CassetteFileError DecodeCassetteFile(std::span<const std::uint8_t> bytes, CassetteGeometry& cassette)
{
    ByteReader reader(bytes);
    std::uint16_t type = 0;
    std::uint16_t version = 0;
    if (!reader.GetU16LE(type) || type != kCassetteFileType)
        return CassetteFileError::Type;
    if (!reader.GetU16LE(version) || version != kCassetteFileVersion)
        return CassetteFileError::Version;
    CassetteGeometry read;
    for (auto member : kFileOrder)
        if (!reader.GetU16LE(read.*member))
            return CassetteFileError::ValueCut;
    std::uint32_t sum = 0;
    if (!reader.GetU32LE(sum) || sum != ByteSum(bytes.data() + kValuesOffset, kSummedBytes))
        return CassetteFileError::Sum;
    cassette = read;
    return CassetteFileError::None;
}

const char* CassetteFileErrorText(CassetteFileError error)
{
    switch (error) {
    case CassetteFileError::Type:
        return "Unkown Casette Type. Error!";
    case CassetteFileError::Version:
        return "Unkown Version Type. Error!";
    case CassetteFileError::ValueCut:
        return "Broken data file. Error1!";
    case CassetteFileError::Sum:
        return "Broken data file. Error2!";
    case CassetteFileError::None:
        break;
    }
    return "";
}

CassetteTenths CassetteToTenths(const CassetteGeometry& cassette)
{
    return { XTenthsFromDots(cassette.leftExtra), YTenthsFromDots(cassette.bottomExtra),
        XTenthsFromDots(cassette.tphWidth), XTenthsFromDots(cassette.labelWidth),
        YTenthsFromDots(cassette.labelLength), YTenthsFromDots(cassette.gap) };
}

CassetteGeometry CassetteFromTenths(const CassetteTenths& tenths)
{
    CassetteGeometry cassette;
    cassette.leftExtra = static_cast<std::uint16_t>(XDotsFromTenths(tenths.leftExtra));
    cassette.bottomExtra = static_cast<std::uint16_t>(YDotsFromTenths(tenths.bottomExtra));
    cassette.tphWidth = static_cast<std::uint16_t>(XDotsFromTenths(tenths.tphWidth));
    cassette.labelWidth = static_cast<std::uint16_t>(XDotsFromTenths(tenths.labelWidth));
    cassette.labelLength = static_cast<std::uint16_t>(YDotsFromTenths(tenths.labelLength));
    cassette.gap = static_cast<std::uint16_t>(YDotsFromTenths(tenths.gap));
    return cassette;
}

std::vector<CString> CheckCassetteTenths(const CassetteTenths& t)
{
    std::vector<CString> boxes;
    if (t.leftExtra < 0 || t.leftExtra > 50)
        boxes.push_back(Format("Left extra is : 0 ~ %d. value : %d", 50, t.leftExtra));
    if (t.bottomExtra < 0 || t.bottomExtra > 60)
        boxes.push_back(Format("Bottom extra is : %d ~ %d. value : %d", 0, 60, t.bottomExtra));
    if (t.tphWidth != 561)
        boxes.push_back(Format("TPH width is fixed : %d", 561));
    if (t.labelWidth < 300 || t.labelWidth > 660)
        boxes.push_back(Format("Label width is : %d ~ %d. value : %d", 300, 660, t.labelWidth));
    if (t.labelLength < 300 || t.labelLength > 1500)
        boxes.push_back(Format("Label length is : %d ~ %d. value : %d", 300, 1500, t.labelLength));
    if (t.gap < 10 || t.gap > 50)
        boxes.push_back(Format("Label gab is : %d ~ %d. value : %d", 10, 50, t.gap));
    return boxes;
}
