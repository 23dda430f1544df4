// Window scroll bars, cursor, keyboard state, clipboard and drop targets.

#include <gtest/gtest.h>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/datetime_ctrl.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/scrollbar.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/core/window_capture.h"
#include "platform/wnd/desktop/oledata.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

class ServiceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            wnd.CreateEx(0, nullptr, "bars", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    }
    void TearDown() override { wnd.DestroyWindow(); }
    CWnd wnd;
};

TEST_F(ServiceWindowTest, PositionStaysWithinRangeLessPage)
{
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 30;
    si.nPos = 500;
    EXPECT_EQ(SetScrollInfo(wnd.GetSafeHwnd(), SB_VERT, &si), 70);
    EXPECT_EQ(SetScrollPos(wnd.GetSafeHwnd(), SB_VERT, -5), 70);
    EXPECT_EQ(GetScrollPos(wnd.GetSafeHwnd(), SB_VERT), 0);
    SetScrollTrackPos(wnd.GetSafeHwnd(), SB_VERT, 42);
    SCROLLINFO read;
    read.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(wnd.GetSafeHwnd(), SB_VERT, &read));
    EXPECT_EQ(read.nMax, 99);
    EXPECT_EQ(read.nPage, 30u);
    EXPECT_EQ(read.nTrackPos, 42);
    EXPECT_FALSE(GetScrollInfo(wnd.GetSafeHwnd(), SB_CTL, &read));
    EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &read));
}

TEST_F(ServiceWindowTest, ShownBarsLieOutsideTheClientArea)
{
    CRect client;
    ShowScrollBar(wnd.GetSafeHwnd(), SB_VERT, TRUE);
    wnd.GetClientRect(client);
    EXPECT_EQ(client, CRect(0, 0, 200 - kScrollBarSize, 100));
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    ShowScrollBar(wnd.GetSafeHwnd(), SB_BOTH, TRUE);
    wnd.GetClientRect(client);
    EXPECT_EQ(client, CRect(0, 0, 200 - kScrollBarSize, 100 - kScrollBarSize));
    ShowScrollBar(wnd.GetSafeHwnd(), SB_BOTH, FALSE);
    wnd.GetClientRect(client);
    EXPECT_EQ(client, CRect(0, 0, 200, 100));
}

TEST(ScrollBarThumbTest, AThumbOfThirtyThousandRowsIsAsHighAsThePlatformsThumb)
{
    // The track is a checker of two colours; the thumb's rows are one colour
    // across.
    constexpr int kHeight = 300;
    const auto thumbRows = [](Canvas& bar) {
        int rows = 0;
        const int x = 200 - kScrollBarSize / 2;
        for (int y = kScrollBarSize; y < kHeight - kScrollBarSize; ++y)
            rows += bar.At(x, y) == bar.At(x + 1, y);
        return rows;
    };
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(
        0, nullptr, "bars", WS_POPUP | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 200, kHeight), nullptr, 0));
    for (int rows : { 20, 3000, 30000 }) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = rows * 20 - 1; // rows of 20 pixels
        si.nPage = kHeight;
        si.nPos = si.nMax / 2;
        SetScrollInfo(wnd.GetSafeHwnd(), SB_VERT, &si);
        Canvas bar(200, kHeight);
        ASSERT_TRUE(PumpUntil([&] {
            AfxPrintWindowTree(wnd.GetSafeHwnd(), &bar.Dc());
            return thumbRows(bar) > 0;
        }));
        if (rows == 20)
            EXPECT_GT(thumbRows(bar), (kHeight - 2 * kScrollBarSize) / 2);
        else
            EXPECT_EQ(thumbRows(bar), GetSystemMetrics(SM_CYVTHUMB)) << rows;
    }
    wnd.DestroyWindow();
}

TEST(CursorTest, StandardCursorsPositionAndConfinement)
{
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(GetStandardCursorId(arrow), IDC_ARROW);
    EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
    SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
    EXPECT_EQ(SetCursor(arrow), LoadCursor(nullptr, IDC_SIZEWE));
    EXPECT_EQ(GetCursor(), arrow);

    SetCursorPos(12, 34);
    POINT p;
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 34);
    EXPECT_EQ(GetMessagePos(), MAKELONG(12, 34));

    RECT clip { 1, 2, 3, 4 };
    RECT got;
    ClipCursor(&clip);
    ASSERT_TRUE(GetClipCursor(&got));
    EXPECT_EQ(CRect(got), CRect(clip));
    ClipCursor(nullptr);
    EXPECT_FALSE(GetClipCursor(&got));
}

TEST(KeyboardTest, OverridesReportKeysDown)
{
    ClearKeyStateOverrides();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    SetKeyStateOverride(VK_CONTROL, TRUE);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    ClearKeyStateOverrides();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST(SystemParamsTest, MessageFontAndWheelLines)
{
    NONCLIENTMETRICS metrics;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, "Tahoma");
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, -11);
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 3u);
    EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &lines, 0));
}

TEST(ClipboardTest, TextRoundTripKeepsEveryByte)
{
    auto* source = new COleDataSource;
    source->CacheText("가\tb\nc");
    source->SetClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetText(), "가\tb\nc");
}

class RecordingTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD keyState, CPoint) override
    {
        return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override
    {
        return OnDragEnter(wnd, data, keyState, point);
    }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override
    {
        dropped = data->GetText();
        droppedEffect = effect;
        at = point;
        return TRUE;
    }
    CString dropped;
    DROPEFFECT droppedEffect = DROPEFFECT_NONE;
    CPoint at;
};

TEST_F(ServiceWindowTest, DropReachesTheRegisteredTargetOnlyWhileRegistered)
{
    RecordingTarget target;
    EXPECT_EQ(DeliverTextDrop(wnd.GetSafeHwnd(), "x", 0, CPoint(1, 1)), DROPEFFECT_NONE);
    ASSERT_TRUE(target.Register(&wnd));
    EXPECT_FALSE(target.Register(&wnd));
    EXPECT_EQ(DeliverTextDrop(wnd.GetSafeHwnd(), "copy", MK_CONTROL, CPoint(5, 6)), DROPEFFECT_COPY);
    EXPECT_EQ(target.dropped, "copy");
    EXPECT_EQ(target.at, CPoint(5, 6));
    EXPECT_EQ(DeliverTextDrop(wnd.GetSafeHwnd(), "move", 0, CPoint(5, 6)), DROPEFFECT_MOVE);
    EXPECT_EQ(target.droppedEffect, DROPEFFECT_MOVE);
    target.Revoke();
    EXPECT_EQ(DeliverTextDrop(wnd.GetSafeHwnd(), "late", 0, CPoint(5, 6)), DROPEFFECT_NONE);
}

TEST_F(ServiceWindowTest, ComboBoxFindsByPrefixIgnoringCase)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWN | WS_VISIBLE, CRect(0, 0, 80, 20), &wnd, 7));
    for (const char* item : { "Apple", "apricot", "Banana" })
        combo.AddString(item);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.FindString(-1, "AP"), 0);
    EXPECT_EQ(combo.FindString(0, "ap"), 1);
    EXPECT_EQ(combo.FindString(1, "ap"), 0);
    EXPECT_EQ(combo.FindString(-1, "kiwi"), CB_ERR);
    EXPECT_EQ(combo.SelectString(-1, "b"), 2);
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "Banana");
    EXPECT_EQ(combo.SelectString(-1, "kiwi"), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetLBText(5, text), CB_ERR);
    combo.DestroyWindow();
}

TEST_F(ServiceWindowTest, DateTimePickerKeepsItsTimeAndShowsIt)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_VISIBLE, CRect(0, 0, 80, 20), &wnd, 8));
    CTime time;
    EXPECT_EQ(picker.GetTime(time), GDT_NONE);
    picker.SetTime(CTime(2024, 2, 29, 8, 30, 0));
    ASSERT_EQ(picker.GetTime(time), GDT_VALID);
    EXPECT_EQ(time, CTime(2024, 2, 29, 8, 30, 0));
    CString text;
    picker.GetWindowText(text);
    EXPECT_EQ(text, "2024-02-29");
    picker.DestroyWindow();
}

TEST(DragLoopTest, HookReplacesTheLoop)
{
    COleDataSource source;
    source.CacheText("dragged");
    CString seen;
    SetDragLoopHook([&](COleDataSource& s, DROPEFFECT allowed) {
        seen = s.GetText();
        return allowed & DROPEFFECT_MOVE;
    });
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_MOVE);
    EXPECT_EQ(seen, "dragged");
    SetDragLoopHook({});
}

} // namespace
