// The owner-drawn menu's item operations, its shared images, the off-screen
// context of its disabled items and the font of its item texts.

#include <algorithm>
#include <memory>

#include "controls/drawn_menu.h"
#include "controls/offscreen_dc.h"
#include "controls_test_util.h"
#include "platform/base/resource_script.h"
#include "platform/gdi/font.h"
#include "platform/gdi/icon.h"

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 16 x 15 image list of one image filled with color.
void MakeList(CImageList& list, COLORREF color)
{
    list.Create(16, 15, ILC_COLOR32 | ILC_MASK, 1, 1);
    CBitmap bitmap;
    bitmap.CreateBitmap(16, 15, 1, 32, nullptr);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 16, 15, color);
        dc.SelectObject(old);
    }
    list.Add(&bitmap, RGB(255, 0, 255));
}

bool IsShared(UINT command)
{
    const std::vector<UINT>& shared = CDrawnMenu::SharedCommands();
    return std::find(shared.begin(), shared.end(), command) != shared.end();
}

int SharedIndex(UINT command)
{
    const std::vector<UINT>& shared = CDrawnMenu::SharedCommands();
    auto it = std::find(shared.begin(), shared.end(), command);
    return it == shared.end() ? -1 : static_cast<int>(it - shared.begin());
}

// The colour of image index of list, drawn on white.
COLORREF ImageColor(CImageList* list, int index)
{
    Canvas canvas(16, 15);
    list->Draw(&canvas.Dc(), index, CPoint(0, 0), ILD_TRANSPARENT);
    return canvas.At(8, 7);
}

std::vector<CString> Texts(CDrawnMenu& menu)
{
    std::vector<CString> texts;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i)
        texts.push_back(menu.GetItemInfo(static_cast<UINT>(i))->GetString());
    return texts;
}

TEST(DrawnMenuItems, InsertAtAPositionOrBeforeACommand)
{
    CDrawnMenu menu;
    ASSERT_TRUE(menu.AppendItem("A", MF_OWNERDRAW, 8101));
    ASSERT_TRUE(menu.AppendItem("B", MF_OWNERDRAW, 8102));
    ASSERT_TRUE(menu.InsertItem(8102, "X", MF_OWNERDRAW, 8103));
    ASSERT_TRUE(menu.InsertItem(0, "Y", MF_OWNERDRAW | MF_BYPOSITION, 8104));
    EXPECT_FALSE(menu.InsertItem(8999, "Z", MF_OWNERDRAW, 8105)) << "no such command";
    EXPECT_EQ(Texts(menu), (std::vector<CString> { "Y", "A", "X", "B" }));
    EXPECT_EQ(menu.GetMenuItemID(2), 8103u);
    EXPECT_TRUE(menu.GetMenuState(2, MF_BYPOSITION) & MF_OWNERDRAW);
    // A separator inserted before a command.
    ASSERT_TRUE(menu.InsertItem(8102, "", MF_OWNERDRAW, 0));
    EXPECT_TRUE(menu.GetItemInfo(3)->m_flags & MF_SEPARATOR);
    EXPECT_EQ(menu.GetMenuItemID(4), 8102u);
}

TEST(DrawnMenuItems, InsertWithAnImageListGivesTheItemItsImage)
{
    CDrawnMenu menu;
    CImageList red;
    MakeList(red, kRed);
    ASSERT_TRUE(menu.AppendItem("A", MF_OWNERDRAW, 8201));
    ASSERT_TRUE(menu.InsertItem(8201, "Red", MF_OWNERDRAW, 8202, &red, 0));
    ASSERT_EQ(menu.GetMenuItemID(0), 8202u);
    const CDrawnMenuItemInfo* info = menu.GetItemInfo(0);
    ASSERT_TRUE(info->m_ownImages);
    EXPECT_EQ(info->m_ownOffset, 0);
    EXPECT_EQ(ImageColor(info->m_ownImages.get(), 0), kRed);
    ASSERT_TRUE(IsShared(8202));
    EXPECT_EQ(info->m_sharedOffset, SharedIndex(8202));
    EXPECT_EQ(ImageColor(CDrawnMenu::SharedImages(), info->m_sharedOffset), kRed);
    menu.DeleteItem(8202, MF_BYCOMMAND);
}

TEST(DrawnMenuItems, WideTextFormsMatchTheNarrowOnes)
{
    CDrawnMenu menu;
    ASSERT_TRUE(menu.AppendItem(L"설정", MF_OWNERDRAW, 8301));
    ASSERT_TRUE(menu.AppendItem("끝", MF_OWNERDRAW, 8302));
    ASSERT_TRUE(menu.InsertItem(8302, L"À propos", MF_OWNERDRAW, 8303));
    CDrawnMenu* sub = menu.AppendPopup(L"보기");
    ASSERT_NE(sub, nullptr);
    const HMENU subHandle = sub->GetSafeHmenu();
    EXPECT_TRUE(CDrawnMenu::IsMenu(subHandle));
    EXPECT_EQ(Texts(menu), (std::vector<CString> { "설정", "À propos", "끝", "보기" }));
    EXPECT_EQ(menu.GetMenuPosition(L"끝"), 2);
    EXPECT_EQ(menu.GetMenuPosition("끝"), 2);
    EXPECT_EQ(menu.GetMenuPosition(L"없음"), -1);
    EXPECT_EQ(menu.GetSubDrawnMenu(L"보기"), sub);
    EXPECT_TRUE(menu.ModifyItem(L"설정…", L"설정", -1));
    EXPECT_EQ(menu.GetItemInfo(0)->GetString(), "설정…");
    EXPECT_TRUE(menu.ModifyItem(L"Einstellungen", 8301));
    EXPECT_EQ(menu.GetItemInfo(0)->GetString(), "Einstellungen");
    EXPECT_TRUE(menu.RemoveItem(L"끝"));
    EXPECT_TRUE(menu.DeleteItem(L"보기"));
    EXPECT_FALSE(menu.DeleteItem(L"보기"));
    EXPECT_EQ(Texts(menu), (std::vector<CString> { "Einstellungen", "À propos" }));
    EXPECT_FALSE(CDrawnMenu::IsMenu(subHandle));
}

TEST(DrawnMenuItems, RemovingAnItemDropsItsSharedImage)
{
    CDrawnMenu menu;
    CImageList red;
    CImageList green;
    MakeList(red, kRed);
    MakeList(green, kGreen);
    ASSERT_TRUE(menu.AppendItem("Red", MF_OWNERDRAW, 8401, &red, 0));
    ASSERT_TRUE(menu.AppendItem("Green", MF_OWNERDRAW, 8402, &green, 0));
    ASSERT_TRUE(menu.AppendItem("Plain", MF_OWNERDRAW, 8403));
    const int images = CDrawnMenu::SharedImages()->GetImageCount();
    ASSERT_TRUE(IsShared(8401) && IsShared(8402));

    // By command id: the image goes, the later images move up and the other
    // item still shows its own colour through the shared list.
    ASSERT_TRUE(menu.RemoveItem(8401, MF_BYCOMMAND));
    EXPECT_FALSE(IsShared(8401));
    EXPECT_EQ(CDrawnMenu::SharedImages()->GetImageCount(), images - 1);
    const CDrawnMenuItemInfo* info = menu.GetItemInfo(0);
    EXPECT_EQ(info->GetString(), "Green");
    EXPECT_EQ(info->m_sharedOffset, SharedIndex(8402));
    EXPECT_EQ(ImageColor(CDrawnMenu::SharedImages(), info->m_sharedOffset), kGreen);

    // By text, with delete.
    ASSERT_TRUE(menu.DeleteItem("Green"));
    EXPECT_FALSE(IsShared(8402));
    EXPECT_EQ(CDrawnMenu::SharedImages()->GetImageCount(), images - 2);
    EXPECT_EQ(Texts(menu), (std::vector<CString> { "Plain" }));
    EXPECT_FALSE(menu.RemoveItem(8999, MF_BYCOMMAND));
    EXPECT_FALSE(menu.RemoveItem(5, MF_BYPOSITION));
}

TEST(DrawnMenuItems, ACommandShownTwiceKeepsItsImageUntilTheLastGoes)
{
    CDrawnMenu first;
    CDrawnMenu second;
    CImageList red;
    MakeList(red, kRed);
    ASSERT_TRUE(first.AppendItem("Red", MF_OWNERDRAW, 8501, &red, 0));
    ASSERT_TRUE(second.AppendItem("Red too", MF_OWNERDRAW, 8501, &red, 0));
    ASSERT_TRUE(first.DeleteItem(0, MF_BYPOSITION));
    EXPECT_TRUE(IsShared(8501));
    ASSERT_TRUE(second.DeleteItem(0, MF_BYPOSITION));
    EXPECT_FALSE(IsShared(8501));
}

TEST(DrawnMenuItems, ImageIndexTakesTheImageFromTheToolbarStrip)
{
    ASSERT_TRUE(AfxAddResourceScript(R"(
TOOLBAR 8601 32 32 BITMAP 146
  BUTTON 8611
  BUTTON 8612
  BUTTON 8613
END
)",
        "drawn_menu_items_test"));
    CDrawnMenu menu;
    ASSERT_TRUE(menu.AppendItem("Anchor", MF_OWNERDRAW, 8611));
    ASSERT_TRUE(menu.LoadToolbar(8601));
    ASSERT_EQ(menu.GetIconSize(), CSize(32, 32));
    ASSERT_TRUE(menu.AppendItem("Second image", MF_OWNERDRAW, 8620, 1));
    ASSERT_TRUE(menu.AppendItem("Past the strip", MF_OWNERDRAW, 8621, 9));
    const CDrawnMenuItemInfo* info = menu.GetItemInfo(1);
    ASSERT_TRUE(IsShared(8620));
    EXPECT_EQ(info->m_sharedOffset, SharedIndex(8620));
    EXPECT_EQ(info->m_normalIndex, 1);
    EXPECT_FALSE(IsShared(8621));
    EXPECT_EQ(menu.GetItemInfo(2)->m_sharedOffset, -1);

    // The shared image is the strip's second image (bitmap 146 cut 32 pixels
    // wide), not its first.
    CImageList strip;
    ASSERT_TRUE(strip.Create(146, 32, 1, RGB(212, 208, 200)));
    // In an image list of the shared list's image size.
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(CDrawnMenu::SharedImages()->GetIconSize(&cx, &cy));
    const auto render = [cx, cy](CImageList& source, int index) {
        // Through a list of the menu's image size (32 x 32) into one of the
        // shared list's size.
        CImageList menuSize;
        menuSize.Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
        HICON icon = source.ExtractIcon(index);
        menuSize.Add(icon);
        DestroyIcon(icon);
        CImageList one;
        one.Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
        icon = menuSize.ExtractIcon(0);
        one.Add(icon);
        DestroyIcon(icon);
        auto canvas = std::make_unique<Canvas>(32, 32, RGB(1, 2, 3));
        one.Draw(&canvas->Dc(), 0, CPoint(0, 0), ILD_TRANSPARENT);
        return canvas;
    };
    auto second = render(strip, 1);
    auto first = render(strip, 0);
    Canvas drawn(32, 32, RGB(1, 2, 3));
    CDrawnMenu::SharedImages()->Draw(&drawn.Dc(), info->m_sharedOffset, CPoint(0, 0), ILD_TRANSPARENT);
    int same = 0;
    int differentFromFirst = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            same += drawn.At(x, y) == second->At(x, y);
            differentFromFirst += drawn.At(x, y) != first->At(x, y);
        }
    EXPECT_EQ(same, 32 * 32);
    EXPECT_GT(differentFromFirst, 5);
    menu.DestroyMenu();
}

TEST(MenuOffscreenDC, DrawsIntoItsRectangleAndCopiesItBackAtTheEnd)
{
    Canvas target(100, 60);
    {
        COffscreenDC off(&target.Dc(), CRect(10, 10, 50, 30), OffscreenFill::None);
        // Logical coordinates of the target.
        off.FillSolidRect(10, 10, 40, 20, kGreen);
        off.FillSolidRect(20, 15, 10, 10, kRed);
        EXPECT_EQ(target.At(25, 20), kWhite) << "nothing reaches the target before the end";
    }
    EXPECT_EQ(target.At(25, 20), kRed);
    EXPECT_EQ(target.At(10, 10), kGreen);
    EXPECT_EQ(target.At(49, 29), kGreen);
    EXPECT_EQ(target.At(50, 30), kWhite);
    EXPECT_EQ(target.At(9, 9), kWhite);
}

TEST(MenuOffscreenDC, FillsNothingItself)
{
    Canvas target(60, 40);
    target.Dc().SetBkColor(kGreen);
    {
        COffscreenDC off(&target.Dc(), CRect(0, 0, 60, 40), OffscreenFill::None);
        off.SetPixel(5, 5, kRed);
    }
    EXPECT_EQ(target.At(5, 5), kRed);
    EXPECT_EQ(target.Count(kGreen), 0) << "the target's background colour is not used";
}

// An item drawn on a DC that holds a 40-pixel font: the text is in the menu
// font, so it fits the 24-pixel item; disabled flat items too, which go
// through the off-screen context.
class DrawnMenuTextTest : public ::testing::TestWithParam<std::tuple<UINT, bool>> {
protected:
    void TearDown() override { CDrawnMenu::SetMenuDrawMode(CDrawnMenu::kFlatLook); }
};

TEST_P(DrawnMenuTextTest, ItemTextIsInTheMenuFont)
{
    const auto [look, disabled] = GetParam();
    CDrawnMenu::SetMenuDrawMode(look);
    CDrawnMenu menu;
    ASSERT_TRUE(menu.AppendItem("WWWW gggg", MF_OWNERDRAW, 8701));
    Canvas canvas(300, 60, RGB(1, 2, 3));
    LOGFONT big {};
    big.lfHeight = -40;
    big.lfWeight = 700;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&big));
    CFont* old = canvas.Dc().SelectObject(&font);
    DRAWITEMSTRUCT item {};
    item.CtlType = ODT_MENU;
    item.itemID = 8701;
    item.itemState = disabled ? ODS_GRAYED : 0;
    item.hDC = canvas.Dc().GetSafeHdc();
    item.rcItem = CRect(0, 18, 300, 42);
    item.itemData = reinterpret_cast<UINT_PTR>(menu.GetItemInfo(0));
    menu.DrawItem(&item);
    canvas.Dc().SelectObject(old);
    // Everything inside the item's rectangle; the text's ink a few pixels high.
    EXPECT_EQ(canvas.Ink(RGB(1, 2, 3)), CRect(0, 18, 300, 42));
    const COLORREF background = canvas.At(295, 20);
    const CRect text = canvas.Ink(background, CRect(60, 18, 290, 42));
    ASSERT_FALSE(text.IsRectEmpty());
    EXPECT_LT(text.Height(), 20);
    EXPECT_LT(text.Width(), 150);
}

INSTANTIATE_TEST_SUITE_P(Looks, DrawnMenuTextTest,
    ::testing::Combine(
        ::testing::Values(CDrawnMenu::kFlatLook, CDrawnMenu::kClassicLook), ::testing::Bool()));

} // namespace
