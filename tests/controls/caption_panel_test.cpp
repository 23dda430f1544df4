#include <string>

#include "controls/caption_panel.h"
#include "controls_test_util.h"

namespace {

constexpr COLORREF kFace = RGB(192, 198, 216);

class CaptionPanelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent.Show()); }
    void TearDown() override
    {
        if (panel.GetSafeHwnd())
            panel.DestroyWindow();
        parent.DestroyWindow();
    }
    void Make(DWORD extra, int width = 200, int height = 18)
    {
        ASSERT_TRUE(panel.Create(
            nullptr, nullptr, WS_CHILD | WS_VISIBLE | extra, CRect(0, 0, width, height), &parent, 3001));
    }
    CBackdropWnd parent;
    CCaptionPanel panel;
};

TEST_F(CaptionPanelTest, CaptionIsOneLineInsideTheMargins)
{
    Make(0);
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "Caption ";
    panel.SetCaption(longText.c_str());
    Snapshot look(panel);
    const CRect ink = look.Ink(kFace, CRect(1, 1, 199, 17));
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 200 - 10);
    EXPECT_GT(ink.right, 150); // cut at the margin, not before
    // Text in the window colour (black).
    EXPECT_GT(look.Count(GetSysColor(COLOR_WINDOWTEXT), CRect(1, 1, 199, 17)), 20);
}

TEST_F(CaptionPanelTest, CaptionAndTipAreSeparate)
{
    Make(CCaptionPanel::kTooltipStyle);
    CToolTipCtrl* tip = panel.GetToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetToolCount(), 1);
    EXPECT_EQ(tip->GetMaxTipWidth(), 32767);
    EXPECT_TRUE(tip->IsActive());
    CString text;
    tip->GetText(text, &panel);
    EXPECT_EQ(text, "ToolTip");

    panel.SetCaption("상품 관리");
    panel.SetTipText("상품 정보를 고칩니다");
    EXPECT_EQ(panel.GetCaption(), "상품 관리");
    EXPECT_EQ(panel.GetTipText(), "상품 정보를 고칩니다");
    // A mouse move brings the tip text into the tooltip.
    MSG msg;
    msg.hwnd = panel.GetSafeHwnd();
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(20, 5);
    panel.PreTranslateMessage(&msg);
    tip->GetText(text, &panel);
    EXPECT_EQ(text, "상품 정보를 고칩니다");
    EXPECT_EQ(tip->GetShownText(), "상품 정보를 고칩니다");
    msg.message = WM_LBUTTONDOWN;
    panel.PreTranslateMessage(&msg);
    EXPECT_TRUE(tip->GetShownText().IsEmpty());
}

TEST_F(CaptionPanelTest, WithoutTheStyleBitThereIsNoTooltip)
{
    Make(0);
    EXPECT_EQ(panel.GetToolTip(), nullptr);
    MSG msg;
    msg.hwnd = panel.GetSafeHwnd();
    msg.message = WM_MOUSEMOVE;
    EXPECT_FALSE(panel.PreTranslateMessage(&msg));
}

} // namespace
