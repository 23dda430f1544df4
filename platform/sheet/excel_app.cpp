#include "platform/sheet/excel_app.h"

#include <algorithm>
#include <cctype>

#include "platform/dao/dao_recordset.h"
#include "platform/sheet/biff8_writer.h"
#include "platform/sheet/xls_reader.h"
#include "platform/wnd/desktop/shell_services.h"

namespace sheet_detail {

struct Book {
    WorkbookData data;
    CString path; // the file it was opened from or saved to
    bool open = true;
    bool shown = false; // handed to the desktop's program
    std::weak_ptr<Application> app;
};

struct Application {
    bool running = true; // cleared by Quit: workbooks objects taken earlier are cut off
    long sheetsInNewWorkbook = 3;
    BOOL visible = FALSE;
    BOOL userControl = FALSE;
    std::vector<std::shared_ptr<Book>> books;
};

} // namespace sheet_detail

using sheet_detail::Book;

namespace {

constexpr long kMaxSheetsInNewWorkbook = 255;
constexpr long kMaxColumnWidthChars = 255;

[[noreturn]] void ThrowDispatch(const CString& text, LONG scode = kExcelErrorObjectDefined)
{
    throw new COleDispatchException(text, scode);
}

Book& OpenBook(const std::shared_ptr<Book>& book)
{
    if (!book)
        ThrowDispatch("The object refers to no workbook.", kErrorDisconnected);
    if (!book->open)
        ThrowDispatch("The workbook has been closed.", kErrorDisconnected);
    return *book;
}

// "A1" -> (0, 0); FALSE for anything else than a column of letters and a row.
BOOL ParseCell(const char* text, long& row, long& column)
{
    if (!text)
        return FALSE;
    const char* p = text;
    long c = 0;
    int letters = 0;
    while (std::isalpha(static_cast<unsigned char>(*p)) && letters < 3) {
        c = c * 26 + (std::toupper(static_cast<unsigned char>(*p)) - 'A' + 1);
        ++p;
        ++letters;
    }
    long r = 0;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && digits < 6) {
        r = r * 10 + (*p - '0');
        ++p;
        ++digits;
    }
    if (*p || letters == 0 || digits == 0 || r < 1 || r > kSheetMaxRows || c > kSheetMaxColumns)
        return FALSE;
    row = r - 1;
    column = c - 1;
    return TRUE;
}

} // namespace

// ---- CVariantArray

CVariantArray::CVariantArray(long rows, long columns)
    : m_rows(std::max(0L, rows))
    , m_columns(std::max(0L, columns))
{ }

long CVariantArray::GetUBound(int dimension) const
{
    if (dimension == 1)
        return m_rows;
    if (dimension == 2)
        return m_columns;
    ThrowDispatch("The array has two dimensions.", kDispErrorBadIndex);
}

void CVariantArray::CheckBounds(long row, long column) const
{
    if (row < 1 || row > m_rows || column < 1 || column > m_columns)
        ThrowDispatch("Subscript out of range.", kDispErrorBadIndex);
}

const COleVariant& CVariantArray::GetElement(long row, long column) const
{
    static const COleVariant kEmpty;
    CheckBounds(row, column);
    const auto it = m_values.find({ row, column });
    return it == m_values.end() ? kEmpty : it->second;
}

void CVariantArray::SetElement(long row, long column, const COleVariant& value)
{
    CheckBounds(row, column);
    if (value.vt == VT_EMPTY)
        m_values.erase({ row, column });
    else
        m_values[{ row, column }] = value;
}

std::vector<long> CVariantArray::GetRowsWithValues() const
{
    std::vector<long> rows;
    for (const auto& [cell, value] : m_values)
        if (rows.empty() || rows.back() != cell.first)
            rows.push_back(cell.first);
    return rows;
}

// ---- CExcelRange

CExcelRange::CExcelRange(
    std::shared_ptr<Book> book, std::size_t sheet, long row, long column, long rows, long columns)
    : m_book(std::move(book))
    , m_sheet(sheet)
    , m_row(row)
    , m_column(column)
    , m_rows(rows)
    , m_columns(columns)
{ }

SheetData& CExcelRange::Sheet() const
{
    Book& book = OpenBook(m_book);
    if (m_sheet >= book.data.sheets.size())
        ThrowDispatch("The range refers to no sheet.", kErrorDisconnected);
    return book.data.sheets[m_sheet];
}

CExcelRange CExcelRange::GetOffset(long rowOffset, long columnOffset) const
{
    Sheet();
    const long row = m_row + rowOffset;
    const long column = m_column + columnOffset;
    if (row < 0 || column < 0 || row + m_rows > kSheetMaxRows || column + m_columns > kSheetMaxColumns)
        ThrowDispatch("The offset range lies outside the sheet.");
    return CExcelRange(m_book, m_sheet, row, column, m_rows, m_columns);
}

CExcelRange CExcelRange::GetResize(long rows, long columns) const
{
    Sheet();
    if (rows < 1 || columns < 1 || m_row + rows > kSheetMaxRows || m_column + columns > kSheetMaxColumns)
        ThrowDispatch("The resized range lies outside the sheet.");
    return CExcelRange(m_book, m_sheet, m_row, m_column, rows, columns);
}

CExcelRange CExcelRange::GetEntireColumn() const
{
    Sheet();
    return CExcelRange(m_book, m_sheet, 0, m_column, kSheetMaxRows, m_columns);
}

CExcelRange CExcelRange::GetRows() const
{
    CExcelRange range(*this);
    range.m_counting = Counting::Rows;
    return range;
}

CExcelRange CExcelRange::GetColumns() const
{
    CExcelRange range(*this);
    range.m_counting = Counting::Columns;
    return range;
}

long CExcelRange::GetCount() const
{
    Sheet();
    switch (m_counting) {
    case Counting::Rows:
        return m_rows;
    case Counting::Columns:
        return m_columns;
    default:
        return m_rows * m_columns;
    }
}

CVariantArray CExcelRange::GetValue() const
{
    const SheetData& sheet = Sheet();
    CVariantArray values(m_rows, m_columns);
    const auto first = sheet.cells.lower_bound({ m_row, m_column });
    const auto last = sheet.cells.lower_bound({ m_row + m_rows, 0 });
    for (auto it = first; it != last; ++it) {
        const auto [row, column] = it->first;
        if (column >= m_column && column < m_column + m_columns)
            values.SetElement(row - m_row + 1, column - m_column + 1, it->second.value);
    }
    return values;
}

void CExcelRange::SetValue(const COleVariant& value)
{
    SheetData& sheet = Sheet();
    COleVariant cellValue = value;
    if (!NormalizeCellValue(cellValue))
        ThrowDispatch("Type mismatch.", kDispErrorTypeMismatch);
    for (long r = m_row; r < m_row + m_rows; ++r)
        for (long c = m_column; c < m_column + m_columns; ++c) {
            auto it = sheet.cells.find({ r, c });
            if (cellValue.vt != VT_EMPTY)
                sheet.cells[{ r, c }].value = cellValue;
            else if (it != sheet.cells.end() && !it->second.bold)
                sheet.cells.erase(it);
            else if (it != sheet.cells.end())
                it->second.value.Clear();
        }
}

CExcelFont CExcelRange::GetFont() const
{
    Sheet();
    return CExcelFont(*this);
}

void CExcelRange::AutoFit()
{
    SheetData& sheet = Sheet();
    if (m_row != 0 || m_rows != kSheetMaxRows)
        ThrowDispatch("AutoFit needs whole columns.");
    std::vector<long> widest(static_cast<std::size_t>(m_columns), 0);
    for (const auto& [position, cell] : sheet.cells) {
        const long column = position.second;
        if (column >= m_column && column < m_column + m_columns) {
            long& width = widest[static_cast<std::size_t>(column - m_column)];
            width = std::max(width, TextDisplayWidth(CellDisplayText(cell.value)));
        }
    }
    for (long i = 0; i < m_columns; ++i) {
        const long chars = widest[static_cast<std::size_t>(i)];
        if (chars == 0)
            sheet.columnWidths.erase(m_column + i);
        else
            sheet.columnWidths[m_column + i] = std::min(chars + 1, kMaxColumnWidthChars) * 256;
    }
}

long CExcelRange::CopyFromRecordset(CDaoRecordset& recordset, long maxRows, long maxColumns)
{
    SheetData& sheet = Sheet();
    long fields = recordset.GetFieldCount();
    if (maxColumns >= 0)
        fields = std::min(fields, maxColumns);
    if (m_column + fields > kSheetMaxColumns)
        ThrowDispatch("The recordset has more fields than the sheet has columns.");
    long copied = 0;
    while (!recordset.IsEOF() && (maxRows < 0 || copied < maxRows)) {
        const long row = m_row + copied;
        if (row >= kSheetMaxRows)
            ThrowDispatch("The recordset has more rows than the sheet.");
        for (long j = 0; j < fields; ++j) {
            COleVariant value = recordset.GetFieldValue(static_cast<int>(j));
            if (!NormalizeCellValue(value))
                value.Clear(); // binary fields have no cell form
            const std::pair<long, long> position { row, m_column + j };
            if (value.vt != VT_EMPTY)
                sheet.cells[position].value = value;
            else if (auto it = sheet.cells.find(position); it != sheet.cells.end())
                it->second.value.Clear();
        }
        ++copied;
        recordset.MoveNext();
    }
    return copied;
}

// ---- CExcelFont

BOOL CExcelFont::GetBold() const
{
    const SheetData& sheet = m_range.Sheet();
    for (long r = m_range.m_row; r < m_range.m_row + m_range.m_rows; ++r)
        for (long c = m_range.m_column; c < m_range.m_column + m_range.m_columns; ++c) {
            auto it = sheet.cells.find({ r, c });
            if (it == sheet.cells.end() || !it->second.bold)
                return FALSE;
        }
    return TRUE;
}

void CExcelFont::SetBold(BOOL bold)
{
    SheetData& sheet = m_range.Sheet();
    for (long r = m_range.m_row; r < m_range.m_row + m_range.m_rows; ++r)
        for (long c = m_range.m_column; c < m_range.m_column + m_range.m_columns; ++c) {
            if (bold) {
                sheet.cells[{ r, c }].bold = TRUE;
                continue;
            }
            auto it = sheet.cells.find({ r, c });
            if (it == sheet.cells.end())
                continue;
            it->second.bold = FALSE;
            if (it->second.value.vt == VT_EMPTY)
                sheet.cells.erase(it);
        }
}

// ---- CExcelWorksheet

CString CExcelWorksheet::GetName() const
{
    Book& book = OpenBook(m_book);
    return book.data.sheets.at(m_sheet).name;
}

void CExcelWorksheet::SetName(LPCTSTR name)
{
    Book& book = OpenBook(m_book);
    const CString text = name ? name : "";
    const std::size_t length = Utf8ToUtf16(text).size();
    if (length == 0 || length > static_cast<std::size_t>(kSheetNameMax) || text.FindOneOf(":\\/?*[]") >= 0)
        ThrowDispatch("The sheet name \"" + text + "\" is not allowed.");
    for (std::size_t i = 0; i < book.data.sheets.size(); ++i)
        if (i != m_sheet && book.data.sheets[i].name.CompareNoCase(text) == 0)
            ThrowDispatch("Another sheet is already named \"" + text + "\".");
    book.data.sheets.at(m_sheet).name = text;
}

CExcelRange CExcelWorksheet::GetRange(LPCTSTR cell1, LPCTSTR cell2) const
{
    OpenBook(m_book);
    CString first = cell1 ? cell1 : "";
    CString second = cell2 ? cell2 : "";
    if (second.IsEmpty()) {
        const int colon = first.Find(':');
        if (colon >= 0) {
            second = first.Mid(colon + 1);
            first = first.Left(colon);
        } else {
            second = first;
        }
    }
    long r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (!ParseCell(first, r1, c1) || !ParseCell(second, r2, c2))
        ThrowDispatch("The cell address is not valid.");
    return CExcelRange(
        m_book, m_sheet, std::min(r1, r2), std::min(c1, c2), std::abs(r2 - r1) + 1, std::abs(c2 - c1) + 1);
}

CExcelRange CExcelWorksheet::GetUsedRange() const
{
    Book& book = OpenBook(m_book);
    const SheetData& sheet = book.data.sheets.at(m_sheet);
    if (sheet.cells.empty())
        return CExcelRange(m_book, m_sheet, 0, 0, 1, 1);
    long firstColumn = kSheetMaxColumns, lastColumn = 0;
    for (const auto& [position, cell] : sheet.cells) {
        firstColumn = std::min(firstColumn, position.second);
        lastColumn = std::max(lastColumn, position.second);
    }
    const long firstRow = sheet.cells.begin()->first.first;
    const long lastRow = sheet.cells.rbegin()->first.first;
    return CExcelRange(
        m_book, m_sheet, firstRow, firstColumn, lastRow - firstRow + 1, lastColumn - firstColumn + 1);
}

// ---- CExcelWorksheets

long CExcelWorksheets::GetCount() const
{
    return static_cast<long>(OpenBook(m_book).data.sheets.size());
}

CExcelWorksheet CExcelWorksheets::GetItem(long index) const
{
    const Book& book = OpenBook(m_book);
    if (index < 1 || index > static_cast<long>(book.data.sheets.size())) {
        CString text;
        text.Format("The workbook has no sheet %ld.", index);
        ThrowDispatch(text, kDispErrorBadIndex);
    }
    return CExcelWorksheet(m_book, static_cast<std::size_t>(index - 1));
}

// ---- CExcelWorkbook

CExcelWorksheets CExcelWorkbook::GetWorksheets() const
{
    OpenBook(m_book);
    return CExcelWorksheets(m_book);
}

void CExcelWorkbook::SaveAs(LPCTSTR path)
{
    Book& book = OpenBook(m_book);
    const CString file = path ? path : "";
    CString error;
    if (file.IsEmpty() || !WriteWorkbookFile(file, book.data, &error))
        ThrowDispatch("Cannot save the workbook as \"" + file + "\": " + error);
    book.path = file;
    book.shown = false;
}

CString CExcelWorkbook::GetFullName() const
{
    return OpenBook(m_book).path;
}

void CExcelWorkbook::Close()
{
    Book& book = OpenBook(m_book);
    book.open = false;
    book.data = WorkbookData();
    if (auto app = book.app.lock())
        std::erase(app->books, m_book);
}

// ---- CExcelWorkbooks

CExcelWorkbook CExcelWorkbooks::Add()
{
    if (!m_app || !m_app->running)
        ThrowDispatch("The application is not running.", kErrorDisconnected);
    auto book = std::make_shared<Book>();
    book->app = m_app;
    for (long i = 1; i <= m_app->sheetsInNewWorkbook; ++i) {
        SheetData sheet;
        sheet.name.Format("Sheet%ld", i);
        book->data.sheets.push_back(std::move(sheet));
    }
    m_app->books.push_back(book);
    return CExcelWorkbook(book);
}

CExcelWorkbook CExcelWorkbooks::Open(LPCTSTR path)
{
    if (!m_app || !m_app->running)
        ThrowDispatch("The application is not running.", kErrorDisconnected);
    const CString file = path ? path : "";
    auto book = std::make_shared<Book>();
    CString error;
    if (file.IsEmpty() || !ReadWorkbookFile(file, book->data, &error))
        ThrowDispatch("Cannot open \"" + file + "\": " + error);
    book->path = file;
    book->app = m_app;
    m_app->books.push_back(book);
    return CExcelWorkbook(book);
}

long CExcelWorkbooks::GetCount() const
{
    if (!m_app || !m_app->running)
        ThrowDispatch("The application is not running.", kErrorDisconnected);
    return static_cast<long>(m_app->books.size());
}

// ---- CExcelApplication

CExcelApplication::~CExcelApplication()
{
    if (m_app && !m_app->userControl)
        Quit();
}

BOOL CExcelApplication::CreateDispatch(LPCTSTR progId)
{
    if (!progId || CString(progId) != "Excel.Application")
        return FALSE;
    if (!m_app)
        m_app = std::make_shared<sheet_detail::Application>();
    return TRUE;
}

sheet_detail::Application& CExcelApplication::App() const
{
    if (!m_app)
        ThrowDispatch("The application is not running.", kErrorDisconnected);
    return *m_app;
}

CExcelWorkbooks CExcelApplication::GetWorkbooks() const
{
    App();
    return CExcelWorkbooks(m_app);
}

long CExcelApplication::GetSheetsInNewWorkbook() const
{
    return App().sheetsInNewWorkbook;
}

void CExcelApplication::SetSheetsInNewWorkbook(long count)
{
    if (count < 1 || count > kMaxSheetsInNewWorkbook)
        ThrowDispatch("A new workbook has 1 to 255 sheets.");
    App().sheetsInNewWorkbook = count;
}

BOOL CExcelApplication::GetVisible() const
{
    return App().visible;
}

void CExcelApplication::SetVisible(BOOL visible)
{
    sheet_detail::Application& app = App();
    app.visible = visible ? TRUE : FALSE;
    if (!visible)
        return;
    for (const std::shared_ptr<Book>& book : app.books) {
        if (book->path.IsEmpty() || book->shown)
            continue;
        SHELLEXECUTEINFO info;
        info.lpVerb = "open";
        info.lpFile = book->path;
        info.nShow = 1; // SW_SHOWNORMAL
        ShellExecuteEx(&info);
        book->shown = true;
    }
}

BOOL CExcelApplication::GetUserControl() const
{
    return App().userControl;
}

void CExcelApplication::SetUserControl(BOOL userControl)
{
    App().userControl = userControl ? TRUE : FALSE;
}

void CExcelApplication::Quit()
{
    if (!m_app)
        return;
    for (const std::shared_ptr<Book>& book : m_app->books) {
        book->open = false;
        book->data = WorkbookData();
    }
    m_app->books.clear();
    m_app->running = false;
    m_app.reset();
}
