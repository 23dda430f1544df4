// The BIFF8 and BIFF5 workbook reader: cell records as other programs write them
// (formulas with their stored results, RK numbers, inline texts), strings cut
// by CONTINUE records, cut streams, protected workbooks, and memory that
// follows the cells present.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include "platform/dao/ole_date_time.h"
#include "platform/sheet/biff8_reader.h"
#include "platform/sheet/biff8_writer.h"
#include "platform/sheet/xls_reader.h"
#include "tests/platform/sheet_test_util.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/temp_folder.h"

namespace {

ByteBuffer Cell(std::uint16_t row, std::uint16_t column)
{
    ByteBuffer out;
    PutU16LE(out, row);
    PutU16LE(out, column);
    PutU16LE(out, 15); // the default cell format
    return out;
}

// A one-sheet workbook whose sheet also holds records.
ByteBuffer StreamWith(const ByteBuffer& records)
{
    WorkbookData book;
    book.sheets.emplace_back();
    book.sheets[0].name = "Item";
    book.sheets[0].cells[{ 0, 0 }].value = COleVariant("ID");
    ByteBuffer stream = BuildWorkbookStream(book);
    InsertIntoSheet(stream, 0, records);
    return stream;
}

ByteBuffer OtherProgramsCells()
{
    ByteBuffer r;
    PutBytes(r, FormulaRecord(1, 0, NumberResult(12.5)));
    PutBytes(r, FormulaRecord(1, 6, FormulaResult(1, 1))); // TRUE
    PutBytes(r, FormulaRecord(1, 2, FormulaResult(2, 0x07))); // #DIV/0!
    PutBytes(r, FormulaRecord(1, 3, FormulaResult(3, 0))); // empty text: an empty cell
    // A text result in the STRING record after it, cut by a CONTINUE that
    // goes on in UTF-16.
    PutBytes(r, FormulaRecord(1, 4, FormulaResult(0, 0)));
    PutBytes(r, BiffRecordBytes(0x0207, { 6, 0, 0, 'a', 'b', 'c' }));
    PutBytes(r, BiffRecordBytes(0x003C, { 1, 0x00, 0xAC, 0x98, 0xB0, 0xE4, 0xB2 }));
    // A text result whose STRING never comes leaves the cell empty.
    PutBytes(r, FormulaRecord(1, 5, FormulaResult(0, 0)));
    // An embedded substream (a chart): its cells are not the sheet's, and the
    // sheet goes on after its EOF.
    ByteBuffer chartBof = { 0x00, 0x06, 0x20, 0x00 };
    chartBof.resize(16, 0);
    PutBytes(r, BiffRecordBytes(0x0809, chartBof));
    ByteBuffer chartNumber = Cell(5, 5);
    PutBytes(chartNumber, NumberResult(1.0));
    PutBytes(r, BiffRecordBytes(0x0203, chartNumber));
    PutBytes(r, BiffRecordBytes(0x000A, {}));
    ByteBuffer rk = Cell(2, 5);
    PutU32LE(rk, (12345u << 2) | 2u); // integer
    PutBytes(r, BiffRecordBytes(0x027E, rk));
    ByteBuffer mulrk = Cell(2, 1);
    mulrk.resize(4); // row, first column
    PutU16LE(mulrk, 15);
    PutU32LE(mulrk, static_cast<std::uint32_t>(-7 * 4) | 2u);
    PutU16LE(mulrk, 15);
    PutU32LE(mulrk, (125u << 2) | 3u); // 125 / 100
    PutU16LE(mulrk, 2); // last column
    PutBytes(r, BiffRecordBytes(0x00BD, mulrk));
    ByteBuffer label = Cell(2, 3);
    PutBytes(label, ByteBuffer { 5, 0, 0, 'p', 'l', 'a', 'i', 'n' });
    PutBytes(r, BiffRecordBytes(0x0204, label));
    ByteBuffer boolerr = Cell(2, 4);
    PutBytes(boolerr, ByteBuffer { 0x2A, 1 }); // #N/A
    PutBytes(r, BiffRecordBytes(0x0205, boolerr));
    return r;
}

TEST(SheetReader, ReadsFormulaResultsAndTheCellsOtherProgramsWrite)
{
    WorkbookData book;
    CString error;
    ASSERT_TRUE(ReadBiff8Stream(StreamWith(OtherProgramsCells()), book, &error)) << error.GetString();
    ASSERT_EQ(book.sheets.size(), 1u);
    const auto& cells = book.sheets[0].cells;
    auto at = [&](long row, long column) -> const COleVariant& { return cells.at({ row, column }).value; };
    EXPECT_EQ(at(0, 0).bstrVal, "ID");
    EXPECT_EQ(at(1, 0).vt, VT_R8);
    EXPECT_EQ(at(1, 0).dblVal, 12.5);
    EXPECT_EQ(at(1, 6).vt, VT_BOOL);
    EXPECT_EQ(at(1, 6).boolVal, VARIANT_TRUE);
    EXPECT_EQ(at(1, 2).vt, VT_ERROR);
    EXPECT_EQ(at(1, 2).lVal, kCellErrorDiv0);
    EXPECT_EQ(cells.count({ 1, 3 }), 0u);
    EXPECT_EQ(at(1, 4).bstrVal, "abc가나다");
    EXPECT_EQ(cells.count({ 1, 5 }), 0u);
    EXPECT_EQ(at(2, 5).dblVal, 12345.0);
    EXPECT_EQ(at(2, 1).dblVal, -7.0);
    EXPECT_EQ(at(2, 2).dblVal, 1.25);
    EXPECT_EQ(at(2, 3).bstrVal, "plain");
    EXPECT_EQ(at(2, 4).lVal, kCellErrorNA);
    EXPECT_EQ(cells.size(), 10u);
}

TEST(SheetReader, CutStreamsAndProtectedWorkbooksAreReadSafely)
{
    const ByteBuffer stream = StreamWith(OtherProgramsCells());
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        WorkbookData book;
        const ByteBuffer part(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
        if (ReadBiff8Stream(part, book)) {
            EXPECT_LE(book.sheets.empty() ? 0u : book.sheets[0].cells.size(), 10u);
        }
    }
    ByteBuffer locked = stream;
    const ByteBuffer filePass = BiffRecordBytes(0x002F, { 0, 0 });
    locked.insert(locked.begin() + 20, filePass.begin(), filePass.end()); // after the BOF
    WorkbookData book;
    CString error;
    EXPECT_FALSE(ReadBiff8Stream(locked, book, &error));
    EXPECT_NE(error.Find("password"), -1) << error.GetString();
    EXPECT_FALSE(ReadBiff8Stream(ByteBuffer { 0x09, 0x08, 0, 0 }, book, &error));
}

ByteBuffer WithBytes(ByteBuffer data, const ByteBuffer& more)
{
    PutBytes(data, more);
    return data;
}

// A cell whose value runs past its record, or names a shared string that is
// not there, refuses the workbook naming the sheet and the cell.
TEST(SheetReader, ACellThatRunsPastItsRecordRefusesTheWorkbookNamingIt)
{
    const struct {
        const char* name;
        ByteBuffer records;
        const char* cell;
    } cases[] = {
        { "shared string not in the table", BiffRecordBytes(0x00FD, WithBytes(Cell(3, 0), { 1, 0, 0, 0 })),
            "cell A4 of sheet \"Item\" names a text the workbook does not hold" },
        { "RK one byte short", BiffRecordBytes(0x027E, WithBytes(Cell(3, 1), { 2, 0, 0 })), "cell B4" },
        { "label claiming 200 more characters",
            BiffRecordBytes(0x0204, WithBytes(Cell(11, 27), { 205, 0, 0, 'p', 'l', 'a', 'i', 'n' })),
            "cell AB12 of sheet \"Item\" runs past its record" },
        { "number cut", BiffRecordBytes(0x0203, WithBytes(Cell(4, 2), { 0, 0, 0, 0, 0, 0, 0xF0 })),
            "cell C5" },
        { "MULRK with a cut value",
            BiffRecordBytes(0x00BD, WithBytes(Cell(5, 0), { 0, 0, 0, 0, 15, 0, 9, 0, 1, 0 })), "cell A6" },
        { "boolean cut", BiffRecordBytes(0x0205, WithBytes(Cell(6, 0), { 1 })), "cell A7" },
        { "formula cut", BiffRecordBytes(0x0006, WithBytes(Cell(7, 3), NumberResult(1.0))), "cell D8" },
        { "formula text cut",
            WithBytes(FormulaRecord(8, 0, FormulaResult(0, 0)), BiffRecordBytes(0x0207, { 9, 0, 0, 'a' })),
            "cell A9" },
        { "no room for an address", BiffRecordBytes(0x0203, { 1, 0, 2 }), "a cell of sheet \"Item\"" },
        { "its address only", BiffRecordBytes(0x0203, { 4, 0, 1, 0 }), "cell B5" },
    };
    for (const auto& c : cases) {
        WorkbookData book;
        CString error;
        EXPECT_FALSE(ReadBiff8Stream(StreamWith(c.records), book, &error)) << c.name;
        EXPECT_EQ(error.Left(25), "The workbook is damaged: ") << c.name;
        EXPECT_NE(error.Find(c.cell), -1) << c.name << ": " << error.GetString();
    }
    // Excel 95: every tenth name claims 200 bytes more than its record holds.
    ByteBuffer names;
    for (std::uint16_t row = 0; row < 30; ++row) {
        ByteBuffer label = Biff5Label(row, 2, "Item name");
        if (row % 10 == 9)
            label[10] = static_cast<std::uint8_t>(label[10] + 200);
        PutBytes(names, label);
    }
    WorkbookData book;
    CString error;
    EXPECT_FALSE(ReadBiff5Stream(Biff5Stream(1252, { { "Item", names } }), book, &error));
    EXPECT_EQ(error, "The workbook is damaged: cell C10 of sheet \"Item\" runs past its record.");
}

TEST(SheetReader, StringsBeyondTheCountsTheirRecordsGiveAreNotRead)
{
    // The shared string table says one string but holds two: the second is
    // no string of the workbook, and the cell naming it is damaged.
    WorkbookData book;
    book.sheets.emplace_back();
    book.sheets[0].name = "Item";
    book.sheets[0].cells[{ 0, 0 }].value = COleVariant("one");
    book.sheets[0].cells[{ 0, 1 }].value = COleVariant("two");
    ByteBuffer stream = BuildWorkbookStream(book);
    ByteBuffer counted = stream;
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x00FC)
            counted[record.offset + 8] = 1; // unique strings
    WorkbookData read;
    CString error;
    EXPECT_FALSE(ReadBiff8Stream(counted, read, &error));
    EXPECT_EQ(
        error, "The workbook is damaged: cell B1 of sheet \"Item\" names a text the workbook does not hold.");
    // A text result waits for its STRING only until the next cell (a MULBLANK).
    ByteBuffer cells = FormulaRecord(1, 0, FormulaResult(0, 0));
    PutBytes(cells, BiffRecordBytes(0x00BE, { 1, 0, 2, 0, 15, 0, 15, 0, 3, 0 }));
    PutBytes(cells, BiffRecordBytes(0x0207, { 4, 0, 0, 'l', 'a', 't', 'e' }));
    InsertIntoSheet(stream, 0, cells);
    ASSERT_TRUE(ReadBiff8Stream(stream, read));
    const auto& got = read.sheets.at(0).cells;
    EXPECT_EQ(got.at({ 0, 0 }).value.bstrVal, "one");
    EXPECT_EQ(got.at({ 0, 1 }).value.bstrVal, "two");
    EXPECT_EQ(got.count({ 1, 0 }), 0u);
}

TEST(SheetReader, MemoryFollowsTheCellsPresent)
{
    TempFolder folder;
    WorkbookData book;
    book.sheets.emplace_back();
    book.sheets[0].name = "Item";
    book.sheets[0].cells[{ 0, 0 }].value = COleVariant("ID");
    book.sheets[0].cells[{ 65535, 255 }].value = COleVariant("IV65536");
    const std::string path = folder.File("stray.xls");
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), book));
    auto peakKb = [] {
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    const long before = peakKb();
    WorkbookData read;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), read));
    // A reader that sized the sheet by its last address would take hundreds
    // of megabytes here.
    EXPECT_LT(peakKb() - before, 64 * 1024);
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].cells.size(), 2u);
    EXPECT_EQ(read.sheets[0].cells.at({ 65535, 255 }).value.bstrVal, "IV65536");
}

// A FORMAT record with its text, and an XF record that uses it.
ByteBuffer FormatRecords(std::uint16_t index, const std::string& text)
{
    ByteBuffer format;
    PutU16LE(format, index);
    PutU16LE(format, static_cast<std::uint16_t>(text.size()));
    PutU8(format, 0);
    PutBytes(format, ByteBuffer(text.begin(), text.end()));
    ByteBuffer xf(20, 0);
    xf[2] = static_cast<std::uint8_t>(index);
    xf[3] = static_cast<std::uint8_t>(index >> 8);
    ByteBuffer out = BiffRecordBytes(0x041E, format);
    PutBytes(out, BiffRecordBytes(0x00E0, xf));
    return out;
}

} // namespace

TEST(SheetReader, NumbersWithADateOrTimeFormatAreDates)
{
    const std::string formats[] = { "[h]", "yyyy-mm-dd", "[Red]0.00", "\"days\" 0", "0\\d", "General" };
    const bool dates[] = { true, true, false, false, false, false };
    ByteBuffer globals;
    for (std::size_t i = 0; i < std::size(formats); ++i)
        PutBytes(globals, FormatRecords(static_cast<std::uint16_t>(164 + i), formats[i]));
    ByteBuffer stream = StreamWith({});
    std::size_t xfCount = 0;
    for (const BiffRecord& record : WalkRecords(stream))
        xfCount += record.type == 0x00E0;
    ByteBuffer cells;
    for (std::size_t i = 0; i < std::size(formats); ++i) {
        ByteBuffer number = Cell(1, static_cast<std::uint16_t>(i));
        number[4] = static_cast<std::uint8_t>(xfCount + i);
        PutBytes(number, NumberResult(45000.5));
        PutBytes(cells, BiffRecordBytes(0x0203, number));
    }
    ByteBuffer unknownFormat = Cell(2, 0);
    unknownFormat[5] = 0x40; // XF 16384: no such format
    PutBytes(unknownFormat, NumberResult(45000.5));
    PutBytes(cells, BiffRecordBytes(0x0203, unknownFormat));
    InsertIntoSheet(stream, 0, cells);
    stream = WithGlobals(stream, globals);

    WorkbookData book;
    ASSERT_TRUE(ReadBiff8Stream(stream, book));
    ASSERT_EQ(book.sheets.size(), 1u);
    for (std::size_t i = 0; i < std::size(formats); ++i) {
        SCOPED_TRACE(formats[i]);
        const COleVariant& value = book.sheets[0].cells.at({ 1, static_cast<long>(i) }).value;
        EXPECT_EQ(value.vt, dates[i] ? VT_DATE : VT_R8);
    }
    EXPECT_EQ(book.sheets[0].cells.at({ 2, 0 }).value.vt, VT_R8);
    EXPECT_EQ(book.sheets[0].cells.at({ 1, 1 }).value.date, 45000.5);
    // A workbook that counts from 1904.
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x0022)
            stream[record.offset + 4] = 1;
    ASSERT_TRUE(ReadBiff8Stream(stream, book));
    EXPECT_EQ(book.sheets[0].cells.at({ 1, 1 }).value.date, 45000.5 + 1462);
}

namespace {

// An Excel 95 workbook in code page 949: sheet "품목" with a text, numbers, a
// boolean, a date, a formula's text result and a rich text; sheet "Two" empty.
ByteBuffer Excel95Stream()
{
    ByteBuffer globals = BiffRecordBytes(
        0x0031, { 200, 0, 0, 0, 0xFF, 0x7F, 0x90, 1, 0, 0, 0, 0, 0, 0, 5, 'A', 'r', 'i', 'a', 'l' });
    for (std::uint16_t xf = 0; xf < 17; ++xf) { // XF 16 shows a date (format 14)
        ByteBuffer data = { 0, 0, static_cast<std::uint8_t>(xf == 16 ? 14 : 0), 0 };
        data.resize(16, 0);
        PutBytes(globals, BiffRecordBytes(0x00E0, data));
    }
    ByteBuffer cells = Biff5Label(0, 0, "\xBB\xE7\xB0\xFA"); // 사과
    ByteBuffer number = Cell(0, 1);
    PutBytes(number, NumberResult(42.5));
    PutBytes(cells, BiffRecordBytes(0x0203, number));
    ByteBuffer rk = Cell(0, 2);
    PutU32LE(rk, (7u << 2) | 2u);
    PutBytes(cells, BiffRecordBytes(0x027E, rk));
    ByteBuffer boolean = Cell(0, 3);
    PutBytes(boolean, ByteBuffer { 1, 0 });
    PutBytes(cells, BiffRecordBytes(0x0205, boolean));
    ByteBuffer date = Cell(1, 0);
    date[4] = 16;
    PutBytes(date, NumberResult(45356.0));
    PutBytes(cells, BiffRecordBytes(0x0203, date));
    PutBytes(cells, FormulaRecord(1, 1, FormulaResult(0, 0)));
    PutBytes(cells, BiffRecordBytes(0x0207, { 4, 0, 'p', 'e', 'a', 'r' }));
    ByteBuffer rich = Biff5Label(1, 2, "plain");
    rich[0] = 0xD6;
    rich[1] = 0x00;
    rich[2] = static_cast<std::uint8_t>(rich[2] + 3);
    PutBytes(rich, ByteBuffer { 1, 0, 0 }); // one formatting run
    PutBytes(cells, rich);
    return Biff5Stream(949, { { "\xC7\xB0\xB8\xF1", cells }, { "Two", {} } }, globals); // 품목
}

} // namespace

TEST(SheetReader, Excel95WorkbooksAreReadInTheirCodePage)
{
    TempFolder folder;
    const std::string path = folder.File("old.xls");
    ASSERT_TRUE(WriteWorkbookStreamFile(path.c_str(), Excel95Stream()));
    // xlrd, a reader of its own, reads the file as we build it.
    const std::string dump = XlrdDump(path);
    EXPECT_TRUE(HasLine(dump, "S 품목"));
    EXPECT_TRUE(HasLine(dump, "C 0 0 1 0 사과"));
    EXPECT_TRUE(HasLine(dump, "C 1 1 1 0 pear"));

    WorkbookData book;
    CString error;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), book, &error)) << error.GetString();
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, "품목");
    EXPECT_EQ(book.sheets[1].name, "Two");
    EXPECT_TRUE(book.sheets[1].cells.empty());
    const auto& cells = book.sheets[0].cells;
    auto at = [&](long row, long column) -> const COleVariant& { return cells.at({ row, column }).value; };
    EXPECT_EQ(at(0, 0).bstrVal, "사과");
    EXPECT_EQ(at(0, 1).dblVal, 42.5);
    EXPECT_EQ(at(0, 2).dblVal, 7.0);
    EXPECT_EQ(at(0, 3).vt, VT_BOOL);
    EXPECT_EQ(at(1, 0).vt, VT_DATE);
    EXPECT_EQ(at(1, 1).bstrVal, "pear");
    EXPECT_EQ(at(1, 2).bstrVal, "plain");
    EXPECT_EQ(cells.size(), 7u);

    // Windows-1252; 1255 and 1258, whose converters hold a letter back until
    // they know no combining mark follows, keep every text's last letter.
    const struct {
        std::uint16_t codePage;
        const char* bytes;
        const char* text;
    } pages[] = {
        { 1252, "na\xEFve", "naïve" },
        { 1255, "\xF9\xEC\xE5\xED", "שלום" },
        { 1258, "caf\xE9", "café" },
        { 1258, "Ph\xF5\xD2 \xFF", "Phở ÿ" },
    };
    for (const auto& page : pages) {
        const ByteBuffer one = Biff5Stream(page.codePage, { { page.bytes, Biff5Label(0, 0, page.bytes) } });
        ASSERT_TRUE(ReadBiff5Stream(one, book, &error)) << error.GetString();
        EXPECT_EQ(book.sheets[0].name, page.text) << page.codePage;
        EXPECT_EQ(book.sheets[0].cells.at({ 0, 0 }).value.bstrVal, page.text) << page.codePage;
    }
    // Without a CODEPAGE record the texts are Windows-1252.
    ByteBuffer plain = Biff5Stream(1252, { { "caf\xE9", Biff5Label(0, 0, "caf\xE9") } });
    ASSERT_EQ(plain[12], 0x42);
    plain.erase(plain.begin() + 12, plain.begin() + 18);
    for (const BiffRecord& record : WalkRecords(plain))
        if (record.type == 0x0085)
            plain[record.offset + 4] = static_cast<std::uint8_t>(plain[record.offset + 4] - 6);
    ASSERT_TRUE(ReadBiff5Stream(plain, book, &error)) << error.GetString();
    EXPECT_EQ(book.sheets[0].cells.at({ 0, 0 }).value.bstrVal, "café");
    // A code page this system has no table for is said, not guessed.
    EXPECT_FALSE(ReadBiff5Stream(Biff5Stream(4711, { { "caf\xE9", {} } }), book, &error));
    EXPECT_EQ(error, "The workbook's texts are in code page 4711, which this program cannot read.");
    // Bytes that are no CP949 character.
    ASSERT_TRUE(ReadBiff5Stream(Biff5Stream(949, { { "a", Biff5Label(0, 0, "x\xFF\xB0") } }), book));
    EXPECT_EQ(book.sheets[0].cells.at({ 0, 0 }).value.bstrVal, "x??");
}

TEST(SheetReader, DamagedExcel95WorkbooksAreRefusedWithinTheirBytes)
{
    const ByteBuffer stream = Excel95Stream();
    // A record whose length runs past the stream: the last LABEL's.
    ByteBuffer cut = stream;
    std::size_t label = 0;
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x00D6)
            label = record.offset;
    ASSERT_NE(label, 0u);
    cut[label + 2] = 0xFF;
    cut[label + 3] = 0xFF;
    // A sheet entry that names no sheet.
    ByteBuffer moved = stream;
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x0085) {
            moved[record.offset + 4] ^= 0x01;
            break;
        }
    WorkbookData book;
    CString error;
    EXPECT_FALSE(ReadBiff5Stream(cut, book, &error));
    EXPECT_EQ(error, "The workbook is damaged: a record runs past the end of its stream.");
    EXPECT_FALSE(ReadBiff5Stream(moved, book, &error));
    EXPECT_EQ(error, "The workbook is damaged: sheet \"품목\" is not where it says.");

    // Three bytes changed anywhere: read within the stream (the address
    // sanitizer watches), refused as damaged or read with no more cells.
    for (std::size_t at = 0; at + 3 <= 400; ++at) {
        ByteBuffer damaged = stream;
        for (std::size_t i = 0; i < 3; ++i)
            damaged[at + i] = static_cast<std::uint8_t>(damaged[at + i] ^ 0xA5);
        error.Empty();
        if (ReadBiff5Stream(damaged, book, &error)) {
            std::size_t count = 0;
            for (const SheetData& sheet : book.sheets)
                count += sheet.cells.size();
            EXPECT_LE(count, 9u) << at;
        } else {
            EXPECT_TRUE(error.Find("damaged") != -1 || error.Find("not an Excel") != -1
                || error.Find("password") != -1 || error.Find("code page") != -1)
                << at << ": " << error.GetString();
        }
    }
}

TEST(SheetReader, OnlyExcel5AndLaterCompoundFilesAreRead)
{
    TempFolder folder;
    WorkbookData book;
    CString error;
    ByteBuffer foreign = Excel95Stream();
    foreign[4] = 0x00;
    foreign[5] = 0x04; // BIFF4
    const std::string files[] = { "plain text", CompoundHeaderOnly() };
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string path = folder.File("bad" + std::to_string(i) + ".xls");
        if (i < 2)
            TempDataRoot::WriteAll(path, files[i]);
        else
            ASSERT_TRUE(WriteWorkbookStreamFile(path.c_str(), foreign));
        error.Empty();
        EXPECT_FALSE(ReadWorkbookFile(path.c_str(), book, &error)) << i;
        EXPECT_EQ(error, "The file is not an Excel workbook, or it is damaged.") << i;
    }
}

TEST(SheetReader, WhatAFileCanMakeTheReaderHoldIsBoundedByItsSize)
{
    // A sheet of 501 cells that holds an embedded substream of 500 more.
    ByteBuffer cells = BiffRecordBytes(0x0809, { 0x00, 0x06, 0x10, 0x00, 0, 0, 0, 0 });
    for (std::uint16_t r = 1; r <= 500; ++r) {
        ByteBuffer number = Cell(r, 0);
        PutBytes(number, NumberResult(r));
        PutBytes(cells, BiffRecordBytes(0x0203, number));
    }
    PutBytes(cells, BiffRecordBytes(0x000A, {}));
    for (std::uint16_t r = 1; r <= 500; ++r) {
        ByteBuffer number = Cell(r, 1);
        PutBytes(number, NumberResult(r));
        PutBytes(cells, BiffRecordBytes(0x0203, number));
    }
    ByteBuffer outside = Cell(1, 300); // beyond the 256 columns: not read
    PutBytes(outside, NumberResult(1));
    PutBytes(cells, BiffRecordBytes(0x0203, outside));
    const ByteBuffer stream = StreamWith(cells);
    std::vector<std::uint32_t> bofs;
    for (const BiffRecord& record : WalkRecords(stream))
        if (record.type == 0x0809)
            bofs.push_back(static_cast<std::uint32_t>(record.offset));
    ASSERT_EQ(bofs.size(), 3u); // globals, sheet, embedded

    // Many entries over one sheet: it is read once.
    ByteBuffer many;
    for (int i = 0; i < 3000; ++i)
        PutBytes(many, SheetEntry(bofs[1]));
    WorkbookData book;
    CString error;
    ASSERT_TRUE(ReadBiff8Stream(WithGlobals(stream, many), book, &error)) << error.GetString();
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].cells.size(), 501u);

    // An entry that starts inside another sheet walks its records again.
    EXPECT_FALSE(ReadBiff8Stream(WithGlobals(stream, SheetEntry(bofs[2])), book, &error));
    EXPECT_NE(error.Find("damaged"), -1) << error.GetString();

    // One long shared string named by many cells.
    ByteBuffer sst;
    PutU32LE(sst, 1);
    PutU32LE(sst, 1);
    PutU16LE(sst, 8000);
    PutU8(sst, 0);
    sst.resize(sst.size() + 8000, 'x');
    ByteBuffer labels;
    for (std::uint16_t r = 1; r <= 20000; ++r) {
        ByteBuffer label = Cell(r, 1);
        PutU32LE(label, 0);
        PutBytes(labels, BiffRecordBytes(0x00FD, label));
    }
    error.Empty();
    EXPECT_FALSE(
        ReadBiff8Stream(WithGlobals(StreamWith(labels), BiffRecordBytes(0x00FC, sst)), book, &error));
    EXPECT_NE(error.Find("damaged"), -1) << error.GetString();
}

TEST(SheetReader, DatesBeyondTheYears100To9999StayNumbers)
{
    struct Case {
        double value;
        VARTYPE vt;
        const char* shown;
    };
    const Case cases[] = {
        { 1e300, VT_R8, "1e+300" },
        { 3e6, VT_R8, "3000000" },
        { 2958465.5, VT_DATE, "9999-12-31 12:00:00" },
        { -657434.0, VT_DATE, "0100-01-01" },
        { -657435.5, VT_R8, "-657435.5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        COleVariant value(c.value, VT_DATE);
        ASSERT_TRUE(NormalizeCellValue(value));
        EXPECT_EQ(value.vt, c.vt);
        EXPECT_EQ(CellDisplayText(COleVariant(c.value, VT_DATE)), c.shown);
        EXPECT_EQ(COleDateTime(c.value).GetStatus() == COleDateTime::DateTimeStatus::Valid, c.vt == VT_DATE);
    }
    EXPECT_EQ(COleDateTime(1e300).GetYear(), -1);
}
