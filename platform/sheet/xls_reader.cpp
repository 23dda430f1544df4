#include "platform/sheet/xls_reader.h"

#include <freexl.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <mutex>
#include <new>

#include "platform/dao/ole_date_time.h"
#include "platform/sheet/biff8_reader.h"

namespace {

// Closes the handle however the read ends (FreeXL wants a close also after a
// failed open).
class FreeXlHandle {
public:
    ~FreeXlHandle()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    const void* m_handle = nullptr;
};

CString FreeXlErrorText(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "The file does not exist or cannot be read.";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "Not enough memory to read the workbook.";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return "The file is not an Excel workbook.";
    case FREEXL_UNSUPPORTED_CHARSET:
        return "The workbook's character set is not supported.";
    default:
        break;
    }
    CString text;
    text.Format("The workbook is damaged (error %d).", code);
    return text;
}

// A FreeXL date, date-time or time text as an OLE date; FALSE when it is none.
BOOL ParseDateText(const char* text, int type, DATE& value)
{
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    int parsed = 0;
    if (type == FREEXL_CELL_DATE)
        parsed = std::sscanf(text, "%d-%d-%d", &year, &month, &day) == 3;
    else if (type == FREEXL_CELL_DATETIME)
        parsed = std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second) == 6;
    else
        parsed = std::sscanf(text, "%d:%d:%d", &hour, &minute, &second) == 3;
    if (!parsed)
        return FALSE;
    const COleDateTime date(year, month, day, hour, minute, second);
    if (date.GetStatus() != COleDateTime::DateTimeStatus::Valid)
        return FALSE;
    value = date.m_dt;
    return TRUE;
}

COleVariant CellValue(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return COleVariant(static_cast<double>(cell.value.int_value));
    case FREEXL_CELL_DOUBLE:
        return COleVariant(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        if (cell.value.text_value && *cell.value.text_value)
            return COleVariant(cell.value.text_value);
        return COleVariant();
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
        if (!cell.value.text_value)
            return COleVariant();
        DATE date = 0;
        if (ParseDateText(cell.value.text_value, cell.type, date))
            return COleVariant(date, VT_DATE);
        return COleVariant(cell.value.text_value);
    }
    default:
        return COleVariant();
    }
}

constexpr gsf_off_t kMaxWorkbookStream = 256 * 1024 * 1024;
constexpr const char* kNotAWorkbook = "The file is not an Excel workbook, or it is damaged.";

// The workbook stream of the compound file ("Workbook", or "Book" in Excel
// 5 and 95), never longer than the file; empty when the file is no compound
// file, has no such stream or the stream cannot be read whole.
ByteBuffer ReadWorkbookStream(const std::string& native)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });
    ByteBuffer out;
    GsfInput* input = gsf_input_stdio_new(native.c_str(), nullptr);
    if (!input)
        return out;
    const gsf_off_t fileSize = gsf_input_size(input);
    GsfInfile* compound = gsf_infile_msole_new(input, nullptr);
    g_object_unref(input);
    if (!compound)
        return out;
    GsfInput* stream = gsf_infile_child_by_name(compound, "Workbook");
    if (!stream)
        stream = gsf_infile_child_by_name(compound, "Book");
    if (stream) {
        const gsf_off_t size = gsf_input_size(stream);
        if (size > 0 && size <= fileSize && size <= kMaxWorkbookStream) {
            out.resize(static_cast<std::size_t>(size));
            if (!gsf_input_read(stream, out.size(), out.data()))
                out.clear();
        }
        g_object_unref(stream);
    }
    g_object_unref(compound);
    return out;
}

// TRUE when the stream starts with the BOF record of a BIFF5 workbook
// globals substream: type 0x0809, version 0x0500, kind 0x0005.
bool IsBiff5Stream(const ByteBuffer& stream)
{
    constexpr std::uint8_t kBof[] = { 0x09, 0x08 };
    return stream.size() >= 8 && stream[0] == kBof[0] && stream[1] == kBof[1] && stream[4] == 0x00
        && stream[5] == 0x05 && stream[6] == 0x05 && stream[7] == 0x00;
}

// An Excel 5 or 95 workbook, read by FreeXL.
BOOL ReadWithFreeXl(const std::string& native, WorkbookData& book, CString* error)
{
    auto fail = [error](const CString& text) { return SheetFailure(error, text); };
    FreeXlHandle handle;
    int rc = freexl_open(native.c_str(), &handle.m_handle);
    if (rc != FREEXL_OK)
        return fail(FreeXlErrorText(rc));
    unsigned int info = 0;
    if (freexl_get_info(handle.m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK
        && info == FREEXL_BIFF_OBFUSCATED)
        return fail("The workbook is protected by a password.");
    unsigned int sheetCount = 0;
    rc = freexl_get_info(handle.m_handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    if (rc != FREEXL_OK)
        return fail(FreeXlErrorText(rc));

    WorkbookData out;
    for (unsigned int s = 0; s < sheetCount; ++s) {
        SheetData sheet;
        const char* name = nullptr;
        const auto index = static_cast<unsigned short>(s);
        if ((rc = freexl_get_worksheet_name(handle.m_handle, index, &name)) != FREEXL_OK
            || (rc = freexl_select_active_worksheet(handle.m_handle, index)) != FREEXL_OK)
            return fail(FreeXlErrorText(rc));
        sheet.name = name ? name : "";
        unsigned int rows = 0;
        unsigned short columns = 0;
        if ((rc = freexl_worksheet_dimensions(handle.m_handle, &rows, &columns)) != FREEXL_OK)
            return fail(FreeXlErrorText(rc));
        for (unsigned int r = 0; r < rows && r < kSheetMaxRows; ++r)
            for (unsigned short c = 0; c < columns && c < kSheetMaxColumns; ++c) {
                FreeXL_CellValue cell;
                if ((rc = freexl_get_cell_value(handle.m_handle, r, c, &cell)) != FREEXL_OK)
                    return fail(FreeXlErrorText(rc));
                COleVariant value = CellValue(cell);
                if (value.vt != VT_EMPTY && NormalizeCellValue(value))
                    sheet.cells[{ static_cast<long>(r), static_cast<long>(c) }].value = value;
            }
        out.sheets.push_back(std::move(sheet));
    }
    book = std::move(out);
    return TRUE;
}

} // namespace

BOOL ReadWorkbookFile(const CString& path, WorkbookData& book, CString* error)
{
    const std::string native = SheetFilePath(path, error);
    if (native.empty())
        return FALSE;
    try {
        // Excel 97 and later: our own reader, which keeps only the cells
        // present and reads formula results. Excel 5 and 95 workbooks go to
        // FreeXL, and only those: it is not safe on other files.
        const ByteBuffer stream = ReadWorkbookStream(native);
        if (IsBiff8Stream(stream))
            return ReadBiff8Stream(stream, book, error);
        if (IsBiff5Stream(stream))
            return ReadWithFreeXl(native, book, error);
        return SheetFailure(error, kNotAWorkbook);
    } catch (const std::bad_alloc&) {
        return SheetFailure(error, "Not enough memory to read the workbook.");
    }
}
