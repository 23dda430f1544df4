// Geometry with explicit sizes, scroll bars, and the pixels that matter.

#include <functional>

#include "grid_window_fixture.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/core/client_dc.h"
#include "tests/support/pixels.h"

namespace {

TEST_F(GridWindowTest, CellRectanglesAndHitTests)
{
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(0, 0, rect));
    EXPECT_EQ(rect, CRect(0, 0, 49, 19));
    ASSERT_TRUE(grid.GetCellRect(2, 3, rect));
    EXPECT_EQ(rect, CRect(150, 40, 199, 59));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(151, 41)), CGridCellCoord(2, 3));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 10), FALSE), CGridCellCoord(-1, -1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 10), TRUE), CGridCellCoord(0, 0));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(380, 41)).col, -1);
    CPoint origin(7, 7);
    EXPECT_FALSE(grid.GetCellOrigin(20, 1, &origin));
    EXPECT_FALSE(grid.GetCellOrigin(1, 6, &origin));
    EXPECT_EQ(origin, CPoint(7, 7));
    grid.SetColumnWidth(2, 0);
    ASSERT_TRUE(grid.GetCellRect(2, 3, rect));
    EXPECT_EQ(rect.left, 100);
}

TEST_F(GridWindowTest, VerticalBarOnlyWhenRowsOverflow)
{
    CRect client;
    grid.GetClientRect(client);
    EXPECT_EQ(grid.GetScrollBarState(), 0x02);
    EXPECT_TRUE(grid.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(grid.GetStyle() & WS_HSCROLL);
    EXPECT_EQ(client.Width(), 400 - kScrollBarSize);

    Shape(5, 6);
    EXPECT_EQ(grid.GetScrollBarState(), 0);
    EXPECT_FALSE(grid.GetStyle() & (WS_VSCROLL | WS_HSCROLL));
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);

    Shape(5, 12);
    EXPECT_EQ(grid.GetScrollBarState(), 0x01);
}

TEST_F(GridWindowTest, TheVerticalRangeFollowsEveryChangeOfTheRowHeights)
{
    // After each change the bar's range ends at the rows' total height.
    auto rangeEnd = [this] {
        SCROLLINFO si {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE;
        EXPECT_TRUE(GetScrollInfo(grid.GetSafeHwnd(), SB_VERT, &si));
        return si.nMax;
    };
    auto total = [this] {
        int sum = 0;
        for (int row = 0; row < grid.GetRowCount(); ++row)
            sum += grid.GetRowHeight(row);
        return sum;
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        { "append", [this] { grid.InsertRow("List 21"); } },
        { "insert", [this] { grid.InsertRow(nullptr, 3); } },
        { "height", [this] { grid.SetRowHeight(5, 60); } },
        { "delete", [this] { grid.DeleteRow(5); } },
        { "auto-size rows", [this] { grid.AutoSizeRows(); } },
        { "fewer rows", [this] { grid.SetRowCount(15); } },
        { "more rows", [this] { grid.SetRowCount(40); } },
        { "auto-size", [this] { grid.AutoSize(); } },
        { "expand rows", [this] { grid.ExpandRowsToFit(); } },
        { "append again", [this] { grid.InsertRow("List 40"); } },
    };
    for (const auto& [name, change] : changes) {
        rangeEnd(); // the sum is known before the change
        change();
        EXPECT_EQ(rangeEnd(), total() - 1) << name;
    }
}

TEST_F(GridWindowTest, AnInsertedRowIsAsHighAsItsHeadingMeasures)
{
    struct Case {
        const char* heading;
        LONG fontHeight; // 0: the grid's font
        LONG escapement;
        DWORD format;
    };
    const Case cases[] = {
        { "List 7", 0, 0, DT_SINGLELINE },
        { "List 12345", -30, 0, DT_SINGLELINE },
        { "Wide heading", -18, 900, DT_SINGLELINE },
        { "Down heading", -18, -900, DT_SINGLELINE },
        { "two\nlines", -18, 0, DT_WORDBREAK },
    };
    CGridDefaultCell* headings = grid.GetDefaultCell(FALSE, TRUE);
    for (const Case& c : cases) {
        LOGFONT lf = *headings->GetFont();
        if (c.fontHeight)
            lf.lfHeight = c.fontHeight;
        lf.lfEscapement = lf.lfOrientation = c.escapement;
        headings->SetFont(&lf);
        headings->SetFormat(c.format);
        const int row = grid.InsertRow(c.heading);
        ASSERT_GE(row, 0);
        EXPECT_EQ(grid.GetRowHeight(row), grid.GetCell(row, 0)->GetTextExtent(c.heading).cy) << c.heading;
    }
}

TEST_F(GridWindowTest, ScrollingMovesTheTopLeftCellAndSkipsHiddenRows)
{
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 20);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CGridCellCoord(2, 1));
    CRect rect;
    EXPECT_FALSE(grid.GetCellRect(1, 1, rect));
    ASSERT_TRUE(grid.GetCellRect(2, 1, rect));
    EXPECT_EQ(rect.top, 20);
    grid.SetRowHeight(2, 0);
    grid.SetRowHeight(3, 35);
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 55);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);
    SetScrollTrackPos(grid.GetSafeHwnd(), SB_VERT, 100);
    grid.SendMessage(WM_VSCROLL, SB_THUMBTRACK, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 100);
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(grid.IsCellVisible(19, 1));
    grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    // From a row one pixel high, Page Up, Line Up and Top come back to the top.
    for (const UINT back : { SB_PAGEUP, SB_LINEUP, SB_TOP }) {
        grid.SetRowHeight(1, 1);
        grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        ASSERT_EQ(grid.GetScrollPos32(SB_VERT), 1);
        grid.SendMessage(WM_VSCROLL, back, 0);
        EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0) << back;
        EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1) << back;
    }
}

TEST_F(GridWindowTest, EnsureVisibleScrollsTheCellIntoView)
{
    EXPECT_FALSE(grid.IsCellVisible(18, 2));
    grid.EnsureVisible(18, 2);
    EXPECT_TRUE(grid.IsCellVisible(18, 2));
    CRect rect, client;
    grid.GetClientRect(client);
    ASSERT_TRUE(grid.GetCellRect(18, 2, rect));
    EXPECT_LE(rect.bottom, client.bottom);
}

TEST_F(GridWindowTest, ExpandColumnsToFitSpreadsTheRemainderFromTheLeft)
{
    struct Case {
        const char* name;
        int widths[3]; // columns 1 to 3
        int spare; // client width less all columns
        int expected[3];
    } const cases[] = {
        { "grow", { 10, 10, 10 }, 7, { 13, 12, 12 } },
        { "shrink", { 10, 10, 10 }, -7, { 7, 8, 8 } },
        { "shrink a narrow column away", { 2, 100, 100 }, -4, { 0, 99, 99 } },
        { "hidden columns stay hidden", { 10, 0, 10 }, 5, { 13, 0, 12 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(5, 4);
        CRect client;
        grid.GetClientRect(client);
        for (int i = 0; i < 3; ++i)
            grid.SetColumnWidth(i + 1, c.widths[i]);
        grid.SetColumnWidth(0, client.Width() - c.spare - c.widths[0] - c.widths[1] - c.widths[2]);
        grid.ExpandColumnsToFit(FALSE);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(grid.GetColumnWidth(i + 1), c.expected[i]) << i + 1;
    }
}

TEST_F(GridWindowTest, AutoSizeKeepsHiddenColumnsAndRowsHidden)
{
    grid.SetColumnWidth(2, 0);
    grid.SetRowHeight(3, 0);
    grid.AutoSize();
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    EXPECT_EQ(grid.GetRowHeight(3), 0);
    EXPECT_GT(grid.GetColumnWidth(1), 0);
    EXPECT_GT(grid.GetRowHeight(2), 0);
    EXPECT_FALSE(grid.AutoSizeColumn(2));
    EXPECT_FALSE(grid.AutoSizeRow(3));
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    EXPECT_EQ(grid.GetRowHeight(3), 0);
    // A row or column one pixel thin is shown and fitted.
    grid.SetRowHeight(4, 1);
    grid.SetColumnWidth(3, 1);
    EXPECT_TRUE(grid.AutoSizeRow(4));
    EXPECT_TRUE(grid.AutoSizeColumn(3));
    EXPECT_GT(grid.GetRowHeight(4), 1);
    EXPECT_GT(grid.GetColumnWidth(3), 1);
}

TEST_F(GridWindowTest, PaintShowsSelectionFocusFrameAndFixedEdges)
{
    Blank();
    grid.SetSelectedRange(3, 3, 3, 3);
    grid.SetFocusCell(2, 2);
    GridPixels pixels(grid);
    // Selected cell (3, 3): highlight inside.
    EXPECT_EQ(pixels.At(175, 70), GetSysColor(COLOR_HIGHLIGHT));
    // Focus cell (2, 2), not selected: window colour inside, a frame in the
    // text colour on its edge.
    EXPECT_EQ(pixels.At(125, 50), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(pixels.At(100, 50), GetSysColor(COLOR_WINDOWTEXT));
    // Heading cell (5, 0), not in the focus row: raised lines.
    EXPECT_EQ(pixels.At(0, 105), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(pixels.At(49, 105), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(pixels.At(25, 105), GetSysColor(COLOR_3DFACE));
    // Grid line at the right edge of a body cell; none inside the headings.
    EXPECT_EQ(pixels.At(249, 110), RGB(192, 192, 192));
    EXPECT_EQ(pixels.At(110, 59), RGB(192, 192, 192));
    // Outside the cells: the grid background.
    EXPECT_EQ(pixels.At(350, 50), GetSysColor(COLOR_3DSHADOW));
}

TEST_F(GridWindowTest, PaintDrawsTheSortArrowInTheSortColumnHeading)
{
    Blank(true);
    grid.SetColumnWidth(1, 80);
    grid.SetColumnWidth(2, 80);
    grid.SetRowHeight(0, 30);
    grid.SetSortColumn(1);
    GridPixels pixels(grid);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    EXPECT_TRUE(pixels.Has(shadow, CRect(52, 2, 128, 28)));
    EXPECT_FALSE(pixels.Has(shadow, CRect(132, 2, 208, 28)));
}

TEST_F(GridWindowTest, WindowPaintGoesThroughTheOffscreenBufferToTheScreen)
{
    Blank();
    grid.SetSelectedRange(3, 3, 3, 3);
    for (BOOL buffered : { TRUE, FALSE }) {
        grid.SetDoubleBuffering(buffered);
        Snapshot shot(grid);
        ASSERT_TRUE(shot.Ok());
        EXPECT_EQ(shot.At(175, 70), GetSysColor(COLOR_HIGHLIGHT)) << buffered;
        EXPECT_EQ(shot.At(25, 105), GetSysColor(COLOR_3DFACE)) << buffered;
        EXPECT_EQ(shot.At(350, 50), GetSysColor(COLOR_3DSHADOW)) << buffered;
    }
}

// Pixels of colour in area of what the grid's window shows now.
int ScreenCount(CGridCtrl& grid, COLORREF colour, const CRect& area)
{
    CClientDC dc(&grid);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += dc.GetPixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST_F(GridWindowTest, CornerHeadingCellHasRaisedLinesAtItsEdges)
{
    Blank(true);
    GridPixels pixels(grid);
    EXPECT_EQ(pixels.At(0, 10), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(pixels.At(25, 0), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(pixels.At(49, 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(pixels.At(25, 19), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(pixels.At(25, 10), GetSysColor(COLOR_3DFACE));
}

TEST_F(GridWindowTest, RedrawCellOnADcDrawsTheCellAndItsLinesByMode)
{
    grid.SetItemText(3, 2, "");
    const COLORREF line = grid.GetGridLineColor();
    struct Case {
        int mode;
        bool bottom, right;
    } const cases[] = { { 0, false, false }, { 1, true, false }, { 2, false, true }, { 3, true, true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        grid.SetGridLines(c.mode);
        Canvas canvas(400, 300, RGB(0, 0, 255));
        ASSERT_TRUE(grid.RedrawCell(3, 2, &canvas.Dc()));
        // Cell (3, 2): 100..149 x 60..79.
        EXPECT_EQ(canvas.At(120, 79) == line, c.bottom);
        EXPECT_EQ(canvas.At(149, 70) == line, c.right);
        EXPECT_EQ(canvas.At(120, 70), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(canvas.At(99, 70), RGB(0, 0, 255)) << "nothing left of the cell";
        EXPECT_EQ(canvas.At(120, 81), RGB(0, 0, 255)) << "nothing below it";
    }
    Canvas canvas(400, 300);
    EXPECT_FALSE(grid.RedrawCell(20, 2, &canvas.Dc()));
    EXPECT_FALSE(grid.RedrawCell(3, 6, &canvas.Dc()));
    EXPECT_FALSE(grid.RedrawCell(18, 2, &canvas.Dc())) << "scrolled out of view";
}

TEST_F(GridWindowTest, HeadingsOfTheFocusRowAndColumnFollowTheFocus)
{
    Blank();
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    // The light top line of a raised heading: row heading (r, 0), column
    // heading (0, c).
    const auto rowRaised
        = [&](int r) { return ScreenCount(grid, light, CRect(5, r * 20, 45, r * 20 + 1)) > 30; };
    const auto colRaised
        = [&](int c) { return ScreenCount(grid, light, CRect(c * 50 + 5, 0, c * 50 + 45, 1)) > 30; };
    grid.UpdateWindow();
    ASSERT_TRUE(rowRaised(3));
    ASSERT_TRUE(colRaised(2));
    grid.SetFocusCell(3, 2);
    grid.UpdateWindow();
    EXPECT_FALSE(rowRaised(3));
    EXPECT_FALSE(colRaised(2));
    EXPECT_TRUE(rowRaised(5));
    // Along the same row: the old column heading comes back up.
    grid.SetFocusCell(3, 4);
    grid.UpdateWindow();
    EXPECT_TRUE(colRaised(2));
    EXPECT_FALSE(colRaised(4));
    EXPECT_FALSE(rowRaised(3));
    // Down the same column: the old row heading comes back up.
    grid.SetFocusCell(6, 4);
    grid.UpdateWindow();
    EXPECT_TRUE(rowRaised(3));
    EXPECT_FALSE(rowRaised(6));
    EXPECT_FALSE(colRaised(4));
}

TEST_F(GridWindowTest, ACellsOwnFontIsTheOneDrawn)
{
    grid.SetColumnWidth(2, 150);
    grid.SetRowHeight(3, 40);
    grid.SetRowHeight(4, 40);
    LOGFONT big = *grid.GetItemFont(3, 2);
    big.lfHeight = -30;
    grid.SetItemFont(4, 2, &big);
    for (int row : { 3, 4 })
        grid.SetItemText(row, 2, "WWW");
    GridPixels pixels(grid);
    const COLORREF back = pixels.At(2 * kCellWidth + 3, 3 * kCellHeight + 3);
    CRect small, large;
    ASSERT_TRUE(grid.GetCellRect(3, 2, small));
    ASSERT_TRUE(grid.GetCellRect(4, 2, large));
    small.DeflateRect(2, 2);
    large.DeflateRect(2, 2);
    EXPECT_GT(pixels.Ink(back, large).Height(), pixels.Ink(back, small).Height() * 3 / 2);
}

TEST_F(GridWindowTest, CellImagesShowWhereTheyFitAndTheTextFollows)
{
    constexpr COLORREF kGreen = RGB(0, 160, 0);
    CImageList images;
    images.Create(16, 15, ILC_COLOR32 | ILC_MASK, 1, 1);
    CBitmap bitmap;
    bitmap.CreateBitmap(16, 15, 1, 32, nullptr);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 16, 15, kGreen);
        dc.SelectObject(old);
    }
    ASSERT_EQ(images.Add(&bitmap, RGB(255, 0, 255)), 0);
    grid.SetImageList(&images);
    struct Case {
        int height, width;
        bool shown;
    } const cases[] = { { 20, 50, true }, { 16, 50, true }, { 5, 50, false }, { 20, 12, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        Shape(20, 6);
        grid.SetImageList(&images);
        grid.SetRowHeight(3, c.height);
        grid.SetColumnWidth(2, c.width);
        grid.SetItemImage(3, 2, 0);
        grid.SetItemText(3, 2, "WW");
        grid.SetItemFormat(3, 2, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        CRect cell;
        ASSERT_TRUE(grid.GetCellRect(3, 2, cell));
        GridPixels pixels(grid);
        const CRect area(cell.left, cell.top, cell.right + 1, cell.bottom + 1);
        const int green = pixels.Count(kGreen, area);
        if (!c.shown) {
            EXPECT_EQ(green, 0);
            continue;
        }
        EXPECT_EQ(green, 16 * std::min(15, c.height - 1));
        const CRect image = pixels.InkOf(kGreen, area);
        const int m = static_cast<int>(grid.GetCell(3, 2)->GetMargin());
        EXPECT_EQ(image.left, cell.left + m);
        // The text starts after the image.
        const CRect text = pixels.InkOf(
            GetSysColor(COLOR_WINDOWTEXT), CRect(cell.left, cell.top, cell.right, cell.bottom));
        ASSERT_FALSE(text.IsRectEmpty());
        EXPECT_GE(text.left, image.right + m);
    }
    grid.SetImageList(nullptr);
}

} // namespace
