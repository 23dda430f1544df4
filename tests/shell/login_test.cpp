// The manager log-in: the dialog, the worker's reply, log-out, the change of
// the manager's own data and the registration of a new manager.

#include "db/manager_db_worker.h"
#include "resources/calvorn_ids.h"
#include "shell/manager_class.h"
#include "shell/manager_dialogs.h"
#include "shell/screen_table.h"
#include "tests/shell/shell_fixture.h"

namespace {

class LoginTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartUp());
        ASSERT_TRUE(TempDataRoot::Exists(m_root.Native(kManagerDatabase))) << m_root.Native(kManagerDatabase);
        ExecuteOnManagerDb("INSERT INTO [Manager] VALUES('kim', 'secret', 7)");
        LogOut();
        ASSERT_EQ(LeftPane()->IsLoggedIn(), 0);
        WorkScreen()->m_hints.clear();
    }

    std::vector<CString> BoxTexts() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& record : MessageBoxScript::Records())
            texts.push_back(record.text);
        return texts;
    }
};

} // namespace

TEST_F(LoginTest, LogOutClearsTheStateAndSendsHintTenWithEmptyText)
{
    LogIn("kim", "secret", MakeItemDatabase("kim.mdb"));
    ASSERT_EQ(LeftPane()->IsLoggedIn(), 1);
    WorkScreen()->m_hints.clear();
    LabelView()->m_hints.clear();
    LogOut();
    CCalvornView* pane = LeftPane();
    EXPECT_EQ(pane->IsLoggedIn(), 0);
    EXPECT_TRUE(pane->UserId().IsEmpty());
    EXPECT_EQ(pane->IsAdministrator(), 0);
    EXPECT_TRUE(pane->ItemDatabasePath().IsEmpty());
    EXPECT_EQ(CategoryTree().GetCount(), 0u);
    EXPECT_EQ(CaptionPanel().GetCaption(), "Input Log ID");
    CString text;
    LoginButton().GetWindowText(text);
    EXPECT_EQ(text, "Log-in");
    // The work screens hear of it once, by hint 10 with no text.
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, 10);
    EXPECT_TRUE(WorkScreen()->m_hints[0].text.IsEmpty());
    ASSERT_EQ(LabelView()->m_hints.size(), 1u);
    EXPECT_EQ(LabelView()->m_hints[0].hint, 10);
}

TEST_F(LoginTest, CorrectPasswordLogsInWithoutAdministratorRights)
{
    const CString items = MakeItemDatabase("kim.mdb");
    LogIn("kim", "secret", items);
    CCalvornView* pane = LeftPane();
    EXPECT_EQ(pane->IsLoggedIn(), 1);
    EXPECT_EQ(pane->IsAdministrator(), 0);
    EXPECT_EQ(pane->UserId(), "kim");
    EXPECT_EQ(pane->CornerCode(), "7");
    EXPECT_EQ(CaptionPanel().GetCaption(), "kim Log-In");
    CString text;
    LoginButton().GetWindowText(text);
    EXPECT_EQ(text, "Log-out");
    // Hint 8 with the user id, then the item database that was opened.
    ASSERT_FALSE(WorkScreen()->m_hints.empty());
    EXPECT_EQ(WorkScreen()->m_hints.front().hint, HintOf(Screen::LoggedIn));
    EXPECT_EQ(WorkScreen()->m_hints.front().userId, "kim");
    EXPECT_EQ(pane->ItemDatabasePath(), items);
    EXPECT_EQ(CategoryTree().GetCount(), 13u); // 3 groups, 10 entries
    ASSERT_EQ(FileDialogScript::Records().size(), 1u);
    EXPECT_EQ(FileDialogScript::Records()[0].title, "ItemDB File Open");
    EXPECT_EQ(FileDialogScript::Records()[0].filter, "mdb File(*.mdb)|*.mdb||");
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(LoginTest, WrongPasswordFailsAndClearsTheEntries)
{
    LogIn("kim", "wrong");
    CCalvornView* pane = LeftPane();
    EXPECT_TRUE(pane->CornerCode().IsEmpty());
    EXPECT_EQ(pane->IsAdministrator(), 0);
    EXPECT_EQ(pane->IsLoggedIn(), 0);
    EXPECT_TRUE(pane->UserId().IsEmpty());
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "Log-in Failed." });
    EXPECT_TRUE(FileDialogScript::Records().empty());
}

TEST_F(LoginTest, QuotesInIdOrPasswordAreRefusedWithoutSqlError)
{
    LogIn("' OR ''='", "' OR ''='");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 0);
    LogIn("kim", "x' OR 'a'='a");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<CString> { "Log-in Failed.", "Log-in Failed." }));
}

TEST_F(LoginTest, LoginSqlQuotesTheTypedValues)
{
    EXPECT_EQ(ManagerLoginSql("o'neil", "p'w"),
        "SELECT [corner_code] FROM [manager] WHERE mg_id = 'o''neil' AND mg_pass = 'p''w'");
}

TEST_F(LoginTest, AdministratorIsOnlyTheExactId)
{
    ExecuteOnManagerDb("INSERT INTO [Manager] VALUES(' vexo', 'vexo', 0)");
    LogIn("vexo", "vexo");
    EXPECT_EQ(LeftPane()->IsAdministrator(), 1);
    LogOut();
    LogIn("VEXO", "vexo");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 1);
    EXPECT_EQ(LeftPane()->IsAdministrator(), 0);
    LogOut();
    LogIn(" vexo", "vexo");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 1);
    EXPECT_EQ(LeftPane()->IsAdministrator(), 0);
}

TEST_F(LoginTest, CancelledDialogSendsNothing)
{
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDCANCEL); });
    LeftPane()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOGIN_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME).IsEmpty());
    EXPECT_TRUE(LeftPane()->Mailbox().Text(IDC_MAILBOX_TEXT).IsEmpty());
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 0);
}

TEST_F(LoginTest, ButtonWhileLoggedInLogsOutWithoutTheDialog)
{
    LogIn("kim", "secret");
    ASSERT_EQ(LeftPane()->IsLoggedIn(), 1);
    const size_t dialogs = ModalDialogScript::Records().size();
    LogOut();
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 0);
    EXPECT_EQ(ModalDialogScript::Records().size(), dialogs);
}

TEST_F(LoginTest, ChangeOfOwnDataUpdatesThePasswordAndCorner)
{
    LogIn("kim", "secret");
    ModalDialogScript::Push([](CDialog& dialog) {
        CString id;
        dialog.GetDlgItemText(IDC_USER_INFO_ID, id);
        EXPECT_EQ(id, "kim");
        EXPECT_FALSE(dialog.GetDlgItem(IDC_USER_INFO_ID)->IsWindowEnabled());
        dialog.SetDlgItemText(IDC_USER_INFO_PASSWORD, "new'pw");
        dialog.SetDlgItemText(IDC_USER_INFO_RE_PASSWORD, "new'pw");
        AfxClickDlgButton(dialog, IDOK);
    });
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_USER_INFO_CHANGE, 0), 0);
    EXPECT_EQ(ReadManagerDb("SELECT [mg_pass] FROM [Manager] WHERE [mg_id] = 'kim'"), "new'pw");
    EXPECT_EQ(ReadManagerDb("SELECT [corner_code] FROM [Manager] WHERE [mg_id] = 'kim'"), "0");
    // The pane keeps the new password: the dialog opens with it.
    CString shown;
    ModalDialogScript::Push([&shown](CDialog& dialog) {
        dialog.GetDlgItemText(IDC_USER_INFO_PASSWORD, shown);
        AfxClickDlgButton(dialog, IDCANCEL);
    });
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_USER_INFO_CHANGE, 0), 0);
    EXPECT_EQ(shown, "new'pw");
    EXPECT_EQ(LeftPane()->CornerCode(), "0");
}

TEST_F(LoginTest, DifferentPasswordsKeepTheDialogOpen)
{
    LogIn("kim", "secret");
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_USER_INFO_PASSWORD, "one");
        dialog.SetDlgItemText(IDC_USER_INFO_RE_PASSWORD, "two");
        AfxClickDlgButton(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog.GetSafeHwnd()));
        AfxClickDlgButton(dialog, IDCANCEL);
    });
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_USER_INFO_CHANGE, 0), 0);
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "Password Error." });
    EXPECT_EQ(ReadManagerDb("SELECT [mg_pass] FROM [Manager] WHERE [mg_id] = 'kim'"), "secret");
}

TEST_F(LoginTest, RegistrationInsertsTheManager)
{
    LogIn("vexo", "vexo");
    ModalDialogScript::Push([](CDialog& dialog) {
        CString button;
        dialog.GetDlgItem(IDOK)->GetWindowText(button);
        EXPECT_EQ(button, "INSERT");
        dialog.SetDlgItemText(IDC_USER_INFO_ID, "o'neil");
        dialog.SetDlgItemText(IDC_USER_INFO_PASSWORD, "pw");
        dialog.SetDlgItemText(IDC_USER_INFO_RE_PASSWORD, "pw");
        AfxClickDlgButton(dialog, IDOK);
    });
    LeftPane()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEW_MANAGER, 0), 0);
    EXPECT_EQ(ReadManagerDb("SELECT [mg_pass] FROM [Manager] WHERE [mg_id] = 'o''neil'"), "pw");
    EXPECT_EQ(LeftPane()->UserId(), "vexo");
    // The new manager logs in.
    LogOut();
    LogIn("o'neil", "pw");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 1);
}

TEST_F(LoginTest, ManagerDatabaseThatCannotOpenShowsOneErrorAndFreesTheMailbox)
{
    TempDataRoot::WriteAll(m_root.Native(kManagerDatabase), "no database here");
    LogIn("kim", "secret");
    EXPECT_EQ(LeftPane()->IsLoggedIn(), 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0], "Log-in Failed.");
    EXPECT_TRUE(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME).IsEmpty());
    EXPECT_TRUE(LeftPane()->Mailbox().Text(IDC_MAILBOX_TEXT).IsEmpty());
    EXPECT_TRUE(LeftPane()->IsManagerWorkerIdle());
}
