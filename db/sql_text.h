#pragma once
// SQL text building. Every value that goes into SQL text passes through here:
// text values with SqlEscape (inside '...' of a format) or SqlLiteral, table and
// column names with SqlName. Numbers formatted with %d/%ld need nothing.

#include "platform/base/cstring.h"

// The text with every single quote doubled, for use between quotes:
// "O'Brien" -> "O''Brien". Text after a NUL byte is dropped.
CString SqlEscape(const CString& value);

// The text as a quoted literal: "O'Brien" -> "'O''Brien'".
CString SqlLiteral(const CString& value);

// A table or column name in brackets: "barcode form" -> "[barcode form]". The
// engine's names cannot hold brackets; any '[' or ']' in name is dropped.
CString SqlName(const CString& name);

// The text as the engine compares text columns (ASCII letters in one case):
// texts that "WHERE [column] = '...'" finds for each other give one key.
CString SqlTextKey(const CString& text);
