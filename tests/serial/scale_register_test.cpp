// The scale register's row handlers and the communication dialog (141) with
// the scale information dialog (140), around a stand-in work screen.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "controls/icon_button.h"
#include "db/db_messages.h"
#include "db/general_dao_helper.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/base/cp949.h"
#include "platform/base/resource.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "serial/comm_setup_dlg.h"
#include "serial/scale_info_dlg.h"
#include "serial/scale_register.h"
#include "tests/support/dlg_item.h"
#include "tests/support/icon_check.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"
#include "transfer/comm_settings.h"

namespace {

constexpr const char* kSettingsFile = "C:\\Windows\\system\\Manager\\Auto_Comset_File.bin";

// The work screen as the register and the dialog see it: a hidden window that
// records the mode messages, the mailbox 132 with an idle worker, a grid and
// the scale list.
class RegisterScreen : public CWnd, public CScaleRegisterHost {
public:
    RegisterScreen()
        : m_mailbox(this)
    {
        CreateEx(0, nullptr, "screen", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
        m_mailbox.Create(this);
        m_worker.SetOwner(this, &m_mailbox);
        m_list.Create(WS_CHILD, CRect(0, 0, 200, 100), this, 900);
        for (int c = 0; c < 5; ++c)
            m_list.InsertColumn(c, "", LVCFMT_LEFT, 50);
        m_grid.SetRowCount(2);
        m_grid.SetColumnCount(2);
    }
    ~RegisterScreen() override
    {
        m_mailbox.DestroyWindow();
        DestroyWindow();
    }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&RegisterScreen::OnModeChanged>(WM_COMMMODE_CHANGED),
                OnMessage<&RegisterScreen::OnRow>(WM_DBQUERY_ROW),
                OnMessage<&RegisterScreen::OnEmpty>(WM_DBQUERY_EMPTY),
                OnMessage<&RegisterScreen::OnDone>(WM_DBQUERY_DONE),
            });
        return &kMap;
    }
    LRESULT OnModeChanged(WPARAM wParam, LPARAM)
    {
        m_modes.push_back(static_cast<int>(wParam));
        return 1;
    }
    // The worker's replies, routed as the work screen routes them.
    LRESULT OnRow(WPARAM, LPARAM)
    {
        const CString name = m_mailbox.TakeText(IDC_MAILBOX_NAME);
        const CString row = m_mailbox.TakeText(IDC_MAILBOX_TEXT);
        if (name == "Scale_Reg_Read")
            m_register->SplitRows(row);
        else if (name == "Comm_Mode_Read")
            m_register->FillScaleList(row);
        else if (name == "Scale_Info_Read")
            m_register->FillScaleInfoGrid(row);
        else if (name == "Scale_Root_Info_Read")
            m_register->FillScaleRootInfoGrid(row);
        else
            Release();
        return 1;
    }
    LRESULT OnEmpty(WPARAM, LPARAM)
    {
        m_mailbox.TakeText(IDC_MAILBOX_NAME);
        Release();
        return 1;
    }
    LRESULT OnDone(WPARAM, LPARAM)
    {
        m_worker.CloseDatabase();
        const CString name = m_mailbox.TakeText(IDC_MAILBOX_NAME);
        m_done.push_back(name);
        // Statements run at once end here without an answer.
        if (name != "Scale_Insert" && name != "Scale_Update" && name != "Scale_Insert_Delete")
            Release();
        return 1;
    }
    void Release()
    {
        m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
        m_worker.SetEvent();
    }

    CWnd* GetHostWindow() override { return this; }
    CItemDbWorker* GetItemWorker() override { return &m_worker; }
    CMailboxDlg* GetDbMailbox() override { return &m_mailbox; }
    CGridCtrl* GetGrid() override { return &m_grid; }
    CListCtrl* GetScaleList() override { return &m_list; }
    void SetGridColumnCount(int count) override { m_grid.SetColumnCount(count); }
    int InsertGridRow(const CString& heading, int position) override
    {
        return m_grid.InsertRow(heading, position);
    }
    CCommSettings& GetCommSettings() override { return m_settings; }
    int GetPickFirstScale() const override { return m_pickFirst; }
    void SetPickFirstScale(int flag) override { m_pickFirst = flag; }
    void SetUpdateLock(int lock) override { m_lock = lock; }
    void SetComPort(int port) override { m_comPort = port; }

    CMailboxDlg m_mailbox;
    CItemDbWorker m_worker;
    CListCtrl m_list;
    CGridCtrl m_grid;
    CCommSettings m_settings;
    std::vector<int> m_modes;
    CScaleRegister* m_register = nullptr;
    std::vector<CString> m_done; // the requests the worker finished
    int m_pickFirst = 0;
    int m_lock = 0;
    int m_comPort = 0;
};

CString Row(std::initializer_list<const char*> values)
{
    CString row;
    for (const char* value : values)
        row += CString(value) + "\tjo/";
    return row;
}

class ScaleRegisterTest : public testing::Test {
protected:
    void SetUp() override
    {
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        m_register.SetOwnerView(&m_screen);
    }
    void TearDown() override { ModalDialogScript::Reset(); }
    // The mailbox after a row handler: "Report", which the idle worker leaves.
    CString Answer() { return m_screen.m_mailbox.TakeText(IDC_MAILBOX_NAME); }
    // The texts of a grid row, heading first.
    std::vector<CString> GridLine(int row)
    {
        std::vector<CString> cells;
        for (int c = 0; c < m_screen.m_grid.GetColumnCount(); ++c)
            cells.push_back(m_screen.m_grid.GetItemText(row, c));
        return cells;
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    RegisterScreen m_screen;
    CScaleRegister m_register;
};

} // namespace

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
        m_register.FillScaleList(Row({ "SCALE_NUM", "SCALE_NAME", c.third }));
        EXPECT_EQ(Answer(), kMailboxReport);
        m_register.FillScaleList(Row({ "0", "A", "10.0.0.1" }));
        m_register.FillScaleList(Row({ "0", "B", "NULL" }));
        m_register.FillScaleList(Row({ "0", "C", "10.0.0.3" }));
        EXPECT_EQ(Answer(), kMailboxReport);
        EXPECT_EQ(m_screen.m_settings.GetRegistered(), c.lines) << c.third;
        EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
    }
    // With the take-first flag the first scale listed is chosen too, once.
    m_screen.m_settings.ClearRegistered();
    m_register.BeginRows();
    m_screen.m_pickFirst = 1;
    m_register.FillScaleList(Row({ "scale_num", "scale_name", "com_port" }));
    m_register.FillScaleList(Row({ "0", "Z", "" }));
    m_register.FillScaleList(Row({ "0", "A", "7" }));
    m_register.FillScaleList(Row({ "0", "B", "8" }));
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = A, Scale ID=7" });
    EXPECT_EQ(m_screen.m_pickFirst, 0);
}

TEST_F(ScaleRegisterTest, RegisterRowsFillTheListAfterTheHeader)
{
    m_register.BeginRows();
    m_register.SplitRows(Row({ "SCALE_NAME", "IP", "COM_PORT", "MG_ID", "ID" }));
    m_register.SplitRows(Row({ "A", "10.0.0.1", "1", "kim", "4" }));
    m_register.SplitRows(Row({ "B", "10.0.0.2", "2", "lee", "9" }));
    EXPECT_EQ(Answer(), kMailboxReport);
    ASSERT_EQ(m_screen.m_list.GetItemCount(), 2);
    EXPECT_EQ(m_screen.m_list.GetItemText(0, 0), "A");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 3), "lee");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 4), "9");
}

TEST_F(ScaleRegisterTest, SettingsRowsFillTheGridWithPlaceholdersAsZero)
{
    m_register.BeginRows();
    m_register.FillScaleRootInfoGrid(Row({ "MYID", "IP", "ID" }));
    m_register.FillScaleRootInfoGrid(Row({ "-1", "NULL", "3" }));
    m_register.FillScaleRootInfoGrid(Row({ "7", "10.0.0.7", "5" }));
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

// ---- Dialog 141

namespace {

class CommSetupTest : public ScaleRegisterTest {
protected:
    void SetUp() override
    {
        ScaleRegisterTest::SetUp();
        ASSERT_TRUE(m_dialog.Create(IDD_COMM_SETUP, &m_screen));
        m_dialog.SetOwnerView(&m_screen);
        m_screen.m_settings.InsertRegistered(0, "Scale name = 저울, IP=10.0.0.1");
        m_screen.m_settings.InsertRegistered(1, "Scale name = B, IP=10.0.0.2");
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        ScaleRegisterTest::TearDown();
    }
    void Send(UINT id, UINT code = 0) { m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); }
    std::string File() const { return TempDataRoot::ReadAll(m_root.Native(kSettingsFile)); }

    CCommSetupDlg m_dialog;
};

} // namespace

TEST_F(CommSetupTest, ModeChangeEmptiesBothListsAndAsksForTheModesScales)
{
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1019).GetCount(), 2);
    m_screen.m_settings.AddChosen("Scale name = B, IP=10.0.0.2");
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1020).GetCount(), 1);
    DlgItem<CButton>(m_dialog, 1130).SetCheck(1);
    DlgItem<CComboBox>(m_dialog, 1015).SetCurSel(1);
    Send(1015, CBN_SELCHANGE);
    EXPECT_EQ(DlgItem<CButton>(m_dialog, 1130).GetCheck(), 0);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1019).GetCount(), 0);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1020).GetCount(), 0);
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Serial");
    DlgItem<CComboBox>(m_dialog, 1015).SetCurSel(0);
    Send(1015, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_modes, (std::vector<int> { 2, 1 }));
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Ethernet");
    DlgItem<CComboBox>(m_dialog, 1016).SetCurSel(7);
    Send(1016, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_comPort, 8);
    EXPECT_EQ(m_dialog.GetComPort(), 8);
    EXPECT_EQ(m_screen.m_settings.GetPort(), 7);
}

TEST_F(CommSetupTest, SettingsFileHoldsModePortAndChosenScalesInCp949)
{
    struct Case {
        int mode;
        int port;
        std::string expected;
    };
    const std::string chosen
        = Utf8ToCp949("Scale name = 저울, IP=10.0.0.1\r\nScale name = B, IP=10.0.0.2\r\n");
    const Case cases[] = {
        { 0, -1, "Auto\r\nethernet\r\nsocket\r\n" + chosen },
        { 1, 4, "Auto\r\nserial\r\ncom5\r\n" + chosen },
        { 1, 0, "Auto\r\nserial\r\ncom1\r\n" + chosen },
        { 1, -1, "Auto\r\nserial\r\n" + chosen },
        { 1, 8, "Auto\r\nserial\r\n" + chosen }, // there is no ninth port
        { -1, 2, "Auto\r\n" + chosen },
    };
    DlgItem<CListBox>(m_dialog, 1019).SetCurSel(0);
    Send(1001);
    DlgItem<CListBox>(m_dialog, 1019).SetCurSel(1);
    Send(1001);
    for (const Case& c : cases) {
        m_screen.m_settings.SelectMode(TransportOfEntry(c.mode));
        m_screen.m_settings.SelectPort(c.port);
        Send(IDOK);
        EXPECT_EQ(File(), c.expected) << c.mode << " " << c.port;
    }
    // The file is replaced, never rewritten in place: a reader holding the old one keeps it whole.
    const std::string held = m_root.Native(kSettingsFile) + ".held";
    std::filesystem::create_hard_link(m_root.Native(kSettingsFile), held);
    m_screen.m_settings.SelectMode(Transport::Ethernet);
    Send(IDOK);
    EXPECT_EQ(TempDataRoot::ReadAll(held), cases[5].expected);
    EXPECT_EQ(File(), cases[0].expected);
    // A file that cannot be written is not reported.
    std::filesystem::remove(m_root.Native(kSettingsFile));
    std::filesystem::create_directory(m_root.Native(kSettingsFile));
    EXPECT_FALSE(m_dialog.WriteCommFile());
    Send(IDOK);
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
}

TEST_F(CommSetupTest, SelectRemoveAndAllSelectEditTheChosenList)
{
    Send(1001); // nothing selected
    EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
    DlgItem<CListBox>(m_dialog, 1019).SetCurSel(1);
    Send(1001);
    DlgItem<CListBox>(m_dialog, 1019).SetCurSel(0);
    Send(1001);
    EXPECT_EQ(m_screen.m_settings.GetChosen(),
        (std::vector<CString> { "Scale name = B, IP=10.0.0.2", "Scale name = 저울, IP=10.0.0.1" }));
    DlgItem<CListBox>(m_dialog, 1020).SetCurSel(0);
    Send(1002);
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = 저울, IP=10.0.0.1" });
    Send(1002); // the selection went with the entry
    EXPECT_EQ(m_screen.m_settings.GetChosen().size(), 1u);
    DlgItem<CButton>(m_dialog, 1130).SetCheck(1);
    Send(1130);
    EXPECT_EQ(m_screen.m_settings.GetChosen(), m_screen.m_settings.GetRegistered());
    DlgItem<CButton>(m_dialog, 1130).SetCheck(0);
    Send(1130);
    EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
}

TEST_F(CommSetupTest, TheDialogShowsItsOwnersSettingsAndTipsItsButtons)
{
    // A list that changes only in its first line is shown anew.
    m_screen.m_settings.SetChosen({ "a", "b" });
    m_screen.m_settings.SetChosen({ "z", "b" });
    CString text;
    DlgItem<CListBox>(m_dialog, 1020).GetText(0, text);
    EXPECT_EQ(text, "z");

    // Another work screen: the dialog follows it, not the first one.
    RegisterScreen other;
    other.m_settings.SetChosen({ "other" });
    m_dialog.SetOwnerView(&other);
    m_screen.m_settings.SetChosen({ "first", "again" });
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1020).GetCount(), 1);
    other.m_settings.AddChosen("more");
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1020).GetCount(), 2);
    m_dialog.SetOwnerView(&m_screen);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, 1020).GetCount(), 2);
    DlgItem<CListBox>(m_dialog, 1020).GetText(0, text);
    EXPECT_EQ(text, "first");

    // A mode chosen elsewhere shows in the dialog.
    m_screen.m_settings.SelectMode(Transport::Serial);
    EXPECT_EQ(DlgItem<CComboBox>(m_dialog, 1015).GetCurSel(), 1); // "Serial"

    // The ports the engine can open, COM 1 to COM 8.
    const CComboBox& ports = DlgItem<CComboBox>(m_dialog, 1016);
    ASSERT_EQ(ports.GetCount(), 8);
    ports.GetLBText(7, text);
    EXPECT_EQ(text, "COM 8");

    for (const auto& [id, icon, tip] :
        { std::tuple { IDOK, 163, "Ok" }, { 1001, 170, "Select" }, { 1002, 171, "Remove" } }) {
        auto* button = dynamic_cast<CIconButton*>(m_dialog.GetDlgItem(id));
        ASSERT_NE(button, nullptr) << tip;
        button->GetToolTip().GetText(text, button, 1);
        EXPECT_EQ(text, tip);
        EXPECT_TRUE(ShowsIcon(m_dialog, id, icon)) << tip;
        if (id != IDOK) {
            button->GetWindowText(text);
            EXPECT_EQ(text, tip);
        }
    }
}

TEST_F(CommSetupTest, NetworkSettingsModeAllowsOneChosenScale)
{
    m_dialog.SetMode("Scale_Root_Info");
    m_dialog.ShowWindow(SW_SHOW);
    m_screen.m_settings.SetChosen(m_screen.m_settings.GetRegistered());
    Send(IDOK);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "One Select Scale(Scale info2)");
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_TRUE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.SetMode("Scale_Info");
    Send(IDOK);
    EXPECT_TRUE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.ShowWindow(SW_SHOW);
    Send(IDCANCEL);
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
}

// ---- Dialog 140

TEST_F(ScaleRegisterTest, ScaleInfoDialogReturnsTheFieldsOfItsMode)
{
    struct Case {
        const char* mode;
        const char* name;
        const char* scaleId;
        int result;
        const char* nameBack;
        const char* keyBack;
        const char* message;
    };
    const Case cases[] = {
        { "Scale_Update", "A", "3", IDOK, "A", "77", nullptr },
        { "Scale_Insert", "", "3", IDOK, "TEMP", "5", nullptr },
        { "Scale_Insert", "A", "", IDCANCEL, "A", "5", "Input Scale ID" },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        CScaleInfoDlg dialog(&m_screen);
        dialog.SetMode(c.mode);
        ScaleInfo start;
        start.scaleNum = "9";
        start.key = "5";
        start.managerId = "kim";
        dialog.SetInfo(start);
        CString shownNumber;
        CString okText;
        CString okTip;
        bool icons = false;
        std::vector<CString> labels;
        bool hidden = false;
        ModalDialogScript::Push([&](CDialog& d) {
            d.GetDlgItemText(1002, shownNumber);
            d.GetDlgItemText(IDOK, okText);
            if (auto* ok = dynamic_cast<CIconButton*>(d.GetDlgItem(IDOK)))
                ok->GetToolTip().GetText(okTip, ok, 1);
            icons = ShowsIcon(d, IDOK, CString(c.mode) == "Scale_Update" ? 178 : 181)
                && ShowsIcon(d, IDCANCEL, 162);
            for (int id : { 1033, 1034, 1032, 1052, 1013, 1014 }) {
                CString label;
                d.GetDlgItemText(id, label);
                labels.push_back(label);
            }
            hidden = true; // the manager and key edits and their labels
            for (int id : { 1005, 1006, 1013, 1014 })
                hidden = hidden && !(d.GetDlgItem(id)->GetStyle() & WS_VISIBLE);
            d.SetDlgItemText(1003, c.name);
            d.SetDlgItemText(1012, "127.0.0.2");
            d.SetDlgItemText(1004, c.scaleId);
            d.SetDlgItemText(1005, "77");
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), c.result) << c.mode << c.scaleId;
        EXPECT_EQ(shownNumber, "0");
        EXPECT_EQ(okText, CString(c.mode) == "Scale_Update" ? "UPDATE" : "INSERT");
        EXPECT_EQ(okTip, CString(c.mode) == "Scale_Update" ? "Update" : "Insert");
        EXPECT_TRUE(icons) << c.mode;
        EXPECT_EQ(labels,
            (std::vector<CString> { "Scale Num", "Scale name", "IP Addr", "Scale ID Num", "ID", "User ID" }));
        EXPECT_TRUE(hidden);
        const ScaleInfo& info = dialog.GetInfo();
        EXPECT_EQ(info.scaleName, c.nameBack) << c.mode;
        EXPECT_EQ(info.key, c.keyBack) << c.mode;
        EXPECT_EQ(info.scaleNum, "0");
        EXPECT_EQ(info.ip, "127.0.0.2");
        EXPECT_EQ(info.managerId, "kim");
        EXPECT_EQ(m_boxes.Records().size(), c.message ? 1u : 0u);
    }
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
