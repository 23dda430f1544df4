#pragma once
// Excel 97 workbook reader: the cells of a BIFF8 "Workbook" stream, and of
// the BIFF5 "Book" stream of Excel 5 and 95, whose strings are bytes in the
// workbook's code page (CODEPAGE, Windows-1252 when there is none; a code
// page this system has no table for is refused) and which has no shared
// strings. Memory
// follows the cells the stream holds, never the sheets' last address, and is
// bounded by the stream's size: each sheet is read once (entries naming a
// sheet read already are skipped), and a stream whose sheets overlap or whose
// cells would hold more than a multiple of its size is refused as damaged.
//
// Stream grammar read (record: u16 type, u16 length, data; little-endian):
//   globals := BOF(0x0809, version 0x0600) { FILEPASS | DATEMODE | FORMAT | XF
//              | BOUNDSHEET | SST [CONTINUE...] | other } EOF
//              (BIFF5: version 0x0500, CODEPAGE(u16) and no SST)
//   sheet   := BOF { cell | STRING [CONTINUE...] | nested BOF..EOF | other } EOF
//   cell    := LABELSST(row, col, xf, u32 string index) | LABEL / RSTRING(row,
//              col, xf, string) | NUMBER(row, col, xf, double) | RK(row, col,
//              xf, rk) | MULRK(row, first col, {xf, rk}..., last col)
//              | BOOLERR(row, col, xf, value, is error) | FORMULA(row, col, xf,
//              8-byte result, ...) followed by STRING when the result is text
//   string  := u16 characters, u8 options (1: UTF-16, 4: ext, 8: rich),
//              [u16 runs], [u32 ext size], characters, runs x 4, ext bytes;
//              characters cut by a CONTINUE go on after a new options byte.
//              BIFF5: u16 bytes, bytes (in BOUNDSHEET and FORMAT: u8 bytes).
// A number whose cell format is a date or time becomes VT_DATE when it lies
// in the years 100-9999, else it stays a number. A formula
// gives its stored result: number, boolean, error or text. Only worksheets
// (BOUNDSHEET kind 0) are read; cells outside 65536 x 256 are not read. A
// stream is damaged, and refused, when a record of its globals or of a sheet
// runs past its end before the EOF, a sheet's entry names no BOF, or a cell's
// value runs past its record (and its CONTINUE records) or names a shared
// string the table does not hold: the message names the sheet and the cell.

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/sheet/sheet_data.h"

// TRUE when the stream starts with the BOF of a BIFF8 (BIFF5) workbook.
BOOL IsBiff8Stream(const ByteBuffer& stream);
BOOL IsBiff5Stream(const ByteBuffer& stream);

// Reads the sheets of a BIFF8 (BIFF5) workbook stream. FALSE with the reason
// in error (when given) for a stream that is no such workbook, is damaged or
// is protected by a password.
BOOL ReadBiff8Stream(const ByteBuffer& stream, WorkbookData& book, CString* error = nullptr);
BOOL ReadBiff5Stream(const ByteBuffer& stream, WorkbookData& book, CString* error = nullptr);
