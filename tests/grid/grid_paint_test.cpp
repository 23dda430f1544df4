// Geometry with explicit sizes, scroll bars, and the pixels that matter.

#include "grid_window_fixture.h"
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
    Shape(5, 4);
    CRect client;
    grid.GetClientRect(client);
    grid.SetColumnWidth(1, 10);
    grid.SetColumnWidth(2, 10);
    grid.SetColumnWidth(3, 10);
    grid.SetColumnWidth(0, client.Width() - 37);
    grid.ExpandColumnsToFit(FALSE);
    EXPECT_EQ(grid.GetColumnWidth(1), 13);
    EXPECT_EQ(grid.GetColumnWidth(2), 12);
    EXPECT_EQ(grid.GetColumnWidth(3), 12);
}

TEST_F(GridWindowTest, AutoSizeKeepsHiddenColumnsHidden)
{
    grid.SetColumnWidth(2, 0);
    grid.AutoSize();
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    EXPECT_GT(grid.GetColumnWidth(1), 0);
    EXPECT_FALSE(grid.AutoSizeColumn(2));
}

// Renders the grid as it paints into a bitmap of its client size.
class GridPixels : public Canvas {
public:
    explicit GridPixels(CGridCtrl& grid)
        : Canvas(ClientOf(grid).Width(), ClientOf(grid).Height())
    {
        grid.OnDraw(&Dc());
    }

private:
    static CRect ClientOf(CGridCtrl& grid)
    {
        CRect client;
        grid.GetClientRect(client);
        return client;
    }
};

TEST_F(GridWindowTest, PaintShowsSelectionFocusFrameAndFixedEdges)
{
    for (int r = 0; r < grid.GetRowCount(); ++r)
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            grid.SetItemText(r, c, "");
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
    for (int c = 0; c < grid.GetColumnCount(); ++c)
        grid.SetItemText(0, c, "");
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
    for (int r = 0; r < grid.GetRowCount(); ++r)
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            grid.SetItemText(r, c, "");
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

} // namespace
