// Renders every control in each of its states to PNG files under
// controls_gallery/ in the build folder, for people to look at, and checks the
// pixels that matter in each picture: colours, frames and where images sit.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controls/bitmap_background_dlg.h"
#include "controls/caption_panel.h"
#include "controls/icon_button.h"
#include "controls/plain_splitter.h"
#include "controls/status_lamp.h"
#include "controls/xp_button.h"
#include "controls_test_util.h"
#include "platform/base/resource_script.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kFace = RGB(212, 208, 200);
constexpr COLORREF kHighlight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// r lies inside outer (both non-empty).
::testing::AssertionResult Inside(const CRect& r, const CRect& outer)
{
    if (r.IsRectEmpty())
        return ::testing::AssertionFailure() << "nothing drawn";
    if (r.left < outer.left || r.top < outer.top || r.right > outer.right || r.bottom > outer.bottom)
        return ::testing::AssertionFailure()
            << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ") is not inside ("
            << outer.left << "," << outer.top << "," << outer.right << "," << outer.bottom << ")";
    return ::testing::AssertionSuccess();
}

CRect Clip(const CRect& a, const CRect& b)
{
    CRect r;
    r.IntersectRect(a, b);
    return r;
}

CRect Moved(CRect r, int dx, int dy)
{
    r.OffsetRect(dx, dy);
    return r;
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(kFolder);
        ASSERT_TRUE(parent.Show(480, 320));
    }
    void TearDown() override { parent.DestroyWindow(); }

    // The window's picture, written to name.png.
    std::unique_ptr<Snapshot> Shot(CWnd& window, const std::string& name)
    {
        auto look = std::make_unique<Snapshot>(window);
        EXPECT_TRUE(look->Ok()) << name;
        Write(*look, name);
        return look;
    }
    void Write(Canvas& look, const std::string& name)
    {
        const std::string path = std::string(kFolder) + "/" + name + ".png";
        EXPECT_TRUE(look.Save(path.c_str())) << path;
        EXPECT_TRUE(fs::exists(path) && fs::file_size(path) > 0) << path;
    }

    static constexpr const char* kFolder = "controls_gallery";
    CBackdropWnd parent;
};

// A 100 x 50 icon button in each state, with its icon (32 x 32) where the
// alignment puts it: the icon's pixels lie inside the image box, the caption's
// outside it.
TEST_F(GalleryTest, IconButtonStates)
{
    struct Case {
        const char* name;
        int icon;
        const char* caption;
        BYTE align;
        CRect imageBox; // where the 32 x 32 icon goes
        CRect captionArea; // where the caption may draw
    };
    const Case cases[] = {
        // Left of the caption, margin 3, centred vertically.
        { "ok", 163, "확인", CIconButton::kAlignHorizontal, CRect(3, 9, 35, 41), CRect(35, 0, 100, 50) },
        // Above the caption, centred horizontally, margin 3 from the top.
        { "cancel", 162, "취소", CIconButton::kAlignVertical, CRect(34, 3, 66, 35), CRect(0, 35, 100, 50) },
        // Right of the caption, margin 3.
        { "insert", 181, "Insert", CIconButton::kAlignHorizontalRight, CRect(65, 9, 97, 41),
            CRect(0, 0, 65, 50) },
        // The face's top-left corner; the caption over the whole face.
        { "update", 178, "Update", CIconButton::kAlignOverlap, CRect(0, 0, 32, 32), CRect(0, 0, 100, 50) },
        // No caption: centred both ways.
        { "login", 159, "", CIconButton::kAlignHorizontal, CRect(34, 9, 66, 41), CRect() },
    };
    UINT id = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CIconButton button;
        ASSERT_TRUE(button.Create(c.caption, WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, ++id));
        button.LoadIcons(c.icon, CIconButton::kAutoDarker);
        button.SetImageAlign(c.align);
        const std::string base = std::string("icon_button_") + c.name;
        const CRect inner(2, 2, 98, 48);

        auto rest = Shot(button, base + "_rest");
        // Flat at rest: no edge, the face colour to the corners.
        EXPECT_EQ(rest->At(0, 0), kFace);
        EXPECT_EQ(rest->At(99, 49), kFace);
        const CRect restIcon = rest->Ink(kFace, c.imageBox);
        EXPECT_TRUE(Inside(restIcon, c.imageBox));
        if (*c.caption) {
            EXPECT_GT(rest->Count(kBlack, c.captionArea), 10) << "caption in the button text colour";
        } else {
            EXPECT_TRUE(Inside(rest->Ink(kFace, rest->All()), c.imageBox)) << "nothing but the icon";
        }

        AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
        auto hover = Shot(button, base + "_hover");
        // Raised edge; the icon at the same place.
        EXPECT_EQ(hover->At(0, 0), kHighlight);
        EXPECT_EQ(hover->At(50, 0), kHighlight);
        EXPECT_EQ(hover->At(99, 49), kShadow);
        EXPECT_EQ(hover->At(99, 25), kShadow);
        const CRect hoverIcon = hover->Ink(kFace, Clip(c.imageBox, inner));
        EXPECT_EQ(hoverIcon, Clip(restIcon, inner));

        button.SetState(TRUE);
        auto pressed = Shot(button, base + "_pressed");
        // Sunken edge; icon moved one pixel down and right.
        EXPECT_EQ(pressed->At(0, 0), kShadow);
        EXPECT_EQ(pressed->At(99, 49), kHighlight);
        EXPECT_EQ(Clip(pressed->Ink(kFace, Moved(Clip(c.imageBox, inner), 1, 1)), inner),
            Clip(Moved(hoverIcon, 1, 1), inner));
        button.SetState(FALSE);

        button.EnableWindow(FALSE);
        auto disabled = Shot(button, base + "_disabled");
        // Nothing in the text colour: the icon drawn disabled, the caption embossed.
        EXPECT_EQ(disabled->Count(kBlack), 0);
        EXPECT_GT(disabled->Count(kShadow, c.imageBox), 20);
        if (*c.caption) {
            EXPECT_GT(disabled->Count(kHighlight, c.captionArea), 5);
        }
        button.EnableWindow(TRUE);

        button.SetFlat(FALSE);
        button.SetFocus();
        auto classic = Shot(button, base + "_classic_focused");
        // Focused classic button: black frame, then the 3-D edge, and the
        // dotted focus rectangle 3 pixels in.
        EXPECT_EQ(classic->At(0, 0), kBlack);
        EXPECT_EQ(classic->At(99, 49), kBlack);
        EXPECT_EQ(classic->At(50, 0), kBlack);
        EXPECT_EQ(classic->At(1, 25), kHighlight);
        EXPECT_GT(classic->CountOther(kFace, CRect(40, 3, 60, 4)), 5) << "focus rectangle";
        button.DestroyWindow();
    }
}

// Check-box mode: the gray copy at rest, the icon itself when checked, sunken
// and not moved.
TEST_F(GalleryTest, IconButtonCheckBox)
{
    CIconButton check;
    ASSERT_TRUE(
        check.Create("Check", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 10, 110, 60), &parent, 120));
    check.LoadIcons(170, CIconButton::kAutoGray);
    const CRect imageBox(3, 9, 35, 41);
    // Pixels of the image box neither the face colour nor gray.
    const auto coloured = [&](Snapshot& look) {
        int n = 0;
        for (int y = imageBox.top; y < imageBox.bottom; ++y)
            for (int x = imageBox.left; x < imageBox.right; ++x) {
                const COLORREF p = look.At(x, y);
                n += p != kFace && (GetRValue(p) != GetGValue(p) || GetGValue(p) != GetBValue(p));
            }
        return n;
    };
    auto off = Shot(check, "icon_button_check_off");
    EXPECT_EQ(off->At(0, 0), kFace);
    EXPECT_EQ(coloured(*off), 0) << "the resting icon is gray";
    const CRect offIcon = off->Ink(kFace, imageBox);
    ASSERT_TRUE(Inside(offIcon, imageBox));

    check.SetCheck(TRUE);
    auto on = Shot(check, "icon_button_check_on");
    EXPECT_EQ(on->At(0, 0), kShadow);
    EXPECT_EQ(on->At(99, 49), kHighlight);
    const CRect inner(2, 2, 98, 48);
    EXPECT_EQ(on->Ink(kFace, Clip(imageBox, inner)), Clip(offIcon, inner)) << "not moved";
    EXPECT_GT(coloured(*on), 20) << "the checked icon has its colours";
    check.DestroyWindow();
}

// Transparent mode: the face shows the parent's pixels.
TEST_F(GalleryTest, IconButtonTransparent)
{
    CIconButton clear;
    ASSERT_TRUE(clear.Create("Log-out", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, 121));
    clear.LoadIcons(161, CIconButton::kAutoDarker);
    clear.SetTransparentMode(FALSE);
    auto look = Shot(clear, "icon_button_transparent");
    EXPECT_EQ(look->At(0, 0), kBackdrop);
    EXPECT_EQ(look->At(99, 49), kBackdrop);
    EXPECT_EQ(look->Count(kFace), 0);
    EXPECT_GT(look->Count(kBackdrop), 100 * 50 / 2);
    clear.DestroyWindow();
}

// A 100 x 30 gradient button: the outline, the gradient rows, the blue focus
// and orange hover frames, the caption moving when pressed.
TEST_F(GalleryTest, XPButtonStates)
{
    CXPButton button;
    ASSERT_TRUE(
        button.Create("전송", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 110, 40), &parent, 200));
    const CRect inside(6, 6, 94, 24);
    auto rest = Shot(button, "xp_button_rest");
    EXPECT_EQ(rest->At(50, 0), kBlack);
    EXPECT_EQ(rest->At(0, 15), kBlack);
    EXPECT_EQ(rest->At(99, 15), kBlack);
    EXPECT_EQ(rest->At(50, 29), kBlack);
    EXPECT_NE(rest->At(0, 0), kBlack) << "round corner";
    // Rows of the gradient (h = 26): step y * 63 / 26, RGB(255 - i/3, 255 - i/3, 255 - i/5).
    EXPECT_EQ(rest->At(8, 2), RGB(254, 254, 255));
    EXPECT_EQ(rest->At(8, 14), RGB(244, 244, 249));
    EXPECT_EQ(rest->At(8, 27), RGB(234, 234, 243));
    EXPECT_EQ(rest->Count(RGB(153, 198, 252)) + rest->Count(RGB(250, 196, 88)), 0) << "no inner frame";

    button.SetFocus();
    auto focused = Shot(button, "xp_button_focused");
    EXPECT_EQ(focused->At(2, 15), RGB(153, 198, 252));
    EXPECT_EQ(focused->At(50, 2), RGB(162, 201, 255));
    EXPECT_EQ(focused->At(97, 15), RGB(162, 189, 252));
    // Emphasis: RGB(255 - i/3, 255 - i/3, 255 - i/4) at row 14 (i = 33).
    EXPECT_EQ(focused->At(20, 14), RGB(244, 244, 247));

    AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
    ASSERT_TRUE(PumpUntil([&] { return button.IsHovered() != FALSE; }));
    auto hover = Shot(button, "xp_button_hover");
    EXPECT_EQ(hover->At(2, 15), RGB(250, 196, 88));
    EXPECT_EQ(hover->At(50, 2), RGB(252, 210, 121));
    EXPECT_EQ(hover->At(97, 15), RGB(251, 202, 106));
    // Hovered with emphasis: RGB(255 - i/4, 255 - i/4, 255 - i/3).
    EXPECT_EQ(hover->At(20, 14), RGB(247, 247, 244));
    const CRect hoverText = hover->InkOf(kBlack, inside);
    ASSERT_FALSE(hoverText.IsRectEmpty());

    button.SetState(TRUE);
    auto pressed = Shot(button, "xp_button_pressed");
    EXPECT_EQ(pressed->InkOf(kBlack, inside), Moved(hoverText, 1, 1));
    button.SetState(FALSE);

    button.EnableWindow(FALSE);
    auto disabled = Shot(button, "xp_button_disabled");
    EXPECT_EQ(disabled->Count(kBlack, inside), 0);
    EXPECT_GT(disabled->Count(kShadow, inside), 5);
    EXPECT_GT(disabled->Count(kHighlight, inside), 5);
    button.DestroyWindow();

    // 30 x 8: the rows past the end of the brush table take its last brush.
    CXPButton small;
    ASSERT_TRUE(small.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 40, 18), &parent, 201));
    auto tiny = Shot(small, "xp_button_short");
    EXPECT_EQ(tiny->At(15, 0), kBlack);
    EXPECT_EQ(tiny->At(15, 2), RGB(245, 245, 249));
    EXPECT_EQ(tiny->At(15, 4), RGB(234, 234, 243));
    EXPECT_EQ(tiny->At(15, 5), RGB(234, 234, 243));
    small.DestroyWindow();
}

TEST_F(GalleryTest, CaptionPanel)
{
    CCaptionPanel panel;
    ASSERT_TRUE(panel.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | CCaptionPanel::kTooltipStyle,
        CRect(0, 0, 240, 18), &parent, 300));
    panel.SetCaption("상품 관리 (Item list)");
    panel.Invalidate();
    auto look = Shot(panel, "caption_panel");
    // Light edge top and left, dark edge bottom and right (which takes the
    // top-right and bottom-left corners).
    for (const CPoint light : { CPoint(0, 0), CPoint(5, 0), CPoint(238, 0), CPoint(0, 9), CPoint(0, 16) })
        EXPECT_EQ(look->At(light.x, light.y), RGB(213, 216, 230)) << light.x << "," << light.y;
    for (const CPoint dark :
        { CPoint(239, 0), CPoint(239, 9), CPoint(239, 17), CPoint(120, 17), CPoint(0, 17) })
        EXPECT_EQ(look->At(dark.x, dark.y), RGB(138, 148, 185)) << dark.x << "," << dark.y;
    EXPECT_EQ(look->At(235, 9), RGB(192, 198, 216));
    const CRect text = look->Ink(RGB(192, 198, 216), CRect(1, 1, 239, 17));
    ASSERT_FALSE(text.IsRectEmpty());
    EXPECT_GE(text.left, 10);
    EXPECT_LT(text.left, 14);
    EXPECT_GT(look->Count(kBlack, text), 20);
    panel.DestroyWindow();
}

// Each lamp row at rest and lit: the cell centred in the 36 x 36 control,
// magenta shown as the parent's colour, the two looks different. Around the
// cell the lamp draws nothing.
TEST_F(GalleryTest, StatusLampRows)
{
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        CStatusLamp lamp;
        ASSERT_TRUE(lamp.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 46, 46), &parent, 301));
        lamp.SetImage(row * 32, 1, 0);
        auto rest = Shot(lamp, "status_lamp_row" + std::to_string(row) + "_rest");
        lamp.SetImage(row * 32, 0, 0);
        auto lit = Shot(lamp, "status_lamp_row" + std::to_string(row) + "_lit");
        for (Snapshot* look : { rest.get(), lit.get() }) {
            EXPECT_EQ(look->Count(kMagenta), 0);
            // The cell's corners are magenta: the backdrop shows there.
            EXPECT_EQ(look->At(2, 2), kBackdrop);
            EXPECT_EQ(look->At(33, 33), kBackdrop);
        }
        int differ = 0;
        for (int y = 2; y < 34; ++y)
            for (int x = 2; x < 34; ++x)
                differ += rest->At(x, y) != lit->At(x, y);
        EXPECT_GT(differ, 20);
        lamp.DestroyWindow();
    }
}

// Bitmap 146 (96 x 256) in each placement on the dialog's client area: its
// pixels sit at the placement's origins. No transparent colour, so that the
// window keeps its rectangle and every copy shows.
TEST_F(GalleryTest, BackgroundDialogPlacements)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(146));
    Canvas source(static_cast<HBITMAP>(bitmap.Detach()));
    ASSERT_EQ(source.Width(), 96);
    ASSERT_EQ(source.Height(), 256);

    CBitmapBackgroundDlg dialog;
    DialogTemplate dialogTemplate;
    dialogTemplate.cx = 100;
    dialogTemplate.cy = 60;
    dialogTemplate.style = WS_POPUP | WS_VISIBLE;
    ASSERT_TRUE(dialog.CreateIndirect(dialogTemplate, nullptr));
    dialog.MoveWindow(60, 60, 150, 100);
    ASSERT_EQ(dialog.LoadBackground(146), 0u);
    CRect client;
    dialog.GetClientRect(&client);
    ASSERT_EQ(client.Size(), CSize(150, 100));
    // Origins by mode for w 150, h 100, bw 96, bh 256.
    const std::vector<std::vector<CPoint>> origins = {
        { { 0, 0 }, { 96, 0 } }, // tiled
        { { 27, -78 } }, // centred
        {}, // stretched
        { { 0, 0 }, { 96, 0 } }, // top edge
        { { 0, -156 }, { 96, -156 } }, // bottom edge
        { { 0, 0 } }, // left edge
        { { 54, 0 } }, // right edge
        { { 0, 0 } }, // top-left
        { { 54, 0 } }, // top-right
        { { 27, 0 } }, // top centre
        { { 0, -156 } }, // bottom-left
        { { 54, -156 } }, // bottom-right
        { { 27, -156 } }, // bottom centre
    };
    for (BYTE mode = 0; mode < 13; ++mode) {
        SCOPED_TRACE(int(mode));
        ASSERT_EQ(dialog.SetDrawMode(mode, FALSE), 0u);
        auto look = Shot(dialog, "background_dialog_mode" + std::to_string(mode));
        if (origins[mode].empty()) {
            // Stretched over the whole client area: corners from the bitmap's corners.
            EXPECT_EQ(look->At(0, 0), source.At(0, 0));
            EXPECT_EQ(look->At(149, 99), source.At(95, 255));
            continue;
        }
        int compared = 0;
        for (const CPoint& origin : origins[mode])
            for (int sy = 0; sy < 256; sy += 5)
                for (int sx = 0; sx < 96; sx += 5) {
                    const CPoint at = origin + CPoint(sx, sy);
                    if (!client.PtInRect(at))
                        continue;
                    ++compared;
                    ASSERT_EQ(look->At(at.x, at.y), source.At(sx, sy)) << at.x << "," << at.y;
                }
        EXPECT_GT(compared, 50);
        // Outside every copy: the dialog's background colour, the same everywhere.
        std::vector<COLORREF> uncovered;
        for (int y = 0; y < 100; y += 3)
            for (int x = 0; x < 150; x += 3) {
                bool covered = false;
                for (const CPoint& origin : origins[mode])
                    covered = covered || CRect(origin, CSize(96, 256)).PtInRect(CPoint(x, y));
                if (!covered)
                    uncovered.push_back(look->At(x, y));
            }
        for (COLORREF c : uncovered)
            ASSERT_EQ(c, uncovered.front());
    }
    dialog.DestroyWindow();
}

// The menu's two looks with no item, the first and the grayed item selected.
TEST_F(GalleryTest, PopupMenus)
{
    AfxAddResourceScript(R"(
MENU 7501
  POPUP "&Edit"
    ITEM 7601 "&Insert row\tIns"
    ITEM 7602 "&Delete row\tDel" CHECKED
    SEPARATOR
    ITEM 7603 "&Find..." GRAYED
  END
END
TOOLBAR 7501 32 32 BITMAP 146
  BUTTON 7601
  BUTTON 7602
END
)",
        "gallery");
    CIconButton button;
    ASSERT_TRUE(button.Create("Menu", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, 400));
    for (BOOL flat : { TRUE, FALSE }) {
        SCOPED_TRACE(flat);
        ASSERT_EQ(button.SetPopupMenu(7501, parent.GetSafeHwnd(), flat, 7501, 16, 15), kIconButtonOk);
        CDrawnMenu* edit = button.GetPopupMenu().GetSubDrawnMenu(0);
        ASSERT_NE(edit, nullptr);
        for (int selected : { -1, 0, 3 }) {
            SCOPED_TRACE(selected);
            Canvas look(AfxRenderPopupMenu(edit->GetSafeHmenu(), button.GetSafeHwnd(), selected));
            ASSERT_GT(look.Width(), 40);
            Write(look,
                std::string("drawn_menu_") + (flat ? "flat" : "classic") + "_selected"
                    + std::to_string(selected));
            const int right = look.Width() - 6;
            const int last = look.Height() - 8;
            // First item's row (32-pixel images: 32 + 7 high in the flat look).
            const COLORREF firstRow = look.At(right, 10);
            if (flat) {
                // Selected: COLOR_HIGHLIGHT lightened by 0.7; at rest the window
                // colour, the image column in the button face.
                EXPECT_EQ(firstRow, selected == 0 ? RGB(181, 189, 210) : RGB(255, 255, 255));
                EXPECT_EQ(look.At(5, last), kFace) << "image column";
                // The grayed last item is never drawn selected.
                EXPECT_EQ(look.At(right, last), RGB(255, 255, 255));
            } else {
                // Classic look in the XP shell: button face, the selection in
                // COLOR_HIGHLIGHT, also for the grayed item.
                EXPECT_EQ(firstRow, selected == 0 ? RGB(10, 36, 106) : kFace);
                EXPECT_EQ(look.At(right, last), selected == 3 ? RGB(10, 36, 106) : kFace);
            }
        }
    }
    CDrawnMenu::SetMenuDrawMode(CDrawnMenu::kFlatLook);
    button.DestroyWindow();
}

TEST_F(GalleryTest, PlainSplitter)
{
    CPlainSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
    splitter.SetColumnInfo(0, 120, 10);
    splitter.RecalcLayout();
    int current = 0;
    int minimum = 0;
    splitter.GetColumnInfo(0, current, minimum);
    EXPECT_EQ(current, 120);
    auto look = Shot(splitter, "plain_splitter");
    // Each pane's border: the face colour outside, a sunken line inside.
    EXPECT_EQ(look->At(0, 100), kFace);
    EXPECT_EQ(look->At(1, 100), kShadow);
    EXPECT_EQ(look->At(100, 1), kShadow);
    // The bar between the panes is the face colour from top to bottom.
    const int bar = 2 + 120 + 3;
    EXPECT_EQ(look->At(bar, 50), kFace);
    EXPECT_EQ(look->At(bar, look->Height() - 3), kFace);
    splitter.DestroyWindow();
}

} // namespace
