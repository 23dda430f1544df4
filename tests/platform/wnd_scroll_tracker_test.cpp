// The scroll view, the left dialog bar, the integer-range check and the
// rectangle tracker.

#include <gtest/gtest.h>

#include "platform/base/resource_script.h"
#include "platform/wnd/controls/rect_tracker.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/dialogs/ddv.h"
#include "platform/wnd/docview/dialogbar.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/scrollview.h"
#include "tests/support/input_feeder.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

class Surface : public CWnd {
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(
            CWnd::GetMessageMap(), { OnWm<WM_LBUTTONDOWN, &Surface::OnLButtonDown>() });
        return &kMap;
    }
    void OnLButtonDown(UINT, CPoint point)
    {
        result = rubberBand ? tracker.TrackRubberBand(this, point) : tracker.Track(this, point);
        ++tracks;
    }
    CRectTracker tracker { CRect(50, 50, 150, 100), CRectTracker::solidLine | CRectTracker::resizeOutside };
    bool rubberBand = false;
    BOOL result = FALSE;
    int tracks = 0;
};

class TrackerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_surface.CreateEx(0, nullptr, "surface", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0));
        ASSERT_TRUE(m_feeder.Create());
    }
    void TearDown() override
    {
        m_surface.DestroyWindow();
        m_feeder.DestroyWindow();
    }
    // Feeds events to the surface.
    void Feed(std::deque<InputFeeder::Event> events)
    {
        ASSERT_TRUE(m_feeder.Run(m_surface.GetSafeHwnd(), events));
    }
    static InputFeeder::Event Mouse(UINT message, CPoint point, UINT keys = MK_LBUTTON)
    {
        return { message, point, keys };
    }
    Surface m_surface;
    InputFeeder m_feeder;
};

} // namespace

TEST_F(TrackerTest, HitTestFindsHandlesInteriorAndNothing)
{
    const CRectTracker& tracker = m_surface.tracker;
    EXPECT_EQ(tracker.HitTest(CPoint(100, 75)), CRectTracker::hitMiddle);
    EXPECT_EQ(tracker.HitTest(CPoint(46, 46)), CRectTracker::hitTopLeft);
    EXPECT_EQ(tracker.HitTest(CPoint(153, 103)), CRectTracker::hitBottomRight);
    EXPECT_EQ(tracker.HitTest(CPoint(100, 46)), CRectTracker::hitTop);
    EXPECT_EQ(tracker.HitTest(CPoint(10, 10)), CRectTracker::hitNothing);
    EXPECT_EQ(tracker.HitTest(CPoint(47, 75)), CRectTracker::hitLeft);
    EXPECT_EQ(tracker.HitTest(CPoint(153, 75)), CRectTracker::hitRight);
    // A handle of a rectangle turned over is the one it looks like.
    const CRect turned[] = { { 150, 50, 50, 100 }, { 50, 100, 150, 50 }, { 150, 100, 50, 50 } };
    const int expected[3][8]
        = { { 1, 0, 3, 2, 4, 7, 6, 5 }, { 3, 2, 1, 0, 6, 5, 4, 7 }, { 2, 3, 0, 1, 6, 7, 4, 5 } };
    for (int t = 0; t < 3; ++t) {
        const CRectTracker inverted(&turned[t], CRectTracker::resizeInside);
        for (int handle = 0; handle < 8; ++handle)
            EXPECT_EQ(inverted.NormalizeHit(handle), expected[t][handle]) << t << " " << handle;
        EXPECT_EQ(inverted.NormalizeHit(CRectTracker::hitMiddle), CRectTracker::hitMiddle);
    }
    // The cursor follows the part under the pointer.
    CPoint screen(60, 60);
    m_surface.ClientToScreen(&screen);
    SetCursorPos(screen.x, screen.y);
    EXPECT_TRUE(tracker.SetCursor(&m_surface, HTCLIENT));
    EXPECT_EQ(GetStandardCursorId(GetCursor()), IDC_SIZEALL);
    EXPECT_FALSE(tracker.SetCursor(&m_surface, HTCAPTION));
}

TEST_F(TrackerTest, DragMovesTheRectangleUntilTheButtonGoesUp)
{
    Feed({ Mouse(WM_LBUTTONDOWN, { 100, 75 }), Mouse(WM_MOUSEMOVE, { 110, 80 }),
        Mouse(WM_MOUSEMOVE, { 130, 95 }), Mouse(WM_LBUTTONUP, { 130, 95 }, 0) });
    ASSERT_EQ(m_surface.tracks, 1);
    EXPECT_TRUE(m_surface.result);
    EXPECT_EQ(m_surface.tracker.m_rect, CRect(80, 70, 180, 120));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    // A resize from the bottom-right handle moves only that corner.
    Feed({ Mouse(WM_LBUTTONDOWN, { 183, 123 }), Mouse(WM_MOUSEMOVE, { 193, 133 }),
        Mouse(WM_LBUTTONUP, { 193, 133 }, 0) });
    EXPECT_EQ(m_surface.tracker.m_rect, CRect(80, 70, 190, 130));
}

TEST_F(TrackerTest, EscapeOrAClickWithoutMovingChangesNothing)
{
    Feed({ Mouse(WM_LBUTTONDOWN, { 100, 75 }), Mouse(WM_MOUSEMOVE, { 140, 90 }),
        { WM_KEYDOWN, CPoint(VK_ESCAPE, 0), 0 } });
    PumpUntil([this] { return m_surface.tracks == 1; });
    EXPECT_FALSE(m_surface.result);
    EXPECT_EQ(m_surface.tracker.m_rect, CRect(50, 50, 150, 100));
    Feed({ Mouse(WM_LBUTTONDOWN, { 100, 75 }), Mouse(WM_LBUTTONUP, { 100, 75 }, 0) });
    EXPECT_FALSE(m_surface.result);
    EXPECT_EQ(m_surface.tracker.m_rect, CRect(50, 50, 150, 100));
}

TEST_F(TrackerTest, RubberBandIsNormalized)
{
    m_surface.rubberBand = true;
    Feed({ Mouse(WM_LBUTTONDOWN, { 200, 150 }), Mouse(WM_MOUSEMOVE, { 20, 30 }),
        Mouse(WM_LBUTTONUP, { 20, 30 }, 0) });
    EXPECT_TRUE(m_surface.result);
    EXPECT_EQ(m_surface.tracker.m_rect, CRect(20, 30, 200, 150));
}

TEST(RectTrackerDraw, SolidFrameAndHandles)
{
    Canvas canvas(120, 80);
    CRectTracker tracker(CRect(20, 20, 100, 60), CRectTracker::solidLine | CRectTracker::resizeOutside);
    tracker.Draw(&canvas.Dc());
    // The frame runs along the rectangle's edges; handles sit outside its corners.
    EXPECT_EQ(canvas.At(60, 20), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(60, 59), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(60, 40), RGB(255, 255, 255));
    // One pixel wide, on the rectangle's last column.
    EXPECT_EQ(canvas.At(99, 30), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(98, 30), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(100, 30), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(21, 30), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(15, 15), RGB(0, 0, 0));
    CRect trueRect;
    tracker.GetTrueRect(&trueRect);
    EXPECT_EQ(canvas.Ink(RGB(255, 255, 255)), trueRect);
}

namespace {

class ContentView : public CScrollView {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "ContentView", nullptr, CScrollView::GetThisClass() };
        return &kClass;
    }
    void PostNcDestroy() override { }
};

} // namespace

TEST(ScrollView, BarsFollowTheContentAndShiftTheDrawing)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, 0));
    ContentView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 150), &host, 1));
    view.SetScrollSizes(MM_TEXT, CSize(500, 450), CSize(100, 100), CSize(10, 10));
    EXPECT_TRUE(view.GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(view.GetStyle() & WS_HSCROLL);
    view.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    view.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    view.SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(view.GetScrollPosition(), CPoint(10, 110));
    view.SendMessage(WM_VSCROLL, SB_BOTTOM);
    CRect client;
    view.GetClientRect(&client);
    EXPECT_EQ(view.GetScrollPosition().y, 450 - client.Height());
    view.ScrollToPosition(CPoint(0, 20));
    CClientDC dc(&view);
    view.OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, -20));
    // Content that fits needs no bars and shows from its origin.
    view.MoveWindow(0, 0, 600, 500);
    EXPECT_FALSE(view.GetStyle() & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(view.GetScrollPosition(), CPoint(0, 0));
    view.DestroyWindow();
    host.DestroyWindow();
}

TEST(DialogBar, DockedLeftBetweenTheBarsAndShownOrHidden)
{
    std::vector<ResourceScriptError> errors;
    ASSERT_TRUE(AfxAddResourceScript(R"(
DIALOG 9601 0 0 100 200
  CAPTION "Side"
  FONT 8 "MS Sans Serif"
  CONTROL 1000 EDIT "" 4 4 60 12 WS_BORDER
END
)",
        "wnd_scroll_tracker_test", &errors));
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(
        frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, 0));
    CDialogBar bar;
    ASSERT_TRUE(bar.Create(frame, 9601, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 138));
    frame->RecalcLayout();
    EXPECT_NE(bar.GetDlgItem(1000), nullptr);
    CRect rect;
    bar.GetWindowRect(&rect);
    frame->ScreenToClient(&rect);
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.Width(), bar.m_sizeDefault.cx);
    EXPECT_EQ(rect.Height(), client.Height());
    EXPECT_EQ(frame->GetPaneRect().left, bar.m_sizeDefault.cx);
    frame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_EQ(frame->GetPaneRect().left, 0);
    frame->ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_EQ(frame->GetPaneRect().left, bar.m_sizeDefault.cx);
    bar.DestroyWindow();
    frame->DestroyWindow();
}

TEST(DataValidation, IntegerOutsideTheRangeFailsWithTheStandardMessage)
{
    ScopedMessageBoxScript boxes;
    int value = 800;
    EXPECT_FALSE(
        AfxRunDataExchange(nullptr, TRUE, [&](CDataExchange* dx) { DDV_MinMaxInt(dx, value, 1, 700); }));
    ASSERT_EQ(boxes.Records().size(), 1u);
    EXPECT_EQ(boxes.Records()[0].text, "Please enter an integer between 1 and 700.");
    for (int inRange : { 1, 700 }) {
        value = inRange;
        EXPECT_TRUE(
            AfxRunDataExchange(nullptr, TRUE, [&](CDataExchange* dx) { DDV_MinMaxInt(dx, value, 1, 700); }));
    }
    // Filling the controls checks nothing.
    value = 800;
    EXPECT_TRUE(
        AfxRunDataExchange(nullptr, FALSE, [&](CDataExchange* dx) { DDV_MinMaxInt(dx, value, 1, 700); }));
    EXPECT_EQ(boxes.Records().size(), 1u);
}
