// What the work screen reads and checks before it acts: the manager's item
// default values, the saved communication settings, the POS codes of the
// rows to send, and the transfer commands' checks up to the mode split.

#include "db/db_messages.h"
#include "resources/calvorn_ids.h"
#include "screens/grid_cells.h"
#include "screens/pos_codes.h"
#include "screens/reply_row.h"
#include "shell/manager_settings.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"

namespace {

class WorkScreenSettingsTest : public WorkScreenFixture {
protected:
    void WriteFile(const char* windowsPath, const std::string& bytes)
    {
        TempDataRoot::WriteAll(m_root.Native(windowsPath), bytes);
    }
    void WriteSetting(const char* stem, const std::string& bytes)
    {
        TempDataRoot::WriteAll(
            m_root.Native(ManagerSettingsPath(stem, LeftPane()->UserId()).GetString()), bytes);
    }
    // An item grid with the POS columns and rows of (item number, kind, code):
    // the item screen's grid rebuilt (no door makes a grid of chosen columns).
    void FillPosGrid(const std::vector<std::array<const char*, 3>>& rows)
    {
        Switch(Screen::Item, "Item_Read", "vexo", MakeItemDatabase());
        m_screen->Context().RebuildGrid();
        SetGridColumnCount(Grid(), 4);
        Grid().SetItemText(0, 1, "ITEM_NUM");
        Grid().SetItemText(0, 2, "POS_KIND");
        Grid().SetItemText(0, 3, "POS_CODE");
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int row = Grid().InsertRow("List", static_cast<int>(i) + 1);
            for (int c = 0; c < 3; ++c)
                Grid().SetItemText(row, c + 1, rows[i][static_cast<std::size_t>(c)]);
        }
    }
};

} // namespace

TEST_F(WorkScreenSettingsTest, DefaultValuesAreOnOnlyForTheirOwnManager)
{
    LogIn("vexo");
    struct Case {
        std::string file;
        int on;
    };
    for (const Case& c : { Case { "vexo\r\nTRUE", 1 }, Case { "vexo\r\nFALSE", 0 }, Case { "vexo\r\n", 0 },
             Case { "vexo", 0 }, Case { "kim\r\nTRUE", 0 }, Case { "vexo\r\nyes please", 1 },
             Case { "vexo\r\nFALSE\r\nTRUE", 1 }, Case { "vexo\nTRUE\n", 1 } }) {
        WriteSetting(kDefaultValueFile, c.file);
        EXPECT_EQ(m_screen->GetItemDefaults().LoadDefaultValues(), c.on) << c.file;
    }
    LogIn("nobody");
    EXPECT_EQ(m_screen->GetItemDefaults().LoadDefaultValues(), 0);
}

TEST_F(WorkScreenSettingsTest, ColumnListAndTablesFollowTheManagersFiles)
{
    LogIn("vexo");
    EXPECT_EQ(m_screen->GetItemDefaults().BuildItemColumnList(), "");
    WriteSetting(kDefaultUncheckIndexFile, "\r\n");
    EXPECT_EQ(m_screen->GetItemDefaults().BuildItemColumnList(), "");
    WriteSetting(kDefaultUncheckIndexFile, "item_name\r\nunitprice\r\n");
    EXPECT_EQ(m_screen->GetItemDefaults().BuildItemColumnList(), "[item_name], [unitprice], [ID]");

    WriteSetting(kDefaultUncheckIndexFile, "pos_code\r\nitem_name\r\nITEM_NUM\r\n");
    m_screen->GetItemDefaults().LoadUncheckIndex();
    for (std::size_t k = 0; k < 50; ++k) {
        const CString expected = k == 7 ? "pos_code" : k == 1 ? "item_name" : "-1";
        EXPECT_EQ(m_screen->GetItemDefaults().GetUncheckColumns()[2 * k], expected) << k;
        EXPECT_EQ(m_screen->GetItemDefaults().GetUncheckColumns()[2 * k + 1], "-1") << k;
    }

    // A name longer than the old 199-byte lines stays one line.
    WriteSetting(kDefaultCheckValueFile,
        "land\r\n300\r\n" + std::string(250, 'x') + "\r\n9\r\nfmark\r\n2\r\nunitprice");
    m_screen->GetItemDefaults().LoadCheckValues();
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[10], "land");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[11], "300");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[20], "fmark");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[21], "2");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[6], "unitprice");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[7], "-1");
    EXPECT_EQ(m_screen->GetItemDefaults().GetCheckValues()[0], "-1");
}

TEST_F(WorkScreenSettingsTest, TheItemScreenShowsOnlyTheListedColumnsWhenDefaultsAreOn)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Apple', '900', "
          "'kim')" });
    LogIn("kim");
    WriteSetting(kDefaultValueFile, "kim\r\nTRUE");
    WriteSetting(kDefaultUncheckIndexFile, "unitprice\r\nitem_name\r\n");
    Switch(Screen::Item, "Item_Read", "kim", db);
    EXPECT_EQ(RowTexts(0), (std::vector<CString> { "UNITPRICE", "ITEM_NAME", "ID" }));
    EXPECT_EQ(RowTexts(1), (std::vector<CString> { "900", "Apple", "1" }));
    // No list is left over: with the defaults off the next load has every column.
    WriteSetting(kDefaultValueFile, "kim\r\nFALSE");
    Switch(Screen::Item, "Item_Read", "kim", db);
    EXPECT_GT(RowTexts(0).size(), 3u);
}

TEST_F(WorkScreenSettingsTest, CommunicationSettingsAreRestoredFromTheFile)
{
    struct Case {
        std::string file;
        int result;
        std::optional<Transport> mode;
        int port;
        int comPort;
        std::vector<CString> scales;
    };
    const std::string longName(230, 'n');
    const Case cases[] = {
        { "Auto\r\nserial\r\ncom3\r\nScale name = A, Scale ID=01\r\nScale name = B, Scale ID=02\r\n", 1,
            Transport::Serial, 2, 3, { "Scale name = A, Scale ID=01", "Scale name = B, Scale ID=02" } },
        // The COM port stays as the first file set it.
        { "Auto\r\nethernet\r\nsocket\r\nScale name = " + longName + ", IP=10.0.0.7\r\n", 1,
            Transport::Ethernet, -1, 3, { CString("Scale name = " + longName + ", IP=10.0.0.7") } },
        // A scale a file names twice is chosen once.
        { "Auto\r\nserial\r\ncom3\r\nScale name = B, Scale ID=02\r\nScale name = B, Scale ID=02\r\n", 1,
            Transport::Serial, 2, 3, { "Scale name = B, Scale ID=02" } },
        { "ethernet\r\nsocket\r\n", 0, std::nullopt, -1, 3, {} },
        { "", 0, std::nullopt, -1, 3, {} },
    };
    for (const Case& c : cases) {
        m_screen->Scales().CommSettings() = CCommSettings();
        m_screen->SetCommSetupFlag(0);
        WriteFile("C:\\Windows\\system\\Manager\\Auto_Comset_File.bin", c.file);
        EXPECT_EQ(m_screen->Scales().ReadCommMode(), c.result) << c.file;
        EXPECT_EQ(m_screen->Scales().CommSettings().GetMode(), c.mode) << c.file;
        EXPECT_EQ(m_screen->Scales().CommSettings().GetPort(), c.port) << c.file;
        EXPECT_EQ(m_screen->Scales().GetComPort(), c.comPort) << c.file;
        EXPECT_EQ(m_screen->Scales().CommSettings().GetChosen(), c.scales) << c.file;
        EXPECT_EQ(m_screen->GetCommSetupFlag(), c.result) << c.file;
        if (c.result) { // the screen's manager, which no control shows
            EXPECT_EQ(m_screen->Context().UserId(), "vexo");
        }
        if (c.mode == Transport::Ethernet) {
            EXPECT_EQ(m_screen->Scales().GetScaleIpFromList(0), "10.0.0.7");
            EXPECT_EQ(m_screen->Scales().GetScaleIpFromList(1), "");
        }
    }
}

TEST_F(WorkScreenSettingsTest, WithoutSettingsTheScreenStartsAsAdministratorOnSerialComOne)
{
    EXPECT_EQ(m_screen->Context().UserId(), "vexo"); // shown by no control
    EXPECT_EQ(m_screen->Scales().CommSettings().ModeText(), "Serial");
    EXPECT_EQ(m_screen->Scales().CommSettings().GetPort(), 0);
    EXPECT_EQ(m_screen->Scales().GetComPort(), 1);
    EXPECT_EQ(m_screen->GetCommSetupFlag(), 1);
}

TEST_F(WorkScreenSettingsTest, PosCheckNamesEveryFailingRow)
{
    FillPosGrid(
        { { "1", "1", "9999999" }, { "42", "1", "10000000" }, { "3", "0", "1000000" }, { "4", "", "999999" },
            { "5", "2", "12345678901" }, { "6", "2", "1234567890" }, { "7", "3", "123456789" } });
    EXPECT_EQ(m_screen->Transfers().CheckPosCodes(TransferScope::All),
        "     42 number : pos code Err\r\n      3 number : pos code Err\r\n      5 number : pos code Err\r\n"
        "      7 number : pos code Err\r\n");
    // "select": the Ctrl-picked rows, else the Shift range, else the mouse rows.
    ClickCell(5, 1);
    ClickCell(1, 1, MK_CONTROL);
    EXPECT_EQ(
        m_screen->Transfers().CheckPosCodes(TransferScope::Select), "      5 number : pos code Err\r\n");
    ClickCell(3, 1);
    ClickCell(2, 1, MK_SHIFT);
    EXPECT_EQ(m_screen->Transfers().CheckPosCodes(TransferScope::Select),
        "     42 number : pos code Err\r\n      3 number : pos code Err\r\n");
    ClickCell(6, 1);
    EXPECT_EQ(m_screen->Transfers().CheckPosCodes(TransferScope::Select), "");
    // Without the POS columns there is nothing to check.
    Grid().SetItemText(0, 2, "OTHER");
    EXPECT_EQ(m_screen->Transfers().CheckPosCodes(TransferScope::All), "");
}

TEST_F(WorkScreenSettingsTest, TransferCommandsCheckBeforeTheyHandOver)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [pos_kind], [pos_code], [mg_id]) VALUES('42', '0', '1234567', "
          "'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    // A failing row goes to the message window; nothing starts.
    ClickCell(1, 2);
    ClickControl(IDC_WORK_TRANS_SELECT);
    EXPECT_EQ(m_screen->Transfers().MessageDialog().GetMessageText(), "     42 number : pos code Err\r\n");
    EXPECT_TRUE(m_port.m_ethernet.empty() && m_port.m_serial.empty());
    EditCell(1, ColumnOf("POS_CODE"), "123");
    // Send all asks first; No stops it.
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDNO);
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "All item Data Delete, Are you OK?");
    EXPECT_EQ(MessageBoxScript::Records()[0].caption, "Attention");
    EXPECT_EQ(MessageBoxScript::Records()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(m_port.m_serial.empty());
    // Serial mode (the default without settings) goes to the serial transport.
    MessageBoxScript::PushAnswer(IDYES);
    m_screen->Transfers().Hosts().SerialHost().SetSerialText(IDC_SERIAL_STATUS, "CLOSE");
    ClickControl(IDC_WORK_TRANS_ALL);
    ASSERT_EQ(m_port.m_serial.size(), 1u);
    EXPECT_EQ(m_port.m_serial[0].command, TransferCommand::Trans);
    EXPECT_EQ(m_port.m_serial[0].kind, DataKind::Item);
    EXPECT_EQ(m_port.m_serial[0].scope, TransferScope::All);
    EXPECT_EQ(m_port.m_serial[0].comPort, 1);
    EXPECT_EQ(m_port.m_serial[0].languageIndex, 2);
    EXPECT_EQ(m_screen->Transfers().Hosts().SerialHost().GetSerialText(IDC_SERIAL_STATUS), "");
    // Ethernet without scales: a message; with one: an order for it.
    m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    m_screen->Scales().CommSettings().ClearChosen();
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RECV_ALL);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Communication Setting error");
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = A, IP=10.0.0.7" });
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "3-5");
    ClickControl(IDC_WORK_RECV_SELECT);
    ASSERT_EQ(m_port.m_ethernet.size(), 1u);
    EXPECT_EQ(m_port.m_ethernet[0].command, TransferCommand::Recv);
    EXPECT_EQ(m_port.m_ethernet[0].scope, TransferScope::Select);
    EXPECT_EQ(m_port.m_ethernet[0].receiveNumbers, (std::vector<int> { 3, 4, 5 }));
    EXPECT_EQ(m_port.m_ethernet[0].languageIndex, 2);
    EXPECT_EQ(
        RecordingTransferPort::Lines(m_port.m_ethernet[0]), m_screen->Scales().CommSettings().GetChosen());
    // No mode chosen.
    m_screen->Scales().CommSettings().SelectMode(std::nullopt);
    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_RECV_ALL);
    EXPECT_EQ(MessageBoxScript::Records().at(0).text, "Select a port.");
    // Trans Stop stays greyed while nothing runs.
    EXPECT_FALSE(Enabled(IDC_WORK_TRANS_STOP));
}

TEST_F(WorkScreenSettingsTest, ReceiveNumbersAreReadAsARangeAListOrOneNumber)
{
    m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = A, IP=10.0.0.7" });
    struct Case {
        const char* text;
        const char* kind;
        std::vector<int> numbers; // empty: refused
        const char* message;
    };
    const Case cases[] = {
        { "1,2,5", "Item", { 1, 2, 5 }, nullptr },
        { "5,1,5,1", "Item", { 5, 1 }, nullptr },
        { "7", "Item", { 7 }, nullptr },
        { "4-2", "Item", {}, nullptr },
        { "1-3,4", "Item", {}, "Input Error" },
        { "1-3-4", "Item", {}, "Input Error" },
        { "1.5", "Item", {}, "Input Error" },
        { "201,202", "Land_addition", { 201, 202 }, nullptr },
        { "200-202", "Land_addition", {}, "Land Addition Number is a 201 ~ 500." },
        { "500", "Land_addition", { 500 }, nullptr },
        { "499-501", "Land_addition", {}, "Land Addition Number is a 201 ~ 500." },
    };
    const CString db = MakeItemDatabase();
    for (const Case& c : cases) {
        if (CString(c.kind) == "Item")
            Switch(Screen::Item, "Item_Read", "vexo", db);
        else
            Switch(Screen::LandAddition, "Land_Add_Read", "vexo", db);
        m_port.m_ethernet.clear();
        MessageBoxScript::Reset();
        m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, c.text);
        ClickControl(IDC_WORK_RECV_SELECT);
        if (c.message) {
            EXPECT_TRUE(m_port.m_ethernet.empty()) << c.text;
            ASSERT_EQ(MessageBoxScript::Count(), 1u) << c.text;
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message) << c.text;
        } else {
            ASSERT_EQ(m_port.m_ethernet.size(), 1u) << c.text;
            EXPECT_EQ(m_port.m_ethernet[0].receiveNumbers, c.numbers) << c.text;
        }
    }
}

TEST_F(WorkScreenSettingsTest, OnlyTheReadByNumbersCarriesTheTypedNumbers)
{
    FillPosGrid({ { "1", "0", "" } });
    m_screen->Scales().CommSettings().SelectMode(Transport::Ethernet);
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = A, IP=10.0.0.7" });
    m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "3,5");
    // Send all, select send, read all here; scale data send and reads on
    // the preset screen.
    for (const int id : { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_SCALE_TRANS,
             IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT }) {
        if (!Visible(IDC_WORK_RECV_SELECT))
            FillPosGrid({ { "1", "0", "" } });
        m_port.m_ethernet.clear();
        ClickControl(IDC_WORK_RECV_SELECT);
        ASSERT_EQ(m_port.m_ethernet.size(), 1u) << id;
        EXPECT_EQ(m_port.m_ethernet[0].receiveNumbers, (std::vector<int> { 3, 5 })) << id;
        if (!Visible(id))
            Switch(Screen::Preset, "Pre_Read", "vexo", MakeItemDatabase());
        if (id == IDC_WORK_TRANS_SELECT)
            ClickCell(1, 1); // a select send takes a picked row
        MessageBoxScript::PushAnswer(IDYES);
        ClickControl(id);
        ASSERT_EQ(m_port.m_ethernet.size(), 2u) << id;
        EXPECT_TRUE(m_port.m_ethernet[1].receiveNumbers.empty()) << id;
    }
}

TEST(ReplyRowTest, ValuesEndAtTabJoSlashOnly)
{
    std::vector<CString> fields(3);
    EXPECT_EQ(SplitReplyRow("a\tjo/b\tj/c\tjo/", fields), 2);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "b\tj/c");
    EXPECT_EQ(fields[2], "");
    // Values past the table are counted but dropped.
    EXPECT_EQ(SplitReplyRow("1\tjo/2\tjo/3\tjo/4\tjo/5\tjo/", fields), 5);
    EXPECT_EQ(fields[2], "3");
    EXPECT_EQ(SplitReplyRow("tail\tjo", fields), 0);
    EXPECT_EQ(fields[0], "");
}

TEST(PosCodeTest, EachKindAdmitsItsCodes)
{
    struct Case {
        const char* kind;
        const char* code;
        bool accepted;
    };
    for (const Case& c : { Case { "1", "9999999", true }, Case { "1", "10000000", false },
             Case { "0", "1000000", false }, Case { "0", "999999", true }, Case { "2", "9999999999", true },
             Case { "2", "99999999999", false }, Case { "3", "99999999", true },
             Case { "3", "100000000", false }, Case { "9", "", true }, Case { "1", "0010000", true },
             Case { "3", "1000000000", false } })
        EXPECT_EQ(PosCodeAccepted(c.kind, c.code) != FALSE, c.accepted) << c.kind << " " << c.code;
    EXPECT_STREQ(PosCodeMessageFor("1").english, "Pos code is a 1 - 9999999.");
    EXPECT_STREQ(PosCodeMessageFor("3").korean, "Pos code is a 1 - 99999999.");
}
