#include "controls/status_lamp.h"
#include "controls_test_util.h"
#include "platform/wnd/controls/button.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Counts the flash timer's deliveries.
class CCountingLamp : public CStatusLamp {
public:
    int m_restored = 0;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CStatusLamp::GetMessageMap(),
            {
                OnWm<WM_TIMER, &CCountingLamp::OnCountedTimer>(),
            });
        return &kMap;
    }
    void OnCountedTimer(UINT_PTR id)
    {
        if (id == kFlashTimer && IsFlashing())
            ++m_restored;
        OnTimer(id);
    }
};

class StatusLampTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Show());
        ASSERT_TRUE(lamp.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 50), &parent, 4001));
        ASSERT_TRUE(source.LoadBitmap(146));
        sourceDc.CreateCompatibleDC(nullptr);
        oldSource = sourceDc.SelectObject(&source);
    }
    void TearDown() override
    {
        sourceDc.SelectObject(oldSource);
        lamp.DestroyWindow();
        parent.DestroyWindow();
    }
    // The 40 x 40 lamp shows cell (column, y) at (4, 4), magenta as the backdrop.
    void ExpectCell(int column, int y)
    {
        Snapshot look(lamp);
        ASSERT_TRUE(look.Ok());
        int lampPixels = 0;
        for (int dy = 0; dy < 32; ++dy) {
            for (int dx = 0; dx < 32; ++dx) {
                const COLORREF pixel = sourceDc.GetPixel(column * 32 + dx, y + dy);
                const COLORREF expected = pixel == kMagenta ? kBackdrop : pixel;
                lampPixels += pixel != kMagenta;
                ASSERT_EQ(look.At(4 + dx, 4 + dy), expected) << dx << "," << dy;
            }
        }
        EXPECT_GT(lampPixels, 100);
    }

    CBackdropWnd parent;
    CCountingLamp lamp;
    CBitmap source;
    CDC sourceDc;
    CBitmap* oldSource = nullptr;
};

TEST_F(StatusLampTest, RestingCellWithMagentaShownAsBackground)
{
    lamp.SetImage(64, CStatusLamp::kRestColumn, 0);
    ExpectCell(CStatusLamp::kRestColumn, 64);
}

TEST_F(StatusLampTest, FlashLightsTheLampAndRestoresItOnce)
{
    lamp.SetImage(32, CStatusLamp::kRestColumn, 0);
    lamp.Flash(15);
    lamp.Flash(15);
    EXPECT_TRUE(lamp.IsFlashing());
    EXPECT_EQ(lamp.GetColumn(), CStatusLamp::kLitColumn);
    ExpectCell(CStatusLamp::kLitColumn, 32);
    ASSERT_TRUE(PumpUntil([&] { return !lamp.IsFlashing(); }));
    EXPECT_EQ(lamp.GetColumn(), CStatusLamp::kRestColumn);
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(lamp.m_restored, 1);
    ExpectCell(CStatusLamp::kRestColumn, 32);
}

TEST_F(StatusLampTest, OffsetIsAddedToTheRow)
{
    lamp.SetImage(32, CStatusLamp::kLitColumn, 64);
    EXPECT_EQ(lamp.GetSourceRow(), 32);
    ExpectCell(CStatusLamp::kLitColumn, 96);
}

TEST_F(StatusLampTest, AFrameBeneathTheLampOutsideItsCellStaysWhole)
{
    // A group box whose right edge runs through the lamp's margin (10-13).
    CButton frame;
    ASSERT_TRUE(frame.Create("", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(0, 0, 13, 100), &parent, 4002));
    lamp.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    lamp.SetImage(64, CStatusLamp::kRestColumn, 0);
    Snapshot look(parent, Snapshot::Scope::WithChildren);
    ASSERT_TRUE(look.Ok());
    for (int x = 10; x < 13; ++x)
        EXPECT_EQ(look.At(x, 30), look.At(x, 70)) << x; // beside the lamp as below it
    ASSERT_NE(look.At(11, 70), kBackdrop);
    frame.DestroyWindow();
}

TEST_F(StatusLampTest, EraseIsSkipped)
{
    EXPECT_EQ(lamp.SendMessage(WM_ERASEBKGND), TRUE);
}

} // namespace
