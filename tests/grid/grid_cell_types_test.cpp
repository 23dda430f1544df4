// The special cell types: check, combo, date-time, numeric and link cells,
// their drawing (the pixels that matter) and their editing.

#include "grid/grid_cell_check.h"
#include "grid/grid_cell_combo.h"
#include "grid/grid_cell_datetime.h"
#include "grid/grid_cell_numeric.h"
#include "grid/grid_url_cell.h"
#include "grid/inplace_datetime.h"
#include "grid/inplace_list.h"
#include "grid_window_fixture.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/desktop/shell_services.h"
#include "tests/support/pixels.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kSide = 16; // SM_CXHSCROLL, SM_CYHSCROLL, SM_CXVSCROLL

class GridCellTypesTest : public GridWindowTest {
protected:
    template <class T> T* MakeCell(int row, int col)
    {
        EXPECT_TRUE(grid.SetCellType(row, col, RUNTIME_CELL_CLASS(T)));
        return dynamic_cast<T*>(grid.GetCell(row, col));
    }

    // Draws a cell at rect of a white canvas.
    static void DrawCell(Canvas& canvas, CGridCellBase* cell, int row, int col, const CRect& rect)
    {
        ASSERT_TRUE(cell->Draw(&canvas.Dc(), row, col, rect, TRUE));
    }

    // Pixels darker than mid grey in area, read by pixel(x, y).
    template <class Pixel> static int DarkIn(const CRect& area, Pixel pixel)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const COLORREF c = pixel(x, y);
                n += (GetRValue(c) + GetGValue(c) + GetBValue(c)) < 3 * 100 ? 1 : 0;
            }
        return n;
    }
    static int Dark(Canvas& canvas, const CRect& area)
    {
        return DarkIn(area, [&](int x, int y) { return canvas.At(x, y); });
    }

    void WaitClosed(HWND hwnd)
    {
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
    }

    // Draws a cell where the grid shows it (into a canvas of the client's size).
    BOOL Redraw(int row, int col)
    {
        Canvas canvas(600, 400);
        return grid.RedrawCell(row, col, &canvas.Dc());
    }
};

// ---- Check cell ----

TEST_F(GridCellTypesTest, CheckCellDrawsItsBoxAndTheTextAfterIt)
{
    grid.SetItemText(2, 2, "Yes");
    grid.SetItemFormat(2, 2, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    auto* cell = MakeCell<CGridCellCheck>(2, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(grid.GetItemText(2, 2), "Yes") << "the type change keeps the text";
    EXPECT_FALSE(cell->GetCheck());
    const int m = static_cast<int>(cell->GetMargin());

    const CRect rect(10, 10, 109, 39);
    for (const BOOL checked : { FALSE, TRUE }) {
        SCOPED_TRACE(checked);
        cell->SetCheck(checked);
        Canvas canvas(140, 60);
        DrawCell(canvas, cell, 2, 2, rect);
        const CRect box = cell->GetCheckPlacement();
        EXPECT_EQ(box, CRect(10 + m, 10 + m, 10 + m + kSide, 10 + m + kSide));
        // The box's frame is drawn; its inside holds the mark only when checked.
        EXPECT_GT(canvas.CountOther(kWhite, CRect(box.left, box.top, box.right, box.top + 2)), kSide);
        CRect inside = box;
        inside.DeflateRect(4, 4);
        if (checked)
            EXPECT_GT(Dark(canvas, inside), 5);
        else
            EXPECT_EQ(Dark(canvas, inside), 0);
        // The text starts after the box and its margins.
        const CRect ink = canvas.Ink(kWhite, CRect(box.right + 1, rect.top, rect.right, rect.bottom));
        ASSERT_FALSE(ink.IsRectEmpty());
        EXPECT_GE(ink.left, box.right + m);
        EXPECT_LT(ink.left, box.right + m + 6);
    }
    CRect text = rect;
    cell->GetTextRect(text);
    EXPECT_EQ(text.left, rect.left + kSide + 2 * m);
    CRect narrow(0, 0, 10, 20);
    cell->GetTextRect(narrow);
    EXPECT_EQ(narrow.left, narrow.right) << "never past the right edge";
}

TEST_F(GridCellTypesTest, CheckCellTogglesOnlyOnClicksInTheBox)
{
    auto* cell = MakeCell<CGridCellCheck>(3, 2);
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(Redraw(3, 2));
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(3, 2, rect));
    const int m = static_cast<int>(cell->GetMargin());
    ASSERT_EQ(cell->GetCheckPlacement().TopLeft(), rect.TopLeft() + CPoint(m, m));

    struct Case {
        CPoint relative;
        BOOL checked;
    } const cases[] = {
        { CPoint(m + 2, m + 2), TRUE },
        { CPoint(m + kSide - 1, m + kSide - 1), FALSE },
        { CPoint(m + kSide + 3, m + 2), FALSE }, // right of the box
        { CPoint(m - 1, m + 2), FALSE }, // left of it
        { CPoint(m + 5, m + kSide + 1), FALSE }, // below it
        { CPoint(m + 5, m + 5), TRUE },
    };
    for (const Case& c : cases) {
        cell->OnClick(c.relative);
        EXPECT_EQ(cell->GetCheck(), c.checked) << c.relative.x << "," << c.relative.y;
    }
    EXPECT_TRUE(cell->SetCheck(FALSE)) << "the previous mark";
    EXPECT_FALSE(cell->GetCheck());
    // A click through the grid on the box of a cell that is not the focus.
    const CPoint inBox = rect.TopLeft() + CPoint(m + 4, m + 4);
    ClickAt(inBox);
    EXPECT_TRUE(cell->GetCheck());
    EXPECT_EQ(grid.GetItemText(3, 2), "3,2") << "the text does not change";

    // The window shows each change of the mark.
    const CRect box = cell->GetCheckPlacement();
    const auto darkOnScreen = [&] {
        grid.UpdateWindow();
        CClientDC dc(&grid);
        return DarkIn(box, [&](int x, int y) { return dc.GetPixel(x, y); });
    };
    const int checked = darkOnScreen();
    cell->SetCheck(FALSE);
    const int unchecked = darkOnScreen();
    EXPECT_GT(checked, unchecked + 4);
    cell->SetCheck(TRUE);
    EXPECT_EQ(darkOnScreen(), checked);
}

TEST_F(GridCellTypesTest, CheckAndComboCellsMeasureTheirControls)
{
    CGridCell plain;
    plain.SetGrid(&grid);
    plain.SetText("Measured text");
    const CSize base = plain.GetCellExtent(nullptr);
    auto* check = MakeCell<CGridCellCheck>(1, 1);
    check->SetText("Measured text");
    const int m = static_cast<int>(check->GetMargin());
    EXPECT_EQ(check->GetCellExtent(nullptr), CSize(base.cx + kSide + 2 * m, base.cy + kSide + 2 * m));
    auto* combo = MakeCell<CGridCellCombo>(1, 2);
    combo->SetText("Measured text");
    EXPECT_EQ(combo->GetCellExtent(nullptr), CSize(base.cx + kSide, base.cy + kSide));
}

// ---- Combo cell ----

TEST_F(GridCellTypesTest, ComboCellDrawsItsDropButtonOnlyWhereEditable)
{
    struct Case {
        const char* name;
        BOOL gridEditable;
        BOOL readOnly;
        int width;
        BOOL button;
    } const cases[] = {
        { "editable", TRUE, FALSE, 100, TRUE },
        { "read-only cell", TRUE, TRUE, 100, FALSE },
        { "read-only grid", FALSE, FALSE, 100, FALSE },
        { "too narrow", TRUE, FALSE, 16, FALSE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shape(20, 6);
        grid.SetEditable(c.gridEditable);
        auto* cell = MakeCell<CGridCellCombo>(2, 2);
        ASSERT_NE(cell, nullptr);
        cell->SetText("");
        if (c.readOnly)
            grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GRIDSTATE_READONLY);
        Canvas canvas(140, 60);
        const CRect rect(10, 10, 10 + c.width - 1, 30);
        DrawCell(canvas, cell, 2, 2, rect);
        // The button: a face-coloured square in the top-right corner.
        const CRect button(rect.right - kSide, rect.top, rect.right, rect.top + kSide);
        const int face = canvas.Count(GetSysColor(COLOR_3DFACE), button);
        if (c.button) {
            EXPECT_GT(face, kSide * kSide / 3);
            EXPECT_GT(Dark(canvas, button), 2) << "the arrow";
        } else {
            EXPECT_EQ(face, 0);
        }
    }
}

TEST_F(GridCellTypesTest, ComboCellEditsWithItsOptions)
{
    grid.SetItemText(2, 2, "Kiwi");
    auto* cell = MakeCell<CGridCellCombo>(2, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->GetStyle(), static_cast<DWORD>(CBS_DROPDOWN));
    cell->SetOptions({ "Apple", "Banana", "Cherry" });
    EXPECT_EQ(grid.GetItemText(2, 2), "Kiwi") << "options do not change the text";
    EXPECT_EQ(cell->GetEditWnd(), nullptr);

    grid.SetFocusCell(2, 2);
    grid.OnEditCell(2, 2, CPoint(0, 0), VK_LBUTTON);
    ASSERT_TRUE(cell->IsEditing());
    auto* list = dynamic_cast<CGridInPlaceList*>(cell->GetEditWnd());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCount(), 3);
    CString shown;
    list->GetWindowText(shown);
    EXPECT_EQ(shown, "Kiwi") << "an unmatched text shows in the field";
    EXPECT_EQ(list->GetStyle() & CBS_TYPEMASK, static_cast<DWORD>(CBS_DROPDOWN));
    CRect cellRect;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cellRect));
    EXPECT_EQ(list->GetItemHeight(-1), cellRect.Height()) << "the field is as high as the cell";
    // While the list is open the cell draws no text and no button.
    Canvas canvas(140, 60);
    DrawCell(canvas, cell, 2, 2, CRect(10, 10, 109, 29));
    EXPECT_EQ(Dark(canvas, CRect(13, 13, 106, 26)), 0);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_3DFACE), CRect(10, 10, 110, 30)), 0);

    list->SetCurSel(2);
    const HWND hwnd = list->GetSafeHwnd();
    list->SendMessage(WM_KEYUP, VK_RETURN, 0);
    WaitClosed(hwnd);
    EXPECT_EQ(grid.GetItemText(2, 2), "Cherry");
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(cell->GetEditWnd(), nullptr);

    cell->SetStyle(CBS_DROPDOWNLIST);
    grid.OnEditCell(2, 2, CPoint(0, 0), VK_LBUTTON);
    list = dynamic_cast<CGridInPlaceList*>(cell->GetEditWnd());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetStyle() & CBS_TYPEMASK, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_EQ(list->GetCurSel(), 2);
    const HWND second = list->GetSafeHwnd();
    cell->EndEdit();
    WaitClosed(second);
    EXPECT_FALSE(cell->IsEditing());
}

// ---- Date-time cell ----

TEST_F(GridCellTypesTest, DateTimeCellTextFollowsItsStyle)
{
    const CTime time(2024, 1, 31, 13, 5, 9);
    auto* cell = MakeCell<CGridCellDateTime>(2, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(grid.GetItemText(2, 2), "2,2") << "made by SetCellType: the text stays";
    EXPECT_EQ(cell->GetStyle(), 0u);
    cell->SetTime(time);
    EXPECT_EQ(grid.GetItemText(2, 2), "31/01/2024");
    EXPECT_EQ(cell->GetTime()->GetTime(), time.GetTime());

    CGridCellDateTime clock(DTS_TIMEFORMAT);
    clock.SetTime(time);
    EXPECT_STREQ(clock.GetText(), "13:05:09");
    EXPECT_EQ(clock.GetFormat() & (DT_CENTER | DT_RIGHT), static_cast<DWORD>(DT_CENTER));
    CGridCellDateTime other(DTS_UPDOWN);
    other.SetText("kept");
    other.SetTime(time);
    EXPECT_STREQ(other.GetText(), "kept");
}

TEST_F(GridCellTypesTest, DateTimeCellEditsItsOwnTime)
{
    auto* cell = MakeCell<CGridCellDateTime>(3, 3);
    ASSERT_NE(cell, nullptr);
    cell->SetTime(CTime(2024, 1, 31, 0, 0, 0));
    grid.SetFocusCell(3, 3);
    grid.OnEditCell(3, 3, CPoint(0, 0), VK_LBUTTON);
    auto* picker = dynamic_cast<CGridInPlaceDateTime*>(cell->GetEditWnd());
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->GetStyle() & DTS_UPDOWN);
    CTime shown;
    ASSERT_EQ(picker->GetTime(shown), GDT_VALID);
    EXPECT_EQ(shown.GetDay(), 31);
    picker->SetTime(CTime(2025, 3, 4, 0, 0, 0));
    CString pickerText;
    picker->GetWindowText(pickerText);
    const HWND hwnd = picker->GetSafeHwnd();
    picker->SendMessage(WM_KEYUP, VK_ESCAPE, 0);
    WaitClosed(hwnd);
    EXPECT_EQ(cell->GetTime()->GetYear(), 2025) << "Escape keeps the picked time";
    EXPECT_EQ(cell->GetTime()->GetMonth(), 3);
    EXPECT_EQ(grid.GetItemText(3, 3), pickerText);
    EXPECT_FALSE(cell->IsEditing());
}

// ---- Numeric cell ----

TEST_F(GridCellTypesTest, NumericCellEditorTakesDigitsOnly)
{
    struct Case {
        const char* name;
        UINT first;
        const char* typed;
        const char* result;
    } const cases[] = {
        { "digits replace the text", '7', "3", "73" },
        { "letters and blanks are refused", 'a', "b 4x ", "4" },
        { "mouse start keeps the text", VK_LBUTTON, "5z", "125" },
        { "a double-byte first character is refused", 0xAC00, "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid.SetItemText(2, 2, "12");
        auto* cell = MakeCell<CGridCellNumeric>(2, 2);
        ASSERT_NE(cell, nullptr);
        grid.SetFocusCell(2, 2);
        grid.OnEditCell(2, 2, CPoint(0, 0), c.first);
        CWnd* editor = cell->GetEditWnd();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->GetStyle() & ES_NUMBER);
        const HWND hwnd = editor->GetSafeHwnd();
        // The first character is posted to the editor.
        PumpFor(std::chrono::milliseconds(30));
        for (const char* p = c.typed; *p; ++p)
            editor->SendMessage(WM_CHAR, static_cast<UINT>(*p), 0);
        editor->SendMessage(WM_CHAR, VK_RETURN, 0);
        WaitClosed(hwnd);
        if (c.first >= 128)
            EXPECT_EQ(grid.GetItemText(2, 2), "12") << "nothing typed";
        else
            EXPECT_EQ(grid.GetItemText(2, 2), c.result);
    }
}

// ---- Link cell ----

TEST_F(GridCellTypesTest, LinkPrefixesAndWhatAClickOpens)
{
    struct Case {
        const char* text;
        BOOL link;
        const char* opens;
    } const cases[] = {
        { "www.store.example", TRUE, "http://www.store.example" },
        { "http://store.example/a", TRUE, "http://store.example/a" },
        { "https://store.example", TRUE, "https://store.example" },
        { "mailto:manager@store.example", TRUE, "mailto:manager@store.example" },
        { "(http://store.example)", TRUE, "http://store.example)" },
        { "ftp://store.example", TRUE, "" },
        { "ftp.store.example", TRUE, "" },
        { "news:group", TRUE, "" },
        { "gopher:x", TRUE, "" },
        { "telnet:host", TRUE, "" },
        { "url:x", TRUE, "" },
        { "file:///etc/passwd", TRUE, "" },
        { "file://host/http://x", TRUE, "" },
        { "plain text", FALSE, "" },
        { "HTTP://upper", FALSE, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CGridURLCell::HasUrl(c.text), c.link);
        EXPECT_EQ(CGridURLCell::LaunchAddress(c.text), c.opens);
    }
}

TEST_F(GridCellTypesTest, LinkCellDrawsLinksInTheLinkColourAndIsNotEditable)
{
    grid.SetColumnWidth(2, 250);
    grid.SetItemText(2, 2, "see www.store.example");
    grid.SetItemText(3, 2, "no link here");
    auto* link = MakeCell<CGridURLCell>(2, 2);
    auto* plain = MakeCell<CGridURLCell>(3, 2);
    ASSERT_TRUE(link && plain);
    const COLORREF blue = RGB(0, 0, 255);
    link->SetUrlColour(blue);
    plain->SetUrlColour(blue);
    Canvas canvas(300, 60);
    DrawCell(canvas, link, 2, 2, CRect(0, 0, 249, 19));
    DrawCell(canvas, plain, 3, 2, CRect(0, 30, 249, 49));
    EXPECT_GT(canvas.Count(blue, CRect(0, 0, 250, 20)), 10);
    EXPECT_EQ(canvas.Count(blue, CRect(0, 30, 250, 50)), 0);
    EXPECT_GT(Dark(canvas, CRect(0, 30, 250, 50)), 10) << "plain text in the text colour";
    EXPECT_EQ(link->GetTextClr(), blue);
    EXPECT_EQ(plain->GetTextClr(), CLR_DEFAULT);

    grid.SetFocusCell(2, 2);
    grid.OnEditCell(2, 2, CPoint(0, 0), VK_LBUTTON);
    EXPECT_FALSE(link->IsEditing());
    EXPECT_EQ(link->GetEditWnd(), nullptr);
}

class LinkClickTest : public GridCellTypesTest {
protected:
    void SetUp() override
    {
        GridCellTypesTest::SetUp();
        AfxClearShellRecords();
        grid.SetColumnWidth(2, 300);
        grid.SetItemFormat(2, 2, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    void TearDown() override
    {
        AfxClearShellRecords();
        GridCellTypesTest::TearDown();
    }

    // The cell-relative point over character index of the cell's text
    // (left-aligned after the margin).
    CPoint Over(CGridURLCell* cell, int index)
    {
        const CString text = cell->GetText();
        const int m = static_cast<int>(cell->GetMargin());
        const int width = cell->GetTextExtent(text).cx - 4 * m;
        return CPoint(m + (2 * index + 1) * width / (2 * text.GetLength()), 10);
    }

    CGridURLCell* Drawn(const char* text)
    {
        grid.SetItemText(2, 2, text);
        auto* cell = MakeCell<CGridURLCell>(2, 2);
        grid.SetItemFormat(2, 2, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        EXPECT_TRUE(Redraw(2, 2));
        return cell;
    }
};

TEST_F(LinkClickTest, ClickOpensOnlyWebAndMailLinksUnderThePoint)
{
    struct Case {
        const char* text;
        int index;
        const char* opened; // null: nothing opened
    } const cases[] = {
        { "see www.store.example now", 8, "http://www.store.example" },
        { "see www.store.example now", 1, nullptr }, // over "see"
        { "see www.store.example now", 23, nullptr }, // over "now"
        { "see www.store.example", 26, nullptr }, // past the text's end
        { "see www.store.example", 60, nullptr }, // past the cell's edge
        { "see www.store.example now", 3, nullptr }, // on a blank
        { "mail mailto:a@b.example", 10, "mailto:a@b.example" },
        { "https://store.example", 3, "https://store.example" },
        { "file:///etc/passwd", 4, nullptr },
        { "ftp://store.example", 4, nullptr },
        { "telnet:host", 2, nullptr },
        { "plain words only", 3, nullptr },
        { "plain words only", 8, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.index));
        AfxClearShellRecords();
        CGridURLCell* cell = Drawn(c.text);
        ASSERT_NE(cell, nullptr);
        cell->OnClick(Over(cell, c.index));
        const std::vector<ShellRecord> records = AfxGetShellRecords();
        if (!c.opened) {
            EXPECT_TRUE(records.empty());
            continue;
        }
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].kind, ShellRecord::Kind::Execute);
        EXPECT_EQ(records[0].verb, "open");
        EXPECT_EQ(records[0].name, c.opened);
        EXPECT_EQ(records[0].show, SW_SHOWNORMAL);
    }
}

TEST_F(LinkClickTest, LaunchFlagOffOpensNothing)
{
    CGridURLCell* cell = Drawn("http://store.example");
    ASSERT_NE(cell, nullptr);
    cell->SetAutoLaunchUrl(FALSE);
    cell->OnClick(Over(cell, 5));
    EXPECT_TRUE(AfxGetShellRecords().empty());
    cell->SetAutoLaunchUrl(TRUE);
    cell->OnClick(Over(cell, 5));
    EXPECT_EQ(AfxGetShellRecords().size(), 1u);
}

TEST_F(LinkClickTest, HandCursorOverEveryKindOfLinkOnly)
{
    for (const char* text : { "see file:///tmp/x now", "see http://store.example now" }) {
        SCOPED_TRACE(text);
        CGridURLCell* cell = Drawn(text);
        ASSERT_NE(cell, nullptr);
        CRect rect;
        ASSERT_TRUE(grid.GetCellRect(2, 2, rect));
        const auto cursorAt = [&](int index) {
            CPoint point = rect.TopLeft() + Over(cell, index);
            grid.ClientToScreen(&point);
            SetCursorPos(point.x, point.y);
            EXPECT_TRUE(cell->OnSetCursor());
            return GetStandardCursorId(GetCursor());
        };
        EXPECT_EQ(cursorAt(8), IDC_HAND);
        EXPECT_EQ(cursorAt(1), IDC_ARROW);
    }
}

} // namespace
