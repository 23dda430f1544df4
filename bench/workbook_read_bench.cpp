// workbook_read_bench: the workbook reader on crafted files a user may be
// sent: many sheet entries over one 5,000-cell sheet (143 KB and 270 KB) and
// a compound file of only its header. Each must end, read or refused, within
// 2 s and under 100 MB more memory.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sheet/biff8_writer.h"
#include "platform/sheet/xls_reader.h"
#include "tests/support/compound_header.h"

namespace {

using Clock = std::chrono::steady_clock;

long PeakKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::uint32_t U32(const ByteBuffer& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void SetU32(ByteBuffer& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 5,000-cell sheet named by `entries` sheet entries.
ByteBuffer ManyEntries(int entries)
{
    WorkbookData book;
    book.sheets.emplace_back();
    book.sheets[0].name = "Item";
    for (long r = 0; r < 1000; ++r)
        for (long c = 0; c < 5; ++c)
            book.sheets[0].cells[{ r, c }].value = COleVariant(static_cast<double>(r * 5 + c));
    ByteBuffer stream = BuildWorkbookStream(book);
    std::size_t at = 0;
    while (at + 4 <= stream.size() && (stream[at] | (stream[at + 1] << 8)) != 0x0085)
        at += 4 + (stream[at + 2] | (stream[at + 3] << 8));
    const std::size_t length = 4 + (stream[at + 2] | (stream[at + 3] << 8));
    const ByteBuffer entry(stream.begin() + static_cast<std::ptrdiff_t>(at),
        stream.begin() + static_cast<std::ptrdiff_t>(at + length));
    ByteBuffer copies;
    for (int i = 1; i < entries; ++i)
        copies.insert(copies.end(), entry.begin(), entry.end());
    stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(at), copies.begin(), copies.end());
    for (std::size_t e = 0; e < static_cast<std::size_t>(entries); ++e) {
        const std::size_t position = at + e * length + 4;
        SetU32(stream, position, U32(stream, position) + static_cast<std::uint32_t>(copies.size()));
    }
    return stream;
}

} // namespace

int main()
{
    const auto folder = std::filesystem::temp_directory_path() / "calvorn_workbook_read_bench";
    std::filesystem::create_directories(folder);
    const std::string many = (folder / "many.xls").string();
    const std::string more = (folder / "more.xls").string();
    const std::string header = (folder / "header.xls").string();
    if (!WriteWorkbookStreamFile(many.c_str(), ManyEntries(3000))
        || !WriteWorkbookStreamFile(more.c_str(), ManyEntries(15000))) {
        std::printf("cannot write the workbooks\n");
        return 1;
    }
    std::ofstream(header, std::ios::binary) << CompoundHeaderOnly();
    bool ok = true;
    for (const std::string& path : { many, more, header }) {
        const long before = PeakKb();
        const auto start = Clock::now();
        WorkbookData book;
        CString error;
        const BOOL read = ReadWorkbookFile(path.c_str(), book, &error);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const long grownMb = (PeakKb() - before) / 1024;
        const bool fine = ms < 2000 && grownMb < 100;
        ok = ok && fine;
        std::printf("%-10s %7ju bytes: %s in %.0f ms, peak memory +%ld MB %s\n",
            std::filesystem::path(path).filename().c_str(),
            static_cast<std::uintmax_t>(std::filesystem::file_size(path)),
            read ? CString::Formatted("%zu sheet(s), %zu cells read", book.sheets.size(),
                book.sheets.empty() ? std::size_t { 0 } : book.sheets[0].cells.size())
                       .GetString()
                 : error.GetString(),
            ms, grownMb, fine ? "ok" : "TOO MUCH");
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return ok ? 0 : 1;
}
