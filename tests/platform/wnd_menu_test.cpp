#include <gtest/gtest.h>

#include "platform/base/resource_script.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/menu.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

// An owner that records its owner-draw messages and may leave them to the menu.
class CMenuOwner : public CWnd {
public:
    bool m_handles = true;
    int m_measured = 0;
    int m_drawn = 0;
    int m_initPopup = 0;
    UINT m_command = 0;
    UINT_PTR m_lastData = 0;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&CMenuOwner::OnMeasure>(WM_MEASUREITEM),
                OnMessage<&CMenuOwner::OnDraw>(WM_DRAWITEM),
                OnMessage<&CMenuOwner::OnInit>(WM_INITMENUPOPUP),
            });
        return &kMap;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_command = LOWORD(wParam);
        return TRUE;
    }
    LRESULT OnMeasure(WPARAM, LPARAM lParam)
    {
        if (!m_handles)
            return Default();
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        ++m_measured;
        m_lastData = measure->itemData;
        measure->itemWidth = 50;
        measure->itemHeight = 20;
        return TRUE;
    }
    LRESULT OnDraw(WPARAM, LPARAM lParam)
    {
        if (!m_handles)
            return Default();
        ++m_drawn;
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        EXPECT_EQ(draw->CtlType, ODT_MENU);
        return TRUE;
    }
    LRESULT OnInit(WPARAM, LPARAM)
    {
        ++m_initPopup;
        return 0;
    }
};

class CSizedMenu : public CMenu {
public:
    int m_drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override
    {
        measure->itemWidth = 70;
        measure->itemHeight = 30;
    }
    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        ++m_drawn;
        CDC::FromHandle(draw->hDC)->FillSolidRect(
            &draw->rcItem, (draw->itemState & ODS_SELECTED) ? RGB(0, 0, 255) : RGB(0, 255, 0));
    }
};

TEST(Menu, ItemsByCommandAndPosition)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 10, "&Open"));
    EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING | MF_GRAYED, 12, "E&xit"));
    EXPECT_TRUE(menu.InsertMenu(12, MF_BYCOMMAND | MF_STRING, 11, "&Save"));
    ASSERT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuItemID(2), 11u);
    EXPECT_EQ(menu.GetMenuItemID(1), 0u);
    EXPECT_TRUE(menu.GetMenuState(12, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(99, MF_BYCOMMAND), static_cast<UINT>(-1));
    CString text;
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, "&Save");
    EXPECT_EQ(menu.CheckMenuItem(10, MF_CHECKED), 0u);
    EXPECT_EQ(menu.CheckMenuItem(10, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(12, MF_ENABLED), MF_GRAYED);
    EXPECT_TRUE(menu.ModifyMenu(11, MF_BYCOMMAND | MF_STRING, 13, "Save &As"));
    EXPECT_EQ(menu.GetMenuItemID(2), 13u);
    EXPECT_TRUE(menu.RemoveMenu(1, MF_BYPOSITION));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_FALSE(menu.DeleteMenu(99, MF_BYCOMMAND));
}

TEST(Menu, SubmenusAreFoundAndDestroyedWithTheirMenu)
{
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 100, "&New");
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File"));
    EXPECT_FALSE(bar.AppendMenu(MF_POPUP, 12345, "Stale"));
    EXPECT_EQ(bar.GetSubMenu(0)->GetSafeHmenu(), file);
    EXPECT_EQ(bar.GetMenuItemID(0), static_cast<UINT>(-1));
    EXPECT_EQ(bar.GetMenuState(0, MF_BYPOSITION) >> 8, 1u);
    // By command, submenus are searched too.
    EXPECT_EQ(bar.CheckMenuItem(100, MF_CHECKED), 0u);
    EXPECT_TRUE(GetMenuState(file, 100, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(CMenu::FromHandlePermanent(file), nullptr);
    EXPECT_NE(CMenu::FromHandle(file), nullptr);
    bar.DestroyMenu();
    EXPECT_FALSE(IsMenu(file));
    EXPECT_EQ(CMenu::FromHandle(file), nullptr);
}

TEST(Menu, LoadMenuFromTheScripts)
{
    ASSERT_TRUE(AfxAddResourceScript(R"(
MENU 6100
  POPUP "&View"
    ITEM 6101 "&Toolbar" CHECKED
    SEPARATOR
    ITEM 6102 "&Status bar"
  END
END
)",
        "menu_test"));
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(6100));
    CMenu* view = menu.GetSubMenu(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetMenuItemCount(), 3);
    EXPECT_TRUE(view->GetMenuState(6101, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(view->GetMenuState(1, MF_BYPOSITION) & MF_SEPARATOR);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(6199));
}

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PopupMenuScript::Enable();
        PopupMenuScript::Reset();
        ASSERT_TRUE(
            owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(10, 10, 200, 200), nullptr, 0));
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_OWNERDRAW, 301, reinterpret_cast<LPCTSTR>(0x1234));
        menu.AppendMenu(MF_OWNERDRAW, 302, reinterpret_cast<LPCTSTR>(0x5678));
    }
    void TearDown() override
    {
        PopupMenuScript::Reset();
        PopupMenuScript::Disable();
        owner.DestroyWindow();
    }
    CMenuOwner owner;
    CSizedMenu menu;
};

TEST_F(TrackTest, ReturnsOrPostsTheScriptedChoice)
{
    PopupMenuScript::Push(302);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 40, 50, &owner), 302);
    EXPECT_EQ(owner.m_initPopup, 0);
    EXPECT_EQ(owner.m_command, 0u);
    PopupMenuScript::Push(301);
    EXPECT_TRUE(menu.TrackPopupMenu(0, 40, 50, &owner));
    EXPECT_EQ(owner.m_initPopup, 1);
    EXPECT_TRUE(PumpUntil([&] { return owner.m_command == 301; }));
    // Dismissed: nothing chosen.
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 40, 50, &owner), 0);
    const std::vector<PopupMenuRecord> records = PopupMenuScript::Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].at.x, 40);
    EXPECT_EQ(records[0].at.y, 50);
    EXPECT_EQ(records[0].itemCount, 2);
}

TEST_F(TrackTest, OwnerMeasuresAndDrawsItsItems)
{
    menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner);
    EXPECT_EQ(owner.m_measured, 2);
    EXPECT_EQ(owner.m_drawn, 2);
    EXPECT_EQ(owner.m_lastData, 0x5678u);
    EXPECT_EQ(menu.m_drawn, 0);
}

TEST_F(TrackTest, ItemsLeftToTheDefaultAreDrawnByTheMenu)
{
    owner.m_handles = false;
    Canvas rendered(AfxRenderPopupMenu(menu.GetSafeHmenu(), owner.GetSafeHwnd(), 1));
    EXPECT_EQ(rendered.Width(), 70 + GetSystemMetrics(SM_CXMENUCHECK) - 1 + 6);
    EXPECT_EQ(rendered.Height(), 2 * 30 + 6);
    EXPECT_EQ(rendered.At(10, 10), RGB(0, 255, 0));
    EXPECT_EQ(rendered.At(10, 40), RGB(0, 0, 255));
    EXPECT_EQ(menu.m_drawn, 2);
}

} // namespace
