// Start-up: provisioning of the data folder, the automatic administrator
// log-in, the main window's caption, menu bar, bars and panes, and closing.

#include <span>

#include "platform/base/resource.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/keyboard.h"
#include "resources/calvorn_ids.h"
#include "shell/dialog_helpers.h"
#include "shell/screen_table.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/icon_check.h"
#include "tests/support/pixels.h"

namespace {

std::string TemplateBytes(UINT id)
{
    const std::span<const std::uint8_t> bytes = AfxGetResource("MDB", id);
    return std::string(bytes.begin(), bytes.end());
}

struct ProvisionedFile {
    const char* path;
    UINT templateId;
};

constexpr ProvisionedFile kProvisioned[] = {
    { kManagerDatabase, 152 },
    { kScaleSettingsDatabase, 208 },
    { kReservationDatabase, 220 },
    { kSampleDatabaseNt, 150 },
};

// The frame's client area drawn with all its visible children.
class FrameShot : public Snapshot {
public:
    explicit FrameShot(CWnd* frame)
        : Snapshot(*frame, Scope::WithChildren)
        , m_frame(frame)
    { }

    // The window's rectangle in frame client coordinates.
    CRect ToFrame(const CWnd& window) const
    {
        CRect rect;
        window.GetWindowRect(&rect);
        m_frame->ScreenToClient(&rect);
        return rect;
    }

private:
    CWnd* m_frame;
};

// A child's rectangle in its pane's client coordinates.
CRect RectInPane(CWnd* pane, const CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    pane->ScreenToClient(&rect);
    return rect;
}

} // namespace

TEST_F(ShellTest, ProvisioningWritesEachDatabaseFromItsTemplate)
{
    ASSERT_TRUE(StartUp());
    for (const ProvisionedFile& file : kProvisioned) {
        SCOPED_TRACE(file.path);
        const std::string native = m_root.Native(file.path);
        ASSERT_TRUE(TempDataRoot::Exists(native));
        EXPECT_EQ(TempDataRoot::ReadAll(native), TemplateBytes(file.templateId));
    }
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(ShellTest, ProvisioningReplacesAnEmptyFileAndKeepsOneWithContent)
{
    TempDataRoot::WriteAll(m_root.Native(kManagerDatabase), "");
    TempDataRoot::WriteAll(m_root.Native(kReservationDatabase), "kept as it is");
    ASSERT_TRUE(StartUp());
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kManagerDatabase)), TemplateBytes(152));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kReservationDatabase)), "kept as it is");
}

TEST_F(ShellTest, DeletedSampleDatabaseIsWrittenAgainAtTheNextStart)
{
    ASSERT_TRUE(StartUp());
    ShutDown();
    const std::string sample = m_root.Native(kSampleDatabaseNt);
    ASSERT_EQ(std::remove(sample.c_str()), 0);
    m_app.reset();
    m_app = std::make_unique<CCalvornApp>();
    ASSERT_TRUE(StartUp());
    EXPECT_EQ(TempDataRoot::ReadAll(sample), TemplateBytes(150));
}

TEST_F(ShellTest, AdministratorIsLoggedInWithoutQueryOrHint)
{
    ASSERT_TRUE(StartUp());
    CCalvornView* pane = LeftPane();
    EXPECT_EQ(pane->UserId(), "vexo");
    EXPECT_EQ(pane->IsLoggedIn(), 1);
    EXPECT_EQ(pane->IsAdministrator(), 1);
    EXPECT_EQ(CaptionPanel().GetCaption(), "vexo");
    EXPECT_EQ(CaptionPanel().GetTipText(), "vexo");
    EXPECT_FALSE(LoginButton().GetStyle() & WS_VISIBLE);
    EXPECT_EQ(WorkScreen()->m_flag, 1);
    EXPECT_EQ(CategoryTree().GetCount(), 0u);
    EXPECT_TRUE(pane->ItemDatabasePath().IsEmpty());
    // The only hint of the start-up is the framework's initial update (0).
    for (const HintRecord& record : WorkScreen()->m_hints)
        EXPECT_EQ(record.hint, 0);
}

TEST_F(ShellTest, MainWindowHasTheCautionCaptionAndTrimmedMenu)
{
    ASSERT_TRUE(StartUp());
    CString caption;
    Frame()->GetWindowText(caption);
    EXPECT_EQ(caption, "Management Program (Caution) '(single  quotation marks)  Don't Use");
    CMenu* menu = Frame()->GetMenu();
    ASSERT_NE(menu, nullptr);
    const char* expected[] = { "File(&F)", "Item_Option", "Communication Setup", "View(&V)", "Help(&H)" };
    ASSERT_EQ(menu->GetMenuItemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        CString text;
        menu->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        EXPECT_EQ(text, expected[i]);
    }
    // The commands of the removed menus still exist: the server ones are
    // disabled, the user-information change follows the log-in.
    EXPECT_TRUE(Frame()->OnCmdMsg(ID_USER_INFO_CHANGE, CN_COMMAND, nullptr, &caption));
}

TEST_F(ShellTest, PanesHaveTheirSizesAndTheSplitterBorderIsHidden)
{
    ASSERT_TRUE(StartUp());
    CRect left;
    LeftPane()->GetClientRect(&left);
    EXPECT_EQ(left.Width(), 200);
    CRightCotainerView* right = Frame()->GetRightContainerView();
    ASSERT_NE(right, nullptr);
    CRect rightClient;
    right->GetClientRect(&rightClient);
    CRect upper;
    WorkScreen()->GetClientRect(&upper);
    EXPECT_EQ(upper.Height(), std::min(900, rightClient.Height()));
    EXPECT_EQ(upper.Width(), rightClient.Width());
    int current = 0;
    int minimum = 0;
    right->m_wndSplitter.GetRowInfo(0, current, minimum);
    EXPECT_EQ(current, upper.Height());
    // The splitter reaches one 3-D edge past the view on every side.
    CRect splitter;
    right->m_wndSplitter.GetWindowRect(&splitter);
    right->ScreenToClient(&splitter);
    EXPECT_EQ(splitter, CRect(-2, -2, rightClient.right + 2, rightClient.bottom + 2));
    // ... also after the view changes size.
    right->SendMessage(WM_SIZE, 0, MAKELPARAM(300, 500));
    right->m_wndSplitter.GetWindowRect(&splitter);
    right->ScreenToClient(&splitter);
    EXPECT_EQ(splitter.Size(), CSize(304, 504));
    EXPECT_EQ(splitter.TopLeft(), CPoint(-2, -2));
}

TEST_F(ShellTest, SetRowHeightGivesTheScreenToOnePane)
{
    ASSERT_TRUE(StartUp());
    CRightCotainerView* right = Frame()->GetRightContainerView();
    right->SetRowHeight(0, 40);
    CRect upper;
    WorkScreen()->GetClientRect(&upper);
    EXPECT_EQ(upper.Height(), 40);
}

TEST_F(ShellTest, FrameHasToolbarAndStatusBarWithTheirIds)
{
    ASSERT_TRUE(StartUp());
    EXPECT_EQ(Frame()->m_wndToolBar.GetDlgCtrlID(), 0xE800);
    EXPECT_EQ(Frame()->m_wndStatusBar.GetDlgCtrlID(), 0xE801);
    EXPECT_EQ(Frame()->m_wndToolBar.GetCount(), 5);
    EXPECT_EQ(Frame()->m_wndToolBar.GetItemID(0), 57601u);
    EXPECT_EQ(Frame()->m_wndToolBar.GetItemID(2), 32792u);
    EXPECT_EQ(Frame()->m_wndToolBar.GetItemID(4), 57664u);
    EXPECT_EQ(Frame()->m_wndStatusBar.GetCount(), 4);
    EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), "준비");
    // Idle: open is enabled while logged in, 32792 has no handler here.
    m_app->OnIdle(0);
    EXPECT_TRUE(Frame()->m_wndToolBar.IsButtonEnabled(0));
    EXPECT_FALSE(Frame()->m_wndToolBar.IsButtonEnabled(2));
    EXPECT_TRUE(Frame()->m_wndToolBar.IsButtonEnabled(4));
}

TEST_F(ShellTest, MainWindowScreenshotShowsThePanes)
{
    ASSERT_TRUE(StartUp());
    FrameShot shot(Frame());
    ASSERT_TRUE(shot.Ok());
    const CRect pane = shot.ToFrame(*LeftPane());
    // The caption bar's face colour across the top of the left pane, with the
    // administrator's id written on it.
    EXPECT_EQ(shot.At(pane.left + 100, pane.top + 9), RGB(192, 198, 216));
    EXPECT_GT(
        shot.CountOther(RGB(192, 198, 216), CRect(pane.left, pane.top, pane.left + 60, pane.top + 18)), 10);
    // After the automatic log-in the button is hidden: its place shows the
    // pane's own background.
    const COLORREF background = shot.At(pane.left + 5, pane.top + 60);
    EXPECT_EQ(
        shot.CountOther(background, CRect(pane.left + 20, pane.top + 20, pane.left + 150, pane.top + 100)),
        0);
    // The empty tree: visible at (10, 100), reaching 10 pixels past the pane.
    CCalvornView* left = LeftPane();
    ASSERT_TRUE(CategoryTree().GetSafeHwnd());
    EXPECT_TRUE(CategoryTree().IsWindowVisible());
    CRect client;
    left->GetClientRect(&client);
    EXPECT_EQ(RectInPane(left, CategoryTree()), CRect(10, 100, client.right + 10, client.bottom));
    EXPECT_TRUE(CaptionPanel().IsWindowVisible());
    EXPECT_EQ(RectInPane(left, CaptionPanel()), CRect(0, 0, client.right, 18));
    // Toolbar and status bar are on screen with their texts and images.
    for (CWnd* bar :
        { static_cast<CWnd*>(&Frame()->m_wndToolBar), static_cast<CWnd*>(&Frame()->m_wndStatusBar) }) {
        EXPECT_TRUE(bar->IsWindowVisible());
        const CRect area = shot.ToFrame(*bar);
        EXPECT_GT(area.Height(), 10);
        EXPECT_GT(shot.CountOther(shot.At(area.right - 3, area.top + area.Height() / 2), area), 20);
    }
    EXPECT_TRUE(shot.Save((m_root.Root() + "/calvorn_main_window.png").c_str()));
}

TEST_F(ShellTest, LogInButtonShowsItsIconAndTextWhereItIsPlaced)
{
    ASSERT_TRUE(StartUp());
    CCalvornView* pane = LeftPane();
    CIconButton& button = LoginButton();
    ASSERT_TRUE(button.GetSafeHwnd());
    EXPECT_EQ(button.GetDlgCtrlID(), 201);
    EXPECT_EQ(RectInPane(pane, button), CRect(20, 20, 150, 100));
    EXPECT_TRUE(button.IsTransparentMode());
    CString text;
    button.GetWindowText(text);
    EXPECT_EQ(text, "Log-in");
    // Hidden by the automatic log-in; shown, it paints over the pane.
    button.ShowWindow(SW_SHOW);
    EXPECT_TRUE(button.IsWindowVisible());
    FrameShot shot(Frame());
    ASSERT_TRUE(shot.Ok());
    const CRect area = shot.ToFrame(button);
    const COLORREF background = shot.At(area.left - 15, area.top + 40);
    // The 32-pixel icon at the left edge, vertically centred; the text right of it.
    const CRect icon(area.left + 3, area.top + 24, area.left + 35, area.top + 56);
    const CRect caption(area.left + 35, area.top, area.right, area.bottom);
    EXPECT_GT(shot.CountOther(background, icon), 100);
    EXPECT_GT(shot.CountOther(background, caption), 20);
    EXPECT_TRUE(shot.Save((m_root.Root() + "/calvorn_login_button.png").c_str()));
}

TEST_F(ShellTest, ClosingAsksAndClosesOnlyOnYes)
{
    ASSERT_TRUE(StartUp());
    MessageBoxScript::PushAnswer(IDNO);
    Frame()->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Quits the application?");
    EXPECT_EQ(MessageBoxScript::Records()[0].caption, "Quit");
    EXPECT_EQ(MessageBoxScript::Records()[0].type & MB_TYPEMASK, MB_YESNO);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(IsWindow(Frame()->GetSafeHwnd()));

    // While a transfer runs the question says so: a scale may be left empty.
    WorkScreen()->m_transfers = 1;
    MessageBoxScript::PushAnswer(IDNO);
    Frame()->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(MessageBoxScript::Count(), 2u);
    EXPECT_NE(MessageBoxScript::Records()[1].text.Find("transfer to the scales is still running"), -1);
    EXPECT_NE(MessageBoxScript::Records()[1].text.Find("Quits the application?"), -1);
    WorkScreen()->m_transfers = 0;

    MessageBoxScript::PushAnswer(IDYES);
    m_app->m_pMainWnd->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(MessageBoxScript::Count(), 3u);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    // The loop ends: the quit request is waiting for it.
    EXPECT_EQ(AfxRunMessageLoop(), 0);
}

TEST_F(ShellTest, CtrlSHasNoEffect)
{
    ASSERT_TRUE(StartUp());
    int query = 0;
    EXPECT_FALSE(Frame()->OnCmdMsg(ID_FILE_SAVE, CN_COMMAND, nullptr, &query));
    SetKeyStateOverride(VK_CONTROL, TRUE);
    MSG msg;
    msg.hwnd = LeftPane()->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = 'S';
    const BOOL eaten = Frame()->PreTranslateMessage(&msg);
    ClearKeyStateOverrides();
    EXPECT_TRUE(eaten);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_TRUE(FileDialogScript::Records().empty());
}

TEST_F(ShellTest, AboutBoxShowsTheVersion)
{
    ASSERT_TRUE(StartUp());
    CString version;
    CRect needed;
    CRect shown;
    bool okIcon = false;
    ModalDialogScript::Push([&](CDialog& dialog) {
        dialog.GetDlgItemText(IDC_ABOUT_VERSION, version);
        // The whole line fits the static, wrapped as it is drawn.
        CWnd* label = dialog.GetDlgItem(IDC_ABOUT_VERSION);
        label->GetClientRect(&shown);
        CClientDC dc(label);
        const HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(label->SendMessage(WM_GETFONT)));
        needed = CRect(0, 0, shown.Width(), 0);
        dc.DrawText(version, &needed, DT_CALCRECT | DT_WORDBREAK);
        dc.SelectObject(old);
        okIcon = ShowsIcon(dialog, IDOK, kOkIcon);
        AfxClickDlgButton(dialog, IDOK);
    });
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
    ASSERT_EQ(ModalDialogScript::Records().size(), 1u);
    EXPECT_EQ(ModalDialogScript::Records()[0].templateId, 100u);
    EXPECT_EQ(ModalDialogScript::Records()[0].result, IDOK);
    EXPECT_EQ(version, "Management Program Version F1.6.5.1 C");
    EXPECT_GT(needed.Height(), 0);
    EXPECT_LE(needed.Height(), shown.Height());
    EXPECT_LE(needed.Width(), shown.Width());
    EXPECT_TRUE(okIcon);
}

TEST_F(ShellTest, TheRecentFileListKeepsTheLastFour)
{
    ASSERT_TRUE(StartUp());
    for (const char* path : { "a.mdb", "b.mdb", "c.mdb", "d.mdb", "e.mdb" })
        m_app->AddToRecentFileList(path);
    EXPECT_EQ(m_app->GetRecentFiles(), (std::vector<CString> { "e.mdb", "d.mdb", "c.mdb", "b.mdb" }));
}

TEST(ScreenTable, EachHintFindsItsOwnScreen)
{
    for (const ScreenInfo& info : AllScreens())
        EXPECT_EQ(FindScreen(HintOf(info.screen)), &info) << HintOf(info.screen);
    EXPECT_EQ(FindScreen(0), nullptr);
    EXPECT_EQ(FindScreen(static_cast<LPARAM>(AllScreens().size()) + 1), nullptr);
}
