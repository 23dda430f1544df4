#include <gtest/gtest.h>

#include "db/record_sql.h"
#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_recordset.h"
#include "tests/support/scale_sim_bytes.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_folder.h"

// Records built from rows, parsed back into INSERT statements and run on a
// store database written from the item template: the rows read back hold what
// was sent.

namespace {

const RecordContext kContext { "kim", "2024-05-01", "192.168.0.15" };

class RecordsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db.Open(m_folder.FromTemplate(150, "items.mdb").c_str(), FALSE, FALSE, kStoreConnect);
        ASSERT_TRUE(m_db.IsOpen());
    }
    void TearDown() override { m_db.Close(); }

    void Store(RecordKind kind, const ByteBuffer& payload)
    {
        std::vector<std::string> statements;
        const IoStatus s = ReceivedRecordSql(kind, payload, kContext, RecordCarriage::Tcp, statements);
        ASSERT_TRUE(s.ok()) << s.ToString();
        for (const std::string& sql : statements) {
            try {
                m_db.Execute(sql.c_str());
            } catch (CException* e) {
                ADD_FAILURE() << e->GetErrorText().Str() << "\n" << sql;
                e->Delete();
            }
        }
    }
    // Every row of sql, each as its values joined by '|'.
    std::vector<std::string> Rows(const char* sql)
    {
        CDaoRecordset rs(&m_db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, sql);
        std::vector<std::string> out;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            std::string row;
            for (short i = 0; i < rs.GetFieldCount(); ++i) {
                const COleVariant v = rs.GetFieldValue(i);
                row += (i ? "|" : "")
                    + (v.vt == VT_BSTR        ? v.bstrVal.Str()
                            : v.vt == VT_NULL ? "<null>"
                                              : "?");
            }
            out.push_back(row);
        }
        rs.Close();
        return out;
    }

    TempFolder m_folder;
    CDaoDatabase m_db;
};

TEST_F(RecordsStoreTest, ItemWithAQuoteInItsNameIsStoredIntact)
{
    const RecordRow row { "", "1234", "Kim's 사과", "NULL", "1500", "0", "3", "27", "123", "2", "500", "1",
        "1", "1", "7", "12" };
    Store(RecordKind::Item, BuildPluRecord(row).Payload());
    EXPECT_EQ(
        Rows("SELECT [item_num], [item_name], [item_name2], [unitprice], [pos_code], [additem], [mg_id] "
             "FROM [Item]"),
        std::vector<std::string> { "1234|Kim's 사과||1500|0000123|12|kim" });
}

// With default values in force a record is sent from the stored row: the row
// a scale sent is read back by its manager and item number and packs into the
// same bytes.
TEST_F(RecordsStoreTest, StoredItemRowSendsTheRecordItWasStoredFrom)
{
    const RecordRow row { "", "4321", "배", "Pear's", "2500", "100", "4", "9", "4567", "3", "250", "2", "0",
        "5", "6", "8" };
    const ByteBuffer payload = BuildPluRecord(row).Payload();
    Store(RecordKind::Item, payload);
    for (bool everyManager : { false, true }) {
        const std::vector<std::string> rows = Rows(StoredItemSql("kim", "4321", everyManager).c_str());
        ASSERT_EQ(rows.size(), 1u);
        std::string text; // as the database worker gives a row: each value followed by TAB "jo/"
        std::size_t start = 0;
        for (std::size_t bar = rows[0].find('|');; bar = rows[0].find('|', start)) {
            text += rows[0].substr(start, bar - start) + "\tjo/";
            if (bar == std::string::npos)
                break;
            start = bar + 1;
        }
        EXPECT_EQ(
            scalesim::Hex(BuildPluRecord(PluRowFromStoredItem(text)).Payload()), scalesim::Hex(payload));
    }
    EXPECT_TRUE(Rows(StoredItemSql("lee", "4321", false).c_str()).empty()) << "another manager's item";
}

TEST_F(RecordsStoreTest, FullLengthKoreanNameFitsItsColumn)
{
    const std::string fifteen = "가나다라마바사아자차카타파하가";
    Store(RecordKind::Item, BuildPluRecord({ "", "1", fifteen + "X" }).Payload());
    EXPECT_EQ(Rows("SELECT [item_name] FROM [Item]"), std::vector<std::string> { fifteen });
}

TEST_F(RecordsStoreTest, TextRecordsFillTheirLinesAndNull)
{
    RecordRow add { "", "5", "a'1", "", "b" };
    add.resize(12, "NULL");
    Store(RecordKind::Add, BuildTextRecord(TableCode::Add, add).Encode());
    Store(RecordKind::AdvT, BuildTextRecord(TableCode::AdvT, { "", "6", "광고", "NULL" }).Encode());
    Store(RecordKind::LandAdd, BuildTextRecord(TableCode::LandAdd, { "", "7", "국산" }).Encode());
    EXPECT_EQ(Rows("SELECT [num], [str1], [str2], [str3], [str10], [mg_id] FROM [Add]"),
        std::vector<std::string> { "5|a'1|b|NULL|NULL|kim" });
    EXPECT_EQ(
        Rows("SELECT [adv_num], [str1], [str2] FROM [AdvT]"), std::vector<std::string> { "6|광고|NULL" });
    EXPECT_EQ(Rows("SELECT [land_num], [land_str] FROM [Land_Add]"), std::vector<std::string> { "7|국산" });
}

TEST_F(RecordsStoreTest, PresetPageStoresSixtyKeys)
{
    std::vector<std::string> keys(kPresetKeyCount);
    for (std::size_t k = 0; k < keys.size(); ++k)
        keys[k] = std::to_string(100 + k);
    Store(RecordKind::Preset, BuildPresetPage(2, keys));
    const std::vector<std::string> rows = Rows("SELECT [page_num], [num], [str] FROM [Preset] ORDER BY [ID]");
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows.front(), "2|1|100");
    EXPECT_EQ(rows.back(), "2|60|159");
}

TEST_F(RecordsStoreTest, UserLabelComesBackInGridUnits)
{
    RecordRow row(50, "0");
    row[1] = "3";
    row[2] = "100"; // item_nameX: sent as 80 dots, read back as 101
    row[3] = "100"; // item_nameY: 68 dots, 99
    row[22] = "1";
    row[42] = "50";
    Store(RecordKind::UserLabel, BuildUserLabelRecord(row).Encode());
    EXPECT_EQ(Rows("SELECT [file_num], [item_nameX], [item_nameY], [barcode form], [labelY], [mg_id] FROM "
                   "[UserLabel]"),
        std::vector<std::string> { "3|101|99|1|50|kim" });
}

// Totals are u32: 2^31 and more are stored as the unsigned numbers they are.
TEST_F(RecordsStoreTest, SalesTotalsStoreTheirDates)
{
    ByteBuffer total = scalesim::FromHex("3d 01 00 00 00 00 05 00 e8 07 03 09 00 00 00 5e d0 b2 ff ff ff ff "
                                         "01 00 02 00 03 00 04 00");
    Store(RecordKind::TotalResult, total);
    ByteBuffer day = scalesim::FromHex("40 01 63 00 00 00 01 00 d0 07 0c 1f 00 00 0a 00 00 00 14 00 00 00");
    Store(RecordKind::TotalDayResult, day);
    day[0] = 0x3F;
    Store(RecordKind::TotalItemDay, day);
    day[0] = 0x3E;
    Store(RecordKind::TotalItemResult, day);
    EXPECT_EQ(
        Rows("SELECT [begin_day], [print_cnt], [total_weight], [total_price], [rev_day], [current_scale], "
             "[write_day_memory] FROM [TotalResult]"),
        std::vector<std::string> { "2024-03-09|5|4294967295|3000000000|2024-05-01|192.168.0.15|4" });
    EXPECT_EQ(Rows("SELECT [day], [total_weight], [total_price] FROM [TotalDayResult]"),
        std::vector<std::string> { "2000-12-31|20|10" });
    EXPECT_EQ(Rows("SELECT [num], [day] FROM [TotalItemDay]"), std::vector<std::string> { "99|2000-12-31" });
    EXPECT_EQ(Rows("SELECT [num], [begin_day] FROM [TotalItemResult]"),
        std::vector<std::string> { "99|2000-12-31" });
}

} // namespace
