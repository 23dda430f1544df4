#pragma once
// Excel 97 workbook writer: the BIFF8 "Workbook" stream of a WorkbookData, and
// the .xls file that carries it in a compound file (written with libgsf).
//
// Stream grammar (every record: u16 type, u16 data length <= 8224, data; all
// numbers little-endian):
//   globals  := BOF(0x0809, workbook) CODEPAGE(1200 = UTF-16) WINDOW1
//               DATEMODE(1900) FONT x4 XF x(15 style + cell formats) STYLE(Normal)
//               BOUNDSHEET x sheets SST [CONTINUE...] EXTSST EOF
//   sheet    := BOF(0x0809, worksheet) DEFCOLWIDTH COLINFO x sized columns
//               DIMENSIONS cell x cells (row by row) WINDOW2 EOF
//   cell     := LABELSST(text, index into SST) | NUMBER(IEEE double: numbers,
//               dates with a date format, currency with a currency format)
//               | BOOLERR(boolean or error code) | BLANK(formatted empty cell)
// Font 0 is the normal font, font 1 its bold form; XF 15 is the default cell
// format and the cell formats after it combine bold with a number format.
// Every text goes to the shared string table, UTF-16 when it needs more than
// Latin-1, split over CONTINUE records at character boundaries with the
// options byte repeated.

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/sheet/sheet_data.h"

// The BIFF8 stream of the workbook. A workbook needs at least one sheet; the
// cells must lie within kSheetMaxRows x kSheetMaxColumns (others are left out).
ByteBuffer BuildWorkbookStream(const WorkbookData& book);

// Writes the workbook to path (a native or Windows path) as an .xls file,
// replacing any file there only once the whole file is written. FALSE with the
// reason in error (when given) when the file cannot be written; an existing
// file is then left as it was.
BOOL WriteWorkbookFile(const CString& path, const WorkbookData& book, CString* error = nullptr);

// Writes a ready "Workbook" stream to path as an .xls file, as above.
BOOL WriteWorkbookStreamFile(const CString& path, const ByteBuffer& stream, CString* error = nullptr);
