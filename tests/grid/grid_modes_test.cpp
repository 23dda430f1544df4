// Virtual mode (cells from the owner), list mode (whole rows), and the text
// file the grid saves and loads.

#include <filesystem>
#include <fstream>
#include <iterator>

#include "grid_window_fixture.h"
#include "platform/base/cp949.h"
#include "platform/wnd/desktop/oledata.h"

namespace {

// ---- Virtual mode ----

class GridVirtualTest : public GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        grid.SetVirtualMode(TRUE);
        ShapeGrid(grid, 20, 6, kCellWidth, kCellHeight);
        owner.onDispInfo = [](GRIDITEM& item) {
            item.strText = CString::Formatted("v%d,%d", item.row, item.col);
            if (item.row == 3 && item.col == 3)
                item.crBkClr = RGB(0, 128, 0);
        };
        owner.events.clear();
    }
};

TEST_F(GridWindowTest, VirtualModeEmptiesTheGridAndTurnsEditingAndHeadingClicksOff)
{
    grid.SetHeaderSort(TRUE);
    grid.SetVirtualMode(TRUE);
    EXPECT_TRUE(grid.GetVirtualMode());
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_FALSE(grid.IsEditable());
    EXPECT_FALSE(grid.GetHeaderSort());
    EXPECT_EQ(grid.GetAutoSizeStyle(), 1);
    EXPECT_FALSE(grid.GetFixedRowSelection());
    EXPECT_FALSE(grid.GetFixedColumnSelection());
    grid.SetRowCount(3);
    grid.SetColumnCount(2);
    grid.SetVirtualMode(FALSE);
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_FALSE(grid.IsEditable());
    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    EXPECT_TRUE(grid.SetItemText(1, 1, "own cell again"));
    EXPECT_EQ(grid.GetItemText(1, 1), "own cell again");
}

TEST_F(GridVirtualTest, CellsComeFromTheOwnerAndSettersRefuse)
{
    EXPECT_EQ(grid.GetItemText(4, 5), "v4,5");
    ASSERT_FALSE(owner.displayRequests.empty());
    const GRIDITEM asked = owner.displayRequests.back();
    EXPECT_EQ(asked.row, 4);
    EXPECT_EQ(asked.col, 5);
    EXPECT_EQ(asked.mask, 0xFFFFFFFFu);
    EXPECT_EQ(asked.nState, 0u);
    const CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(asked.nFormat, def->GetFormat());
    EXPECT_EQ(asked.crBkClr, def->GetBackClr());
    EXPECT_EQ(asked.crFgClr, def->GetTextClr());
    EXPECT_EQ(asked.nMargin, def->GetMargin());
    EXPECT_EQ(asked.iImage, -1);
    EXPECT_STREQ(asked.lfFont.lfFaceName, def->GetFont()->lfFaceName);
    EXPECT_EQ(asked.lfFont.lfHeight, def->GetFont()->lfHeight);
    EXPECT_TRUE(asked.strText.IsEmpty());
    EXPECT_EQ(grid.GetItemBkColour(3, 3), RGB(0, 128, 0));
    EXPECT_EQ(grid.GetItemText(4, 5), "v4,5");

    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.SetItemText(4, 5, "x"));
    EXPECT_FALSE(grid.SetItemData(4, 5, 7));
    EXPECT_FALSE(grid.SetItemImage(4, 5, 1));
    EXPECT_FALSE(grid.SetItemFormat(4, 5, DT_LEFT));
    EXPECT_FALSE(grid.SetItemBkColour(4, 5, RGB(1, 2, 3)));
    EXPECT_FALSE(grid.SetCellType(4, 5, RUNTIME_CELL_CLASS(CGridCell)));
    EXPECT_FALSE(grid.GetModified());
    EXPECT_EQ(grid.GetItemText(4, 5), "v4,5");
    EXPECT_EQ(grid.GetItemText(20, 1), "");
}

TEST_F(GridVirtualTest, StateTellsSelectionFocusAndHeadings)
{
    struct Case {
        int row, col;
        UINT state;
    };
    grid.SetSelectedRange(2, 2, 2, 3);
    grid.SetFocusCell(2, 2);
    const Case cases[] = {
        { 2, 2, 0x03 },
        { 2, 3, 0x02 },
        { 4, 4, 0x00 },
        { 0, 2, 0x30 },
        { 2, 0, 0x50 },
        { 0, 0, 0x70 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.GetItemState(c.row, c.col), c.state) << c.row << "," << c.col;
    EXPECT_FALSE(grid.SetItemState(5, 5, GRIDSTATE_SELECTED));
    EXPECT_TRUE(grid.IsCellSelected(5, 5));
    EXPECT_EQ(grid.GetItemState(5, 5), 0x02u);
    grid.EnableSelection(FALSE);
    EXPECT_EQ(grid.GetItemState(2, 3) & GRIDSTATE_SELECTED, 0u);
}

TEST_F(GridVirtualTest, PaintAsksForTheVisibleCellsBetweenTwoCacheHints)
{
    // The owner's margin of cell (3, 4) sets its text in.
    const auto fill = owner.onDispInfo;
    owner.onDispInfo = [fill](GRIDITEM& item) {
        fill(item);
        if (item.row == 3 && item.col == 4) {
            item.nFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
            item.nMargin = 20;
        }
    };
    GridPixels pixels(grid);
    // The owner's colour of cell (3, 3) reaches the screen.
    EXPECT_EQ(pixels.At(3 * kCellWidth + 2, 3 * kCellHeight + 2), RGB(0, 128, 0));
    const COLORREF back = pixels.At(4 * kCellWidth + 2, 3 * kCellHeight + 2);
    const CRect ink = pixels.Ink(
        back, CRect(4 * kCellWidth + 1, 3 * kCellHeight + 2, 5 * kCellWidth - 1, 4 * kCellHeight - 2));
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.left - 4 * kCellWidth, 20);

    ASSERT_EQ(owner.cacheHints.size(), 2u);
    const CGridCellRange visible = grid.GetVisibleNonFixedCellRange();
    EXPECT_EQ(owner.cacheHints[0], visible);
    EXPECT_EQ(owner.cacheHints[1], CGridCellRange(-1, -1, -1, -1));
    for (const GRIDITEM& item : owner.displayRequests) {
        EXPECT_LE(item.row, visible.GetMaxRow());
        EXPECT_LE(item.col, visible.GetMaxCol());
    }
}

TEST_F(GridVirtualTest, CopyAsksForTheSelectionBetweenTwoCacheHints)
{
    grid.SetSelectedRange(2, 2, 3, 3);
    owner.cacheHints.clear();
    grid.SendMessage(WM_COMMAND, CGridCtrl::kIdEditCopy, 0);
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(data.GetText(), "v2,2\tv2,3\nv3,2\tv3,3");
    ASSERT_EQ(owner.cacheHints.size(), 2u);
    EXPECT_EQ(owner.cacheHints[0], CGridCellRange(2, 2, 3, 3));
    EXPECT_EQ(owner.cacheHints[1], CGridCellRange(-1, -1, -1, -1));
}

TEST_F(GridVirtualTest, AutoSizeMeasuresTheOwnersHeadingTexts)
{
    owner.onDispInfo = [](GRIDITEM& item) {
        item.strText = item.row == 0 && item.col == 2 ? "a much longer heading" : "ab";
    };
    grid.AutoSize();
    EXPECT_GT(grid.GetColumnWidth(2), grid.GetColumnWidth(3));
    // Style 1: only the heading row was asked for.
    ASSERT_FALSE(owner.displayRequests.empty());
    for (const GRIDITEM& item : owner.displayRequests)
        EXPECT_EQ(item.row, 0);
    ASSERT_EQ(owner.cacheHints.size(), 2u);
    EXPECT_EQ(owner.cacheHints.front().GetTopLeft(), CGridCellCoord(0, 0));
    EXPECT_EQ(owner.cacheHints.front().GetMaxRow(), 0);
    EXPECT_EQ(owner.cacheHints.back(), CGridCellRange(-1, -1, -1, -1));
}

// ---- List mode ----

TEST_F(GridWindowTest, ListModeClearsSelectionAndSortAndClicksSelectWholeRows)
{
    grid.SetSelectedRange(2, 2, 3, 3);
    grid.SetSortColumn(2);
    grid.SetListMode(TRUE);
    EXPECT_TRUE(grid.GetListMode());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_FALSE(grid.GetFixedColumnSelection());
    EXPECT_FALSE(grid.GetSingleRowSelection());

    Click(4, 3);
    EXPECT_EQ(grid.GetSelectedCount(), 5);
    for (int c = 1; c < 6; ++c)
        EXPECT_TRUE(grid.IsCellSelected(4, c)) << c;
    // Dragging from row 8 down to row 10 takes rows 8 to 10 whole.
    Drag(Centre(8, 3), Centre(10, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(8, 1, 10, 5));
    EXPECT_EQ(grid.GetSelectedCount(), 15);
    EXPECT_TRUE(SelectionConsistent(grid));
}

// ---- Text file ----

class GridFileTest : public GridWindowTest {
protected:
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        GridWindowTest::TearDown();
    }

    std::string Bytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void Write(const std::string& bytes) const
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    void Table(const std::vector<std::vector<std::string>>& rows)
    {
        grid.SetRowCount(0);
        grid.SetColumnCount(0);
        grid.SetRowCount(static_cast<int>(rows.size()));
        grid.SetColumnCount(static_cast<int>(rows[0].size()));
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                grid.SetItemText(static_cast<int>(r), static_cast<int>(c), rows[r][c].c_str());
    }

    std::vector<std::vector<std::string>> Cells() const
    {
        std::vector<std::vector<std::string>> out;
        for (int r = 0; r < grid.GetRowCount(); ++r) {
            out.emplace_back();
            for (int c = 0; c < grid.GetColumnCount(); ++c)
                out.back().push_back(grid.GetItemText(r, c).Str());
        }
        return out;
    }

    std::string path
        = (std::filesystem::temp_directory_path() / ("grid_file_" + std::to_string(::getpid()) + ".txt"))
              .string();
    ScopedMessageBoxScript boxes;
};

TEST_F(GridFileTest, SavedLinesAndLoadedTable)
{
    struct Case {
        std::vector<std::vector<std::string>> table;
        char separator;
        std::string bytes;
        std::vector<std::vector<std::string>> loaded;
    };
    const Case cases[] = {
        { { { "a", "b" }, { "c", "d" }, { "e", "f" } }, ',', "a,b\r\nc,d\r\ne,f\r\n",
            { { "a", "b" }, { "c", "d" }, { "e", "f" } } },
        // Nothing is quoted: a comma in a cell splits it on the way back.
        { { { "h", "i" }, { "1,5", "x" } }, ',', "h,i\r\n1,5,x\r\n", { { "h", "i" }, { "1", "5" } } },
        { { { "p", "", "q" } }, ';', "p;;q\r\n", { { "p", "", "q" } } },
    };
    for (const Case& c : cases) {
        Table(c.table);
        ASSERT_TRUE(grid.SaveCSV(path.c_str(), c.separator));
        EXPECT_EQ(Bytes(), c.bytes);
        grid.SetFixedRowCount(1);
        ASSERT_TRUE(grid.LoadCSV(path.c_str(), c.separator));
        EXPECT_EQ(Cells(), c.loaded);
        EXPECT_EQ(grid.GetFixedRowCount(), 0);
        EXPECT_EQ(grid.GetFixedColumnCount(), 0);
    }
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(GridFileTest, KoreanAndAFiveThousandCharacterLineTravelWhole)
{
    const std::string longText(5000, 'x');
    Table({ { "품목", "가격" }, { "사과", longText + "끝" }, { "배", "1500" } });
    ASSERT_TRUE(grid.SaveCSV(path.c_str(), ','));
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes, Utf8ToCp949("품목,가격\r\n사과," + longText + "끝\r\n배,1500\r\n"));

    ASSERT_TRUE(grid.LoadCSV(path.c_str(), ','));
    EXPECT_EQ(Cells(),
        (std::vector<std::vector<std::string>> {
            { "품목", "가격" }, { "사과", longText + "끝" }, { "배", "1500" } }));
    // The columns are sized to their texts: the long one is the widest.
    EXPECT_GT(grid.GetColumnWidth(1), 20 * grid.GetColumnWidth(0));
}

TEST_F(GridFileTest, EmptyFirstLineMakesOneColumnAndDropsFurtherFields)
{
    Write("\r\nx,y,z\r\n\r\nw\r\n");
    ASSERT_TRUE(grid.LoadCSV(path.c_str(), ','));
    EXPECT_EQ(Cells(), (std::vector<std::vector<std::string>> { { "" }, { "x" }, { "" }, { "w" } }));
}

TEST_F(GridFileTest, FailuresAreShownAndReturnFalse)
{
    Table({ { "a", "b" } });
    // A device that takes no bytes: the write fails.
    EXPECT_FALSE(grid.SaveCSV("/dev/full", ','));
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Unable to save grid list");
    // No such folder: the file error is shown, the grid stays.
    EXPECT_FALSE(grid.SaveCSV("/nonexistent-folder/grid.txt", ','));
    EXPECT_FALSE(grid.LoadCSV("/nonexistent-folder/grid.txt", ','));
    EXPECT_EQ(MessageBoxScript::Count(), 3u);
    EXPECT_EQ(grid.GetItemText(0, 1), "b");
    grid.SetVirtualMode(TRUE);
    Write("a,b\r\n");
    EXPECT_FALSE(grid.LoadCSV(path.c_str(), ','));
    EXPECT_EQ(grid.GetColumnCount(), 0);
}

} // namespace
