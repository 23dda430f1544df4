#include "controls/xp_button.h"
#include "controls_test_util.h"

namespace {

constexpr UINT kButtonId = 2001;
constexpr COLORREF kFocusLeft = RGB(153, 198, 252);
constexpr COLORREF kHoverLeft = RGB(250, 196, 88);

class XPButtonTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent.Show()); }
    void TearDown() override
    {
        if (button.GetSafeHwnd())
            button.DestroyWindow();
        parent.DestroyWindow();
    }
    void Make(LPCTSTR caption, int width = 80, int height = 40)
    {
        ASSERT_TRUE(button.Create(caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
            CRect(20, 20, 20 + width, 20 + height), &parent, kButtonId));
    }
    void HoverOn()
    {
        AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(10, 10), 0);
        ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
    }

    CBackdropWnd parent;
    CXPButton button;
};

TEST(XPButtonGradient, StepStaysInsideTheTableOnShortButtons)
{
    EXPECT_EQ(CXPButton::GradientStep(0, 36), 0);
    EXPECT_EQ(CXPButton::GradientStep(36, 36), 63);
    EXPECT_EQ(CXPButton::GradientStep(37, 36), 63);
    EXPECT_EQ(CXPButton::GradientStep(3, 2), 63);
    EXPECT_EQ(CXPButton::GradientStep(5, 0), 63);
}

TEST(XPButtonGradient, ColoursOfTheFourLooks)
{
    EXPECT_EQ(CXPButton::GradientColor(0, FALSE, FALSE), RGB(255, 255, 255));
    EXPECT_EQ(CXPButton::GradientColor(63, FALSE, FALSE), RGB(255 - 21, 255 - 21, 255 - 12));
    EXPECT_EQ(CXPButton::GradientColor(63, FALSE, TRUE), RGB(255 - 21, 255 - 21, 255 - 15));
    EXPECT_EQ(CXPButton::GradientColor(63, TRUE, FALSE), RGB(255 - 15, 255 - 15, 255 - 12));
    EXPECT_EQ(CXPButton::GradientColor(63, TRUE, TRUE), RGB(255 - 15, 255 - 15, 255 - 21));
}

TEST(XPButtonClass, MadeByItsRunTimeClass)
{
    const CRuntimeClass* record = CXPButton::GetThisClass();
    EXPECT_STREQ(record->m_lpszClassName, "CXPButton");
    EXPECT_TRUE(record->IsDerivedFrom(CButton::GetThisClass()));
    CCmdTarget* object = record->CreateObject();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(CButton::GetThisClass()));
    EXPECT_NE(dynamic_cast<CXPButton*>(object), nullptr);
    delete object;
}

TEST_F(XPButtonTest, RowsFollowTheGradient)
{
    Make("");
    Snapshot look(button);
    ASSERT_TRUE(look.Ok());
    // 80 x 40: rows 2 to 37 inside the 2-pixel edge, h = 36; row y takes step
    // i = y * 63 / 36 (at most 63), RGB(255 - i/3, 255 - i/3, 255 - i/5).
    struct Row {
        int y;
        COLORREF color;
    };
    const Row rows[] = {
        { 2, RGB(254, 254, 255) }, // i 3
        { 10, RGB(250, 250, 252) }, // i 17
        { 20, RGB(244, 244, 248) }, // i 35
        { 30, RGB(238, 238, 245) }, // i 52
        { 36, RGB(234, 234, 243) }, // i 63
        { 37, RGB(234, 234, 243) }, // i 64, the last brush
    };
    for (const Row& row : rows)
        EXPECT_EQ(look.At(40, row.y), row.color) << "row " << row.y;
}

TEST_F(XPButtonTest, FocusIsBlueHoverOrangeAndLeavingRestoresBlue)
{
    Make("");
    button.SetFocus();
    {
        Snapshot look(button);
        EXPECT_EQ(look.At(2, look.Height() / 2), kFocusLeft);
        EXPECT_EQ(look.At(look.Width() / 2, 2), RGB(162, 201, 255));
    }
    HoverOn();
    {
        Snapshot look(button);
        EXPECT_EQ(look.At(2, look.Height() / 2), kHoverLeft);
        EXPECT_EQ(look.At(look.Width() / 2, 2), RGB(252, 210, 121));
    }
    AfxSimulateMouse(parent.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(2, 2), 0);
    ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() == FALSE; }));
    Snapshot look(button);
    EXPECT_EQ(look.At(2, look.Height() / 2), kFocusLeft);
}

TEST_F(XPButtonTest, HoverWithoutFocusShowsTheOrangeFrame)
{
    Make("");
    HoverOn();
    Snapshot look(button);
    EXPECT_EQ(look.At(2, look.Height() / 2), kHoverLeft);
    // Row 20, i = 35, hovered: RGB(255 - i/4, 255 - i/4, 255 - i/5).
    EXPECT_EQ(look.At(40, 20), RGB(247, 247, 248));
}

TEST_F(XPButtonTest, PressedCaptionMovesByOnePixel)
{
    Make("Send", 100, 40);
    const CRect inside(6, 6, 94, 34);
    CRect normal;
    {
        Snapshot look(button);
        normal = look.InkOf(RGB(0, 0, 0), inside);
    }
    button.SetState(TRUE);
    Snapshot look(button);
    const CRect pressed = look.InkOf(RGB(0, 0, 0), inside);
    ASSERT_FALSE(normal.IsRectEmpty());
    EXPECT_EQ(pressed.left, normal.left + 1);
    EXPECT_EQ(pressed.top, normal.top + 1);
}

TEST_F(XPButtonTest, ClickReachesTheParent)
{
    Make("Go");
    Click(button.GetSafeHwnd(), CPoint(10, 10));
    EXPECT_EQ(parent.Count(kButtonId, BN_CLICKED), 1);
}

} // namespace
