#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "controls/icon_button.h"
#include "controls_test_util.h"
#include "platform/base/resource_script.h"
#include "platform/gdi/icon.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/mouse_track.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/desktop/shell_services.h"
#include "platform/wnd/dialogs/dialog.h"

namespace {

constexpr UINT kButtonId = 1001;
constexpr int kIconOk = 163;

class IconButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Show());
        AfxClearShellRecords();
    }
    void TearDown() override
    {
        if (button.GetSafeHwnd())
            button.DestroyWindow();
        parent.DestroyWindow();
    }
    // A button at (20, 20) of the parent, made owner-drawn by attachment.
    void Make(DWORD style = 0, LPCTSTR caption = "", int width = 80, int height = 48)
    {
        ASSERT_TRUE(button.Create(caption, WS_CHILD | WS_VISIBLE | style,
            CRect(20, 20, 20 + width, 20 + height), &parent, kButtonId));
    }
    // Moves the pointer onto the button (hover in flat mode).
    void Hover() { AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(10, 10), 0); }

    CBackdropWnd parent;
    CIconButton button;
};

TEST(IconButtonSetters, ResultCodesOfBadArguments)
{
    CIconButton button;
    EXPECT_EQ(button.SetColor(6, RGB(1, 2, 3), FALSE), kIconButtonInvalidIndex);
    EXPECT_EQ(button.SetImageAlign(4, FALSE), kIconButtonInvalidAlign);
    EXPECT_EQ(button.ShiftColor(0, 256, FALSE), kIconButtonBadParam);
    EXPECT_EQ(button.ShiftColor(0, -256, FALSE), kIconButtonBadParam);
    EXPECT_EQ(button.ShiftColor(6, 10, FALSE), kIconButtonInvalidIndex);
    EXPECT_EQ(button.SetPressedStyle(2, FALSE), kIconButtonInvalidPressedStyle);
    COLORREF color = 0;
    EXPECT_EQ(button.GetColor(6, &color), kIconButtonInvalidIndex);
    EXPECT_EQ(button.SetImageAlign(3, FALSE), kIconButtonOk);
    EXPECT_EQ(button.SetPressedStyle(1, FALSE), kIconButtonOk);
}

TEST(IconButtonSetters, ShiftColorKeepsHueWithoutClipping)
{
    CIconButton button;
    COLORREF color = 0;
    ASSERT_EQ(button.SetColor(CIconButton::kColorBkIn, RGB(250, 10, 10), FALSE), kIconButtonOk);
    EXPECT_EQ(button.ShiftColor(CIconButton::kColorBkIn, 20, FALSE), kIconButtonOk);
    button.GetColor(CIconButton::kColorBkIn, &color);
    EXPECT_EQ(color, RGB(255, 15, 15));

    button.SetColor(CIconButton::kColorFgOut, RGB(5, 100, 200), FALSE);
    button.ShiftColor(CIconButton::kColorFgOut, -20, FALSE);
    button.GetColor(CIconButton::kColorFgOut, &color);
    EXPECT_EQ(color, RGB(0, 95, 195));
}

TEST(IconButtonSetters, DefaultColorsAreTheButtonColours)
{
    CIconButton button;
    for (BYTE i = 0; i < CIconButton::kMaxColors; ++i) {
        COLORREF color = 0;
        button.GetColor(i, &color);
        EXPECT_EQ(color, GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT)) << int(i);
    }
}

TEST_F(IconButtonTest, AttachmentMakesItOwnerDrawn)
{
    Make(BS_DEFPUSHBUTTON);
    EXPECT_EQ(button.GetStyle() & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(button.IsDefaultButton());
    EXPECT_FALSE(button.IsCheckBoxMode());
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    EXPECT_FALSE(button.IsDefaultButton());
    EXPECT_EQ(button.GetStyle() & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
}

TEST_F(IconButtonTest, RestingIconIsTheDarkerCopy)
{
    Make();
    ASSERT_EQ(button.LoadIcons(kIconOk, CIconButton::kAutoDarker), kIconButtonOk);
    CIconButton plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, CRect(120, 20, 200, 68), &parent, kButtonId + 1));
    ASSERT_EQ(plain.LoadIcons(kIconOk, CIconButton::kNoOutImage), kIconButtonOk);

    Snapshot rest(button);
    Snapshot original(plain);
    ASSERT_TRUE(rest.Ok() && original.Ok());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int compared = 0;
    int black = 0;
    for (int y = 0; y < rest.Height(); ++y) {
        for (int x = 0; x < rest.Width(); ++x) {
            const COLORREF in = original.At(x, y);
            if (in == face)
                continue;
            ++compared;
            black += in == RGB(0, 0, 0);
            ASSERT_EQ(rest.At(x, y), in == 0 ? 0 : Darker(in)) << x << "," << y;
        }
    }
    EXPECT_GT(compared, 100);
    plain.DestroyWindow();
}

// The looks at rest and hovered are the gallery's.
TEST_F(IconButtonTest, HoverEndsWhenThePointerLeaves)
{
    Make();
    button.LoadIcons(kIconOk, CIconButton::kAutoDarker);
    Hover();
    ASSERT_TRUE(button.IsMouseOver());
    // Moving onto the parent ends the hover through WM_MOUSELEAVE.
    AfxSimulateMouse(parent.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
    EXPECT_TRUE(PumpUntil([&] { return !button.IsMouseOver(); }));
    Snapshot after(button);
    EXPECT_EQ(after.At(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(IconButtonTest, ButtonThatIsNotFlatNeverHovers)
{
    Make();
    button.SetFlat(FALSE);
    Hover();
    EXPECT_FALSE(button.IsMouseOver());
    Snapshot look(button);
    // The classic raised border: highlight top-left, dark shadow bottom-right.
    EXPECT_EQ(look.At(0, 5), GetSysColor(COLOR_BTNHILIGHT));
    EXPECT_EQ(look.At(look.Width() - 1, look.Height() - 1), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(IconButtonTest, DisabledButtonIsEmbossed)
{
    Make(0, "Cancel", 120, 48);
    button.LoadIcons(162, CIconButton::kAutoDarker);
    button.EnableWindow(FALSE);
    Snapshot look(button);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    // The icon (32 x 32 at the left margin, centred vertically) in the two
    // emboss colours only.
    const CRect icon(3, 8, 35, 40);
    for (int y = icon.top; y < icon.bottom; ++y) {
        for (int x = icon.left; x < icon.right; ++x) {
            const COLORREF c = look.At(x, y);
            ASSERT_TRUE(c == face || c == light || c == shadow) << x << "," << y << " " << std::hex << c;
        }
    }
    EXPECT_GT(look.Count(light, icon), 10);
    EXPECT_GT(look.Count(shadow, icon), 10);
    // The caption: highlight under shadow, no text colour.
    const CRect caption(36, 0, 120, 48);
    EXPECT_EQ(look.Count(GetSysColor(COLOR_BTNTEXT), caption), 0);
    EXPECT_GT(look.Count(light, caption), 2);
    EXPECT_GT(look.Count(shadow, caption), 5);
    const CRect lights = look.Ink(face, caption);
    EXPECT_FALSE(lights.IsRectEmpty());
}

TEST_F(IconButtonTest, DisablingPassesTheFocusOn)
{
    Make(WS_TABSTOP);
    CIconButton next;
    ASSERT_TRUE(
        next.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(120, 20, 200, 68), &parent, kButtonId + 1));
    button.SetFocus();
    Hover();
    button.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &next);
    EXPECT_FALSE(button.IsMouseOver());
    next.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &parent);
    next.DestroyWindow();
}

TEST_F(IconButtonTest, TransparentModeShowsTheParentAsItWas)
{
    Make();
    button.SetTransparentMode(FALSE);
    {
        Snapshot look(button);
        EXPECT_EQ(look.At(2, 2), kBackdrop);
        EXPECT_EQ(look.At(look.Width() - 3, look.Height() - 3), kBackdrop);
    }
    // The saved copy stays until transparent mode is set again.
    parent.m_color = RGB(200, 30, 30);
    {
        Snapshot look(button);
        EXPECT_EQ(look.At(2, 2), kBackdrop);
    }
    button.SetTransparentMode(FALSE);
    Snapshot look(button);
    EXPECT_EQ(look.At(2, 2), RGB(200, 30, 30));
}

TEST_F(IconButtonTest, CaptureBackgroundCopiesTheButtonsPlaceFromTheGivenDC)
{
    Make(); // 80 x 48 at (20, 20) of the parent
    // A picture in parent coordinates: blue, red under the button, a green
    // square at the button's (5, 5).
    Canvas picture(200, 120, RGB(0, 0, 200));
    picture.Dc().FillSolidRect(20, 20, 80, 48, RGB(200, 0, 0));
    picture.Dc().FillSolidRect(25, 25, 5, 5, RGB(0, 160, 0));
    EXPECT_EQ(button.CaptureBackground(&picture.Dc()), kIconButtonBadParam) << "not transparent";
    button.SetTransparentMode(FALSE);
    EXPECT_EQ(button.CaptureBackground(nullptr), kIconButtonBadParam);
    ASSERT_EQ(button.CaptureBackground(&picture.Dc()), kIconButtonOk);
    Snapshot look(button);
    EXPECT_EQ(look.At(1, 1), RGB(200, 0, 0));
    EXPECT_EQ(look.At(7, 7), RGB(0, 160, 0));
    EXPECT_EQ(look.At(79, 47), RGB(200, 0, 0));
    EXPECT_EQ(look.Count(RGB(0, 0, 200)), 0);
    EXPECT_EQ(look.Count(RGB(0, 160, 0)), 25);
    // Setting transparent mode again drops the copy: the parent shows.
    button.SetTransparentMode(FALSE);
    Snapshot again(button);
    EXPECT_EQ(again.At(1, 1), kBackdrop);
}

// Cursor resources made from the bytes of icon 163.
void RegisterCursors()
{
    static const std::vector<std::uint8_t> bytes = [] {
        const auto icon = AfxGetResource("ICON", 163);
        return std::vector<std::uint8_t>(icon.begin(), icon.end());
    }();
    AfxRegisterResource("CURSOR", 7301, bytes.data(), bytes.size());
    AfxRegisterResource("CURSOR", 7302, bytes.data(), bytes.size());
}

TEST_F(IconButtonTest, ReplacedCursorIsDestroyed)
{
    RegisterCursors();
    Make();
    const auto cursorShown = [](CWnd& over) {
        ::SetCursor(nullptr);
        over.SendMessage(
            WM_SETCURSOR, reinterpret_cast<WPARAM>(over.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    ASSERT_EQ(button.SetButtonCursor(7301), kIconButtonOk);
    const HCURSOR first = cursorShown(button);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GdiGetIconSize(first), CSize(32, 32));

    ASSERT_EQ(button.SetButtonCursor(7302), kIconButtonOk);
    const HCURSOR second = cursorShown(button);
    ASSERT_NE(second, nullptr);
    // The old cursor is destroyed (its handle may come back for the new one).
    EXPECT_TRUE(second == first || GdiGetIconSize(first) == CSize(0, 0));

    // A missing cursor: result 1, the old one destroyed, none shown.
    EXPECT_EQ(button.SetButtonCursor(59990), kIconButtonInvalidResource);
    EXPECT_EQ(GdiGetIconSize(second), CSize(0, 0));
    EXPECT_EQ(cursorShown(button), nullptr);

    ASSERT_EQ(button.SetButtonCursor(7301), kIconButtonOk);
    const HCURSOR third = cursorShown(button);
    EXPECT_EQ(button.SetButtonCursor(0), kIconButtonOk);
    EXPECT_EQ(GdiGetIconSize(third), CSize(0, 0));
    EXPECT_EQ(cursorShown(button), nullptr);

    // The button's end destroys its cursor.
    HCURSOR last = nullptr;
    {
        CIconButton temporary;
        ASSERT_TRUE(temporary.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &parent, kButtonId + 5));
        ASSERT_EQ(temporary.SetButtonCursor(7302), kIconButtonOk);
        last = cursorShown(temporary);
        ASSERT_EQ(GdiGetIconSize(last), CSize(32, 32));
        temporary.DestroyWindow();
    }
    EXPECT_EQ(GdiGetIconSize(last), CSize(0, 0));
}

TEST(IconButtonCursor, StandardCursorsSurviveDestroyCursor)
{
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    EXPECT_TRUE(DestroyCursor(arrow));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(GetStandardCursorId(arrow), IDC_ARROW);
    EXPECT_FALSE(DestroyCursor(reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(0x7777))));
}

TEST_F(IconButtonTest, CheckBoxModeTogglesOnClick)
{
    Make(BS_CHECKBOX);
    ASSERT_TRUE(button.IsCheckBoxMode());
    EXPECT_EQ(button.SendMessage(BM_GETCHECK), FALSE);
    Click(button.GetSafeHwnd(), CPoint(10, 10));
    EXPECT_EQ(button.GetCheck(), TRUE);
    Click(button.GetSafeHwnd(), CPoint(10, 10));
    EXPECT_EQ(button.GetCheck(), FALSE);
    button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(button.SendMessage(BM_GETCHECK), TRUE);
    button.SendMessage(BM_SETCHECK, 3);
    EXPECT_EQ(button.SendMessage(BM_GETCHECK), FALSE);
    // The parent sees every click too.
    EXPECT_EQ(parent.Count(kButtonId, BN_CLICKED), 2);
}

TEST_F(IconButtonTest, ADoubleClickMakesTwoClicksAndAReleaseOutsideNone)
{
    Make();
    const HWND hwnd = button.GetSafeHwnd();
    for (const UINT message : { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP })
        AfxSimulateMouse(hwnd, message, CPoint(5, 5), message == WM_LBUTTONUP ? 0 : MK_LBUTTON);
    EXPECT_EQ(parent.Count(kButtonId, BN_CLICKED), 2);
    AfxSimulateMouse(hwnd, WM_LBUTTONDOWN, CPoint(5, 5), MK_LBUTTON);
    AfxSimulateMouse(hwnd, WM_MOUSEMOVE, CPoint(500, 5), MK_LBUTTON);
    AfxSimulateMouse(hwnd, WM_LBUTTONUP, CPoint(500, 5), 0);
    EXPECT_EQ(parent.Count(kButtonId, BN_CLICKED), 2) << "a release outside is no click";
}

TEST_F(IconButtonTest, TooltipTakesTheText)
{
    Make();
    button.SetTipText("확인", TRUE);
    CToolTipCtrl& tip = button.GetToolTip();
    ASSERT_TRUE(tip.GetSafeHwnd());
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.GetMaxTipWidth(), 400);
    EXPECT_TRUE(tip.IsActive());
    CString text;
    tip.GetText(text, &button, 1);
    EXPECT_EQ(text, "확인");
    button.SetTipText(static_cast<LPCTSTR>(nullptr), TRUE);
    button.SetTipText(59999u, TRUE); // no such string
    tip.GetText(text, &button, 1);
    EXPECT_EQ(text, "확인");
    button.ActivateTip(FALSE);
    EXPECT_FALSE(tip.IsActive());
}

TEST_F(IconButtonTest, UrlAndSoundAreCutToTheirRecords)
{
    Make();
    const std::string longName(400, 'a');
    button.SetSound(longName.c_str(), nullptr, TRUE, FALSE);
    button.SetURL(longName.c_str());
    Click(button.GetSafeHwnd(), CPoint(5, 5));
    const std::vector<ShellRecord> records = AfxGetShellRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, ShellRecord::Kind::Sound);
    EXPECT_EQ(records[0].name.GetLength(), CIconButton::kMaxTextLength);
    EXPECT_EQ(records[0].flags, SND_NODEFAULT | SND_NOWAIT | SND_FILENAME);
    EXPECT_EQ(records[1].kind, ShellRecord::Kind::Execute);
    EXPECT_EQ(records[1].verb, "open");
    EXPECT_EQ(records[1].name.GetLength(), CIconButton::kMaxTextLength);
    EXPECT_EQ(records[1].flags, SEE_MASK_FLAG_NO_UI);
    EXPECT_EQ(records[1].show, SW_SHOWMAXIMIZED);
}

TEST_F(IconButtonTest, LongKoreanSoundNameIsCutOnACharacterBoundary)
{
    Make();
    std::string name;
    while (name.size() < 300)
        name += "소리";
    button.SetSound(name.c_str(), nullptr, TRUE, TRUE);
    Click(button.GetSafeHwnd(), CPoint(5, 5));
    const std::vector<ShellRecord> records = AfxGetShellRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_LE(records[0].name.GetLength(), CIconButton::kMaxTextLength);
    EXPECT_EQ(records[0].name.GetLength() % 3, 0);
    EXPECT_EQ(records[0].flags & SND_ASYNC, SND_ASYNC);
}

// A 20 x 20 bitmap: a red square (4..16) on magenta; the caller owns it.
HBITMAP MakeSquareBitmap()
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(20, 20, 1, 32, nullptr);
    HGDIOBJ old = dc.SelectObject(bitmap);
    dc.FillSolidRect(0, 0, 20, 20, RGB(255, 0, 255));
    dc.FillSolidRect(4, 4, 12, 12, RGB(200, 40, 40));
    dc.SelectObject(old);
    return bitmap;
}

TEST_F(IconButtonTest, BitmapIsDrawnThroughItsMask)
{
    Make(0, "", 40, 40);
    ASSERT_EQ(button.SetBitmaps(MakeSquareBitmap(), RGB(255, 0, 255),
                  reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(CIconButton::kAutoDarker)), 0),
        kIconButtonOk);
    // Centred: the bitmap at (10, 10), its square at (14..26).
    {
        Snapshot rest(button);
        EXPECT_EQ(rest.At(11, 11), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(rest.At(20, 20), RGB(150, 30, 30));
    }
    Hover();
    {
        Snapshot hot(button);
        EXPECT_EQ(hot.At(11, 11), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(hot.At(20, 20), RGB(200, 40, 40));
    }
    button.EnableWindow(FALSE);
    Snapshot disabled(button);
    const CRect square(14, 14, 26, 26);
    EXPECT_EQ(disabled.Count(RGB(200, 40, 40), square), 0);
    EXPECT_GT(disabled.Count(GetSysColor(COLOR_3DSHADOW), square), 50);
}

TEST_F(IconButtonTest, SizeToContentFitsTheIcon)
{
    Make(0, "", 90, 70);
    button.LoadIcons(kIconOk, CIconButton::kNoOutImage);
    button.SizeToContent();
    CRect client;
    button.GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(32, 32));
    CRect window;
    button.GetWindowRect(&window);
    parent.ScreenToClient(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(20, 20));
}

TEST_F(IconButtonTest, SystemColourChangeRestoresTheColours)
{
    Make();
    button.SetColor(CIconButton::kColorBkOut, RGB(1, 2, 3), FALSE);
    button.SendMessage(WM_SYSCOLORCHANGE);
    COLORREF color = 0;
    button.GetColor(CIconButton::kColorBkOut, &color);
    EXPECT_EQ(color, GetSysColor(COLOR_BTNFACE));
    LRESULT brush = 0;
    EXPECT_TRUE(ReflectNotification(
        button.GetSafeHwnd(), WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(button.GetSafeHwnd()), &brush));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetStockObject(NULL_BRUSH));
}

TEST_F(IconButtonTest, CaptionBesideTheImageIsCentredInTheRest)
{
    Make(0, "OK", 120, 40);
    button.LoadIcons(kIconOk, CIconButton::kNoOutImage);
    Snapshot look(button);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Icon 32 wide at margin 3: the text lies in (38, 0, 120, 40), centred there.
    const CRect text = look.Ink(face, CRect(38, 0, 120, 40));
    ASSERT_FALSE(text.IsRectEmpty());
    const int middle = (text.left + text.right) / 2;
    EXPECT_NEAR(middle, (38 + 120) / 2, 3);
    EXPECT_NEAR((text.top + text.bottom) / 2, 20, 3);
}

// A dialog whose OK and Cancel are icon buttons bound by data exchange.
class CIconDialog : public CDialog {
public:
    CIconButton m_ok;
    CIconButton m_cancel;
    int m_okCount = 0;
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDOK, m_ok);
        DDX_Control(dx, IDCANCEL, m_cancel);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_ok.LoadIcons(163, CIconButton::kAutoDarker);
        m_ok.SetTipText("OK");
        m_ok.SetTransparentMode(FALSE);
        return TRUE;
    }
    void OnOK() override { ++m_okCount; }
};

TEST(IconButtonDialog, BoundByDataExchange)
{
    DialogTemplate dialogTemplate;
    dialogTemplate.cx = 160;
    dialogTemplate.cy = 60;
    dialogTemplate.style = WS_POPUP | WS_VISIBLE;
    DialogItemTemplate ok;
    ok.id = IDOK;
    ok.className = "BUTTON";
    ok.text = "OK";
    ok.x = 10;
    ok.y = 10;
    ok.cx = 60;
    ok.cy = 20;
    ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    DialogItemTemplate cancel = ok;
    cancel.id = IDCANCEL;
    cancel.text = "Cancel";
    cancel.x = 80;
    cancel.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    dialogTemplate.items = { ok, cancel };
    CIconDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(dialogTemplate, nullptr));
    EXPECT_EQ(dialog.m_ok.GetSafeHwnd(), dialog.GetDlgItem(IDOK)->GetSafeHwnd());
    EXPECT_EQ(dialog.m_ok.GetStyle() & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(dialog.m_ok.IsDefaultButton());
    EXPECT_FALSE(dialog.m_cancel.IsDefaultButton());
    EXPECT_TRUE(dialog.m_ok.IsTransparentMode());
    Click(dialog.m_ok.GetSafeHwnd(), CPoint(5, 5));
    EXPECT_EQ(dialog.m_okCount, 1);
    Snapshot look(dialog.m_ok);
    EXPECT_TRUE(look.Ok());
    dialog.DestroyWindow();
}

} // namespace
