// Client DCs, mouse tracking, window regions, tooltips and shell records.

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/rgn.h"
#include "platform/wnd/controls/tooltip.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/mouse_track.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/window_region.h"
#include "platform/wnd/desktop/shell_services.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

class CColourWnd : public CWnd {
public:
    COLORREF m_color = RGB(0, 0, 200);
    int m_leaves = 0;
    int m_hovers = 0;
    int m_moves = 0;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnWm<WM_PAINT, &CColourWnd::OnPaint>(),
                OnMessage<&CColourWnd::OnLeave>(WM_MOUSELEAVE),
                OnMessage<&CColourWnd::OnHover>(WM_MOUSEHOVER),
                OnMessage<&CColourWnd::OnMove>(WM_MOUSEMOVE),
            });
        return &kMap;
    }
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, m_color);
    }
    LRESULT OnLeave(WPARAM, LPARAM)
    {
        ++m_leaves;
        return 0;
    }
    LRESULT OnHover(WPARAM, LPARAM)
    {
        ++m_hovers;
        return 0;
    }
    LRESULT OnMove(WPARAM, LPARAM)
    {
        ++m_moves;
        return 0;
    }
};

COLORREF PixelOf(CWnd& window, int x, int y)
{
    return Snapshot(window).At(x, y);
}

class WindowServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            top.CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, CRect(20, 20, 320, 220), nullptr, 0));
        ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(50, 50, 150, 120), &top, 7));
        child.m_color = RGB(200, 0, 0);
    }
    void TearDown() override { top.DestroyWindow(); }
    CColourWnd top;
    CColourWnd child;
};

TEST_F(WindowServicesTest, DrawingOutsidePaintStaysUntilInvalidated)
{
    EXPECT_EQ(PixelOf(child, 5, 5), RGB(200, 0, 0));
    {
        CClientDC dc(&child);
        // The DC shows what the window shows.
        EXPECT_EQ(dc.GetPixel(5, 5), RGB(200, 0, 0));
        dc.FillSolidRect(0, 0, 10, 10, RGB(0, 160, 0));
    }
    EXPECT_EQ(PixelOf(child, 5, 5), RGB(0, 160, 0));
    EXPECT_EQ(PixelOf(child, 50, 50), RGB(200, 0, 0));
    child.Invalidate();
    EXPECT_EQ(PixelOf(child, 5, 5), RGB(200, 0, 0));
}

TEST_F(WindowServicesTest, HandleFormsOfTheClientDC)
{
    HDC dc = GetDC(top.GetSafeHwnd());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(CDC::FromHandle(dc)->GetPixel(5, 5), RGB(0, 0, 200));
    EXPECT_EQ(ReleaseDC(child.GetSafeHwnd(), dc), 0);
    EXPECT_EQ(ReleaseDC(top.GetSafeHwnd(), dc), 1);
}

TEST_F(WindowServicesTest, LeaveIsPostedWhenThePointerMovesToAnotherWindow)
{
    AfxSimulateMouse(child.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
    TRACKMOUSEEVENT request;
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = child.GetSafeHwnd();
    ASSERT_TRUE(TrackMouseEvent(&request));
    TRACKMOUSEEVENT query;
    query.dwFlags = TME_QUERY;
    query.hwndTrack = child.GetSafeHwnd();
    TrackMouseEvent(&query);
    EXPECT_EQ(query.dwFlags, TME_LEAVE);
    // Moves over the window itself keep the request and still reach it.
    AfxSimulateMouse(child.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(6, 6), 0);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(child.m_leaves, 0);
    EXPECT_EQ(child.m_moves, 2);
    AfxSimulateMouse(top.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
    EXPECT_TRUE(PumpUntil([&] { return child.m_leaves == 1; }));
    // Posted once only.
    AfxSimulateMouse(top.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(6, 6), 0);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(child.m_leaves, 1);
}

TEST_F(WindowServicesTest, HoverAfterTheHoverTimeAndCancel)
{
    TRACKMOUSEEVENT request;
    request.dwFlags = TME_HOVER;
    request.hwndTrack = child.GetSafeHwnd();
    request.dwHoverTime = 5;
    ASSERT_TRUE(TrackMouseEvent(&request));
    EXPECT_TRUE(PumpUntil([&] { return child.m_hovers == 1; }));
    request.dwHoverTime = 30;
    TrackMouseEvent(&request);
    request.dwFlags = TME_HOVER | TME_CANCEL;
    TrackMouseEvent(&request);
    PumpFor(std::chrono::milliseconds(80));
    EXPECT_EQ(child.m_hovers, 1);
    TRACKMOUSEEVENT bad;
    bad.dwFlags = TME_LEAVE;
    EXPECT_FALSE(TrackMouseEvent(&bad));
}

TEST_F(WindowServicesTest, WindowFromPointFindsTheDeepestWindow)
{
    CRect rect;
    child.GetWindowRect(&rect);
    EXPECT_EQ(WindowFromPoint(CPoint(rect.left + 3, rect.top + 3)), child.GetSafeHwnd());
    top.GetWindowRect(&rect);
    EXPECT_EQ(WindowFromPoint(CPoint(rect.left + 3, rect.top + 3)), top.GetSafeHwnd());
    EXPECT_EQ(WindowFromPoint(CPoint(-500, -500)), nullptr);
}

TEST_F(WindowServicesTest, WindowRegionRoundTrip)
{
    CRgn shape;
    shape.CreateRectRgn(0, 0, 40, 30);
    EXPECT_EQ(SetWindowRgn(child.GetSafeHwnd(), static_cast<HRGN>(shape.GetSafeHandle()), TRUE), 1);
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(child.GetSafeHwnd(), static_cast<HRGN>(copy.GetSafeHandle())), SIMPLEREGION);
    EXPECT_TRUE(copy.EqualRgn(&shape));
    EXPECT_EQ(SetWindowRgn(child.GetSafeHwnd(), nullptr, FALSE), 1);
    EXPECT_EQ(GetWindowRgn(child.GetSafeHwnd(), static_cast<HRGN>(copy.GetSafeHandle())), ERROR);
    EXPECT_EQ(SetWindowRgn(nullptr, nullptr, FALSE), 0);
}

TEST_F(WindowServicesTest, TooltipShowsTheToolUnderTheMouse)
{
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&top));
    const CRect left(0, 0, 50, 50);
    ASSERT_TRUE(tip.AddTool(&child, "왼쪽", &left, 1));
    ASSERT_TRUE(tip.AddTool(&child, "전체", nullptr, 2));
    EXPECT_EQ(tip.SendMessage(TTM_GETTOOLCOUNT), 2);
    MSG msg;
    msg.hwnd = child.GetSafeHwnd();
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(10, 10);
    tip.RelayEvent(&msg);
    EXPECT_EQ(tip.GetShownText(), "왼쪽");
    msg.lParam = MAKELPARAM(80, 10);
    tip.RelayEvent(&msg);
    EXPECT_EQ(tip.GetShownText(), "전체");
    tip.SendMessage(TTM_POP);
    EXPECT_TRUE(tip.GetShownText().IsEmpty());
    tip.Activate(FALSE);
    tip.RelayEvent(&msg);
    EXPECT_TRUE(tip.GetShownText().IsEmpty());
    EXPECT_EQ(tip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 300), -1);
    EXPECT_EQ(tip.GetMaxTipWidth(), 300);
    tip.DestroyWindow();
}

TEST(ShellServices, RequestsAreRecorded)
{
    AfxClearShellRecords();
    EXPECT_TRUE(PlaySound(reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(42)), nullptr, SND_RESOURCE));
    SHELLEXECUTEINFO info;
    EXPECT_FALSE(ShellExecuteEx(&info));
    info.lpFile = "http://example.invalid/";
    info.lpVerb = "open";
    EXPECT_TRUE(ShellExecuteEx(&info));
    const std::vector<ShellRecord> records = AfxGetShellRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "42");
    EXPECT_EQ(records[1].name, "http://example.invalid/");
    AfxClearShellRecords();
}

} // namespace

// Windows made before their top-level window is shown appear once it is: a
// grandchild inside its parent, and of two overlapping siblings the first
// made stays on top, as controls of a template do.
TEST(WindowTree, ChildrenMadeBeforeShowingAppearInCreationOrder)
{
    CColourWnd top;
    CColourWnd first;
    CColourWnd inner;
    CColourWnd second;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "tree", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    top.m_color = RGB(255, 255, 255);
    ASSERT_TRUE(first.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 90), &top, 1));
    first.m_color = RGB(0, 0, 200);
    ASSERT_TRUE(inner.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 30), &first, 2));
    inner.m_color = RGB(200, 0, 0);
    ASSERT_TRUE(second.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(60, 20, 160, 80), &top, 3));
    second.m_color = RGB(0, 200, 0);
    // Reaching the grandchild's widget first makes its parents' too.
    ASSERT_EQ(SetWindowRgn(inner.GetSafeHwnd(), nullptr, FALSE), 1);
    top.ShowWindow(SW_SHOWNA);

    Snapshot shot(top, Snapshot::Scope::WithChildren);
    ASSERT_TRUE(shot.Ok());
    EXPECT_EQ(shot.At(25, 25), RGB(200, 0, 0)); // the grandchild inside its parent
    EXPECT_EQ(shot.At(50, 50), RGB(0, 0, 200));
    EXPECT_EQ(shot.At(100, 50), RGB(0, 0, 200)); // the first sibling over the second
    EXPECT_EQ(shot.At(140, 50), RGB(0, 200, 0));
    EXPECT_EQ(shot.At(180, 50), RGB(255, 255, 255));

    // A window made while its parent shows goes beneath its siblings too;
    // raising it puts it on top.
    CColourWnd late;
    ASSERT_TRUE(late.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &top, 4));
    late.m_color = RGB(255, 0, 255);
    Snapshot beneath(top, Snapshot::Scope::WithChildren);
    EXPECT_EQ(beneath.At(50, 50), RGB(0, 0, 200));
    EXPECT_EQ(beneath.At(180, 50), RGB(255, 0, 255));
    late.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Snapshot raised(top, Snapshot::Scope::WithChildren);
    EXPECT_EQ(raised.At(50, 50), RGB(255, 0, 255));
    top.DestroyWindow();
}
