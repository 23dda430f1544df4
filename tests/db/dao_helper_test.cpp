#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "db/checked_dao_helper.h"
#include "db/dao_helper.h"
#include "db/general_dao_helper.h"
#include "db/item_db_worker.h"
#include "db/manager_db_worker.h"
#include "db/reservation_dao_helper.h"
#include "db/sql_text.h"
#include "platform/dao/dao_exception.h"
#include "tests/support/db_lock.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_pump.h"

namespace {

CString Row(std::initializer_list<const char*> values)
{
    CString text;
    for (const char* v : values) {
        text += v;
        text += "\tjo/";
    }
    return text;
}

TEST(VariantToTextTest, ScalarsFollowTheirFormats)
{
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant()), "NULL");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_NULL)), "NULL");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(static_cast<SHORT>(-5))), "-5");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(17)), "17");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(2.0)), "2.000000e+000");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(12.5f)), "1.250000e+001");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(-1.5e-7)), "-1.500000e-007");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(1e100)), "1.000000e+100");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(COleCurrency(12, 5000))), "12.5");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(3.75, VT_DATE)), "01 02 00");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant("사과 'a'")), "사과 'a'");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(static_cast<SHORT>(1), VT_BOOL)), "TRUE");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(static_cast<SHORT>(0), VT_BOOL)), "FALSE");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(static_cast<BYTE>(0x0A))), "0x0A");
}

TEST(VariantToTextTest, OtherCodesGiveTheirNamesOrNothing)
{
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_DISPATCH)), "VT_DISPATCH");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_UNKNOWN)), "VT_UNKNOWN");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_I8)), "VT_I8");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_LPWSTR)), "VT_LPWSTR");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_CLSID)), "VT_CLSID");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_DECIMAL)), "");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(15)), "");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(73)), "");
}

TEST(VariantToTextTest, ArrayAndReferenceBitsGivePrefixes)
{
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant(std::vector<BYTE> { 1, 2, 3 })), "Array of VT_UI1");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_BYREF | VT_I4)), "Pointer to VT_I4");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_ARRAY | VT_BYREF | VT_BSTR)),
        "Array of Pointer to VT_BSTR");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_BYREF | VT_BOOL)), "Pointer to VT_BOOL");
    EXPECT_EQ(CDaoHelper::VariantToText(COleVariant::OfType(VT_ARRAY | VT_DECIMAL)), "Array of ");
}

// An item database from template 150 with three items.
class DaoHelperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.FromTemplate(150, "items.mdb");
        CGeneralDaoHelper setup;
        setup.OpenDatabase(m_path);
        setup.Execute("INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('1', "
                      "'apple', '12', 'vexo')");
        setup.OpenDatabase(m_path);
        setup.Execute("INSERT INTO [Item]([item_num], [unitprice], [mg_id]) VALUES('2', '3', 'vexo')");
        setup.OpenDatabase(m_path);
        setup.Execute("INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('3', '배', 'Kim')");
    }

    TempFolder m_folder;
    ScopedMessageBoxScript m_boxes;
    std::string m_path;
};

TEST_F(DaoHelperTest, RowReadersReturnReplyRowsAndFalseForNoRow)
{
    CGeneralDaoHelper db;
    db.OpenDatabase(m_path);
    const CString sql = "SELECT [item_num], [item_name], [ID] FROM [Item] ORDER BY [ID]";
    EXPECT_EQ(db.GetRecordAt(sql, 0), Row({ "1", "apple", "1" }));
    EXPECT_EQ(db.GetRecordAt(sql, 1), Row({ "2", "NULL", "2" }));
    EXPECT_EQ(db.GetRecordAt(sql, 3), "");
    EXPECT_EQ(db.GetFirstRow(sql), Row({ "1", "apple", "1" }));
    EXPECT_EQ(db.GetValueAt(sql, 2), "3배3");
    EXPECT_EQ(db.GetRows(sql), Row({ "1", "apple", "1", "2", "NULL", "2", "3", "배", "3" }));
    const CString none = "SELECT [item_num] FROM [Item] WHERE [item_num] = 'none'";
    EXPECT_EQ(db.GetRecordAt(none, 0), "FALSE");
    EXPECT_EQ(db.GetValueAt(none, 0), "FALSE");
    EXPECT_EQ(db.GetFirstRow(none), "FALSE");
    EXPECT_EQ(db.GetRows(none), "FALSE");
    EXPECT_EQ(db.GetRecordCount(), 0);
    db.GetRows(sql);
    EXPECT_EQ(db.GetRecordCount(), 1); // DAO's count right after the open

    CReservationDaoHelper reservation;
    reservation.OpenDatabase(m_path);
    EXPECT_EQ(
        reservation.GetValues("SELECT [item_num], [mg_id] FROM [Item] WHERE [mg_id] = 'VEXO'"), "1vexo2vexo");
    EXPECT_EQ(reservation.GetValues(none), "FALSE");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(DaoHelperTest, SumColumnReadsLeadingIntegersAndCountsNullAsZero)
{
    CGeneralDaoHelper db;
    db.OpenDatabase(m_path);
    EXPECT_EQ(db.SumColumn("SELECT [unitprice] FROM [Item]"), 15.0);
    db.OpenDatabase(m_path);
    db.Execute("UPDATE [Item] SET [unitprice] = ' -4kg' WHERE [item_num] = '3'");
    db.OpenDatabase(m_path);
    db.Execute("UPDATE [Item] SET [weight] = '9999999999'");
    db.OpenDatabase(m_path);
    EXPECT_EQ(db.SumColumn("SELECT [unitprice], [weight] FROM [Item]"), 11.0 + 3 * 9999999999.0);
    EXPECT_EQ(db.SumColumn("SELECT [unitprice] FROM [Item] WHERE [item_num] = 'none'"), 0.0);
    EXPECT_EQ(db.SumColumn("SELECT [nothing] FROM [Item]"), 0.0);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(DaoHelperTest, ReadersShowTheEngineErrorAndReturnTheirErrorResult)
{
    CItemDbWorker item;
    item.OpenDatabase(m_path);
    EXPECT_EQ(item.ReadTable("SELECT * FROM [Item]"), 1);
    EXPECT_EQ(item.ReadTable("SELECT * FROM [Item] WHERE [ID] = 0"), 0);
    EXPECT_EQ(item.ReadTable("SELECT * FROM [NoSuchTable]"), 1);
    EXPECT_EQ(item.GetRecordAt("SELECT * FROM [NoSuchTable]", 0), "FALSE");
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(boxes[0].text.Find("'NoSuchTable'"), -1);

    // The text is cut to the 255-byte buffer of the design.
    const CString longName(std::string(300, 'T'));
    item.GetRecordAt("SELECT * FROM [" + longName + "]", 0);
    EXPECT_EQ(m_boxes.Records().back().text.GetLength(), 254);
}

TEST_F(DaoHelperTest, ReadValueQuietlyGivesTheStoredValueOrNothingWithoutABox)
{
    struct Case {
        std::string path;
        const char* sql;
        std::optional<CString> value;
    };
    const Case cases[] = {
        { m_path, "SELECT [item_name] FROM [Item] WHERE [item_num] = '1'", CString("apple") },
        { m_path, "SELECT [item_name] FROM [Item] WHERE [item_num] = '2'", CString("NULL") },
        { m_path, "SELECT [item_name] FROM [Item] WHERE [item_num] = '9'", std::nullopt },
        { m_path, "SELECT [nope] FROM [Item]", std::nullopt },
        { m_folder.File("none.mdb"), "SELECT [item_name] FROM [Item]", std::nullopt },
    };
    CItemDbWorker worker;
    for (const Case& c : cases) {
        EXPECT_EQ(worker.ReadValueQuietly(c.path.c_str(), c.sql), c.value) << c.sql;
        EXPECT_FALSE(worker.IsDatabaseOpen()) << c.sql;
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(DaoHelperTest, ProbeQueryTellsWhetherAFileIsAnItemDatabase)
{
    CManagerDbWorker manager;
    manager.OpenDatabase(m_path);
    EXPECT_EQ(manager.ProbeQuery("SELECT * FROM [Item]"), 1);
    EXPECT_EQ(manager.ProbeQuery("SELECT * FROM [Manager]"), 0);
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "File Open Error.");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    // A file another program holds is told as such, not as no item database.
    DbLockHolder lock;
    ASSERT_TRUE(lock.Hold(m_path, DbLockHolder::Kind::Exclusive));
    manager.OpenDatabase(m_path);
    EXPECT_EQ(manager.ProbeQuery("SELECT * FROM [Item]"), 0);
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_NE(m_boxes.Records()[1].text.Find("the file is in use by another program."), -1);
    EXPECT_EQ(m_boxes.Records()[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(DaoHelperTest, ExecuteShowsErrorsAndTheGeneralVariantClosesAfterwards)
{
    CItemDbWorker item;
    item.OpenDatabase(m_path);
    item.Execute("UPDATE [Item] SET [item_name] = '" + SqlEscape("O'Brien's") + "' WHERE [item_num] = '1'");
    EXPECT_TRUE(item.IsDatabaseOpen());
    EXPECT_EQ(
        item.GetRecordAt("SELECT [item_name] FROM [Item] WHERE [item_num] = '1'", 0), Row({ "O'Brien's" }));
    item.Execute("UPDATE [Item] SET [item_name] = 'x' WHERE [item_num] = 'O'Brien'");
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    item.Execute("SELECT * FROM [Item]");
    EXPECT_EQ(m_boxes.Records().back().text, "Cannot execute a select query.");

    CGeneralDaoHelper general;
    general.OpenDatabase(m_path);
    general.Execute("DELETE FROM [Item] WHERE [item_num] = '3'");
    EXPECT_FALSE(general.IsDatabaseOpen());
    general.OpenDatabase(m_path);
    general.Execute("DELETE FROM [Nowhere]");
    EXPECT_FALSE(general.IsDatabaseOpen());
    EXPECT_EQ(m_boxes.Records().size(), 3u);
}

TEST_F(DaoHelperTest, OpenDatabaseSwitchesFilesAndLetsOpenFailuresReachTheCaller)
{
    const std::string other = m_folder.FromTemplate(150, "other.mdb");
    CGeneralDaoHelper db;
    db.OpenDatabase(m_path);
    db.OpenDatabase(other);
    EXPECT_EQ(db.GetRows("SELECT [item_num] FROM [Item]"), "FALSE");
    db.CloseDatabase();
    db.CloseDatabase();
    EXPECT_FALSE(db.IsDatabaseOpen());

    long code = 0;
    try {
        db.OpenDatabase(m_folder.File("missing.mdb"));
    } catch (CDaoException* e) {
        code = e->m_pErrorInfo->m_lErrorCode;
        e->Delete();
    }
    EXPECT_EQ(code, 3024);
    EXPECT_FALSE(db.IsDatabaseOpen());
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(DaoHelperTest, OneHelperServesTwoThreadsWithoutTearingItsDatabase)
{
    CItemDbWorker item;
    item.OpenDatabase(m_path);
    std::atomic<int> bad { 0 };
    std::thread writer([&] {
        for (int i = 0; i < 50; ++i)
            item.Execute(CString::Formatted("INSERT INTO [Item]([item_num]) VALUES('w%d')", i));
    });
    for (int i = 0; i < 50; ++i) {
        if (item.GetRecordAt("SELECT [item_num] FROM [Item] WHERE [item_num] = '1'", 0) != Row({ "1" }))
            ++bad;
    }
    writer.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_TRUE(m_boxes.Records().empty());
}

// A statement refused inside a batch: its box alone is shown, the rows
// before it reach the file, and the batch goes on.
TEST_F(DaoHelperTest, ARefusalInsideABatchShowsItsOwnBoxOnly)
{
    CCheckedDaoHelper dao;
    dao.OpenDatabase(m_path);
    dao.BeginBatch();
    EXPECT_TRUE(dao.ExecuteChecked("INSERT INTO [Item]([item_num], [mg_id]) VALUES('4', 'vexo')"));
    EXPECT_FALSE(dao.ExecuteChecked("INSERT INTO [NoSuch]([x]) VALUES('1')"));
    EXPECT_TRUE(dao.ExecuteChecked("INSERT INTO [Item]([item_num], [mg_id]) VALUES('5', 'vexo')"));
    // The batch goes on after the box: the next row waits for its end.
    CCheckedDaoHelper other;
    other.OpenDatabase(m_path);
    EXPECT_EQ(
        other.Select("SELECT [ID] FROM [Item] WHERE [item_num] = '5'"), CCheckedDaoHelper::Lookup::Missing);
    other.CloseDatabase();
    EXPECT_TRUE(dao.EndBatch());
    const auto boxes = m_boxes.Records();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.Find("NoSuch"), -1) << boxes[0].text.GetString();
    CCheckedDaoHelper::Rows rows;
    EXPECT_EQ(dao.Select("SELECT [item_num] FROM [Item] WHERE [ID] > 3 ORDER BY [ID]", &rows),
        CCheckedDaoHelper::Lookup::Found);
    EXPECT_EQ(rows, (CCheckedDaoHelper::Rows { { "4" }, { "5" } }));
}

} // namespace
