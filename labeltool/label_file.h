#pragma once
// The label file (.ubl), 112 bytes, little-endian:
//
//   0   u16  file type 0x0119
//   2   u16  version 0x0200
//   4   u16  value 0 (label length) again; not checked on reading
//   6   u16 x 51  the label values, low 16 bits each (read back zero-extended)
//   108 u32  byte sum of offsets 6..57 (values 0 to 25; 26 to 50 are not covered)

#include <cstdint>
#include <span>

#include "labeltool/label_values.h"
#include "platform/base/bytes.h"

inline constexpr std::uint16_t kLabelFileType = 0x0119;
inline constexpr std::uint16_t kLabelFileVersion = 0x0200;
inline constexpr std::size_t kLabelFileSize = 112;

// Sum of count bytes (count taken as 16 bits; 0 gives 0). Also sums link frames.
std::uint32_t ByteSum(const std::uint8_t* bytes, std::uint32_t count);

ByteBuffer EncodeLabelFile(const LabelValues& values);

enum class LabelFileError { None, Type, Version, CopyCut, ValueCut, Sum };

// Reads a label file; values changes only when the file is sound.
[[nodiscard]] LabelFileError DecodeLabelFile(std::span<const std::uint8_t> bytes, LabelValues& values);

// The box text of a reading error.
const char* LabelFileErrorText(LabelFileError error);
