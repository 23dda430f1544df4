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

// The same members in tenths.
int CassetteTenths::*const kTenthsOrder[]
    = { &CassetteTenths::bottomExtra, &CassetteTenths::gap, &CassetteTenths::labelLength,
          &CassetteTenths::labelWidth, &CassetteTenths::leftExtra, &CassetteTenths::tphWidth };

// The dialog's bounds.
constexpr CassetteTenths kLowest { 0, 0, 561, 300, 300, 10 };
constexpr CassetteTenths kHighest { 50, 60, 561, 660, 1500, 50 };

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
    const CassetteTenths& lo = kLowest;
    const CassetteTenths& hi = kHighest;
    std::vector<CString> boxes;
    if (t.leftExtra < lo.leftExtra || t.leftExtra > hi.leftExtra)
        boxes.push_back(Format("Left extra is : 0 ~ %d. value : %d", hi.leftExtra, t.leftExtra));
    if (t.bottomExtra < lo.bottomExtra || t.bottomExtra > hi.bottomExtra)
        boxes.push_back(
            Format("Bottom extra is : %d ~ %d. value : %d", lo.bottomExtra, hi.bottomExtra, t.bottomExtra));
    if (t.tphWidth != lo.tphWidth)
        boxes.push_back(Format("TPH width is fixed : %d", lo.tphWidth));
    if (t.labelWidth < lo.labelWidth || t.labelWidth > hi.labelWidth)
        boxes.push_back(
            Format("Label width is : %d ~ %d. value : %d", lo.labelWidth, hi.labelWidth, t.labelWidth));
    if (t.labelLength < lo.labelLength || t.labelLength > hi.labelLength)
        boxes.push_back(
            Format("Label length is : %d ~ %d. value : %d", lo.labelLength, hi.labelLength, t.labelLength));
    if (t.gap < lo.gap || t.gap > hi.gap)
        boxes.push_back(Format("Label gab is : %d ~ %d. value : %d", lo.gap, hi.gap, t.gap));
    return boxes;
}

std::vector<CString> CheckCassetteGeometry(const CassetteGeometry& cassette)
{
    // A member counts as in range when it lies within the dots of the dialog's
    // bounds (tenths and dots do not map one to one); the others keep their
    // tenths for the box.
    const CassetteGeometry lo = CassetteFromTenths(kLowest);
    const CassetteGeometry hi = CassetteFromTenths(kHighest);
    CassetteTenths tenths = CassetteToTenths(cassette);
    for (std::size_t i = 0; i < std::size(kFileOrder); ++i) {
        const auto member = kFileOrder[i];
        if (cassette.*member >= lo.*member && cassette.*member <= hi.*member)
            tenths.*kTenthsOrder[i] = kLowest.*kTenthsOrder[i];
    }
    return CheckCassetteTenths(tenths);
}
