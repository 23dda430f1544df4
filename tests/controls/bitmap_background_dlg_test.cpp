#include "controls/bitmap_background_dlg.h"
#include "controls_test_util.h"
#include "platform/gdi/rgn.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/window_region.h"

namespace {

constexpr COLORREF kLeft = RGB(220, 0, 0);
constexpr COLORREF kRight = RGB(0, 0, 220);
constexpr COLORREF kHole = RGB(255, 0, 255);

// A colour bitmap, left half kLeft, right half kRight; the caller owns it.
HBITMAP MakeBitmap(int width, int height)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
    HGDIOBJ old = dc.SelectObject(bitmap);
    dc.FillSolidRect(0, 0, width / 2, height, kLeft);
    dc.FillSolidRect(width / 2, 0, width - width / 2, height, kRight);
    dc.SelectObject(old);
    return bitmap;
}

void Punch(HBITMAP bitmap, int x, int y)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(bitmap);
    dc.SetPixel(x, y, kHole);
    dc.SelectObject(old);
}

class CDragDlg : public CBitmapBackgroundDlg {
public:
    int m_dragRequests = 0;
    CPoint m_dragPoint;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CBitmapBackgroundDlg::GetMessageMap(),
            {
                OnMessage<&CDragDlg::OnNcLButtonDown>(WM_NCLBUTTONDOWN),
            });
        return &kMap;
    }
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
    {
        m_dragRequests += wParam == HTCAPTION;
        m_dragPoint = CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
};

// Creates dialog as a shown 100 x 60 popup at (60, 60).
bool CreateShownDialog(CBitmapBackgroundDlg& dialog)
{
    DialogTemplate dialogTemplate;
    dialogTemplate.cx = 80;
    dialogTemplate.cy = 40;
    dialogTemplate.style = WS_POPUP | WS_VISIBLE;
    if (!dialog.CreateIndirect(dialogTemplate, nullptr))
        return false;
    dialog.MoveWindow(60, 60, 100, 60);
    return true;
}

class BackgroundDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateShownDialog(dialog)); }
    void TearDown() override { dialog.DestroyWindow(); }
    CDragDlg dialog;
};

TEST(BackgroundRegion, FullRectangleWhenNoPixelHasTheColour)
{
    HBITMAP bitmap = MakeBitmap(10, 6);
    CRgn region;
    region.Attach(CBitmapBackgroundDlg::BuildRegion(bitmap, RGB(0, 255, 0)));
    CRect box;
    EXPECT_EQ(region.GetRgnBox(&box), SIMPLEREGION);
    // All ten columns: the width is not rounded down to a multiple of 4.
    EXPECT_EQ(box, CRect(0, 0, 10, 6));
    EXPECT_TRUE(region.PtInRegion(9, 5));
    DeleteObject(bitmap);
}

TEST(BackgroundRegion, TransparentPixelsAreLeftOut)
{
    HBITMAP bitmap = MakeBitmap(10, 6);
    Punch(bitmap, 3, 2);
    Punch(bitmap, 9, 4);
    Punch(bitmap, 8, 4);
    CRgn region;
    region.Attach(CBitmapBackgroundDlg::BuildRegion(bitmap, kHole));
    EXPECT_FALSE(region.PtInRegion(3, 2));
    EXPECT_FALSE(region.PtInRegion(8, 4));
    EXPECT_FALSE(region.PtInRegion(9, 4));
    EXPECT_TRUE(region.PtInRegion(4, 2));
    EXPECT_TRUE(region.PtInRegion(7, 4));
    EXPECT_TRUE(region.PtInRegion(9, 5));
    DeleteObject(bitmap);
}

TEST_F(BackgroundDialogTest, DrawModeOutOfRangeChangesNothing)
{
    EXPECT_EQ(dialog.SetDrawMode(CBitmapBackgroundDlg::kTopLeft, FALSE), 0u);
    EXPECT_EQ(dialog.SetDrawMode(13, FALSE), 2u);
    EXPECT_EQ(dialog.GetDrawMode(), CBitmapBackgroundDlg::kTopLeft);
    EXPECT_EQ(dialog.SetDrawMode(12, FALSE), 0u);
    EXPECT_EQ(dialog.GetDrawMode(), CBitmapBackgroundDlg::kBottomCenter);
    EXPECT_EQ(dialog.SetDrawMode(0x10D, FALSE), 2u);
}

TEST_F(BackgroundDialogTest, PlacementsOfTheBitmap)
{
    ASSERT_EQ(dialog.SetBackground(MakeBitmap(20, 10)), 0u);
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    struct Pixel {
        int x, y;
        COLORREF color;
    };
    struct Case {
        BYTE mode;
        std::vector<Pixel> pixels;
    } const cases[] = {
        { CBitmapBackgroundDlg::kTopLeft, { { 5, 5, kLeft }, { 15, 5, kRight }, { 25, 5, kWhite } } },
        { CBitmapBackgroundDlg::kTile, { { 25, 5, kLeft }, { 95, 55, kRight } } },
        { CBitmapBackgroundDlg::kCenter, { { 45, 30, kLeft }, { 55, 30, kRight }, { 35, 30, kWhite } } },
        { CBitmapBackgroundDlg::kBottomRight, { { 99, 59, kRight }, { 81, 51, kLeft }, { 79, 51, kWhite } } },
        { CBitmapBackgroundDlg::kStretch, { { 10, 50, kLeft }, { 90, 5, kRight } } },
    };
    for (const Case& c : cases) {
        dialog.SetDrawMode(c.mode, FALSE);
        Snapshot look(dialog);
        ASSERT_TRUE(look.Ok());
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(look.At(p.x, p.y), p.color) << int(c.mode) << " at " << p.x << "," << p.y;
    }
}

TEST_F(BackgroundDialogTest, TransparentColourShapesTheWindow)
{
    HBITMAP bitmap = MakeBitmap(20, 10);
    Punch(bitmap, 0, 0);
    ASSERT_EQ(dialog.SetBackground(bitmap, kHole), 0u);
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dialog.GetSafeHwnd(), static_cast<HRGN>(shape.GetSafeHandle())), ERROR);
    EXPECT_FALSE(shape.PtInRegion(0, 0));
    EXPECT_TRUE(shape.PtInRegion(19, 9));
    // A null bitmap frees the background and the window's region.
    EXPECT_EQ(dialog.SetBackground(nullptr), 0u);
    EXPECT_EQ(GetWindowRgn(dialog.GetSafeHwnd(), static_cast<HRGN>(shape.GetSafeHandle())), ERROR);
    EXPECT_EQ(dialog.GetBackgroundSize(), CSize(0, 0));
}

TEST_F(BackgroundDialogTest, SizeWindowToBackgroundCentres)
{
    dialog.SetBackground(MakeBitmap(30, 20));
    EXPECT_EQ(dialog.SizeWindowToBackground(FALSE), 0u);
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(30, 20));
    EXPECT_EQ(dialog.GetDrawMode(), CBitmapBackgroundDlg::kCenter);
}

TEST_F(BackgroundDialogTest, ClientAreaDragAsksForACaptionDrag)
{
    dialog.SetDragByClientArea(1);
    dialog.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(PumpUntil([&] { return dialog.m_dragRequests == 1; }));
    // The caption drag starts from the click point on the screen.
    CPoint clicked(5, 5);
    dialog.ClientToScreen(&clicked);
    EXPECT_EQ(dialog.m_dragPoint, clicked);
    dialog.SetDragByClientArea(0);
    dialog.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(dialog.m_dragRequests, 1);
}

TEST(BackgroundDialogDrag, DraggingTheClientAreaMovesTheDialog)
{
    CBitmapBackgroundDlg dialog;
    ASSERT_TRUE(CreateShownDialog(dialog));
    dialog.SetDragByClientArea(1);
    const HWND hwnd = dialog.GetSafeHwnd();
    ASSERT_TRUE(AfxSimulateMouse(hwnd, WM_LBUTTONDOWN, POINT { 10, 10 }, MK_LBUTTON));
    ASSERT_TRUE(PumpUntil([&] { return CWnd::GetCapture() == &dialog; }));
    // (10, 10) + (35, 25) in client coordinates: the window has not moved yet.
    ASSERT_TRUE(AfxSimulateMouse(hwnd, WM_MOUSEMOVE, POINT { 45, 35 }, MK_LBUTTON));
    // The window moved by (35, 25): the same screen point is back at (10, 10).
    ASSERT_TRUE(AfxSimulateMouse(hwnd, WM_LBUTTONUP, POINT { 10, 10 }, 0));
    CRect rect;
    dialog.GetWindowRect(&rect);
    EXPECT_EQ(rect.TopLeft(), CPoint(95, 85));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    dialog.DestroyWindow();
}

TEST_F(BackgroundDialogTest, MissingBitmapResourceFreesTheBackground)
{
    HBITMAP bitmap = MakeBitmap(20, 10);
    Punch(bitmap, 0, 0);
    ASSERT_EQ(dialog.SetBackground(bitmap, kHole), 0u);
    dialog.SetDrawMode(CBitmapBackgroundDlg::kTopLeft, FALSE);
    {
        Snapshot look(dialog);
        ASSERT_EQ(look.At(5, 5), kLeft);
    }
    // Passed on as no bitmap: result 0, no background, no window region.
    EXPECT_EQ(dialog.LoadBackground(59998, kHole), 0u);
    EXPECT_EQ(dialog.GetBackgroundSize(), CSize(0, 0));
    EXPECT_EQ(dialog.GetWindowRegion(), nullptr);
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(dialog.GetSafeHwnd(), static_cast<HRGN>(shape.GetSafeHandle())), ERROR);
    Snapshot look(dialog);
    EXPECT_EQ(look.Count(kLeft) + look.Count(kRight), 0);
}

TEST(BackgroundDialogTemplate, NamedTemplateGivesItsNumber)
{
    struct Case {
        const char* name;
        UINT id;
    };
    const Case cases[] = {
        { "#4711", 4711 },
        { "130", 130 },
        { "#", 0 },
        { "", 0 },
        { "Background", 0 },
        { "#12a", 0 },
        { "#70000", 0 },
        { nullptr, 0 },
    };
    CWnd parent;
    for (const Case& c : cases) {
        CBitmapBackgroundDlg dialog(c.name, &parent);
        EXPECT_EQ(dialog.m_nIDTemplate, c.id) << (c.name ? c.name : "null");
        EXPECT_EQ(dialog.m_pParentWnd, &parent);
        EXPECT_EQ(dialog.GetDrawMode(), CBitmapBackgroundDlg::kTile);
        EXPECT_EQ(dialog.GetBackgroundSize(), CSize(0, 0));
    }
    // A name without a template: the dialog cannot be run.
    CBitmapBackgroundDlg missing("Background");
    EXPECT_EQ(missing.DoModal(), -1);
}

} // namespace
