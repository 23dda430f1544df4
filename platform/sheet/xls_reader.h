#pragma once
// Reads an Excel workbook (.xls, BIFF5 or BIFF8) into a WorkbookData with
// FreeXL: every sheet by name, every cell's value. Numbers arrive as VT_R8,
// texts as VT_BSTR, cells with a date or time format as VT_DATE. FreeXL
// gives booleans and error cells as numbers; in a BIFF8 workbook they are
// read again from their own records (through libgsf) as VT_BOOL and
// VT_ERROR. Formatting is not read.

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/sheet/sheet_data.h"

// FALSE with the reason in error (when given) when path (native or Windows)
// is missing, unreadable, no workbook, password-protected or damaged.
BOOL ReadWorkbookFile(const CString& path, WorkbookData& book, CString* error = nullptr);

// Puts the booleans and error codes of a BIFF8 workbook stream (its BOOLERR
// records) into the sheets of book with the same names. Anything that is not
// a well-formed BIFF8 stream changes nothing; records that run past the end
// are not read.
void ApplyBoolErrRecords(const ByteBuffer& stream, WorkbookData& book);
