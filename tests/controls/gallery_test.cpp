// Renders every control in each of its states to PNG files under
// controls_gallery/ in the build folder, for people to look at. It checks only
// that the files were written.

#include <filesystem>
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
#include "platform/gdi/bitmap_file.h"

namespace {

namespace fs = std::filesystem;

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(kFolder);
        ASSERT_TRUE(parent.Show(480, 320));
    }
    void TearDown() override { parent.DestroyWindow(); }

    void Save(CWnd& window, const std::string& name)
    {
        Snapshot look(window);
        ASSERT_TRUE(look.Ok()) << name;
        Write(look, name);
    }
    void Write(Snapshot& look, const std::string& name)
    {
        const std::string path = std::string(kFolder) + "/" + name + ".png";
        ASSERT_TRUE(look.Save(path.c_str())) << path;
        written.push_back(path);
    }
    void ExpectWritten()
    {
        for (const std::string& path : written) {
            EXPECT_TRUE(fs::exists(path)) << path;
            EXPECT_GT(fs::file_size(path), 0u) << path;
        }
    }

    static constexpr const char* kFolder = "controls_gallery";
    CBackdropWnd parent;
    std::vector<std::string> written;
};

TEST_F(GalleryTest, IconButtonStates)
{
    struct Case {
        const char* name;
        int icon;
        const char* caption;
        BYTE align;
    };
    const Case cases[] = {
        { "ok", 163, "확인", CIconButton::kAlignHorizontal },
        { "cancel", 162, "취소", CIconButton::kAlignVertical },
        { "insert", 181, "Insert", CIconButton::kAlignHorizontalRight },
        { "update", 178, "Update", CIconButton::kAlignOverlap },
        { "login", 159, "", CIconButton::kAlignHorizontal },
    };
    UINT id = 100;
    for (const Case& c : cases) {
        CIconButton button;
        ASSERT_TRUE(button.Create(c.caption, WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, ++id));
        button.LoadIcons(c.icon, CIconButton::kAutoDarker);
        button.SetImageAlign(c.align);
        const std::string base = std::string("icon_button_") + c.name;
        Save(button, base + "_rest");
        AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
        Save(button, base + "_hover");
        button.SetState(TRUE);
        Save(button, base + "_pressed");
        button.SetState(FALSE);
        button.EnableWindow(FALSE);
        Save(button, base + "_disabled");
        button.EnableWindow(TRUE);
        button.SetFlat(FALSE);
        button.SetFocus();
        Save(button, base + "_classic_focused");
        button.DestroyWindow();
    }
    CIconButton check;
    ASSERT_TRUE(
        check.Create("Check", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 10, 110, 60), &parent, 120));
    check.LoadIcons(170, CIconButton::kAutoGray);
    Save(check, "icon_button_check_off");
    check.SetCheck(TRUE);
    Save(check, "icon_button_check_on");
    check.DestroyWindow();
    CIconButton clear;
    ASSERT_TRUE(clear.Create("Log-out", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, 121));
    clear.LoadIcons(161, CIconButton::kAutoDarker);
    clear.SetTransparentMode(FALSE);
    Save(clear, "icon_button_transparent");
    clear.DestroyWindow();
    ExpectWritten();
}

TEST_F(GalleryTest, XPButtonStates)
{
    CXPButton button;
    ASSERT_TRUE(
        button.Create("전송", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 110, 40), &parent, 200));
    Save(button, "xp_button_rest");
    button.SetFocus();
    Save(button, "xp_button_focused");
    AfxSimulateMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(5, 5), 0);
    PumpUntil([&] { return button.IsHovered() != FALSE; });
    Save(button, "xp_button_hover");
    button.SetState(TRUE);
    Save(button, "xp_button_pressed");
    button.SetState(FALSE);
    button.EnableWindow(FALSE);
    Save(button, "xp_button_disabled");
    button.DestroyWindow();
    CXPButton small;
    ASSERT_TRUE(small.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 40, 18), &parent, 201));
    Save(small, "xp_button_short");
    small.DestroyWindow();
    ExpectWritten();
}

TEST_F(GalleryTest, CaptionPanelLampAndBackground)
{
    CCaptionPanel panel;
    ASSERT_TRUE(panel.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | CCaptionPanel::kTooltipStyle,
        CRect(0, 0, 240, 18), &parent, 300));
    panel.SetCaption("상품 관리 (Item list)");
    Save(panel, "caption_panel");
    panel.DestroyWindow();

    for (int row = 0; row < 8; ++row) {
        CStatusLamp lamp;
        ASSERT_TRUE(lamp.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 46, 46), &parent, 301));
        lamp.SetImage(row * CStatusLamp::kCellSize, CStatusLamp::kRestColumn, 0);
        Save(lamp, "status_lamp_row" + std::to_string(row) + "_rest");
        lamp.SetImage(row * CStatusLamp::kCellSize, CStatusLamp::kLitColumn, 0);
        Save(lamp, "status_lamp_row" + std::to_string(row) + "_lit");
        lamp.DestroyWindow();
    }

    CBitmapBackgroundDlg dialog;
    DialogTemplate dialogTemplate;
    dialogTemplate.cx = 100;
    dialogTemplate.cy = 60;
    dialogTemplate.style = WS_POPUP | WS_VISIBLE;
    ASSERT_TRUE(dialog.CreateIndirect(dialogTemplate, nullptr));
    dialog.MoveWindow(60, 60, 150, 100);
    ASSERT_EQ(dialog.LoadBackground(CStatusLamp::kLampBitmap, RGB(255, 0, 255)), 0u);
    for (BYTE mode = 0; mode < CBitmapBackgroundDlg::kDrawModeCount; ++mode) {
        dialog.SetDrawMode(mode, FALSE);
        Save(dialog, "background_dialog_mode" + std::to_string(mode));
    }
    dialog.DestroyWindow();
    ExpectWritten();
}

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
        ASSERT_EQ(button.SetPopupMenu(7501, parent.GetSafeHwnd(), flat, 7501, 16, 15), kIconButtonOk);
        CMenu* edit = button.GetPopupMenu().GetSubMenu(0);
        ASSERT_NE(edit, nullptr);
        for (int selected : { -1, 0, 3 }) {
            CBitmap rendered;
            rendered.Attach(AfxRenderPopupMenu(edit->GetSafeHmenu(), button.GetSafeHwnd(), selected));
            const std::string path = std::string(kFolder) + "/drawn_menu_" + (flat ? "flat" : "classic")
                + "_selected" + std::to_string(selected) + ".png";
            ASSERT_TRUE(AfxSaveBitmapAsPng(static_cast<HBITMAP>(rendered.GetSafeHandle()), path.c_str()));
            written.push_back(path);
        }
    }
    CDrawnMenu::SetMenuDrawMode(CDrawnMenu::kFlatLook);
    button.DestroyWindow();
    ExpectWritten();
}

TEST_F(GalleryTest, PlainSplitter)
{
    CPlainSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
    splitter.SetColumnInfo(0, 120, 10);
    splitter.RecalcLayout();
    Save(splitter, "plain_splitter");
    splitter.DestroyWindow();
    ExpectWritten();
}

} // namespace
