// The edit lifecycle against a recording owner, and the focus-keeping
// contract of the work screen.

#include "grid_window_fixture.h"
#include "platform/wnd/core/input_seam.h"

namespace {

using E = GridEvent;

TEST_F(GridWindowTest, F2OpensEditorOverTheCellAndReturnStoresText)
{
    grid.SetFocusCell(4, 2);
    Key(VK_F2);
    ASSERT_TRUE(grid.IsItemEditing(4, 2));
    CRect editorRect;
    EditorOf(4, 2)->GetWindowRect(editorRect);
    grid.ScreenToClient(editorRect);
    CRect cellRect;
    ASSERT_TRUE(grid.GetCellRect(4, 2, cellRect));
    EXPECT_EQ(editorRect, cellRect);
    FinishEdit(4, 2, "new", VK_RETURN);
    EXPECT_EQ(grid.GetItemText(4, 2), "new");
    EXPECT_FALSE(grid.IsItemEditing(4, 2));
    EXPECT_TRUE(grid.GetModified(4, 2));
    EXPECT_EQ(owner.events,
        (std::vector<E> {
            { GRIDNOTIFY_BEGINEDIT, 4, 2 }, { GRIDNOTIFY_ENDEDIT, 4, 2 }, { kCellEdited, 4, 2 } }));
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(4, 2));
}

TEST_F(GridWindowTest, EscapeRestoresTextAndStillReportsTheCell)
{
    grid.SetFocusCell(3, 1);
    Key(VK_F2);
    FinishEdit(3, 1, "typed", VK_ESCAPE);
    EXPECT_EQ(grid.GetItemText(3, 1), "3,1");
    EXPECT_EQ(owner.events, (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 3, 1 }, { kCellEdited, 3, 1 } }));
}

TEST_F(GridWindowTest, OwnerRefusingBeginEditOpensNoEditor)
{
    owner.beginEditReply = -1;
    grid.SetFocusCell(2, 2);
    Key(VK_F2);
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    EXPECT_EQ(owner.events, (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 2, 2 } }));
}

TEST_F(GridWindowTest, OwnerRefusingEndEditGetsOldTextBackAndTheMessage)
{
    owner.endEditReply = -1;
    grid.SetFocusCell(2, 2);
    grid.SetModified(FALSE);
    Key(VK_F2);
    FinishEdit(2, 2, "refused", VK_RETURN);
    EXPECT_EQ(grid.GetItemText(2, 2), "2,2");
    EXPECT_TRUE(grid.GetItemState(2, 2) & GRIDSTATE_MODIFIED);
    EXPECT_EQ(owner.Only({ kCellEdited }), (std::vector<E> { { kCellEdited, 2, 2 } }));
}

TEST_F(GridWindowTest, ReadOnlyCellAndNonEditableGridOpenNoEditor)
{
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GRIDSTATE_READONLY);
    grid.SetFocusCell(2, 2);
    Key(VK_F2);
    Char('x');
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    grid.SetEditable(FALSE);
    grid.SetFocusCell(3, 3);
    Key(VK_F2);
    EXPECT_FALSE(grid.IsItemEditing(3, 3));
    EXPECT_TRUE(owner.events.empty());
}

TEST_F(GridWindowTest, TabEndsEditAndEditsTheNextCell)
{
    const HWND first = OpenEditor(2, 2, "t");
    ASSERT_NE(first, nullptr);
    CWnd::FromHandle(first)->SendMessage(WM_CHAR, VK_TAB, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(first); }));
    EXPECT_EQ(grid.GetItemText(2, 2), "t");
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 3));
    EXPECT_TRUE(grid.IsItemEditing(2, 3));
    EXPECT_EQ(owner.events,
        (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 2, 2 }, { GRIDNOTIFY_ENDEDIT, 2, 2 }, { kCellEdited, 2, 2 },
            { GRIDNOTIFY_SELCHANGING, 2, 3 }, { GRIDNOTIFY_SELCHANGED, 2, 3 },
            { GRIDNOTIFY_BEGINEDIT, 2, 3 } }));
    FinishEdit(2, 3, nullptr, VK_RETURN);
}

TEST_F(GridWindowTest, TypedCharacterStartsEditAndArrowMovesOn)
{
    grid.SetFocusCell(4, 1);
    Char('7');
    ASSERT_TRUE(grid.IsItemEditing(4, 1));
    FinishEdit(4, 1, "77", VK_DOWN, TRUE);
    EXPECT_EQ(grid.GetItemText(4, 1), "77");
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(5, 1));
    EXPECT_TRUE(grid.IsItemEditing(5, 1));
    FinishEdit(5, 1, nullptr, VK_ESCAPE);
}

TEST_F(GridWindowTest, MouseStartedEditKeepsArrowsButCtrlArrowEnds)
{
    grid.SetFocusCell(2, 2);
    Key(VK_F2);
    CWnd* editor = EditorOf(2, 2);
    ASSERT_NE(editor, nullptr);
    editor->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(grid.IsItemEditing(2, 2));
    SetKeyStateOverride(VK_CONTROL, TRUE);
    FinishEdit(2, 2, nullptr, VK_RIGHT, TRUE);
    SetKeyStateOverride(VK_CONTROL, FALSE);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 3));
    FinishEdit(2, 3, nullptr, VK_ESCAPE);
}

// The work screen refuses a value: it holds the focus and puts the focus
// back; the Tab that ended the edit then only releases the hold and the edit
// reopens on the refused cell. A later accepted value moves on.
TEST_F(GridWindowTest, KeepFocusContractOfTheWorkScreen)
{
    owner.onCellEdited = [&](int row, int col) {
        if (grid.GetItemText(row, col) == "bad") {
            grid.HoldFocus(true);
            grid.SetFocus();
            grid.SetFocusCell(row, col);
        } else {
            grid.HoldFocus(false);
        }
    };
    grid.SetFocusCell(2, 2);
    Key(VK_F2);
    FinishEdit(2, 2, "bad", VK_TAB);
    EXPECT_FALSE(grid.IsFocusHeld());
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 2));
    ASSERT_TRUE(grid.IsItemEditing(2, 2));
    EXPECT_EQ(owner.events,
        (std::vector<E> { { GRIDNOTIFY_BEGINEDIT, 2, 2 }, { GRIDNOTIFY_ENDEDIT, 2, 2 }, { kCellEdited, 2, 2 },
            { GRIDNOTIFY_BEGINEDIT, 2, 2 } }));
    owner.events.clear();
    FinishEdit(2, 2, "good", VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 3));
    EXPECT_EQ(owner.Only({ kCellEdited, GRIDNOTIFY_BEGINEDIT }),
        (std::vector<E> { { kCellEdited, 2, 2 }, { GRIDNOTIFY_BEGINEDIT, 2, 3 } }));
    FinishEdit(2, 3, nullptr, VK_ESCAPE);
}

TEST_F(GridWindowTest, KeepFocusSwallowsOneMoveKeyOnly)
{
    grid.SetFocusCell(2, 2);
    grid.HoldFocus(true);
    Key(VK_NEXT);
    EXPECT_TRUE(grid.IsFocusHeld());
    grid.SetFocusCell(2, 2);
    Key(VK_DOWN);
    EXPECT_FALSE(grid.IsFocusHeld());
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(2, 2));
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CGridCellCoord(3, 2));
}

TEST_F(GridWindowTest, SwallowedButtonUpStillReleasesCaptureAndTimer)
{
    Mouse(WM_LBUTTONDOWN, Centre(3, 2), MK_LBUTTON);
    EXPECT_EQ(CWnd::GetCapture(), &grid);
    EXPECT_NE(grid.GetAutoScrollTimer(), 0u);
    grid.HoldFocus(true);
    Mouse(WM_LBUTTONUP, Centre(3, 2));
    EXPECT_FALSE(grid.IsFocusHeld());
    EXPECT_NE(CWnd::GetCapture(), &grid);
    EXPECT_EQ(grid.GetAutoScrollTimer(), 0u);
    EXPECT_EQ(grid.GetMouseMode(), GRIDMOUSE_NOTHING);
}

TEST_F(GridWindowTest, StructuralChangesCancelAnOpenEditorWithoutCommit)
{
    struct Case {
        const char* name;
        int fixedRows;
        void (*change)(CGridCtrl&);
        bool cancels; // the cells under the editor move or go
    } const cases[] = {
        { "delete a row", 1, [](CGridCtrl& g) { g.DeleteRow(2); }, true },
        { "insert a row above", 1, [](CGridCtrl& g) { g.InsertRow("new", 2); }, true },
        { "insert at row 0 without headings", 0, [](CGridCtrl& g) { g.InsertRow("new", 0); }, true },
        { "insert a column", 1, [](CGridCtrl& g) { g.InsertColumn("new", DT_LEFT, 2); }, true },
        { "delete a column", 1, [](CGridCtrl& g) { g.DeleteColumn(4); }, true },
        { "fewer rows", 1, [](CGridCtrl& g) { g.SetRowCount(10); }, true },
        { "fewer columns", 1, [](CGridCtrl& g) { g.SetColumnCount(5); }, true },
        { "sort the rows", 1, [](CGridCtrl& g) { g.SortItems(1, FALSE); }, true },
        { "append a row", 1, [](CGridCtrl& g) { g.InsertRow("new"); }, false },
        { "append a column", 1, [](CGridCtrl& g) { g.InsertColumn("new"); }, false },
        { "more rows", 1, [](CGridCtrl& g) { g.SetRowCount(30); }, false },
        { "more columns", 1, [](CGridCtrl& g) { g.SetColumnCount(8); }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(20, 6);
        grid.SetFixedRowCount(c.fixedRows);
        const HWND hwnd = OpenEditor(3, 2, "stale");
        ASSERT_NE(hwnd, nullptr);
        owner.events.clear();
        c.change(grid);
        if (c.cancels) {
            ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
            for (int r = 0; r < grid.GetRowCount(); ++r)
                for (int col = 0; col < grid.GetColumnCount(); ++col)
                    ASSERT_NE(grid.GetItemText(r, col), "stale");
            EXPECT_TRUE(owner.Only({ GRIDNOTIFY_ENDEDIT, kCellEdited }).empty());
            EXPECT_FALSE(grid.IsItemEditing(3, 2));
        } else {
            EXPECT_TRUE(IsWindow(hwnd));
            EXPECT_TRUE(grid.IsItemEditing(3, 2));
            FinishEdit(3, 2, nullptr, VK_RETURN);
            EXPECT_EQ(grid.GetItemText(3, 2), "stale");
        }
    }
}

TEST_F(GridWindowTest, TypedCharacterReplacesTheTextAndKoreanArrivesWhole)
{
    grid.SetFocusCell(2, 2);
    Char('5');
    ASSERT_TRUE(grid.IsItemEditing(2, 2));
    CWnd* editor = EditorOf(2, 2);
    ASSERT_TRUE(PumpUntil([&] {
        CString text;
        editor->GetWindowText(text);
        return text == "5";
    }));
    ASSERT_TRUE(AfxSimulateKey(editor->GetSafeHwnd(), VK_SPACE, " "));
    ASSERT_TRUE(AfxSimulateKey(editor->GetSafeHwnd(), '6', "6"));
    editor->SendMessage(WM_CHAR, VK_BACK, 0);
    editor->SendMessage(WM_IME_CHAR, 0xD55C, 0); // 한
    FinishEdit(2, 2, nullptr, VK_RETURN);
    EXPECT_EQ(grid.GetItemText(2, 2), "5 한");

    grid.SetFocusCell(3, 2);
    grid.SendMessage(WM_IME_CHAR, 0xAE00, 0); // 글
    ASSERT_TRUE(grid.IsItemEditing(3, 2));
    editor = EditorOf(3, 2);
    ASSERT_TRUE(PumpUntil([&] {
        CString text;
        editor->GetWindowText(text);
        return text == "글";
    }));
    FinishEdit(3, 2, nullptr, VK_RETURN);
    EXPECT_EQ(grid.GetItemText(3, 2), "글");
}

} // namespace

TEST_F(GridWindowTest, AnOwnersRefusalPutsBackWhatTheLatestEditOfTheCellReplaced)
{
    grid.SetFocusCell(4, 2);
    Key(VK_F2);
    FinishEdit(4, 2, "typed", VK_RETURN);
    ASSERT_EQ(grid.GetItemText(4, 2), "typed");
    grid.RestoreReplacedText(3, 2); // not the edited cell
    EXPECT_EQ(grid.GetItemText(3, 2), "3,2");
    grid.RestoreReplacedText(4, 2);
    EXPECT_EQ(grid.GetItemText(4, 2), "4,2");
    // The same text typed again replaced "4,2": the earlier text is not brought back.
    grid.SetItemText(4, 2, "kept");
    Key(VK_F2);
    FinishEdit(4, 2, "kept", VK_RETURN);
    grid.RestoreReplacedText(4, 2);
    EXPECT_EQ(grid.GetItemText(4, 2), "kept");
}
