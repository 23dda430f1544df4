#include "platform/sheet/xls_reader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <mutex>
#include <new>

#include "platform/sheet/biff8_reader.h"

namespace {

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

} // namespace

BOOL ReadWorkbookFile(const CString& path, WorkbookData& book, CString* error)
{
    const std::string native = SheetFilePath(path, error);
    if (native.empty())
        return FALSE;
    try {
        // Excel 97 and later, and Excel 5 and 95: our own reader, which keeps
        // only the cells present and reads formula results.
        const ByteBuffer stream = ReadWorkbookStream(native);
        if (IsBiff8Stream(stream))
            return ReadBiff8Stream(stream, book, error);
        if (IsBiff5Stream(stream))
            return ReadBiff5Stream(stream, book, error);
        return SheetFailure(error, kNotAWorkbook);
    } catch (const std::bad_alloc&) {
        return SheetFailure(error, "Not enough memory to read the workbook.");
    }
}
