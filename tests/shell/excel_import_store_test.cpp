// Excel To Access onto a store that is there already: a store another program
// holds inside a transaction is left to it (and its commit kept), files beside
// the store that the program did not make survive, and a disk that fills
// mid-import stops it at once, naming the store.

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/dao/dao_database.h"
#include "platform/dao/dao_recordset.h"
#include "platform/sheet/biff8_writer.h"
#include "resources/calvorn_ids.h"
#include "shell/excel_convert.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/command.h"
#include "tests/support/db_lock.h"
#include "tests/support/item_workbook.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_folder.h"

namespace {

class ExcelImportStoreTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartUp());
        MessageBoxScript::Reset();
        FileDialogScript::Reset();
        m_store = MakeItemDatabase("store.mdb");
        CDaoDatabase db;
        db.Open(m_store, FALSE, FALSE, kStoreConnect);
        db.Execute(
            "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('101', 'Apple Fuji', 'vexo')");
    }

    // A workbook of Item rows new0 .. new<count - 1>.
    void WriteBook(int count)
    {
        std::vector<std::pair<std::string, std::string>> items;
        for (int i = 0; i < count; ++i)
            items.emplace_back("new" + std::to_string(i), "");
        ASSERT_TRUE(WriteWorkbookFile(m_book.c_str(), ItemWorkbook(items)));
    }
    void Import()
    {
        MessageBoxScript::Reset();
        MessageBoxScript::PushAnswer(IDYES); // replace store.mdb
        FileDialogScript::PushPath(m_book.c_str());
        FileDialogScript::PushPath(m_store);
        ASSERT_TRUE(Command(*LeftPane(), ID_EXCEL_TO_ACCESS));
    }
    std::vector<CString> Boxes() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& record : MessageBoxScript::Records())
            texts.push_back(record.text);
        return texts;
    }
    std::vector<CString> Numbers() const
    {
        std::vector<CString> numbers;
        CDaoDatabase db;
        db.Open(m_store, FALSE, FALSE, kStoreConnect);
        CDaoRecordset rs(&db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT [item_num] FROM [Item] ORDER BY [ID]");
        for (; !rs.IsEOF(); rs.MoveNext())
            numbers.push_back(rs.GetFieldValue(0).bstrVal);
        return numbers;
    }
    std::vector<std::string> Folder() const
    {
        std::vector<std::string> names;
        for (const auto& entry :
            std::filesystem::directory_iterator(std::filesystem::path(m_store.Str()).parent_path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_folder;
    std::string m_book = m_folder.File("items.xls");
    CString m_store;
};

TEST_F(ExcelImportStoreTest, AStoreAnotherProgramWritesIsLeftToItAndItsCommitKept)
{
    WriteBook(3);
    DbLockHolder other;
    ASSERT_TRUE(other.Hold(m_store.Str(), DbLockHolder::Kind::Write, 5000,
        "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('102', 'Pear', 'kim')"));
    Import();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_NE(Boxes().back().Find("in use by another program"), -1) << Boxes().back().GetString();
    EXPECT_NE(Boxes().back().Find(m_store + " was left as it was."), -1) << Boxes().back().GetString();
    other.Commit();
    EXPECT_EQ(Numbers(), (std::vector<CString> { "101", "102" }));
    EXPECT_EQ(Folder(), std::vector<std::string> { "store.mdb" });
    // Once the other program is done the import goes in.
    Import();
    EXPECT_EQ(Boxes().back(), "Convert OK");
    EXPECT_EQ(Numbers(), (std::vector<CString> { "new0", "new1", "new2" }));
}

TEST_F(ExcelImportStoreTest, FilesBesideTheStoreThatLookLikeBuildsSurvive)
{
    WriteBook(3);
    const std::string base = m_store.Str();
    const std::vector<std::string> own
        = { base + ".import-2025", base + ".import-2025-journal", base + ".import-1.tmp-keep",
              base + ".import-99999999", base + ".import-" + std::to_string(getpid()) + "0" };
    for (const std::string& path : own)
        TempDataRoot::WriteAll(path, "the manager's own");
    // A note of an ended process that names no build of its own names nothing.
    const std::string note = m_root.Native("C:\\Windows\\system\\Manager\\Excel_Import_99999999.txt");
    TempDataRoot::WriteAll(note, own[0]);
    Import();
    EXPECT_FALSE(TempDataRoot::Exists(note));
    EXPECT_EQ(Boxes().back(), "Convert OK");
    for (const std::string& path : own)
        EXPECT_EQ(TempDataRoot::ReadAll(path), "the manager's own") << path;
    EXPECT_EQ(Folder().size(), own.size() + 1);
}

TEST_F(ExcelImportStoreTest, AFullDiskStopsAtTheFirstRowItRefusesAndNamesTheStore)
{
    WriteBook(300);
    CDaoDatabase::TEST_ResetCounters();
    // The 20th statement of the import meets a full disk.
    CDaoDatabase::TEST_InjectFault(DaoFault::DiskFull, 20);
    Import();
    CDaoDatabase::TEST_InjectFault(DaoFault::None);
    EXPECT_LE(CDaoDatabase::TEST_GetCounters().statements, 21);
    ASSERT_EQ(Boxes().size(), 2u); // the question to replace, then the cause
    EXPECT_EQ(Boxes().back(), "Not enough space on disk.\n" + m_store + " was left as it was.");
    EXPECT_EQ(Numbers(), std::vector<CString> { "101" });
    EXPECT_EQ(Folder(), std::vector<std::string> { "store.mdb" });
}

} // namespace
