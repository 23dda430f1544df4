#pragma once
// The spreadsheet stand-in for automation of "Excel.Application": the object
// model the conversions use (Application, Workbooks, Workbook, Worksheets,
// Worksheet, Range, Font) over workbooks held in memory. A workbook is read
// from an .xls file by our reader (Workbooks.Open) and written as an Excel 97
// file with our BIFF8 writer (Workbook.SaveAs); there is no Excel window:
// making the application visible opens the saved workbooks with the desktop's
// associated program.
//
// The objects are handles, as dispatch drivers are: copies refer to the same
// workbook, sheet or cells. Rows and columns count from 1, as in Excel. A
// failing call throws COleDispatchException* (catch as CException*), as
// automation does: a bad index, a range outside the sheet, a value a cell
// cannot hold, a file that cannot be read or written, or a call on a closed
// workbook or a handle that refers to nothing. UI thread.

#include <map>
#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/types.h"
#include "platform/dao/ole_variant.h"
#include "platform/sheet/sheet_data.h"

class CDaoRecordset;

// Error codes of the automation calls.
inline constexpr LONG kDispErrorBadIndex = static_cast<LONG>(0x8002000B);
inline constexpr LONG kDispErrorTypeMismatch = static_cast<LONG>(0x80020005);
inline constexpr LONG kExcelErrorObjectDefined = static_cast<LONG>(0x800A03EC);
inline constexpr LONG kErrorDisconnected = static_cast<LONG>(0x80010108);

class COleDispatchException : public CException {
public:
    COleDispatchException(const CString& description, LONG scode)
        : m_strDescription(description)
        , m_scError(scode)
    { }
    CString m_strDescription;
    LONG m_scError;

protected:
    CString ErrorText() const override { return m_strDescription; }
};

// Range.Value of a block: a two-dimensional array of values, both bounds
// counting from 1 (dimension 1: rows, dimension 2: columns). Only the values
// that are not empty take memory, however large the block.
class CVariantArray {
public:
    CVariantArray() = default;
    CVariantArray(long rows, long columns);

    // The upper bound of dimension 1 (rows) or 2 (columns); 0 for an empty array.
    long GetUBound(int dimension) const;
    // The element at (row, column), VT_EMPTY when none was set; throws
    // kDispErrorBadIndex outside the bounds.
    const COleVariant& GetElement(long row, long column) const;
    void SetElement(long row, long column, const COleVariant& value);
    // The rows that hold a value that is not empty, in ascending order.
    std::vector<long> GetRowsWithValues() const;

private:
    void CheckBounds(long row, long column) const;

    long m_rows = 0;
    long m_columns = 0;
    std::map<std::pair<long, long>, COleVariant> m_values;
};

namespace sheet_detail {
struct Book;
struct Application;
} // namespace sheet_detail

class CExcelFont;

// A block of cells of one worksheet.
class CExcelRange {
public:
    CExcelRange() = default;

    // The range moved by rows and columns; throws when it leaves the sheet.
    CExcelRange GetOffset(long rowOffset, long columnOffset) const;
    // The range from the same top left cell with the new size (at least 1 x 1).
    CExcelRange GetResize(long rows, long columns) const;
    // The whole columns of the range (all rows of the sheet).
    CExcelRange GetEntireColumn() const;
    // The same cells counted by row or by column (GetCount).
    CExcelRange GetRows() const;
    CExcelRange GetColumns() const;
    // Cells, or rows after GetRows, or columns after GetColumns.
    long GetCount() const;
    // Row and column of the top left cell.
    long GetRow() const { return m_row + 1; }
    long GetColumn() const { return m_column + 1; }

    // The values of the cells (VT_EMPTY for an empty cell, numbers as VT_R8).
    CVariantArray GetValue() const;
    // Puts value into every cell; an empty value or empty text clears it.
    // Throws kDispErrorTypeMismatch for a value no cell can hold.
    void SetValue(const COleVariant& value);

    CExcelFont GetFont() const;
    // Fits the width of each column of the range to its longest cell text
    // (wide characters such as Hangul count double); a column without text
    // gets the standard width back. Only whole columns can be fitted.
    void AutoFit();

    // Copies the recordset's rows, from its current row to the end, into the
    // cells from the top left one on: one row per record, one column per field
    // in field order (at most maxRows rows and maxColumns columns; -1 for no
    // limit). Null fields leave the cell empty, texts stay texts (leading
    // zeros kept), numbers become numbers. The recordset ends at EOF. Returns
    // the rows copied; throws when they do not fit on the sheet.
    long CopyFromRecordset(CDaoRecordset& recordset, long maxRows = -1, long maxColumns = -1);

private:
    friend class CExcelWorksheet;
    friend class CExcelFont;
    enum class Counting { Cells, Rows, Columns };

    CExcelRange(std::shared_ptr<sheet_detail::Book> book, std::size_t sheet, long row, long column, long rows,
        long columns);
    SheetData& Sheet() const;

    std::shared_ptr<sheet_detail::Book> m_book;
    std::size_t m_sheet = 0;
    long m_row = 0; // from 0
    long m_column = 0;
    long m_rows = 0;
    long m_columns = 0;
    Counting m_counting = Counting::Cells;
};

// Range.Font.
class CExcelFont {
public:
    // TRUE when every cell of the range is bold.
    BOOL GetBold() const;
    void SetBold(BOOL bold);

private:
    friend class CExcelRange;
    explicit CExcelFont(CExcelRange range)
        : m_range(std::move(range))
    { }
    CExcelRange m_range;
};

class CExcelWorksheet {
public:
    CExcelWorksheet() = default;

    CString GetName() const;
    // Throws for an empty name, one longer than 31 characters, one with
    // : \ / ? * [ ] or one that another sheet of the workbook has.
    void SetName(LPCTSTR name);
    // "A1", "B2:D5", or the block between two cells; throws for a bad address.
    CExcelRange GetRange(LPCTSTR cell1, LPCTSTR cell2 = nullptr) const;
    // The block from the first to the last used row and column; A1 on an
    // empty sheet.
    CExcelRange GetUsedRange() const;

private:
    friend class CExcelWorksheets;
    CExcelWorksheet(std::shared_ptr<sheet_detail::Book> book, std::size_t sheet)
        : m_book(std::move(book))
        , m_sheet(sheet)
    { }
    std::shared_ptr<sheet_detail::Book> m_book;
    std::size_t m_sheet = 0;
};

class CExcelWorksheets {
public:
    CExcelWorksheets() = default;

    long GetCount() const;
    // The sheet at position index (from 1); throws kDispErrorBadIndex.
    CExcelWorksheet GetItem(long index) const;

private:
    friend class CExcelWorkbook;
    explicit CExcelWorksheets(std::shared_ptr<sheet_detail::Book> book)
        : m_book(std::move(book))
    { }
    std::shared_ptr<sheet_detail::Book> m_book;
};

class CExcelWorkbook {
public:
    CExcelWorkbook() = default;

    CExcelWorksheets GetWorksheets() const;
    // Writes the workbook to path (native or Windows) as an Excel 97 file and
    // makes it the workbook's file. Throws with the reason when the file
    // cannot be written; an existing file is then left as it was.
    void SaveAs(LPCTSTR path);
    // The file the workbook was opened from or saved to; empty for a new one.
    CString GetFullName() const;
    // Closes the workbook without saving it; later calls on it throw.
    void Close();

private:
    friend class CExcelWorkbooks;
    explicit CExcelWorkbook(std::shared_ptr<sheet_detail::Book> book)
        : m_book(std::move(book))
    { }
    std::shared_ptr<sheet_detail::Book> m_book;
};

class CExcelWorkbooks {
public:
    CExcelWorkbooks() = default;

    // A new workbook with the application's SheetsInNewWorkbook sheets,
    // named "Sheet1", "Sheet2" ...
    CExcelWorkbook Add();
    // Reads the workbook at path (native or Windows); throws with the reason
    // when it cannot be read.
    CExcelWorkbook Open(LPCTSTR path);
    // The open workbooks.
    long GetCount() const;

private:
    friend class CExcelApplication;
    explicit CExcelWorkbooks(std::shared_ptr<sheet_detail::Application> app)
        : m_app(std::move(app))
    { }
    std::shared_ptr<sheet_detail::Application> m_app;
};

class CExcelApplication {
public:
    CExcelApplication() = default;
    // Quits unless the application was handed to the user (UserControl).
    ~CExcelApplication();
    CExcelApplication(const CExcelApplication&) = delete;
    CExcelApplication& operator=(const CExcelApplication&) = delete;

    // Starts the application for the programmatic id "Excel.Application";
    // FALSE for any other id.
    BOOL CreateDispatch(LPCTSTR progId);

    CExcelWorkbooks GetWorkbooks() const;
    long GetSheetsInNewWorkbook() const;
    // 1 to 255; throws otherwise.
    void SetSheetsInNewWorkbook(long count);
    BOOL GetVisible() const;
    // Showing the application opens each open workbook that has a file with
    // the desktop's associated program (a shell "open" request).
    void SetVisible(BOOL visible);
    BOOL GetUserControl() const;
    void SetUserControl(BOOL userControl);
    // Closes every workbook without saving and ends the application.
    void Quit();

private:
    sheet_detail::Application& App() const;
    std::shared_ptr<sheet_detail::Application> m_app;
};
