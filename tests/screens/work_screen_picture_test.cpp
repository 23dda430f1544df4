// The item screen as a user sees it: a few rows loaded, painted with the
// panels, checked by key pixels and kept as a picture beside the test binary.

#include <filesystem>

#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/pixels.h"

TEST_F(WorkScreenFixture, ItemScreenPaintsItsRowsOnTheCellColour)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [pos_kind], [mg_id]) "
          "VALUES('1', 'Pork belly', '2300', '0', 'vexo')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [pos_kind], [mg_id]) "
            "VALUES('2', '사과', '1500', '1', 'vexo')",
            "INSERT INTO [Item]([item_num], [item_name], [unitprice], [pos_kind], [mg_id]) "
            "VALUES('3', 'Mackerel', '4900', '2', 'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    m_screen->UpdateWindow();

    Snapshot grid(Grid(), Snapshot::Scope::WithChildren);
    ASSERT_TRUE(grid.Ok());
    CRect cell;
    ASSERT_TRUE(Grid().GetCellRect(1, 2, &cell));
    // Data cells on the light yellow of the work screen, heading cells not.
    EXPECT_GT(grid.Count(RGB(255, 255, 224), cell), cell.Width() * cell.Height() / 2);
    CRect heading;
    ASSERT_TRUE(Grid().GetCellRect(0, 2, &heading));
    EXPECT_EQ(grid.Count(RGB(255, 255, 224), heading), 0);
    // The name's text is drawn inside its cell.
    EXPECT_FALSE(grid.Ink(RGB(255, 255, 224), cell).IsRectEmpty());

    Snapshot screen(*m_screen, Snapshot::Scope::WithChildren);
    ASSERT_TRUE(screen.Ok());
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_TRUE(screen.Save((folder / "work_screen_items.png").string().c_str()));
}
