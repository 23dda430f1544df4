#pragma once
// Reads an Excel workbook (.xls) into a WorkbookData: every worksheet by
// name, every cell's value. Numbers arrive as VT_R8, texts as VT_BSTR, cells
// with a date or time format as VT_DATE, booleans as VT_BOOL, error cells as
// VT_ERROR, a formula as its stored result. Excel 97 workbooks (BIFF8) and
// Excel 5 and 95 ones (BIFF5) are read by biff8_reader.h from the compound
// file's workbook stream; every other file is refused. Formatting is not read.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/sheet/sheet_data.h"

// FALSE with the reason in error (when given) when path (native or Windows)
// is missing, unreadable, no workbook, password-protected or damaged.
BOOL ReadWorkbookFile(const CString& path, WorkbookData& book, CString* error = nullptr);
