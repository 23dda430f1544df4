#pragma once
// Helpers of the spreadsheet tests: a second, independent reader of .xls
// files (Debian's python3-xlrd) and a walker over BIFF records.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/compound_header.h"

// One line per fact of the workbook at path, as xlrd reads it:
//   "S <name>"                                  a sheet, in order
//   "C <row> <col> <ctype> <bold> <value>"      a cell that is not empty (from 0)
//   "W <col> <width>"                           a column width, 1/256 character
// ctype: 1 text, 2 number, 3 date, 4 boolean, 5 error, 6 blank. A number
// value is Python's repr of the float ("12.5", "1.0"). "ERROR ..." when xlrd
// cannot read the file.
inline std::string XlrdDump(const std::string& path)
{
    static const char* kScript = R"PY(
import sys, xlrd
try:
    b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
except Exception as e:
    print("ERROR", e)
    sys.exit(0)
for s in b.sheets():
    print("S", s.name)
    for r in range(s.nrows):
        for c in range(s.ncols):
            cell = s.cell(r, c)
            if cell.ctype == 0:
                continue
            font = b.font_list[b.xf_list[cell.xf_index].font_index]
            v = cell.value
            if cell.ctype in (2, 3):
                v = repr(float(v))
            print("C", r, c, cell.ctype, 1 if font.bold else 0, v)
    for col in sorted(s.colinfo_map):
        print("W", col, s.colinfo_map[col].width)
)PY";
    const std::string command = "/usr/bin/python3 -c '" + std::string(kScript) + "' '" + path + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer {};
        std::size_t n = 0;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            out.append(buffer.data(), n);
        pclose(pipe);
    }
    return out;
}

// True when dump holds line as a whole line.
inline ::testing::AssertionResult HasLine(const std::string& dump, const std::string& line)
{
    if (("\n" + dump).find("\n" + line + "\n") != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no line \"" << line << "\" in:\n" << dump;
}

struct BiffRecord {
    std::size_t offset = 0; // of the record header in the stream
    std::uint16_t type = 0;
    std::vector<std::uint8_t> data;
};

// The records of a BIFF stream; stops at a record that runs past the end.
inline std::vector<BiffRecord> WalkRecords(const std::vector<std::uint8_t>& stream)
{
    std::vector<BiffRecord> records;
    std::size_t pos = 0;
    while (pos + 4 <= stream.size()) {
        BiffRecord record;
        record.offset = pos;
        record.type = static_cast<std::uint16_t>(stream[pos] | (stream[pos + 1] << 8));
        const std::size_t length = static_cast<std::size_t>(stream[pos + 2] | (stream[pos + 3] << 8));
        if (pos + 4 + length > stream.size())
            break;
        record.data.assign(stream.begin() + static_cast<std::ptrdiff_t>(pos + 4),
            stream.begin() + static_cast<std::ptrdiff_t>(pos + 4 + length));
        records.push_back(std::move(record));
        pos += 4 + length;
    }
    return records;
}

inline std::uint16_t U16At(const std::vector<std::uint8_t>& data, std::size_t offset)
{
    return static_cast<std::uint16_t>(data.at(offset) | (data.at(offset + 1) << 8));
}

inline std::uint32_t U32At(const std::vector<std::uint8_t>& data, std::size_t offset)
{
    return static_cast<std::uint32_t>(U16At(data, offset))
        | (static_cast<std::uint32_t>(U16At(data, offset + 2)) << 16);
}

// A BIFF record: type, length, data.
inline std::vector<std::uint8_t> BiffRecordBytes(std::uint16_t type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out = { static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(type >> 8),
        static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(data.size() >> 8) };
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// A FORMULA record at (row, column) with the default cell format, no
// tokens and its 8-byte stored result.
inline std::vector<std::uint8_t> FormulaRecord(
    std::uint16_t row, std::uint16_t column, const std::vector<std::uint8_t>& result)
{
    std::vector<std::uint8_t> data = { static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(row >> 8),
        static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(column >> 8), 15, 0 };
    data.insert(data.end(), result.begin(), result.end());
    data.resize(data.size() + 8, 0); // flags, chain, token length 0
    return BiffRecordBytes(0x0006, data);
}

// The stored result of a formula that is no number: 0 text (in the STRING
// record after it), 1 boolean, 2 error code, 3 empty text.
inline std::vector<std::uint8_t> FormulaResult(std::uint8_t kind, std::uint8_t value)
{
    return { kind, 0, value, 0, 0, 0, 0xFF, 0xFF };
}

inline std::vector<std::uint8_t> NumberResult(double value)
{
    std::vector<std::uint8_t> out;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return out;
}

// Puts records at the end of worksheet `sheet` (from 0) of a workbook
// stream, before its EOF, and moves the later sheets' positions.
inline void InsertIntoSheet(
    std::vector<std::uint8_t>& stream, std::size_t sheet, const std::vector<std::uint8_t>& records)
{
    const std::vector<BiffRecord> all = WalkRecords(stream);
    std::vector<const BiffRecord*> bounds;
    for (const BiffRecord& record : all)
        if (record.type == 0x0085)
            bounds.push_back(&record);
    ASSERT_LT(sheet, bounds.size());
    const std::size_t start = U32At(bounds[sheet]->data, 0);
    std::size_t at = 0;
    for (const BiffRecord& record : all)
        if (record.offset > start && record.type == 0x000A) {
            at = record.offset;
            break;
        }
    ASSERT_NE(at, 0u);
    for (const BiffRecord* bound : bounds) {
        const std::uint32_t position = U32At(bound->data, 0);
        if (position > at) {
            const std::uint32_t moved = position + static_cast<std::uint32_t>(records.size());
            for (int i = 0; i < 4; ++i)
                stream[bound->offset + 4 + static_cast<std::size_t>(i)]
                    = static_cast<std::uint8_t>(moved >> (8 * i));
        }
    }
    stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(at), records.begin(), records.end());
}

// The stream with records put before its first sheet entry, the sheets'
// positions moved past them.
inline std::vector<std::uint8_t> WithGlobals(
    const std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& records)
{
    std::size_t at = 0;
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x0085 && at == 0)
            at = record.offset;
    std::vector<std::uint8_t> out = stream;
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), records.begin(), records.end());
    for (const BiffRecord& record : WalkRecords(out))
        if (record.type == 0x0085) {
            const std::uint32_t moved = U32At(record.data, 0) + static_cast<std::uint32_t>(records.size());
            for (int i = 0; i < 4; ++i)
                out[record.offset + 4 + static_cast<std::size_t>(i)]
                    = static_cast<std::uint8_t>(moved >> (8 * i));
        }
    return out;
}

// A worksheet entry "Item" at a position of the stream as it is now.
inline std::vector<std::uint8_t> SheetEntry(std::uint32_t position)
{
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<std::uint8_t>(position >> (8 * i)));
    for (std::uint8_t b : std::initializer_list<std::uint8_t> { 0, 0, 4, 0, 'I', 't', 'e', 'm' })
        data.push_back(b);
    return BiffRecordBytes(0x0085, data);
}

// A LABEL record of BIFF5 at (row, column): the text's bytes as they stand
// (in the workbook's code page) behind a 16-bit count.
inline std::vector<std::uint8_t> Biff5Label(std::uint16_t row, std::uint16_t column, const std::string& bytes)
{
    std::vector<std::uint8_t> data = { static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(row >> 8),
        static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(column >> 8), 15, 0,
        static_cast<std::uint8_t>(bytes.size()), static_cast<std::uint8_t>(bytes.size() >> 8) };
    data.insert(data.end(), bytes.begin(), bytes.end());
    return BiffRecordBytes(0x0204, data);
}

// A BIFF5 (Excel 5/95) workbook stream: globals with CODEPAGE codePage, the
// records given and one entry per sheet (its name's bytes in the code page),
// then each sheet holding its records; padded as Excel pads it.
struct Biff5Sheet {
    std::string name;
    std::vector<std::uint8_t> records;
};
inline std::vector<std::uint8_t> Biff5Stream(std::uint16_t codePage, const std::vector<Biff5Sheet>& sheets,
    const std::vector<std::uint8_t>& globals = {})
{
    auto bof = [](std::uint8_t kind) {
        std::vector<std::uint8_t> data = { 0x00, 0x05, kind, 0x00 };
        data.resize(8, 0);
        return BiffRecordBytes(0x0809, data);
    };
    const std::vector<std::uint8_t> eof = BiffRecordBytes(0x000A, {});
    std::vector<std::uint8_t> out = bof(0x05);
    for (const auto& record :
        { BiffRecordBytes(
              0x0042, { static_cast<std::uint8_t>(codePage), static_cast<std::uint8_t>(codePage >> 8) }),
            globals })
        out.insert(out.end(), record.begin(), record.end());
    std::size_t position = out.size() + eof.size();
    for (const Biff5Sheet& sheet : sheets)
        position += 4 + 7 + sheet.name.size();
    for (const Biff5Sheet& sheet : sheets) {
        std::vector<std::uint8_t> entry;
        for (int i = 0; i < 4; ++i)
            entry.push_back(static_cast<std::uint8_t>(position >> (8 * i)));
        entry.insert(entry.end(), { 0, 0, static_cast<std::uint8_t>(sheet.name.size()) });
        entry.insert(entry.end(), sheet.name.begin(), sheet.name.end());
        const std::vector<std::uint8_t> record = BiffRecordBytes(0x0085, entry);
        out.insert(out.end(), record.begin(), record.end());
        position += bof(0x10).size() + sheet.records.size() + eof.size();
    }
    out.insert(out.end(), eof.begin(), eof.end());
    for (const Biff5Sheet& sheet : sheets) {
        const std::vector<std::uint8_t> start = bof(0x10);
        out.insert(out.end(), start.begin(), start.end());
        out.insert(out.end(), sheet.records.begin(), sheet.records.end());
        out.insert(out.end(), eof.begin(), eof.end());
    }
    out.resize(std::max<std::size_t>(out.size(), 4096), 0); // out of the compound file's small-stream area
    return out;
}
