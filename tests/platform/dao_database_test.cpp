#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/base/path.h"
#include "platform/dao/dao_recordset.h"
#include "tests/platform/dao_test_util.h"
#include "tests/support/db_lock.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

// A keyed database with a small item table in the engine's Jet dialect.
class DaoDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("store.mdb");
        CDaoDatabase db;
        db.Create(m_path.c_str(), kStoreLocaleConnect);
        db.Execute("CREATE TABLE [Item] ([ID] COUNTER, [item_num] TEXT(50), [item_name] TEXT(30), "
                   "[barcode form] TEXT(50), [mg_id] TEXT(50), [memo] MEMO, [corner_code] LONG, "
                   "CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]))");
        db.Execute("CREATE UNIQUE INDEX [ID] ON [Item] ([ID])");
        db.Execute("CREATE UNIQUE INDEX [item_num] ON [Item] ([item_num])");
        db.Execute("CREATE INDEX [mg_num] ON [Item] ([mg_id])");
    }

    // Values of column 0 of every row of sql, as text.
    std::vector<std::string> Column(CDaoDatabase& db, const char* sql)
    {
        CDaoRecordset rs(&db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, sql);
        std::vector<std::string> out;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const COleVariant v = rs.GetFieldValue(0);
            out.push_back(v.vt == VT_BSTR ? v.bstrVal.Str() : v.vt == VT_I4 ? std::to_string(v.lVal) : "?");
        }
        return out;
    }

    TempFolder m_folder;
    std::string m_path;
};

TEST_F(DaoDatabaseTest, OpenFailsAtOpenForMissingEmptyForeignAndWronglyKeyedFiles)
{
    CDaoDatabase db;
    CString text;
    EXPECT_EQ(
        DaoErrorOf([&] { db.Open(m_folder.File("none.mdb").c_str(), FALSE, FALSE, kStoreConnect); }, &text),
        3024);
    EXPECT_NE(text.Find("none.mdb"), -1);

    WriteText(m_folder.File("empty.mdb"), "");
    EXPECT_EQ(
        DaoErrorOf([&] { db.Open(m_folder.File("empty.mdb").c_str(), FALSE, FALSE, kStoreConnect); }), 3343);

    WriteText(m_folder.File("notes.mdb"), "item_num,item_name\r\n1,apple\r\n");
    EXPECT_EQ(
        DaoErrorOf([&] { db.Open(m_folder.File("notes.mdb").c_str(), FALSE, FALSE, kStoreConnect); }), 3343);

    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, ";PWD=wrong"); }, &text), 3031);
    EXPECT_EQ(text, "Not a valid password.");
    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str()); }), 3031);
    EXPECT_FALSE(db.IsOpen());

    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect); }), 0);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetName(), m_path.c_str());
}

TEST_F(DaoDatabaseTest, FilesThatAreNoStoreDatabaseAreToldApartFromAnotherKey)
{
    struct Case {
        const char* name;
        std::string bytes;
        long error;
    };
    std::string pattern;
    for (int i = 0; i < 4096; ++i)
        pattern += static_cast<char>(i % 61);
    const Case cases[] = {
        { "zeros.mdb", std::string(4096, '\0'), 3343 },
        { "text.mdb", std::string(2048, 'x'), 3343 },
        { "pattern.mdb", pattern, 3343 },
    };
    CDaoDatabase db;
    for (const Case& c : cases) {
        WriteText(m_folder.File(c.name), c.bytes);
        CString text;
        EXPECT_EQ(
            DaoErrorOf([&] { db.Open(m_folder.File(c.name).c_str(), FALSE, FALSE, kStoreConnect); }, &text),
            c.error)
            << c.name;
        EXPECT_EQ(text,
            CString("'") + m_folder.File(c.name).c_str() + "' is not a store database, or it is damaged.")
            << c.name;
    }
    // A database keyed otherwise keeps its own message.
    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, ";PWD=wrong"); }), 3031);
}

TEST_F(DaoDatabaseTest, ALockedFileIsToldInUseAndARefusedActionWaitsOnce)
{
    using Clock = std::chrono::steady_clock;
    const auto busyWait = std::chrono::milliseconds(3000);
    const CString inUse
        = CString("Could not use '") + m_path.c_str() + "'; the file is in use by another program.";
    CDaoDatabase db;
    CString text;
    {
        DbLockHolder lock;
        ASSERT_TRUE(lock.Hold(m_path, DbLockHolder::Kind::Exclusive));
        // A fresh open, then one through a kept connection: in use, the second without a wait.
        CDaoDatabase::TEST_DropConnectionCache();
        EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect); }, &text), 3045);
        EXPECT_EQ(text, inUse);
        auto start = Clock::now();
        EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect); }), 3045);
        EXPECT_LT(Clock::now() - start, busyWait);
    }
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('1')");
    {
        DbLockHolder lock;
        ASSERT_TRUE(lock.Hold(m_path, DbLockHolder::Kind::Write));
        EXPECT_EQ(DaoErrorOf([&] { db.Execute("UPDATE [Item] SET [item_name] = 'a'"); }, &text), 3260);
        EXPECT_EQ(text, "Couldn't update; currently locked by another session.");
        // The read-back of the refused write, and a second write at once: no second wait.
        const auto start = Clock::now();
        EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item]"), std::vector<std::string> { "1" });
        EXPECT_EQ(DaoErrorOf([&] { db.Execute("UPDATE [Item] SET [item_name] = 'b'"); }), 3260);
        EXPECT_LT(Clock::now() - start, busyWait);
    }
    // The lock gone, writes go through at once.
    db.Execute("UPDATE [Item] SET [item_name] = 'c'");
    EXPECT_EQ(Column(db, "SELECT [item_name] FROM [Item]"), std::vector<std::string> { "c" });
}

TEST_F(DaoDatabaseTest, ErrorTextsNameTheFileAsTheProgramDoes)
{
    // The user sees "C:\Windows\system\...", never where the data root lies.
    TempDataRoot root;
    const char* const missing = "C:\\Windows\\system\\Manager\\Manager.mdb";
    CDaoDatabase db;
    CString text;
    EXPECT_EQ(DaoErrorOf([&] { db.Open(missing, FALSE, FALSE, kStoreConnect); }, &text), 3024);
    EXPECT_EQ(text, "Could not find file 'C:\\Windows\\system\\Manager\\Manager.mdb'.");

    TempDataRoot::WriteAll("C:\\Windows\\system\\Manager\\Empty.mdb", "");
    EXPECT_EQ(
        DaoErrorOf(
            [&] { db.Open("C:\\Windows\\system\\Manager\\Empty.mdb", FALSE, FALSE, kStoreConnect); }, &text),
        3343);
    EXPECT_EQ(text, "Unrecognized database format 'C:\\Windows\\system\\Manager\\Empty.mdb'.");
    // Picked in a file dialog, by the path it has on this system: named alike.
    const std::string picked = root.Native("C:\\Windows\\system\\Manager\\Empty.mdb");
    EXPECT_EQ(DaoErrorOf([&] { db.Open(picked.c_str(), FALSE, FALSE, kStoreConnect); }, &text), 3343);
    EXPECT_EQ(text, "Unrecognized database format 'C:\\Windows\\system\\Manager\\Empty.mdb'.");

    // Statement errors too, also through a connection kept from an open under
    // another spelling of the same file.
    const std::filesystem::path copy = root.Native("C:\\Zuvar\\store.mdb");
    std::filesystem::create_directories(copy.parent_path());
    std::filesystem::copy_file(m_path, copy);
    CDaoDatabase::TEST_ResetCounters();
    db.Open("C:\\Zuvar\\store.mdb", FALSE, FALSE, kStoreConnect);
    db.Close();
    db.Open("C:\\ZUVAR\\Store.mdb", FALSE, FALSE, kStoreConnect);
    EXPECT_EQ(CDaoDatabase::TEST_GetCounters().reusedOpens, 1);
    CDaoDatabase::TEST_InjectFault(DaoFault::Corrupt, 1);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("DELETE FROM [Item]"); }, &text), 3049);
    EXPECT_EQ(text,
        "Can't open database 'C:\\ZUVAR\\Store.mdb'. It may not be a database that your application "
        "recognizes, or the file may be corrupt.");
}

TEST_F(DaoDatabaseTest, ExecuteRunsExactlyOneStatementAndRefusesASelect)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    CString text;
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("SELECT * FROM [Item]"); }, &text), 3065);
    EXPECT_EQ(text, "Cannot execute a select query.");
    EXPECT_EQ(
        DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('1'); DELETE FROM [Item]"); }),
        3142);
    EXPECT_TRUE(Column(db, "SELECT [item_num] FROM [Item]").empty());

    db.Execute("INSERT INTO [Item]([item_num], [mg_id]) VALUES('1', 'vexo');");
    EXPECT_EQ(db.GetRecordsAffected(), 1);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("UPDATE [NoTable] SET [a] = '1'"); }, &text), 3078);
    EXPECT_NE(text.Find("'NoTable'"), -1);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([nope]) VALUES('1')"); }), 3127);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("UPDATE [Item] SET"); }), 3000);
}

TEST_F(DaoDatabaseTest, TextComparesWithoutCaseAndUniqueIndexesHoldAcrossCase)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("INSERT INTO [Item]([item_num], [mg_id]) VALUES('A1', 'vexo')");
    db.Execute("INSERT INTO [Item]([item_num], [mg_id]) VALUES('a2', 'Kim')");
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item] WHERE [mg_id] = 'VEXO'"),
        std::vector<std::string> { "A1" });
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item] WHERE [item_num] = 'a1'"),
        std::vector<std::string> { "A1" });
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item] WHERE [item_num] = 'a3'").size(), 0u);

    CString text;
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('a1')"); }, &text), 3022);
    EXPECT_NE(text.Find("duplicate values"), -1);
    // Several rows without a value do not collide in a unique index.
    db.Execute("INSERT INTO [Item]([mg_id]) VALUES('x')");
    db.Execute("INSERT INTO [Item]([mg_id]) VALUES('y')");
}

TEST_F(DaoDatabaseTest, AutonumberNeverReusesTheNumberOfADeletedTopRow)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    for (const char* key : { "1", "2", "3" })
        db.Execute(CString::Formatted("INSERT INTO [Item]([item_num]) VALUES('%s')", key));
    db.Execute("DELETE FROM [Item] WHERE [ID] = 3");
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('-1')");
    EXPECT_EQ(Column(db, "SELECT [ID] FROM [Item] WHERE [item_num] = '-1' ORDER BY [ID] DESC"),
        std::vector<std::string> { "4" });
    EXPECT_EQ(Column(db, "SELECT [ID] FROM [Item] ORDER BY [ID] DESC"),
        (std::vector<std::string> { "4", "2", "1" }));
}

TEST_F(DaoDatabaseTest, TextSizesAreEnforcedOnInsertAndUpdate)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    const std::string thirty(30, 'x');
    db.Execute(("INSERT INTO [Item]([item_num], [item_name]) VALUES('1', '" + thirty + "')").c_str());
    CString text;
    EXPECT_EQ(
        DaoErrorOf(
            [&] {
                db.Execute(
                    ("INSERT INTO [Item]([item_num], [item_name]) VALUES('2', '" + thirty + "y')").c_str());
            },
            &text),
        3163);
    EXPECT_NE(text.Find("'item_name'"), -1);
    EXPECT_NE(text.Find("too small"), -1);
    EXPECT_EQ(
        DaoErrorOf([&] { db.Execute(("UPDATE [Item] SET [item_name] = '" + thirty + "z'").c_str()); }), 3163);
    EXPECT_EQ(Column(db, "SELECT [item_name] FROM [Item]"), std::vector<std::string> { thirty });
    // Sizes count characters: 30 Hangul syllables fit TEXT(30).
    std::string hangul;
    for (int i = 0; i < 30; ++i)
        hangul += "가";
    db.Execute(("UPDATE [Item] SET [item_name] = '" + hangul + "'").c_str());
    // MEMO holds long text and keeps digits as text.
    db.Execute(("UPDATE [Item] SET [memo] = '" + std::string(1000, 'm') + "'").c_str());
    db.Execute("UPDATE [Item] SET [item_num] = '007'");
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item]"), std::vector<std::string> { "007" });
}

TEST_F(DaoDatabaseTest, BracketedNamesWithBlanksAndQuotedValuesRoundTrip)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("INSERT INTO [Item]([item_num], [barcode form], [item_name]) VALUES('1', '3', 'O''Brien''s "
               "\"best\"')");
    EXPECT_EQ(Column(db, "SELECT [barcode form] FROM [Item]"), std::vector<std::string> { "3" });
    EXPECT_EQ(Column(db, "SELECT [item_name]FROM [Item] WHERE [item_num] = '1'"),
        std::vector<std::string> { "O'Brien's \"best\"" });
    EXPECT_EQ(Column(db, "SELECT COUNT (*) AS [n] FROM [Item] WHERE [item_num] = '1'"),
        std::vector<std::string> { "1" });
    EXPECT_EQ(
        Column(db, "SELECT [item_num] FROM [item] WHERE [ITEM_NUM] = '1'"), std::vector<std::string> { "1" });
}

TEST_F(DaoDatabaseTest, RecordsetReadsTypesAndNavigatesLikeDao)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("INSERT INTO [Item]([item_num], [corner_code]) VALUES('1', '7')");
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('2')");
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('3')");

    CDaoRecordset rs(&db);
    rs.Open(
        AFX_DAO_USE_DEFAULT_TYPE, "SELECT [ID], [item_num], [item_name], [corner_code], [memo] FROM [Item]");
    ASSERT_EQ(rs.GetFieldCount(), 5);
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetFieldValue(0).vt, VT_I4);
    EXPECT_EQ(rs.GetFieldValue(1).vt, VT_BSTR);
    EXPECT_EQ(rs.GetFieldValue(2).vt, VT_NULL);
    EXPECT_EQ(rs.GetFieldValue(3).vt, VT_I4);
    EXPECT_EQ(rs.GetFieldValue(3).lVal, 7);
    EXPECT_EQ(rs.GetFieldValue("ITEM_NUM").bstrVal, "1");

    CDaoFieldInfo info;
    rs.GetFieldInfo(0, info);
    EXPECT_EQ(info.m_strName, "ID");
    EXPECT_EQ(info.m_nType, dbLong);
    EXPECT_EQ(info.m_lAttributes & dbAutoIncrField, dbAutoIncrField);
    rs.GetFieldInfo(2, info);
    EXPECT_EQ(info.m_nType, dbText);
    EXPECT_EQ(info.m_lSize, 30);
    EXPECT_EQ(info.m_strSourceTable, "Item");
    rs.GetFieldInfo(4, info);
    EXPECT_EQ(info.m_nType, dbMemo);
    EXPECT_EQ(DaoErrorOf([&] { rs.GetFieldInfo(5, info); }), 3265);

    rs.Move(2);
    EXPECT_EQ(rs.GetFieldValue(1).bstrVal, "3");
    EXPECT_EQ(rs.GetRecordCount(), 3);
    rs.MovePrev();
    EXPECT_EQ(rs.GetFieldValue(1).bstrVal, "2");
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(DaoErrorOf([&] { rs.GetFieldValue(0); }), 3021);
    EXPECT_EQ(DaoErrorOf([&] { rs.MoveNext(); }), 3021);
    rs.MoveFirst();
    rs.Move(3);
    EXPECT_TRUE(rs.IsEOF());
    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.GetFieldCount(), 0);

    rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT [ID] FROM [Item] WHERE [item_num] = 'none'");
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_EQ(DaoErrorOf([&] { rs.MoveFirst(); }), 3021);

    CDaoRecordset bad(&db);
    EXPECT_EQ(DaoErrorOf([&] { bad.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT [nope] FROM [Item]"); }), 3061);
    EXPECT_FALSE(bad.IsOpen());

    // An integer beyond 32 bits (a sum, say) comes whole as a double.
    CDaoRecordset big(&db);
    big.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT 5000000000, -2147483648");
    EXPECT_EQ(big.GetFieldValue(0).vt, VT_R8);
    EXPECT_EQ(big.GetFieldValue(0).dblVal, 5000000000.0);
    EXPECT_EQ(big.GetFieldValue(1).vt, VT_I4);
}

TEST_F(DaoDatabaseTest, DataDefinitionTakesTheJetFormsAndRefusesOthers)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("ALTER TABLE [Item] ADD COLUMN [reservation_num] TEXT(5)");
    db.Execute("create index [reservation_num] on [Item] ([reservation_num] DESC)");
    // Index names are per table, as in Jet.
    db.Execute("CREATE TABLE [Other] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, [mg_id] VARCHAR)");
    db.Execute("CREATE INDEX [mg_num] ON [Other] ([mg_id])");
    db.Execute("CREATE INDEX [mg_up] ON [Other] ([mg_id] ASC)");
    EXPECT_EQ(
        DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([reservation_num]) VALUES('123456')"); }), 3163);
    const std::string tooLong = "INSERT INTO [Other]([mg_id]) VALUES('" + std::string(256, 'x') + "')";
    EXPECT_EQ(DaoErrorOf([&] { db.Execute(tooLong.c_str()); }), 3163);
    CString text;
    EXPECT_EQ(
        DaoErrorOf([&] { db.Execute("CREATE TABLE [Bad] ([ID] COUNTER, [a] TEXT(50))"); }, &text), 3292);
    EXPECT_NE(text.Find("primary key"), -1);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("CREATE TABLE [Bad] ([a] DOUBLE)"); }), 3292);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("CREATE TABLE [Bad] ([a] TEXT(300))"); }), 3292);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("ALTER TABLE [Item] ADD COLUMN [n] COUNTER"); }), 3292);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("CREATE VIEW [v] AS SELECT 1"); }), 3129);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("CREATE TABLE [Bad] ([a] LONG CONSTRAINT [pk] PRIMARY)"); }), 3292);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("CREATE INDEX [none] ON [Other] ()"); }), 3292);
}

TEST_F(DaoDatabaseTest, ClosedDatabaseRefusesWork)
{
    CDaoDatabase db;
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("DELETE FROM [Item]"); }), 3420);
    CDaoRecordset rs(&db);
    EXPECT_EQ(DaoErrorOf([&] { rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT * FROM [Item]"); }), 3420);
    CDaoRecordset orphan;
    EXPECT_EQ(DaoErrorOf([&] { orphan.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT * FROM [Item]"); }), 3420);
    EXPECT_EQ(DaoErrorOf([&] { db.Create(m_path.c_str(), kStoreLocaleConnect); }), 3204);
}

TEST_F(DaoDatabaseTest, TransactionsCommitTogetherRollBackOrEndWithTheDatabase)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_EQ(DaoErrorOf([&] { db.CommitTrans(); }), 3034);
    EXPECT_EQ(DaoErrorOf([&] { db.Rollback(); }), 3034);
    // A failing statement inside leaves the others in.
    db.BeginTrans();
    db.Execute("INSERT INTO [Item] ([item_num]) VALUES ('1')");
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item] ([item_num]) VALUES ('1')"); }), 3022);
    db.Execute("INSERT INTO [Item] ([item_num]) VALUES ('2')");
    db.CommitTrans();
    db.BeginTrans();
    db.Execute("INSERT INTO [Item] ([item_num]) VALUES ('3')");
    db.Rollback();
    // Closed with a transaction open: rolled back, and the connection that
    // the next open reuses starts clean.
    db.BeginTrans();
    db.Execute("INSERT INTO [Item] ([item_num]) VALUES ('4')");
    db.Close();
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item] ORDER BY [item_num]"),
        (std::vector<std::string> { "1", "2" }));
    EXPECT_EQ(DaoErrorOf([&] { db.CommitTrans(); }), 3034);
}

TEST_F(DaoDatabaseTest, ReopeningTheSameFileReusesItsKeyedConnection)
{
    CDaoDatabase::TEST_DropConnectionCache();
    CDaoDatabase::TEST_ResetCounters();
    CDaoDatabase db;
    for (int i = 0; i < 3; ++i) {
        db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
        db.Execute(CString::Formatted("INSERT INTO [Item]([item_num]) VALUES('%d')", i));
        db.Close();
    }
    DaoCounters c = CDaoDatabase::TEST_GetCounters();
    EXPECT_EQ(c.keyedOpens, 1);
    EXPECT_EQ(c.reusedOpens, 2);
    EXPECT_EQ(c.statements, 3);

    // Another password never gets the cached connection.
    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, ";PWD=other"); }), 3031);
    // Two objects open at once get a connection each.
    CDaoDatabase a, b;
    a.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    b.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_EQ(Column(b, "SELECT [item_num] FROM [Item]").size(), 3u);
}

TEST_F(DaoDatabaseTest, AReplacedOrRewrittenFileIsNeverReadThroughAStaleConnection)
{
    // A second database with other rows (another salt).
    const std::string otherPath = m_folder.File("other.mdb");
    {
        CDaoDatabase other;
        other.Create(otherPath.c_str(), kStoreLocaleConnect);
        other.Execute("CREATE TABLE [Item] ([ID] COUNTER, [item_num] TEXT(50), CONSTRAINT [PrimaryKey] "
                      "PRIMARY KEY ([ID]))");
        other.Execute("INSERT INTO [Item]([item_num]) VALUES('other')");
    }
    const std::vector<char> pristine = ReadBytes(m_path); // the empty database, same salt

    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('mine')");
    db.Close();

    // Rewritten in place with its own earlier bytes: same inode and salt.
    RewriteInPlace(m_path, pristine);
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_TRUE(Column(db, "SELECT [item_num] FROM [Item]").empty());
    db.Execute("INSERT INTO [Item]([item_num]) VALUES('again')");
    db.Close();

    // Rewritten in place with another database: same inode, other salt.
    CDaoDatabase::TEST_ResetCounters();
    RewriteInPlace(m_path, ReadBytes(otherPath));
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item]"), std::vector<std::string> { "other" });
    db.Close();
    EXPECT_EQ(CDaoDatabase::TEST_GetCounters().keyedOpens, 1);

    // Replaced by another file (new inode).
    const std::string replacement = m_folder.File("replacement.mdb");
    {
        std::ofstream out(replacement, std::ios::binary);
        out.write(pristine.data(), static_cast<std::streamsize>(pristine.size()));
    }
    ASSERT_EQ(std::rename(replacement.c_str(), m_path.c_str()), 0);
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    EXPECT_TRUE(Column(db, "SELECT [item_num] FROM [Item]").empty());
    EXPECT_EQ(CDaoDatabase::TEST_GetCounters().keyedOpens, 2);

    // Emptied: fails at open although a connection was cached.
    db.Close();
    RewriteInPlace(m_path, {});
    EXPECT_EQ(DaoErrorOf([&] { db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect); }), 3343);
}

// Opening a file that another of the program's connections writes keeps that
// connection's lock: another program can neither write nor read half-written
// pages meanwhile, and the rows written reach the file.
TEST_F(DaoDatabaseTest, OpeningAFileAgainKeepsTheLocksHeldOnIt)
{
    CDaoDatabase writer;
    writer.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    writer.BeginTrans();
    writer.Execute("INSERT INTO [Item]([item_num]) VALUES('mine')");
    for (int i = 0; i < 2; ++i) { // afresh, then from the cache
        CDaoDatabase reader;
        reader.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
        EXPECT_TRUE(Column(reader, "SELECT [item_num] FROM [Item]").empty());
    }
    DbLockHolder other;
    EXPECT_FALSE(other.Hold(m_path, DbLockHolder::Kind::Write, 300, "DELETE FROM Item"));
    writer.CommitTrans();
    EXPECT_EQ(Column(writer, "SELECT [item_num] FROM [Item]"), std::vector<std::string> { "mine" });
}

TEST_F(DaoDatabaseTest, InjectedFaultsHitTheNthStatementOnly)
{
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    CDaoDatabase::TEST_InjectFault(DaoFault::Locked, 2);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('1')"); }), 0);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('2')"); }), 3260);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('3')"); }), 0);
    EXPECT_EQ(Column(db, "SELECT [item_num] FROM [Item]"), (std::vector<std::string> { "1", "3" }));

    CDaoDatabase::TEST_InjectFault(DaoFault::DiskFull, 1);
    CString text;
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("DELETE FROM [Item]"); }, &text), 3026);
    EXPECT_EQ(text, "Not enough space on disk.");
    CDaoDatabase::TEST_InjectFault(DaoFault::Corrupt, 1);
    CDaoRecordset rs(&db);
    EXPECT_EQ(DaoErrorOf([&] { rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT * FROM [Item]"); }), 3049);
    CDaoDatabase::TEST_InjectFault(DaoFault::Locked, 1);
    CDaoDatabase::TEST_InjectFault(DaoFault::None, 0);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("DELETE FROM [Item]"); }), 0);
}

TEST_F(DaoDatabaseTest, ConcurrentUsersOfOneFileEachSeeWholeResults)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 20;
    std::vector<std::thread> threads;
    std::atomic<int> failures { 0 };
    std::atomic<int> refusals { 0 };
    // The first statement of all is refused as locked, so a retry happens every run.
    CDaoDatabase::TEST_InjectFault(DaoFault::Locked, 1);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            CDaoDatabase db;
            // A step refused for a lock (one waiting past the lock time out, or
            // the one above) is refused whole and is tried again, each within
            // a deadline of its own.
            const auto step = [&](const auto& action) {
                const auto deadline
                    = std::chrono::steady_clock::now() + TestDeadline(std::chrono::seconds(20));
                long error = 0;
                while ((error = DaoErrorOf(action)) == 3260 && std::chrono::steady_clock::now() < deadline)
                    ++refusals;
                if (error != 0) {
                    ++failures;
                    ADD_FAILURE() << "error " << error;
                }
                return error == 0;
            };
            for (int i = 0; i < kRounds; ++i) {
                const CString value = CString::Formatted("%d-%d", t, i);
                bool found = false;
                if (!step([&] { db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect); })
                    || !step([&] { db.Execute("INSERT INTO [Item]([item_num]) VALUES('" + value + "')"); })
                    || !step([&] {
                           CDaoRecordset rs(&db);
                           rs.Open(AFX_DAO_USE_DEFAULT_TYPE,
                               "SELECT [ID] FROM [Item] WHERE [item_num] = '" + value + "'");
                           found = !rs.IsEOF();
                       }))
                    return;
                if (!found)
                    ++failures;
                db.Close();
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_GE(refusals.load(), 1);
    // Every insert once: none lost, none doubled.
    std::vector<std::string> expected;
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kRounds; ++i)
            expected.push_back(std::to_string(t) + "-" + std::to_string(i));
    std::sort(expected.begin(), expected.end());
    CDaoDatabase db;
    db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
    std::vector<std::string> stored = Column(db, "SELECT [item_num] FROM [Item]");
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, expected);
}

TEST_F(DaoDatabaseTest, TheSqlcipherToolOpensTheFileWithThePasswordAlone)
{
    {
        CDaoDatabase db;
        db.Open(m_path.c_str(), FALSE, FALSE, kStoreConnect);
        db.Execute("INSERT INTO [Item]([item_num]) VALUES('cli')");
    }
    CDaoDatabase::TEST_DropConnectionCache();
    const std::string out = m_folder.File("cli.txt");
    const std::string command
        = "printf \"PRAGMA key='quendrav';\\nSELECT item_num FROM Item;\\n\" | sqlcipher '" + m_path + "' > '"
        + out + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<char> bytes = ReadBytes(out);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "cli\n");
}

} // namespace
