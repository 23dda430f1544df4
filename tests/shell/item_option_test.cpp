// Item_Option: the default-values dialog (214) with its settings files, and
// Information Change writing the stored values into the manager's items.

#include <map>

#include "db/db_messages.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/base/file_system.h"
#include "platform/wnd/controls/button.h"
#include "resources/calvorn_ids.h"
#include "shell/default_value_dlg.h"
#include "shell/dialog_helpers.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"
#include "shell/screen_table.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/command.h"
#include "tests/support/icon_check.h"

namespace {

// Field edits by column.
int EditOf(const char* column)
{
    for (std::size_t i = 0; i < kItemValueCount; ++i)
        if (CString(kItemValueColumns[i]) == column)
            return kDefaultValueFields[i].edit;
    ADD_FAILURE() << column;
    return 0;
}

int BoxOf(const char* column)
{
    for (std::size_t i = 0; i < kItemValueCount; ++i)
        if (CString(kItemValueColumns[i]) == column)
            return kDefaultValueFields[i].box;
    ADD_FAILURE() << column;
    return 0;
}

void Tick(CDialog& dialog, int box, bool on = true)
{
    dialog.SendDlgItemMessage(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsTicked(CDialog& dialog, int box)
{
    return dialog.SendDlgItemMessage(box, BM_GETCHECK) == BST_CHECKED;
}

// Ticks the master box and the given fields with their values, then OK.
// The focused control's id after OK goes to focus (when given).
std::function<void(CDialog&)> FillAndOk(
    std::map<CString, CString> values, bool master = true, int* focus = nullptr)
{
    return [values, master, focus](CDialog& dialog) {
        if (CWnd* box = dialog.GetDlgItem(IDC_DEFAULT_MASTER); box && box->IsWindowVisible()) {
            Tick(dialog, IDC_DEFAULT_MASTER, master);
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEFAULT_MASTER, BN_CLICKED),
                reinterpret_cast<LPARAM>(box->GetSafeHwnd()));
        }
        for (const auto& [column, value] : values) {
            Tick(dialog, BoxOf(column));
            dialog.SetDlgItemText(EditOf(column), value);
        }
        AfxClickDlgButton(dialog, IDOK);
        if (focus) {
            CWnd* focused = CWnd::GetFocus();
            *focus = focused ? focused->GetDlgCtrlID() : 0;
        }
    };
}

class ItemOptionTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartUp());
        m_items = MakeItemDatabase("store.mdb");
        FileDialogScript::PushPath(m_items);
        Command(*Frame(), ID_FILE_OPEN);
        ASSERT_EQ(LeftPane()->ItemDatabasePath(), m_items);
        WorkScreen()->m_hints.clear();
    }

    std::string File(const char* stem, const char* id = "vexo") const
    {
        return TempDataRoot::ReadAll(m_root.Native(ManagerSettingsPath(stem, id).GetString()));
    }
    bool FileExists(const char* stem, const char* id = "vexo") const
    {
        return TempDataRoot::Exists(m_root.Native(ManagerSettingsPath(stem, id).GetString()));
    }
    void WriteFile(const char* stem, std::string_view bytes, const char* id = "vexo") const
    {
        MakeDirectoryPath(kSettingsFolder);
        TempDataRoot::WriteAll(m_root.Native(ManagerSettingsPath(stem, id).GetString()), bytes);
    }

    void ExecuteOnItems(const CString& sql)
    {
        CGeneralDaoHelper helper;
        helper.OpenDatabase(m_items);
        helper.Execute(sql);
        helper.CloseDatabase();
    }
    CString ReadItems(const char* sql)
    {
        CGeneralDaoHelper helper;
        helper.OpenDatabase(m_items);
        const CString rows = helper.GetRows(sql);
        helper.CloseDatabase();
        return rows;
    }

    void ChooseItemEntry()
    {
        CTreeCtrl& tree = CategoryTree();
        HTREEITEM item = tree.GetChildItem(tree.GetRootItem());
        ASSERT_EQ(tree.GetItemText(item), "Item");
        tree.SelectItem(item);
        WorkScreen()->m_hints.clear();
    }

    CString m_items;
};

// ---- Default Value Setup

TEST_F(ItemOptionTest, DefaultValuesOnWriteTheThreeFilesInTableOrder)
{
    ModalDialogScript::Push(FillAndOk({ { "additem", "" }, { "item_name", "사과" }, { "unitprice", "1500" },
        { "pos_flg", "" }, { "item_name2", "" } }));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    ASSERT_EQ(ModalDialogScript::Records().size(), 1u);
    EXPECT_EQ(ModalDialogScript::Records()[0].templateId, 214u);
    EXPECT_EQ(ModalDialogScript::Records()[0].result, IDOK);
    EXPECT_EQ(File(kDefaultValueFile), "vexo\r\nTRUE");
    // CP949 on disk; an empty digits field is written as "0", an empty text as an empty line.
    EXPECT_EQ(File(kDefaultCheckValueFile),
        "item_name\r\n\xBB\xE7\xB0\xFA\r\nitem_name2\r\n\r\nunitprice\r\n1500\r\npos_"
        "flg\r\n0\r\nadditem\r\n0\r\n");
    EXPECT_EQ(File(kDefaultUncheckIndexFile),
        "item_num\r\nfix_price\r\nland\r\npos_code\r\npiece\r\nweight\r\nfmark\r\npos_kind\r\ndateprint\r\n"
        "limit_day\r\n");
    EXPECT_TRUE(IsDefaultValueOn("vexo"));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(ItemOptionTest, EveryFieldTickedLeavesOnlyTheTwoFixedNamesInTheIndex)
{
    std::map<CString, CString> all;
    for (const char* column : kItemValueColumns)
        if (CString(column) != "item_num" && CString(column) != "pos_code")
            all[column] = "1";
    ModalDialogScript::Push(FillAndOk(all));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(File(kDefaultUncheckIndexFile), "item_num\r\npos_code\r\n");
    ModalDialogScript::Push(FillAndOk({}));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    // Reopened, every box comes back ticked; untick them all.
    ModalDialogScript::Push([](CDialog& dialog) {
        EXPECT_TRUE(IsTicked(dialog, IDC_DEFAULT_MASTER));
        for (const DefaultValueField& field : kDefaultValueFields)
            Tick(dialog, field.box, false);
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(File(kDefaultCheckValueFile), "");
    EXPECT_EQ(File(kDefaultUncheckIndexFile),
        "item_num\r\nitem_name\r\nitem_name2\r\nunitprice\r\nfix_price\r\nland\r\npos_flg\r\npos_code\r\n"
        "piece\r\nweight\r\nfmark\r\npos_kind\r\ndateprint\r\nlimit_day\r\nadditem\r\n");
}

TEST_F(ItemOptionTest, DefaultValuesOffWritesOnlyFalseAndKeepsTheValues)
{
    ModalDialogScript::Push(FillAndOk({ { "land", "12" } }));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    const std::string values = File(kDefaultCheckValueFile);
    // Off: any content is accepted, only "FALSE" is written.
    ModalDialogScript::Push(FillAndOk({ { "unitprice", "99999999" } }, false));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(ModalDialogScript::Records().back().result, IDOK);
    EXPECT_EQ(File(kDefaultValueFile), "FALSE");
    EXPECT_EQ(File(kDefaultCheckValueFile), values);
    EXPECT_FALSE(IsDefaultValueOn("vexo"));
    // Switched on again, the kept values come back into the dialog.
    CString land;
    ModalDialogScript::Push([&](CDialog& dialog) {
        EXPECT_FALSE(IsTicked(dialog, IDC_DEFAULT_MASTER));
        EXPECT_FALSE(dialog.GetDlgItem(EditOf("land"))->IsWindowEnabled());
        EXPECT_TRUE(IsTicked(dialog, BoxOf("land")));
        dialog.GetDlgItemText(EditOf("land"), land);
    });
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(land, "12");
}

struct RefusedCase {
    const char* column;
    const char* value;
    const char* message; // nullptr: accepted
};

TEST_F(ItemOptionTest, EachTestRefusesAboveItsLimit)
{
    const RefusedCase cases[] = {
        { "item_name", "1234567890123456789012345678", nullptr },
        { "item_name", "12345678901234567890123456789", " Item Name is a 28 character." },
        { "item_name", "가나다라마바사아자차카타파하", nullptr }, // 28 bytes in CP949
        { "item_name", "가나다라마바사아자차카타파하a", " Item Name is a 28 character." },
        { "item_name2", "12345678901234567890123456789", " Item Name2 is a 28 character." },
        { "unitprice", "999999", nullptr },
        { "unitprice", "", nullptr },
        { "unitprice", "1234567", "Unit price is a 1 - 999999." },
        { "fix_price", "99999", nullptr },
        { "fix_price", "123456", "Fix_price is a 1 - 99999." },
        { "land", "300", nullptr },
        { "land", "301", "Land is a 0 - 300." },
        { "land", "0301", "Land is a 0 - 300." },
        { "pos_flg", "999", nullptr },
        { "pos_flg", "1000", "Pos flag is a 1 - 999." },
        { "pos_kind", "3", nullptr },
        { "pos_kind", "4", "Pos Kind is a 0 - 3." },
        { "pos_kind", "003", "Pos Kind is a 0 - 3." },
        { "dateprint", "7", nullptr },
        { "dateprint", "8", "DatePrinting is a 0 - 7." },
        { "piece", "123456789", nullptr },
        { "limit_day", "99999", nullptr },
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(CString(c.column) + "=" + c.value);
        DeleteFile(ManagerSettingsPath(kDefaultValueFile, "vexo"));
        MessageBoxScript::Reset();
        int focus = 0;
        ModalDialogScript::Push(FillAndOk({ { c.column, c.value } }, true, &focus));
        Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
        if (c.message) {
            EXPECT_TRUE(ModalDialogScript::Records().back().leftOpen);
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
            EXPECT_EQ(focus, EditOf(c.column));
            EXPECT_FALSE(FileExists(kDefaultValueFile));
        } else {
            EXPECT_EQ(ModalDialogScript::Records().back().result, IDOK);
            EXPECT_EQ(MessageBoxScript::Count(), 0u);
            EXPECT_EQ(File(kDefaultValueFile), "vexo\r\nTRUE");
        }
    }
}

TEST_F(ItemOptionTest, EveryFailingFieldIsReportedInTableOrderAndTheLastKeepsTheFocus)
{
    int focus = 0;
    ModalDialogScript::Push(
        FillAndOk({ { "dateprint", "9" }, { "unitprice", "1234567" }, { "land", "999" }, { "piece", "5" } },
            true, &focus));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    ASSERT_EQ(MessageBoxScript::Count(), 3u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Unit price is a 1 - 999999.");
    EXPECT_EQ(MessageBoxScript::Records()[1].text, "Land is a 0 - 300.");
    EXPECT_EQ(MessageBoxScript::Records()[2].text, "DatePrinting is a 0 - 7.");
    EXPECT_EQ(focus, EditOf("dateprint"));
    EXPECT_FALSE(FileExists(kDefaultValueFile));
    EXPECT_FALSE(FileExists(kDefaultCheckValueFile));
    // An unticked field is not tested.
    MessageBoxScript::Reset();
    ModalDialogScript::Push([](CDialog& dialog) {
        Tick(dialog, IDC_DEFAULT_MASTER);
        dialog.SetDlgItemText(EditOf("land"), "999");
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_EQ(ModalDialogScript::Records().back().result, IDOK);
}

TEST_F(ItemOptionTest, OpeningReadsTheFilesOfThisManagerOnly)
{
    WriteFile(kDefaultValueFile, "kim\r\nTRUE");
    WriteFile(kDefaultCheckValueFile,
        "item_num\r\n77\r\nbogus\r\nx\r\npos_code\r\n5\r\nland\r\n1\r\nland\r\n2\r\n");
    std::map<int, CString> texts;
    bool master = true;
    bool itemNumberEnabled = true;
    ModalDialogScript::Push([&](CDialog& dialog) {
        master = IsTicked(dialog, IDC_DEFAULT_MASTER);
        for (const char* column : { "item_num", "pos_code", "land", "piece" }) {
            CString text;
            dialog.GetDlgItemText(EditOf(column), text);
            texts[EditOf(column)] = IsTicked(dialog, BoxOf(column)) ? text : CString("unticked");
        }
        Tick(dialog, IDC_DEFAULT_MASTER);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEFAULT_MASTER, BN_CLICKED), 0);
        itemNumberEnabled = dialog.GetDlgItem(EditOf("item_num"))->IsWindowEnabled();
        EXPECT_TRUE(dialog.GetDlgItem(EditOf("land"))->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(BoxOf("pos_code"))->IsWindowEnabled());
    });
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_FALSE(master); // another manager's file
    EXPECT_EQ(texts[EditOf("item_num")], "77");
    EXPECT_EQ(texts[EditOf("pos_code")], "5");
    EXPECT_EQ(texts[EditOf("land")], "2");
    EXPECT_EQ(texts[EditOf("piece")], "unticked");
    EXPECT_FALSE(itemNumberEnabled);
}

TEST_F(ItemOptionTest, DefaultValueReaderFollowsTheFirstAndLastLine)
{
    const struct {
        const char* bytes;
        bool on;
    } cases[] = {
        { "vexo\r\nTRUE", true },
        { "vexo\r\nTRUE\r\n", true },
        { "vexo\r\nanything", true },
        { "vexo\r\nFALSE", false },
        { "vexo\r\n", false },
        { "vexo", false },
        { "FALSE", false },
        { "VEXO\r\nTRUE", false },
        { "", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        WriteFile(kDefaultValueFile, c.bytes);
        EXPECT_EQ(IsDefaultValueOn("vexo"), c.on ? TRUE : FALSE);
    }
    EXPECT_FALSE(IsDefaultValueOn("nobody"));
}

TEST_F(ItemOptionTest, ReloadOnlyWhenTheItemScreenIsShown)
{
    ModalDialogScript::Push(FillAndOk({}));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
    ChooseItemEntry();
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDCANCEL); });
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
    ModalDialogScript::Push(FillAndOk({}));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::Item));
    EXPECT_EQ(WorkScreen()->m_hints[0].queryName, "Item_Read");
    EXPECT_EQ(WorkScreen()->m_hints[0].userId, "vexo");
    EXPECT_EQ(WorkScreen()->m_hints[0].text, m_items);
}

TEST_F(ItemOptionTest, WriteFailureIsReportedAndKeepsTheDialogOpen)
{
    // A folder where the file should be cannot be replaced.
    MakeDirectoryPath(ManagerSettingsPath(kDefaultValueFile, "vexo"));
    TempDataRoot::WriteAll(
        m_root.Native(ManagerSettingsPath(kDefaultValueFile, "vexo").GetString()) + "/x", "x");
    ModalDialogScript::Push(FillAndOk({}, false));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_TRUE(ModalDialogScript::Records().back().leftOpen);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_NE(MessageBoxScript::Records()[0].text.Find("could not be written"), -1);
}

TEST(ManagerSettingsPathTest, TheIdStaysOneFileNameComponent)
{
    EXPECT_EQ(
        ManagerSettingsPath("Default_Value", "vexo"), "C:\\Windows\\system\\Manager\\Default_Value_vexo.bin");
    EXPECT_EQ(ManagerSettingsPath("Total_Value", "김 매니저"),
        "C:\\Windows\\system\\Manager\\Total_Value_김 매니저.bin");
    EXPECT_EQ(ManagerSettingsPath("Total_Value", "..\\..\\x"),
        "C:\\Windows\\system\\Manager\\Total_Value_..%5C..%5Cx.bin");
    EXPECT_EQ(
        ManagerSettingsPath("Total_Value", "a/b"), "C:\\Windows\\system\\Manager\\Total_Value_a%2Fb.bin");
    EXPECT_EQ(
        ManagerSettingsPath("Total_Value", "a%2Fb"), "C:\\Windows\\system\\Manager\\Total_Value_a%252Fb.bin");
}

TEST_F(ItemOptionTest, ManagerIdWithSeparatorsWritesInsideTheDataFolder)
{
    LeftPane()->LogIn("../evil", "");
    ModalDialogScript::Push(FillAndOk({}, false));
    Command(*Frame(), ID_DEFAULT_VALUE_SETUP);
    EXPECT_EQ(File(kDefaultValueFile, "../evil"), "FALSE");
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native("C:\\Windows\\system\\Default_Value_..")));
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native("C:\\Windows\\system\\evil.bin")));
}

// ---- Information Change

class InfoChangeTest : public ItemOptionTest {
protected:
    void SetUp() override
    {
        ItemOptionTest::SetUp();
        ExecuteOnItems(
            "INSERT INTO [Item] ([item_num], [item_name], [unitprice], [mg_id]) VALUES ('1', 'A', '10', "
            "'vexo')");
        ExecuteOnItems(
            "INSERT INTO [Item] ([item_num], [item_name], [unitprice], [mg_id]) VALUES ('2', 'B', '20', "
            "'vexo')");
        ExecuteOnItems(
            "INSERT INTO [Item] ([item_num], [item_name], [unitprice], [mg_id]) VALUES ('3', 'C', '30', "
            "'kim')");
    }
};

TEST_F(InfoChangeTest, DialogValuesGoIntoEveryItemOfTheManager)
{
    bool icons = false;
    ModalDialogScript::Push([&icons](CDialog& dialog) {
        icons = ShowsIcon(dialog, IDOK, kOkIcon) && ShowsIcon(dialog, IDCANCEL, kCancelIcon);
        EXPECT_FALSE(dialog.GetDlgItem(IDC_DEFAULT_MASTER)->IsWindowVisible());
        CString title;
        dialog.GetWindowText(title);
        EXPECT_EQ(title, "Information Change");
        EXPECT_TRUE(dialog.GetDlgItem(EditOf("unitprice"))->IsWindowEnabled());
        EXPECT_TRUE(dialog.GetDlgItem(BoxOf("unitprice"))->IsWindowEnabled());
        // The item number and the POS code are never changed for every item.
        for (const char* fixed : { "item_num", "pos_code" }) {
            EXPECT_FALSE(dialog.GetDlgItem(BoxOf(fixed))->IsWindowEnabled()) << fixed;
            EXPECT_FALSE(dialog.GetDlgItem(EditOf(fixed))->IsWindowEnabled()) << fixed;
        }
        Tick(dialog, BoxOf("unitprice"));
        dialog.SetDlgItemText(EditOf("unitprice"), "99999999"); // no limits here
        Tick(dialog, BoxOf("item_name"));
        dialog.SetDlgItemText(EditOf("item_name"), "O'Brien's \"best\"");
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_EQ(ModalDialogScript::Records().back().result, IDOK);
    EXPECT_TRUE(icons);
    EXPECT_EQ(File(kTotalValueFile), "item_name\r\nO'Brien's \"best\"\r\nunitprice\r\n99999999\r\n");
    EXPECT_EQ(File(kTotalValueUncheckIndexFile),
        "item_num\r\nitem_name2\r\nfix_price\r\nland\r\npos_flg\r\npos_code\r\npiece\r\nweight\r\nfmark\r\n"
        "pos_kind\r\ndateprint\r\nlimit_day\r\nadditem\r\n");
    EXPECT_EQ(ReadItems("SELECT [item_num], [item_name], [unitprice] FROM [Item] ORDER BY [item_num]"),
        "1\tjo/O'Brien's \"best\"\tjo/99999999\tjo/2\tjo/O'Brien's "
        "\"best\"\tjo/99999999\tjo/3\tjo/C\tjo/30\tjo/");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_FALSE(WorkScreen()->m_pWorker->IsDatabaseOpen());
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
}

TEST_F(InfoChangeTest, PairsGoInSlotOrderAndTheLaterOfTwoWins)
{
    WriteFile(kTotalValueFile, "land\r\n5\r\nitem_name\r\nX\r\nnobody\r\n9\r\nland\r\n7\r\n");
    LeftPane()->ReadTotalValueFile();
    EXPECT_EQ(LeftPane()->BuildInfoChangeSetList(), "[item_name] = 'X' , [land] = '7'");
    WriteFile(kTotalValueFile, "");
    LeftPane()->ReadTotalValueFile();
    EXPECT_EQ(LeftPane()->BuildInfoChangeSetList(), "");
}

TEST_F(InfoChangeTest, NothingTickedRunsNoStatementButReloadsTheItemScreen)
{
    ChooseItemEntry();
    const CString before = ReadItems("SELECT [item_name] FROM [Item] ORDER BY [item_num]");
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDOK); });
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_EQ(ReadItems("SELECT [item_name] FROM [Item] ORDER BY [item_num]"), before);
    EXPECT_EQ(MessageBoxScript::Count(), 0u); // no statement, so no error
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::Item));
    // Cancelled: nothing at all.
    WorkScreen()->m_hints.clear();
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDCANCEL); });
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
    EXPECT_FALSE(FileExists(kTotalValueFile) && File(kTotalValueFile) != "");
}

TEST_F(InfoChangeTest, RefusedWhileTheWorkScreenStreamsRows)
{
    FakeKindOfView* screen = WorkScreen();
    screen->m_pWorker->OpenDatabase(m_items);
    screen->m_mailbox.SetText(IDC_MAILBOX_NAME, "Item_Read");
    screen->m_mailbox.SetText(IDC_MAILBOX_TEXT, "SELECT [item_num] FROM [Item]");
    screen->m_pWorker->SetEvent();
    ASSERT_TRUE(screen->m_pWorker->IsRequestInFlight());
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_NE(MessageBoxScript::Records()[0].text.Find("still reading"), -1);
    // Answer every row until the request is over; then the command works.
    ASSERT_TRUE(PumpUntil([&] {
        if (screen->m_mailbox.Text(IDC_MAILBOX_NAME) != kMailboxReport) {
            screen->m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
            screen->m_pWorker->SetEvent();
        }
        return !screen->m_pWorker->IsRequestInFlight();
    }));
    ModalDialogScript::Push([](CDialog& dialog) {
        Tick(dialog, BoxOf("land"));
        dialog.SetDlgItemText(EditOf("land"), "8");
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_EQ(ReadItems("SELECT [land] FROM [Item] WHERE [mg_id] = 'vexo'"), "8\tjo/8\tjo/");
}

TEST_F(InfoChangeTest, FailingUpdateShowsTheDatabaseError)
{
    TempDataRoot::WriteAll(m_items.GetString(), "no longer a database");
    ModalDialogScript::Push([](CDialog& dialog) {
        Tick(dialog, BoxOf("land"));
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_ITEM_INFO_CHANGE);
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_FALSE(WorkScreen()->m_pWorker->IsDatabaseOpen());
}

} // namespace
