// The document/view framework: run-time classes, the single-document
// template, command routing and update rules, accelerators, control bars.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/resource_script.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/menu.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/doctemplate.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/statusbar.h"
#include "platform/wnd/docview/toolbar.h"
#include "platform/wnd/docview/view.h"
#include "platform/wnd/docview/winapp.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr UINT kTemplate = 9301;
constexpr UINT kCmdRouted = 9400; // handled by view, document, frame and application
constexpr UINT kCmdDocument = 9401; // handled by the document and the application
constexpr UINT kCmdApp = 9402; // handled by the application only
constexpr UINT kCmdNone = 9403; // handled by nobody
constexpr UINT kCmdRule = 9404; // has an update rule that disables it

void AddFrameResources()
{
    static const bool added = [] {
        std::vector<ResourceScriptError> errors;
        const BOOL ok = AfxAddResourceScript(R"(
STRINGTABLE
  9301 "Tester\n\nTest\n\n\nTest.Document\nTest Document"
END
MENU 9301
  POPUP "&First"
    ITEM 9403 "Nobody"
    ITEM 9400 "Routed"
    ITEM 9401 "Document"
    ITEM 9402 "Application"
    ITEM 9404 "R&uled"
  END
  POPUP "Tools&&View"
    ITEM 59392 "Toolbar"
  END
  POPUP "&Help"
    ITEM 9402 "About"
    POPUP "More"
      ITEM 9401 "Deep"
    END
  END
END
ACCELERATORS 9301
  KEY 9400 "R" VIRTKEY CONTROL
  KEY 9404 "D" VIRTKEY CONTROL
  KEY 9403 0x75 VIRTKEY
END
TOOLBAR 9301 16 15 BITMAP 130
  BUTTON 9400
  SEPARATOR
  BUTTON 9403
END
)",
            "wnd_frame_test", &errors);
        EXPECT_TRUE(ok) << (errors.empty() ? "" : errors.front().message.GetString());
        return ok;
    }();
    (void)added;
}

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

class TestDoc : public CDocument {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "TestDoc", &AfxCreateObject<TestDoc>, CDocument::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CDocument::GetMessageMap(),
            {
                OnCommandMsg<&TestDoc::OnRouted>(kCmdRouted),
                OnCommandMsg<&TestDoc::OnDocument>(kCmdDocument),
            });
        return &kMap;
    }
    ~TestDoc() override { Log().push_back("doc deleted"); }
    void OnRouted() { Log().push_back("doc"); }
    void OnDocument() { Log().push_back("doc"); }
};

class TestView : public CView {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "TestView", &AfxCreateObject<TestView>, CView::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CView::GetMessageMap(),
            {
                OnCommandMsg<&TestView::OnRouted>(kCmdRouted),
                OnUpdateCommand<&TestView::OnUpdateRuled>(kCmdRule),
                OnCommandMsg<&TestView::OnRuled>(kCmdRule),
            });
        return &kMap;
    }
    void OnInitialUpdate() override
    {
        Log().push_back("initial update");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, void*) override
    {
        hints.push_back(hint);
        senders.push_back(sender);
    }
    void OnRouted() { Log().push_back("view"); }
    void OnUpdateRuled(CCmdUI* cmdUI) { cmdUI->Enable(FALSE); }
    void OnRuled() { Log().push_back("ruled"); }
    std::vector<LPARAM> hints;
    std::vector<CView*> senders;
};

class TestFrame : public CFrameWnd {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "TestFrame", &AfxCreateObject<TestFrame>,
            CFrameWnd::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CFrameWnd::GetMessageMap(),
            {
                OnWm<WM_CREATE, &TestFrame::OnCreate>(),
                OnCommandMsg<&TestFrame::OnRouted>(kCmdRouted),
            });
        return &kMap;
    }
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!toolbar.CreateEx(this) || !toolbar.LoadToolBar(kTemplate))
            return -1;
        const UINT indicators[] = { ID_SEPARATOR, ID_INDICATOR_CAPS };
        if (!status.Create(this) || !status.SetIndicators(indicators, 2))
            return -1;
        return 0;
    }
    void OnRouted() { Log().push_back("frame"); }
    CToolBar toolbar;
    CStatusBar status;
};

// A frame of a template whose window refuses to be made; counts the live ones.
class FailingFrame : public CFrameWnd {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "FailingFrame", &AfxCreateObject<FailingFrame>,
            CFrameWnd::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(
            CFrameWnd::GetMessageMap(), { OnWm<WM_CREATE, &FailingFrame::OnCreate>() });
        return &kMap;
    }
    FailingFrame() { ++Live(); }
    ~FailingFrame() override { --Live(); }
    int OnCreate(LPCREATESTRUCT cs)
    {
        Made() = GetSafeHwnd();
        return Refuse() ? -1 : CFrameWnd::OnCreate(cs);
    }
    static int& Live()
    {
        static int live = 0;
        return live;
    }
    static bool& Refuse()
    {
        static bool refuse = false;
        return refuse;
    }
    static HWND& Made()
    {
        static HWND made = nullptr;
        return made;
    }
};

class TestApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWinApp::GetMessageMap(),
            {
                OnCommandMsg<&TestApp::OnRouted>(kCmdRouted),
                OnCommandMsg<&TestApp::OnRouted>(kCmdDocument),
                OnCommandMsg<&TestApp::OnRouted>(kCmdApp),
            });
        return &kMap;
    }
    void OnRouted() { Log().push_back("app"); }
};

class FrameworkTest : public testing::Test {
protected:
    void SetUp() override
    {
        AddFrameResources();
        Log().clear();
        m_app.AddDocTemplate(new CSingleDocTemplate(
            kTemplate, TestDoc::GetThisClass(), TestFrame::GetThisClass(), TestView::GetThisClass()));
        CCommandLineInfo info;
        ASSERT_TRUE(m_app.ProcessShellCommand(info));
        m_frame = DynamicDownCast<TestFrame>(m_app.m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        m_view = DynamicDownCast<TestView>(m_frame->GetActiveView());
        ASSERT_NE(m_view, nullptr);
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        if (!m_quitTaken)
            AfxRunMessageLoop(); // takes the quit request of the main window
    }

    // Runs the update rule of a "First" menu item the way the menu opens.
    UINT MenuState(UINT id)
    {
        HMENU first = ::GetSubMenu(*m_frame->GetMenu(), 0);
        m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(first), 0);
        return ::GetMenuState(first, id, MF_BYCOMMAND);
    }

    ScopedMessageBoxScript m_boxes;
    bool m_quitTaken = false;
    TestApp m_app;
    TestFrame* m_frame = nullptr;
    TestView* m_view = nullptr;
};

} // namespace

TEST(WndRuntimeClass, KindAndCreationFollowTheRecords)
{
    CCmdTarget* object = TestView::GetThisClass()->CreateObject();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(CView::GetThisClass()));
    EXPECT_TRUE(object->IsKindOf(CCmdTarget::GetThisClass()));
    EXPECT_FALSE(object->IsKindOf(CFrameWnd::GetThisClass()));
    EXPECT_EQ(DynamicDownCast<CFrameWnd>(object), nullptr);
    EXPECT_EQ(DynamicDownCast<CView>(object), static_cast<CView*>(static_cast<TestView*>(object)));
    delete object;
    EXPECT_EQ(CView::GetThisClass()->CreateObject(), nullptr);
    AfxRegisterRuntimeClass(TestView::GetThisClass());
    EXPECT_EQ(AfxFindRuntimeClass("TestView"), TestView::GetThisClass());
    AfxUnregisterRuntimeClass(TestView::GetThisClass());
    EXPECT_EQ(AfxFindRuntimeClass("TestView"), nullptr);
}

TEST_F(FrameworkTest, TemplateBuildsDocumentFrameAndViewAndUpdatesOnce)
{
    EXPECT_EQ(Log(), std::vector<std::string> { "initial update" });
    auto* document = DynamicDownCast<TestDoc>(m_frame->GetActiveDocument());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), "Untitled");
    ASSERT_EQ(document->GetViews().size(), 1u);
    CString title;
    m_frame->GetWindowText(title);
    EXPECT_EQ(title, "Untitled - Tester");
    // The view fills what the menu bar and the bars leave.
    CRect view;
    m_view->GetWindowRect(&view);
    m_frame->ScreenToClient(&view);
    EXPECT_EQ(view, m_frame->GetPaneRect());
}

TEST_F(FrameworkTest, UpdateAllViewsSkipsTheSender)
{
    CDocument* document = m_frame->GetActiveDocument();
    document->UpdateAllViews(nullptr, 7, nullptr);
    document->UpdateAllViews(m_view, 8, nullptr);
    EXPECT_EQ(m_view->hints, (std::vector<LPARAM> { 0, 7 }));
}

TEST_F(FrameworkTest, CommandsGoToTheViewThenDocumentFrameAndApplication)
{
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdRouted, 0), 0);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdDocument, 0), 0);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdApp, 0), 0);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdNone, 0), 0);
    EXPECT_EQ(Log(), (std::vector<std::string> { "initial update", "view", "doc", "app" }));
    // Without an active view the frame comes first.
    m_frame->SetActiveView(nullptr);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdRouted, 0), 0);
    EXPECT_EQ(Log().back(), "frame");
}

TEST_F(FrameworkTest, AHandlerQueryRunsNothing)
{
    int query = 0;
    EXPECT_TRUE(m_frame->OnCmdMsg(kCmdRouted, CN_COMMAND, nullptr, &query));
    EXPECT_FALSE(m_frame->OnCmdMsg(kCmdNone, CN_COMMAND, nullptr, &query));
    EXPECT_EQ(Log().size(), 1u);
}

TEST_F(FrameworkTest, MenuUpdateDisablesItemsWithoutHandlerOrByRule)
{
    EXPECT_FALSE(MenuState(kCmdRouted) & MF_GRAYED);
    EXPECT_FALSE(MenuState(kCmdApp) & MF_GRAYED);
    EXPECT_TRUE(MenuState(kCmdNone) & MF_GRAYED);
    EXPECT_TRUE(MenuState(kCmdRule) & MF_GRAYED);
    // The toolbar item of View is checked while the bar shows.
    HMENU view = ::GetSubMenu(*m_frame->GetMenu(), 1);
    m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 0);
    EXPECT_TRUE(::GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_TOOLBAR, 0), 0);
    EXPECT_FALSE(m_frame->toolbar.GetStyle() & WS_VISIBLE);
    m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 0);
    EXPECT_FALSE(::GetMenuState(view, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(FrameworkTest, MenuBarClickRunsTheChosenCommand)
{
    PopupMenuScript::Enable();
    PopupMenuScript::Reset();
    PopupMenuScript::Push(kCmdRouted);
    EXPECT_TRUE(m_frame->TrackMenuBarPopup(0));
    PopupMenuScript::Disable();
    PopupMenuScript::Reset();
    EXPECT_EQ(Log().back(), "view");
    EXPECT_FALSE(m_frame->TrackMenuBarPopup(5));
}

TEST_F(FrameworkTest, ArrowsStepAlongTheMenuBarAndInAndOutOfSubmenus)
{
    m_frame->ShowWindow(SW_SHOW);
    CWnd* bar = m_frame->GetDlgItem(AFX_IDW_MENU_BAR);
    ASSERT_NE(bar, nullptr);
    const HMENU menus = *m_frame->GetMenu();
    struct Case {
        UINT open; // 0: a click on "First", else Alt and this letter
        std::vector<UINT> keys; // then Escape until every popup is closed
        std::vector<int> shown; // the bar's popups in the order they opened
        const char* ran; // what the chosen command logs, or nullptr
    };
    const Case cases[] = {
        { 0, { VK_RIGHT, VK_RIGHT, VK_LEFT }, { 0, 1, 2, 1 }, nullptr },
        { 0, { VK_LEFT, VK_LEFT, VK_DOWN, VK_RETURN }, { 0, 2, 1 }, nullptr }, // Toolbar
        { 0, { VK_DOWN, VK_DOWN, VK_RETURN }, { 0 }, "view" }, // a click selects no item
        { 'H', { VK_RIGHT, VK_RETURN }, { 2, 0 }, "view" }, // around the end, first enabled item selected
        { 'H', { VK_UP, VK_RIGHT, VK_RETURN }, { 2 }, "doc" }, // Right opens "More"
        { 'H', { VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_RETURN }, { 2 }, "app" }, // Left back
        { 'H', { VK_UP, VK_RIGHT, VK_RIGHT }, { 2, 0 }, nullptr }, // past a submenu's item
        { 0, { 'U' }, { 0 }, nullptr }, // "R&uled" is disabled
        { 'F', { VK_ESCAPE }, { 0 }, nullptr },
        { 'V', { VK_ESCAPE }, {}, nullptr }, // "Tools&&View" marks no letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        PopupMenuKeys::Reset();
        for (UINT vk : c.keys) {
            const char letter[] = { vk >= 'A' && vk <= 'Z' ? static_cast<char>(vk - 'A' + 'a') : '\0', 0 };
            PopupMenuKeys::Type(vk, letter);
        }
        const size_t logged = Log().size();
        const bool toolbar = m_frame->toolbar.IsWindowVisible();
        if (c.open == 0) {
            ASSERT_TRUE(AfxSimulateClickAt(bar->GetSafeHwnd(), CPoint(4, 10)));
        } else {
            const char letter[] = { static_cast<char>(c.open - 'A' + 'a'), 0 };
            ASSERT_TRUE(AfxSimulateKey(m_view->GetSafeHwnd(), c.open, letter, FALSE, FALSE, TRUE));
        }
        std::vector<HMENU> expected;
        for (int position : c.shown)
            expected.push_back(::GetSubMenu(menus, position));
        EXPECT_EQ(PopupMenuKeys::Shown(), expected);
        EXPECT_EQ(Log().size(), logged + (c.ran ? 1 : 0));
        if (c.ran) {
            EXPECT_EQ(Log().back(), c.ran);
        }
        EXPECT_EQ(m_frame->toolbar.IsWindowVisible(), toolbar != (c.keys.size() == 4 && c.open == 0));
    }
    PopupMenuKeys::Reset();
}

TEST_F(FrameworkTest, AcceleratorsSendCommandsUnlessTheItemIsDisabled)
{
    MSG msg;
    msg.hwnd = m_view->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = 'R';
    SetKeyStateOverride(VK_CONTROL, TRUE);
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    msg.wParam = 'D';
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg)); // eaten, but the rule disables it
    msg.wParam = 'Q';
    EXPECT_FALSE(m_frame->PreTranslateMessage(&msg)); // no accelerator: goes on
    ClearKeyStateOverrides();
    msg.wParam = 'R';
    EXPECT_FALSE(m_frame->PreTranslateMessage(&msg)); // without Ctrl
    EXPECT_EQ(Log(), (std::vector<std::string> { "initial update", "view" }));
}

TEST_F(FrameworkTest, KeysWithoutAcceleratorReachTheFocusedControl)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 100, 20), m_view, 1));
    m_frame->ShowWindow(SW_SHOW);
    edit.SetFocus();
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'A', "a"));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "a");
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'R', "", FALSE, TRUE));
    edit.GetWindowText(text);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(Log().back(), "view");
}

TEST_F(FrameworkTest, IdleUpdateEnablesToolbarButtonsByTheRoute)
{
    m_app.OnIdle(0);
    EXPECT_TRUE(m_frame->toolbar.IsButtonEnabled(0));
    EXPECT_FALSE(m_frame->toolbar.IsButtonEnabled(2));
    EXPECT_EQ(m_frame->toolbar.GetItemID(1), 0u);
    for (const int outside : { -1, m_frame->toolbar.GetCount() })
        EXPECT_EQ(m_frame->toolbar.GetButtonCheck(outside), 0);
    // A click on an enabled button sends its command.
    m_frame->ShowWindow(SW_SHOW);
    CRect button;
    m_frame->toolbar.GetItemRect(0, &button);
    ASSERT_TRUE(AfxSimulateClick(m_frame->toolbar.GetSafeHwnd(), button.CenterPoint()));
    EXPECT_EQ(Log().back(), "view");
}

TEST_F(FrameworkTest, DestroyingTheMainFrameDeletesTheDocumentAndQuits)
{
    m_frame->DestroyWindow();
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(Log().back(), "doc deleted");
    EXPECT_EQ(AfxRunMessageLoop(), 0);
    m_quitTaken = true;
}

TEST_F(FrameworkTest, ExitAndCloseDestroyTheFrame)
{
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

TEST(WndDocTemplate, AFrameThatCannotBeMadeLeavesNoWindowFrameOrDocument)
{
    AddFrameResources();
    struct Row {
        bool refuse; // OnCreate refuses, or the view class makes no view
        const CRuntimeClass* view;
    };
    const Row rows[] = { { true, TestView::GetThisClass() }, { false, CView::GetThisClass() } };
    for (const Row& row : rows) {
        Log().clear();
        FailingFrame::Refuse() = row.refuse;
        FailingFrame::Made() = nullptr;
        CSingleDocTemplate docTemplate(
            kTemplate, TestDoc::GetThisClass(), FailingFrame::GetThisClass(), row.view);
        EXPECT_EQ(docTemplate.OpenDocumentFile(nullptr), nullptr);
        ASSERT_NE(FailingFrame::Made(), nullptr);
        EXPECT_FALSE(::IsWindow(FailingFrame::Made()));
        EXPECT_EQ(FailingFrame::Live(), 0);
        EXPECT_EQ(Log(), std::vector<std::string> { "doc deleted" });
    }
}
