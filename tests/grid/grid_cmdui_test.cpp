// Update rules of the grid's Cut, Copy, Paste and Select All commands.

#include "grid_window_fixture.h"
#include "platform/wnd/core/cmdui.h"

namespace {

class GridCmdUiTest : public GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        EmptyClipboard();
        grid.SetSelectedRange(-1, -1, -1, -1);
        grid.SetFocusCell(-1, -1);
    }

    void TearDown() override
    {
        EmptyClipboard();
        GridWindowTest::TearDown();
    }

    // Whether the grid's rule for command id enables the item; fails the test
    // when no rule ran.
    bool Enabled(UINT id)
    {
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_bEnabled = !ui.m_bEnabled; // a rule must set it either way
        EXPECT_TRUE(ui.DoUpdate(&grid, FALSE)) << "no update rule for " << id;
        EXPECT_TRUE(ui.m_bEnableChanged) << "rule for " << id << " left the item alone";
        return ui.m_bEnabled != FALSE;
    }

    static void PutTextOnClipboard(const char* text)
    {
        auto* source = new COleDataSource;
        source->CacheText(text);
        source->SetClipboard();
    }
};

TEST_F(GridCmdUiTest, CopyAndCutNeedASelectedCellAndCutAnEditableGrid)
{
    for (const auto& [id, readOnly] :
        { std::pair(CGridCtrl::kIdEditCopy, true), std::pair(CGridCtrl::kIdEditCut, false) }) {
        SCOPED_TRACE(id);
        grid.SetEditable(TRUE);
        grid.SetSelectedRange(-1, -1, -1, -1);
        EXPECT_FALSE(Enabled(id));
        grid.SetSelectedRange(2, 2, 3, 3);
        EXPECT_TRUE(Enabled(id));
        grid.SetEditable(FALSE);
        EXPECT_EQ(Enabled(id), readOnly) << "in a read-only grid";
        grid.SetSelectedRange(-1, -1, -1, -1);
        EXPECT_FALSE(Enabled(id));
    }
}

TEST_F(GridCmdUiTest, PasteNeedsAnEditableFocusCellAndTextOnTheClipboard)
{
    PutTextOnClipboard("x");
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    // A selection without a focus cell does not do.
    grid.SetSelectedRange(2, 2, 2, 2);
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditPaste));

    grid.SetFocusCell(2, 2);
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditPaste));

    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GRIDSTATE_READONLY);
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditPaste));
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) & ~GRIDSTATE_READONLY);
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditPaste));

    grid.SetEditable(FALSE);
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditPaste));
    grid.SetEditable(TRUE);

    ASSERT_TRUE(EmptyClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditPaste));
}

TEST_F(GridCmdUiTest, PasteFollowsWhatCopyPutOnTheClipboard)
{
    grid.SetFocusCell(4, 4);
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditPaste));
    grid.SetSelectedRange(1, 1, 1, 2);
    grid.SendMessage(WM_COMMAND, CGridCtrl::kIdEditCopy, 0);
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditPaste));
}

TEST_F(GridCmdUiTest, SelectAllFollowsWhetherSelectionIsEnabled)
{
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditSelectAll));
    grid.SetEditable(FALSE);
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditSelectAll));
    grid.EnableSelection(FALSE);
    EXPECT_FALSE(Enabled(CGridCtrl::kIdEditSelectAll));
    grid.EnableSelection(TRUE);
    EXPECT_TRUE(Enabled(CGridCtrl::kIdEditSelectAll));
}

} // namespace
