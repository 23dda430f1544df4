#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/base/resource.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_exception.h"
#include "platform/dao/dao_recordset.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_folder.h"

namespace {

// The design of every table, written compactly:
// columns: "name" is TEXT(50), "name:30" TEXT(30), ":auto" the LONG autonumber,
// ":long" LONG, ":memo" MEMO; '+' stands for a blank in a name.
// indexes: "name=column:kind" with kind PK, U or N, in any order.
struct TableDesign {
    const char* name;
    const char* columns;
    const char* indexes;
};

const TableDesign kItem = { "Item",
    "ID:auto item_num item_name:30 item_name2:30 land additem fix_price piece unitprice weight fmark "
    "pos_kind "
    "pos_flg pos_code dateprint limit_day limit_time sale_start sale_price sale_day total_weight total_price "
    "total_print mg_id info",
    "PrimaryKey=ID:PK ID=ID:U item_num=item_num:N mg_num=mg_id:N" };
const TableDesign kAdd = { "Add",
    "ID:auto num info str1:60 str2:60 str3:60 str4:60 str5:60 str6:60 str7:60 str8:60 str9:60 str10:60 mg_id",
    "PrimaryKey=ID:PK ID=ID:U info=info:N mg_num=mg_id:N num=num:N" };
const TableDesign kAdvT
    = { "AdvT", "ID:auto adv_num str1 str2 mg_id info", "PrimaryKey=ID:PK adv_num=adv_num:N mg_id=mg_id:N" };
const TableDesign kLandAdd
    = { "Land_Add", "land_num land_str mg_id ID:auto", "PrimaryKey=ID:PK ID=ID:N mg_id=mg_id:N" };
const TableDesign kPreset = { "Preset", "ID:auto page_num num str:20 mg_id",
    "PrimaryKey=ID:PK ID=ID:U mg_num=mg_id:N num=num:N page_num=page_num:N" };
const TableDesign kCorner = { "Corner", "ID:auto corner_code corner_name mg_id",
    "PrimaryKey=ID:PK corner_code=corner_code:U mg_num=mg_id:N" };
const TableDesign kScaleMG = { "ScaleMG", "ID:auto scale_num scale_name ip com_port corner_code mg_id",
    "PrimaryKey=ID:PK ID=ID:U corner_code=corner_code:N mg_num=mg_id:N scale_num=scale_num:N" };
const TableDesign kUserLabel = { "UserLabel",
    "file_num item_nameX item_nameY item_nameKind OriginX OriginY OriginKind PackDateX PackDateY "
    "PackDateKind "
    "LimitDateX LimitDateY LimitDateKind PiecePriceX PiecePriceY PiecePriceKind weightX weightY weightKind "
    "barcodeX barcodeY barcode+form barcodeLength priceX priceY priceKind item_numX item_numY item_numKind "
    "CountX CountY CountKind additemX additemY additemKind additemLine advX advY advKind advLine labelX "
    "labelY "
    "label_Gab vatX vatY vatKind vatpriceX vatpriceY vatpriceKind mg_id ID:auto",
    "PrimaryKey=ID:PK file_num=file_num:N mg_id=mg_id:N" };
const TableDesign kTotalResult = { "TotalResult",
    "ID:auto begin_day print_cnt total_weight total_price rev_day current_scale item_memory "
    "write_item_memory "
    "day_memory write_day_memory mg_id",
    "PrimaryKey=ID:PK mg_id=mg_id:N" };
const TableDesign kTotalItemResult = { "TotalItemResult",
    "ID:auto num begin_day print_cnt total_weight total_price rev_day current_scale mg_id",
    "PrimaryKey=ID:PK mg_id=mg_id:N num=num:N" };
const TableDesign kTotalItemDay
    = { "TotalItemDay", "ID:auto num day print_cnt total_weight total_price rev_day current_scale mg_id",
          "PrimaryKey=ID:PK mg_id=mg_id:N num=num:N" };
const TableDesign kTotalDayResult
    = { "TotalDayResult", "ID:auto day print_cnt total_weight total_price rev_day current_scale mg_id",
          "PrimaryKey=ID:PK mg_id=mg_id:N" };
const TableDesign kServerDB = { "Server_DB",
    "ID:auto code_gds PrintCnt Result_day Totalprice Totalweight ip mg_id item_name result_time scale_name "
    "item_poscode",
    "PrimaryKey=ID:PK code_gds=code_gds:N item_poscode=item_poscode:N mg_id=mg_id:N" };
const TableDesign kReservationTable = { "Reservation_Table",
    "ID:auto reservation_num reservation_period mg_id reservation_time ip reservation_kind year month day "
    "hour "
    "min reservation_trans reservation_status:memo",
    "PrimaryKey=ID:PK ID=ID:N mg_id=mg_id:N reservation_num=reservation_num:N" };
const TableDesign kManager
    = { "Manager", "mg_id mg_pass corner_code:long", "mg_id=mg_id:U mg_pass=mg_pass:N" };
const char* const kScaleInfoIndexes = "PrimaryKey=ID:PK ID=ID:U CodeLand=CodeLand:N MyId=MyID:N "
                                      "PriceNum=PriceNum:N PrintAdvNum=PrintAdvNum:N "
                                      "WeightNum=WeightNum:N";
const TableDesign kScaleInfo152 = { "Scale_Info",
    "WeightNum PriceNum WeightUnit Ethernet_Init Ethernet_Stat MyID IP MASK PresetPageSelect "
    "BarCodePriceSelect "
    "ItemNameSorting LimitTime LabelInfo ULabelInfo pos_flag wLimitPntType wLimtTotalInfo BarCodePrintFormat "
    "CodeLand PrintAdvNum Destination_IP Destination_Port del_won HanFont PriceUnit PassWord VAT ID:auto",
    kScaleInfoIndexes };
const TableDesign kScaleInfo208 = { "Scale_Info",
    "WeightNum PriceNum WeightUnit Ethernet_Init Ethernet_Stat MyID IP MASK PresetPageSelect "
    "BarCodePriceSelect "
    "ItemNameSorting ItemLandSorting LimitTime LabelInfo ULabelInfo pos_flag wLimitPntType wLimtTotalInfo "
    "BarCodePrintFormat CodeLand PrintAdvNum Destination_IP Destination_Port del_won HanFont PriceUnit "
    "PassWord "
    "VAT Reserved ID:auto",
    kScaleInfoIndexes };
const TableDesign kScaleRootInfo
    = { "Scale_Root_Info", "Ethernet_Init Ethernet_Stat MyID IP MASK Destination_IP Destination_Port ID:auto",
          "PrimaryKey=ID:PK ID=ID:U MyId=MyID:N" };

// The reservation template extends six item tables.
TableDesign Reserved(const TableDesign& base, std::vector<std::string>& storage)
{
    storage.push_back(std::string(base.columns) + " reservation_num reservation_period reservation_trans");
    const std::string& columns = storage.back();
    storage.push_back(std::string(base.indexes) + " reservation_num=reservation_num:N");
    return { base.name, columns.c_str(), storage.back().c_str() };
}

std::string Normalized(const std::string& list)
{
    std::istringstream in(list);
    std::vector<std::string> items;
    for (std::string item; in >> item;)
        items.push_back(item);
    std::sort(items.begin(), items.end());
    std::string out;
    for (const auto& item : items)
        out += item + " ";
    return out;
}

class TemplateTest : public ::testing::Test {
protected:
    void TearDown() override { m_db.Close(); }

    // Writes template id to a file, as provisioning does, and returns its path.
    std::string WriteTemplate(UINT id)
    {
        EXPECT_FALSE(AfxGetResource("MDB", id).empty()) << "template " << id;
        return m_store.FromTemplate(id, std::to_string(id) + ".mdb");
    }

    void Open(UINT id) { m_db.Open(WriteTemplate(id).c_str(), FALSE, FALSE, kStoreConnect); }

    std::vector<std::vector<std::string>> Rows(const std::string& sql)
    {
        CDaoRecordset rs(&m_db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, sql.c_str());
        std::vector<std::vector<std::string>> rows;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            std::vector<std::string> row;
            for (int i = 0; i < rs.GetFieldCount(); ++i) {
                const COleVariant v = rs.GetFieldValue(i);
                row.push_back(v.vt == VT_NULL ? "NULL"
                        : v.vt == VT_I4       ? std::to_string(v.lVal)
                                              : v.bstrVal.Str());
            }
            rows.push_back(row);
        }
        return rows;
    }

    std::string ColumnsOf(const std::string& table)
    {
        const std::string sql
            = Rows("SELECT sql FROM sqlite_master WHERE name = '" + table + "'").at(0).at(0);
        std::string out;
        for (const auto& c : Rows("PRAGMA table_info(\"" + table + "\")")) {
            std::string name = c[1];
            std::replace(name.begin(), name.end(), ' ', '+');
            const std::string& type = c[2];
            if (type == "TEXT(50)")
                out += name;
            else if (type.rfind("TEXT(", 0) == 0)
                out += name + ":" + type.substr(5, type.size() - 6);
            else if (type == "INTEGER" && c[5] == "1" && sql.find("AUTOINCREMENT") != std::string::npos)
                out += name + ":auto";
            else if (type == "LONG")
                out += name + ":long";
            else if (type == "LONGTEXT")
                out += name + ":memo";
            else
                out += name + ":?" + type;
            if (c[3] != "0")
                out += "!required"; // every column accepts NULL
            out += " ";
        }
        return out;
    }

    std::string IndexesOf(const std::string& table)
    {
        std::string out;
        const std::string sql
            = Rows("SELECT sql FROM sqlite_master WHERE name = '" + table + "'").at(0).at(0);
        for (const auto& c : Rows("PRAGMA table_info(\"" + table + "\")")) {
            if (c[5] == "1") {
                const std::string lead = "\"" + c[1] + "\" INTEGER CONSTRAINT \"";
                const std::size_t at = sql.find(lead) + lead.size();
                const std::string name = sql.substr(at, sql.find('"', at) - at);
                out += name + "=" + c[1] + ":PK ";
            }
        }
        for (const auto& index : Rows("PRAGMA index_list(\"" + table + "\")")) {
            const std::string& stored = index[1];
            EXPECT_EQ(stored.rfind(table + ".", 0), 0u) << stored;
            const auto columns = Rows("PRAGMA index_info(\"" + stored + "\")");
            EXPECT_EQ(columns.size(), 1u) << stored;
            out += stored.substr(table.size() + 1) + "=" + columns.at(0).at(2)
                + (index[2] == "1" ? ":U " : ":N ");
        }
        return out;
    }

    // Only the two seed rows of template 152 exist in any template.
    void ExpectEmpty(const std::vector<TableDesign>& design)
    {
        for (const auto& t : design)
            EXPECT_TRUE(Rows(std::string("SELECT * FROM [") + t.name + "]").empty()) << t.name;
    }

    void ExpectTables(const std::vector<TableDesign>& design)
    {
        std::string expectedNames, actualNames;
        for (const auto& t : design)
            expectedNames += std::string(t.name) + " ";
        for (const auto& r :
            Rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"))
            actualNames += r[0] + " ";
        EXPECT_EQ(Normalized(actualNames), Normalized(expectedNames));
        for (const auto& t : design) {
            SCOPED_TRACE(t.name);
            EXPECT_EQ(ColumnsOf(t.name), std::string(t.columns) + " ");
            EXPECT_EQ(Normalized(IndexesOf(t.name)), Normalized(t.indexes));
        }
    }

    TempFolder m_store;
    CDaoDatabase m_db;
};

const std::vector<TableDesign> kItemTables = { kAdd, kAdvT, kCorner, kItem, kLandAdd, kPreset, kScaleMG,
    kTotalDayResult, kTotalItemDay, kTotalItemResult, kTotalResult, kUserLabel };

TEST_F(TemplateTest, ItemDatabaseTemplate150HasTheTwelveItemTablesEmpty)
{
    Open(150);
    ExpectTables(kItemTables);
    ExpectEmpty(kItemTables);
}

TEST_F(TemplateTest, ManagerTemplate152HoldsTheAdministratorAndTheFirstScale)
{
    Open(152);
    ExpectTables({ kManager, kScaleInfo152, kScaleMG });
    EXPECT_EQ(
        Rows("SELECT * FROM [Manager]"), (std::vector<std::vector<std::string>> { { "vexo", "vexo", "0" } }));
    EXPECT_EQ(Rows("SELECT * FROM [ScaleMG]"),
        (std::vector<std::vector<std::string>> {
            { "1", "1", "scale1", "192.168.0.130", "98", "NULL", "vexo" } }));
    EXPECT_TRUE(Rows("SELECT * FROM [Scale_Info]").empty());
    // The administrator logs in with the design's query.
    EXPECT_EQ(
        Rows("SELECT [corner_code] FROM [manager] WHERE mg_id = 'vexo' AND mg_pass = 'vexo'").size(), 1u);
    // The next scale gets the next number.
    m_db.Execute("INSERT INTO [ScaleMG]([scale_num], [mg_id]) VALUES('-1', 'vexo')");
    EXPECT_EQ(
        Rows("SELECT [ID] FROM [ScaleMG] WHERE [scale_num] = '-1' ORDER BY [ID] DESC").at(0).at(0), "2");
}

TEST_F(TemplateTest, ResultServerTemplate195AddsServerDB)
{
    Open(195);
    std::vector<TableDesign> design = kItemTables;
    design.push_back(kServerDB);
    ExpectTables(design);
    ExpectEmpty(design);
}

TEST_F(TemplateTest, ScaleSettingsTemplate208)
{
    Open(208);
    ExpectTables({ kScaleInfo208, kScaleRootInfo });
    ExpectEmpty({ kScaleInfo208, kScaleRootInfo });
}

TEST_F(TemplateTest, ReservationTemplate220ExtendsSixItemTables)
{
    Open(220);
    std::vector<std::string> storage;
    storage.reserve(16);
    std::vector<TableDesign> design
        = { Reserved(kAdd, storage), Reserved(kAdvT, storage), Reserved(kItem, storage),
              Reserved(kLandAdd, storage), Reserved(kPreset, storage), Reserved(kUserLabel, storage), kCorner,
              kScaleMG, kTotalDayResult, kTotalItemDay, kTotalItemResult, kTotalResult, kReservationTable };
    ExpectTables(design);
    ExpectEmpty(design);
}

TEST_F(TemplateTest, TemplatesKeepJetRulesAndOpenOnlyWithThePassword)
{
    const std::string path = WriteTemplate(150);
    for (const char* connect : { "", ";PWD=", ";PWD=Quendrav" }) {
        long code = 0;
        try {
            m_db.Open(path.c_str(), FALSE, FALSE, connect);
        } catch (CDaoException* e) {
            code = e->m_pErrorInfo->m_lErrorCode;
            e->Delete();
        }
        EXPECT_EQ(code, 3031) << connect;
    }
    m_db.Open(path.c_str(), FALSE, FALSE, kStoreConnect);
    m_db.Execute("INSERT INTO [UserLabel]([file_num], [barcode form], [mg_id]) VALUES('-1', '2', 'Kim')");
    EXPECT_EQ(Rows("SELECT [barcode form], [ID] FROM [UserLabel] WHERE [mg_id] = 'KIM' AND [file_num] = '-1' "
                   "ORDER BY [ID] DESC"),
        (std::vector<std::vector<std::string>> { { "2", "1" } }));
    m_db.Execute("INSERT INTO [Corner]([corner_code]) VALUES('a1')");
    long code = 0;
    try {
        m_db.Execute("INSERT INTO [Corner]([corner_code]) VALUES('A1')");
    } catch (CDaoException* e) {
        code = e->m_pErrorInfo->m_lErrorCode;
        e->Delete();
    }
    EXPECT_EQ(code, 3022);
}

} // namespace
