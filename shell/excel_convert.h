#pragma once
// The Excel conversions of item databases (File > Access To Excel Convert and
// File > Excel To Access Convert): the five item tables move between an item
// database and a workbook whose sheet n carries table n, row 1 the column
// names and each later row one table row. UI thread.

#include <vector>

#include "db/item_schema.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/ole_variant.h"

class CCalvornView;
class CVariantArray;

// The item tables in sheet order.
inline constexpr const char* kExcelTables[]
    = { kTableItem, kTableAdd, kTableAdv, kTablePreset, kTableLandAdd };
inline constexpr int kExcelTableCount = 5;

// The rows of one sheet as statements for its table.
struct SheetImport {
    std::vector<CString> statements; // one INSERT per data row, in row order
    int emptyRows = 0; // data rows without any value, skipped
    bool headerMissing = false; // data rows under a row 1 that names no column: no statements
};

// Builds the INSERT statements of table kExcelTables[table] from the values
// of a sheet (row 1 the column names). The column list takes every text cell
// of row 1 except "ID", bracketed; each later row gives its cells' texts by
// position (ImportCellText; "NULL" for an empty or missing cell), of which
// the table's positions are inserted, every value quoted; `mg_id` becomes
// userId and `info` '1'. Rows without any value are skipped. A sheet whose
// row 1 gives no column but that has data rows gives no statement and
// headerMissing.
SheetImport BuildSheetImport(int table, const CVariantArray& values, const CString& userId);

// A data cell's text: a number truncated toward zero as decimal digits
// (exact beyond 32 bits), a text as it stands, "NULL" for an empty cell, and
// for a date, boolean, currency or error value the text the cell shows.
CString ImportCellText(const COleVariant& value);

// Writes the embedded workbook template EXCEL resourceId into path only when
// the file is empty (a missing file is created, one with content is left as
// it is). FALSE without a message when there is no such template; a file
// error shows "<path> =>DB File not making" and gives FALSE.
BOOL WriteExcelTemplate(UINT resourceId, CString path);

// Command 32789: asks for a file name and writes the empty item workbook
// (template 224) there when the file is empty or new.
void ExcelNewFile();

// Command 32788: writes the five tables of a chosen item database into a new
// workbook saved where the user says, opens it with the desktop's program and
// says "Convert OK".
void AccessToExcelConvert(CCalvornView& view);

// Command 32790: reads a chosen workbook into a new item database written
// from template 150 (never over one of the program's own databases), rows
// owned by the logged-in manager; says "Convert OK" or how many rows failed.
// The database is built in "<chosen file>.import-<process id>" beside the
// chosen one and renamed over it only when every row went in: a failed row, a
// refused sheet, an error or a crash leave the chosen file as it was. A file
// error names the chosen file ("<path> =>DB File not making").
void ExcelToAccessConvert(CCalvornView& view);

// Removes what imports of processes that have ended left (their build files
// with journals, and their notes in the data folder); run at start-up and
// before each import.
void ClearUnfinishedImports();
