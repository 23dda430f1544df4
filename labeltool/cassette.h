#pragma once
// The cassette geometry in preview dots, its file (.cst) and the dialog's
// checks in tenths of a millimetre.
//
// Cassette file, 20 bytes, little-endian:
//   0  u16  file type 0x0217
//   2  u16  version 0x0200
//   4  u16  bottom extra     6  u16  gap            8  u16  label length
//   10 u16  label width      12 u16  left extra     14 u16  TPH width
//   16 u32  byte sum of offsets 4..15

#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "platform/base/geometry.h"

inline constexpr std::uint16_t kCassetteFileType = 0x0217;
inline constexpr std::uint16_t kCassetteFileVersion = 0x0200;
inline constexpr std::size_t kCassetteFileSize = 20;

struct CassetteGeometry {
    std::uint16_t leftExtra = 8; // across
    std::uint16_t bottomExtra = 0; // along
    std::uint16_t tphWidth = 448; // across
    std::uint16_t labelWidth = 480; // across
    std::uint16_t labelLength = 268; // along
    std::uint16_t gap = 13; // along

    bool operator==(const CassetteGeometry&) const = default;
};

// Where the preview puts the label's origin.
CPoint LabelOrigin(const CassetteGeometry& cassette);

ByteBuffer EncodeCassetteFile(const CassetteGeometry& cassette);

enum class CassetteFileError { None, Type, Version, ValueCut, Sum };

// Reads a cassette file; cassette changes only when the file is sound.
[[nodiscard]] CassetteFileError DecodeCassetteFile(
    std::span<const std::uint8_t> bytes, CassetteGeometry& cassette);
const char* CassetteFileErrorText(CassetteFileError error);

// The six values in tenths of a millimetre, as the dialog shows them.
struct CassetteTenths {
    int leftExtra = 0;
    int bottomExtra = 0;
    int tphWidth = 0;
    int labelWidth = 0;
    int labelLength = 0;
    int gap = 0;
};
CassetteTenths CassetteToTenths(const CassetteGeometry& cassette);
CassetteGeometry CassetteFromTenths(const CassetteTenths& tenths);

// The dialog's checks in order; one box text per failed rule.
std::vector<CString> CheckCassetteTenths(const CassetteTenths& tenths);
// The same checks of a geometry in dots (a file's): empty when the dialog could
// have given every member.
std::vector<CString> CheckCassetteGeometry(const CassetteGeometry& cassette);
