// The owner-drawn menu, reached as the system reaches it: through the icon
// button's popup menu.

#include "controls/drawn_menu.h"
#include "controls/icon_button.h"
#include "controls_test_util.h"
#include "platform/base/resource_script.h"

namespace {

constexpr UINT kMenuId = 7001;
constexpr UINT kOpen = 7101;
constexpr UINT kSaveAs = 7102;
constexpr UINT kExit = 7103;

constexpr const char* kScript = R"(
MENU 7001
  POPUP "&File"
    ITEM 7101 "&Open\tCtrl+O"
    ITEM 7102 "&Save As...\tCtrl+Shift+S"
    SEPARATOR
    ITEM 7103 "E&xit" GRAYED
  END
END
TOOLBAR 7001 32 32 BITMAP 146
  BUTTON 7101
  SEPARATOR
  BUTTON 7102
  BUTTON 7103
END
)";

class DrawnMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxAddResourceScript(kScript, "drawn_menu_test")); }
    void SetUp() override
    {
        CDrawnMenu::SetMenuDrawMode(CDrawnMenu::kFlatLook);
        PopupMenuScript::Enable();
        PopupMenuScript::Reset();
        ASSERT_TRUE(owner.Show());
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 100, 60), &owner, 9001));
    }
    void TearDown() override
    {
        PopupMenuScript::Reset();
        PopupMenuScript::Disable();
        button.DestroyWindow();
        owner.DestroyWindow();
        CDrawnMenu::SetMenuDrawMode(CDrawnMenu::kFlatLook);
    }
    CDrawnMenu* File() { return button.GetPopupMenu().GetSubDrawnMenu(0); }
    // The popup as shown with item selected (-1 none).
    HBITMAP Render(int selected)
    {
        return AfxRenderPopupMenu(File()->GetSafeHmenu(), button.GetSafeHwnd(), selected);
    }
    int ItemHeight(UINT position)
    {
        MEASUREITEMSTRUCT measure;
        measure.CtlType = ODT_MENU;
        measure.itemData = reinterpret_cast<UINT_PTR>(File()->GetItemInfo(position));
        File()->MeasureItem(&measure);
        return static_cast<int>(measure.itemHeight);
    }

    CBackdropWnd owner;
    CIconButton button;
};

TEST(DrawnMenuShell, VersionAndTheme)
{
    EXPECT_EQ(CDrawnMenu::GetVersionCode(), 7);
    EXPECT_FALSE(CDrawnMenu::IsClassicTheme());
    EXPECT_TRUE(CDrawnMenu::IsXpShell());
    EXPECT_EQ(CDrawnMenu::LightenColor(RGB(100, 0, 255), 0.5), RGB(177, 127, 255));
    EXPECT_EQ(CDrawnMenu::DarkenColor(RGB(100, 0, 255), 0.5), RGB(50, 0, 127));
    EXPECT_EQ(CDrawnMenu::LightenColor(RGB(100, 0, 255), 1.5), RGB(100, 0, 255));
}

TEST_F(DrawnMenuTest, LoadedMenuHasPlainTopLevelAndDrawnItems)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    CDrawnMenu& menu = button.GetPopupMenu();
    ASSERT_EQ(menu.GetMenuItemCount(), 1);
    const UINT topState = menu.GetMenuState(0, MF_BYPOSITION);
    EXPECT_EQ(topState & MF_OWNERDRAW, 0u);
    EXPECT_TRUE(topState & MF_POPUP);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "&File");
    CDrawnMenu* file = File();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(CDrawnMenu::IsMenu(file->GetSafeHmenu()));
    EXPECT_TRUE(CDrawnMenu::IsMenu(menu.GetSafeHmenu()));
    ASSERT_EQ(file->GetMenuItemCount(), 4);
    for (UINT i = 0; i < 4; ++i)
        EXPECT_TRUE(file->GetMenuState(i, MF_BYPOSITION) & MF_OWNERDRAW) << i;
    EXPECT_TRUE(file->GetItemInfo(2)->m_flags & MF_SEPARATOR);
    EXPECT_TRUE(file->GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);
    // Accelerator texts line up: the shorter head is padded with spaces.
    const CString open = file->GetItemInfo(0)->GetString();
    EXPECT_EQ(open.Left(6), "&Open ");
    EXPECT_GE(open.Find('\t'), 6);
    EXPECT_EQ(file->GetMenuPosition(file->GetItemInfo(3)->GetString()), 3);
}

TEST_F(DrawnMenuTest, KeyboardShortcutsAnswerMenuChar)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    CDrawnMenu* file = File();
    EXPECT_EQ(CDrawnMenu::FindKeyboardShortcut('x', MF_POPUP, file), MAKELONG(3, MNC_EXECUTE));
    EXPECT_EQ(CDrawnMenu::FindKeyboardShortcut('O', MF_POPUP, file), MAKELONG(0, MNC_EXECUTE));
    EXPECT_EQ(CDrawnMenu::FindKeyboardShortcut('q', MF_POPUP, file), 0);
    EXPECT_EQ(CDrawnMenu::FindKeyboardShortcut('x', 0, file), 0);
    // The button hands WM_MENUCHAR of its menus to the menu.
    EXPECT_EQ(button.SendMessage(
                  WM_MENUCHAR, MAKEWPARAM('s', MF_POPUP), reinterpret_cast<LPARAM>(file->GetSafeHmenu())),
        MAKELONG(1, MNC_EXECUTE));
}

TEST_F(DrawnMenuTest, ItemSizesFollowTheImageSize)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    // Flat look with 3-D images: pad 7.
    EXPECT_EQ(ItemHeight(0), std::max(GetSystemMetrics(SM_CYMENU), 15 + 7));
    EXPECT_EQ(ItemHeight(2), std::max(GetSystemMetrics(SM_CYMENU) / 2, (15 + 7) / 2));
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd(), TRUE, kMenuId, 16, 15), kIconButtonOk);
    EXPECT_EQ(File()->GetIconSize(), CSize(32, 32));
    EXPECT_EQ(ItemHeight(0), 32 + 7);
}

TEST_F(DrawnMenuTest, ToolbarImagesGoToTheItemsAndTheSharedList)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd(), TRUE, kMenuId, 16, 15), kIconButtonOk);
    const std::vector<UINT>& shared = CDrawnMenu::SharedCommands();
    for (UINT command : { kOpen, kSaveAs, kExit })
        EXPECT_NE(std::find(shared.begin(), shared.end(), command), shared.end()) << command;
    const CDrawnMenuItemInfo* open = File()->GetItemInfo(0);
    ASSERT_TRUE(open->m_ownImages);
    // The image and its faded and shadow copies.
    EXPECT_EQ(open->m_ownImages->GetImageCount(), 3);
    EXPECT_EQ(open->m_ownOffset, 0);
}

TEST_F(DrawnMenuTest, MissingResourcesFailWithCodeOne)
{
    EXPECT_EQ(button.SetPopupMenu(59997, owner.GetSafeHwnd()), kIconButtonInvalidResource);
    EXPECT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd(), TRUE, 59997), kIconButtonInvalidResource);
    EXPECT_EQ(button.GetPopupMenu().GetSafeHmenu(), nullptr);
    EXPECT_EQ(button.SetPopupMenu(0, nullptr), kIconButtonOk);
}

TEST_F(DrawnMenuTest, ClickShowsTheMenuAndPostsTheChoice)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    PopupMenuScript::Push(kSaveAs);
    Click(button.GetSafeHwnd(), CPoint(5, 5));
    const std::vector<PopupMenuRecord> records = PopupMenuScript::Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].menu, File()->GetSafeHmenu());
    EXPECT_EQ(records[0].owner, button.GetSafeHwnd());
    EXPECT_EQ(records[0].flags, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD);
    CRect window;
    button.GetWindowRect(&window);
    EXPECT_EQ(records[0].at.x, window.left);
    EXPECT_EQ(records[0].at.y, window.bottom);
    EXPECT_TRUE(PumpUntil([&] { return owner.Count(kSaveAs, 0) == 1; }));
}

TEST_F(DrawnMenuTest, TypedCharacterChoosesThroughMenuChar)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    PopupMenuScript::PushKey('s');
    Click(button.GetSafeHwnd(), CPoint(5, 5));
    EXPECT_TRUE(PumpUntil([&] { return owner.Count(kSaveAs, 0) == 1; }));
    PopupMenuScript::PushKey('q');
    Click(button.GetSafeHwnd(), CPoint(5, 5));
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(owner.m_commands.size(), 3u); // two clicks and one choice
}

TEST_F(DrawnMenuTest, FlatLookColours)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd()), kIconButtonOk);
    Canvas popup(Render(1));
    ASSERT_GT(popup.Width(), 0);
    const int right = popup.Width() - 3;
    const int top1 = 3 + ItemHeight(0);
    // Item 0 at rest: the image column and the window colour.
    EXPECT_EQ(popup.At(5, 4), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(popup.At(right - 3, 4), GetSysColor(COLOR_WINDOW));
    // Item 1 selected: the light selection colour framed in the highlight colour.
    // COLOR_HIGHLIGHT (10, 36, 106) lightened by 0.7.
    EXPECT_EQ(popup.At(right - 3, top1 + 2), RGB(181, 189, 210));
    EXPECT_EQ(popup.At(3, top1 + 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(popup.At(right - 1, top1 + 2), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(DrawnMenuTest, ClassicLookColours)
{
    ASSERT_EQ(button.SetPopupMenu(kMenuId, owner.GetSafeHwnd(), FALSE), kIconButtonOk);
    Canvas popup(Render(0));
    ASSERT_GT(popup.Width(), 0);
    const int right = popup.Width() - 3;
    EXPECT_EQ(popup.At(right - 2, 3 + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(popup.At(right - 2, 3 + ItemHeight(0) + 2), GetSysColor(COLOR_BTNFACE));
}

} // namespace
