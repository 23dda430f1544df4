// The main window as a user meets it: which view routes the commands after a
// click, fly-by prompts and tooltips, the lock-key indicators, the tray icon.

#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/menu.h"
#include "platform/wnd/desktop/tray.h"
#include "resources/calvorn_ids.h"
#include "tests/shell/shell_fixture.h"

namespace {

class FrameUseTest : public ShellTest {
protected:
    void SetUp() override { ASSERT_TRUE(StartUp()); }
    void TearDown() override { ClearKeyStateOverrides(); }

    // A left click as the frame sees it before the window does.
    void ClickOn(CWnd& window)
    {
        MSG msg;
        msg.hwnd = window.GetSafeHwnd();
        msg.message = WM_LBUTTONDOWN;
        Frame()->PreTranslateMessage(&msg);
    }

    bool IsEnabledInMenu(int popup, UINT id)
    {
        HMENU menu = ::GetSubMenu(*Frame()->GetMenu(), popup);
        Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return !(::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    }

    // Ctrl+O through the frame's accelerators; TRUE when the open dialog ran.
    bool CtrlOOpensTheDialog()
    {
        FileDialogScript::PushCancel();
        const size_t before = FileDialogScript::Records().size();
        SetKeyStateOverride(VK_CONTROL, TRUE);
        MSG msg;
        msg.hwnd = LeftPane()->GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = 'O';
        Frame()->PreTranslateMessage(&msg);
        SetKeyStateOverride(VK_CONTROL, FALSE);
        AfxPumpUntil([] { return false; }, 50);
        return FileDialogScript::Records().size() > before;
    }

    CString StatusText() const { return Frame()->m_wndStatusBar.GetPaneText(0); }
};

TEST_F(FrameUseTest, ClickOnTheRightSplitterBarKeepsTheCommandsRouted)
{
    CRightCotainerView* right = Frame()->GetRightContainerView();
    ASSERT_NE(right, nullptr);
    ClickOn(*LeftPane());
    ASSERT_EQ(Frame()->GetActiveView(), LeftPane());
    // The bar between the work panes belongs to the right container's splitter.
    ClickOn(right->m_wndSplitter);
    EXPECT_EQ(Frame()->GetActiveView(), LeftPane());
    ClickOn(*right);
    EXPECT_EQ(Frame()->GetActiveView(), LeftPane());
    EXPECT_TRUE(IsEnabledInMenu(0, ID_FILE_OPEN));
    EXPECT_TRUE(IsEnabledInMenu(0, ID_ACCESS_TO_EXCEL));
    EXPECT_TRUE(CtrlOOpensTheDialog());
    // The work panes themselves become active as before.
    ClickOn(*WorkScreen());
    EXPECT_EQ(Frame()->GetActiveView(), static_cast<CView*>(WorkScreen()));
    ClickOn(right->m_wndSplitter);
    EXPECT_EQ(Frame()->GetActiveView(), static_cast<CView*>(WorkScreen()));
    ClickOn(*LabelView());
    EXPECT_EQ(Frame()->GetActiveView(), static_cast<CView*>(LabelView()));
}

TEST_F(FrameUseTest, MenuItemsPutTheirPromptsIntoTheStatusBar)
{
    EXPECT_EQ(StatusText(), "준비");
    HMENU file = ::GetSubMenu(*Frame()->GetMenu(), 0);
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, 0), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(), "기존 문서를 엽니다.");
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_APP_EXIT, 0), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(), "응용 프로그램을 끝냅니다.");
    // A command without a prompt empties the pane; closing the menu brings back the idle text.
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_ACCESS_TO_EXCEL, 0), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(), "");
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), "준비");
}

TEST_F(FrameUseTest, ToolBarButtonsShowTipAndPromptWhileHovered)
{
    CToolBar& bar = Frame()->m_wndToolBar;
    const struct {
        UINT id;
        const char* tip;
        const char* prompt;
    } cases[] = {
        { ID_FILE_OPEN, "열기", "기존 문서를 엽니다." },
        { ID_APP_ABOUT, "정보", "프로그램 정보, 버전 번호, 저작권을 표시합니다." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CRect rect;
        bar.GetItemRect(bar.CommandToIndex(c.id), &rect);
        bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
        EXPECT_EQ(bar.GetHoverIndex(), bar.CommandToIndex(c.id));
        EXPECT_EQ(bar.GetHoverTip(), c.tip);
        EXPECT_EQ(StatusText(), c.prompt);
    }
    bar.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar.GetHoverIndex(), -1);
    EXPECT_EQ(bar.GetHoverTip(), "");
    EXPECT_EQ(StatusText(), "준비");
}

TEST_F(FrameUseTest, LockIndicatorsFollowTheLockKeys)
{
    CStatusBar& bar = Frame()->m_wndStatusBar;
    const struct {
        int key;
        int pane;
        const char* text;
    } locks[] = { { 0x14, 1, "CAP" }, { 0x90, 2, "NUM" }, { 0x91, 3, "SCRL" } };
    for (const auto& lock : locks) {
        SCOPED_TRACE(lock.text);
        for (bool on : { true, false }) {
            ClearKeyStateOverrides();
            SetKeyToggleOverride(lock.key, on);
            EXPECT_EQ(GetKeyState(lock.key) & 1, on ? 1 : 0);
            bar.OnUpdateCmdUI(Frame(), FALSE);
            for (const auto& other : locks)
                EXPECT_EQ(bar.GetPaneText(other.pane), on && other.key == lock.key ? other.text : "");
        }
    }
}

TEST_F(FrameUseTest, TrayIconUsesIcon199AsTheFramesBigIcon)
{
    EXPECT_FALSE(Frame()->IsInTray());
    EXPECT_EQ(Frame()->GetIcon(TRUE), nullptr);
    Frame()->AddTrayIcon();
    EXPECT_TRUE(Frame()->IsInTray());
    ASSERT_NE(Frame()->GetTrayIcon(), nullptr);
    EXPECT_EQ(Frame()->GetIcon(TRUE), Frame()->GetTrayIcon());
    EXPECT_FALSE(Frame()->IsWindowVisible());
    const std::vector<TrayIconRecord> icons = AfxGetTrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].id, 199u);
    Frame()->SendMessage(WM_TRAY_NOTIFY, 199, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Frame()->IsWindowVisible());
}

} // namespace

TEST_F(FrameUseTest, AltAndAMenusLetterOpensItAndTheItemsLettersChoose)
{
    PopupMenuScript::Enable();
    PopupMenuScript::Reset();
    FileDialogScript::PushCancel();
    FileDialogScript::PushCancel();
    const HMENU bar = *Frame()->GetMenu();
    struct Case {
        UINT vk;
        int popup; // the menu that opens, -1 none
        UINT letter; // typed in it, 0 Escape
        const char* dialog; // the file dialog the chosen command shows, or nullptr
        bool untyped = false; // the system gives the key no text
    };
    const Case cases[] = {
        { 'F', 0, 'o', "ItemDB File Open" }, // "File(&F)", "Open(&O)..."
        { 'F', 0, 'o', "ItemDB File Open", true }, { 'F', 0, 0, nullptr },
        { 'V', 3, 0, nullptr }, // "View(&V)"
        { 'I', -1, 0, nullptr }, // "Item_Option" marks no letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.vk));
        PopupMenuScript::Reset();
        if (c.letter)
            PopupMenuScript::PushKey(c.letter);
        const size_t dialogs = FileDialogScript::Records().size();
        const char typed[] = { c.untyped ? '\0' : static_cast<char>(c.vk + 'a' - 'A'), 0 };
        ASSERT_TRUE(AfxSimulateKey(CategoryTree().GetSafeHwnd(), c.vk, typed, FALSE, FALSE, TRUE));
        const std::vector<PopupMenuRecord> shown = PopupMenuScript::Records();
        ASSERT_EQ(shown.size(), c.popup < 0 ? 0u : 1u);
        if (c.popup >= 0) {
            EXPECT_EQ(shown[0].menu, ::GetSubMenu(bar, c.popup));
        }
        ASSERT_EQ(FileDialogScript::Records().size(), dialogs + (c.dialog ? 1 : 0));
        if (c.dialog) {
            EXPECT_EQ(FileDialogScript::Records().back().title, c.dialog);
        }
    }
    PopupMenuScript::Disable();
    PopupMenuScript::Reset();
}
