// Printing a grid: pages, headings on every page, header and footer, a row
// taller than a page; checked in the recorded pages and in the PDF's text.

#include <map>
#include <string>

#include "grid_window_fixture.h"
#include "platform/print/print_dialog.h"
#include "platform/print/print_script.h"
#include "tests/support/pdf_text.h"
#include "tests/support/temp_data_root.h"

namespace {

class GridPrintTest : public GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        PrintScript::Enable();
        PrintScript::Reset();
    }
    void TearDown() override
    {
        PrintScript::Reset();
        PrintScript::Disable();
        GridWindowTest::TearDown();
    }

    // Prints through the print dialog and returns the one job.
    PrintJobRecord PrintGrid()
    {
        PrintScript::Push(PrintDialogAnswer {});
        grid.Print();
        const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? PrintJobRecord {} : jobs[0];
    }

    // Where each text stands on a page: its first rectangle.
    static std::map<std::string, CRect> Texts(const PrintedPage& page)
    {
        std::map<std::string, CRect> out;
        for (const PrintedText& t : page.texts)
            out.emplace(t.text.Str(), t.rect);
        return out;
    }

    // The body rows ("r,1" texts) of a page.
    static std::vector<int> BodyRows(const PrintedPage& page)
    {
        std::vector<int> rows;
        for (const PrintedText& t : page.texts) {
            int r = 0, c = 0;
            if (std::sscanf(t.text.GetString(), "%d,%d", &r, &c) == 2 && c == 1 && r > 0)
                rows.push_back(r);
        }
        return rows;
    }

    TempDataRoot root;
};

TEST_F(GridPrintTest, TwoHundredRowsPrintOnPagesWithHeadingsHeaderAndFooter)
{
    Shape(201, 6);
    const PrintJobRecord job = PrintGrid();
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(job.docName, "owner") << "no program title: the window's";
    const int pages = static_cast<int>(job.pages.size());
    ASSERT_GT(pages, 3);
    ASSERT_LT(pages, 30);

    int expectedRow = 1;
    for (int p = 0; p < pages; ++p) {
        SCOPED_TRACE(p + 1);
        const std::map<std::string, CRect> texts = Texts(job.pages[static_cast<size_t>(p)]);
        const std::string footer = "Page " + std::to_string(p + 1) + " of " + std::to_string(pages);
        ASSERT_TRUE(texts.count(footer));
        ASSERT_TRUE(texts.count("owner"));
        for (int c = 0; c < 6; ++c)
            ASSERT_TRUE(texts.count("0," + std::to_string(c))) << "heading " << c;
        const std::vector<int> rows = BodyRows(job.pages[static_cast<size_t>(p)]);
        ASSERT_FALSE(rows.empty());
        for (int row : rows) {
            EXPECT_EQ(row, expectedRow++) << "rows in order, none lost or repeated";
            // Every cell of the row, right-aligned under its heading.
            for (int c = 0; c < 6; ++c) {
                const std::string name = std::to_string(row) + "," + std::to_string(c);
                ASSERT_TRUE(texts.count(name)) << name;
                EXPECT_NEAR(texts.at(name).right, texts.at("0," + std::to_string(c)).right, 20) << name;
            }
        }
        // Top to bottom: header, headings, body rows, footer; left to right
        // the row heading column, then the cells.
        const CRect header = texts.at("owner");
        const CRect heading = texts.at("0,1");
        const CRect firstRow = texts.at(std::to_string(rows.front()) + ",1");
        const CRect lastRow = texts.at(std::to_string(rows.back()) + ",1");
        const CRect rowHeading = texts.at(std::to_string(rows.front()) + ",0");
        const CRect pageText = texts.at(footer);
        EXPECT_LT(header.bottom, heading.top);
        EXPECT_LT(heading.bottom, firstRow.top);
        EXPECT_LT(lastRow.bottom, pageText.top);
        EXPECT_EQ(rowHeading.top, firstRow.top);
        EXPECT_LT(rowHeading.right, firstRow.left);
        EXPECT_LE(pageText.bottom, job.page.cy);
        EXPECT_LE(pageText.right, job.page.cx);
        EXPECT_GT(pageText.right, job.page.cx * 9 / 10) << "page number at the right";
        EXPECT_GT(header.left, job.page.cx / 4) << "title centred";
        EXPECT_LT(header.right, job.page.cx * 3 / 4);
        // The grid fills the width between the margins (4 characters left).
        EXPECT_GT(heading.left, texts.at("0,0").right);
        EXPECT_LT(texts.at("0,5").right, job.page.cx);
        EXPECT_GT(texts.at("0,5").right, job.page.cx * 3 / 4);
    }
    EXPECT_EQ(expectedRow, 201);
    // Every page but the last is full: it could not take the next row.
    const size_t firstPageRows = BodyRows(job.pages[0]).size();
    for (int p = 1; p + 1 < pages; ++p)
        EXPECT_EQ(BodyRows(job.pages[static_cast<size_t>(p)]).size(), firstPageRows);

    // The PDF says the same.
    ASSERT_EQ(PdfPageCount(job.outputPath.Str()), pages);
    const std::vector<std::string> pdf = PdfPageTexts(job.outputPath.Str());
    ASSERT_EQ(static_cast<int>(pdf.size()), pages);
    for (int p = 0; p < pages; ++p) {
        SCOPED_TRACE(p + 1);
        const std::string& text = pdf[static_cast<size_t>(p)];
        EXPECT_NE(
            text.find("Page " + std::to_string(p + 1) + " of " + std::to_string(pages)), std::string::npos);
        EXPECT_NE(text.find("owner"), std::string::npos);
        EXPECT_NE(text.find("0,3"), std::string::npos);
        EXPECT_LT(text.find("owner"), text.find("0,3"));
    }
    EXPECT_NE(pdf.back().find("200,5"), std::string::npos);
}

TEST_F(GridPrintTest, RowTallerThanAPageIsPrintedCutOnAPageOfItsOwn)
{
    Shape(41, 4);
    grid.SetRowHeight(10, 5000);
    const PrintJobRecord job = PrintGrid();
    const int pages = static_cast<int>(job.pages.size());
    ASSERT_GE(pages, 3);
    int tallPage = -1;
    for (int p = 0; p < pages; ++p) {
        const std::vector<int> rows = BodyRows(job.pages[static_cast<size_t>(p)]);
        ASSERT_FALSE(rows.empty()) << "no blank page, page " << p + 1;
        if (std::find(rows.begin(), rows.end(), 10) != rows.end()) {
            tallPage = p;
            EXPECT_EQ(rows, std::vector<int> { 10 });
        }
        const std::string footer = "Page " + std::to_string(p + 1) + " of " + std::to_string(pages);
        EXPECT_TRUE(Texts(job.pages[static_cast<size_t>(p)]).count(footer)) << footer;
    }
    ASSERT_GT(tallPage, 0);
    EXPECT_EQ(BodyRows(job.pages[static_cast<size_t>(tallPage - 1)]).back(), 9);
    EXPECT_EQ(BodyRows(job.pages[static_cast<size_t>(tallPage + 1)]).front(), 11);
    // The cut row's text stands on the page, above the footer.
    const std::map<std::string, CRect> texts = Texts(job.pages[static_cast<size_t>(tallPage)]);
    const CRect cell = texts.at("10,1");
    const std::string footer = "Page " + std::to_string(tallPage + 1) + " of " + std::to_string(pages);
    EXPECT_LT(cell.bottom, texts.at(footer).top);
    EXPECT_GT(cell.top, texts.at("0,1").bottom);
    const std::vector<std::string> pdf = PdfPageTexts(job.outputPath.Str());
    ASSERT_EQ(static_cast<int>(pdf.size()), pages);
    EXPECT_NE(pdf[static_cast<size_t>(tallPage)].find("10,3"), std::string::npos);
}

TEST_F(GridPrintTest, SmallGridIsOnePageAndCancelPrintsNothing)
{
    Shape(5, 3);
    PrintScript::PushCancel();
    grid.Print();
    EXPECT_TRUE(PrintScript::Jobs().empty());
    EXPECT_EQ(PrintScript::DialogRecords().size(), 1u);
    EXPECT_EQ(PrintScript::DialogRecords()[0].flags & 0x14000C, 0x14000Cu);

    const PrintJobRecord job = PrintGrid();
    ASSERT_EQ(job.pages.size(), 1u);
    const std::map<std::string, CRect> texts = Texts(job.pages[0]);
    ASSERT_TRUE(texts.count("Page 1 of 1"));
    // The date (cut short on a narrow page) never overprints the page text.
    const CRect pageText = texts.at("Page 1 of 1");
    int footerTexts = 0;
    for (const PrintedText& t : job.pages[0].texts)
        if (t.rect.top == pageText.top && t.text != "Page 1 of 1") {
            ++footerTexts;
            EXPECT_LT(t.rect.right, pageText.left) << t.text;
        }
    EXPECT_EQ(footerTexts, 1);
    EXPECT_EQ(BodyRows(job.pages[0]), (std::vector<int> { 1, 2, 3, 4 }));
}

TEST_F(GridPrintTest, GridLinesFollowTheLineModeHeaderAndFooterLinesAlways)
{
    Shape(8, 4);
    std::map<int, int> ink;
    for (const int mode : { 0, 1, 2, 3 }) {
        PrintScript::Reset();
        grid.SetGridLines(mode);
        const PrintJobRecord job = PrintGrid();
        ink[mode] = PdfInkPixels(job.outputPath.Str(), 1, 100);
        ASSERT_GT(ink[mode], 0) << mode;
    }
    EXPECT_GT(ink[1], ink[0] + 400) << "horizontal lines";
    EXPECT_GT(ink[2], ink[0] + 400) << "vertical lines";
    EXPECT_GT(ink[3], ink[1] + 200);
    EXPECT_GT(ink[3], ink[2] + 200);

    // The header and footer lines stand with mode 0: a page without them
    // has less ink.
    grid.SetGridLines(0);
    grid.SetPrintMarginInfo(0, 0, -1, -1, -1, -1, -1);
    PrintScript::Reset();
    const PrintJobRecord bare = PrintGrid();
    EXPECT_LT(PdfInkPixels(bare.outputPath.Str(), 1, 100), ink[0] - 400);
}

TEST_F(GridPrintTest, PrintOnAGivenDcAndMargins)
{
    Shape(5, 3);
    int values[7] = {};
    grid.GetPrintMarginInfo(values[0], values[1], values[2], values[3], values[4], values[5], values[6]);
    EXPECT_EQ(std::vector<int>(values, values + 7), (std::vector<int> { 2, 2, 4, 4, 1, 1, 1 }));
    grid.SetPrintMarginInfo(3, -1, 10, -1, 5, -2, 2);
    grid.GetPrintMarginInfo(values[0], values[1], values[2], values[3], values[4], values[5], values[6]);
    EXPECT_EQ(std::vector<int>(values, values + 7), (std::vector<int> { 3, 2, 10, 4, 5, 1, 2 }));

    PrintScript::Push(PrintDialogAnswer {});
    CPrintDialog dialog(FALSE);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    CDC dc;
    ASSERT_TRUE(dc.Attach(dialog.GetPrinterDC()));
    grid.Print(&dc);
    grid.Print(&dc);
    const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_NE(jobs[0].outputPath, jobs[1].outputPath);
    EXPECT_EQ(PdfFilesIn(AfxGetPrintFolder().Str()).size(), 2u);
    EXPECT_EQ(PrintScript::DialogRecords().size(), 1u) << "a given DC needs no dialog";
    // The wider left margin (10 characters) moves the grid right.
    const std::map<std::string, CRect> texts = Texts(jobs[0].pages[0]);
    EXPECT_GT(texts.at("0,0").left, jobs[0].page.cx / 6);
}

} // namespace
