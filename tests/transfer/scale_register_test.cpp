// The scale register's reads, row handlers and writes around a stand-in work
// screen, and the communication settings.

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "db/general_dao_helper.h"
#include "db/store_paths.h"
#include "platform/base/resource.h"
#include "tests/support/register_screen.h"

TEST_F(ScaleRegisterTest, AddressRowsBecomeListLinesOfTheirKind)
{
    struct Case {
        const char* third;
        std::vector<CString> lines;
    };
    const Case cases[] = {
        { "IP", { "Scale name = A, IP=10.0.0.1", "Scale name = C, IP=10.0.0.3" } },
        { "ip", { "Scale name = A, IP=10.0.0.1", "Scale name = C, IP=10.0.0.3" } },
        { "COM_PORT", { "Scale name = A, Scale ID=10.0.0.1", "Scale name = C, Scale ID=10.0.0.3" } },
    };
    for (const Case& c : cases) {
        m_screen.m_settings.ClearRegistered();
        m_register.BeginRows();
        m_register.FillScaleList(RegisterRow({ "SCALE_NUM", "SCALE_NAME", c.third }));
        EXPECT_EQ(Answer(), kMailboxReport);
        m_register.FillScaleList(RegisterRow({ "0", "A", "10.0.0.1" }));
        m_register.FillScaleList(RegisterRow({ "0", "B", "NULL" }));
        m_register.FillScaleList(RegisterRow({ "0", "C", "10.0.0.3" }));
        EXPECT_EQ(Answer(), kMailboxReport);
        EXPECT_EQ(m_screen.m_settings.GetRegistered(), c.lines) << c.third;
        EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
    }
    // With the take-first flag the first scale listed is chosen too, once.
    m_screen.m_settings.ClearRegistered();
    m_register.BeginRows();
    m_screen.m_pickFirst = 1;
    m_register.FillScaleList(RegisterRow({ "scale_num", "scale_name", "com_port" }));
    m_register.FillScaleList(RegisterRow({ "0", "Z", "" }));
    m_register.FillScaleList(RegisterRow({ "0", "A", "7" }));
    m_register.FillScaleList(RegisterRow({ "0", "B", "8" }));
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = A, Scale ID=7" });
    EXPECT_EQ(m_screen.m_pickFirst, 0);
}

TEST_F(ScaleRegisterTest, RegisterRowsFillTheListAfterTheHeader)
{
    m_register.BeginRows();
    m_register.SplitRows(RegisterRow({ "SCALE_NAME", "IP", "COM_PORT", "MG_ID", "ID" }));
    m_register.SplitRows(RegisterRow({ "A", "10.0.0.1", "1", "kim", "4" }));
    m_register.SplitRows(RegisterRow({ "B", "10.0.0.2", "2", "lee", "9" }));
    EXPECT_EQ(Answer(), kMailboxReport);
    ASSERT_EQ(m_screen.m_list.GetItemCount(), 2);
    EXPECT_EQ(m_screen.m_list.GetItemText(0, 0), "A");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 3), "lee");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 4), "9");
}

TEST_F(ScaleRegisterTest, SettingsRowsFillTheGridWithPlaceholdersAsZero)
{
    m_register.BeginRows();
    m_register.FillScaleRootInfoGrid(RegisterRow({ "MYID", "IP", "ID" }));
    m_register.FillScaleRootInfoGrid(RegisterRow({ "-1", "NULL", "3" }));
    m_register.FillScaleRootInfoGrid(RegisterRow({ "7", "10.0.0.7", "5" }));
    EXPECT_EQ(Answer(), kMailboxReport);
    ASSERT_EQ(m_screen.m_grid.GetRowCount(), 4);
    EXPECT_EQ(GridLine(0)[1], "MYID");
    EXPECT_EQ(GridLine(0)[3], "ID");
    EXPECT_EQ(GridLine(1), (std::vector<CString> { "List 1", "0", "0", "3" }));
    EXPECT_EQ(GridLine(2), (std::vector<CString> { "List 2", "7", "10.0.0.7", "5" }));
}

TEST_F(ScaleRegisterTest, WritesRefuseAKeyThatIsNoNumber)
{
    for (const char* key : { "", "1 OR 1=1", "-1", "12a", "12345678901" })
        EXPECT_FALSE(CScaleRegister::IsRecordKey(key)) << key;
    for (const char* key : { "0", "42", "90", "2147483647" })
        EXPECT_TRUE(CScaleRegister::IsRecordKey(key)) << key;
    // Nothing is opened or run: no database exists here.
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert_Delete");
    m_register.DeleteScale("1 OR 1=1");
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Update");
    m_register.UpdateScale("0", "A", "1.2.3.4", "1", "vexo", "");
    EXPECT_EQ(m_screen.m_mailbox.Text(IDC_MAILBOX_NAME), "");
    EXPECT_FALSE(m_screen.m_worker.IsDatabaseOpen());
    EXPECT_TRUE(m_boxes.Records().empty());
}

// ---- Reads and writes on the register and settings databases

namespace {

class ScaleRegisterDbTest : public ScaleRegisterTest {
protected:
    void SetUp() override
    {
        ScaleRegisterTest::SetUp();
        m_screen.m_register = &m_register;
        for (const auto& [id, path] :
            { std::pair { 152u, kManagerDatabase }, { 208u, kScaleSettingsDatabase } }) {
            const auto bytes = AfxGetResource("MDB", id);
            TempDataRoot::WriteAll(m_root.Native(path),
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        Execute(kManagerDatabase,
            { "DELETE FROM [ScaleMG]",
                "INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port], [mg_id]) "
                "VALUES('1', 'A', '10.0.0.1', '1', 'kim')",
                "INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port], [mg_id]) "
                "VALUES('2', 'B', '10.0.0.2', '2', 'lee')",
                "INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port], [mg_id]) "
                "VALUES('3', 'C', NULL, '3', 'kim')" });
    }
    void Execute(const char* path, const std::vector<CString>& sql)
    {
        CGeneralDaoHelper helper;
        for (const CString& statement : sql) {
            helper.OpenDatabase(path); // each statement closes it
            helper.Execute(statement);
        }
        ASSERT_TRUE(m_boxes.Records().empty()) << m_boxes.Records()[0].text.GetString();
    }
    // The register's rows as "name|ip|com_port|mg_id" in key order.
    std::vector<std::string> Register()
    {
        std::vector<std::string> rows;
        CGeneralDaoHelper helper;
        helper.OpenDatabase(kManagerDatabase);
        for (int i = 0;; ++i) {
            const CString row = helper.GetRecordAt(
                "SELECT [scale_num], [scale_name], [ip], [com_port], [mg_id] FROM [ScaleMG] ORDER BY [ID]",
                i);
            if (row.IsEmpty() || row == "FALSE")
                break;
            std::string text = row.GetString();
            for (std::size_t at; (at = text.find("\tjo/")) != std::string::npos;)
                text.replace(at, 4, "|");
            if (!text.empty() && text.back() == '|')
                text.pop_back();
            rows.push_back(text);
        }
        helper.CloseDatabase();
        return rows;
    }
    CString FirstKey()
    {
        CGeneralDaoHelper helper;
        helper.OpenDatabase(kManagerDatabase);
        const CString key = helper.GetValueAt("SELECT [ID] FROM [ScaleMG] ORDER BY [ID]", 0);
        helper.CloseDatabase();
        return key;
    }
    // Writes the request and the manager id, runs read and waits for its end.
    void Read(const char* request, const char* managerId, const std::function<void()>& read)
    {
        const std::size_t before = m_screen.m_done.size();
        m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, request);
        m_screen.m_mailbox.SetText(IDC_MAILBOX_TEXT, managerId);
        read();
        ASSERT_TRUE(PumpUntil([&] { return m_screen.m_done.size() > before; }, std::chrono::seconds(10)))
            << request;
        EXPECT_EQ(m_screen.m_done.back(), request);
    }
    std::vector<std::vector<CString>> ListRows() const
    {
        std::vector<std::vector<CString>> rows;
        for (int i = 0; i < m_screen.m_list.GetItemCount(); ++i) {
            std::vector<CString> row;
            for (int c = 0; c < 4; ++c)
                row.push_back(m_screen.m_list.GetItemText(i, c));
            rows.push_back(row);
        }
        return rows;
    }
};

} // namespace

TEST_F(ScaleRegisterDbTest, RegisterReadsShowTheManagersScalesAndEveryScaleToTheAdministrator)
{
    Read("Scale_Reg_Read", "kim", [&] { m_register.SelectScales(""); });
    EXPECT_EQ(ListRows(),
        (std::vector<std::vector<CString>> { { "A", "10.0.0.1", "1", "kim" }, { "C", "NULL", "3", "kim" } }));
    EXPECT_EQ(m_screen.m_list.GetItemText(0, 4), FirstKey());
    m_screen.m_list.DeleteAllItems();
    Read("Scale_Reg_Read", "vexo", [&] { m_register.SelectScales("[scale_num], [mg_id]"); });
    EXPECT_EQ(ListRows(),
        (std::vector<std::vector<CString>> {
            { "1", "kim", "", "" }, { "2", "lee", "", "" }, { "3", "kim", "", "" } }));

    // Addresses for Ethernet: a scale without one is left out.
    Read("Comm_Mode_Read", "kim",
        [&] { m_register.SelectScaleAddress("ignored.mdb", "", Transport::Ethernet); });
    EXPECT_EQ(m_screen.m_settings.GetRegistered(), std::vector<CString> { "Scale name = A, IP=10.0.0.1" });
    m_screen.m_settings.ClearRegistered();
    Read("Comm_Mode_Read", "vexo",
        [&] { m_register.SelectScaleAddress("ignored.mdb", "", Transport::Serial); });
    EXPECT_EQ(m_screen.m_settings.GetRegistered(),
        (std::vector<CString> {
            "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2", "Scale name = C, Scale ID=3" }));
    // A manager id with a quote stays inside its text.
    m_screen.m_settings.ClearRegistered();
    Read("Comm_Mode_Read", "k' OR 'a'='a", [&] { m_register.SelectScaleAddress("", "", Transport::Serial); });
    EXPECT_TRUE(m_screen.m_settings.GetRegistered().empty());
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(ScaleRegisterDbTest, SettingsReadsFillTheGridWithTheirColumns)
{
    Execute(kScaleSettingsDatabase,
        { "INSERT INTO [Scale_Root_Info]([Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], "
          "[Destination_IP], [Destination_Port]) VALUES('1', '-1', '07', '10.0.0.7', '255.0.0.0', "
          "'10.0.0.1', '5000')",
            "INSERT INTO [Scale_Info]([WeightNum], [PriceNum], [PriceUnit], [PassWord], [VAT]) "
            "VALUES('3', '4', '10', '1234', '-1')" });

    Read("Scale_Root_Info_Read", "kim", [&] { m_register.SelectScaleRootInfo(""); });
    const std::vector<CString> rootLine = GridLine(1);
    EXPECT_EQ(std::vector<CString>(rootLine.begin(), rootLine.end() - 1),
        (std::vector<CString> { "List 1", "1", "0", "07", "10.0.0.7", "255.0.0.0", "10.0.0.1", "5000" }));
    EXPECT_EQ(GridLine(0)[1], "ETHERNET_INIT");
    EXPECT_EQ(GridLine(0).back(), "ID");

    m_screen.m_grid.SetRowCount(2);
    Read("Scale_Info_Read", "kim", [&] { m_register.SelectScaleInfo(""); });
    const std::vector<CString> titles = GridLine(0);
    ASSERT_EQ(titles.size(), 21u);
    EXPECT_EQ(std::vector<CString>(titles.begin() + 16, titles.end()),
        (std::vector<CString> { "wLimitPntType", "PriceUnit", "PassWord", "VAT", "ID" }));
    EXPECT_EQ(titles[1], "WeightNum");
    const std::vector<CString> infoLine = GridLine(1);
    EXPECT_EQ(std::vector<CString>(infoLine.begin(), infoLine.begin() + 4),
        (std::vector<CString> { "List 1", "3", "4", "0" }));
    EXPECT_EQ(std::vector<CString>(infoLine.begin() + 17, infoLine.end() - 1),
        (std::vector<CString> { "10", "1234", "0" }));

    // A column list of its own replaces the default one.
    Read("Scale_Info_Read", "kim", [&] { m_register.SelectScaleInfo("[WeightNum]"); });
    EXPECT_EQ(GridLine(0),
        (std::vector<CString> { GridLine(0)[0], "WeightNum", "PriceUnit", "PassWord", "VAT", "ID" }));
    // A read after another starts from the heading row again.
    Read("Scale_Root_Info_Read", "kim", [&] { m_register.SelectScaleRootInfo(""); });
    EXPECT_EQ(GridLine(0)[1], "ETHERNET_INIT");
    EXPECT_EQ(GridLine(1)[4], "10.0.0.7");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(ScaleRegisterDbTest, WritesChangeTheRegisterAndEndUnderTheirRequestName)
{
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert");
    m_register.InsertScale("0", "O'Neil", "10.0.0.9", "9", "kim");
    EXPECT_EQ(m_screen.m_done.back(), "Scale_Insert");
    EXPECT_EQ(Register().back(), "0|O'Neil|10.0.0.9|9|kim");

    const CString key = FirstKey();
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Update");
    m_register.UpdateScale("5", "Front", "10.0.0.5", "5", "lee", key);
    EXPECT_EQ(m_screen.m_done.back(), "Scale_Update");
    EXPECT_EQ(Register().front(), "5|Front|10.0.0.5|5|lee");

    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert_Delete");
    m_register.DeleteScale(key);
    EXPECT_EQ(m_screen.m_done.back(), "Scale_Insert_Delete");
    EXPECT_EQ(Register(),
        (std::vector<std::string> { "2|B|10.0.0.2|2|lee", "3|C|NULL|3|kim", "0|O'Neil|10.0.0.9|9|kim" }));
    EXPECT_EQ(m_screen.m_mailbox.Text(IDC_MAILBOX_TEXT), "");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST(ScaleRegisterSqlTest, ReadsTakeTheManagersScalesAndEveryScaleForTheAdministrator)
{
    EXPECT_EQ(ScaleRegisterSql("[scale_name], [ip]", "vexo"), "SELECT [scale_name], [ip] FROM [ScaleMG]");
    EXPECT_EQ(ScaleRegisterSql("[scale_name], [ip]", "k'm"),
        "SELECT [scale_name], [ip] FROM [ScaleMG] WHERE [mg_id] = 'k''m'");
}

TEST(CommSettingsTest, ListEditsOutOfRangeAppendOrChangeNothing)
{
    CCommSettings settings;
    int changes = 0;
    settings.SetListener([&] { ++changes; });
    settings.InsertRegistered(5, "b");
    settings.InsertRegistered(0, "a");
    settings.InsertRegistered(-1, "c");
    EXPECT_EQ(settings.GetRegistered(), (std::vector<CString> { "a", "b", "c" }));
    settings.SetChosen({ "x", "y" });
    settings.RemoveChosen(2);
    settings.RemoveChosen(-1);
    EXPECT_EQ(settings.GetChosen(), (std::vector<CString> { "x", "y" }));
    settings.RemoveChosen(1);
    EXPECT_EQ(settings.GetChosen(), std::vector<CString> { "x" });
    EXPECT_EQ(changes, 5);
}
