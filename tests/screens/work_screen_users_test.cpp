// The users screen: the administrator's list of manager ids from
// Manager.mdb, registering and deleting managers, and what other managers get
// (no request, no lock left behind).

#include <cstdio>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "shell/calvorn_view.h"
#include "shell/manager_dialogs.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"

namespace {

class WorkScreenUsersTest : public WorkScreenFixture {
protected:
    CString ManagerDb() const { return CString(m_root.Native(kManagerDatabase).c_str()); }
    void AddManagers(const std::vector<const char*>& ids)
    {
        std::vector<CString> sql;
        for (const char* id : ids)
            sql.push_back(CString::Formatted("INSERT INTO [Manager] VALUES('%s', 'pw', 0)", id));
        Execute(ManagerDb(), sql);
    }
    void Open(const char* user = "vexo") { Switch(Screen::Management, "Mg_Reg_Read", user, ""); }
    // List 1053 as the form holds it.
    CListBox& List() const
    {
        auto* list = dynamic_cast<CListBox*>(m_screen->GetDlgItem(IDC_WORK_USER_LIST));
        EXPECT_NE(list, nullptr);
        return *list;
    }
    std::vector<CString> Listed() const
    {
        std::vector<CString> ids;
        for (int i = 0; i < List().GetCount(); ++i) {
            CString id;
            List().GetText(i, id);
            ids.push_back(id);
        }
        return ids;
    }
    std::vector<CString> Stored()
    {
        return Column(ManagerDb(), "SELECT [mg_id] FROM [Manager] ORDER BY [mg_id]");
    }
    void Register(const char* id, const char* password, const char* again)
    {
        ModalDialogScript::Push([=](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_USER_INFO_ID, id);
            dialog.SetDlgItemText(IDC_USER_INFO_PASSWORD, password);
            dialog.SetDlgItemText(IDC_USER_INFO_RE_PASSWORD, again);
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickControl(IDC_WORK_USER_REGISTER);
        ASSERT_TRUE(WaitForLoad());
    }
    // A click on the line, then on Delete.
    void Delete(int line)
    {
        CRect area;
        ASSERT_NE(List().GetItemRect(line, &area), LB_ERR);
        ASSERT_TRUE(AfxSimulateClick(List().GetSafeHwnd(), area.CenterPoint()));
        ASSERT_EQ(List().GetCurSel(), line);
        ClickControl(IDC_WORK_USER_DELETE);
        ASSERT_TRUE(WaitForLoad());
    }
    std::vector<CString> Boxes() const
    {
        std::vector<CString> texts;
        for (const auto& box : m_boxes.Records())
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(WorkScreenUsersTest, TheAdministratorSeesEveryManagerInTheList)
{
    AddManagers({ "kim", "lee" });
    Open();
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "kim", "lee" }));
    EXPECT_TRUE(Visible(IDC_WORK_USER_LIST));
    EXPECT_TRUE(Visible(IDC_WORK_USER_REGISTER));
    EXPECT_FALSE(Visible(IDC_WORK_INSERT));
    EXPECT_FALSE(Visible(IDC_WORK_TRANS_ALL));
    EXPECT_FALSE(Grid().IsWindowVisible());
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_USER_REGISTER)->GetSafeHwnd()), "Register");
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_USER_DELETE)->GetSafeHwnd()), "Delete");
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_USER_LABEL)->GetSafeHwnd()), "User ID");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WorkScreenUsersTest, RegisteringAddsTheManagerAndRereadsTheList)
{
    Open();
    Register("kim", "secret", "secret");
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "kim" }));
    EXPECT_EQ(FirstRow(ManagerDb(), "SELECT [mg_pass] FROM [Manager] WHERE [mg_id] = 'kim'"), "secret\tjo/");
    EXPECT_EQ(ModalDialogScript::Records().at(0).templateId, IDD_USER_INFO);
    // Different passwords: the dialog refuses, nothing is stored.
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_USER_INFO_ID, "lee");
        dialog.SetDlgItemText(IDC_USER_INFO_PASSWORD, "a");
        dialog.SetDlgItemText(IDC_USER_INFO_RE_PASSWORD, "b");
        AfxClickDlgButton(dialog, IDOK);
    });
    ClickControl(IDC_WORK_USER_REGISTER);
    EXPECT_EQ(Boxes(), (std::vector<CString> { "Password Error." }));
    EXPECT_EQ(Stored(), (std::vector<CString> { "kim", "vexo" }));
    EXPECT_FALSE(Locked());
}

TEST_F(WorkScreenUsersTest, AnIdThatExistsShowsTheDatabaseErrorAndTheListIsReread)
{
    AddManagers({ "kim" });
    Open();
    Register("kim", "x", "x");
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(Stored(), (std::vector<CString> { "kim", "vexo" }));
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "kim" }));
}

TEST_F(WorkScreenUsersTest, IdsWithPathSeparatorsAreRefused)
{
    Open();
    for (const char* id : { "..\\..\\x", "a/b", "/x", "\\x" }) {
        MessageBoxScript::Reset();
        Register(id, "p", "p");
        EXPECT_EQ(Boxes(), (std::vector<CString> { "User ID can't contain \\ or /." })) << id;
    }
    EXPECT_EQ(Stored(), (std::vector<CString> { "vexo" }));
    EXPECT_FALSE(Locked());
}

TEST_F(WorkScreenUsersTest, DeleteAsksOnceAndNeverDeletesTheAdministrator)
{
    AddManagers({ "kim", "lee" });
    Open();
    // (The on-screen list may take its first line as current when it gets
    // the focus; nothing chosen is what this step tries.)
    List().SetCurSel(-1);
    ClickControl(IDC_WORK_USER_DELETE);
    Delete(0);
    EXPECT_EQ(Boxes(), (std::vector<CString> { "Select User id", "VEXO can't delete" }));
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDNO);
    Delete(1);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].caption, "Delete");
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "kim", "lee" }));
    MessageBoxScript::PushAnswer(IDYES);
    Delete(1);
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "lee" }));
    EXPECT_EQ(Stored(), (std::vector<CString> { "lee", "vexo" }));
}

TEST_F(WorkScreenUsersTest, OtherManagersSendNoRequestAndKeepNoLock)
{
    AddManagers({ "kim" });
    Open("kim");
    EXPECT_TRUE(Listed().empty());
    EXPECT_FALSE(m_screen->GetItemWorker()->IsDatabaseOpen());
    EXPECT_TRUE(Boxes().empty());
    // The next screen switch is not dropped.
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "kim", db);
    EXPECT_EQ(Caption(), "Item Display");
    EXPECT_TRUE(Grid().IsWindowVisible());
}

TEST_F(WorkScreenUsersTest, AManagerDatabaseGoneIsNamedAndTheScreenStaysUsable)
{
    AddManagers({ "kim" });
    Open();
    std::remove(m_root.Native(kManagerDatabase).c_str());
    // Each step's wait for the load fails while the lock stays.
    Register("lee", "p", "p");
    MessageBoxScript::PushAnswer(IDYES);
    Delete(1);
    const CString gone = "Could not find file 'C:\\Windows\\system\\Manager\\Manager.mdb'.";
    EXPECT_EQ(Boxes(), (std::vector<CString> { gone, "Delete the selected user id?", gone }));
    // The manager whose delete never ran is still listed.
    EXPECT_EQ(Listed(), (std::vector<CString> { "vexo", "kim" }));
}

} // namespace
