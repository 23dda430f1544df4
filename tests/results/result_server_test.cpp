// The results server end to end: a simulated scale connects to its loopback
// port, asks for records, reports and cancels sales.

#include <algorithm>
#include <atomic>
#include <thread>

#include "db/sql_text.h"
#include "protocol/scale_records.h"
#include "protocol/server_messages.h"
#include "tests/results/result_server_fixture.h"
#include "tests/support/scale_sim_bytes.h"

using scalesim::Bytes;
using scalesim::DataRequest;
using scalesim::Hex;
using scalesim::SaleMessage;

namespace {

const char* const kItemColumns
    = "[item_num], [item_name], [item_name2], [unitprice], [fix_price], [land], "
      "[pos_flg], [pos_code], [piece], [weight], [fmark], [pos_kind], [dateprint], "
      "[limit_day], [additem], [mg_id]";
const RecordRow kItemRow { "", "77", "Kim's", "NULL", "1500", "0", "3", "27", "123", "2", "500", "1", "1",
    "1", "7", "12" };

// The row's cells from column 1 on as quoted values, then mgId.
CString Values(const RecordRow& row, const char* mgId)
{
    CString text;
    for (std::size_t i = 1; i < row.size(); ++i)
        text += SqlLiteral(CString(row[i])) + ", ";
    return text + SqlLiteral(mgId);
}

class ResultServerTest : public ResultServerFixture {
protected:
    void StoreItem(const RecordRow& row, const char* mgId)
    {
        Execute(kServerDatabase,
            CString("INSERT INTO [Item](") + kItemColumns + ") VALUES(" + Values(row, mgId) + ")");
    }

    std::vector<std::string> ServerRow(int id)
    {
        CString sql;
        sql.Format(
            "SELECT [code_gds], [PrintCnt], [Result_day], [Totalprice], [Totalweight], [ip], [mg_id], "
            "[item_name], [result_time], [scale_name], [item_poscode] FROM [Server_DB] WHERE [ID] = %d",
            id);
        std::vector<std::string> values;
        for (const auto& row : Select(kServerDatabase, sql))
            for (const CString& value : row)
                values.push_back(value.Str());
        return values;
    }
};

} // namespace

// Every table kind answered with its 532-byte frame, the records equal to the
// transfers' builders' for the same values; another manager's rows and a
// missing record give the not-found frame.
TEST_F(ResultServerTest, EveryRequestKindGetsItsFrame)
{
    StoreItem(kItemRow, "m1");
    RecordRow other = kItemRow;
    other[1] = "78";
    StoreItem(other, "m2");
    Execute(kServerDatabase,
        "INSERT INTO [Add]([num], [str1], [str2], [str3], [mg_id]) VALUES('3', 'A', '', 'B', 'm1')");
    RecordRow longRow { "", "4" };
    CString longValues;
    for (int i = 0; i < 10; ++i) {
        longRow.push_back(std::string(60, static_cast<char>('a' + i)));
        longValues += "'" + CString(longRow.back()) + "', ";
    }
    Execute(kServerDatabase,
        "INSERT INTO [Add]([num], [str1], [str2], [str3], [str4], [str5], [str6], [str7], [str8], [str9], "
        "[str10], "
        "[mg_id]) VALUES('4', "
            + longValues + "'m1')");
    Execute(kServerDatabase,
        "INSERT INTO [AdvT]([adv_num], [str1], [str2], [mg_id]) VALUES('9', 'x', 'NULL', 'm1')");
    Execute(kServerDatabase,
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('2', '1', '123', 'm1')");
    Execute(kServerDatabase,
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('2', '60', '77', 'm1')");
    Execute(
        kServerDatabase, "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('5', '국산', 'm1')");
    RecordRow label(50, "0");
    label[1] = "6";
    label[2] = "100";
    label[42] = "50";
    CString labelColumns;
    for (const char* column : ReceivedUserLabelColumns())
        labelColumns += CString(labelColumns.IsEmpty() ? "" : ", ") + SqlName(column);
    Execute(
        kServerDatabase, "INSERT INTO [UserLabel](" + labelColumns + ") VALUES(" + Values(label, "m1") + ")");
    Start();

    struct Case {
        const char* name;
        std::uint16_t kind;
        std::uint32_t number;
        ByteBuffer expected;
    } cases[] = {
        { "item", 0, 77, BuildDataReply(TableCode::Plu, 77, BuildPluRecord(kItemRow).Payload()) },
        { "another manager's item", 0, 78, BuildNotFoundReply(0) },
        { "ingredient", 1, 3,
            BuildDataReply(
                TableCode::Add, 3, BuildTextRecord(TableCode::Add, { "", "3", "A", "", "B" }).Encode()) },
        { "ingredient filling the frame", 1, 4,
            BuildDataReply(TableCode::Add, 4, BuildTextRecord(TableCode::Add, longRow, 504).Encode()) },
        { "advertisement", 2, 9,
            BuildDataReply(TableCode::AdvT, 9, BuildTextRecord(TableCode::AdvT, { "", "9", "x" }).Encode()) },
        { "preset page", 3, 2,
            BuildDataReply(TableCode::Preset, 2,
                EncodePresetPage(2, std::vector<PresetEntry> { { 123, 1 }, { 77, 60 } })) },
        { "user label", 4, 6, BuildDataReply(TableCode::UserLabel, 6, BuildUserLabelRecord(label).Encode()) },
        { "origin", 5, 5,
            BuildDataReply(
                TableCode::LandAdd, 5, BuildTextRecord(TableCode::LandAdd, { "", "5", "국산" }).Encode()) },
        { "missing", 5, 6, BuildNotFoundReply(5) },
    };
    auto client = Connect();
    std::size_t count = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(Exchange(*client, DataRequest(c.kind, c.number), ++count)) << c.name;
        EXPECT_EQ(Hex(client->Replies().back()), Hex(c.expected)) << c.name;
    }
    const Bytes item = client->Replies().front();
    EXPECT_EQ(Hex(std::span(item).first(20)), "1f 00 00 00 03 00 01 00 00 00 00 00 00 00 4d 00 00 00 72 00");
    EXPECT_EQ(Hex(std::span(client->Replies()[3]).subspan(18, 2)), "00 02") << "512 data bytes sent";
    const std::vector<std::string> log = LogLines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1],
        "Connected Client : Destination IP Addr : 127.0.0.1||Connection Time : 2006/ 5/ 3: 9H- 7M|| "
        "Open Server File : C:\\Windows\\system\\Manager\\Server_Store.mdb");
    EXPECT_EQ(log[2],
        "Connected Client : Destination IP Addr : 127.0.0.1||Request Time : 2006/ 5/ 3: 9H- 7M||Process "
        "Value :        Item Num=    77|| Open Server File : C:\\Windows\\system\\Manager\\Server_Store.mdb");
}

// A request of another direction is logged without its value and answered
// by nothing: the next request's frame is the only one.
TEST_F(ResultServerTest, RequestOfAnotherDirectionGetsNoReply)
{
    StoreItem(kItemRow, "m1");
    Start();
    auto client = Connect();
    ASSERT_TRUE(client->Send(DataRequest(0, 77, 3)));
    ASSERT_TRUE(Exchange(*client, DataRequest(0, 77), 1));
    EXPECT_EQ(client->ReceivedByteCount(), kServerReplySize);
    EXPECT_EQ(client->Replies()[0][6], 1) << "found";
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2],
        "Connected Client : Destination IP Addr : 127.0.0.1||Request Time : 2006/ 5/ 3: 9H- 7M|| Open "
        "Server File : C:\\Windows\\system\\Manager\\Server_Store.mdb");
}

// An advertisement or origin whose texts are empty ("NULL" counts as empty)
// is answered by nothing: the item's frame is the only one.
TEST_F(ResultServerTest, EmptyTextsAreNotSent)
{
    StoreItem(kItemRow, "m1");
    Execute(kServerDatabase,
        "INSERT INTO [AdvT]([adv_num], [str1], [str2], [mg_id]) VALUES('1', 'NULL', '', 'm1')");
    Execute(kServerDatabase, "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('2', '', 'm1')");
    Execute(
        kServerDatabase, "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('3', 'NULL', 'm1')");
    Start();
    auto client = Connect();
    for (const auto& [kind, number] : { std::pair { 2, 1 }, std::pair { 5, 2 }, std::pair { 5, 3 } })
        ASSERT_TRUE(
            client->Send(DataRequest(static_cast<std::uint16_t>(kind), static_cast<std::uint32_t>(number))));
    ASSERT_TRUE(Exchange(*client, DataRequest(0, 77), 1));
    EXPECT_EQ(client->ReceivedByteCount(), kServerReplySize);
    EXPECT_EQ(client->Replies()[0][0], 0x1F);
    EXPECT_EQ(client->Replies()[0][6], 1) << "found";
}

// An empty Server_Port.bin means port 3000: the server listens there, or
// says that port 3000 is taken.
TEST_F(ResultServerTest, EmptyPortFileMeansPort3000)
{
    TempDataRoot::WriteAll(m_root.Native(kServerPortFile), "");
    CResultServer server(m_pane);
    server.SetListenAddress("127.0.0.1");
    if (!server.StartResultServer()) {
        EXPECT_NE(m_boxes.Records().back().text.Str().find("port 3000"), std::string::npos);
        return;
    }
    scalesim::ServerClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", 3000));
    EXPECT_TRUE(PumpUntil([&] { return server.GetConnectionCount() == 1; }));
}

// Reports and cancels become rows of [Server_DB], an apostrophe in the item
// name included; each is answered with its own bytes turned round.
TEST_F(ResultServerTest, ReportsAndCancelsAreStoredAndLogged)
{
    StoreItem(kItemRow, "m1");
    Start();
    auto client = Connect();
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 1200, 350), 1));
    ASSERT_TRUE(Exchange(*client, SaleMessage(true, 77, 1200, 350), 2));
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 99, -5, 0), 3));

    Bytes expected = SaleMessage(true, 77, 1200, 350);
    expected[4] = 3;
    expected[6] = 0x11;
    expected[7] = 0x01;
    expected.resize(kServerReplySize, 0);
    EXPECT_EQ(Hex(client->Replies()[1]), Hex(expected));

    using Row = std::vector<std::string>;
    EXPECT_EQ(ServerRow(1),
        (Row {
            "77", "1", "2006- 5- 3", "1200", "350", "127.0.0.1", "m1", "Kim's", " 9: 7", "Front", "123" }));
    EXPECT_EQ(ServerRow(2),
        (Row { "77", "-1", "2006- 5- 3", "-1200", "-350", "127.0.0.1", "m1", "Kim's", " 9: 7", "Front",
            "123" }));
    EXPECT_EQ(ServerRow(3),
        (Row { "99", "1", "2006- 5- 3", "-5", "0", "127.0.0.1", "m1", "FALSE", " 9: 7", "Front", "FALSE" }));
    // Each report's line follows its reply.
    ASSERT_TRUE(PumpUntil([&] { return LogLines().size() == 5; }));
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(log[3],
        "Connected Client : Destination IP Addr : 127.0.0.1||Result Cancel Time : 2006/ 5/ 3: 9H- 7M"
        "||Result Value : Item Num=    77, Result date=2006- 5- 3, Price= -1200, Weight=  -350|| Open "
        "Server File : C:\\Windows\\system\\Manager\\Server_Store.mdb");
}

// The administrator's server serves and stores every scale under "vexo".
TEST_F(ResultServerTest, AdministratorWorksUnderVexo)
{
    StoreItem(kItemRow, "vexo");
    m_pane.userId = "vexo";
    Start();
    auto client = Connect();
    ASSERT_TRUE(Exchange(*client, DataRequest(0, 77), 1));
    EXPECT_EQ(client->Replies()[0][6], 1) << "vexo's item found";
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 1, 1), 2));
    EXPECT_EQ(ServerRow(1)[6], "vexo");
    EXPECT_EQ(ServerRow(1)[7], "Kim's");
}

// An address missing from the register gets no reply and one box however
// often it asks; once registered, it is served, and boxed again only once it
// is no longer registered.
TEST_F(ResultServerTest, UnregisteredScaleIsRefused)
{
    Execute(kManagerDatabase, "DELETE FROM [ScaleMG]");
    Start();
    auto client = Connect();
    const auto refused = [&](std::size_t boxes) {
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(client->Send(i % 2 ? SaleMessage(false, 77, 1, 1) : DataRequest(0, 77)));
        EXPECT_TRUE(PumpUntil([&] { return m_boxes.Records().size() >= boxes; }));
        // Another address of the register, served after them.
        scalesim::ServerClient other;
        EXPECT_TRUE(other.Connect("127.0.0.1", m_port, 5000, "127.0.0.3"));
        EXPECT_TRUE(Exchange(other, DataRequest(0, 77), 1));
        EXPECT_EQ(m_boxes.Records().size(), boxes);
        EXPECT_EQ(m_boxes.Records().back().text, "Unregistered Scale Request.");
        EXPECT_EQ(client->ReplyCount(), 0u);
    };
    Register("127.0.0.3", "m1");
    refused(2);
    Register("127.0.0.1", "");
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 2, 2), 1));
    EXPECT_EQ(client->ReceivedByteCount(), kServerReplySize);
    EXPECT_EQ(ServerRow(1)[3], "2") << "only the registered scale's sale";
    EXPECT_EQ(ServerRow(1)[6], "vexo") << "an empty manager id is the administrator's";
    Execute(kManagerDatabase, "DELETE FROM [ScaleMG] WHERE [ip] = '127.0.0.1'");
    client = Connect();
    refused(3);
}

// Messages are cut by their header: one in two pieces, two in one block.
TEST_F(ResultServerTest, MessagesAreCutByTheirHeader)
{
    StoreItem(kItemRow, "m1");
    Start();
    auto client = Connect();
    const Bytes request = DataRequest(0, 77);
    ASSERT_TRUE(client->Send(Bytes(request.begin(), request.begin() + 7)));
    Bytes rest(request.begin() + 7, request.end());
    const Bytes report = SaleMessage(false, 77, 10, 20);
    rest.insert(rest.end(), report.begin(), report.end());
    ASSERT_TRUE(Exchange(*client, rest, 2));
    EXPECT_EQ(client->Replies()[0][0], 0x1F);
    EXPECT_EQ(client->Replies()[1][0], 0x31);
}

// Two scales at once, each answered on its own connection; a disconnect
// removes that one and is logged.
TEST_F(ResultServerTest, TwoScalesAtOnce)
{
    StoreItem(kItemRow, "m1");
    Start();
    auto first = Connect();
    auto second = Connect();
    ASSERT_TRUE(first->Send(SaleMessage(false, 77, 1, 1)));
    ASSERT_TRUE(second->Send(DataRequest(0, 77)));
    ASSERT_TRUE(first->Send(DataRequest(0, 78)));
    ASSERT_TRUE(PumpUntil([&] { return first->ReplyCount() == 2 && second->ReplyCount() == 1; }));
    EXPECT_EQ(first->Replies()[0][0], 0x31);
    EXPECT_EQ(first->Replies()[1][6], 0) << "item 78 not found";
    EXPECT_EQ(second->Replies()[0][6], 1);

    first->Close();
    ASSERT_TRUE(PumpUntil([&] { return m_server->GetConnectionCount() == 1; }));
    ASSERT_TRUE(Exchange(*second, DataRequest(0, 77), 2));
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(),
            [](const std::string& line) { return line.find("||Disconnect Time : ") != std::string::npos; }),
        1);
}

// While a box of the server is open, the server goes on: a request is
// answered, and a scale that reports on a new connection is acknowledged
// within its wait, so that it sends its sale once and the sale is stored once.
TEST_F(ResultServerTest, ServerGoesOnWhileItsBoxIsOpen)
{
    Execute(kManagerDatabase, "DELETE FROM [ScaleMG]");
    StoreItem(kItemRow, "vexo");
    Start();
    auto client = Connect();
    std::thread scale;
    std::atomic<bool> done { false };
    bool acknowledged = false;
    int sends = 0;
    std::size_t whileOpen = 0;
    MessageBoxScript::PushAnswerWhen(IDOK, [&] {
        if (!scale.joinable()) {
            Register("127.0.0.1", "");
            EXPECT_TRUE(client->Send(DataRequest(0, 77)));
            scale = std::thread([&] {
                sends = scalesim::ReportUntilAcknowledged("127.0.0.1", m_port, SaleMessage(false, 77, 5, 5),
                    static_cast<int>(TestDeadline(std::chrono::milliseconds(300)).count()), 4, acknowledged);
                done = true;
            });
        }
        whileOpen = client->ReceivedByteCount();
        // The request and the report are served side by side: either may end first.
        return done.load() && whileOpen >= scalesim::kServerReplyBytes;
    });
    ASSERT_TRUE(client->Send(DataRequest(0, 77)));
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    scale.join();
    EXPECT_EQ(whileOpen, scalesim::kServerReplyBytes) << "the request answered while the box was open";
    EXPECT_TRUE(acknowledged);
    EXPECT_EQ(sends, 1);
    ASSERT_TRUE(PumpUntil([&] { return m_boxes.Records().size() == 2; }));
    EXPECT_EQ(m_boxes.Records()[1].text, "Unregistered Scale Request.");
    EXPECT_EQ(Select(kServerDatabase, "SELECT [Totalprice] FROM [Server_DB]"),
        (CCheckedDaoHelper::Rows { { "5" } }));
}

// A report whose row cannot be stored is not acknowledged; the log says so.
// Reports that arrive together are stored together, and each is answered and
// logged in the order of the messages, before the next request.
TEST_F(ResultServerTest, UnstoredReportIsNotAcknowledged)
{
    Execute(kServerDatabase, "CREATE UNIQUE INDEX [one_sale] ON [Server_DB] ([code_gds])");
    Start();
    auto client = Connect();
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 77, 1, 1), 1));
    scalesim::Bytes block = SaleMessage(false, 5, 3, 3);
    for (const scalesim::Bytes& next : { SaleMessage(false, 77, 2, 2), DataRequest(0, 77) })
        block.insert(block.end(), next.begin(), next.end());
    ASSERT_TRUE(Exchange(*client, block, 3));
    EXPECT_EQ(client->Replies()[1], BuildResultReply(SaleMessage(false, 5, 3, 3)));
    EXPECT_EQ(client->Replies()[2][0], 0x1F) << "no reply to the unstored sale";
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_EQ(m_boxes.Records()[1].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(Select(kServerDatabase, "SELECT [code_gds] FROM [Server_DB] ORDER BY [ID]"),
        (CCheckedDaoHelper::Rows { { "77" }, { "5" } }));
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_NE(log[3].find("||Result Value : Item Num=     5"), std::string::npos);
    EXPECT_NE(log[4].find("||Result Not Stored : Item Num=    77"), std::string::npos);
    EXPECT_NE(log[5].find("||Request Time : "), std::string::npos);
}

// Values the scale sends are stored as sent: the highest item number is no
// negative one, and a cancel of the lowest price turns its sign.
TEST_F(ResultServerTest, ExtremeValuesAreStoredAsTheScaleSentThem)
{
    Execute(kServerDatabase,
        "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('4294967295', 'Top', 'm1')");
    Start();
    auto client = Connect();
    ASSERT_TRUE(Exchange(*client, SaleMessage(false, 4294967295u, 7, 1), 1));
    ASSERT_TRUE(Exchange(*client, SaleMessage(true, 5, INT32_MIN, INT32_MIN), 2));
    EXPECT_EQ(
        Select(kServerDatabase,
            "SELECT [code_gds], [item_name], [Totalprice], [Totalweight] FROM [Server_DB] ORDER BY [ID]"),
        (CCheckedDaoHelper::Rows {
            { "4294967295", "Top", "7", "1" }, { "5", "FALSE", "2147483648", "2147483648" } }));
    EXPECT_NE(LogLines()[2].find("Item Num=4294967295"), std::string::npos);
    // Its record is found for a request as well.
    ASSERT_TRUE(Exchange(*client, DataRequest(0, 4294967295u), 3));
    const Bytes reply = client->Replies()[2];
    EXPECT_EQ(reply[6], 1) << "found";
    EXPECT_NE(LogLines()[4].find("Item Num=4294967295"), std::string::npos);
}

// An item numbered past 2^31 is answered under its own number, in the header
// and in the record, with its own name.
TEST_F(ResultServerTest, ItemNumbersPast2To31AreAnsweredAsAsked)
{
    const std::uint32_t numbers[] = { 2147483647u, 2147483648u, 3000000000u, 4294967295u };
    for (const std::uint32_t number : numbers)
        Execute(kServerDatabase,
            CString::Formatted(
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('%u', 'N%u', 'm1')", number,
                number));
    Start();
    auto client = Connect();
    std::size_t count = 0;
    for (const std::uint32_t number : numbers) {
        ASSERT_TRUE(Exchange(*client, DataRequest(0, number), ++count));
        const Bytes reply = client->Replies().back();
        const auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(
                reply[at] | reply[at + 1] << 8 | reply[at + 2] << 16 | std::uint32_t { reply[at + 3] } << 24);
        };
        EXPECT_EQ(u32(14), number) << "header";
        EXPECT_EQ(u32(22), number) << "record";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[72])), "N" + std::to_string(number));
    }
}
