// Dragging by the caption: WM_NCLBUTTONDOWN with HTCAPTION moves the top-level
// window with the mouse until the left button goes up.

#include <gtest/gtest.h>

#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/ui_pump.h"

namespace {

// Asks for a caption drag on every left button press, as a window dragged by
// its client area does; counts the input that still reaches it.
class CDraggedWnd : public CWnd {
public:
    int m_buttonUps = 0;
    int m_moves = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN) {
            CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            ClientToScreen(&point);
            PostMessage(WM_NCLBUTTONDOWN, HTCAPTION,
                MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        }
        m_buttonUps += message == WM_LBUTTONUP;
        m_moves += message == WM_MOVE;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct DragScene {
    CDraggedWnd top;
    CDraggedWnd child;
    DragScene()
    {
        EXPECT_TRUE(top.CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, 0));
        EXPECT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(20, 20, 120, 90), &top, 11));
    }
    ~DragScene() { top.DestroyWindow(); }

    CPoint TopLeft() const
    {
        CRect rect;
        top.GetWindowRect(&rect);
        return rect.TopLeft();
    }
};

// Mouse input to window at a screen point (converted with the window's
// position at the time of the call).
BOOL MouseAt(CWnd& window, UINT message, CPoint screen, UINT keyState)
{
    window.ScreenToClient(&screen);
    return AfxSimulateMouse(window.GetSafeHwnd(), message, POINT { screen.x, screen.y }, keyState);
}

// Presses at client point of window and waits until the drag has begun.
CPoint PressAndStartDrag(CWnd& window, CPoint client)
{
    EXPECT_TRUE(
        AfxSimulateMouse(window.GetSafeHwnd(), WM_LBUTTONDOWN, POINT { client.x, client.y }, MK_LBUTTON));
    EXPECT_TRUE(PumpUntil([&] { return CWnd::GetCapture() != nullptr; }));
    window.ClientToScreen(&client);
    return client;
}

TEST(CaptionDrag, WindowFollowsTheMouseUntilTheButtonGoesUp)
{
    DragScene scene;
    const CPoint origin = scene.TopLeft();
    const CPoint start = PressAndStartDrag(scene.top, CPoint(10, 10));
    EXPECT_EQ(CWnd::GetCapture(), &scene.top);

    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, start + CPoint(25, 15), MK_LBUTTON));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(25, 15));
    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, start + CPoint(40, -20), MK_LBUTTON));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(40, -20));
    ASSERT_TRUE(MouseAt(scene.top, WM_LBUTTONUP, start + CPoint(43, -18), 0));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(43, -18));
    EXPECT_GE(scene.top.m_moves, 3);
    // The move took the button-up and gave the capture back.
    EXPECT_EQ(scene.top.m_buttonUps, 0);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // After the drag the mouse no longer moves the window.
    const CPoint settled = scene.TopLeft();
    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, start + CPoint(90, 90), 0));
    EXPECT_EQ(scene.TopLeft(), settled);
}

TEST(CaptionDrag, DragInAChildMovesTheTopLevelWindow)
{
    DragScene scene;
    const CPoint origin = scene.TopLeft();
    CRect childRect;
    scene.child.GetWindowRect(&childRect);
    const CPoint start = PressAndStartDrag(scene.child, CPoint(5, 5));
    ASSERT_TRUE(MouseAt(scene.child, WM_LBUTTONUP, start + CPoint(-30, 12), 0));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(-30, 12));
    CRect movedChild;
    scene.child.GetWindowRect(&movedChild);
    EXPECT_EQ(movedChild.TopLeft(), childRect.TopLeft() + CPoint(-30, 12));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(CaptionDrag, ButtonFoundUpEndsTheDrag)
{
    // The button went up where the program did not see it: the next move
    // without the button ends the drag there.
    DragScene scene;
    const CPoint origin = scene.TopLeft();
    const CPoint start = PressAndStartDrag(scene.top, CPoint(30, 30));
    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, start + CPoint(8, 6), 0));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(8, 6));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, start + CPoint(50, 50), 0));
    EXPECT_EQ(scene.TopLeft(), origin + CPoint(8, 6));
}

TEST(CaptionDrag, OtherHitCodesMoveNothing)
{
    DragScene scene;
    const CPoint origin = scene.TopLeft();
    scene.top.SendMessage(WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(110, 90));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    ASSERT_TRUE(MouseAt(scene.top, WM_MOUSEMOVE, origin + CPoint(60, 60), MK_LBUTTON));
    EXPECT_EQ(scene.TopLeft(), origin);
}

TEST(CaptionDrag, DestroyingTheWindowEndsTheDrag)
{
    CPoint start;
    {
        DragScene scene;
        start = PressAndStartDrag(scene.top, CPoint(10, 10));
    }
    // Input after the window is gone is left alone.
    DragScene other;
    const CPoint origin = other.TopLeft();
    ASSERT_TRUE(MouseAt(other.top, WM_MOUSEMOVE, start + CPoint(5, 5), MK_LBUTTON));
    EXPECT_EQ(other.TopLeft(), origin);
}

} // namespace
