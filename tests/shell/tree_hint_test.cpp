// The category tree and the view hints: each entry sends its hint number and
// query name to the other views, group items send nothing, and the menu
// update of Communication Setup reports the log-in state.

#include "resources/calvorn_ids.h"
#include "shell/screen_table.h"
#include "tests/shell/shell_fixture.h"

namespace {

class TreeHintTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartUp());
        m_items = MakeItemDatabase("store.mdb");
        FileDialogScript::PushPath(m_items);
        Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0);
        ASSERT_EQ(LeftPane()->ItemDatabasePath(), m_items);
        WorkScreen()->m_hints.clear();
        LabelView()->m_hints.clear();
    }

    // The tree item with text (any level), or nullptr.
    HTREEITEM Find(const char* text) const
    {
        CTreeCtrl& tree = CategoryTree();
        for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
            if (tree.GetItemText(group) == text)
                return group;
            for (HTREEITEM entry = tree.GetChildItem(group); entry; entry = tree.GetNextSiblingItem(entry))
                if (tree.GetItemText(entry) == text)
                    return entry;
        }
        return nullptr;
    }

    std::vector<CString> EntriesOf(const char* groupText) const
    {
        CTreeCtrl& tree = CategoryTree();
        std::vector<CString> entries;
        for (HTREEITEM entry = tree.GetChildItem(Find(groupText)); entry;
             entry = tree.GetNextSiblingItem(entry))
            entries.push_back(tree.GetItemText(entry));
        return entries;
    }

    CString m_items;
};

struct ExpectedHint {
    const char* entry;
    LPARAM hint;
    const char* queryName;
};

constexpr ExpectedHint kExpected[] = {
    { "Item", 1, "Item_Read" },
    { "Ingredient", 2, "Add_Read" },
    { "Preset", 3, "Pre_Read" },
    { "Advertisement", 4, "Adv_Read" },
    { "Land Addition", 19, "Land_Add_Read" },
    { "Scale Total Result", 12, "Scale_Result_All_Read" },
    { "Item Total Result", 13, "Scale_Result_Item_All_Read" },
    { "Item Day Result", 14, "Scale_Result_Item_Day_Read" },
    { "One Day Result", 15, "Scale_Result_Day_Read" },
    { "Scale Info", 5, "Scale_Info_Read" },
    { "Scale Info2", 18, "Scale_Root_Info_Read" },
    { "Scale Reg", 6, "Scale_Reg_Read" },
};

} // namespace

TEST_F(TreeHintTest, OpeningAnItemDatabaseSendsHintElevenAndFillsTheTree)
{
    EXPECT_EQ(CategoryTree().GetCount(), 15u); // the administrator's 3 groups, 12 entries
    EXPECT_EQ(EntriesOf("Item Catalogue"),
        (std::vector<CString> { "Item", "Ingredient", "Preset", "Advertisement", "Land Addition" }));
    EXPECT_EQ(EntriesOf("Result Catalogue"),
        (std::vector<CString> {
            "Scale Total Result", "Item Total Result", "Item Day Result", "One Day Result" }));
    EXPECT_EQ(
        EntriesOf("Scale Management"), (std::vector<CString> { "Scale Info", "Scale Info2", "Scale Reg" }));
    EXPECT_EQ(Find("Management"), nullptr);
    EXPECT_EQ(Find("User-label"), nullptr);

    FileDialogScript::PushPath(m_items);
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::DatabaseChanged));
    EXPECT_EQ(WorkScreen()->m_hints[0].text, m_items);
}

TEST_F(TreeHintTest, EachEntrySendsItsHintAndQueryName)
{
    for (const ExpectedHint& expected : kExpected) {
        SCOPED_TRACE(expected.entry);
        WorkScreen()->m_hints.clear();
        LabelView()->m_hints.clear();
        HTREEITEM item = Find(expected.entry);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(CategoryTree().SelectItem(item));
        for (RecordingView* view :
            { static_cast<RecordingView*>(WorkScreen()), static_cast<RecordingView*>(LabelView()) }) {
            ASSERT_EQ(view->m_hints.size(), 1u);
            const HintRecord& record = view->m_hints[0];
            EXPECT_EQ(record.hint, expected.hint);
            EXPECT_EQ(record.queryName, expected.queryName);
            EXPECT_EQ(record.userId, "vexo");
            EXPECT_EQ(record.text, m_items);
        }
    }
}

TEST_F(TreeHintTest, GroupItemSendsNothingAndLeavesTheMailbox)
{
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_NAME, "before");
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, "words");
    ASSERT_TRUE(CategoryTree().SelectItem(Find("Item Catalogue")));
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
    EXPECT_EQ(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME), "before");
    EXPECT_EQ(LeftPane()->Mailbox().Text(IDC_MAILBOX_TEXT), "words");
}

TEST_F(TreeHintTest, OtherManagersSeeOneScaleEntry)
{
    ExecuteOnManagerDb("INSERT INTO [Manager] VALUES('kim', 'secret', 7)");
    LogOut();
    LogIn("kim", "secret", m_items);
    EXPECT_EQ(EntriesOf("Scale Management"), std::vector<CString> { "Scale Info" });
    EXPECT_EQ(CategoryTree().GetCount(), 13u);
}

TEST_F(TreeHintTest, CommunicationSetupMenuReportsTheLogInState)
{
    CMenu* menu = Frame()->GetMenu();
    HMENU comm = ::GetSubMenu(*menu, 2);
    ASSERT_NE(comm, nullptr);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(comm), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(comm), 0);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 2u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::LoggedIn));
    EXPECT_EQ(WorkScreen()->m_hints[0].userId, "vexo");
    EXPECT_FALSE(::GetMenuState(comm, ID_COMM_SETUP, MF_BYCOMMAND) & MF_GRAYED);

    LogOut();
    WorkScreen()->m_hints.clear();
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(comm), 0);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::LoggedOut));
    EXPECT_TRUE(WorkScreen()->m_hints[0].text.IsEmpty());
    EXPECT_TRUE(::GetMenuState(comm, ID_COMM_SETUP, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(TreeHintTest, CommunicationSetupCommandSendsHintSeven)
{
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_COMM_SETUP, 0), 0);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::CommMode));
    EXPECT_EQ(WorkScreen()->m_hints[0].queryName, "Comm_Mode_Read");
}

TEST_F(TreeHintTest, FileMenuFollowsTheLogInAndItemOptionsTheDatabase)
{
    CMenu* menu = Frame()->GetMenu();
    HMENU file = ::GetSubMenu(*menu, 0);
    HMENU options = ::GetSubMenu(*menu, 1);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(options), 0);
    EXPECT_FALSE(::GetMenuState(file, ID_FILE_OPEN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(options, ID_DEFAULT_VALUE_SETUP, MF_BYCOMMAND) & MF_GRAYED);
    LogOut();
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(options), 0);
    EXPECT_TRUE(::GetMenuState(file, ID_FILE_OPEN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(file, ID_FILE_SAVE_AS_DB, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(options, ID_DEFAULT_VALUE_SETUP, MF_BYCOMMAND) & MF_GRAYED);
    // Exit always works.
    EXPECT_FALSE(::GetMenuState(file, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(TreeHintTest, OpeningAFileThatIsNoItemDatabaseKeepsTheTree)
{
    const std::string other = m_root.Native("C:\\items\\other.mdb");
    TempDataRoot::WriteAll(other, TempDataRoot::ReadAll(m_root.Native(kManagerDatabase)));
    const UINT before = CategoryTree().GetCount();
    const CString current = LeftPane()->ItemDatabasePath();
    FileDialogScript::PushPath(other.c_str());
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), current);
    EXPECT_EQ(CategoryTree().GetCount(), before);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "File Open Error.");
    // The work screen is not told: its database stays current.
    for (const auto& hint : WorkScreen()->m_hints)
        EXPECT_NE(hint.hint, HintOf(Screen::DatabaseChanged));
}

TEST_F(TreeHintTest, GroupsShowTheFolderAndEntriesThePageImage)
{
    CTreeCtrl& tree = CategoryTree();
    int groups = 0;
    int entries = 0;
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
        int image = -1;
        int selected = -1;
        ASSERT_TRUE(tree.GetItemImage(group, image, selected));
        EXPECT_EQ(image, 0);
        EXPECT_EQ(selected, 0);
        ++groups;
        for (HTREEITEM entry = tree.GetChildItem(group); entry; entry = tree.GetNextSiblingItem(entry)) {
            ASSERT_TRUE(tree.GetItemImage(entry, image, selected));
            EXPECT_EQ(image, 1) << tree.GetItemText(entry).GetString();
            EXPECT_EQ(selected, 1);
            ++entries;
        }
    }
    EXPECT_EQ(groups, 3);
    EXPECT_EQ(entries, 12);
}
