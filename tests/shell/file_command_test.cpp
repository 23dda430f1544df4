// File > Open, Save As and New: which file becomes the current item
// database, what is written to disk, what the tree and the work screens see.

#include "db/general_dao_helper.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "resources/calvorn_ids.h"
#include "shell/file_helpers.h"
#include "shell/screen_table.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/command.h"
#include "tests/support/db_lock.h"

namespace {

class FileCommandTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartUp());
        m_items = MakeItemDatabase("store.mdb");
        WorkScreen()->m_hints.clear(); // the initial update's
    }

    void OpenItems(const CString& path)
    {
        FileDialogScript::PushPath(path);
        Command(*Frame(), ID_FILE_OPEN);
        ASSERT_EQ(LeftPane()->ItemDatabasePath(), path);
        WorkScreen()->m_hints.clear();
        MessageBoxScript::Reset();
    }

    // Inserts one item row; FALSE when the statement failed.
    static bool AddItem(const CString& path, const char* number)
    {
        CGeneralDaoHelper helper;
        try {
            helper.OpenDatabase(path);
        } catch (CException* e) {
            e->Delete();
            return false;
        }
        CString sql;
        sql.Format(
            "INSERT INTO [Item] ([item_num], [item_name], [mg_id]) VALUES ('%s', 'Apple', 'vexo')", number);
        const size_t boxes = MessageBoxScript::Count();
        helper.Execute(sql);
        helper.CloseDatabase();
        return MessageBoxScript::Count() == boxes;
    }

    static CString ItemNumbers(const CString& path)
    {
        CGeneralDaoHelper helper;
        try {
            helper.OpenDatabase(path);
        } catch (CException* e) {
            e->Delete();
            return "unopenable";
        }
        const CString rows = helper.GetRows("SELECT [item_num] FROM [Item] ORDER BY [item_num]");
        helper.CloseDatabase();
        return rows;
    }

    UINT TreeCount() const { return CategoryTree().GetCount(); }

    CString Native(const char* windowsPath) const { return m_root.Native(windowsPath).c_str(); }

    CString m_items;
};

// ---- Open

struct OpenCase {
    const char* name;
    const char* content; // nullptr: an item database; "manager": Manager.mdb's bytes
    const char* message; // expected box, "" for none
    bool treeFilled;
};

TEST_F(FileCommandTest, OpenMakesOnlyAnItemDatabaseCurrentAndFillsTheTree)
{
    const OpenCase cases[] = {
        { "items.mdb", nullptr, "", true },
        { "manager.mdb", "manager", "File Open Error.", false },
        { "notes.mdb", "plain text, no database", "", false },
        { "empty.mdb", "", "", false },
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        CategoryTree().DeleteAllItems();
        WorkScreen()->m_hints.clear();
        MessageBoxScript::Reset();
        const std::string path = m_root.Native(std::string("C:\\items\\") + c.name);
        if (!c.content)
            ASSERT_TRUE(WriteResourceFile(150, path.c_str()));
        else if (std::string(c.content) == "manager")
            TempDataRoot::WriteAll(path, TempDataRoot::ReadAll(m_root.Native(kManagerDatabase)));
        else
            TempDataRoot::WriteAll(path, c.content);
        const std::string before = TempDataRoot::ReadAll(path);
        const CString current = LeftPane()->ItemDatabasePath();
        FileDialogScript::PushPath(path.c_str());
        Command(*Frame(), ID_FILE_OPEN);
        // A file that is no item database leaves the open one current.
        const CString expected = c.treeFilled ? CString(path.c_str()) : current;
        EXPECT_EQ(LeftPane()->ItemDatabasePath(), expected);
        EXPECT_EQ(TreeCount() > 0, c.treeFilled);
        if (*c.message) {
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
        } else if (!c.treeFilled) {
            // A file that is no database at all is reported by the engine.
            EXPECT_EQ(MessageBoxScript::Count(), 1u);
        } else {
            EXPECT_EQ(MessageBoxScript::Count(), 0u);
        }
        // Hint 11 with the new path; a refused file leaves the work screen as
        // it is. The file is not touched.
        if (c.treeFilled) {
            ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
            EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::DatabaseChanged));
            EXPECT_EQ(WorkScreen()->m_hints[0].text, expected);
        } else {
            EXPECT_TRUE(WorkScreen()->m_hints.empty());
        }
        EXPECT_EQ(TempDataRoot::ReadAll(path), before);
    }
    const std::vector<FileDialogRecord> dialogs = FileDialogScript::Records();
    ASSERT_FALSE(dialogs.empty());
    EXPECT_TRUE(dialogs.back().open);
    EXPECT_EQ(dialogs.back().title, "ItemDB File Open");
    EXPECT_EQ(dialogs.back().filter, "mdb File(*.mdb)|*.mdb||");
    EXPECT_EQ(dialogs.back().flags, static_cast<DWORD>(OFN_HIDEREADONLY));
}

TEST_F(FileCommandTest, AFileHeldByAnotherProgramIsToldInUseOnceAndKeepsTheScreen)
{
    const CString other = Native("C:\\items\\other.mdb");
    ASSERT_TRUE(WriteResourceFile(150, other));
    OpenItems(m_items);
    // A first open of the file, then one through the connection kept from an earlier open.
    for (const bool kept : { false, true }) {
        SCOPED_TRACE(kept ? "kept connection" : "first open");
        if (kept) {
            OpenItems(other);
            OpenItems(m_items);
        } else {
            CDaoDatabase::TEST_DropConnectionCache();
        }
        DbLockHolder lock;
        ASSERT_TRUE(lock.Hold(other.Str(), DbLockHolder::Kind::Exclusive));
        WorkScreen()->m_hints.clear();
        MessageBoxScript::Reset();
        FileDialogScript::PushPath(other);
        Command(*Frame(), ID_FILE_OPEN);
        ASSERT_EQ(MessageBoxScript::Count(), 1u);
        EXPECT_NE(MessageBoxScript::Records()[0].text.Find("the file is in use by another program."), -1);
        EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
        EXPECT_TRUE(WorkScreen()->m_hints.empty());
    }
}

TEST_F(FileCommandTest, CancelledOpenKeepsThePathAndStillSendsHintEleven)
{
    OpenItems(m_items);
    FileDialogScript::PushCancel();
    Command(*Frame(), ID_FILE_OPEN);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::DatabaseChanged));
    EXPECT_EQ(WorkScreen()->m_hints[0].text, m_items);
}

TEST_F(FileCommandTest, OpenWhileLoggedOutDoesNothing)
{
    LogOut();
    WorkScreen()->m_hints.clear();
    FileDialogScript::PushPath(m_items);
    // Straight to the handler: the menu would be grey.
    LeftPane()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, 0), 0);
    EXPECT_TRUE(FileDialogScript::Records().empty());
    EXPECT_TRUE(LeftPane()->ItemDatabasePath().IsEmpty());
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
}

// ---- Save As

TEST_F(FileCommandTest, SaveAsCopiesTheStoreAndSwitchesToTheCopy)
{
    OpenItems(m_items);
    ASSERT_TRUE(AddItem(m_items, "7"));
    const UINT tree = TreeCount();
    const CString copy = Native("C:\\items\\copy.mdb");
    TempDataRoot::WriteAll(copy.GetString(), "an older file of that name");
    FileDialogScript::PushPath(copy);
    MessageBoxScript::PushAnswer(IDYES); // replace it
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(ItemNumbers(copy), "7\tjo/");
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), copy);
    EXPECT_EQ(TreeCount(), tree);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::DatabaseChanged));
    EXPECT_EQ(WorkScreen()->m_hints[0].text, copy);
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    // Later edits go to the copy only.
    ASSERT_TRUE(AddItem(copy, "8"));
    EXPECT_EQ(ItemNumbers(copy), "7\tjo/8\tjo/");
    EXPECT_EQ(ItemNumbers(m_items), "7\tjo/");
    const FileDialogRecord dialog = FileDialogScript::Records().back();
    EXPECT_FALSE(dialog.open);
    EXPECT_EQ(dialog.title, "ItemDB File Save As");
}

TEST_F(FileCommandTest, SaveAsOntoItselfLosesNothing)
{
    OpenItems(m_items);
    ASSERT_TRUE(AddItem(m_items, "42"));
    const std::string before = TempDataRoot::ReadAll(m_items.GetString());
    FileDialogScript::PushPath(m_items);
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(TempDataRoot::ReadAll(m_items.GetString()), before);
    EXPECT_EQ(ItemNumbers(m_items), "42\tjo/");
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(FileCommandTest, FailedSaveAsKeepsTheDestinationAndThePath)
{
    // No current item database: the source cannot be read.
    const CString copy = Native("C:\\items\\keep.mdb");
    TempDataRoot::WriteAll(copy.GetString(), "keep me");
    FileDialogScript::PushPath(copy);
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(TempDataRoot::ReadAll(copy.GetString()), "keep me");
    EXPECT_TRUE(LeftPane()->ItemDatabasePath().IsEmpty());
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
    // A destination in a missing folder: reported, the current path kept.
    OpenItems(m_items);
    FileDialogScript::PushPath(Native("C:\\missing") + "/x.mdb");
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
}

// Save As while another program writes the store (its changes spilled into
// the file, not committed) and after such a writer was killed (its journal
// left hot): the copy is a whole store holding the committed rows only, or
// it is not made and that is said.
TEST_F(FileCommandTest, SaveAsCopiesWhatIsCommittedNotAWriteInProgress)
{
    {
        CDaoDatabase db;
        db.Open(m_items, FALSE, FALSE, ";PWD=quendrav");
        db.BeginTrans();
        for (int i = 0; i < 2000; ++i)
            db.Execute(CString::Formatted(
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('%d', 'Apple %d', 'vexo')", i,
                i));
        db.CommitTrans();
    }
    OpenItems(m_items);
    const CString copy = Native("C:\\items\\copy.mdb");
    const auto names = [](const CString& path, const char* name) {
        CGeneralDaoHelper helper;
        helper.OpenDatabase(path);
        return helper.GetFirstRow(
            CString::Formatted("SELECT COUNT(*) FROM [Item] WHERE [item_name] LIKE '%s%%'", name));
    };
    DbLockHolder writer;
    const char* update = "PRAGMA cache_size = 8; UPDATE [Item] SET [item_name] = 'uncommitted'";
    ASSERT_TRUE(writer.Hold(m_items.Str(), DbLockHolder::Kind::Write, 5000, update));
    FileDialogScript::PushPath(copy);
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_NE(MessageBoxScript::Records()[0].text.Find("in use by another program"), -1);
    EXPECT_NE(MessageBoxScript::Records()[0].text.Find("was not made"), -1);
    EXPECT_FALSE(TempDataRoot::Exists(copy.Str()));
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    // The writer killed mid-write: its journal is hot, its pages in the file.
    writer.Kill();
    ASSERT_TRUE(TempDataRoot::Exists(m_items.Str() + "-journal"));
    MessageBoxScript::Reset();
    FileDialogScript::PushPath(copy);
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), copy);
    EXPECT_EQ(names(copy, "Apple"), "2000\tjo/");
    EXPECT_EQ(names(copy, "uncommitted"), "0\tjo/");
    EXPECT_EQ(names(m_items, "Apple"), "2000\tjo/");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(FileCommandTest, CancelledSaveAsChangesNothing)
{
    OpenItems(m_items);
    FileDialogScript::PushCancel();
    Command(*Frame(), ID_FILE_SAVE_AS_DB);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
}

// ---- New

TEST_F(FileCommandTest, NewWritesTheEmptyTemplateSendsHintElevenAndFillsTheTree)
{
    const CString fresh = Native("C:\\items\\fresh.mdb");
    FileDialogScript::PushPath(fresh);
    Command(*Frame(), ID_FILE_NEW);
    EXPECT_EQ(TempDataRoot::ReadAll(fresh.GetString()), TempDataRoot::ReadAll(m_items.GetString()));
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), fresh);
    EXPECT_GT(TreeCount(), 0u);
    ASSERT_EQ(WorkScreen()->m_hints.size(), 1u);
    EXPECT_EQ(WorkScreen()->m_hints[0].hint, HintOf(Screen::DatabaseChanged));
    EXPECT_EQ(WorkScreen()->m_hints[0].text, fresh);
    const FileDialogRecord dialog = FileDialogScript::Records().back();
    EXPECT_TRUE(dialog.open);
    EXPECT_EQ(dialog.title, "New ItemDB File");
    EXPECT_FALSE(dialog.flags & OFN_FILEMUSTEXIST);
}

TEST_F(FileCommandTest, ANameTypedWithoutExtensionGetsTheFiltersOne)
{
    OpenItems(m_items);
    struct Case {
        UINT command;
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        { ID_FILE_NEW, "store1", "store1.mdb" },
        { ID_FILE_SAVE_AS_DB, "store2", "store2.mdb" },
        { ID_FILE_NEW, "store3.db", "store3.db" },
        { ID_EXCEL_NEW_FILE, "book", "book.xls" },
        { ID_EXCEL_NEW_FILE, "book2.xlsx", "book2.xlsx" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FileDialogScript::PushPath(Native("C:\\items\\") + "/" + c.typed);
        Command(*Frame(), c.command);
        EXPECT_TRUE(TempDataRoot::Exists((Native("C:\\items\\") + "/" + c.written).GetString()));
        EXPECT_FALSE(TempDataRoot::Exists((Native("C:\\items\\") + "/" + c.typed).GetString())
            && CString(c.typed) != c.written);
    }
    // The program's own Open lists it, and takes it.
    OpenItems(Native("C:\\items\\") + "/store1.mdb");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(FileCommandTest, NewAndSaveAsReplaceAnExistingFileOnlyWhenTheUserSaysYes)
{
    OpenItems(m_items);
    const CString other = MakeItemDatabase("other.mdb");
    for (UINT command : { ID_FILE_NEW, ID_FILE_SAVE_AS_DB }) {
        ASSERT_TRUE(AddItem(other, "5"));
        FileDialogScript::PushPath(other);
        MessageBoxScript::PushAnswer(IDNO);
        Command(*Frame(), command);
        EXPECT_EQ(ItemNumbers(other), "5\tjo/");
        EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
        EXPECT_TRUE(WorkScreen()->m_hints.empty());
        ASSERT_EQ(MessageBoxScript::Count(), 1u);
        EXPECT_EQ(MessageBoxScript::Records()[0].type,
            static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));

        FileDialogScript::PushPath(other);
        MessageBoxScript::PushAnswer(IDYES);
        Command(*Frame(), command);
        // The empty template, or a copy of the empty current database.
        EXPECT_EQ(ItemNumbers(other), "FALSE");
        EXPECT_EQ(LeftPane()->ItemDatabasePath(), other);
        OpenItems(m_items);
    }
}

TEST_F(FileCommandTest, NewAndSaveAsNeverWriteTheProgramsOwnDatabasesOrTheReceivedData)
{
    OpenItems(m_items);
    ASSERT_TRUE(MakeDirectoryPath(Native("C:\\Zuvar\\ResultData")));
    ASSERT_TRUE(MakeDirectoryPath(Native("C:\\ZUVAR\\ScaleData\\2024-03-09\\14Hour")));
    const std::string received = m_root.Native("C:\\ZUVAR\\ScaleData\\2024-03-09\\14Hour\\10.0.0.7.mdb");
    TempDataRoot::WriteAll(received, "received");
    TempDataRoot::WriteAll(m_root.Native("C:\\Zuvar\\ResultData\\Result_Sum.mdb"), "sums");
    const std::string own[] = {
        m_root.Native(kManagerDatabase),
        "c:\\windows\\SYSTEM\\manager\\Manager_ScaleInfo.MDB",
        m_root.Native("C:\\Windows\\system") + "/../system/Manager/Reservation_Store.mdb",
        "C:\\zuvar\\resultdata\\Result_Sum.mdb",
        received,
        m_root.Native("C:\\ZUVAR\\ScaleData") + "/new.mdb",
    };
    for (UINT command : { ID_FILE_NEW, ID_FILE_SAVE_AS_DB }) {
        for (const std::string& path : own) {
            SCOPED_TRACE(path);
            MessageBoxScript::Reset();
            const bool existed = TempDataRoot::Exists(path);
            const std::string before = existed ? TempDataRoot::ReadAll(path) : std::string();
            FileDialogScript::PushPath(path.c_str());
            Command(*Frame(), command);
            EXPECT_EQ(TempDataRoot::Exists(path), existed);
            if (existed) {
                EXPECT_EQ(TempDataRoot::ReadAll(path), before);
            }
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_NE(MessageBoxScript::Records()[0].text.Find("cannot be replaced"), -1);
            EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
            EXPECT_TRUE(WorkScreen()->m_hints.empty());
        }
    }
}

TEST_F(FileCommandTest, CancelledNewChangesNothing)
{
    OpenItems(m_items);
    FileDialogScript::PushCancel();
    Command(*Frame(), ID_FILE_NEW);
    EXPECT_EQ(LeftPane()->ItemDatabasePath(), m_items);
    EXPECT_TRUE(WorkScreen()->m_hints.empty());
}

} // namespace
