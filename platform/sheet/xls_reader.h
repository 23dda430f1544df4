#pragma once
// Reads an Excel workbook (.xls, BIFF5 or BIFF8) into a WorkbookData with
// FreeXL: every sheet by name, every cell's value. Numbers arrive as VT_R8,
// texts as VT_BSTR, cells with a date or time format as VT_DATE; FreeXL
// reports booleans and error cells as numbers. Formatting is not read.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/sheet/sheet_data.h"

// FALSE with the reason in error (when given) when path (native or Windows)
// is missing, unreadable, no workbook, password-protected or damaged.
BOOL ReadWorkbookFile(const CString& path, WorkbookData& book, CString* error = nullptr);
