// Dialogs from templates: the hidden mailbox dialog and its edits used from
// worker threads, modal loops and their results, data exchange.

#include <atomic>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/base/resource_script.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/dialogs/dialog.h"
#include "tests/support/test_thread.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr UINT kMailboxTemplate = 132; // embedded with the program's resources
constexpr UINT kModalTemplate = 9201;
constexpr UINT kVisibleTemplate = 9202;

void AddTestTemplates()
{
    static const bool added = [] {
        std::vector<ResourceScriptError> errors;
        const BOOL ok = AfxAddResourceScript(R"(
DIALOG 9201 0 0 200 100
  CAPTION "Modal"
  FONT 8 "MS Sans Serif"
  CONTROL 1000 EDIT "start" 4 8 100 12 WS_BORDER | WS_TABSTOP
  CONTROL IDOK BUTTON "OK" 140 8 50 14 BS_DEFPUSHBUTTON | WS_TABSTOP
  CONTROL IDCANCEL BUTTON "Cancel" 140 26 50 14 WS_TABSTOP
END
DIALOG 9202 10 10 120 60
  CAPTION "Shown"
  STYLE WS_POPUP | WS_CAPTION | WS_VISIBLE
  FONT 8 "MS Sans Serif"
  CONTROL 1000 EDIT "" 4 8 100 12 WS_BORDER
END
)",
            "wnd_dialog_test", &errors);
        EXPECT_TRUE(ok) << (errors.empty() ? "" : errors.front().message.GetString());
        return ok;
    }();
    (void)added;
}

// The shape of the views' mailbox: three edits bound by data exchange.
class MailboxDlg : public CDialog {
public:
    explicit MailboxDlg(CWnd* parent)
        : CDialog(kMailboxTemplate, parent)
    { }

    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, 1006, m_marker);
        DDX_Control(dx, 1003, m_name);
        DDX_Control(dx, 1002, m_sql);
    }

    CEdit m_marker;
    CEdit m_name;
    CEdit m_sql;
};

TEST(WndMailbox, ModelessDialogIsCreatedBeforeItsParentHasAWindow)
{
    CWnd view; // its window comes later, as in a view's constructor
    MailboxDlg mailbox(&view);
    ASSERT_TRUE(mailbox.Create(kMailboxTemplate, &view));
    EXPECT_FALSE(mailbox.IsWindowVisible()); // never shown
    EXPECT_EQ(mailbox.GetParent(), nullptr);
    CString caption;
    mailbox.GetWindowText(caption);
    EXPECT_EQ(caption, "클립보드");
    EXPECT_EQ(mailbox.GetDlgItem(1003), &mailbox.m_name);
    EXPECT_EQ(mailbox.GetDlgItem(1002), &mailbox.m_sql);
    EXPECT_EQ(mailbox.GetDlgItem(1006), &mailbox.m_marker);
    EXPECT_NE(mailbox.GetDlgItem(IDOK), nullptr);

    ASSERT_TRUE(view.CreateEx(0, nullptr, "view", WS_POPUP, 0, 0, 300, 200, nullptr, 0));
    mailbox.m_name.SetWindowText("Item_Read");
    EXPECT_EQ(mailbox.GetDlgItem(1003)->GetWindowTextLength(), 9);
    view.DestroyWindow();
    EXPECT_TRUE(IsWindow(mailbox.GetSafeHwnd())); // it was never owned by the view
    const HWND edit = mailbox.m_sql.GetSafeHwnd();
    mailbox.DestroyWindow();
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(mailbox.m_sql.GetSafeHwnd(), nullptr);
}

TEST(WndMailbox, WorkerThreadsReadAndWriteTheEditsWithoutTheUiThread)
{
    CWnd view;
    MailboxDlg mailbox(&view);
    ASSERT_TRUE(mailbox.Create(kMailboxTemplate, &view));

    // A long row of Korean and tab-separated fields: no length limit.
    std::string row;
    for (int i = 0; i < 5000; ++i)
        row += "상품명\tjo/12345\tjo/";
    const CString reply(row);
    TestThread worker([&] {
        mailbox.SetDlgItemText(1003, "Item_Read");
        mailbox.m_sql.SetWindowText(reply);
    });
    ASSERT_TRUE(worker.FinishedWithin(5000)); // no pumping needed
    CString name, sql;
    mailbox.GetDlgItemText(1003, name);
    mailbox.m_sql.GetWindowText(sql);
    EXPECT_EQ(name, "Item_Read");
    EXPECT_EQ(sql.GetLength(), reply.GetLength());
    EXPECT_EQ(sql, reply);

    // The owner answers; the worker reads it back on its thread.
    mailbox.m_name.SetWindowText("Report");
    CString seen;
    TestThread reader([&] {
        mailbox.GetDlgItemText(1003, seen);
        mailbox.SetDlgItemText(1003, "");
    });
    ASSERT_TRUE(reader.FinishedWithin(5000));
    EXPECT_EQ(seen, "Report");
    EXPECT_EQ(mailbox.m_name.GetWindowTextLength(), 0);
    AfxPumpMessage();
    mailbox.DestroyWindow();
}

TEST(WndMailbox, ConcurrentWritersNeverTearTheText)
{
    CWnd view;
    MailboxDlg mailbox(&view);
    ASSERT_TRUE(mailbox.Create(kMailboxTemplate, &view));
    const CString a(std::string(20000, 'a'));
    const CString b(std::string(30000, 'b'));
    std::atomic<bool> stop { false };
    TestThread writer([&] {
        for (int i = 0; i < 2000 && !stop; ++i)
            mailbox.m_sql.SetWindowText(i % 2 ? a : b);
    });
    int checks = 0;
    while (!writer.Finished() && checks < 2000) {
        CString text;
        mailbox.m_sql.GetWindowText(text);
        ASSERT_TRUE(text.IsEmpty() || text == a || text == b);
        ++checks;
    }
    stop = true;
    ASSERT_TRUE(writer.FinishedWithin(5000));
    AfxPumpMessage();
    mailbox.DestroyWindow();
}

TEST(WndMailbox, MissingTemplateFailsCreation)
{
    CDialog dialog;
    EXPECT_FALSE(dialog.Create(65000));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    CDialog modal(65000);
    EXPECT_EQ(modal.DoModal(), -1);
}

// ---- Modal dialogs ---------------------------------------------------------------------------

class ModalDlg : public CDialog {
public:
    explicit ModalDlg(CWnd* parent)
        : CDialog(kModalTemplate, parent)
    { }

    std::function<void(ModalDlg&)> onInit;
    std::function<void(ModalDlg&)> onPoke;
    bool failExchange = false;
    CString savedText;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CDialog::GetMessageMap(), { OnMessage<&ModalDlg::OnPoke>(WM_APP + 1) });
        return &kMap;
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* dx) override
    {
        if (dx->m_bSaveAndValidate) {
            GetDlgItemText(1000, savedText);
            if (failExchange)
                dx->Fail();
        }
    }

private:
    LRESULT OnPoke(WPARAM, LPARAM)
    {
        if (onPoke)
            onPoke(*this);
        return 5;
    }
};

class WndModal : public testing::Test {
protected:
    void SetUp() override { AddTestTemplates(); }
};

TEST_F(WndModal, EndDialogEndsTheLoopWithItsResult)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0));
    ModalDlg dialog(&owner);
    bool ownerDisabled = false;
    dialog.onInit = [](ModalDlg& d) { d.PostMessage(WM_APP + 1); };
    dialog.onPoke = [&](ModalDlg& d) {
        ownerDisabled = !owner.IsWindowEnabled();
        EXPECT_TRUE(d.IsModal());
        EXPECT_TRUE(d.IsWindowVisible());
        d.EndDialog(42);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    owner.DestroyWindow();
}

TEST_F(WndModal, ADialogOfAChildWindowBelongsToItsFrameAndTakesTyping)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0));
    CWnd view;
    ASSERT_TRUE(view.Create(nullptr, "", WS_VISIBLE, CRect(10, 10, 300, 200), &frame, 7));
    ModalDlg dialog(&view);
    CString typed;
    CWnd* parent = nullptr;
    dialog.onInit = [](ModalDlg& d) { d.PostMessage(WM_APP + 1); };
    dialog.onPoke = [&](ModalDlg& d) {
        parent = d.GetParent();
        CWnd* edit = d.GetDlgItem(1000);
        edit->SetFocus();
        AfxSimulateKey(edit->GetSafeHwnd(), VK_END, "");
        AfxSimulateKey(edit->GetSafeHwnd(), '7', "7");
        d.GetDlgItemText(1000, typed);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(parent, &frame);
    EXPECT_EQ(typed, "start7");
    EXPECT_TRUE(frame.IsWindowEnabled());
    frame.DestroyWindow();
}

TEST_F(WndModal, EndDialogDuringInitDialogReturnsAtOnce)
{
    ModalDlg dialog(nullptr);
    dialog.onInit = [](ModalDlg& d) { d.EndDialog(IDNO); };
    EXPECT_EQ(dialog.DoModal(), IDNO);
}

TEST_F(WndModal, CrossThreadSendIsServedInsideTheModalLoop)
{
    ModalDlg dialog(nullptr);
    std::unique_ptr<TestThread> worker;
    std::atomic<LRESULT> result { 0 };
    dialog.onInit = [&](ModalDlg& d) {
        const HWND hwnd = d.GetSafeHwnd();
        worker = std::make_unique<TestThread>([&result, hwnd] { result = SendMessage(hwnd, WM_APP + 1); });
    };
    DWORD handlerThread = 0;
    dialog.onPoke = [&](ModalDlg& d) {
        handlerThread = GetCurrentThreadId();
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(worker->FinishedWithin(5000));
    EXPECT_EQ(result.load(), 5);
    EXPECT_EQ(handlerThread, AfxGetUiThreadId());
}

// A window whose posted messages run the given functions.
class Relay : public CWnd {
public:
    std::function<void()> onOpen;
    std::function<void()> onBehind;
    std::function<void()> onTimer;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            { OnMessage<&Relay::OnOpen>(WM_APP + 2), OnMessage<&Relay::OnBehind>(WM_APP + 3),
                OnMessage<&Relay::OnTimerMessage>(WM_TIMER) });
        return &kMap;
    }

private:
    LRESULT OnOpen(WPARAM, LPARAM)
    {
        onOpen();
        return 0;
    }
    LRESULT OnBehind(WPARAM, LPARAM)
    {
        onBehind();
        return 0;
    }
    LRESULT OnTimerMessage(WPARAM, LPARAM)
    {
        onTimer();
        return 0;
    }
};

TEST_F(WndModal, AMessageQueuedBehindTheOneThatOpensADialogIsServedInItsLoop)
{
    Relay relay;
    ASSERT_TRUE(relay.CreateEx(0, nullptr, "relay", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    ModalDlg dialog(nullptr);
    int result = 0;
    relay.onOpen = [&] {
        relay.SetTimer(1, 5000); // the deadline: the dialog gives up
        result = static_cast<int>(dialog.DoModal());
        relay.KillTimer(1);
    };
    relay.onBehind = [&] {
        if (dialog.GetSafeHwnd() != nullptr)
            dialog.EndDialog(IDOK);
    };
    relay.onTimer = [&] { dialog.EndDialog(IDCANCEL); };
    // Both wait in the queue before the first is taken.
    relay.PostMessage(WM_APP + 2);
    relay.PostMessage(WM_APP + 3);
    ASSERT_TRUE(PumpUntil([&] { return result != 0; }, std::chrono::milliseconds(8000)));
    EXPECT_EQ(result, IDOK);
    relay.DestroyWindow();
}

TEST_F(WndModal, OkExchangesDataAndCloseCancels)
{
    ModalDlg dialog(nullptr);
    dialog.onInit = [](ModalDlg& d) {
        d.SetDlgItemText(1000, "entered");
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.savedText, "entered");

    ModalDlg refusing(nullptr);
    refusing.failExchange = true;
    refusing.onInit = [](ModalDlg& d) {
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)); // refused: stays open
        d.PostMessage(WM_CLOSE);
    };
    EXPECT_EQ(refusing.DoModal(), IDCANCEL);
}

TEST_F(WndModal, ReturnAndEscapePressOkAndCancel)
{
    ModalDlg typed(nullptr);
    typed.onInit = [](ModalDlg& d) { d.PostMessage(WM_APP + 1); };
    typed.onPoke = [](ModalDlg& d) {
        const HWND edit = d.GetDlgItem(1000)->GetSafeHwnd();
        AfxSimulateKey(edit, 'X', "x");
        AfxSimulateKey(edit, VK_RETURN, "\r");
    };
    EXPECT_EQ(typed.DoModal(), IDOK);
    EXPECT_EQ(typed.savedText, "startx");

    ModalDlg escaped(nullptr);
    escaped.onInit = [](ModalDlg& d) { d.PostMessage(WM_APP + 1); };
    escaped.onPoke
        = [](ModalDlg& d) { AfxSimulateKey(d.GetDlgItem(1000)->GetSafeHwnd(), VK_ESCAPE, "\x1b"); };
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
}

TEST_F(WndModal, ClickingTheCancelButtonEndsTheDialog)
{
    ModalDlg dialog(nullptr);
    dialog.onInit = [](ModalDlg& d) { d.PostMessage(WM_APP + 1); };
    dialog.onPoke = [](ModalDlg& d) {
        AfxSimulateClick(d.GetDlgItem(IDCANCEL)->GetSafeHwnd(), POINT { 5, 5 });
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(WndModal, TemplateUnitsBecomePixelsFromTheFont)
{
    ModalDlg dialog(nullptr);
    CRect mapped;
    CRect client;
    CRect editRect;
    dialog.onInit = [&](ModalDlg& d) {
        mapped = CRect(4, 8, 8, 16);
        d.MapDialogRect(&mapped);
        d.GetClientRect(&client);
        d.GetDlgItem(1000)->GetWindowRect(&editRect);
        d.ScreenToClient(&editRect);
        d.EndDialog(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(mapped, CRect(6, 13, 12, 26)); // 8-point dialog font: 6 x 13 base units
    EXPECT_EQ(client, CRect(0, 0, 300, 163));
    EXPECT_EQ(editRect, CRect(6, 13, 156, 33));
    EXPECT_EQ(DialogBaseUnits("MS Sans Serif", 8).cx, 6);
    // The work screen's Courier New form: 7-pixel characters at 8 points.
    EXPECT_EQ(DialogBaseUnits("Courier New", 8).cx, 7);
    EXPECT_EQ(DialogBaseUnits("courier new", 8).cy, 13);
    EXPECT_EQ(DialogBaseUnits("Courier New", 10).cx, 8);
}

TEST_F(WndModal, VisibleModelessDialogShowsAndEndDialogHidesIt)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(kVisibleTemplate, nullptr));
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.EndDialog(IDOK);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(IsWindow(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}

// ---- Edit controls -------------------------------------------------------------------------

TEST(WndEdit, SelectionReplacementWorksOnHiddenEdits)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 200, 100, nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(0, 0, 100, 20), &parent, 1026));
    edit.SetWindowText("1,2-4");
    edit.SetSel(0, -1);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);
    edit.SetSel(2, 5);
    edit.ReplaceSel("3");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "1,3");
    edit.GetSel(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(edit.GetLimitText(), 0x7FFFFFFEu);
    edit.SetLimitText(10);
    EXPECT_EQ(edit.GetLimitText(), 10u);
    edit.SetWindowText(std::string(40, 'x').c_str()); // the program's own text is never cut
    EXPECT_EQ(edit.GetWindowTextLength(), 40);
    parent.DestroyWindow();
}

TEST(WndEdit, ShownEditKeepsItsTextInStepAcrossThreads)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1039));
    TestThread worker([&] { edit.SetWindowText("전송 중"); });
    ASSERT_TRUE(worker.FinishedWithin(5000));
    AfxPumpMessage();
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "전송 중");
    parent.DestroyWindow();
}

} // namespace
