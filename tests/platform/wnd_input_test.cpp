// User input: mouse and keys reach the window they are meant for, through
// PreTranslateMessage; focus and capture changes are announced.

#include <vector>

#include <gtest/gtest.h>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/thread.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

// Records mouse, key and command messages with their parameters.
class InputWnd : public CWnd {
public:
    struct Entry {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> log;
    bool handleMouse = false;
    UINT eatKey = 0; // virtual key that PreTranslateMessage eats

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (IsMouseMessage(message) || IsKeyMessage(message) || message == WM_COMMAND
            || message == WM_CAPTURECHANGED || message == WM_SETFOCUS || message == WM_KILLFOCUS
            || message >= WM_APP) {
            log.push_back(Entry { message, wParam, lParam });
            if (handleMouse && IsMouseMessage(message))
                return 0; // handled: the default procedure does not run
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        return eatKey != 0 && msg->message == WM_KEYDOWN && msg->wParam == eatKey;
    }

    size_t Count(UINT message) const
    {
        size_t n = 0;
        for (const Entry& e : log)
            n += e.message == message;
        return n;
    }
    const Entry* Last(UINT message) const
    {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }
};

struct Scene {
    InputWnd parent;
    InputWnd child;
    Scene()
    {
        EXPECT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0));
        EXPECT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(50, 40, 150, 100), &parent, 10));
    }
    ~Scene() { parent.DestroyWindow(); }
};

TEST(WndInput, MouseMessagesCarryClientPointAndButtonState)
{
    Scene scene;
    scene.child.handleMouse = true;
    ASSERT_TRUE(
        AfxSimulateMouse(scene.child.GetSafeHwnd(), WM_LBUTTONDOWN, POINT { 7, 9 }, MK_LBUTTON | MK_CONTROL));
    const auto* down = scene.child.Last(WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->wParam, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(GET_X_LPARAM(down->lParam), 7);
    EXPECT_EQ(GET_Y_LPARAM(down->lParam), 9);
    ASSERT_TRUE(AfxSimulateMouse(scene.child.GetSafeHwnd(), WM_RBUTTONUP, POINT { 1, 2 }));
    EXPECT_EQ(scene.child.Count(WM_RBUTTONUP), 1u);
    EXPECT_EQ(scene.parent.Count(WM_LBUTTONDOWN), 0u);
}

TEST(WndInput, UnhandledInputStaysWithItsWindow)
{
    Scene scene;
    ASSERT_TRUE(AfxSimulateClick(scene.child.GetSafeHwnd(), POINT { 5, 5 }));
    ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), 'A', "a"));
    EXPECT_EQ(scene.child.Count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(scene.child.Count(WM_KEYDOWN), 1u);
    EXPECT_EQ(scene.child.Count(WM_CHAR), 1u);
    EXPECT_EQ(scene.child.Last(WM_CHAR)->wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(scene.parent.Count(WM_LBUTTONDOWN), 0u);
    EXPECT_EQ(scene.parent.Count(WM_KEYDOWN), 0u);
}

TEST(WndInput, PreTranslateMessageOfAParentEatsTheChildsKey)
{
    Scene scene;
    scene.parent.eatKey = VK_F2;
    ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), VK_F2));
    ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), VK_RETURN, "\r"));
    EXPECT_EQ(scene.child.Count(WM_KEYDOWN), 1u);
    EXPECT_EQ(scene.child.Last(WM_KEYDOWN)->wParam, static_cast<WPARAM>(VK_RETURN));
}

TEST(WndInput, AltWithAKeyThatTypesNothingTypesItsLetterOrDigit)
{
    Scene scene;
    const struct {
        UINT vk;
        char typed; // the system character, 0 none
    } keys[] = { { 'A', 'a' }, { 'Z', 'z' }, { '0', '0' }, { '9', '9' }, { VK_F2, 0 } };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.vk);
        const size_t before = scene.child.Count(WM_SYSCHAR);
        ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), key.vk, "", FALSE, FALSE, TRUE));
        ASSERT_EQ(scene.child.Count(WM_SYSCHAR), before + (key.typed ? 1 : 0));
        if (key.typed) {
            EXPECT_EQ(scene.child.Last(WM_SYSCHAR)->wParam, static_cast<WPARAM>(key.typed));
        }
    }
}

class AppThread : public CWinThread {
public:
    int seen = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        ++seen;
        if (msg->message == WM_APP + 7)
            return TRUE;
        return CWinThread::PreTranslateMessage(msg);
    }
};

TEST(WndInput, ApplicationObjectSeesPostedMessagesFirst)
{
    Scene scene;
    AppThread app;
    AfxSetAppThread(&app);
    EXPECT_EQ(AfxGetThread(), &app);
    scene.child.eatKey = VK_F2;
    scene.child.PostMessage(WM_APP + 7);
    scene.child.PostMessage(WM_APP + 8);
    ASSERT_TRUE(PumpUntil([&] { return app.seen >= 2; }));
    AfxPumpMessage();
    ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), VK_F2)); // eaten by the walk from the app
    AfxSetAppThread(nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);

    EXPECT_EQ(scene.child.Count(WM_KEYDOWN), 0u);
    EXPECT_EQ(scene.child.Count(WM_APP + 7), 0u);
    EXPECT_EQ(scene.child.Count(WM_APP + 8), 1u);
    EXPECT_GE(app.seen, 3);
}

TEST(WndInput, TypingIntoAnEditUpdatesItsTextAndNotifiesTheParent)
{
    Scene scene;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(0, 0, 100, 20), &scene.parent, 1026));
    edit.SetFocus();
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), '1', "1"));
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'A', "가"));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "1가");
    size_t changes = 0;
    for (const auto& e : scene.parent.log)
        changes += e.message == WM_COMMAND && HIWORD(e.wParam) == EN_CHANGE && LOWORD(e.wParam) == 1026;
    EXPECT_EQ(changes, 2u);
}

TEST(WndInput, TypingMarksAnEditModifiedAndSettingItsTextClearsTheMark)
{
    Scene scene;
    CEdit single, multi;
    ASSERT_TRUE(single.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &scene.parent, 1026));
    ASSERT_TRUE(multi.Create(WS_VISIBLE | ES_MULTILINE, CRect(0, 30, 100, 90), &scene.parent, 1027));
    for (CEdit* edit : { &single, &multi }) {
        edit->SetWindowText("set by code");
        EXPECT_FALSE(edit->GetModify());
        edit->SetFocus();
        ASSERT_TRUE(AfxSimulateKey(edit->GetSafeHwnd(), '7', "7"));
        EXPECT_TRUE(edit->GetModify());
        edit->SetWindowText("again");
        EXPECT_FALSE(edit->GetModify());
        edit->SetModify(TRUE);
        EXPECT_TRUE(edit->GetModify());
        edit->SetModify(FALSE);
        EXPECT_FALSE(edit->GetModify());
    }
}

TEST(WndInput, AnEditsLinesAreTheOnesItShows)
{
    Scene scene;
    CEdit single, multi;
    ASSERT_TRUE(single.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &scene.parent, 1026));
    ASSERT_TRUE(multi.Create(WS_VISIBLE | ES_MULTILINE, CRect(0, 30, 60, 190), &scene.parent, 1027));
    single.SetWindowText("ab\r\n\r\n가나");
    EXPECT_EQ(single.GetLineCount(), 3);
    EXPECT_EQ(single.LineIndex(1), 4);
    EXPECT_EQ(single.LineIndex(2), 6);
    EXPECT_EQ(single.LineIndex(3), -1);
    // A paragraph wider than the edit goes on on the next lines; a CR LF
    // still starts a line.
    multi.SetWindowText("x\r\n가나다라마바사아자차카타파하");
    ASSERT_GT(multi.GetLineCount(), 2);
    EXPECT_EQ(multi.LineIndex(0), 0);
    EXPECT_EQ(multi.LineIndex(1), 3);
    for (int line = 2; line < multi.GetLineCount(); ++line) {
        EXPECT_GT(multi.LineIndex(line), multi.LineIndex(line - 1));
        EXPECT_EQ((multi.LineIndex(line) - 3) % 3, 0) << "inside a syllable";
    }
    EXPECT_EQ(multi.LineIndex(multi.GetLineCount()), -1);
}

TEST(WndInput, FocusChangesAreAnnouncedToWindowsAndEditParents)
{
    Scene scene;
    CEdit first, second;
    ASSERT_TRUE(first.Create(WS_VISIBLE, CRect(0, 0, 50, 20), &scene.parent, 600));
    ASSERT_TRUE(second.Create(WS_VISIBLE, CRect(0, 30, 50, 50), &scene.parent, 601));
    first.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &first);
    EXPECT_EQ(second.SetFocus(), &first);
    EXPECT_EQ(CWnd::GetFocus(), &second);
    std::vector<std::pair<UINT, UINT>> notes; // (code, id)
    for (const auto& e : scene.parent.log)
        if (e.message == WM_COMMAND)
            notes.emplace_back(HIWORD(e.wParam), LOWORD(e.wParam));
    const std::vector<std::pair<UINT, UINT>> expected
        = { { EN_SETFOCUS, 600 }, { EN_KILLFOCUS, 600 }, { EN_SETFOCUS, 601 } };
    EXPECT_EQ(notes, expected);
    second.DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
}

TEST(WndInput, AClickAtAPlaceReachesTheWindowThereAndADisabledOneHandsItToItsParent)
{
    Scene scene;
    ASSERT_TRUE(AfxSimulateClickAt(scene.parent.GetSafeHwnd(), POINT { 57, 49 }));
    ASSERT_EQ(scene.child.Count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(scene.child.Last(WM_LBUTTONDOWN)->lParam, MAKELPARAM(7, 9));
    EXPECT_EQ(scene.child.Count(WM_LBUTTONUP), 1u);
    ASSERT_TRUE(AfxSimulateClickAt(scene.parent.GetSafeHwnd(), POINT { 20, 20 }));
    EXPECT_EQ(scene.parent.Count(WM_LBUTTONDOWN), 1u);

    scene.child.EnableWindow(FALSE);
    ASSERT_TRUE(AfxSimulateClickAt(scene.parent.GetSafeHwnd(), POINT { 57, 49 }));
    ASSERT_TRUE(AfxSimulateKey(scene.child.GetSafeHwnd(), 'A', "a"));
    EXPECT_EQ(scene.child.Count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(scene.child.Count(WM_KEYDOWN) + scene.child.Count(WM_CHAR), 0u);
    EXPECT_EQ(scene.parent.Count(WM_KEYDOWN) + scene.parent.Count(WM_CHAR), 0u);
    ASSERT_EQ(scene.parent.Count(WM_LBUTTONDOWN), 2u);
    EXPECT_EQ(scene.parent.Last(WM_LBUTTONDOWN)->lParam, MAKELPARAM(57, 49));
}

TEST(WndInput, ADisabledEditTakesNoTypingAndLooksDisabled)
{
    Scene scene;
    CEdit single, multi;
    ASSERT_TRUE(single.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &scene.parent, 1026));
    ASSERT_TRUE(multi.Create(WS_VISIBLE | ES_MULTILINE, CRect(0, 30, 100, 90), &scene.parent, 1027));
    for (CEdit* edit : { &single, &multi }) {
        edit->SetWindowText("kept");
        edit->EnableWindow(FALSE);
        edit->SetFocus();
        ASSERT_TRUE(AfxSimulateKey(edit->GetSafeHwnd(), '7', "7"));
        CString text;
        edit->GetWindowText(text);
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(Snapshot(*edit, Snapshot::Scope::WithChildren).At(90, 15), GetSysColor(COLOR_BTNFACE));
        edit->EnableWindow(TRUE);
        EXPECT_EQ(Snapshot(*edit, Snapshot::Scope::WithChildren).At(90, 15), GetSysColor(COLOR_WINDOW));
        // In a disabled window (a modal dialog's owner) a control keeps its look.
        scene.parent.EnableWindow(FALSE);
        EXPECT_EQ(Snapshot(*edit, Snapshot::Scope::WithChildren).At(90, 15), GetSysColor(COLOR_WINDOW));
        scene.parent.EnableWindow(TRUE);
    }
}

TEST(WndInput, AnEditHasTheLookOfHowItWasMade)
{
    struct Row {
        DWORD style;
        BOOL parentEnabled;
        int color;
    };
    // Made disabled: grey from the start. Made enabled in a window disabled
    // later (a modal dialog's owner): its look stays.
    const Row rows[] = { { WS_DISABLED, TRUE, COLOR_BTNFACE }, { 0, FALSE, COLOR_WINDOW } };
    for (const Row& row : rows) {
        Scene scene;
        CEdit edit;
        ASSERT_TRUE(edit.Create(WS_VISIBLE | row.style, CRect(0, 0, 100, 20), &scene.parent, 1026));
        scene.parent.EnableWindow(row.parentEnabled);
        EXPECT_EQ(Snapshot(edit, Snapshot::Scope::WithChildren).At(90, 15), GetSysColor(row.color))
            << row.style;
    }
}

TEST(WndInput, AWheelTurnReachesAnEnabledWindowOnly)
{
    Scene scene;
    scene.child.handleMouse = true;
    ASSERT_TRUE(AfxSimulateWheel(scene.child.GetSafeHwnd(), POINT { 7, 9 }, -120, MK_CONTROL));
    const auto* turn = scene.child.Last(WM_MOUSEWHEEL);
    ASSERT_NE(turn, nullptr);
    EXPECT_EQ(static_cast<short>(HIWORD(turn->wParam)), -120);
    EXPECT_EQ(LOWORD(turn->wParam), static_cast<WORD>(MK_CONTROL));

    scene.child.EnableWindow(FALSE);
    ASSERT_TRUE(AfxSimulateWheel(scene.child.GetSafeHwnd(), POINT { 7, 9 }, 120));
    EXPECT_EQ(scene.child.Count(WM_MOUSEWHEEL), 1u);
    EXPECT_EQ(scene.parent.Count(WM_MOUSEWHEEL), 0u);
}

TEST(WndInput, PositioningCanHideAndShowAWindow)
{
    Scene scene;
    constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    for (const UINT flag : { SWP_HIDEWINDOW, SWP_SHOWWINDOW }) {
        scene.child.SetWindowPos(nullptr, 0, 0, 0, 0, kKeep | flag);
        EXPECT_EQ(scene.child.IsWindowVisible() != FALSE, flag == SWP_SHOWWINDOW);
    }
}

TEST(WndInput, TextSetOnAShownEditIsInItAtOnce)
{
    Scene scene;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &scene.parent, 1026));
    edit.SetWindowText("abc");
    edit.SetFocus();
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), VK_END));
    ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'X', "x"));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "abcx");
}

TEST(WndInput, AHiddenEditRendersItsLatestText)
{
    InputWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 200, nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1026));
    for (const char* text : { "MMMM", "" }) {
        edit.SetWindowText(text);
        Snapshot shot(edit, Snapshot::Scope::WithChildren);
        ASSERT_TRUE(shot.Ok());
        EXPECT_EQ(shot.Ink(GetSysColor(COLOR_WINDOW), CRect(3, 3, 97, 17)).IsRectEmpty(), *text == 0) << text;
    }
    parent.DestroyWindow();
}

TEST(WndInput, TextSetWhileHiddenIsThereWhenTheWindowIsShown)
{
    InputWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 200, nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1026));
    for (const char* text : { "first", "abc" })
        edit.SetWindowText(text);
    for (int shown = 0; shown < 2; ++shown) {
        parent.ShowWindow(SW_SHOW);
        edit.SetFocus();
        ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), VK_END));
        ASSERT_TRUE(AfxSimulateKey(edit.GetSafeHwnd(), 'X', "x"));
        CString text;
        edit.GetWindowText(text);
        EXPECT_EQ(text, shown ? "defx" : "abcx");
        parent.ShowWindow(SW_HIDE);
        edit.SetWindowText("def");
    }
    parent.DestroyWindow();
}

TEST(WndInput, CaptureMovesAndIsAnnouncedToTheLoser)
{
    Scene scene;
    EXPECT_EQ(scene.child.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &scene.child);
    EXPECT_EQ(scene.parent.SetCapture(), &scene.child);
    ASSERT_EQ(scene.child.Count(WM_CAPTURECHANGED), 1u);
    EXPECT_EQ(
        reinterpret_cast<HWND>(scene.child.Last(WM_CAPTURECHANGED)->lParam), scene.parent.GetSafeHwnd());
    ReleaseCapture();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(scene.parent.Count(WM_CAPTURECHANGED), 1u);
}

} // namespace
