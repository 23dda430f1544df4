// Printing a grid onto a bitmap the size of the screen, with the grid's width
// made equal to the page's so that one logical unit is one pixel: where the
// header and footer bands, the heading rows, the body rows and the grid lines
// of a page land, pixel by pixel.

#include "grid/grid_ctrl.h"
#include "grid_window_fixture.h"
#include "platform/print/print_info.h"
#include "tests/support/pixels.h"

namespace {

// A grid that shows what its print loop keeps: the page geometry and, at each
// footer, the row the next page starts with.
class CProbeGrid : public CGridCtrl {
public:
    const CGridPrintState& PrintState() const { return m_Print; }
    std::vector<int> rowAtFooter;

protected:
    void PrintFooter(CDC* pDC, CPrintInfo* pInfo) override
    {
        rowAtFooter.push_back(m_Print.m_nCurrPrintRow);
        CGridCtrl::PrintFooter(pDC, pInfo);
    }
};

class GridPrintCanvasTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 50;
    static constexpr int kHeight = 20;

    void SetUp() override
    {
        ASSERT_TRUE(
            owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 500), nullptr, 0));
        ASSERT_TRUE(grid.Create(CRect(10, 10, 410, 310), &owner, 1005, WS_CHILD | WS_VISIBLE));
        screen = CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        ASSERT_GT(screen.cx, 400);
        ASSERT_GT(screen.cy, 300);
        Shape(20, 6);
    }

    void TearDown() override
    {
        grid.DestroyWindow();
        owner.DestroyWindow();
    }

    void Shape(int rows, int cols)
    {
        ShapeGrid(grid, rows, cols, kWidth, kHeight);
        // Blank cells: only lines and fills reach the page.
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid.SetItemText(r, c, "");
    }

    // Sets the margins (in characters) and widens column 0 until the grid and
    // the side margins are exactly the screen's width: one unit, one pixel.
    void Margins(int header, int footer, int left, int right, int gap)
    {
        grid.SetPrintMarginInfo(header, footer, left, right, -1, -1, gap);
        Canvas probe(8, 8);
        CPrintInfo info;
        grid.OnBeginPrinting(&probe.Dc(), &info);
        grid.OnEndPrinting(&probe.Dc(), &info);
        ch = grid.PrintState().m_CharSize;
        ASSERT_GT(ch.cx, 0);
        ASSERT_GT(ch.cy, 0);
        const int others = kWidth * (grid.GetColumnCount() - 1);
        grid.SetColumnWidth(0, screen.cx - others - (left + right) * ch.cx);
        leftMargin = left * ch.cx;
    }

    // Prints page (1-based) onto a white screen-sized bitmap.
    std::unique_ptr<Canvas> PrintPage(UINT page, UINT* pages = nullptr)
    {
        auto canvas = std::make_unique<Canvas>(screen.cx, screen.cy);
        CPrintInfo info;
        grid.OnBeginPrinting(&canvas->Dc(), &info);
        if (pages)
            *pages = info.GetMaxPage();
        info.m_nCurPage = page;
        grid.OnPrint(&canvas->Dc(), &info);
        grid.OnEndPrinting(&canvas->Dc(), &info);
        return canvas;
    }

    // Top of the heading rows on the page.
    int HeadingTop(int header, int gap) const { return (header + gap) * ch.cy; }

    COwnerWnd owner;
    CProbeGrid grid;
    CSize screen;
    CSize ch;
    int leftMargin = 0;
    static constexpr COLORREF kBlack = RGB(0, 0, 0);
    static constexpr COLORREF kWhite = RGB(255, 255, 255);
};

TEST_F(GridPrintCanvasTest, PageGeometryFollowsTheMarginsAndThePaper)
{
    struct Case {
        int header, footer, left, right, gap;
    } const cases[] = {
        { 2, 2, 4, 4, 1 },
        { 0, 0, 0, 0, 0 },
        { 3, 1, 2, 6, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.header << " " << c.footer << " " << c.left << " " << c.right << " " << c.gap);
        Margins(c.header, c.footer, c.left, c.right, c.gap);
        UINT pages = 0;
        PrintPage(1, &pages);
        const CGridPrintState& s = grid.PrintState();
        EXPECT_EQ(s.m_PaperSize, screen);
        EXPECT_EQ(s.m_LogicalPageSize.cx, screen.cx);
        EXPECT_EQ(s.m_LogicalPageSize.cy, screen.cy);
        const int pageHeight = screen.cy - kHeight - (c.header + c.footer + 2 * c.gap) * ch.cy;
        EXPECT_EQ(s.m_nPageHeight, pageHeight);
        EXPECT_EQ(s.m_nPageWidth, screen.cx - grid.GetColumnWidth(0) - (c.left + c.right) * ch.cx);
        // Rows of 20 pixels: as many whole rows as the page height takes.
        const int perPage = pageHeight / kHeight;
        EXPECT_EQ(static_cast<int>(pages), (19 + perPage - 1) / perPage);
        EXPECT_EQ(s.m_nPageCount, static_cast<int>(pages));
    }
}

TEST_F(GridPrintCanvasTest, GridLinesStandOnTheCellEdgesOfTheLineMode)
{
    const int header = 2, gap = 1;
    Margins(header, 2, 3, 1, gap);
    const int top = HeadingTop(header, gap); // heading row 0: top .. top + 19
    const int x0 = leftMargin; // column 0 starts here
    const int x1 = x0 + grid.GetColumnWidth(0); // column 1
    const int x2 = x1 + kWidth; // column 2
    const int bodyTop = top + kHeight; // row 1
    struct Case {
        int mode;
        bool horizontal, vertical;
    } const cases[] = { { 0, false, false }, { 1, true, false }, { 2, false, true }, { 3, true, true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        grid.SetGridLines(c.mode);
        auto page = PrintPage(1);
        const auto black = [&](int x, int y) { return page->At(x, y) == kBlack; };
        // Along the bottom of body cell (2, 2) and of heading cell (0, 2).
        EXPECT_EQ(black(x2 + 20, bodyTop + 2 * kHeight - 1), c.horizontal);
        EXPECT_EQ(black(x2 + 20, top + kHeight - 1), c.horizontal);
        // Above heading row 0, one pixel over its top, from one pixel left of
        // the first cell.
        EXPECT_EQ(black(x2 + 20, top - 1), c.horizontal);
        EXPECT_EQ(black(x0 - 1, top - 1), c.horizontal || c.vertical);
        EXPECT_FALSE(black(x0 - 2, top - 1));
        // Along the right edge of body cell (3, 2) and heading cell (0, 2).
        EXPECT_EQ(black(x2 + kWidth - 1, bodyTop + 2 * kHeight + 10), c.vertical);
        EXPECT_EQ(black(x2 + kWidth - 1, top + 10), c.vertical);
        // Left of column 0, in the headings and the body, down to each top.
        EXPECT_EQ(black(x0 - 1, top + 10), c.vertical);
        EXPECT_EQ(black(x0 - 1, top), c.vertical);
        EXPECT_EQ(black(x0 - 1, bodyTop + 3 * kHeight), c.vertical);
        EXPECT_EQ(black(x0 - 1, bodyTop + 3 * kHeight + 10), c.vertical);
        EXPECT_FALSE(black(x0 - 2, bodyTop + 3 * kHeight + 10));
        EXPECT_FALSE(black(x0 - 2, bodyTop + 3 * kHeight - 1)) << "horizontal lines start 1 left of column 0";
        // The top line of heading row 0 reaches the last column's right edge.
        const int lastRight = x0 + screen.cx - leftMargin - ch.cx - 1;
        EXPECT_EQ(black(lastRight, top - 1), c.horizontal || c.vertical);
        EXPECT_EQ(black(lastRight, bodyTop + kHeight - 1), c.horizontal || c.vertical);
        EXPECT_FALSE(black(lastRight + 2, top - 1));
        // Inside a body cell: nothing.
        EXPECT_FALSE(black(x1 + 20, bodyTop + 10));
        // No grid lines right of the last column.
        EXPECT_FALSE(black(x0 + screen.cx - leftMargin - ch.cx + 5, bodyTop + kHeight - 1));
    }
}

TEST_F(GridPrintCanvasTest, HeaderAndFooterLinesAndTheBlackFooterText)
{
    const int header = 2, footer = 2, gap = 1;
    Margins(header, footer, 2, 2, gap);
    grid.SetGridLines(0);
    auto page = PrintPage(1);
    const int bandRight = screen.cx - 4 * ch.cx; // logical; device adds the left margin
    // Header line along the bottom of the header band, across the band.
    const int headerLine = header * ch.cy;
    EXPECT_EQ(page->At(leftMargin + 10, headerLine), kBlack);
    EXPECT_EQ(page->At(leftMargin + bandRight - 2, headerLine), kBlack);
    EXPECT_NE(page->At(leftMargin + bandRight + 2, headerLine), kBlack);
    EXPECT_NE(page->At(leftMargin - 2, headerLine), kBlack);
    // Footer line along the top of the footer band at the bottom of the page.
    const int footerLine = screen.cy - footer * ch.cy;
    EXPECT_EQ(page->At(leftMargin + 10, footerLine), kBlack);
    EXPECT_EQ(page->At(leftMargin + bandRight - 2, footerLine), kBlack);
    EXPECT_NE(page->At(leftMargin + 10, footerLine - 2), kBlack);
    // The footer's texts in black: the page number at the right, the date at
    // the left; nothing in the gap below the body.
    const CRect footerBand(leftMargin, footerLine + 2, leftMargin + bandRight, screen.cy);
    EXPECT_TRUE(page->Has(
        kBlack, CRect(footerBand.right - 20 * ch.cx, footerBand.top, footerBand.right, footerBand.bottom)));
    EXPECT_TRUE(page->Has(
        kBlack, CRect(footerBand.left, footerBand.top, footerBand.left + 6 * ch.cx, footerBand.bottom)));
    const CRect ink = page->Ink(kWhite, footerBand);
    EXPECT_GE(ink.top, footerBand.top);
    EXPECT_GT(ink.right, footerBand.right - 3 * ch.cx) << "page number right-aligned";
    // The header band holds the window title, centred.
    const CRect titleInk = page->Ink(kWhite, CRect(0, 0, screen.cx, headerLine));
    ASSERT_FALSE(titleInk.IsRectEmpty());
    EXPECT_NEAR((titleInk.left + titleInk.right) / 2, leftMargin + bandRight / 2, ch.cx * 2);
}

TEST_F(GridPrintCanvasTest, ShadedCellsAndRaisedHeadingsPrintInTheirColours)
{
    Margins(2, 2, 2, 2, 1);
    grid.SetGridLines(0);
    grid.SetItemBkColour(3, 2, RGB(0, 200, 0));
    grid.SetItemFgColour(3, 3, RGB(200, 0, 0));
    grid.SetItemText(3, 3, "WWW");
    grid.GetDefaultCell(TRUE, FALSE)->SetBackClr(RGB(0, 0, 200));
    auto page = PrintPage(1);
    const int top = HeadingTop(2, 1);
    const int x1 = leftMargin + grid.GetColumnWidth(0);
    const int x2 = x1 + kWidth;
    const int row3 = top + 3 * kHeight;
    // The coloured cell is filled edge to edge, its neighbours are not.
    EXPECT_EQ(page->Count(RGB(0, 200, 0), CRect(x2, row3, x2 + kWidth, row3 + kHeight)), kWidth * kHeight);
    EXPECT_EQ(page->Count(RGB(0, 200, 0)), kWidth * kHeight);
    // Text in the cell's own colour.
    EXPECT_TRUE(page->Has(RGB(200, 0, 0), CRect(x2 + kWidth, row3, x2 + 2 * kWidth, row3 + kHeight)));
    // A heading cell: its fill inside, light lines at the top and left, dark
    // at the right and bottom.
    EXPECT_EQ(page->At(x2 + 25, top + 10), RGB(0, 0, 200));
    EXPECT_EQ(page->At(x2 + 25, top), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(page->At(x2, top + 10), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(page->At(x2 + kWidth - 1, top + 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(page->At(x2 + 25, top + kHeight - 1), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(GridPrintCanvasTest, EachPageStartsWhereThePreviousEnded)
{
    Shape(120, 4);
    for (int r = 0; r < 120; ++r)
        grid.SetItemText(r, 1, "X");
    Margins(2, 2, 1, 1, 1);
    UINT pages = 0;
    PrintPage(1, &pages);
    ASSERT_GE(pages, 2u);
    const int perPage = grid.PrintState().m_nPageHeight / kHeight;
    grid.rowAtFooter.clear();
    for (UINT p = 1; p <= pages; ++p)
        PrintPage(p);
    std::vector<int> expected;
    for (UINT p = 1; p <= pages; ++p)
        expected.push_back(std::min(1 + static_cast<int>(p) * perPage, 120));
    EXPECT_EQ(grid.rowAtFooter, expected);
    // Body rows of the last page stand right under the headings.
    grid.rowAtFooter.clear();
    auto last = PrintPage(pages);
    const int bodyTop = HeadingTop(2, 1) + kHeight;
    const int x1 = leftMargin + grid.GetColumnWidth(0);
    const int rowsOnLast = 119 - static_cast<int>(pages - 1) * perPage;
    EXPECT_TRUE(last->Has(kBlack, CRect(x1, bodyTop, x1 + kWidth, bodyTop + kHeight)));
    EXPECT_TRUE(last->Has(kBlack,
        CRect(x1, bodyTop + (rowsOnLast - 1) * kHeight, x1 + kWidth, bodyTop + rowsOnLast * kHeight)));
    EXPECT_FALSE(last->Has(kBlack,
        CRect(x1, bodyTop + rowsOnLast * kHeight, x1 + kWidth, bodyTop + (rowsOnLast + 1) * kHeight)));
    // Past the last page: headings only, no footer.
    grid.rowAtFooter.clear();
    PrintPage(pages + 1);
    EXPECT_TRUE(grid.rowAtFooter.empty());
}

} // namespace
