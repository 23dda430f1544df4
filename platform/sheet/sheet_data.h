#pragma once
// The workbook behind the spreadsheet stand-in: sheets of cells, each cell a
// value and a bold flag, and the sheets' column widths. The BIFF8 writer
// writes it, the reader fills it, the object model (excel_app.h) edits it.
// Rows and columns count from 0 here.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/ole_variant.h"

// Sheet limits of an Excel 97 workbook.
inline constexpr long kSheetMaxRows = 65536;
inline constexpr long kSheetMaxColumns = 256;
// Longest sheet name and longest cell text (UTF-16 units).
inline constexpr int kSheetNameMax = 31;
inline constexpr int kCellTextMax = 32767;
// Width of a column that was never sized, in 1/256 of a character.
inline constexpr long kStandardColumnWidth = 8 * 256 + 110;

struct SheetCell {
    // VT_EMPTY, VT_R8, VT_BSTR (never empty), VT_BOOL, VT_ERROR, VT_DATE or VT_CY.
    COleVariant value;
    BOOL bold = FALSE;
};

struct SheetData {
    CString name;
    // Keyed (row, column), so a walk goes row by row, left to right.
    std::map<std::pair<long, long>, SheetCell> cells;
    // Column -> width in 1/256 of a character; columns not listed have the
    // standard width.
    std::map<long, long> columnWidths;
};

struct WorkbookData {
    std::vector<SheetData> sheets;
};

// Error codes of VT_ERROR cell values (the low word of the code is 2000 plus
// the worksheet error number).
inline constexpr LONG kCellErrorNull = static_cast<LONG>(0x800A07D0); // #NULL!
inline constexpr LONG kCellErrorDiv0 = static_cast<LONG>(0x800A07D7); // #DIV/0!
inline constexpr LONG kCellErrorValue = static_cast<LONG>(0x800A07DF); // #VALUE!
inline constexpr LONG kCellErrorRef = static_cast<LONG>(0x800A07E7); // #REF!
inline constexpr LONG kCellErrorName = static_cast<LONG>(0x800A07ED); // #NAME?
inline constexpr LONG kCellErrorNum = static_cast<LONG>(0x800A07F4); // #NUM!
inline constexpr LONG kCellErrorNA = static_cast<LONG>(0x800A07FA); // #N/A

// The value as a cell keeps it: integers and floats become VT_R8 (a value
// that is not finite becomes #NUM!), VT_NULL and empty text become VT_EMPTY,
// text is cut to kCellTextMax units; text, VT_BOOL, VT_ERROR, VT_DATE and
// VT_CY stay as they are. FALSE for a type a cell cannot hold (objects,
// arrays): value is then left as it was.
BOOL NormalizeCellValue(COleVariant& value);

// The text a cell shows in the General format: numbers with up to 15
// significant digits, dates as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or
// "HH:MM:SS" (no date part), "TRUE"/"FALSE", error names ("#DIV/0!"),
// currency as a plain decimal ("-12.5"); empty for an empty cell.
CString CellDisplayText(const COleVariant& value);

// Character cells a text takes on screen: wide characters (Hangul, CJK
// ideographs, kana, full-width forms) count two, others one.
long TextDisplayWidth(const CString& utf8);

// UTF-8 to UTF-16 units and back; an invalid sequence becomes U+FFFD.
std::vector<std::uint16_t> Utf8ToUtf16(const CString& utf8);
CString Utf16ToUtf8(const std::vector<std::uint16_t>& units);

// The native path of a workbook file (a native or Windows path); empty, with
// the reason in error (when given), for a path that cannot be used.
std::string SheetFilePath(const CString& path, CString* error);
// Puts text into error (when given); FALSE.
BOOL SheetFailure(CString* error, const CString& text);
