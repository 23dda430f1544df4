#include "platform/sheet/biff8_writer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/base/file_system.h"

namespace {

// Record types.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodepage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::uint16_t kDefColWidth = 0x0055;
constexpr std::uint16_t kColInfo = 0x007D;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kBlank = 0x0201;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kWindow2 = 0x023E;

constexpr std::size_t kMaxRecordData = 8224;

// BOF fields.
constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::uint16_t kBofGlobals = 0x0005;
constexpr std::uint16_t kBofWorksheet = 0x0010;
constexpr std::uint16_t kBuildId = 0x0DBB;
constexpr std::uint16_t kBuildYear = 0x07CC;
constexpr std::uint32_t kLowestVersion = 0x00000006;

constexpr std::uint16_t kCodepageUtf16 = 1200;
constexpr std::uint16_t kFontHeightTwips = 200; // 10 points
constexpr std::uint16_t kColourAutomatic = 0x7FFF;
constexpr std::uint16_t kWeightNormal = 400;
constexpr std::uint16_t kWeightBold = 700;
constexpr const char* kFontName = "Arial";

// Built-in number formats.
constexpr std::uint16_t kFormatGeneral = 0;
constexpr std::uint16_t kFormatCurrency = 7;
constexpr std::uint16_t kFormatDate = 14; // m/d/yy
constexpr std::uint16_t kFormatTime = 21; // h:mm:ss
constexpr std::uint16_t kFormatDateTime = 22; // m/d/yy h:mm

constexpr std::uint16_t kStyleXfCount = 15;
constexpr std::uint16_t kDefaultCellXf = 15;
constexpr std::uint16_t kXfColours = 0x20C0; // pattern colours 64 and 65 (system)

// Window2 flags: grid lines, headers, zeros, automatic grid colour, outline
// symbols; the first sheet is selected and shown.
constexpr std::uint16_t kWindow2Flags = 0x00B6;
constexpr std::uint16_t kWindow2FirstSheet = 0x0600;
// ColInfo flags: width set by the user, fitted to the content.
constexpr std::uint16_t kColInfoFitted = 0x0006;

void PutRecord(ByteBuffer& out, std::uint16_t type, const ByteBuffer& data)
{
    PutU16LE(out, type);
    PutU16LE(out, static_cast<std::uint16_t>(data.size()));
    PutBytes(out, data);
}

void PutDouble(ByteBuffer& out, double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    PutU32LE(out, static_cast<std::uint32_t>(bits));
    PutU32LE(out, static_cast<std::uint32_t>(bits >> 32));
}

bool NeedsHighBytes(const std::vector<std::uint16_t>& units)
{
    return std::any_of(units.begin(), units.end(), [](std::uint16_t u) { return u > 0xFF; });
}

void PutUnits(
    ByteBuffer& out, const std::vector<std::uint16_t>& units, std::size_t first, std::size_t count, bool high)
{
    for (std::size_t i = first; i < first + count; ++i) {
        if (high)
            PutU16LE(out, units[i]);
        else
            PutU8(out, static_cast<std::uint8_t>(units[i]));
    }
}

// A string with an 8-bit character count (sheet and font names).
void PutShortString(ByteBuffer& out, const CString& text, std::size_t maxUnits)
{
    std::vector<std::uint16_t> units = Utf8ToUtf16(text);
    if (units.size() > maxUnits)
        units.resize(maxUnits);
    const bool high = NeedsHighBytes(units);
    PutU8(out, static_cast<std::uint8_t>(units.size()));
    PutU8(out, high ? 1 : 0);
    PutUnits(out, units, 0, units.size(), high);
}

std::uint16_t NumberFormatOf(const COleVariant& value)
{
    if (value.vt == VT_CY)
        return kFormatCurrency;
    if (value.vt != VT_DATE)
        return kFormatGeneral;
    const double whole = std::trunc(value.date);
    if (value.date == whole)
        return kFormatDate;
    return whole == 0.0 ? kFormatTime : kFormatDateTime;
}

// The cell formats in use: XF 15 is (normal, General); others follow.
class CellFormats {
public:
    std::uint16_t IndexOf(bool bold, std::uint16_t format)
    {
        const auto key = std::make_pair(bold, format);
        if (!bold && format == kFormatGeneral)
            return kDefaultCellXf;
        auto it = m_index.find(key);
        if (it != m_index.end())
            return it->second;
        const auto index = static_cast<std::uint16_t>(kDefaultCellXf + 1 + m_order.size());
        m_index.emplace(key, index);
        m_order.push_back(key);
        return index;
    }
    const std::vector<std::pair<bool, std::uint16_t>>& Extra() const { return m_order; }

private:
    std::map<std::pair<bool, std::uint16_t>, std::uint16_t> m_index;
    std::vector<std::pair<bool, std::uint16_t>> m_order;
};

void PutXf(ByteBuffer& out, std::uint16_t font, std::uint16_t format, bool style, std::uint8_t usedFlags)
{
    ByteBuffer data;
    PutU16LE(data, font);
    PutU16LE(data, format);
    // Locked; a style format has no parent (0xFFF), a cell format the Normal style.
    PutU16LE(data, style ? 0xFFF5 : 0x0001);
    PutU8(data, 0x20); // general alignment, bottom
    PutU8(data, 0); // no rotation
    PutU8(data, 0); // no indent
    PutU8(data, usedFlags);
    PutU32LE(data, 0); // no borders
    PutU32LE(data, 0);
    PutU16LE(data, kXfColours);
    PutRecord(out, kXf, data);
}

void PutFont(ByteBuffer& out, bool bold)
{
    ByteBuffer data;
    PutU16LE(data, kFontHeightTwips);
    PutU16LE(data, bold ? 0x0001 : 0x0000);
    PutU16LE(data, kColourAutomatic);
    PutU16LE(data, bold ? kWeightBold : kWeightNormal);
    PutU16LE(data, 0); // no super- or subscript
    PutU8(data, 0); // no underline
    PutU8(data, 0); // family
    PutU8(data, 0); // character set
    PutU8(data, 0);
    PutShortString(data, kFontName, 255);
    PutRecord(out, kFont, data);
}

// Writes the shared string table: SST then CONTINUE records as the strings
// need, and EXTSST with the position of every dsst-th string.
class SstWriter {
public:
    explicit SstWriter(ByteBuffer& out)
        : m_out(out)
    { }

    void Write(const std::vector<CString>& strings, std::uint32_t references)
    {
        m_dsst = std::max<std::size_t>(8, (strings.size() + 127) / 128);
        Begin(kSst);
        PutU32LE(m_out, references);
        PutU32LE(m_out, static_cast<std::uint32_t>(strings.size()));
        m_used = 8;
        for (std::size_t i = 0; i < strings.size(); ++i)
            PutString(strings[i], i % m_dsst == 0);
        Finish();

        ByteBuffer ext;
        PutU16LE(ext, static_cast<std::uint16_t>(m_dsst));
        for (const auto& [position, offset] : m_buckets) {
            PutU32LE(ext, position);
            PutU16LE(ext, offset);
            PutU16LE(ext, 0);
        }
        PutRecord(m_out, kExtSst, ext);
    }

private:
    std::size_t Room() const { return kMaxRecordData - m_used; }

    void Begin(std::uint16_t type)
    {
        m_recordStart = m_out.size();
        PutU16LE(m_out, type);
        PutU16LE(m_out, 0);
        m_used = 0;
    }
    void Finish() { StoreU16LE(m_out, m_recordStart + 2, static_cast<std::uint16_t>(m_used)); }
    void Continue()
    {
        Finish();
        Begin(kContinue);
    }

    void PutString(const CString& text, bool bucketStart)
    {
        std::vector<std::uint16_t> units = Utf8ToUtf16(text);
        if (units.size() > static_cast<std::size_t>(kCellTextMax))
            units.resize(kCellTextMax);
        const bool high = NeedsHighBytes(units);
        const std::size_t unitSize = high ? 2 : 1;
        // The count, the options and the first character stay in one record.
        if (Room() < 3 + unitSize)
            Continue();
        if (bucketStart)
            m_buckets.emplace_back(static_cast<std::uint32_t>(m_out.size()),
                static_cast<std::uint16_t>(m_out.size() - m_recordStart));
        PutU16LE(m_out, static_cast<std::uint16_t>(units.size()));
        PutU8(m_out, high ? 1 : 0);
        m_used += 3;
        std::size_t done = 0;
        while (done < units.size()) {
            if (Room() < unitSize) {
                Continue();
                PutU8(m_out, high ? 1 : 0);
                m_used += 1;
            }
            const std::size_t count = std::min(units.size() - done, Room() / unitSize);
            PutUnits(m_out, units, done, count, high);
            m_used += count * unitSize;
            done += count;
        }
    }

    ByteBuffer& m_out;
    std::size_t m_recordStart = 0;
    std::size_t m_used = 0;
    std::size_t m_dsst = 8;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> m_buckets;
};

void PutBof(ByteBuffer& out, std::uint16_t kind)
{
    ByteBuffer data;
    PutU16LE(data, kBiff8Version);
    PutU16LE(data, kind);
    PutU16LE(data, kBuildId);
    PutU16LE(data, kBuildYear);
    PutU32LE(data, 0);
    PutU32LE(data, kLowestVersion);
    PutRecord(out, kBof, data);
}

void PutEof(ByteBuffer& out)
{
    PutRecord(out, kEof, {});
}

void PutCellHeader(ByteBuffer& data, long row, long column, std::uint16_t xf)
{
    PutU16LE(data, static_cast<std::uint16_t>(row));
    PutU16LE(data, static_cast<std::uint16_t>(column));
    PutU16LE(data, xf);
}

bool InSheet(long row, long column)
{
    return row >= 0 && row < kSheetMaxRows && column >= 0 && column < kSheetMaxColumns;
}

void PutWorksheet(ByteBuffer& out, const SheetData& sheet, bool first, CellFormats& formats,
    const std::map<CString, std::uint32_t>& sst)
{
    PutBof(out, kBofWorksheet);
    {
        ByteBuffer data;
        PutU16LE(data, 8);
        PutRecord(out, kDefColWidth, data);
    }
    for (const auto& [column, width] : sheet.columnWidths) {
        if (column < 0 || column >= kSheetMaxColumns)
            continue;
        ByteBuffer data;
        PutU16LE(data, static_cast<std::uint16_t>(column));
        PutU16LE(data, static_cast<std::uint16_t>(column));
        PutU16LE(data, static_cast<std::uint16_t>(std::clamp<long>(width, 0, 0xFFFF)));
        PutU16LE(data, kDefaultCellXf);
        PutU16LE(data, kColInfoFitted);
        PutU16LE(data, 0);
        PutRecord(out, kColInfo, data);
    }

    long firstRow = kSheetMaxRows, lastRow = -1, firstColumn = kSheetMaxColumns, lastColumn = -1;
    for (const auto& [position, cell] : sheet.cells) {
        if (!InSheet(position.first, position.second))
            continue;
        firstRow = std::min(firstRow, position.first);
        lastRow = std::max(lastRow, position.first);
        firstColumn = std::min(firstColumn, position.second);
        lastColumn = std::max(lastColumn, position.second);
    }
    ByteBuffer dimensions;
    if (lastRow < 0) {
        firstRow = lastRow = -1;
        firstColumn = lastColumn = -1;
    }
    PutU32LE(dimensions, static_cast<std::uint32_t>(firstRow + (lastRow < 0 ? 1 : 0)));
    PutU32LE(dimensions, static_cast<std::uint32_t>(lastRow + 1));
    PutU16LE(dimensions, static_cast<std::uint16_t>(firstColumn + (lastColumn < 0 ? 1 : 0)));
    PutU16LE(dimensions, static_cast<std::uint16_t>(lastColumn + 1));
    PutU16LE(dimensions, 0);
    PutRecord(out, kDimensions, dimensions);

    for (const auto& [position, cell] : sheet.cells) {
        const auto [row, column] = position;
        if (!InSheet(row, column))
            continue;
        const std::uint16_t xf = formats.IndexOf(cell.bold != FALSE, NumberFormatOf(cell.value));
        ByteBuffer data;
        PutCellHeader(data, row, column, xf);
        switch (cell.value.vt) {
        case VT_BSTR:
            PutU32LE(data, sst.at(cell.value.bstrVal));
            PutRecord(out, kLabelSst, data);
            break;
        case VT_R8:
        case VT_DATE:
            PutDouble(data, cell.value.dblVal);
            PutRecord(out, kNumber, data);
            break;
        case VT_CY:
            PutDouble(data, static_cast<double>(cell.value.cyVal.int64) / 10000.0);
            PutRecord(out, kNumber, data);
            break;
        case VT_BOOL:
            PutU8(data, cell.value.boolVal ? 1 : 0);
            PutU8(data, 0);
            PutRecord(out, kBoolErr, data);
            break;
        case VT_ERROR:
            PutU8(data, static_cast<std::uint8_t>((cell.value.lVal & 0xFFFF) - 2000));
            PutU8(data, 1);
            PutRecord(out, kBoolErr, data);
            break;
        default:
            PutRecord(out, kBlank, data);
            break;
        }
    }

    ByteBuffer window;
    PutU16LE(window, first ? kWindow2Flags | kWindow2FirstSheet : kWindow2Flags);
    PutU16LE(window, 0); // top row
    PutU16LE(window, 0); // left column
    PutU16LE(window, 0x40); // grid line colour: system window text
    PutU16LE(window, 0);
    PutU16LE(window, 0); // zoom of the page break preview: default
    PutU16LE(window, 0); // zoom of the normal view: default
    PutU32LE(window, 0);
    PutRecord(out, kWindow2, window);
    PutEof(out);
}

} // namespace

ByteBuffer BuildWorkbookStream(const WorkbookData& book)
{
    // Shared strings in the order of their first use.
    std::vector<CString> strings;
    std::map<CString, std::uint32_t> sst;
    std::uint32_t references = 0;
    for (const SheetData& sheet : book.sheets)
        for (const auto& [position, cell] : sheet.cells)
            if (cell.value.vt == VT_BSTR && InSheet(position.first, position.second)) {
                ++references;
                if (sst.emplace(cell.value.bstrVal, static_cast<std::uint32_t>(strings.size())).second)
                    strings.push_back(cell.value.bstrVal);
            }

    // The cell formats in use, gathered by writing the sheets once.
    CellFormats formats;
    std::vector<ByteBuffer> sheets;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        ByteBuffer sheet;
        PutWorksheet(sheet, book.sheets[i], i == 0, formats, sst);
        sheets.push_back(std::move(sheet));
    }

    ByteBuffer out;
    PutBof(out, kBofGlobals);
    {
        ByteBuffer data;
        PutU16LE(data, kCodepageUtf16);
        PutRecord(out, kCodepage, data);
    }
    {
        ByteBuffer data;
        PutU16LE(data, 0x0168); // window position and size, in twips
        PutU16LE(data, 0x001E);
        PutU16LE(data, 0x3A98);
        PutU16LE(data, 0x2328);
        PutU16LE(data, 0x0038); // scroll bars and sheet tabs shown
        PutU16LE(data, 0); // active sheet
        PutU16LE(data, 0); // first visible tab
        PutU16LE(data, 1); // selected sheets
        PutU16LE(data, 0x0258); // tab bar width ratio (600 of 1000)
        PutRecord(out, kWindow1, data);
    }
    {
        ByteBuffer data;
        PutU16LE(data, 0); // dates count from 1900
        PutRecord(out, kDateMode, data);
    }
    PutFont(out, false);
    PutFont(out, true);
    PutFont(out, false);
    PutFont(out, false);
    PutXf(out, 0, kFormatGeneral, true, 0x00);
    for (int i = 1; i < kStyleXfCount; ++i)
        PutXf(out, 0, kFormatGeneral, true, 0xF4);
    PutXf(out, 0, kFormatGeneral, false, 0x00);
    for (const auto& [bold, format] : formats.Extra())
        PutXf(out, bold ? 1 : 0, format, false,
            static_cast<std::uint8_t>((bold ? 0x08 : 0) | (format != kFormatGeneral ? 0x04 : 0)));
    {
        ByteBuffer data;
        PutU16LE(data, 0x8000); // built-in style on XF 0
        PutU8(data, 0); // Normal
        PutU8(data, 0xFF);
        PutRecord(out, kStyle, data);
    }
    std::vector<std::size_t> positionFields;
    for (const SheetData& sheet : book.sheets) {
        ByteBuffer data;
        PutU32LE(data, 0); // stream position of the sheet's BOF, set below
        PutU8(data, 0); // visible
        PutU8(data, 0); // worksheet
        PutShortString(data, sheet.name, kSheetNameMax);
        positionFields.push_back(out.size() + 4);
        PutRecord(out, kBoundSheet, data);
    }
    SstWriter(out).Write(strings, references);
    PutEof(out);

    for (std::size_t i = 0; i < sheets.size(); ++i) {
        StoreU32LE(out, positionFields[i], static_cast<std::uint32_t>(out.size()));
        PutBytes(out, sheets[i]);
    }
    return out;
}

BOOL WriteWorkbookFile(const CString& path, const WorkbookData& book, CString* error)
{
    return WriteWorkbookStreamFile(path, BuildWorkbookStream(book), error);
}

BOOL WriteWorkbookStreamFile(const CString& path, const ByteBuffer& stream, CString* error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    auto fail = [error](const CString& text) { return SheetFailure(error, text); };
    if (SheetFilePath(path, error).empty())
        return FALSE;

    // The compound file is built in memory and saved as any file of the
    // program: through "<file>.tmp-<process>-XXXXXX" beside it, which a later
    // save removes when its process was killed before the rename.
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* compound = gsf_outfile_msole_new(sink);
    // The root storage carries the class of an Excel workbook.
    static const guint8 kWorkbookClass[16]
        = { 0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 };
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(compound), kWorkbookClass);
    GsfOutput* child = gsf_outfile_new_child(compound, "Workbook", FALSE);
    bool ok = child && gsf_output_write(child, stream.size(), stream.data());
    if (child) {
        ok = gsf_output_close(child) && ok;
        g_object_unref(child);
    }
    ok = gsf_output_close(GSF_OUTPUT(compound)) && ok;
    g_object_unref(compound);
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
    const std::span<const std::uint8_t> file(
        bytes, bytes ? static_cast<std::size_t>(gsf_output_size(sink)) : 0);
    CFileException failure;
    ok = ok && WriteFileAtomically(path, file, &failure);
    g_object_unref(sink);
    if (!ok)
        return fail(failure.m_lOsError != 0 ? CString(g_strerror(failure.m_lOsError))
                                            : CString("The file cannot be written."));
    return TRUE;
}
