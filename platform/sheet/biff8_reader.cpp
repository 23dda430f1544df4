#include "platform/sheet/biff8_reader.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>

#include "platform/dao/ole_date_time.h"

namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::uint16_t kBiff5Version = 0x0500;
constexpr std::uint16_t kGlobalsKind = 0x0005;
constexpr std::uint8_t kWorksheetKind = 0;

using Bytes = std::span<const std::uint8_t>;

struct Record {
    std::uint16_t type = 0;
    Bytes data;
    std::size_t next = 0;
};

bool RecordAt(const ByteBuffer& stream, std::size_t offset, Record& record)
{
    if (offset > stream.size() || stream.size() - offset < 4)
        return false;
    const std::size_t length = static_cast<std::size_t>(stream[offset + 2] | (stream[offset + 3] << 8));
    if (stream.size() - offset - 4 < length)
        return false;
    record.type = static_cast<std::uint16_t>(stream[offset] | (stream[offset + 1] << 8));
    record.data = Bytes(stream).subspan(offset + 4, length);
    record.next = offset + 4 + length;
    return true;
}

// The data of a record and of the CONTINUE records after it, read as one
// run of bytes, except that string characters cut at a record boundary go on
// after a new options byte.
class ContinuedData {
public:
    ContinuedData(const ByteBuffer& stream, const Record& first)
    {
        m_segments.push_back(first.data);
        Record record;
        std::size_t offset = first.next;
        while (RecordAt(stream, offset, record) && record.type == kContinue) {
            m_segments.push_back(record.data);
            offset = record.next;
        }
    }

    bool GetU8(std::uint8_t& value)
    {
        while (m_segment < m_segments.size() && m_offset == m_segments[m_segment].size())
            NextSegment();
        if (m_segment >= m_segments.size())
            return false;
        value = m_segments[m_segment][m_offset++];
        return true;
    }
    bool GetU16(std::uint16_t& value)
    {
        std::uint8_t low = 0, high = 0;
        if (!GetU8(low) || !GetU8(high))
            return false;
        value = static_cast<std::uint16_t>(low | (high << 8));
        return true;
    }
    bool GetU32(std::uint32_t& value)
    {
        std::uint16_t low = 0, high = 0;
        if (!GetU16(low) || !GetU16(high))
            return false;
        value = low | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }
    bool Skip(std::size_t count)
    {
        std::uint8_t ignored = 0;
        for (std::size_t i = 0; i < count; ++i)
            if (!GetU8(ignored))
                return false;
        return true;
    }

    // A BIFF5 string: a 16-bit byte count (8-bit when shortCount), then the
    // bytes in the workbook's code page.
    bool GetByteString(std::string& bytes, bool shortCount = false)
    {
        std::uint16_t count = 0;
        std::uint8_t count8 = 0;
        if (shortCount ? !GetU8(count8) : !GetU16(count))
            return false;
        if (shortCount)
            count = count8;
        bytes.clear();
        for (std::uint8_t byte = 0; bytes.size() < count; bytes.push_back(static_cast<char>(byte)))
            if (!GetU8(byte))
                return false;
        return true;
    }

    // A string with a 16-bit character count (8-bit when shortCount).
    bool GetString(CString& text, bool shortCount = false)
    {
        std::uint16_t count = 0;
        std::uint8_t count8 = 0, options = 0;
        if (shortCount ? !GetU8(count8) : !GetU16(count))
            return false;
        if (shortCount)
            count = count8;
        if (!GetU8(options))
            return false;
        std::uint16_t runs = 0;
        std::uint32_t extSize = 0;
        if (((options & 0x08) && !GetU16(runs)) || ((options & 0x04) && !GetU32(extSize)))
            return false;
        std::vector<std::uint16_t> units;
        units.reserve(count);
        bool wide = options & 0x01;
        while (units.size() < count) {
            // Characters cut by a CONTINUE go on after a new options byte.
            if (m_segment < m_segments.size() && m_offset == m_segments[m_segment].size()) {
                if (!GetU8(options))
                    return false;
                wide = options & 0x01;
            }
            std::uint8_t low = 0, high = 0;
            if (!GetU8(low) || (wide && !GetU8(high)))
                return false;
            units.push_back(static_cast<std::uint16_t>(low | (high << 8)));
        }
        text = Utf16ToUtf8(units);
        return Skip(std::size_t { runs } * 4) && Skip(extSize);
    }

private:
    void NextSegment()
    {
        ++m_segment;
        m_offset = 0;
    }

    std::vector<Bytes> m_segments;
    std::size_t m_segment = 0;
    std::size_t m_offset = 0;
};

std::uint16_t U16(Bytes data, std::size_t offset)
{
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

std::uint32_t U32(Bytes data, std::size_t offset)
{
    return U16(data, offset) | (static_cast<std::uint32_t>(U16(data, offset + 2)) << 16);
}

double Double(Bytes data, std::size_t offset)
{
    const std::uint64_t bits = U32(data, offset) | (static_cast<std::uint64_t>(U32(data, offset + 4)) << 32);
    return std::bit_cast<double>(bits);
}

double RkValue(std::uint32_t rk)
{
    double value = (rk & 0x02) ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                               : std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    if (rk & 0x01)
        value /= 100.0;
    return value;
}

COleVariant BoolErrValue(std::uint8_t value, bool isError)
{
    if (!isError)
        return COleVariant(static_cast<SHORT>(value ? 1 : 0), VT_BOOL);
    switch (value) {
    case 0x00:
    case 0x07:
    case 0x0F:
    case 0x17:
    case 0x1D:
    case 0x24:
    case 0x2A:
        return COleVariant(static_cast<LONG>(0x800A0000u | (2000u + value)), VT_ERROR);
    default:
        return COleVariant(kCellErrorNA, VT_ERROR);
    }
}

// TRUE for a number format that shows a date or a time: one with a day,
// month, year, hour or second code outside quotes, escapes and brackets, or
// an elapsed-time bracket ([h], [mm], [ss]).
bool IsDateFormatText(const CString& format)
{
    const std::string& s = format.Str();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            i = s.find('"', i + 1);
            if (i == std::string::npos)
                return false;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const std::size_t close = s.find(']', i + 1);
            if (close == std::string::npos)
                return false;
            const std::string inner = s.substr(i + 1, close - i - 1);
            if (!inner.empty() && inner.find_first_not_of("hHmMsS") == std::string::npos)
                return true;
            i = close;
        } else if (std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

bool IsBuiltInDateFormat(std::uint16_t format)
{
    return (format >= 14 && format <= 22) || (format >= 45 && format <= 47);
}

// Bytes of a code page as UTF-8: a byte that is no character of it becomes
// '?'. Known() is false for a code page this system has no table for.
class CodePageText {
public:
    explicit CodePageText(std::uint16_t codePage)
        : m_cd(iconv_open("UTF-8", IconvName(codePage).c_str()))
    { }
    ~CodePageText()
    {
        if (m_cd != kNoConverter)
            iconv_close(m_cd);
    }
    CodePageText(const CodePageText&) = delete;
    CodePageText& operator=(const CodePageText&) = delete;

    bool Known() const { return m_cd != kNoConverter; }

    CString Convert(const std::string& bytes) const
    {
        std::string out;
        if (m_cd == kNoConverter)
            return CString(bytes);
        // The converter starts afresh: every conversion ends with a flush.
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char buffer[256];
        while (inLeft > 0) {
            char* to = buffer;
            std::size_t toLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &to, &toLeft);
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                // Not a character of the code page, or cut at the end.
                Flush(out);
                out.push_back('?');
                ++in;
                --inLeft;
            }
        }
        Flush(out);
        return CString(out);
    }

private:
    static inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

    static std::string IconvName(std::uint16_t codePage)
    {
        switch (codePage) {
        case 367:
            return "ASCII";
        case 10000:
        case 0x8000:
            return "MACINTOSH";
        case 0x8001:
            return "CP1252";
        default:
            return "CP" + std::to_string(codePage);
        }
    }

    // Writes what the converter holds back (a letter that a combining mark
    // might still follow, in 1255 and 1258) and starts it afresh.
    void Flush(std::string& out) const
    {
        char buffer[32];
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
    }

    iconv_t m_cd;
};

struct SheetEntry {
    CString name;
    std::size_t position = 0;
};

// What the globals hold for the sheets.
struct Globals {
    bool date1904 = false;
    std::map<std::uint16_t, bool> customDateFormats; // format index -> shows a date
    std::vector<std::uint16_t> xfFormats; // XF index -> format index
    std::vector<CString> strings; // the shared string table
    std::vector<SheetEntry> sheets;
    bool biff5 = false; // Excel 5/95: byte strings in codePage, no shared strings
    std::uint16_t codePage = 1252;
    std::unique_ptr<CodePageText> text; // made at the first byte string

    CString Text(const std::string& bytes)
    {
        if (!text)
            text = std::make_unique<CodePageText>(codePage);
        return text->Convert(bytes);
    }

    bool IsDateXf(std::uint16_t xf) const
    {
        if (xf >= xfFormats.size())
            return false;
        const std::uint16_t format = xfFormats[xf];
        if (IsBuiltInDateFormat(format))
            return true;
        const auto it = customDateFormats.find(format);
        return it != customDateFormats.end() && it->second;
    }

    // A number as the cell shows it: a date for a date format.
    COleVariant Number(double value, std::uint16_t xf) const
    {
        if (!IsDateXf(xf) || !std::isfinite(value) || value < 0)
            return COleVariant(value);
        // Serial 1 is 1900-01-01 (an OLE date counts from 1899-12-30), and
        // the 1900 system counts a 29 February 1900 that never was.
        DATE date = value;
        if (date1904)
            date += 1462;
        else if (value >= 1 && value < 61)
            date += 1;
        // Beyond the years 100-9999 the cell stays a number.
        return IsValidOleDate(date) ? COleVariant(date, VT_DATE) : COleVariant(value);
    }
};

void ReadSst(const ByteBuffer& stream, const Record& record, Globals& globals)
{
    ContinuedData data(stream, record);
    std::uint32_t total = 0, unique = 0;
    if (!data.GetU32(total) || !data.GetU32(unique))
        return;
    // Every string takes at least three bytes: never reserve more than fit.
    globals.strings.reserve(std::min<std::size_t>(unique, stream.size() / 3));
    for (std::uint32_t i = 0; i < unique; ++i) {
        CString text;
        if (!data.GetString(text))
            return;
        globals.strings.push_back(std::move(text));
    }
}

// A string as the workbook's version writes it.
bool GetText(ContinuedData& data, Globals& globals, CString& text, bool shortCount = false)
{
    if (!globals.biff5)
        return data.GetString(text, shortCount);
    std::string bytes;
    if (!data.GetByteString(bytes, shortCount))
        return false;
    text = globals.Text(bytes);
    return true;
}

void ReadGlobalRecord(const ByteBuffer& stream, const Record& record, Globals& globals)
{
    const Bytes data = record.data;
    switch (record.type) {
    case kCodePage:
        if (data.size() >= 2 && !globals.text)
            globals.codePage = U16(data, 0);
        break;
    case kDateMode:
        if (data.size() >= 2)
            globals.date1904 = U16(data, 0) != 0;
        break;
    case kFormat:
        if (data.size() >= 3) {
            ContinuedData text(stream, record);
            std::uint16_t index = 0;
            CString format;
            if (text.GetU16(index) && GetText(text, globals, format, globals.biff5))
                globals.customDateFormats[index] = IsDateFormatText(format);
        }
        break;
    case kXf:
        if (data.size() >= 4)
            globals.xfFormats.push_back(U16(data, 2));
        break;
    case kBoundSheet:
        if (data.size() >= 7 && data[5] == kWorksheetKind) {
            Record nameRecord = record;
            nameRecord.data = data.subspan(6);
            ContinuedData name(stream, nameRecord);
            SheetEntry entry;
            entry.position = U32(data, 0);
            if (GetText(name, globals, entry.name, true))
                globals.sheets.push_back(std::move(entry));
        }
        break;
    case kSst:
        if (!globals.biff5)
            ReadSst(stream, record, globals);
        break;
    default:
        break;
    }
}

// What a file may make the reader hold, bounded by the file's own size: each
// record is walked once (sheets never overlap), and the cells kept, counted
// with their texts, stay within a multiple of the stream's size (a shared
// string may be named by many cells, but not without limit).
class ReadBudget {
public:
    explicit ReadBudget(std::size_t streamSize)
        : m_walk(streamSize)
        , m_held(kHeldPerStreamByte * streamSize + kHeldBase)
    { }
    [[nodiscard]] bool Walk(std::size_t bytes) { return Spend(m_walk, bytes); }
    [[nodiscard]] bool Hold(std::size_t bytes) { return Spend(m_held, bytes); }

private:
    static constexpr std::size_t kHeldPerStreamByte = 32;
    static constexpr std::size_t kHeldBase = 16u << 20;

    static bool Spend(std::size_t& left, std::size_t bytes)
    {
        if (bytes > left)
            return false;
        left -= bytes;
        return true;
    }

    std::size_t m_walk;
    std::size_t m_held;
};

// The cells of one sheet as they are read, within the budget.
class SheetSink {
public:
    SheetSink(SheetData& sheet, ReadBudget& budget)
        : m_sheet(sheet)
        , m_budget(budget)
    { }
    void Put(long row, long column, COleVariant value)
    {
        if (row >= kSheetMaxRows || column >= kSheetMaxColumns || !NormalizeCellValue(value))
            return;
        const std::pair<long, long> key { row, column };
        if (value.vt == VT_EMPTY) {
            m_sheet.cells.erase(key);
            return;
        }
        const std::size_t text
            = value.vt == VT_BSTR ? static_cast<std::size_t>(value.bstrVal.GetLength()) : 0;
        if (!m_budget.Hold(kCellCost + text)) {
            m_exhausted = true;
            return;
        }
        m_sheet.cells[key].value = std::move(value);
    }
    bool Exhausted() const { return m_exhausted; }

private:
    static constexpr std::size_t kCellCost = sizeof(SheetCell) + 64; // with the map's node

    SheetData& m_sheet;
    ReadBudget& m_budget;
    bool m_exhausted = false;
};

bool IsCellRecord(std::uint16_t type)
{
    constexpr std::uint16_t kBlank = 0x0201, kMulBlank = 0x00BE;
    for (std::uint16_t cell :
        { kLabelSst, kLabel, kRString, kNumber, kRk, kMulRk, kBoolErr, kFormula, kBlank, kMulBlank })
        if (type == cell)
            return true;
    return false;
}

// A cell record that cannot be read whole: the cell it names (row -1 when
// the record is too short to name one) and why.
struct CellDamage {
    long row = -1;
    long column = -1;
    const char* why = "";
};

constexpr const char* kRunsPast = "runs past its record";
constexpr const char* kNoSuchText = "names a text the workbook does not hold";

// The cell a FORMULA record stands for; a text result comes in the STRING
// record after it (pending is then set).
void ReadFormula(Globals& globals, Bytes data, SheetSink& sink, std::optional<std::pair<long, long>>& pending)
{
    const std::uint16_t row = U16(data, 0), column = U16(data, 2), xf = U16(data, 4);
    if (data[12] != 0xFF || data[13] != 0xFF) {
        sink.Put(row, column, globals.Number(Double(data, 6), xf));
        return;
    }
    switch (data[6]) {
    case 0:
        pending = std::pair<long, long> { row, column };
        break;
    case 1:
        sink.Put(row, column, BoolErrValue(data[8], false));
        break;
    case 2:
        sink.Put(row, column, BoolErrValue(data[8], true));
        break;
    default:
        sink.Put(row, column, COleVariant());
        break;
    }
}

// The bytes a cell record of that type needs at least; 0 for a record that
// is no cell this reader reads.
std::size_t CellRecordSize(std::uint16_t type)
{
    switch (type) {
    case kLabelSst:
    case kRk:
        return 10;
    case kLabel:
    case kRString:
    case kBoolErr:
        return 8;
    case kNumber:
        return 14;
    case kMulRk:
        return 6;
    case kFormula:
        return 20;
    default:
        return 0;
    }
}

// A text that starts at offset of the record (and goes on in its CONTINUE
// records); FALSE when it runs past them.
bool RecordText(
    const ByteBuffer& stream, const Record& record, std::size_t offset, Globals& globals, CString& text)
{
    Record part = record;
    part.data = record.data.subspan(offset);
    ContinuedData chars(stream, part);
    return GetText(chars, globals, text);
}

// Reads one cell record into the sink; FALSE, with the damage, for a record
// whose value runs past it or names a text that is not there.
bool ReadCellRecord(const ByteBuffer& stream, const Record& record, Globals& globals, SheetSink& sink,
    std::optional<std::pair<long, long>>& pending, CellDamage& damage)
{
    const Bytes data = record.data;
    if (record.type == kString) {
        if (!pending)
            return true;
        CString value;
        damage = { pending->first, pending->second, kRunsPast };
        if (!RecordText(stream, record, 0, globals, value))
            return false;
        sink.Put(pending->first, pending->second, COleVariant(value));
        pending.reset();
        return true;
    }
    if (IsCellRecord(record.type))
        pending.reset(); // a text result comes before the next cell or never
    const std::size_t size = CellRecordSize(record.type);
    if (size == 0)
        return true;
    damage = { -1, -1, kRunsPast };
    if (data.size() < 4)
        return false;
    const long row = U16(data, 0), column = U16(data, 2);
    damage = { row, column, kRunsPast };
    if (data.size() < size || (record.type == kMulRk && (data.size() - 6) % 6 != 0))
        return false;
    switch (record.type) {
    case kLabelSst: {
        const std::uint32_t index = U32(data, 6);
        damage.why = kNoSuchText;
        if (index >= globals.strings.size())
            return false;
        sink.Put(row, column, COleVariant(globals.strings[index]));
        return true;
    }
    case kLabel:
    case kRString: {
        CString value;
        if (!RecordText(stream, record, 6, globals, value))
            return false;
        sink.Put(row, column, COleVariant(value));
        return true;
    }
    case kNumber:
        sink.Put(row, column, globals.Number(Double(data, 6), U16(data, 4)));
        return true;
    case kRk:
        sink.Put(row, column, globals.Number(RkValue(U32(data, 6)), U16(data, 4)));
        return true;
    case kMulRk:
        for (std::size_t i = 0; i < (data.size() - 6) / 6; ++i) {
            const std::size_t at = 4 + 6 * i;
            sink.Put(row, column + static_cast<long>(i),
                globals.Number(RkValue(U32(data, at + 2)), U16(data, at)));
        }
        return true;
    case kBoolErr:
        sink.Put(row, column, BoolErrValue(data[6], data[7] != 0));
        return true;
    default:
        ReadFormula(globals, data, sink, pending);
        return true;
    }
}

enum class SheetRead { Read, Missing, Cut, Exhausted, DamagedCell };

// Reads one worksheet's substream, from its BOF to the matching EOF: Missing
// when no BOF stands at offset, Cut when the stream ends first, Exhausted
// when the budget does, DamagedCell (with the damage) when a cell cannot be
// read whole.
SheetRead ReadSheet(const ByteBuffer& stream, Globals& globals, std::size_t offset, SheetData& sheet,
    ReadBudget& budget, CellDamage& damage)
{
    Record record;
    if (!RecordAt(stream, offset, record) || record.type != kBof)
        return SheetRead::Missing;
    SheetSink sink(sheet, budget);
    int depth = 0;
    std::optional<std::pair<long, long>> pending;
    for (;;) {
        if (!RecordAt(stream, offset, record))
            return SheetRead::Cut;
        if (!budget.Walk(record.next - offset))
            return SheetRead::Exhausted;
        if (record.type == kBof)
            ++depth;
        else if (record.type == kEof && --depth == 0)
            break;
        else if (depth == 1 && !ReadCellRecord(stream, record, globals, sink, pending, damage))
            return SheetRead::DamagedCell;
        offset = record.next;
    }
    return sink.Exhausted() ? SheetRead::Exhausted : SheetRead::Read;
}

// A cell's address as Excel shows it: B12 for row 11, column 1 (from 0).
CString CellName(long row, long column)
{
    std::string letters;
    for (long c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return CString((letters + std::to_string(row + 1)).c_str());
}

CString DamagedCellText(const CString& sheet, const CellDamage& damage)
{
    const CString cell = damage.row < 0 ? CString("a cell") : "cell " + CellName(damage.row, damage.column);
    return "The workbook is damaged: " + cell + " of sheet \"" + sheet + "\" " + damage.why + ".";
}

// TRUE when the stream starts with the BOF of a workbook's globals of that
// version.
BOOL IsWorkbookStream(const ByteBuffer& stream, std::uint16_t version)
{
    Record record;
    return RecordAt(stream, 0, record) && record.type == kBof && record.data.size() >= 4
            && U16(record.data, 0) == version && U16(record.data, 2) == kGlobalsKind
        ? TRUE
        : FALSE;
}

BOOL ReadWorkbookStreamOf(const ByteBuffer& stream, bool biff5, WorkbookData& book, CString* error)
{
    constexpr const char* kCut = "The workbook is damaged: a record runs past the end of its stream.";
    Globals globals;
    globals.biff5 = biff5;
    Record record;
    std::size_t offset = 0;
    RecordAt(stream, offset, record);
    offset = record.next;
    for (;;) {
        if (!RecordAt(stream, offset, record))
            return SheetFailure(error, kCut);
        if (record.type == kEof)
            break;
        if (record.type == kFilePass)
            return SheetFailure(error, "The workbook is protected by a password.");
        ReadGlobalRecord(stream, record, globals);
        offset = record.next;
    }
    WorkbookData out;
    ReadBudget budget(stream.size());
    std::set<std::size_t> read;
    for (const SheetEntry& entry : globals.sheets) {
        if (!read.insert(entry.position).second)
            continue; // another entry for a sheet read already
        SheetData sheet;
        sheet.name = entry.name;
        CellDamage damage;
        switch (ReadSheet(stream, globals, entry.position, sheet, budget, damage)) {
        case SheetRead::Read:
            break;
        case SheetRead::Missing:
            return SheetFailure(
                error, "The workbook is damaged: sheet \"" + entry.name + "\" is not where it says.");
        case SheetRead::Cut:
            return SheetFailure(error, kCut);
        case SheetRead::Exhausted:
            return SheetFailure(
                error, "The workbook is damaged: its sheets overlap or hold more than the file can.");
        case SheetRead::DamagedCell:
            return SheetFailure(error, DamagedCellText(entry.name, damage));
        }
        out.sheets.push_back(std::move(sheet));
    }
    if (globals.text && !globals.text->Known()) {
        CString text;
        text.Format("The workbook's texts are in code page %u, which this program cannot read.",
            static_cast<unsigned>(globals.codePage));
        return SheetFailure(error, text);
    }
    book = std::move(out);
    return TRUE;
}

} // namespace

BOOL IsBiff8Stream(const ByteBuffer& stream)
{
    return IsWorkbookStream(stream, kBiff8Version);
}

BOOL IsBiff5Stream(const ByteBuffer& stream)
{
    return IsWorkbookStream(stream, kBiff5Version);
}

BOOL ReadBiff8Stream(const ByteBuffer& stream, WorkbookData& book, CString* error)
{
    if (!IsBiff8Stream(stream))
        return SheetFailure(error, "The file is not an Excel 97 workbook.");
    return ReadWorkbookStreamOf(stream, false, book, error);
}

BOOL ReadBiff5Stream(const ByteBuffer& stream, WorkbookData& book, CString* error)
{
    if (!IsBiff5Stream(stream))
        return SheetFailure(error, "The file is not an Excel 5 or 95 workbook.");
    return ReadWorkbookStreamOf(stream, true, book, error);
}
