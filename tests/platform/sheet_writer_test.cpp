// The BIFF8 workbook writer: the records it writes, and its files read back
// by our reader (platform/sheet) and by xlrd, a reader independent of our code.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <string>

#include "platform/sheet/biff8_writer.h"
#include "platform/sheet/xls_reader.h"
#include "tests/platform/dao_test_util.h"
#include "tests/platform/sheet_test_util.h"
#include "tests/support/store_fault.h"
#include "tests/support/temp_folder.h"

namespace {

SheetCell Cell(const COleVariant& value, BOOL bold = FALSE)
{
    SheetCell cell;
    cell.value = value;
    cell.bold = bold;
    return cell;
}

WorkbookData OneSheet(const char* name)
{
    WorkbookData book;
    book.sheets.emplace_back();
    book.sheets.back().name = name;
    return book;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

const BiffRecord* Find(const std::vector<BiffRecord>& records, std::uint16_t type, std::size_t nth = 0)
{
    for (const BiffRecord& record : records)
        if (record.type == type && nth-- == 0)
            return &record;
    return nullptr;
}

// The strings of an SST record and its CONTINUE records, decoded by the
// grammar: count, options, characters; the options byte again at the start of
// every CONTINUE that goes on with a string.
std::vector<std::vector<std::uint16_t>> DecodeSst(const std::vector<BiffRecord>& records)
{
    std::vector<std::vector<std::uint8_t>> parts;
    bool inSst = false;
    for (const BiffRecord& record : records) {
        if (record.type == 0x00FC) {
            inSst = true;
            parts.push_back(record.data);
        } else if (inSst && record.type == 0x003C) {
            parts.push_back(record.data);
        } else if (inSst) {
            break;
        }
    }
    std::vector<std::vector<std::uint16_t>> strings;
    if (parts.empty())
        return strings;
    const std::uint32_t unique = U32At(parts[0], 4);
    std::size_t part = 0, pos = 8;
    for (std::uint32_t i = 0; i < unique; ++i) {
        if (pos == parts[part].size()) {
            ++part;
            pos = 0;
        }
        const std::uint16_t count = U16At(parts[part], pos);
        bool high = parts[part].at(pos + 2) & 1;
        pos += 3;
        std::vector<std::uint16_t> units;
        while (units.size() < count) {
            if (pos == parts[part].size()) {
                ++part;
                high = parts.at(part).at(0) & 1;
                pos = 1;
            }
            if (high) {
                units.push_back(U16At(parts[part], pos));
                pos += 2;
            } else {
                units.push_back(parts[part].at(pos));
                pos += 1;
            }
        }
        strings.push_back(units);
    }
    return strings;
}

class SheetWriterTest : public testing::Test {
protected:
    TempFolder m_folder;
};

} // namespace

TEST(SheetWriter, GlobalsStartWithTheBiff8WorkbookBof)
{
    const ByteBuffer stream = BuildWorkbookStream(OneSheet("Item"));
    const std::vector<BiffRecord> records = WalkRecords(stream);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].type, 0x0809);
    EXPECT_EQ(
        records[0].data, Bytes({ 0x00, 0x06, 0x05, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0 }));
    // Code page: UTF-16.
    const BiffRecord* codepage = Find(records, 0x0042);
    ASSERT_NE(codepage, nullptr);
    EXPECT_EQ(codepage->data, Bytes({ 0xB0, 0x04 }));
    // The stream ends with the sheet's EOF; every record fits the size limit.
    EXPECT_EQ(records.back().type, 0x000A);
    EXPECT_EQ(records.back().offset + 4, stream.size());
    for (const BiffRecord& record : records)
        EXPECT_LE(record.data.size(), 8224u);
}

TEST(SheetWriter, BoundSheetsPointAtTheirWorksheets)
{
    WorkbookData book = OneSheet("Item");
    book.sheets.emplace_back();
    book.sheets.back().name = "상품";
    book.sheets.back().cells[{ 0, 0 }] = Cell(COleVariant(1.0));
    const ByteBuffer stream = BuildWorkbookStream(book);
    const std::vector<BiffRecord> records = WalkRecords(stream);
    const BiffRecord* first = Find(records, 0x0085, 0);
    const BiffRecord* second = Find(records, 0x0085, 1);
    ASSERT_TRUE(first && second);
    // Visible worksheet; 8-bit name, then a UTF-16 name.
    EXPECT_EQ(std::vector<std::uint8_t>(first->data.begin() + 4, first->data.end()),
        Bytes({ 0, 0, 4, 0, 'I', 't', 'e', 'm' }));
    EXPECT_EQ(std::vector<std::uint8_t>(second->data.begin() + 4, second->data.end()),
        Bytes({ 0, 0, 2, 1, 0xC1, 0xC0, 0x88, 0xD4 }));
    for (const BiffRecord* bound : { first, second }) {
        const std::uint32_t position = U32At(bound->data, 0);
        ASSERT_LT(position + 8, stream.size());
        EXPECT_EQ(
            U16At(std::vector<std::uint8_t>(stream.begin() + position, stream.begin() + position + 8), 0),
            0x0809);
        // A worksheet BOF.
        EXPECT_EQ(stream[position + 6], 0x10);
    }
}

TEST(SheetWriter, CellsAreWrittenByType)
{
    WorkbookData book = OneSheet("S");
    auto& cells = book.sheets[0].cells;
    cells[{ 1, 2 }] = Cell(COleVariant("ab"));
    cells[{ 2, 0 }] = Cell(COleVariant(12.5));
    cells[{ 2, 1 }] = Cell(COleVariant(static_cast<SHORT>(1), VT_BOOL));
    cells[{ 2, 3 }] = Cell(COleVariant(kCellErrorDiv0, VT_ERROR));
    cells[{ 3, 0 }] = Cell(COleVariant(), TRUE);
    const std::vector<BiffRecord> records = WalkRecords(BuildWorkbookStream(book));

    const BiffRecord* label = Find(records, 0x00FD);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->data, Bytes({ 1, 0, 2, 0, 15, 0, 0, 0, 0, 0 }));
    const BiffRecord* number = Find(records, 0x0203);
    ASSERT_NE(number, nullptr);
    ByteBuffer expected = Bytes({ 2, 0, 0, 0, 15, 0 });
    const auto bits = std::bit_cast<std::uint64_t>(12.5);
    for (int i = 0; i < 8; ++i)
        expected.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    EXPECT_EQ(number->data, expected);
    const BiffRecord* boolean = Find(records, 0x0205, 0);
    const BiffRecord* error = Find(records, 0x0205, 1);
    ASSERT_TRUE(boolean && error);
    EXPECT_EQ(boolean->data, Bytes({ 2, 0, 1, 0, 15, 0, 1, 0 }));
    EXPECT_EQ(error->data, Bytes({ 2, 0, 3, 0, 15, 0, 7, 1 }));
    // A bold empty cell keeps its format; its XF names the bold font.
    const BiffRecord* blank = Find(records, 0x0201);
    ASSERT_NE(blank, nullptr);
    const std::uint16_t xf = U16At(blank->data, 4);
    EXPECT_EQ(xf, 16);
    const BiffRecord* boldXf = Find(records, 0x00E0, xf);
    ASSERT_NE(boldXf, nullptr);
    const std::uint16_t font = U16At(boldXf->data, 0);
    const BiffRecord* boldFont = Find(records, 0x0031, font);
    ASSERT_NE(boldFont, nullptr);
    EXPECT_EQ(U16At(boldFont->data, 6), 700);
    EXPECT_EQ(U16At(Find(records, 0x0031, 0)->data, 6), 400);
    // The used area: rows 1 to 3, columns 0 to 3.
    const BiffRecord* dimensions = Find(records, 0x0200);
    ASSERT_NE(dimensions, nullptr);
    EXPECT_EQ(dimensions->data, Bytes({ 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 4, 0, 0, 0 }));
}

TEST(SheetWriter, EmptySheetHasEmptyDimensions)
{
    const std::vector<BiffRecord> records = WalkRecords(BuildWorkbookStream(OneSheet("S")));
    const BiffRecord* dimensions = Find(records, 0x0200);
    ASSERT_NE(dimensions, nullptr);
    EXPECT_EQ(dimensions->data, ByteBuffer(14, 0));
    EXPECT_EQ(Find(records, 0x00FD), nullptr);
}

TEST(SheetWriter, SharedStringsAreStoredOnceInFirstUseOrder)
{
    WorkbookData book = OneSheet("S");
    auto& cells = book.sheets[0].cells;
    cells[{ 0, 0 }] = Cell(COleVariant("ab"));
    cells[{ 0, 1 }] = Cell(COleVariant("가"));
    cells[{ 1, 0 }] = Cell(COleVariant("ab"));
    const std::vector<BiffRecord> records = WalkRecords(BuildWorkbookStream(book));
    const BiffRecord* sst = Find(records, 0x00FC);
    ASSERT_NE(sst, nullptr);
    EXPECT_EQ(sst->data, Bytes({ 3, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 'a', 'b', 1, 0, 1, 0x00, 0xAC }));
    // The third cell refers to string 0 again.
    const BiffRecord* third = Find(records, 0x00FD, 2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(U32At(third->data, 6), 0u);
    EXPECT_EQ(U32At(Find(records, 0x00FD, 1)->data, 6), 1u);
}

TEST(SheetWriter, LongStringsContinueAtCharacterBoundaries)
{
    // Sizes around the record limit, 8-bit and 16-bit.
    WorkbookData book = OneSheet("S");
    std::vector<CString> texts;
    for (int i = 0; i < 12; ++i) {
        CString text;
        for (int k = 0; k < 700 + i * 611; ++k)
            text += (i % 2) ? "한" : "x";
        texts.push_back(text);
        book.sheets[0].cells[{ i, 0 }] = Cell(COleVariant(text));
    }
    const ByteBuffer stream = BuildWorkbookStream(book);
    const std::vector<BiffRecord> records = WalkRecords(stream);
    EXPECT_NE(Find(records, 0x003C), nullptr);
    const auto strings = DecodeSst(records);
    ASSERT_EQ(strings.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(strings[i], Utf8ToUtf16(texts[i])) << "string " << i;
    // EXTSST: eight strings a bucket, each position at a string's count.
    const BiffRecord* ext = Find(records, 0x00FF);
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(U16At(ext->data, 0), 8);
    ASSERT_EQ(ext->data.size(), 2u + 8u * 2u);
    for (std::size_t bucket = 0; bucket < 2; ++bucket) {
        const std::uint32_t position = U32At(ext->data, 2 + 8 * bucket);
        const std::uint16_t offset = U16At(ext->data, 6 + 8 * bucket);
        const std::vector<std::uint8_t> here(stream.begin() + position, stream.begin() + position + 2);
        EXPECT_EQ(U16At(here, 0), strings[bucket * 8].size());
        // The offset counts from the header of the record that holds it.
        const std::vector<std::uint8_t> header(
            stream.begin() + (position - offset), stream.begin() + (position - offset) + 2);
        const std::uint16_t type = U16At(header, 0);
        EXPECT_TRUE(type == 0x00FC || type == 0x003C);
    }
}

TEST(SheetWriter, ColumnWidthsBecomeColInfoRecords)
{
    WorkbookData book = OneSheet("S");
    book.sheets[0].columnWidths[2] = 3000;
    book.sheets[0].columnWidths[300] = 3000; // beyond the sheet
    const std::vector<BiffRecord> records = WalkRecords(BuildWorkbookStream(book));
    const BiffRecord* info = Find(records, 0x007D);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->data, Bytes({ 2, 0, 2, 0, 0xB8, 0x0B, 15, 0, 6, 0, 0, 0 }));
    EXPECT_EQ(Find(records, 0x007D, 1), nullptr);
}

TEST(SheetWriter, CellsOutsideTheSheetAreLeftOut)
{
    WorkbookData book = OneSheet("S");
    book.sheets[0].cells[{ kSheetMaxRows, 0 }] = Cell(COleVariant("below"));
    book.sheets[0].cells[{ 0, kSheetMaxColumns }] = Cell(COleVariant(1.0));
    book.sheets[0].cells[{ kSheetMaxRows - 1, kSheetMaxColumns - 1 }] = Cell(COleVariant("last"));
    const std::vector<BiffRecord> records = WalkRecords(BuildWorkbookStream(book));
    EXPECT_EQ(Find(records, 0x0203), nullptr);
    const BiffRecord* label = Find(records, 0x00FD);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Bytes({ 0xFF, 0xFF, 0xFF, 0x00 }),
        std::vector<std::uint8_t>(label->data.begin(), label->data.begin() + 4));
    EXPECT_EQ(Find(records, 0x00FD, 1), nullptr);
    EXPECT_EQ(DecodeSst(records).size(), 1u);
}

TEST_F(SheetWriterTest, FilesReadBackWithOurReaderAndXlrd)
{
    WorkbookData book = OneSheet("Item");
    auto& cells = book.sheets[0].cells;
    cells[{ 0, 0 }] = Cell(COleVariant("ID"), TRUE);
    cells[{ 0, 1 }] = Cell(COleVariant("item_name"), TRUE);
    cells[{ 1, 0 }] = Cell(COleVariant(1.0));
    cells[{ 1, 1 }] = Cell(COleVariant("사과 'A'"));
    cells[{ 1, 2 }] = Cell(COleVariant("00123"));
    cells[{ 1, 3 }] = Cell(COleVariant(45000.0, VT_DATE));
    cells[{ 1, 4 }] = Cell(COleVariant(12345678901.0));
    cells[{ 1, 5 }] = Cell(COleVariant(static_cast<SHORT>(0), VT_BOOL));
    cells[{ 1, 6 }] = Cell(COleVariant(kCellErrorNA, VT_ERROR));
    CY cy;
    cy.int64 = -125000;
    cells[{ 1, 7 }] = Cell(COleVariant(COleCurrency(cy)));
    book.sheets[0].columnWidths[1] = 11 * 256;
    book.sheets.emplace_back();
    book.sheets.back().name = "Add";
    const std::string path = m_folder.File("book.xls");
    CString error;
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), book, &error)) << error.GetString();

    WorkbookData read;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), read, &error)) << error.GetString();
    ASSERT_EQ(read.sheets.size(), 2u);
    EXPECT_EQ(read.sheets[0].name, "Item");
    EXPECT_EQ(read.sheets[1].name, "Add");
    EXPECT_TRUE(read.sheets[1].cells.empty());
    const auto& got = read.sheets[0].cells;
    EXPECT_EQ(got.at({ 1, 1 }).value.bstrVal, "사과 'A'");
    EXPECT_EQ(got.at({ 1, 2 }).value.bstrVal, "00123");
    EXPECT_EQ(got.at({ 1, 3 }).value.vt, VT_DATE);
    EXPECT_EQ(got.at({ 1, 3 }).value.date, 45000.0);
    EXPECT_EQ(got.at({ 1, 4 }).value.dblVal, 12345678901.0);
    EXPECT_EQ(got.at({ 1, 7 }).value.dblVal, -12.5);
    // Booleans and errors come back as such.
    EXPECT_EQ(got.at({ 1, 5 }).value.vt, VT_BOOL);
    EXPECT_EQ(got.at({ 1, 5 }).value.boolVal, VARIANT_FALSE);
    EXPECT_EQ(got.at({ 1, 6 }).value.vt, VT_ERROR);
    EXPECT_EQ(got.at({ 1, 6 }).value.lVal, kCellErrorNA);

    const std::string dump = XlrdDump(path);
    EXPECT_TRUE(HasLine(dump, "S Item"));
    EXPECT_TRUE(HasLine(dump, "S Add"));
    EXPECT_TRUE(HasLine(dump, "C 0 0 1 1 ID"));
    EXPECT_TRUE(HasLine(dump, "C 0 1 1 1 item_name"));
    EXPECT_TRUE(HasLine(dump, "C 1 0 2 0 1.0"));
    EXPECT_TRUE(HasLine(dump, "C 1 1 1 0 사과 'A'"));
    EXPECT_TRUE(HasLine(dump, "C 1 2 1 0 00123"));
    EXPECT_TRUE(HasLine(dump, "C 1 3 3 0 45000.0"));
    EXPECT_TRUE(HasLine(dump, "C 1 4 2 0 12345678901.0"));
    EXPECT_TRUE(HasLine(dump, "C 1 5 4 0 0"));
    EXPECT_TRUE(HasLine(dump, "C 1 6 5 0 42"));
    EXPECT_TRUE(HasLine(dump, "C 1 7 2 0 -12.5"));
    EXPECT_TRUE(HasLine(dump, "W 1 2816"));
}

TEST_F(SheetWriterTest, LargeSheetReadsBackWhole)
{
    WorkbookData book = OneSheet("Big");
    for (long r = 0; r < 3000; ++r) {
        CString text;
        text.Format("행 %ld 가나다라마바사아자차카타파하", r);
        book.sheets[0].cells[{ r, 0 }] = Cell(COleVariant(text));
        book.sheets[0].cells[{ r, 1 }] = Cell(COleVariant(static_cast<double>(r)));
    }
    const std::string path = m_folder.File("big.xls");
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), book));
    WorkbookData read;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), read));
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].cells.size(), 6000u);
    EXPECT_EQ(read.sheets[0].cells.at({ 2999, 0 }).value.bstrVal, "행 2999 가나다라마바사아자차카타파하");
    EXPECT_EQ(read.sheets[0].cells.at({ 2999, 1 }).value.dblVal, 2999.0);
    EXPECT_TRUE(HasLine(XlrdDump(path), "C 2999 0 1 0 행 2999 가나다라마바사아자차카타파하"));
}

TEST_F(SheetWriterTest, UnwritablePathFailsAndKeepsTheOldFile)
{
    CString error;
    EXPECT_FALSE(WriteWorkbookFile(m_folder.File("missing/book.xls").c_str(), OneSheet("S"), &error));
    EXPECT_FALSE(error.IsEmpty());
    // A network path has no place here.
    error.Empty();
    EXPECT_FALSE(WriteWorkbookFile("\\\\server\\share\\book.xls", OneSheet("S"), &error));
    EXPECT_NE(error.Find("cannot be used"), -1) << error.GetString();
    WorkbookData read;
    error.Empty();
    EXPECT_FALSE(ReadWorkbookFile("\\\\server\\share\\book.xls", read, &error));
    EXPECT_NE(error.Find("cannot be used"), -1) << error.GetString();
    // A folder in the way.
    const std::string folder = m_folder.File("folder.xls");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    error.Empty();
    EXPECT_FALSE(WriteWorkbookFile(folder.c_str(), OneSheet("S"), &error));
    EXPECT_FALSE(error.IsEmpty());
}

// An export killed mid-write (the file size limit ends the child) leaves
// only its "<file>.tmp-<process>-XXXXXX" beside the old workbook, no hidden
// file; the next export removes it.
TEST_F(SheetWriterTest, AnExportKilledMidWriteLeavesATemporaryTheNextExportRemoves)
{
    const std::string path = m_folder.File("book.xls");
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), OneSheet("old")));
    WorkbookData big = OneSheet("S");
    for (long r = 0; r < 3000; ++r)
        big.sheets[0].cells[{ r, 0 }] = Cell(COleVariant(static_cast<double>(r)));
    const pid_t child = RunKilledMidWrite([&] { (void)WriteWorkbookFile(path.c_str(), big); }, 8192);
    ASSERT_NE(child, 0);
    const auto names = [&] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::vector<std::string> left = names();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], "book.xls");
    EXPECT_EQ(left[1].rfind("book.xls.tmp-" + std::to_string(child) + "-", 0), 0u) << left[1];
    WorkbookData read;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), read));
    EXPECT_EQ(read.sheets.at(0).name, "old");
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), big));
    EXPECT_EQ(names(), std::vector<std::string> { "book.xls" });
}

TEST_F(SheetWriterTest, RewritingReplacesTheWholeFile)
{
    const std::string path = m_folder.File("book.xls");
    WorkbookData big = OneSheet("S");
    for (long r = 0; r < 500; ++r)
        big.sheets[0].cells[{ r, 0 }] = Cell(COleVariant(static_cast<double>(r)));
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), big));
    WorkbookData small = OneSheet("T");
    small.sheets[0].cells[{ 0, 0 }] = Cell(COleVariant("only"));
    ASSERT_TRUE(WriteWorkbookFile(path.c_str(), small));
    WorkbookData read;
    ASSERT_TRUE(ReadWorkbookFile(path.c_str(), read));
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].name, "T");
    EXPECT_EQ(read.sheets[0].cells.size(), 1u);
}

TEST_F(SheetWriterTest, ReaderRefusesWhatIsNoWorkbook)
{
    const std::string text = m_folder.File("text.xls");
    WriteText(text, "ID,item_num\n1,2\n");
    const std::string database = m_folder.File("items.mdb");
    {
        CDaoDatabase db;
        db.Create(database.c_str(), kStoreLocaleConnect);
        db.Execute("CREATE TABLE [T] ([a] TEXT(50))");
    }
    for (const std::string& path : { text, database, m_folder.File("missing.xls") }) {
        WorkbookData book = OneSheet("kept");
        CString error;
        EXPECT_FALSE(ReadWorkbookFile(path.c_str(), book, &error)) << path;
        EXPECT_FALSE(error.IsEmpty()) << path;
        ASSERT_EQ(book.sheets.size(), 1u);
        EXPECT_EQ(book.sheets[0].name, "kept");
    }
}
